#include "core/download/ExchangeFiles.h"

#include "core/entry/InstitutionalTrades.h"
#include "core/stock/CsvReader.h"
#include "core/stock/StockImport.h"
#include "core/text/RocDate.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

QUrl SiteUrl(const QUrl& base, const QString& path, const QList<std::pair<QString, QString>>& query)
{
    QUrl url = base;
    url.setPath(base.path() + path);
    QUrlQuery items;
    items.setQueryItems(query);
    url.setQuery(items);
    return url;
}

// The words of an HTML page without its tags.
QString PageText(const QString& page)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    return QString(page).remove(tags).simplified();
}

// The text of an HTML page a user would read first: its title, else its body.
QString PageWords(const QString& page)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QString words = title.match(page).captured(1).simplified();
    return (words.isEmpty() ? PageText(page) : words).left(120);
}

// The date of a file's title lines: "115年12月08日 ..." or "資料日期:115/12/08".
QString TitleDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("(\\d{2,3})\\s*(?:年|/)\\s*(\\d{1,2})\\s*(?:月|/)\\s*(\\d{1,2})"));
    const QRegularExpressionMatch m = pattern.match(text.left(text.indexOf(QLatin1Char('\n'), text.indexOf(QLatin1Char('\n')) + 1)));
    if (!m.hasMatch())
        return {};
    return QStringLiteral("%1%2%3")
        .arg(m.captured(1).toInt(), 3, 10, QLatin1Char('0'))
        .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
        .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
}

const QString kNoDataYet = QStringLiteral("網站沒有這一天的資料（休市，或尚未公布：約 16:00 公布）。");

// TPEx's JSON of a day without data: its tables, each with a zero count or
// no rows (or the older iTotalRecords 0).
bool HoldsNoRows(const QJsonObject& reply)
{
    if (reply.contains(QStringLiteral("iTotalRecords")))
        return reply.value(QStringLiteral("iTotalRecords")).toInt(-1) == 0;
    const QJsonValue tables = reply.value(QStringLiteral("tables"));
    if (!tables.isArray())
        return false;
    for (const QJsonValue& table : tables.toArray()) {
        const QJsonObject t = table.toObject();
        const QJsonValue count = t.value(QStringLiteral("totalCount"));
        if (count.isDouble() ? count.toInt() != 0 : !t.value(QStringLiteral("data")).toArray().isEmpty())
            return false;
    }
    return true;
}

// What is missing at the end of a file cut short: TPEx closes with
// "共N筆" counting the rows, TWSE with its notes after the table.
QString MissingEnd(ExchangeFile file, const InstitutionalDay& day)
{
    if (day.statedRows >= 0 && day.statedRows != day.rowsRead)
        return RowCountProblem(day);
    if (file == ExchangeFile::TpexInstitutional && day.statedRows < 0)
        return QStringLiteral("檔案最後沒有「共N筆」，檔案沒有傳完（讀到 %1 筆）。").arg(day.rowsRead);
    if (file == ExchangeFile::TwseInstitutional && !day.notesAfter)
        return QStringLiteral("資料之後沒有說明，檔案沒有傳完（讀到 %1 筆）。").arg(day.rowsRead);
    return {};
}

bool SaysNoData(const QString& text)
{
    static const QStringList phrases = {QStringLiteral("沒有符合條件"), QStringLiteral("查無資料"), QStringLiteral("無此資料"),
                                        QStringLiteral("共0筆"), QStringLiteral("共 0 筆")};
    const QString compact = QString(text).remove(QLatin1Char(' '));
    return std::any_of(phrases.begin(), phrases.end(), [&](const QString& p) { return compact.contains(QString(p).remove(QLatin1Char(' '))); });
}

} // namespace

QUrl ExchangeFileUrl(const DownloadSettings& settings, ExchangeFile file, const QDate& date)
{
    const QString compact = date.toString(QStringLiteral("yyyyMMdd"));
    const QString slashed = date.toString(QStringLiteral("yyyy/MM/dd"));
    const QString csv = QStringLiteral("csv");
    switch (file) {
    case ExchangeFile::TwseInstitutional:
        return SiteUrl(settings.twse, QStringLiteral("/rwd/zh/fund/T86"),
                       {{"date", compact}, {"selectType", "ALLBUT0999"}, {"response", csv}});
    case ExchangeFile::TpexInstitutional:
        return SiteUrl(settings.tpex, QStringLiteral("/www/zh-tw/insti/dailyTrade"),
                       {{"type", "Daily"}, {"sect", "EW"}, {"date", slashed}, {"response", csv}});
    case ExchangeFile::TwseRatios:
        return SiteUrl(settings.twse, QStringLiteral("/rwd/zh/afterTrading/BWIBBU_d"),
                       {{"date", compact}, {"selectType", "ALL"}, {"response", csv}});
    case ExchangeFile::TpexRatios:
        return SiteUrl(settings.tpex, QStringLiteral("/www/zh-tw/afterTrading/peQryDate"), {{"date", slashed}, {"response", csv}});
    }
    return {};
}

