#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/download/DownloadSettings.h"
#include "core/download/ExchangeFiles.h"
#include "core/download/FetchCommand.h"
#include "core/download/PoliteFetcher.h"
#include "core/entry/InstitutionalFixtures.h"
#include "core/support/LocalHttpServer.h"
#include "core/support/StoredDays.h"
#include "core/support/TempAppFolder.h"
#include "core/support/TestPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 8);   // 115/12/08, the fixtures' date
const QString kT86 = QStringLiteral("/rwd/zh/fund/T86?date=20261208");
const QString kDailyTrade = QStringLiteral("/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/08");

QByteArray Big5(const char* text)
{
    return ToBig5(QString::fromUtf8(text));
}

QByteArray Utf8(const char* text)
{
    return "\xEF\xBB\xBF" + QByteArray(text);
}

const QByteArray kTpexWithoutRows = Utf8("\"資料日期:115/12/06\"\n\"代號\",\"名稱\",\"三大法人買賣超股數合計\",\n\"共0筆\"\n");

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile ini(folder.filePath(kIniFileName));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[download]\ntwse=" + twse.base().toString().toUtf8() + "\ntpex=" + tpex.base().toString().toUtf8() + "\ninterval=3\n");
    }
    void serveTheDay()
    {
        twse.answer(kT86, {200, Big5(kTwse19)});
        tpex.answer(kDailyTrade, {200, Utf8(kTpex)});
    }
    int fetch(const QStringList& words)
    {
        output.clear();
        QTextStream out(&output);
        return RunFetchCommand(QStringList{"quorvex", "--fetch"} + words, folder.path(), out);
    }
    QStringList list(const char* table)
    {
        db::Connection c(gConnectionString);
        const db::ResultSet rows = c.query(QStringLiteral("SELECT 股號 FROM %1 ORDER BY 買賣日期, 序").arg(QString::fromUtf8(table)));
        QStringList codes;
        for (int r = 0; r < rows.rowCount(); ++r)
            codes << rows.text(r, 0);
        return codes;
    }
    QStringList amounts()
    {
        db::Connection c(gConnectionString);
        const db::ResultSet rows = c.query(QStringLiteral("SELECT 股號, 外資, 投信, 自營商, 合計 FROM 法人買賣超 ORDER BY 股號"));
        QStringList lines;
        for (int r = 0; r < rows.rowCount(); ++r) {
            QStringList fields;
            for (int col = 0; col < 5; ++col)
                fields << rows.text(r, col);
            lines << fields.join(QLatin1Char(' '));
        }
        return lines;
    }
    QString cached(ExchangeFile file) const { return CachedFilePath(DownloadFolder(folder.path()), file, kDay); }

    TempAppFolder folder{QDate(2026, 12, 8)};
    LocalHttpServer twse;
    LocalHttpServer tpex;
    QString output;
};

TEST_F(DownloadTest, SettingsComeFromTheIniAndABadValueFallsBackWithAWord)
{
    QStringList warnings;
    DownloadSettings settings = ReadDownloadSettings(folder.path(), &warnings);
    EXPECT_EQ(settings.twse, twse.base());
    EXPECT_EQ(settings.intervalSeconds, 3);
    EXPECT_TRUE(warnings.isEmpty());

    QFile ini(folder.filePath(kIniFileName));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[download]\ntwse=ftp://mirror\ntpex=http://127.0.0.1:9/\ninterval=2147484\n");
    ini.close();
    settings = ReadDownloadSettings(folder.path(), &warnings);
    EXPECT_EQ(settings.twse.host(), "www.twse.com.tw");
    EXPECT_EQ(ExchangeFileUrl(settings, ExchangeFile::TpexInstitutional, kDay).toString(),
              "http://127.0.0.1:9/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/08&response=csv");
    EXPECT_EQ(settings.intervalSeconds, 3600);   // its milliseconds must fit
    EXPECT_EQ(warnings.size(), 2) << warnings.join('\n').toStdString();
}

