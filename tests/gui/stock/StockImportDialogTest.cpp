#include "StockScreenFixture.h"

#include "core/download/DownloadSettings.h"
#include "core/entry/InstitutionalFixtures.h"
#include "core/support/LocalHttpServer.h"
#include "gui/stock/StockImportDialog.h"
#include "core/support/TestPlatform.h"

#include <QFile>
#include <QPushButton>

namespace {

class StockImportDialogTest : public StockScreenTest {
protected:
    QString writeFile(const QByteArray& bytes)
    {
        const QString path = folder.filePath(QStringLiteral("stocks list.csv"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Runs the window's steps once it is open, as a user would.
    void runImport(const std::function<void(QWidget*)>& steps)
    {
        WhenModalOpens([steps](QWidget* window) { steps(window); });
        QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("scmd資料匯入")), Qt::LeftButton);
    }
    static void start(QWidget* window)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd開始")), Qt::LeftButton);
    }
};

TEST_F(StockImportDialogTest, ACompletedImportClosesAndTheHighestCodeIsShown)
{
    seedFour();
    open();
    const QString path = writeFile(QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("股號,名稱\n9910,豐泰,10,3,2\n1101,台泥新,1,2,3\n").toUtf8());
    ScriptedFileDialogs dialogs;
    dialogs.chooseNext(path);
    bool closed = false;
    runImport([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8("股號匯入Excel"));
        start(window);   // no path yet
        EXPECT_EQ(messages.last().text, QString::fromUtf8("請輸入欲匯入的Excel檔名!"));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmd開啟舊資料庫檔案")), Qt::LeftButton);
        EXPECT_EQ(dialogs.shown().first().filter, QString::fromUtf8("Microsoft Excel 資料庫(*.csv)"));
        start(window);   // the question answered No: nothing written, the window stays
        EXPECT_TRUE(messages.last().text.startsWith(QString::fromUtf8("將新增 1 筆、更新 1 筆，略過 0 列")))
            << messages.last().text.toStdString();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(rows(QStringLiteral("WHERE 名稱 = '台泥新'")), 0);
        messages.answerNext(MsgAnswer::Yes);
        start(window);
        closed = !window->isVisible();
        if (!closed)
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd離開")), Qt::LeftButton);
    });
    EXPECT_TRUE(closed) << messages.texts().join('|').toStdString();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("已成功匯入 2 筆資料!"));
    EXPECT_EQ(code(), "9910");
    EXPECT_EQ(rows(QStringLiteral("WHERE 名稱 = '台泥新'")), 1);
}

TEST_F(StockImportDialogTest, AMissingOrUnreadableFileKeepsTheWindowOpen)
{
    seedFour();
    open();
    const QString binary = writeFile(QByteArray("\x00\x01\x02\xff", 4));
    bool open = false;
    runImport([&](QWidget* window) {
        auto* path = window->findChild<QLineEdit*>(QStringLiteral("txt存放Excel檔路徑"));
        path->setText(folder.filePath(QStringLiteral("none.csv")));
        start(window);
        EXPECT_EQ(messages.last().text, QString::fromUtf8("找不到檔案!"));
        path->setText(binary);
        start(window);
        EXPECT_EQ(messages.last().title, QString::fromUtf8("資料匯入錯誤"));
        open = window->isVisible();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd離開")), Qt::LeftButton);
    });
    EXPECT_TRUE(open);
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(code(), "9904");
}

} // namespace

namespace {

// An import shows the master afresh: typed changes are given up only when
// the user says so.
TEST_F(StockImportDialogTest, TypedChangesAreGivenUpForAnImportOnlyOnYes)
{
    seedFour();
    open();
    type("txt名稱", QString::fromUtf8("改名"));
    int opened = 0;
    const auto leave = [&](QWidget* window) {
        ++opened;
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd離開")), Qt::LeftButton);
    };
    runImport(leave);   // answered No
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料尚未儲存，確定放棄修改嗎？")});
    EXPECT_EQ(field("txt名稱")->text(), QString::fromUtf8("改名"));
    ASSERT_EQ(opened, 0);   // the window waits for the next click

    messages.answerNext(MsgAnswer::Yes);
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("scmd資料匯入")), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(messages.count(), 2);
}

} // namespace

namespace {

// 下載本益比 takes the ratio files of the last stored trading date from both
// exchanges, refreshes the codes the master holds (adding none), and only
// after the import's question.
TEST_F(StockImportDialogTest, DownloadedRatiosGoThroughTheImportsQuestion)
{
    seedFour();
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1151208', '二')"));
    }
    LocalHttpServer twse;
    LocalHttpServer tpex;
    twse.answer(QStringLiteral("/rwd/zh/afterTrading/BWIBBU_d?date=20261208"),
                {200, ToBig5(QString::fromUtf8(kTwseRatios))});
    tpex.answer(QStringLiteral("/www/zh-tw/afterTrading/peQryDate?date=2026/12/08"), {200, kTpexRatios});
    QFile ini(folder.filePath(kIniFileName));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[download]\ntwse=" + twse.base().toString().toUtf8() + "\ntpex=" + tpex.base().toString().toUtf8() + "\n");
    ini.close();
    open();

    QPushButton* download = Child<QPushButton>(screen, QStringLiteral("scmd下載本益比"));
    download->click();   // the question answered No
    ASSERT_EQ(messages.count(), 1) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(messages.last().text.startsWith(QString::fromUtf8("將新增 0 筆、更新 2 筆"))) << messages.last().text.toStdString();
    EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8("股號資料中沒有的 1 檔不新增"))) << messages.last().text.toStdString();
    EXPECT_EQ(rows(QStringLiteral("WHERE 股號 = '2330' AND 本益比 = '22.50'")), 0);

    messages.answerNext(MsgAnswer::Yes);
    download->click();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("已成功匯入 2 筆資料!"));
    EXPECT_EQ(rows(QStringLiteral("WHERE 股號 = '2330' AND 本益比 = '22.50' AND 殖利率 = '1.60'")), 1);
    EXPECT_EQ(rows(QStringLiteral("WHERE 股號 = '1101' AND 本益比 = '-' AND 股價淨值比 = '1.05'")), 1);
    EXPECT_EQ(rows(QStringLiteral("WHERE 股號 = '6488'")), 0);
    EXPECT_EQ(twse.requests().size(), 1);   // the kept file served the second time
}

} // namespace