QString CachedFilePath(const QString& downloadFolder, ExchangeFile file, const QDate& date)
{
    static const char* const names[] = {"twse_T86", "tpex_dailyTrade", "twse_BWIBBU_d", "tpex_peQryDate"};
    return QDir(downloadFolder)
        .filePath(date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('/') + QLatin1String(names[int(file)]) + QStringLiteral(".csv"));
}

QString SiteName(ExchangeFile file)
{
    return file == ExchangeFile::TwseInstitutional || file == ExchangeFile::TwseRatios ? QStringLiteral("證交所")
                                                                                       : QStringLiteral("櫃買中心");
}

ReplyCheck CheckReply(ExchangeFile file, int httpStatus, const QByteArray& body, const QDate& date)
{
    QString decodeError;
    const QString text = DecodeCsvText(body, &decodeError);
    const QString start = text.left(400).trimmed();
    if (httpStatus != 200) {
        const QString said = start.startsWith(QLatin1Char('<')) ? PageWords(text) : start.left(120).simplified();
        return {ReplyCheck::Refused, said.isEmpty() ? QStringLiteral("網站回覆 HTTP %1。").arg(httpStatus)
                                                    : QStringLiteral("網站回覆 HTTP %1：%2").arg(httpStatus).arg(said)};
    }
    if (body.trimmed().isEmpty())
        return {ReplyCheck::NoData, kNoDataYet};
    // Damage is no holiday: only the sites' own empty answers are.
    if (!decodeError.isEmpty())
        return {ReplyCheck::Refused, QStringLiteral("網站回覆的檔案無法讀取：%1。").arg(decodeError)};
    if (start.startsWith(QLatin1Char('<'))) {
        if (SaysNoData(PageWords(text)) || SaysNoData(PageText(text)))
            return {ReplyCheck::NoData, QStringLiteral("網站沒有這一天的資料：%1").arg(PageWords(text)), true};
        return {ReplyCheck::Refused, QStringLiteral("網站回覆的是網頁，不是資料檔：%1").arg(PageWords(text))};
    }
    if (start.startsWith(QLatin1Char('{'))) {
        // The sites answer a query without data (or a refused one) in JSON.
        const QJsonObject reply = QJsonDocument::fromJson(body).object();
        const QString stat = reply.value(QStringLiteral("stat")).toString();
        if (SaysNoData(stat))
            return {ReplyCheck::NoData, QStringLiteral("網站沒有這一天的資料：%1").arg(stat), true};
        if (HoldsNoRows(reply))
            return {ReplyCheck::NoData, QStringLiteral("網站沒有這一天的資料（0 筆）。"), true};
        return {ReplyCheck::Refused, QStringLiteral("網站回覆：%1").arg(stat.isEmpty() ? start.left(120) : stat)};
    }

    QString problem;
    QString fileDate;
    if (file == ExchangeFile::TwseInstitutional || file == ExchangeFile::TpexInstitutional) {
        const InstitutionalDay day = InstitutionalDayFromText(text, &problem);
        if (problem.isEmpty() && day.rows.isEmpty())
            return {ReplyCheck::NoData, day.statedRows == 0 ? QStringLiteral("網站沒有這一天的資料（共0筆）。") : kNoDataYet,
                    day.statedRows == 0};
        if (problem.isEmpty())
            problem = MissingEnd(file, day);
        fileDate = day.date;
    } else {
        const StockFile stocks = StocksFromText(text, &problem);
        if (problem.isEmpty() && (stocks.stocks.isEmpty() || !stocks.stocks.first().hasRatios))
            problem = QStringLiteral("檔案中沒有股票的本益比、殖利率與股價淨值比。");
        // A file without an end of its own is whole when its last line is.
        if (problem.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            problem = QStringLiteral("檔案的最後一行不完整，檔案沒有傳完。");
        fileDate = TitleDate(text);
    }
    if (!problem.isEmpty())
        return SaysNoData(text) ? ReplyCheck{ReplyCheck::NoData, QStringLiteral("網站沒有這一天的資料。"), true}
                                : ReplyCheck{ReplyCheck::Refused, QStringLiteral("網站回覆的檔案無法讀取：%1").arg(problem)};
    const QString wanted = RocDateText(date);
    if (fileDate != wanted)
        return {ReplyCheck::Refused, fileDate.isEmpty() ? QStringLiteral("網站回覆的檔案沒有資料日期。")
                                                        : QStringLiteral("網站回覆的是 %1 的資料，不是 %2 的。")
                                                              .arg(RocDateDisplay(fileDate), RocDateDisplay(wanted))};
    return {ReplyCheck::Data, {}};
}
