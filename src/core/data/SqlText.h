#pragma once

#include <QString>
#include <QStringList>

namespace db {

// The bound value for "LIKE ? ESCAPE '\'" that matches every text beginning
// with `prefix`, taken literally: a quote, % or _ typed by the user is just
// that character.
inline QString LikePrefix(const QString& prefix)
{
    QString pattern;
    pattern.reserve(prefix.size() + 2);
    for (const QChar c : prefix) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return pattern + QLatin1Char('%');
}

// A table or column name as an SQL identifier, whatever characters it holds.
inline QString QuotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// "INSERT INTO table (columns) VALUES (?, ...)" with every name quoted.
inline QString InsertStatement(const QString& table, const QStringList& columns)
{
    QStringList names;
    for (const QString& column : columns)
        names << QuotedName(column);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QuotedName(table), names.join(QLatin1Char(',')), QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(',')));
}

} // namespace db
