#include "core/system/OldDatabase.h"

#include "core/system/CipherSource.h"
#include "core/system/JetHeader.h"
#include "core/system/JetSource.h"

std::unique_ptr<OldDatabase> OpenOldDatabase(const QString& path, const QString& password,
                                             const std::function<void()>& waiting)
{
    if (ReadJetHeader(path, Jet3Charset()))
        return OpenJetSource(path, password, waiting);
    return OpenCipherSource(path, password);
}
