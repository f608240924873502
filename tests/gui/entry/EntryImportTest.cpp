#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/entry/InstitutionalFixtures.h"
#include "core/entry/InstitutionalTrades.h"
#include "core/download/DownloadSettings.h"
#include "core/support/LocalHttpServer.h"
#include "core/support/TempAppFolder.h"
#include "core/text/Clock.h"
#include "gui/entry/EntryScreen.h"
#include "gui/entry/EntrySheet.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"
#include "core/support/TestPlatform.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class EntryImportTest : public ::testing::Test {
protected:
    EntryImportTest()
    {
        execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    }
    void TearDown() override { CloseAllWindows(); }
    void execute(const QString& sql)
    {
        db::Connection c(gConnectionString);
        c.execute(sql);
    }
    qlonglong count(const QString& sql)
    {
        db::Connection c(gConnectionString);
        return c.query(sql).value(0, 0).toLongLong();
    }
    QString file(const char* name, const char* text)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }
    void open()
    {
        screen = new frm買賣超輸入作業;
        screen->show();
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->mode().isEmpty(); }));
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == screen ? focus : screen.data(), k, modifiers);
    }
    void ctrlI() { key(Qt::Key_I, Qt::ControlModifier); }
    static QStringList Codes(EntrySheet* sheet)
    {
        QStringList codes;
        for (const QStringList& row : sheet->SheetToRows())
            codes << row.join(':') + QLatin1Char(' ') + sheet->cellText(codes.size() + 1, EntrySheet::kNameColumn);
        return codes;
    }
    QLineEdit* box(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }

    TempAppFolder folder;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    QTemporaryDir dir;
    QPointer<frm買賣超輸入作業> screen;
};

TEST_F(EntryImportTest, ANewDayIsFilledInRankOrderAndSavedOnlyBySave)
{
    open();
    messages.clear();
    screen->keyAction(QStringLiteral("add"))->trigger();
    files.chooseNext(file("twse.csv", kTwse19) + QLatin1Char('\n') + file("tpex.csv", kTpex));
    WhenModalOpens([](QWidget* dialog) {
        Child<QSpinBox>(dialog, QStringLiteral("txt筆數"))->setValue(2);
        static_cast<QDialog*>(dialog)->accept();
    });
    ctrlI();

    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(box("txt買賣日期")->text(), "1151208");
    EXPECT_EQ(box("txt買賣星期")->text(), QString::fromUtf8("二"));
    EXPECT_EQ(Codes(screen->buySheet()),
              (QStringList{QString::fromUtf8("1:2330 台積電"), QString::fromUtf8("2:1101 台泥")}));
    EXPECT_EQ(Codes(screen->sellSheet()),
              (QStringList{QString::fromUtf8("1:6488 環球晶"), QString::fromUtf8("2:0050 元大台灣50")}));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買超明細資料")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 法人買賣超")), 0);

    // The files' amounts cannot be saved under another date.
    box("txt買賣日期")->setText(QStringLiteral("1151209"));
    key(Qt::Key_F8);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("115/12/08"))) << messages.texts().first().toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
    box("txt買賣日期")->setText(QStringLiteral("1151208"));

    key(Qt::Key_F8);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買超明細資料 WHERE 買賣日期 = '1151208'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 4);
    // Every stock of the files, not only the ranked ones.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 法人買賣超 WHERE 買賣日期 = '1151208'")), 6);
    EXPECT_EQ(count(QStringLiteral("SELECT 合計 FROM 法人買賣超 WHERE 股號 = '6488'")), -4001000);
}

// The codes an import would add go with the day: a day left unsaved leaves
// the stock master as it was.
TEST_F(EntryImportTest, ADayLeftUnsavedAddsNoStock)
{
    open();
    screen->keyAction(QStringLiteral("add"))->trigger();
    files.chooseNext(file("twse.csv", kTwse19) + QLatin1Char('\n') + file("tpex.csv", kTpex));
    WhenModalOpens([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    ctrlI();
    ASSERT_FALSE(screen->buySheet()->SheetToRows().isEmpty());
    messages.answerNext(MsgAnswer::Yes);
    key(Qt::Key_Escape);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 法人買賣超")), 0);
}

// A code still in its cell editor is part of the lists an import would
// replace: the import asks, and 否 keeps the code.
TEST_F(EntryImportTest, ACodeInAnOpenCellEditorIsAskedAboutBeforeTheImportReplacesIt)
{
    open();
    screen->keyAction(QStringLiteral("add"))->trigger();
    EntrySheet* sells = screen->sellSheet();
    sells->setFocus();
    sells->setCurrentCell(0, EntrySheet::kCodeColumn);
    TypeText(sells, QStringLiteral("2317"));
    ASSERT_TRUE(sells->isEditing());
    messages.clear();
    files.chooseNext(file("twse.csv", kTwse19) + QLatin1Char('\n') + file("tpex.csv", kTpex));
    WhenModalOpens([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    ctrlI();
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("畫面上的清單已有資料，確定以匯入的資料取代?")});
    EXPECT_EQ(sells->cellText(1, EntrySheet::kCodeColumn), "2317");
    EXPECT_TRUE(screen->buySheet()->SheetToRows().isEmpty());
}

TEST_F(EntryImportTest, AFileOfAnotherDateOrARefusedReplacementChangesNothing)
{
    execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1151208', '二')"));
    execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '9904', '1151208')"));
    open();
    messages.clear();
    files.chooseNext(file("old.csv", kTwse12));
    ctrlI();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("100/01/25"))) << messages.last().text.toStdString();

    files.chooseNext(file("twse.csv", kTwse19));
    WhenModalOpens([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    messages.answerNext(MsgAnswer::No);
    ctrlI();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("畫面上的清單已有資料，確定以匯入的資料取代?"));
    EXPECT_EQ(Codes(screen->buySheet()), QStringList{QString::fromUtf8("1:9904 （無此股號）")});
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
}

