#pragma once

#include <QDate>
#include <QString>
#include <QTemporaryDir>

// A fresh application folder for one test, with the settings pointing at it
// and "today" fixed; both are undone when it goes away.
class TempAppFolder {
public:
    explicit TempAppFolder(const QDate& today = QDate(2011, 1, 25));
    ~TempAppFolder();
    TempAppFolder(const TempAppFolder&) = delete;
    TempAppFolder& operator=(const TempAppFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString databasePath() const;

private:
    QTemporaryDir m_dir;
};
