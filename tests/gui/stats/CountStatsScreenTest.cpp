#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/stats/ReportParameters.h"
#include "core/support/TempAppFolder.h"
#include "core/support/TestServer.h"
#include "gui/stats/CountStatsScreen.h"
#include "gui/stats/ReportOutput.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

struct Output {
    PaginatedReport report;
    ReportDestination destination;
};

class CountStatsScreenTest : public ::testing::Test {
protected:
    explicit CountStatsScreenTest(QDate today = QDate(2011, 1, 25)) : folder(today)
    {
        SetReportOutputHandler([this](const PaginatedReport& r, ReportDestination d) {
            outputs.push_back({r, d});
            return QString();
        });
    }
    ~CountStatsScreenTest() override { SetReportOutputHandler(nullptr); }
    void TearDown() override { CloseAllWindows(); }

    void open(const char* kind)
    {
        gStatKind = QString::fromUtf8(kind);
        screen = new frm買賣超統計表;
        screen->show();
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !from()->text().isEmpty() || screen->isEnabled(); }));
        QCoreApplication::processEvents();
    }
    void seed()
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        for (const char* d : {"1000120", "1000121", "1000124"})
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', ?)"), {QString::fromLatin1(d)});
        c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '1101', '1000124')"));
        c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (1, '2330', '1000121')"));
    }
    QLineEdit* from() { return Child<QLineEdit>(screen, QStringLiteral("txt日期_起")); }
    QLineEdit* to() { return Child<QLineEdit>(screen, QStringLiteral("txt日期_末")); }
    QCheckBox* skip() { return Child<QCheckBox>(screen, QStringLiteral("chk僅一次不印")); }
    void click(const char* name) { QTest::mouseClick(Child<QPushButton>(screen, QString::fromUtf8(name)), Qt::LeftButton); }
    void setRange(const QString& a, const QString& b)
    {
        from()->setText(a);
        to()->setText(b);
    }
    QStringList codesPrinted()
    {
        QStringList codes;
        for (const ReportPage& page : outputs.last().report.pages)
            for (const PlacedText& t : page.texts)
                if (qRound(t.box.left()) == 1000 + 850 && t.text.at(0).isDigit())
                    codes << t.text;
        return codes;
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    QVector<Output> outputs;
    QPointer<frm買賣超統計表> screen;
};

TEST_F(CountStatsScreenTest, NetBuyCaptionsAndTheLastWeekdayProposed)
{
    open("買超統計表");
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("買超統計表"));
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl日期"))->text(), QString::fromUtf8("買超日期:"));
    EXPECT_EQ(skip()->text(), QString::fromUtf8("只有一次買超不印"));
    EXPECT_TRUE(skip()->isChecked());
    EXPECT_EQ(from()->text(), "1000124");   // Tuesday: Monday before
    EXPECT_EQ(to()->text(), "1000124");
    EXPECT_TRUE(from()->hasFocus());
    EXPECT_EQ(from()->selectedText(), "1000124");
}

class CountStatsOnMonday : public CountStatsScreenTest {
protected:
    CountStatsOnMonday() : CountStatsScreenTest(QDate(2011, 1, 24)) {}
};

TEST_F(CountStatsOnMonday, ProposesTheFridayBefore)
{
    open("賣超統計表");
    EXPECT_EQ(from()->text(), "1000121");
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("賣超統計表"));
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl日期"))->text(), QString::fromUtf8("賣超日期:"));
}

class CountStatsOnSunday : public CountStatsScreenTest {
protected:
    CountStatsOnSunday() : CountStatsScreenTest(QDate(2011, 1, 23)) {}
};

TEST_F(CountStatsOnSunday, ProposesTheFridayBefore)
{
    open("買超統計表");
    EXPECT_EQ(from()->text(), "1000121");
}

TEST_F(CountStatsScreenTest, PreviewPrintsTheCountsWithTheOptionTicked)
{
    seed();
    open("買超統計表");
    setRange("1000101", "1000131");
    click("ssc預覽列印");
    ASSERT_EQ(outputs.size(), 1) << messages.texts().join('|').toStdString();
    EXPECT_EQ(outputs[0].destination, ReportDestination::Preview);
    EXPECT_EQ(outputs[0].report.name, QString::fromUtf8("rpt買超統計表"));
    EXPECT_EQ(codesPrinted(), QStringList{"2330"});   // 1101 was listed once
    EXPECT_EQ(gRptDateFrom, "1000101");
    EXPECT_EQ(gRptSkipSingle, 1);

    skip()->setChecked(false);
    EXPECT_FALSE(Child<QPushButton>(screen, QStringLiteral("ssc列印"))->icon().isNull());   // the printer, as on every 列印
    click("ssc列印");
    ASSERT_EQ(outputs.size(), 2);
    EXPECT_EQ(outputs[1].destination, ReportDestination::Printer);
    EXPECT_EQ(codesPrinted(), (QStringList{"2330", "1101"}));
}

