#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the first page of an Access (Jet) database file says of it.
struct JetHeader {
    int version = 0;       // 0 Jet 3 (Access 97), 1 Jet 4 (Access 2000-2003), 2 and up ACE (Access 2007 on)
    QString password;      // the database password, empty for none
};

// Nothing when the file is not an Access database (or cannot be read).
// Jet 3 passwords are texts of the code page `jet3Charset`.
std::optional<JetHeader> ReadJetHeader(const QString& path, const QByteArray& jet3Charset);

// The code page of Jet 3 texts: libmdb's variable MDB_JET3_CHARSET when it is
// set, else CP950 (Big5 with Microsoft's additions), the old program's.
QByteArray Jet3Charset();