// Only that date's data is taken; a day without data is told apart from a
// refusal, and a refusal says what the site said.
TEST_F(DownloadTest, RepliesAreTakenOnlyWhenTheyHoldThatDatesData)
{
    EXPECT_EQ(CheckReply(ExchangeFile::TwseInstitutional, 200, Big5(kTwse19), kDay).verdict, ReplyCheck::Data);
    EXPECT_EQ(CheckReply(ExchangeFile::TpexInstitutional, 200, Utf8(kTpex), kDay).verdict, ReplyCheck::Data);
    EXPECT_EQ(CheckReply(ExchangeFile::TwseRatios, 200, Big5(kTwseRatios), kDay).verdict, ReplyCheck::Data);
    EXPECT_EQ(CheckReply(ExchangeFile::TpexRatios, 200, Utf8(kTpexRatios), kDay).verdict, ReplyCheck::Data);
    EXPECT_EQ(CheckReply(ExchangeFile::TpexRatios, 200, Utf8(kTpexRatios), kDay.addDays(-1)).verdict, ReplyCheck::Refused);
    EXPECT_EQ(CheckReply(ExchangeFile::TwseRatios, 200, Big5(kTwse19), kDay).verdict, ReplyCheck::Refused);
    for (const QByteArray& none : {QByteArray(), QByteArray("\r\n"), QByteArray("{\"stat\":\"很抱歉，沒有符合條件的資料!\"}"),
                                   kTpexWithoutRows})
        EXPECT_EQ(CheckReply(ExchangeFile::TwseInstitutional, 200, none, kDay).verdict, ReplyCheck::NoData) << none.constData();

    const struct {
        int status;
        QByteArray body;
        const char* said;
    } refusals[] = {
        {200, Big5(kTwse19), "115/12/08"},   // asked for the next day
        {200, "<html><head><title>The requested URL was rejected</title></head><body>id 123</body></html>", "rejected"},
        {403, "<html><title>403 Forbidden</title></html>", "403 Forbidden"},
        {500, "", "HTTP 500"},
        {200, "{\"stat\":\"查詢日期小於93年2月11日，請重新查詢!\"}", "93年2月11日"},
        {200, Utf8("\"代號\",\"名稱\"\n\"1101\",\"台泥\"\n"), "不是三大法人"},
    };
    for (const auto& r : refusals) {
        const QDate asked = QString::fromUtf8(r.said) == QLatin1String("115/12/08") ? kDay.addDays(1) : kDay;
        const ReplyCheck check = CheckReply(ExchangeFile::TwseInstitutional, r.status, r.body, asked);
        EXPECT_EQ(check.verdict, ReplyCheck::Refused) << r.said;
        EXPECT_TRUE(check.message.contains(QString::fromUtf8(r.said))) << check.message.toStdString();
    }
}

// One command downloads both files, keeps them as they came, and stores the
// day ranked with the missing codes added; a stored day is left alone
// unless replaced, and kept files are not fetched again.
TEST_F(DownloadTest, TheCommandStoresTheDayAndKeepsTheFiles)
{
    serveTheDay();
    ASSERT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    EXPECT_EQ(list("買超明細資料"), QStringList({"2330", "1101", "5347"}));
    EXPECT_EQ(list("賣超明細資料"), QStringList({"6488", "0050"}));
    {
        db::Connection c(gConnectionString);
        EXPECT_EQ(c.query(QStringLiteral("SELECT 名稱 FROM 股號資料 WHERE 股號 = '6488'")).text(0, 0), QStringLiteral("環球晶"));
        EXPECT_EQ(c.query(QStringLiteral("SELECT 買賣星期 FROM 買賣超資料")).text(0, 0), QStringLiteral("二"));
        // The files give no ratios: the mark for none, which the screening leaves out.
        const db::ResultSet etf = c.query(QStringLiteral("SELECT 本益比, 殖利率, 股價淨值比 FROM 股號資料 WHERE 股號 = '0050'"));
        EXPECT_EQ(QStringList({etf.text(0, 0), etf.text(0, 1), etf.text(0, 2)}), QStringList({"-", "-", "-"}));
    }
    // Every stock's amounts, ranked or not, warrants and preferred shares too.
    EXPECT_EQ(amounts(), QStringList({"0050 -2000000 0 0 -2000000", "1101 0 300000 0 300000", "2330 5000000 -200000 -299000 4501000",
                                      "2881A 0 0 0 0", "5347 300000 0 0 300000", "6488 -4000000 0 -1000 -4001000"}));
    QFile kept(cached(ExchangeFile::TwseInstitutional));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), Big5(kTwse19));
    ASSERT_EQ(twse.requests().size(), 1);
    EXPECT_TRUE(twse.requests().first().userAgent.startsWith("Quorvex/"));

    // A day stored without amounts gets them from the kept files, its lists untouched.
    const QStringList stored = amounts();
    db::Connection(gConnectionString).execute(QStringLiteral("DELETE FROM 法人買賣超"));
    EXPECT_EQ(fetch({"1151208", "--top", "1"}), 0);
    EXPECT_EQ(amounts(), stored);
    EXPECT_EQ(list("買超明細資料").size(), 3);

    QFile::remove(cached(ExchangeFile::TwseInstitutional));
    EXPECT_EQ(fetch({"1151208", "--top", "1"}), 0);
    EXPECT_TRUE(output.contains(QStringLiteral("已有資料"))) << output.toStdString();
    EXPECT_EQ(twse.requests().size(), 1);   // a stored day costs the site nothing
    EXPECT_EQ(list("買超明細資料").size(), 3);
    EXPECT_EQ(fetch({"1151208", "--top", "1", "--basis", "投信", "--replace"}), 0) << output.toStdString();
    EXPECT_EQ(list("買超明細資料"), QStringList({"1101"}));
    EXPECT_EQ(list("賣超明細資料"), QStringList({"2330"}));
    EXPECT_EQ(amounts(), stored);
    EXPECT_EQ(twse.requests().size() + tpex.requests().size(), 4);   // kept files served, but --replace asks again
}

