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

// Column names quoted and separated by commas, for a statement's column list.
inline QString QuotedNameList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << QuotedName(name);
    return quoted.join(QLatin1Char(','));
}

// "INSERT INTO table (columns) VALUES (?, ...)" with every name quoted.
inline QString InsertStatement(const QString& table, const QStringList& columns)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QuotedName(table), QuotedNameList(columns),
             QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
}

} // namespace db
