#include "core/download/FetchCommand.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Schema.h"
#include "core/data/Settings.h"
#include "core/download/DayDownload.h"
#include "core/download/DayStore.h"
#include "core/download/PoliteFetcher.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"

#include <QDir>

#include <optional>
#include <stdexcept>

namespace {

enum ExitCode { kStored = 0, kFailed = 1, kNoData = 2 };

struct FetchOptions {
    QDate date;
    TradeBasis basis = TradeBasis::AllThree;
    int top = 30;
    bool replace = false;
};

const QString kUsage = QStringLiteral(
    "用法：quorvex --fetch [YYYMMDD|today] [--basis 合計|外資|投信|自營商] [--top N] [--replace]");

std::optional<FetchOptions> ParseOptions(const QStringList& arguments, QString* error)
{
    FetchOptions options;
    options.date = Now().date();
    const int at = static_cast<int>(arguments.indexOf(QStringLiteral("--fetch")));
    for (int i = at + 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const QString value = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
        if (word == QLatin1String("--replace")) {
            options.replace = true;
        } else if (word == QLatin1String("--basis")) {
            static const QStringList names = {QStringLiteral("合計"), QStringLiteral("外資"), QStringLiteral("投信"),
                                              QStringLiteral("自營商")};
            if (!names.contains(value)) {
                *error = QStringLiteral("--basis 須為 合計、外資、投信 或 自營商。");
                return std::nullopt;
            }
            options.basis = TradeBasis(names.indexOf(value));
            ++i;
        } else if (word == QLatin1String("--top")) {
            bool ok = false;
            options.top = value.toInt(&ok);
            if (!ok || options.top < 1 || options.top > 200) {
                *error = QStringLiteral("--top 須為 1 到 200 的整數。");
                return std::nullopt;
            }
            ++i;
        } else if (i == at + 1 && !word.startsWith(QLatin1String("--"))) {
            if (word != QLatin1String("today")) {
                options.date = DateFromRoc(word);
                if (word.size() != 7 || !options.date.isValid()) {
                    *error = QStringLiteral("日期 %1 不是 7 位數的民國日期（例如 1151208）或 today。").arg(word);
                    return std::nullopt;
                }
            }
        } else {
            *error = QStringLiteral("不認得的參數 %1。").arg(word);
            return std::nullopt;
        }
    }
    return options;
}

} // namespace

bool IsFetchCommand(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--fetch"));
}

int RunFetchCommand(const QStringList& arguments, const QString& dataFolder, QTextStream& out)
{
    QString error;
    const std::optional<FetchOptions> options = ParseOptions(arguments, &error);
    if (!options) {
        out << error << '\n' << kUsage << '\n';
        return kFailed;
    }
    QStringList warnings;
    const DownloadSettings settings = ReadDownloadSettings(dataFolder, &warnings);
    for (const QString& warning : warnings)
        out << warning << '\n';
    const QString date = RocDateText(options->date);
    out << QStringLiteral("下載 %1 的三大法人買賣超").arg(RocDateDisplay(date)) << '\n';
    out.flush();

    PoliteFetcher fetcher(settings.intervalSeconds * 1000);
    const DownloadedDay files = DownloadInstitutionalDay(fetcher, settings, DownloadFolder(dataFolder), options->date,
                                                         [&out](const QString& line) {
                                                             out << line << '\n';
                                                             out.flush();
                                                         });
    if (files.outcome != DownloadedDay::Ready) {
        out << files.message << '\n' << QStringLiteral("未儲存任何資料。") << '\n';
        return files.outcome == DownloadedDay::NoData ? kNoData : kFailed;
    }
    const InstitutionalDay day = ReadInstitutionalFiles(files.paths, &error);
    if (!error.isEmpty()) {
        out << error << '\n' << QStringLiteral("未儲存任何資料。") << '\n';
        return kFailed;
    }
    try {
        db::Connection connection(gConnectionString);
        // A wrong folder must not go unnoticed behind a new, empty data file.
        const QString created = db::TakeCreatedDatabaseFile();
        if (!created.isEmpty())
            out << QStringLiteral("已建立新的資料庫檔案: ") << QDir::toNativeSeparators(created) << '\n';
        const StoredDay stored = StoreInstitutionalDay(connection, day, options->basis, options->top, true, options->replace);
        if (!stored.stored) {
            out << QStringLiteral("%1 已有資料，未變更（要取代請加 --replace）。").arg(RocDateDisplay(date)) << '\n';
            return kStored;
        }
        out << QStringLiteral("已儲存 %1：買超 %2 筆、賣超 %3 筆（依%4排行）。")
                   .arg(RocDateDisplay(date))
                   .arg(stored.buys)
                   .arg(stored.sells)
                   .arg(BasisName(options->basis))
            << '\n';
        return kStored;
    } catch (const db::DbError& failure) {
        out << db::ErrorMessage(failure) << '\n';
    } catch (const std::invalid_argument& lacking) {
        out << QString::fromStdString(lacking.what()) << '\n';
    }
    out << QStringLiteral("未儲存任何資料。") << '\n';
    return kFailed;
}