// Half a market is never stored: one site without data, a refusal or a
// network failure leaves the database as it was, with exit codes a
// scheduler can tell apart.
TEST_F(DownloadTest, WithoutBothSitesDataNothingIsStored)
{
    twse.answer(kT86, {200, Big5(kTwse19)});
    tpex.answer(kDailyTrade, {200, ""});
    EXPECT_EQ(fetch({"1151208"}), 2) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("櫃買中心"))) << output.toStdString();
    EXPECT_TRUE(list("買超明細資料").isEmpty());
    EXPECT_FALSE(QFile::exists(cached(ExchangeFile::TpexInstitutional)));

    // A reply whose connection closed early is no file, however well it reads.
    QFile::remove(cached(ExchangeFile::TwseInstitutional));
    QByteArray cut = Big5(kTwse19);
    cut.truncate(cut.indexOf("=\"0050\""));
    twse.answer(kT86, {200, cut, LocalHttpServer::Answer::Cut});
    tpex.answer(kDailyTrade, {200, Utf8(kTpex)});
    EXPECT_EQ(fetch({"1151208"}), 1) << output.toStdString();
    EXPECT_FALSE(QFile::exists(cached(ExchangeFile::TwseInstitutional)));

    twse.answer(kT86, {200, "<html><title>Access Denied</title></html>"});
    EXPECT_EQ(fetch({"1151208"}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Access Denied"))) << output.toStdString();
    EXPECT_FALSE(QFile::exists(cached(ExchangeFile::TwseInstitutional)));

    QFile ini(folder.filePath(kIniFileName));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[download]\ntwse=http://127.0.0.1:9\n");   // nobody listens
    ini.close();
    EXPECT_EQ(fetch({"1151208"}), 1);
    EXPECT_EQ(fetch({"11512"}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("用法"))) << output.toStdString();
    EXPECT_TRUE(list("買超明細資料").isEmpty());
}

// The download folders of a data folder its group may write are the
// group's too: another account of the office fetches into them.
TEST_F(DownloadTest, DownloadFoldersAreTheGroupsWhenTheDataFolderIs)
{
    const QFileDevice::Permissions shared = QFile::permissions(folder.path()) | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(folder.path(), shared));
    serveTheDay();
    ASSERT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    for (const QString& made : {DownloadFolder(folder.path()), QFileInfo(cached(ExchangeFile::TwseInstitutional)).path()})
        EXPECT_TRUE(QFileInfo(made).permission(QFile::WriteGroup)) << made.toStdString();
}

