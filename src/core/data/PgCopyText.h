#pragma once

#include <QByteArray>
#include <QVariantList>
#include <QVector>

namespace db {

// Rows in the text form of PostgreSQL's COPY: tab between values, a line per
// row, \N for null, and the backslash, tab and line breaks of a text escaped.
QByteArray PgCopyText(const QVector<QVariantList>& rows);

} // namespace db
