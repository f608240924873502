#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

struct FileDialogRequest {
    bool save;         // false: choose an existing file to open
    QString caption;
    QString directory;
    QString filter;
    bool several = false;   // open: one or more files, their paths one per line
};

// Every file dialog of the program goes through here; an empty result means cancelled.
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                        const QString& filter);
QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter);
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                        const QString& filter);

// Tests choose the file instead of a user. An empty handler restores the real dialogs.
using FileDialogHandler = std::function<QString(const FileDialogRequest&)>;
void SetFileDialogHandler(FileDialogHandler handler);
