#include "core/entry/InstitutionalColumns.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// A heading row has a few dozen columns at the most.
constexpr int kWidestHeading = 64;

// The columns of each part of the figures, before they make the bases.
struct Roles {
    int code = -1;
    int name = -1;
    int foreignOnly = -1;      // 外陸資, without the foreign dealers
    int foreignDealers = -1;   // 外資自營商, already inside 自營商
    int foreignAll = -1;       // the two together; the older layouts' only 外資
    QVector<int> trust;
    int dealerTotal = -1;
    QVector<int> dealerParts;  // 自行買賣, 避險
    int total = -1;
    QVector<int> counts;
};

bool IsNetHeading(const QString& h)
{
    return h.contains(QStringLiteral("買賣超")) || h.contains(QStringLiteral("淨買")) || h.contains(QStringLiteral("買賣差"));
}

bool IsCountHeading(const QString& h)
{
    return !IsNetHeading(h)
           && (h.contains(QStringLiteral("買進")) || h.contains(QStringLiteral("賣出")) || h.contains(QStringLiteral("買股數"))
               || h.contains(QStringLiteral("賣股數")));
}

bool NamesAGroup(const QString& h)
{
    return h.contains(QStringLiteral("外")) || h.contains(QStringLiteral("投信")) || h.contains(QStringLiteral("自營商"));
}

Roles RolesByWords(const QStringList& headings)
{
    Roles r;
    for (int i = 0; i < headings.size(); ++i) {
        const QString& h = headings.at(i);
        if (r.code < 0 && h.contains(QStringLiteral("代號")))
            r.code = i;
        else if (r.name < 0 && h.contains(QStringLiteral("名稱")))
            r.name = i;
        if (!IsNetHeading(h)) {
            if (IsCountHeading(h))
                r.counts << i;
            continue;
        }
        if (h.contains(QStringLiteral("三大法人")) || (h.contains(QStringLiteral("合計")) && !NamesAGroup(h)))
            r.total = i;
        else if (h.contains(QStringLiteral("外")) && h.contains(QStringLiteral("不含")))
            r.foreignOnly = i;
        else if (h.contains(QStringLiteral("外")) && h.contains(QStringLiteral("自營商")))
            r.foreignDealers = i;
        else if (h.contains(QStringLiteral("外")))
            r.foreignAll = i;
        else if (h.contains(QStringLiteral("投信")))
            r.trust << i;
        else if (h.contains(QStringLiteral("自營商")) && (h.contains(QStringLiteral("自行買賣")) || h.contains(QStringLiteral("避險"))))
            r.dealerParts << i;
        else if (h.contains(QStringLiteral("自營商")))
            r.dealerTotal = i;
    }
    return r;
}

// TPEx's plain headings, by place after 代號 and 名稱: buy, sell and net of
// 外資及陸資(不含外資自營商), 外資自營商, 外資及陸資合計, 投信,
// 自營商(自行買賣), 自營商(避險), 自營商合計, then 三大法人 (24 columns); or,
// in the older layout, of 外資及陸資 and 投信, 自營商's net, buy, sell and
// net of 自營商(自行買賣) and 自營商(避險), then 三大法人 (16 columns).
Roles RolesByPlace(const QStringList& headings)
{
    if (headings.size() < 16 || !headings.at(0).contains(QStringLiteral("代號")) || !headings.at(1).contains(QStringLiteral("名稱")))
        return {};
    const int width = static_cast<int>(headings.size());
    QVector<int> nets;
    if (width == 24)
        nets = {4, 7, 10, 13, 16, 19, 22, 23};
    else if (width == 16)
        nets = {4, 7, 8, 11, 14, 15};
    else
        return {};
    Roles r;
    for (int i = 2; i < width; ++i) {
        const QString& h = headings.at(i);
        const bool net = nets.contains(i);
        // Group words would have been read; a heading out of its place is another layout.
        if ((NamesAGroup(h) && i < width - 1) || (net ? !IsNetHeading(h) : !IsCountHeading(h)))
            return {};
        if (!net)
            r.counts << i;
    }
    r.code = 0;
    r.name = 1;
    r.total = width - 1;
    if (width == 24) {
        r.foreignOnly = 4;
        r.foreignDealers = 7;
        r.foreignAll = 10;
        r.trust = {13};
        r.dealerParts = {16, 19};
        r.dealerTotal = 22;
    } else {
        r.foreignAll = 4;
        r.trust = {7};
        r.dealerTotal = 8;
        r.dealerParts = {11, 14};
    }
    return r;
}

InstitutionalColumns FromRoles(const Roles& r)
{
    InstitutionalColumns c;
    c.code = r.code;
    c.name = r.name;
    c.total = r.total;
    c.counts = r.counts;
    c.basis[int(TradeBasis::InvestmentTrust)] = r.trust;
    // 外資 as the exchanges count it: the foreign dealers' trades are in
    // 自營商 already. A file that splits them off without the part that is
    // left gives no 外資 at all.
    if (r.foreignOnly >= 0)
        c.basis[int(TradeBasis::Foreign)] = {r.foreignOnly};
    else if (r.foreignAll >= 0 && r.foreignDealers < 0)
        c.basis[int(TradeBasis::Foreign)] = {r.foreignAll};
    // A total, where the file has one, rather than its parts again.
    c.basis[int(TradeBasis::Dealers)] = r.dealerTotal >= 0 ? QVector<int>{r.dealerTotal} : r.dealerParts;
    if (r.foreignAll >= 0 && r.foreignOnly >= 0 && r.foreignDealers >= 0)
        c.groups.push_back({r.foreignAll, {r.foreignOnly, r.foreignDealers}});
    if (r.dealerTotal >= 0 && !r.dealerParts.isEmpty())
        c.groups.push_back({r.dealerTotal, r.dealerParts});
    const bool allParts = !c.basis[1].isEmpty() && !c.basis[2].isEmpty() && !c.basis[3].isEmpty();
    if (c.total >= 0) {
        c.basis[0] = {c.total};
        if (allParts)
            c.groups.push_back({c.total, c.basis[1] + c.basis[2] + c.basis[3]});
    } else if (allParts) {
        c.basis[0] = c.basis[1] + c.basis[2] + c.basis[3];
    }
    c.last = std::max({c.code, c.name, c.total});
    for (const QVector<int>& columns : {c.basis[0], c.basis[1], c.basis[2], c.basis[3], c.counts})
        for (int column : columns)
            c.last = std::max(c.last, column);
    return c;
}

} // namespace

QString Squeezed(QStringView cell)
{
    QString text = cell.toString();
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

InstitutionalColumns HeadingColumns(const CsvRecord& record)
{
    if (record.size() > kWidestHeading)
        return {};
    QStringList headings;
    for (QStringView cell : record)
        headings << Squeezed(CsvCell(cell));
    // The trailing comma of each row leaves an empty last field.
    while (!headings.isEmpty() && headings.last().isEmpty())
        headings.removeLast();
    const Roles byWords = RolesByWords(headings);
    const bool plain = byWords.foreignOnly < 0 && byWords.foreignAll < 0 && byWords.trust.isEmpty() && byWords.dealerTotal < 0
                       && byWords.dealerParts.isEmpty();
    if (plain) {
        const Roles byPlace = RolesByPlace(headings);
        if (byPlace.code >= 0)
            return FromRoles(byPlace);
    }
    return FromRoles(byWords);
}