TEST_F(CountStatsScreenTest, EmptyBoxesMeanEveryDateAndTheHeadingShowsNines)
{
    seed();
    open("買超統計表");
    setRange("", "");
    skip()->setChecked(false);
    click("ssc預覽列印");
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(gRptDateFrom, "");
    EXPECT_EQ(gRptDateTo, "9999999");
    bool nines = false;
    for (const PlacedText& t : outputs[0].report.pages[0].texts)
        nines |= t.text == "999/99/99";
    EXPECT_TRUE(nines);
}

TEST_F(CountStatsScreenTest, NothingToPrintSaysSoAndStartsNoReport)
{
    seed();
    open("買超統計表");
    setRange("1000125", "1000101");
    click("ssc預覽列印");
    EXPECT_TRUE(outputs.isEmpty());
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("查無任何資料!")});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("訊息"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(CountStatsScreenTest, AnImpossibleDateIsRefusedWithTheFocusOnIt)
{
    open("買超統計表");
    setRange("1000101", "0991301");
    click("ssc列印");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「日期」輸入錯誤!")});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("錯誤"));
    EXPECT_TRUE(to()->hasFocus());
    EXPECT_TRUE(outputs.isEmpty());
}

TEST_F(CountStatsScreenTest, SixDigitsArePaddedWhenTheBoxIsLeft)
{
    open("買超統計表");
    from()->setFocus();
    from()->selectAll();
    QTest::keyClicks(from(), "99a1001");
    EXPECT_EQ(from()->text(), "991001");
    QTest::keyClick(from(), Qt::Key_Return);   // Enter moves on like Tab
    EXPECT_TRUE(to()->hasFocus());
    EXPECT_EQ(from()->text(), "0991001");
}

TEST_F(CountStatsScreenTest, TheKindChosenLastDecidesTheNextRun)
{
    seed();
    open("買超統計表");
    gStatKind = QString::fromUtf8("賣超統計表");
    setRange("", "");
    skip()->setChecked(false);
    click("ssc預覽列印");
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(outputs[0].report.name, QString::fromUtf8("rpt賣超統計表"));
    EXPECT_EQ(codesPrinted(), QStringList{"2330"});
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("買超統計表"));
}

TEST_F(CountStatsScreenTest, ADatabaseFailureIsAPrintError)
{
    if (UseTestServer())
        GTEST_SKIP() << "damages the database file";
    open("買超統計表");
    QFile::remove(folder.databasePath());
    QFile broken(folder.databasePath());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(8192, 'q'));
    broken.close();
    click("ssc預覽列印");
    EXPECT_EQ(messages.last().title, QString::fromUtf8("印表錯誤"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(from()->text(), "1000124");
}

TEST_F(CountStatsScreenTest, EscapeAndTheExitKeyCloseWithoutAQuestion)
{
    open("買超統計表");
    QTest::keyClick(from(), Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(messages.count(), 0);
    open("買超統計表");
    screen->findChild<QAction*>(QStringLiteral("exit"))->trigger();
    EXPECT_FALSE(screen->isVisible());
}

} // namespace

namespace {

TEST_F(CountStatsScreenTest, EnterMovesOnThroughTheFieldsAndPressesAFocusedButton)
{
    seed();
    open("買超統計表");
    setRange("1000120", "1000124");
    from()->setFocus();
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, (QStringList{"txt日期_末", "chk僅一次不印", "ssc預覽列印"}));
    EXPECT_TRUE(outputs.isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(outputs.first().destination, ReportDestination::Preview);
}

} // namespace

namespace {

TEST_F(CountStatsScreenTest, ALaterActivationKeepsWhatTheUserTyped)
{
    open("買超統計表");
    setRange("1000103", "1000110");
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(screen);
    QCoreApplication::processEvents();
    EXPECT_EQ(from()->text(), "1000103");
    EXPECT_EQ(to()->text(), "1000110");
}

} // namespace

namespace {

TEST_F(CountStatsScreenTest, TheWindowBroughtBackForTheOtherKindShowsThatKind)
{
    open("買超統計表");
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("買超統計表"));
    gStatKind = QStringLiteral("賣超統計表");
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(screen);
    QCoreApplication::processEvents();
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("賣超統計表"));
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl日期"))->text(), QString::fromUtf8("賣超日期:"));
    EXPECT_EQ(skip()->text(), QString::fromUtf8("只有一次賣超不印"));
}

} // namespace