// Another process fetching for the same data folder waits its turn after
// this one's request, from its very first request.
TEST_F(DownloadTest, TheIntervalHoldsAgainstAnotherProcessOfTheDataFolder)
{
    serveTheDay();
    twse.answer(QStringLiteral("/a"), {200, "a"});
    PoliteFetcher fetcher(3000);
    fetcher.shareTurnsThrough(DownloadFolder(folder.path()));
    QUrl a = twse.base();
    a.setPath(QStringLiteral("/a"));
    ASSERT_EQ(fetcher.get(a).status, 200);
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QStringLiteral(QUORVEX_PROGRAM), {"--data", folder.path(), "--fetch", "1151208"});
    // The servers answer from this process's events while the program runs.
    ASSERT_TRUE(QTest::qWaitFor([&run] { return run.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().constData();
    ASSERT_EQ(twse.requests().size(), 2);
    EXPECT_GE(twse.requests().at(1).atMs - twse.requests().at(0).atMs, 2990);
}

// The help lists the exit codes a scheduler sees.
TEST_F(DownloadTest, TheHelpListsTheExitCodes)
{
    QProcess help;
    help.start(QStringLiteral(QUORVEX_PROGRAM), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(20000));
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* line : {"\n  0  ", "\n  1  ", "\n  2  "})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << text.toStdString();
}

// Another PC saving at the same moment: the day waits for its lock, and
// both saves are kept.
TEST_F(DownloadTest, ADaySavedWhileAnotherProcessWritesKeepsBoth)
{
    serveTheDay();
    QProcess other;
    other.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {gConnectionString, QStringLiteral("hold"), QStringLiteral("1500")});
    ASSERT_TRUE(other.waitForReadyRead(10000));
    ASSERT_EQ(other.readLine().trimmed(), "held");
    EXPECT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(other.exitCode(), 0);
    db::Connection c(gConnectionString);
    EXPECT_EQ(c.query(QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = 'HOLD'")).value(0, 0).toInt(), 1);
    EXPECT_EQ(list("買超明細資料").size(), 3);
    EXPECT_EQ(amounts().size(), 6);
}

// One site is asked once per interval, with the program named; a site that
// goes silent or trickles is given up at the deadline.
TEST_F(DownloadTest, TheFetcherWaitsItsTurnAndGivesUpOnASilentSite)
{
    twse.answer(QStringLiteral("/a"), {200, "a"});
    twse.answer(QStringLiteral("/silent"), {200, "x", LocalHttpServer::Answer::Silent});
    twse.answer(QStringLiteral("/trickle"), {200, QByteArray(100, 'x'), LocalHttpServer::Answer::Trickle});
    PoliteFetcher fetcher(400, 1000);
    int waits = 0;
    QObject::connect(&fetcher, &PoliteFetcher::waiting, [&waits](const QUrl&, int) { ++waits; });
    QUrl a = twse.base();
    a.setPath(QStringLiteral("/a"));
    EXPECT_EQ(fetcher.get(a).body, "a");
    EXPECT_EQ(fetcher.get(a).status, 200);
    ASSERT_EQ(twse.requests().size(), 2);
    EXPECT_GE(twse.requests().at(1).atMs - twse.requests().at(0).atMs, 390);
    EXPECT_EQ(waits, 1);

    for (const char* path : {"/silent", "/trickle"}) {
        QUrl url = twse.base();
        url.setPath(QString::fromLatin1(path));
        const FetchReply reply = fetcher.get(url);
        EXPECT_EQ(reply.status, 0) << path;
        EXPECT_TRUE(reply.failure.contains(QStringLiteral("秒"))) << reply.failure.toStdString();
    }
}

} // namespace

namespace {

// The fixtures moved to another day of December 2026.
QByteArray TwseOn(int day)
{
    return Big5(QString::fromUtf8(kTwse19).replace(QStringLiteral("12月08日"), QStringLiteral("12月%1日").arg(day, 2, 10, QLatin1Char('0'))).toUtf8());
}

QByteArray TpexOn(int day)
{
    return Utf8(QString::fromUtf8(kTpex).replace(QStringLiteral("115/12/08"), QStringLiteral("115/12/%1").arg(day, 2, 10, QLatin1Char('0'))).toUtf8());
}

class DownloadRangeTest : public DownloadTest {
protected:
    void serveDays(const QList<int>& days)
    {
        for (int day : days) {
            twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=202612%1").arg(day, 2, 10, QLatin1Char('0')), {200, TwseOn(day)});
            tpex.answer(QStringLiteral("/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/%1").arg(day, 2, 10, QLatin1Char('0')),
                        {200, TpexOn(day)});
        }
    }
};

// A range fetches only the weekdays not stored yet, goes on past a day
// without data, and stops at a refusal.
TEST_F(DownloadRangeTest, ARangeFetchesTheMissingWeekdaysOnly)
{
    serveDays({8, 9});
    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261207"), {200, "{\"stat\":\"很抱歉，沒有符合條件的資料!\"}"});
    ASSERT_EQ(fetch({"1151208"}), 0);
    output.clear();
    QTextStream rangeOut(&output);
    ASSERT_EQ(RunFetchCommand({"quorvex", "--fetch-range", "1151205", "1151209"}, folder.path(), rangeOut), 0)
        << output.toStdString();
    EXPECT_EQ(StoredTradingDates(), QStringList({"1151208", "1151209"}));
    QStringList asked;
    for (const LocalHttpServer::Request& r : twse.requests())
        asked << r.target.section(QLatin1Char('='), 1, 1).left(8);
    EXPECT_EQ(asked, QStringList({"20261208", "20261207", "20261209"}));

    // The day without data is known now: a second run asks nobody, and with
    // every trading day of the range there, it is done.
    output.clear();
    EXPECT_EQ(RunFetchCommand({"quorvex", "--fetch-range", "1151207", "1151209"}, folder.path(), rangeOut), 0);
    EXPECT_EQ(twse.requests().size(), 3) << output.toStdString();
    EXPECT_EQ(fetch({"1151207"}), 2);   // asked for alone, the day is asked for again
    EXPECT_EQ(twse.requests().size(), 4);

    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261210"), {403, "<html><title>Blocked</title></html>"});
    output.clear();
    QTextStream out(&output);
    EXPECT_EQ(RunFetchCommand({"quorvex", "--fetch-range", "1151210", "1151211"}, folder.path(), out), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Blocked"))) << output.toStdString();
    EXPECT_EQ(twse.requests().size(), 5);
}

} // namespace

namespace {

// The real program killed between two days of a range: the days it stored
// are whole, and the next run fetches only the rest.
TEST_F(DownloadRangeTest, AKilledRangeRunKeepsItsDaysAndTheNextRunResumes)
{
    const QString program = folder.filePath(QStringLiteral("quorvex"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEX_PROGRAM), program));
    serveDays({7, 8, 9});
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(program, {"--fetch-range", "1151207", "1151209"});
    // The server answers from this process's events while the program runs.
    ASSERT_TRUE(QTest::qWaitFor([this] { return StoredTradingDates().size() == 1; }, 20000)) << run.readAll().constData();
    run.kill();
    run.waitForFinished();
    EXPECT_EQ(StoredTradingDates(), QStringList{"1151207"});
    EXPECT_EQ(list("買超明細資料").size(), 3);
    const int amountsOfADay = int(amounts().size());   // the killed day left none
    EXPECT_GT(amountsOfADay, 0);

    run.start(program, {"--fetch-range", "1151207", "1151209"});
    ASSERT_TRUE(QTest::qWaitFor([&run] { return run.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().constData();
    EXPECT_EQ(StoredTradingDates(), QStringList({"1151207", "1151208", "1151209"}));
    EXPECT_EQ(list("買超明細資料").size(), 9);
    EXPECT_EQ(amounts().size(), 3 * amountsOfADay);
    int dayOneAsked = 0;
    for (const LocalHttpServer::Request& r : twse.requests())
        dayOneAsked += r.target.contains(QStringLiteral("20261207")) ? 1 : 0;
    EXPECT_EQ(dayOneAsked, 1);
}

} // namespace

namespace {

// A kept file damaged since is fetched anew; an empty reply is not taken for
// a holiday to remember, nor a silent second site where the first had data.
TEST_F(DownloadRangeTest, DamagedKeptFilesAreFetchedAgainAndOnlyStatedHolidaysAreRemembered)
{
    serveDays({8});
    QDir().mkpath(QFileInfo(cached(ExchangeFile::TwseInstitutional)).path());
    QFile damaged(cached(ExchangeFile::TwseInstitutional));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(TwseOn(8).left(200));
    damaged.close();
    EXPECT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    EXPECT_EQ(StoredTradingDates(), QStringList{"1151208"});
    EXPECT_EQ(twse.requests().size(), 1);

    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261204"), {200, ""});
    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261207"), {200, TwseOn(7)});
    tpex.answer(QStringLiteral("/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/07"),
                {200, "{\"stat\":\"很抱歉，沒有符合條件的資料!\"}"});
    output.clear();
    QTextStream out(&output);
    EXPECT_EQ(RunFetchCommand({"quorvex", "--fetch-range", "1151204", "1151207"}, folder.path(), out), 2) << output.toStdString();
    const QString downloads = DownloadFolder(folder.path());
    EXPECT_TRUE(QDir(downloads + QStringLiteral("/20261204")).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(downloads + QStringLiteral("/20261207")).entryList(QDir::Files), QStringList{"twse_T86.csv"});
}

} // namespace

namespace {

// A table of the fixtures without its end: TWSE's notes, TPEx's "共N筆".
QByteArray TwseCutAtARow()
{
    const QByteArray whole = Big5(kTwse19);
    return whole.left(whole.indexOf(Big5("\"說明:\"")));
}

QByteArray TpexCutAtARow()
{
    const QByteArray whole = Utf8(kTpex);
    return whole.left(whole.indexOf(Utf8("\"共2筆\"").mid(3)));
}

// Each of the sites' ways of saying a day has no data (yet) is no data; a
// reply cut short at a row or damaged is an error that says what is wrong.
TEST_F(DownloadTest, OnlyTheSitesEmptyAnswersAreNoDataAndACutOrDamagedReplyIsAnError)
{
    const QByteArray tpexHeading = Utf8("\"資料日期:115/12/08\"\n\"代號\",\"名稱\",\"外資及陸資(不含外資自營商)-買賣超股數\","
                                        "\"投信-買賣超股數\",\"自營商-買賣超股數\",\"三大法人買賣超股數合計\",\n");
    const std::pair<ExchangeFile, QByteArray> empty[] = {
        {ExchangeFile::TpexInstitutional, "{\"date\":\"20261208\",\"stat\":\"ok\",\"tables\":[{\"title\":\"x\",\"totalCount\":0,"
                                          "\"data\":[],\"fields\":[\"代號\"]}]}"},
        {ExchangeFile::TpexInstitutional, "{\"stat\":\"ok\",\"tables\":[{\"data\":[]},{\"data\":[]}]}"},
        {ExchangeFile::TpexInstitutional, "{\"reportDate\":\"115/12/08\",\"iTotalRecords\":0,\"aaData\":[]}"},
        {ExchangeFile::TpexInstitutional, tpexHeading},
        {ExchangeFile::TpexInstitutional, tpexHeading + "\"共0筆\"\n"},
        {ExchangeFile::TwseInstitutional, ""},
        {ExchangeFile::TwseInstitutional, Big5("<html><body><p>很抱歉，沒有符合條件的資料!</p></body></html>")},
        {ExchangeFile::TwseInstitutional, Big5("\"很抱歉，沒有符合條件的資料!\"\n")},
    };
    for (const auto& [file, body] : empty)
        EXPECT_EQ(CheckReply(file, 200, body, kDay).verdict, ReplyCheck::NoData) << body.constData();
    EXPECT_EQ(CheckReply(ExchangeFile::TpexInstitutional, 200, "{\"stat\":\"ok\",\"tables\":[{\"totalCount\":2,\"data\":[]}]}", kDay).verdict,
              ReplyCheck::Refused);

    QByteArray overCounted = Utf8(kTpex);
    overCounted.replace("共2筆", "共3筆");
    const struct {
        ExchangeFile file;
        QByteArray body;
        const char* said;
    } broken[] = {
        {ExchangeFile::TwseInstitutional, TwseCutAtARow(), "沒有傳完"},
        {ExchangeFile::TpexInstitutional, TpexCutAtARow(), "共N筆"},
        {ExchangeFile::TpexInstitutional, overCounted, "共 3 筆"},
        {ExchangeFile::TwseInstitutional, Big5(kTwse19).replace(Big5("台積電"), "\xFF\xFE\xFF"), "Big5"},
        {ExchangeFile::TwseInstitutional, Big5(kTwse19).replace(Big5("台積電"), QByteArray("\0\0", 2)), "NUL"},
        {ExchangeFile::TpexInstitutional, QByteArray("\x1F\x8B\x08\x08\x91\xFF\xC7\x80\xFE\x07\xFF\xFF", 12), "Big5"},
        {ExchangeFile::TpexRatios, Utf8(kTpexRatios).chopped(1), "最後一行"},
    };
    for (const auto& b : broken) {
        const ReplyCheck check = CheckReply(b.file, 200, b.body, kDay);
        EXPECT_EQ(check.verdict, ReplyCheck::Refused) << b.said;
        EXPECT_TRUE(check.message.contains(QString::fromUtf8(b.said))) << check.message.toStdString();
    }
}

// A reply cut at a row boundary, with a length that matches or with none,
// stores nothing and keeps no file; a kept file found cut is put aside,
// never read again, and the day is fetched anew.
TEST_F(DownloadTest, AReplyCutAtARowStoresNothingAndACutKeptFileIsPutAside)
{
    tpex.answer(kDailyTrade, {200, Utf8(kTpex)});
    for (const auto manner : {LocalHttpServer::Answer::Whole, LocalHttpServer::Answer::Unsized}) {
        twse.answer(kT86, {200, TwseCutAtARow(), manner});
        EXPECT_EQ(fetch({"1151208"}), 1) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("沒有傳完"))) << output.toStdString();
        EXPECT_FALSE(QFile::exists(cached(ExchangeFile::TwseInstitutional)));
    }
    twse.answer(kT86, {200, Big5(kTwse19)});
    tpex.answer(kDailyTrade, {200, TpexCutAtARow(), LocalHttpServer::Answer::Unsized});
    EXPECT_EQ(fetch({"1151208"}), 1) << output.toStdString();
    EXPECT_TRUE(list("買超明細資料").isEmpty());
    EXPECT_FALSE(QFile::exists(cached(ExchangeFile::TpexInstitutional)));

    // As an earlier run kept it: cut, yet trusted then.
    QFile kept(cached(ExchangeFile::TpexInstitutional));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write(TpexCutAtARow());
    kept.close();
    tpex.answer(kDailyTrade, {200, Utf8(kTpex)});
    const qsizetype asked = tpex.requests().size();
    EXPECT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    EXPECT_GT(tpex.requests().size(), asked);   // fetched anew
    EXPECT_EQ(amounts().size(), 6);
    const QDir dayFolder = QFileInfo(kept).dir();
    EXPECT_EQ(dayFolder.entryList({QStringLiteral("tpex_dailyTrade*")}, QDir::Files),
              QStringList({"tpex_dailyTrade.csv", "tpex_dailyTrade.不完整.csv"}));
    QFile aside(dayFolder.filePath(QStringLiteral("tpex_dailyTrade.不完整.csv")));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), TpexCutAtARow());

    // Damage is an error, not a day without data.
    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261209"), {200, Big5(kTwse19).replace(Big5("台積電"), "\xFF\xFE\xFF")});
    EXPECT_EQ(fetch({"1151209"}), 1) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("Big5"))) << output.toStdString();
}

} // namespace

