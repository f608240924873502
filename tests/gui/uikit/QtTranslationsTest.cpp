#include "gui/uikit/QtTranslations.h"
#include "gui/support/WidgetTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

// Every text a dialog shows on its labels, boxes, buttons and group titles.
QStringList ShownTexts(QWidget* dialog)
{
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text();
    for (QGroupBox* group : dialog->findChildren<QGroupBox*>())
        texts << group->title();
    return texts;
}

// The print dialog's options and Qt's own file dialog speak Chinese, the
// texts Qt's catalogue lacks included.
TEST(QtTranslations, ThePrintAndFileDialogsShowNoEnglish)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows shows its own print and file dialogs, in the system's language";
#endif
    InstallQtTranslations(*qApp);
    InstallQtTranslations(*qApp);
    QPrinter printer;
    QPrintDialog print(&printer);
    const QStringList printTexts = ShownTexts(&print);
    for (const char* english : {"Double Sided Printing", "Off", "Long side binding", "Short side binding", "Copies:", "Collate"})
        EXPECT_FALSE(printTexts.contains(QString::fromLatin1(english))) << english;
    EXPECT_TRUE(printTexts.contains(QString::fromUtf8("雙面列印"))) << printTexts.join('|').toStdString();
    EXPECT_TRUE(printTexts.contains(QString::fromUtf8("長邊裝訂")));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList fileTexts = ShownTexts(&files);
    EXPECT_FALSE(fileTexts.contains(QStringLiteral("Look in:")));
    EXPECT_TRUE(fileTexts.contains(QString::fromUtf8("尋找於："))) << fileTexts.join('|').toStdString();
}

} // namespace
