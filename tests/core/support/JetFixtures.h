#pragma once

#include <QDir>
#include <QStringList>

// The genuine Access files (see the README beside them), by file name.
inline QString JetFixture(const QString& name)
{
    return QDir(QStringLiteral(QUORVEX_JET_FIXTURES)).filePath(name);
}

inline QStringList AllJetFixtures()
{
    return {QStringLiteral("testV1997.mdb"), QStringLiteral("testV2000.mdb"), QStringLiteral("testUnicodeCompV2003.mdb"),
            QStringLiteral("test2V1997.mdb"), QStringLiteral("test2V2003.mdb")};
}