namespace {

// A last day one site has not published yet (TPEx's JSON of zero rows) is
// no data: the range stores the others and exits as stored; that day alone
// exits 2.
TEST_F(DownloadRangeTest, ARangeWhoseLastDayIsNotPublishedYetStoresTheOthers)
{
    serveDays({7, 8});
    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261209"), {200, TwseOn(9)});
    tpex.answer(QStringLiteral("/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/09"),
                {200, "{\"date\":\"20261209\",\"stat\":\"ok\",\"tables\":[{\"totalCount\":0,\"data\":[]}]}"});
    output.clear();
    QTextStream out(&output);
    EXPECT_EQ(RunFetchCommand({"quorvex", "--fetch-range", "1151207", "1151209"}, folder.path(), out), 0) << output.toStdString();
    EXPECT_EQ(StoredTradingDates(), QStringList({"1151207", "1151208"}));
    EXPECT_EQ(fetch({"1151209"}), 2) << output.toStdString();
    EXPECT_EQ(StoredTradingDates().size(), 2);
}

} // namespace

namespace {

// A file without a basis' column leaves that basis blank in its own rows
// only: the other exchange's stocks keep their figures.
TEST_F(DownloadTest, AFileLackingABasisBlanksOnlyItsOwnRows)
{
    twse.answer(kT86, {200, Big5(kTwse19)});
    tpex.answer(kDailyTrade, {200, Utf8(kTpexTotalOnly)});
    ASSERT_EQ(fetch({"1151208"}), 0) << output.toStdString();
    EXPECT_EQ(amounts(), QStringList({"0050 -2000000 0 0 -2000000", "1101 0 300000 0 300000", "2330 5000000 -200000 -299000 4501000",
                                      "2881A 0 0 0 0", "5347    300000"}));
    EXPECT_EQ(fetch({"1151208", "--replace", "--basis", "外資"}), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("tpex_dailyTrade.csv"))) << output.toStdString();
}

} // namespace
