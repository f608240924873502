#include "gui/uikit/FileDialog.h"

#include <QFileDialog>

namespace {
FileDialogHandler& Handler()
{
    static FileDialogHandler handler;
    return handler;
}
}

QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    if (Handler())
        return Handler()({false, caption, directory, filter});
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter)
{
    if (Handler())
        return Handler()({false, caption, directory, filter, true}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter);
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    if (Handler())
        return Handler()({true, caption, directory, filter});
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

void SetFileDialogHandler(FileDialogHandler handler)
{
    Handler() = std::move(handler);
}
