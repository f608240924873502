#include "gui/uikit/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Texts of Qt 6's print dialog newer than its zh_TW catalogue.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation)
        Q_UNUSED(n)
        if (qstrcmp(context, "QPrintSettingsOutput") != 0)
            return {};
        if (qstrcmp(sourceText, "Double Sided Printing") == 0)
            return QStringLiteral("雙面列印");
        if (qstrcmp(sourceText, "Off") == 0)
            return QStringLiteral("無");
        if (qstrcmp(sourceText, "Long side binding") == 0)
            return QStringLiteral("長邊裝訂");
        if (qstrcmp(sourceText, "Short side binding") == 0)
            return QStringLiteral("短邊裝訂");
        return {};
    }
};

} // namespace

void InstallQtTranslations(QCoreApplication& app)
{
    const QString installed = QStringLiteral("missingQtTexts");
    if (app.findChild<QTranslator*>(installed, Qt::FindDirectChildrenOnly))
        return;
    // qtbase holds the widgets' and the print support's texts.
    auto* catalogue = new QTranslator(&app);
    if (catalogue->load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(catalogue);
    else
        delete catalogue;
    auto* missing = new MissingQtTexts(&app);
    missing->setObjectName(installed);
    QCoreApplication::installTranslator(missing);
}
