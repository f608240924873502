#include "gui/uikit/FileDialog.h"

#include "gui/uikit/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
FileDialogHandler& Handler()
{
    static FileDialogHandler handler;
    return handler;
}

// The suffixes a filter names: "Excel 活頁簿 (*.xlsx)" gives xlsx; "*" none.
QStringList FilterSuffixes(const QString& filters)
{
    QStringList suffixes;
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    for (auto it = pattern.globalMatch(filters); it.hasNext();)
        suffixes << it.next().captured(1).toLower();
    return suffixes;
}

QString FirstFilter(const QString& filters)
{
    return filters.section(QStringLiteral(";;"), 0, 0);
}

} // namespace

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    if (Handler())
        return Handler()({false, caption, directory, filter}).path;
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter)
{
    if (Handler())
        return Handler()({false, caption, directory, filter, true}).path.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
}

QString WithChosenSuffix(const QString& path, const QString& filter, const QString& offered)
{
    const QStringList chosen = FilterSuffixes(filter);
    if (chosen.isEmpty() || FilterSuffixes(offered).contains(QFileInfo(path).suffix().toLower()))
        return path;
    return path + QLatin1Char('.') + chosen.first();
}

bool AskToReplaceFile(const QString& path, const QString& title)
{
    return ShowMessage(QStringLiteral("檔案已存在，是否取代？\n%1").arg(QDir::toNativeSeparators(path)), title,
                       MsgIcon::Question, MsgButtons::YesNoDefaultNo)
           == MsgAnswer::Yes;
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter,
                        ExistingFile existing)
{
    QString start = directory;
    QString type = FirstFilter(filter);
    for (;;) {
        FileDialogAnswer answer;
        if (Handler()) {
            answer = Handler()({true, caption, start, filter, false, type});
        } else {
            QString chosenType = type;
            answer.path = QFileDialog::getSaveFileName(parent, caption, start, filter, &chosenType,
                                                       QFileDialog::DontConfirmOverwrite);
            answer.filter = chosenType;
        }
        if (answer.path.isEmpty())
            return {};
        if (!answer.filter.isEmpty())
            type = answer.filter;
        const QString path = WithChosenSuffix(answer.path, type, filter);
        if (existing == ExistingFile::AskedOnWrite || !QFileInfo::exists(path) || AskToReplaceFile(path, caption))
            return path;
        start = path;
    }
}

void SetFileDialogHandler(FileDialogHandler handler)
{
    Handler() = std::move(handler);
}
