#include "core/data/PgDialect.h"

#include <QRegularExpression>

namespace db {

namespace {

// Where a unary + can stand: after an opening parenthesis, a comma or a
// keyword that starts an expression, and before a name.
bool IsUnaryPlusBeforeName(const QString& sql, qsizetype at)
{
    if (at + 1 >= sql.size())
        return false;
    const QChar next = sql.at(at + 1);
    if (next.isSpace() || next.isDigit() || next == QLatin1Char('(') || next == QLatin1Char('+')
        || next == QLatin1Char('-') || next == QLatin1Char('?') || next == QLatin1Char('.'))
        return false;
    static const QRegularExpression before(QStringLiteral("(?:^|[(,]|\\b(?:WHERE|AND|OR|ON|BY|SELECT|NOT))\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    return before.match(sql.left(at)).hasMatch();
}

bool IsNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// A name as the server must see it: the file's rowid is the server's ctid,
// and a name that mixes capital letters with Chinese (H股號) is quoted, or
// the server would fold its letters to lower case.
QString ServerName(const QString& name)
{
    if (name.compare(QLatin1String("rowid"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("ctid");
    bool capital = false;
    bool wide = false;
    for (const QChar c : name) {
        capital = capital || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        wide = wide || c.unicode() > 0x7f;
    }
    return capital && wide ? QLatin1Char('"') + name + QLatin1Char('"') : name;
}

} // namespace

QString InServerDialect(const QString& sql, QList<int>* used)
{
    // Emptying a scratch table: a server's temporary table keeps every
    // deleted row until it is vacuumed, which nothing does to temporary
    // tables, so a connection kept open would slow with every statistic.
    static const QRegularExpression emptyScratch(QStringLiteral("^\\s*DELETE\\s+FROM\\s+(\\S+_tmp)\\s*$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch scratch = emptyScratch.match(sql);
    if (scratch.hasMatch())
        return QStringLiteral("TRUNCATE ") + scratch.captured(1);

    QString out;
    out.reserve(sql.size() + 16);
    int next = 1;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside stays inside: the scan simply re-enters.
            const qsizetype close = sql.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? sql.size() - 1 : close;
            out += sql.mid(i, end - i + 1);
            i = end;
        } else if (c == QLatin1Char('-') && sql.mid(i, 2) == QLatin1String("--")) {
            const qsizetype close = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype end = close < 0 ? sql.size() - 1 : close;
            out += sql.mid(i, end - i + 1);
            i = end;
        } else if (c == QLatin1Char('?')) {
            qsizetype end = i + 1;
            while (end < sql.size() && sql.at(end).isDigit())
                ++end;
            const int number = end > i + 1 ? sql.mid(i + 1, end - i - 1).toInt() : next;
            next = number + 1;
            if (used && !used->contains(number))
                used->append(number);
            out += QLatin1Char('$') + QString::number(number);
            i = end - 1;
        } else if (c == QLatin1Char('+') && IsUnaryPlusBeforeName(sql, i)) {
            continue;
        } else if (IsNameCharacter(c) && !c.isDigit() && (i == 0 || !IsNameCharacter(sql.at(i - 1)))) {
            qsizetype end = i;
            while (end < sql.size() && IsNameCharacter(sql.at(end)))
                ++end;
            out += ServerName(sql.mid(i, end - i));
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace db
