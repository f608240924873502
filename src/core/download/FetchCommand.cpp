#include "core/download/FetchCommand.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Schema.h"
#include "core/data/Settings.h"
#include "core/download/DayFetch.h"
#include "core/download/HistoryRange.h"
#include "core/download/PoliteFetcher.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"

#include <QDir>

#include <optional>

namespace {

enum ExitCode { kStored = 0, kFailed = 1, kNoData = 2 };

const QString kFetch = QStringLiteral("--fetch");
const QString kFetchRange = QStringLiteral("--fetch-range");

struct FetchRequest {
    QDate from;
    QDate to;   // the same as `from` for one day
    DayFetchOptions options;
};

const QString kUsage = QStringLiteral(
    "用法：quorvex --fetch [YYYMMDD|today] [--basis 合計|外資|投信|自營商] [--top N] [--replace]\n"
    "      quorvex --fetch-range YYYMMDD YYYMMDD [--basis 合計|外資|投信|自營商] [--top N]\n")
    + FetchExitCodes();

std::optional<QDate> DateWord(const QString& word, QString* error)
{
    if (word == QLatin1String("today"))
        return Now().date();
    const QDate date = DateFromRoc(word);
    if (word.size() == 7 && date.isValid())
        return date;
    *error = QStringLiteral("日期 %1 不是 7 位數的民國日期（例如 1151208）或 today。").arg(word);
    return std::nullopt;
}

std::optional<FetchRequest> ParseRequest(const QStringList& arguments, QString* error)
{
    FetchRequest request;
    request.from = request.to = Now().date();
    const bool range = arguments.contains(kFetchRange);
    int i = static_cast<int>(arguments.indexOf(range ? kFetchRange : kFetch)) + 1;
    // The dates first: two for a range, at most one for a day.
    int dates = 0;
    for (; i < arguments.size() && !arguments.at(i).startsWith(QLatin1String("--")) && dates < (range ? 2 : 1); ++i, ++dates) {
        const std::optional<QDate> date = DateWord(arguments.at(i), error);
        if (!date)
            return std::nullopt;
        (dates == 0 ? request.from : request.to) = *date;
        if (!range)
            request.to = *date;
    }
    if (range && (dates < 2 || request.to < request.from)) {
        *error = QStringLiteral("--fetch-range 須有起訖兩個日期，起日不得晚於訖日。");
        return std::nullopt;
    }
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const QString value = arguments.value(i + 1);
        if (word == QLatin1String("--data")) {
            ++i;   // the data folder, already chosen
        } else if (word == QLatin1String("--replace") && !range) {
            request.options.replace = true;
        } else if (word == QLatin1String("--basis")) {
            static const QStringList names = {QStringLiteral("合計"), QStringLiteral("外資"), QStringLiteral("投信"),
                                              QStringLiteral("自營商")};
            if (!names.contains(value)) {
                *error = QStringLiteral("--basis 須為 合計、外資、投信 或 自營商。");
                return std::nullopt;
            }
            request.options.basis = TradeBasis(names.indexOf(value));
            ++i;
        } else if (word == QLatin1String("--top")) {
            bool ok = false;
            request.options.top = value.toInt(&ok);
            if (!ok || request.options.top < 1 || request.options.top > 200) {
                *error = QStringLiteral("--top 須為 1 到 200 的整數。");
                return std::nullopt;
            }
            ++i;
        } else {
            *error = QStringLiteral("不認得的參數 %1。").arg(word);
            return std::nullopt;
        }
    }
    return request;
}

int ExitCodeOf(DayFetchResult::Outcome outcome)
{
    switch (outcome) {
    case DayFetchResult::Stored:
    case DayFetchResult::AlreadyThere:
        return kStored;
    case DayFetchResult::NoData:
        return kNoData;
    default:
        return kFailed;
    }
}

} // namespace

QString FetchExitCodes()
{
    return QStringLiteral(
        "結束碼 Exit codes:\n"
        "  0  已儲存或已有資料（期間：每個交易日都已有資料）/ stored or already there (a range: every trading day in it)\n"
        "  1  錯誤，這一天未儲存任何資料（期間就此停止）/ an error, nothing of that day stored (a range stops)\n"
        "  2  網站沒有這一天的資料：休市或尚未公布（期間：沒有任何一天有資料）/ no data for that date: a holiday or not\n"
        "     published yet (a range: no day in it stored)");
}

bool IsFetchCommand(const QStringList& arguments)
{
    return arguments.contains(kFetch) || arguments.contains(kFetchRange);
}

int RunFetchCommand(const QStringList& arguments, const QString& dataFolder, QTextStream& out)
{
    QString error;
    const std::optional<FetchRequest> request = ParseRequest(arguments, &error);
    if (!request) {
        out << error << '\n' << kUsage << '\n';
        return kFailed;
    }
    QStringList warnings;
    const DownloadSettings settings = ReadDownloadSettings(dataFolder, &warnings);
    for (const QString& warning : warnings)
        out << warning << '\n';

    const bool range = arguments.contains(kFetchRange);
    DayFetchOptions options = request->options;
    options.inRange = range;
    QVector<QDate> dates{request->from};
    bool storedAny = false;   // a day of the range is stored, before or now
    try {
        db::Connection connection(gConnectionString);
        // A wrong folder must not go unnoticed behind a new, empty data file.
        const QString created = db::TakeCreatedDatabaseFile();
        if (!created.isEmpty())
            out << QStringLiteral("已建立新的資料庫檔案: ") << QDir::toNativeSeparators(created) << '\n';
        if (range) {
            const MarketHolidays holidays = ReadMarketHolidays(dataFolder);
            for (const QString& warning : holidays.warnings)
                out << warning << '\n';
            dates = MissingWeekdays(connection, request->from, request->to, holidays.dates);
            storedAny = AnyDayStored(connection, request->from, request->to);
            out << QStringLiteral("%1 到 %2 之間有 %3 個週間日尚無資料。")
                       .arg(RocDateDisplay(RocDateText(request->from)), RocDateDisplay(RocDateText(request->to)))
                       .arg(dates.size())
                << '\n';
        }
    } catch (const db::DbError& failure) {
        out << db::ErrorMessage(failure) << '\n';
        return kFailed;
    }

    PoliteFetcher fetcher(settings.intervalSeconds * 1000);
    fetcher.shareTurnsThrough(DownloadFolder(dataFolder));
    int code = kStored;
    for (const QDate& date : dates) {
        out << QStringLiteral("下載 %1 的三大法人買賣超").arg(RocDateDisplay(RocDateText(date))) << '\n';
        out.flush();
        const DayFetchResult result = FetchAndStoreDay(fetcher, settings, dataFolder, date, options,
                                                       [&out](const QString& line) {
                                                           out << line << '\n';
                                                           out.flush();
                                                       });
        out << result.message << '\n';
        if (result.outcome == DayFetchResult::AlreadyThere && !range)
            out << QStringLiteral("要取代請加 --replace。") << '\n';
        if (result.outcome != DayFetchResult::Stored && result.outcome != DayFetchResult::AlreadyThere)
            out << QStringLiteral("這一天未儲存任何資料。") << '\n';
        code = ExitCodeOf(result.outcome);
        storedAny = storedAny || code == kStored;
        // A range goes on past a holiday, but not past a refusal.
        if (code == kFailed)
            return kFailed;
    }
    out.flush();
    // A range whose trading days are all there (its other weekdays without
    // data) is done; one without any day stored says so.
    return !range ? code : (dates.isEmpty() || storedAny) ? kStored : kNoData;
}
