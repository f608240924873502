#include "core/platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <windows.h>
#include <aclapi.h>

#include <cstdio>

namespace {

std::wstring Native(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
}

QString SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                          | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = size > 0 ? QString::fromWCharArray(text, int(size)).trimmed()
                               : QStringLiteral("系統錯誤 %1").arg(error);
    LocalFree(text);
    return message;
}

// A handle for asking about a file without reading or writing it: opening
// one takes no lock and leaves the engine's locks alone.
HANDLE OpenForAttributes(const std::wstring& path)
{
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The access list of `from` given to `to`, with its inheritance as it was;
// the owner and group too where this account may set them.
bool CopySecurity(const std::wstring& from, const std::wstring& to, QString* error)
{
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD result = GetNamedSecurityInfoW(from.c_str(), SE_FILE_OBJECT,
                                         OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION
                                             | DACL_SECURITY_INFORMATION,
                                         &owner, &group, &dacl, nullptr, &descriptor);
    if (result != ERROR_SUCCESS)
        return true;   // a file system without access lists
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION inheritance = (control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                           : UNPROTECTED_DACL_SECURITY_INFORMATION;
    std::wstring target = to;
    result = SetNamedSecurityInfoW(target.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | inheritance, nullptr,
                                   nullptr, dacl, nullptr);
    if (result == ERROR_SUCCESS)
        (void)SetNamedSecurityInfoW(target.data(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, owner, group, nullptr,
                                    nullptr);
    LocalFree(descriptor);
    if (result != ERROR_SUCCESS) {
        *error = QStringLiteral("無法把原檔的存取權限給新檔：%1").arg(SystemErrorText(result));
        return false;
    }
    return true;
}

} // namespace

MoveOutcome MoveWithoutReplacing(const QString& from, const QString& to, QString* error)
{
    if (MoveFileExW(Native(from).c_str(), Native(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return MoveOutcome::Moved;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return MoveOutcome::TargetExists;
    *error = SystemErrorText(code);
    return MoveOutcome::Failed;
}

bool MoveReplacing(const QString& from, const QString& to, QString* error)
{
    const std::wstring source = Native(from);
    const std::wstring target = Native(to);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Someone marked it not to be written: say so before touching anything.
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            *error = QStringLiteral("原檔是唯讀檔，不可取代：%1").arg(to);
            return false;
        }
        if (!CopySecurity(target, source, error))
            return false;
    }
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = SystemErrorText(GetLastError());
        return false;
    }
    return true;
}

bool OpenFilesCanBeReplaced()
{
    return false;
}

// Owners are kept by the rebuild in place, the only compaction here.
bool CanGiveFileTheOwnerOf(const QString&)
{
    return true;
}

// %APPDATA% is the user's own: a folder made there inherits its access list.
bool CreatePrivateFolder(const QString& path, QString* error)
{
    if (QDir().mkpath(path))
        return true;
    *error = SystemErrorText(GetLastError());
    return false;
}

bool CreateOrdinaryFile(const QString& path, QString* error)
{
    // No security attributes of our own: the file inherits the folder's.
    const HANDLE file = CreateFileW(Native(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = SystemErrorText(GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

bool SyncFile(const QString& path, QString* error)
{
    const HANDLE file = CreateFileW(Native(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool synced = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    if (!synced)
        *error = SystemErrorText(GetLastError());
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return synced;
}

QString WhereNameLeads(const QString& path)
{
    // Symbolic links only: a shortcut (.lnk) is a file of its own to the system.
    QString name = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(name);
        if (!info.isSymbolicLink())
            return name;
        const QString end = info.canonicalFilePath();
        if (!end.isEmpty())
            return end;
        const QString next = info.symLinkTarget();
        if (next.isEmpty())
            return name;
        name = next;
    }
    return name;
}

bool IsSameFile(const QString& first, const QString& second)
{
    const HANDLE a = OpenForAttributes(Native(first));
    const HANDLE b = OpenForAttributes(Native(second));
    BY_HANDLE_FILE_INFORMATION infoA {};
    BY_HANDLE_FILE_INFORMATION infoB {};
    const bool same = a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE && GetFileInformationByHandle(a, &infoA)
                      && GetFileInformationByHandle(b, &infoB)
                      && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber
                      && infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    if (a != INVALID_HANDLE_VALUE)
        CloseHandle(a);
    if (b != INVALID_HANDLE_VALUE)
        CloseHandle(b);
    return same;
}

bool IsInstalledProgramFolder(const QString& folder)
{
    // Program Files (either kind), or where a per-user installer puts programs.
    const QString path = QDir(folder).canonicalPath().toLower() + QLatin1Char('/');
    QStringList roots;
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"})
        roots << qEnvironmentVariable(name);
    if (qEnvironmentVariableIsSet("LOCALAPPDATA"))
        roots << qEnvironmentVariable("LOCALAPPDATA") + QStringLiteral("/Programs");
    for (const QString& root : roots) {
        const QString canonical = QDir(root).canonicalPath().toLower();
        if (!root.isEmpty() && !canonical.isEmpty() && path.startsWith(canonical + QLatin1Char('/')))
            return true;
    }
    return false;
}

// The roaming application data (%APPDATA%), which follows the user from PC to PC.
QString UserConfigBase()
{
    const QString roaming = qEnvironmentVariable("APPDATA");
    return roaming.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                             : QDir::fromNativeSeparators(roaming);
}

QString UserDataBase()
{
    return UserConfigBase();
}

QString CurrentAccountId()
{
    wchar_t name[256];
    DWORD size = 256;
    if (GetUserNameW(name, &size) && size > 1)
        return QString::fromWCharArray(name, int(size - 1));
    return qEnvironmentVariable("USERNAME");
}

void KeepFreedMemoryForReuse()
{
    // The Windows heap keeps freed blocks for reuse by itself.
}

void ConnectToParentConsole()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    (void)std::freopen("CONOUT$", "w", stdout);
    (void)std::freopen("CONOUT$", "w", stderr);
}

// Qt has no Big5 of its own here (it takes it from ICU elsewhere): the
// system's code page 950 is the one the exchanges' files are written in.
std::optional<QString> DecodeBig5(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int size = MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(950, MB_ERR_INVALID_CHARS, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

int Big5Bytes(QStringView character)
{
    BOOL replaced = FALSE;
    char bytes[8];
    const int size = WideCharToMultiByte(950, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(character.utf16()),
                                         int(character.size()), bytes, sizeof bytes, nullptr, &replaced);
    return size <= 0 || replaced ? 0 : size;
}
