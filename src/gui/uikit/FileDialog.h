#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

class QWidget;

struct FileDialogRequest {
    bool save;         // false: choose an existing file to open
    QString caption;
    QString directory;
    QString filter;
    bool several = false;   // open: one or more files, their paths one per line
    QString selectedFilter; // save: the type shown chosen as the dialog opens
};

// What a dialog gave: the name, and for a save the file type chosen in it
// (empty: the type the dialog opened on).
struct FileDialogAnswer {
    FileDialogAnswer(QString path = QString(), QString filter = QString())
        : path(std::move(path)), filter(std::move(filter))
    {
    }
    QString path;
    QString filter;
};

// Who asks about a file that exists already.
enum class ExistingFile {
    AskHere,      // the file is written right away: "檔案已存在，是否取代？" here
    AskedOnWrite  // a name kept for a later write, which asks itself
};

// Every file dialog of the program goes through here; an empty result means cancelled.
QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                        const QString& filter);
QStringList GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                             const QString& filter);
// The name of a file to write, for `filter`'s types (";;" between them),
// whichever way the user gave it (typed with or without a suffix, picked): a
// name whose suffix is none of the types' gets the suffix of the type chosen
// ("Excel 活頁簿 (*.xlsx)" → .xlsx). Then, with AskHere, a file of that name
// that exists is replaced only after 是 to "檔案已存在，是否取代？" (否 the
// default); 否 opens the dialog again on the name. The dialog's own question
// is turned off: it would ask about the name before the suffix, or twice.
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter,
                        ExistingFile existing = ExistingFile::AskHere);

// `path` with the suffix of `filter` (one type, "PDF 檔案 (*.pdf)") unless its
// suffix is already one of `offered`'s (all the dialog's types).
QString WithChosenSuffix(const QString& path, const QString& filter, const QString& offered);
// "檔案已存在，是否取代？" about `path`, 否 the default: true to replace it.
bool AskToReplaceFile(const QString& path, const QString& title);

// Tests choose the file instead of a user. An empty handler restores the real dialogs.
using FileDialogHandler = std::function<FileDialogAnswer(const FileDialogRequest&)>;
void SetFileDialogHandler(FileDialogHandler handler);