// The dialog leaves warrants out by default and says so; a basis one of the
// files has no column for cannot be taken, and the dialog names the file.
TEST_F(EntryImportTest, WarrantsAreLeftOutAndABasisAFileLacksCannotBeTaken)
{
    open();
    screen->keyAction(QStringLiteral("add"))->trigger();
    QByteArray twse(kTwse19);
    twse.replace("\"說明:\"", QByteArray("\"030001\",\"權證\"") + QByteArray(",\"0\"").repeated(17) + ",\n\"說明:\"");
    files.chooseNext(file("twse.csv", twse.constData()) + QLatin1Char('\n') + file("total.csv", kTpexTotalOnly));
    QString warrants;
    QString lacking;
    bool okWithTrust = true;
    WhenModalOpens([&](QWidget* dialog) {
        warrants = Child<QLabel>(dialog, QStringLiteral("lbl說明"))->text();
        Child<QComboBox>(dialog, QStringLiteral("cbo依據"))->setCurrentIndex(int(TradeBasis::InvestmentTrust));
        lacking = Child<QLabel>(dialog, QStringLiteral("lbl說明"))->text();
        okWithTrust = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        static_cast<QDialog*>(dialog)->reject();
    });
    ctrlI();
    EXPECT_TRUE(warrants.contains(QString::fromUtf8("已略過 1 筆"))) << warrants.toStdString();
    EXPECT_TRUE(lacking.contains(QStringLiteral("total.csv")) && lacking.contains(QString::fromUtf8("投信")))
        << lacking.toStdString();
    EXPECT_FALSE(okWithTrust);
    EXPECT_TRUE(screen->buySheet()->SheetToRows().isEmpty());
}

} // namespace

namespace {

void WriteDownloadSites(const QString& folder, const LocalHttpServer& twse, const LocalHttpServer& tpex)
{
    QFile ini(QDir(folder).filePath(kIniFileName));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[download]\ntwse=" + twse.base().toString().toUtf8() + "\ntpex=" + tpex.base().toString().toUtf8() + "\n");
}

// 下載... fills a new day from today's files as a picked pair would, nothing
// saved; a day the sites have no data for says so and changes nothing.
TEST_F(EntryImportTest, DownloadFillsTheNewDayAndADayWithoutDataSaysSo)
{
    SetFixedNow(QDateTime(QDate(2026, 12, 8), QTime(17, 30)));
    LocalHttpServer twse;
    LocalHttpServer tpex;
    twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=20261208"), {200, ToBig5(QString::fromUtf8(kTwse19))});
    tpex.answer(QStringLiteral("/www/zh-tw/insti/dailyTrade"), {200, kTpex});
    WriteDownloadSites(folder.path(), twse, tpex);
    open();
    screen->keyAction(QStringLiteral("add"))->trigger();
    // The review opens once the download's own window has gone: looked for
    // without blocking the download's events.
    bool reviewed = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&reviewed] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal && modal->objectName() == QStringLiteral("frm匯入買賣超") && !reviewed) {
            reviewed = true;
            modal->accept();
        }
    });
    look.start(20);
    key(Qt::Key_D, Qt::ControlModifier);
    look.stop();
    ASSERT_TRUE(reviewed) << messages.texts().join('|').toStdString();
    EXPECT_EQ(box("txt買賣日期")->text(), "1151208");
    const QStringList buys = Codes(screen->buySheet());
    ASSERT_FALSE(buys.isEmpty());
    EXPECT_EQ(buys.first(), QString::fromUtf8("1:2330 台積電"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);

    LocalHttpServer quietTwse;
    LocalHttpServer quietTpex;
    quietTwse.answer(QStringLiteral("/"), {200, ""});
    quietTpex.answer(QStringLiteral("/"), {200, ""});
    WriteDownloadSites(folder.path(), quietTwse, quietTpex);
    QDir(DownloadFolder(folder.path())).removeRecursively();
    messages.clear();
    Child<QPushButton>(screen, QStringLiteral("scmd下載買賣超"))->click();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("下載買賣超"));
    EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8("沒有這一天的資料"))) << messages.last().text.toStdString();
    EXPECT_EQ(Codes(screen->buySheet()), buys);
}

} // namespace
