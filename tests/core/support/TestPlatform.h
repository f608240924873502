#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QStringEncoder>
#include <unistd.h>
#endif

// What the tests ask of the system they run on, apart from the program's
// own interface to it.

// Text as the exchanges' Big5 files hold it, made apart from the program's
// own reading of Big5 (Qt offers Big5 only through ICU, which Windows lacks).
inline QByteArray ToBig5(const QString& text)
{
#ifdef Q_OS_WIN
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = WideCharToMultiByte(950, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, '\0');
    WideCharToMultiByte(950, 0, wide, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
#else
    return QStringEncoder("Big5")(text);
#endif
}

// Root may act as a second account (and ignores folder permissions).
inline bool RunningAsRoot()
{
#ifdef Q_OS_WIN
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// A second name for the same file.
inline bool MakeHardLink(const QString& existing, const QString& link)
{
#ifdef Q_OS_WIN
    return CreateHardLinkW(reinterpret_cast<const wchar_t*>(link.utf16()),
                           reinterpret_cast<const wchar_t*>(existing.utf16()), nullptr);
#else
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

// A symbolic link holding `target` as written (a relative one stays relative).
inline bool MakeSymbolicLink(const QString& target, const QString& link)
{
#ifdef Q_OS_WIN
    (void)target;
    (void)link;
    return false;
#else
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

// Symbolic links, folder permissions and a disk that fails a folder's sync
// are tested where the system has them.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_POSIX_FILES() GTEST_SKIP() << "symbolic links and folder permissions are POSIX matters"
#else
#define SKIP_WITHOUT_POSIX_FILES() (void)0
#endif
