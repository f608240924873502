#include "core/system/OldDatabase.h"

#include "core/system/CipherSource.h"
#include "core/system/JetHeader.h"
#include "core/system/JetSource.h"

std::unique_ptr<OldDatabase> OpenOldDatabase(const QString& path, const QString& password)
{
    if (ReadJetHeader(path, Jet3Charset()))
        return OpenJetSource(path, password);
    return OpenCipherSource(path, password);
}
