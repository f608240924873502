#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/history/AmountChartPainter.h"
#include "core/support/TempAppFolder.h"
#include "core/support/TestServer.h"
#include "core/text/RocDate.h"
#include "gui/entry/EntryScreen.h"
#include "gui/entry/EntrySheet.h"
#include "gui/history/AmountChartView.h"
#include "gui/history/AmountHistoryWindow.h"
#include "gui/stock/StockScreen.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"
#include "gui/uikit/PrinterChoice.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

const QString kWindow = QStringLiteral("frm法人動向");
const QStringList kDates = {"1000117", "1000118", "1000119", "1000120", "1000121"};

class AmountHistoryWindowTest : public ::testing::Test {
protected:
    AmountHistoryWindowTest()
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('1101', '台泥', '12', '4', '1')"));
        for (int i = 0; i < kDates.size(); ++i) {
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {kDates[i]});
            const qint64 foreign = (i - 2) * 1500000;
            c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, '2330', ?, 250000, ?, ?)"),
                      {kDates[i], foreign, i == 1 ? QVariant() : QVariant(-100000), foreign + 150000});
            c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, '2317', 1000, 0, 0, 1000)"), {kDates[i]});
        }
        c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000121')"));
        c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (1, '2317', '1000121')"));
    }
    ~AmountHistoryWindowTest() override
    {
        SetPrinterChoiceHandler(nullptr);
        CloseAllWindows();
    }

    void openStockScreen()
    {
        stock = new frm股號資料;
        stock->show();
        QApplication::setActiveWindow(stock);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !stock->mode().isEmpty(); }));
    }
    // The chart window in front, opened by the last step.
    AmountHistoryWindow* chartWindow()
    {
        return dynamic_cast<AmountHistoryWindow*>(FindWindow(kWindow));
    }
    QAbstractButton* button(QWidget* window, const char* caption)
    {
        auto* found = qobject_cast<QAbstractButton*>(
            AccessibleControl(window, QAccessible::Button, QString::fromUtf8(caption)));
        EXPECT_NE(found, nullptr) << caption;
        return found;
    }
    QLineEdit* box(QWidget* window, const char* label)
    {
        auto* found = qobject_cast<QLineEdit*>(
            AccessibleControl(window, QAccessible::EditableText, QString::fromUtf8(label)));
        EXPECT_NE(found, nullptr) << label;
        return found;
    }
    QString selection(QWidget* window) { return Child<QLabel>(window, QStringLiteral("lbl選取日期"))->text(); }

    TempAppFolder folder;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    QTemporaryDir output;
    QPointer<frm股號資料> stock;
};

TEST_F(AmountHistoryWindowTest, TheStockScreensKeyChartsTheShownStockMovesAlongDatesExportsAndPrints)
{
    openStockScreen();
    ASSERT_EQ(stock->currentKey(), "2330");
    QTest::mouseClick(button(stock, "法人動向"), Qt::LeftButton);
    AmountHistoryWindow* window = chartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("法人動向 - 2330 台積電"));
    EXPECT_EQ(box(window, "起始日期")->text(), "1000117");
    EXPECT_EQ(box(window, "結束日期")->text(), "1000121");
    AmountChartView* chart = window->chart();
    ASSERT_EQ(chart->history().days.size(), 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return chart->hasFocus(); }));
    // The latest date first; 2330 stood on that day's 買超 list.
    EXPECT_EQ(selection(window), QString::fromUtf8("100/01/21　外資 3,000　投信 250　自營商 -100　合計 3,150　累計 750　在買超清單"));

    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_TRUE(selection(window).startsWith("100/01/20"));
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_TRUE(selection(window).startsWith("100/01/17"));
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_EQ(chart->selectedDay(), 0);
    QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_EQ(selection(window), QString::fromUtf8("100/01/18　外資 -1,500　投信 250　自營商 —　合計 -1,350　累計 -4,200"));
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_EQ(chart->selectedDay(), 4);

    // Hovering a date's bars names the date and its values.
    const AmountChartModel model = chart->model();
    const QPoint over(static_cast<int>(model.centres[2]), static_cast<int>(model.barAxis.y(model.plot, 0.5)));
    QHelpEvent hover(QEvent::ToolTip, over, chart->mapToGlobal(over));
    QApplication::sendEvent(chart, &hover);
    EXPECT_TRUE(QToolTip::text().startsWith("100/01/19")) << QToolTip::text().toStdString();
    // A click picks a date too.
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(static_cast<int>(model.centres[1]), over.y()));
    EXPECT_EQ(chart->selectedDay(), 1);

    QTest::mouseClick(AccessibleControl(window, QAccessible::CheckBox, QString::fromUtf8("堆疊顯示")), Qt::LeftButton);
    EXPECT_EQ(chart->barLayout(), BarLayout::SideBySide);

    // An earlier picture of that name, the name given without its suffix, is
    // replaced only after 是 to the question; then whole, keeping its mode.
    const QString picture = output.filePath(QStringLiteral("chart.png"));
    {
        QFile earlier(picture);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("old");
        earlier.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    }
    const QFileDevice::Permissions mode = QFile(picture).permissions();
    const QString replace = QString::fromUtf8("檔案已存在，是否取代？\n") + QDir::toNativeSeparators(picture);
    files.chooseNext(output.filePath(QStringLiteral("chart")));
    QTest::mouseClick(button(window, "匯出圖片"), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{replace});
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNoDefaultNo);
    ASSERT_EQ(files.shown().size(), 2);   // 否: the dialog again, cancelled
    QFile kept(picture);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    kept.close();

    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    files.chooseNext(picture);
    QTest::mouseClick(button(window, "匯出圖片"), Qt::LeftButton);
    ASSERT_EQ(files.shown().size(), 3);
    EXPECT_TRUE(files.shown().last().save);
    EXPECT_EQ(messages.texts(), QStringList{replace});
    messages.clear();
    QImage image;
    ASSERT_TRUE(image.load(picture, "PNG"));
    EXPECT_EQ(image.size(), kChartPictureSize);
    EXPECT_EQ(QFile(picture).permissions(), mode);
    EXPECT_EQ(QDir(output.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    const QString pdf = output.filePath(QStringLiteral("chart.pdf"));
    SetPrinterChoiceHandler([&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QTest::mouseClick(button(window, "列印"), Qt::LeftButton);
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page>"), 1);
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(QStringLiteral(" | ")).toStdString();
    printed.close();
    // Printed to that file again: asked first, and 否 leaves it as it was.
    QFile::resize(pdf, 10);
    SetPrinterChoiceHandler([&pdf, calls = 0](QPrinter& printer) mutable {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return ++calls == 1;
    });
    QTest::mouseClick(button(window, "列印"), Qt::LeftButton);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(QString::fromUtf8("檔案已存在，是否取代？")));
    EXPECT_EQ(QFileInfo(pdf).size(), 10);
    messages.clear();

    // Esc closes the window; F6 on a stock without amounts opens it empty.
    QTest::keyClick(chart, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return chartWindow() == nullptr; }));
    stock->runKey(QStringLiteral("first"));
    ASSERT_EQ(stock->currentKey(), "1101");
    QApplication::setActiveWindow(stock);
    QTest::keyClick(stock, Qt::Key_F6);
    window = chartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("法人動向 - 1101 台泥"));
    EXPECT_EQ(selection(window), NoAmountsText());
    EXPECT_FALSE(button(window, "匯出圖片")->isEnabled());
    EXPECT_FALSE(button(window, "列印")->isEnabled());
    EXPECT_EQ(files.shown().size(), 3);
}

TEST_F(AmountHistoryWindowTest, TheRangeBoxesNarrowTheChartAndRefuseBadDates)
{
    AmountHistoryWindow* window = AmountHistoryWindow::Open(nullptr, QStringLiteral("2330"));
    ASSERT_NE(window, nullptr);
    QLineEdit* from = box(window, "起始日期");
    QLineEdit* to = box(window, "結束日期");
    from->setText(QStringLiteral("1000118"));
    to->setText(QStringLiteral("1000119"));
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(window->chart()->history().days.size(), 2);
    EXPECT_TRUE(selection(window).startsWith("100/01/19"));

    to->setText(QStringLiteral("1000132"));
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「結束日期」輸入錯誤!")});
    EXPECT_TRUE(to->hasFocus() || !window->isActiveWindow());

    from->setText(QStringLiteral("1000122"));
    to->setText(QStringLiteral("1000125"));
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(window->chart()->history().days.isEmpty());
    EXPECT_EQ(selection(window), NoAmountsText());
    EXPECT_FALSE(button(window, "匯出圖片")->isEnabled());

    from->setText(QStringLiteral("1000125"));
    to->setText(QStringLiteral("1000117"));
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("錯誤"));
}

// 1000124 holds lists typed by hand: 2330 on its 賣超 list, no amounts.
TEST_F(AmountHistoryWindowTest, AHandTypedDayKeepsItsMarkerAndTheQueryHandsTheKeysToTheChart)
{
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000124', '一')"));
        c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (1, '2330', '1000124')"));
    }
    AmountHistoryWindow* window = AmountHistoryWindow::Open(nullptr, QStringLiteral("2330"));
    ASSERT_NE(window, nullptr);
    QApplication::setActiveWindow(window);
    box(window, "結束日期")->setText(QStringLiteral("1000124"));
    box(window, "結束日期")->setFocus();
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    AmountChartView* chart = window->chart();
    ASSERT_EQ(chart->history().days.size(), 6);
    EXPECT_TRUE(chart->history().days.last().onSellList);
    EXPECT_EQ(chart->model().markers.last().day, 5);
    EXPECT_TRUE(chart->model().bars.last().isEmpty());
    EXPECT_TRUE(chart->hasFocus());

    // PgUp/PgDn go from one date under the axis to the next.
    const QVector<int> labelled = chart->model().labelledDays;
    ASSERT_GE(labelled.size(), 2);
    const int page = labelled.at(1) - labelled.at(0);
    ASSERT_LT(page, 5);
    QTest::keyClick(chart, Qt::Key_PageUp);
    EXPECT_EQ(chart->selectedDay(), 5 - page);
    QTest::keyClick(chart, Qt::Key_PageDown);
    EXPECT_EQ(chart->selectedDay(), 5);
}

// Five years of dates are a bar a month, a year and a half a bar a week.
TEST_F(AmountHistoryWindowTest, ALongRangeDrawsABarAWeekOrAMonthAndSaysSo)
{
    {
        db::Connection c(gConnectionString);
        db::Transaction writing(c);
        QDate date(2012, 1, 2);
        for (int i = 0; i < 1300; date = date.addDays(1)) {
            if (date.dayOfWeek() > 5)
                continue;
            const QString day = RocDateText(date);
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {day});
            c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, '2330', 1000, 0, 0, 1000)"), {day});
            ++i;
        }
        writing.commit();
    }
    AmountHistoryWindow* window = AmountHistoryWindow::Open(nullptr, QStringLiteral("2330"));
    ASSERT_NE(window, nullptr);
    box(window, "起始日期")->setText(QStringLiteral("1010101"));
    box(window, "結束日期")->setText(QStringLiteral("1020630"));
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(window->chart()->history().period, BarPeriod::Week);
    EXPECT_TRUE(AmountChartTitle(window->chart()->history()).contains(QString::fromUtf8("每週一根")));
    EXPECT_EQ(window->chart()->history().days.first().parts[0], 5000);

    box(window, "結束日期")->clear();
    QTest::mouseClick(button(window, "查詢"), Qt::LeftButton);
    EXPECT_EQ(window->chart()->history().period, BarPeriod::Month);
    EXPECT_TRUE(AmountChartTitle(window->chart()->history()).contains(QString::fromUtf8("每月一根")));
}

TEST_F(AmountHistoryWindowTest, AListRowOnTheEntryScreenChartsItsStock)
{
    auto* entry = new frm買賣超輸入作業;
    entry->show();
    QApplication::setActiveWindow(entry);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !entry->mode().isEmpty(); }));
    ASSERT_EQ(entry->buySheet()->cellText(1, EntrySheet::kCodeColumn), "2330");

    EntrySheet* buys = entry->buySheet();
    const QRect name = buys->visualRect(buys->model()->index(0, EntrySheet::kNameColumn));
    // A press, then the double click, as the mouse delivers them.
    QTest::mouseClick(buys->viewport(), Qt::LeftButton, {}, name.center());
    QTest::mouseDClick(buys->viewport(), Qt::LeftButton, {}, name.center());
    AmountHistoryWindow* window = chartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->chart()->history().code, "2330");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EntrySheet* sells = entry->sellSheet();
    QApplication::setActiveWindow(entry);
    sells->setFocus();
    sells->setCurrentCell(0, EntrySheet::kCodeColumn);
    QTest::keyClick(sells, Qt::Key_F6);
    window = chartWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("法人動向 - 2317"));
    EXPECT_EQ(window->chart()->history().days.size(), 5);
    EXPECT_TRUE(window->chart()->history().days.last().onSellList);
    EXPECT_EQ(messages.count(), 0) << messages.texts().join(QStringLiteral(" | ")).toStdString();
}

TEST_F(AmountHistoryWindowTest, ADatabaseFailureShowsTheEnginesReasonAndOpensNothing)
{
    openStockScreen();
    {
        db::Connection c(gConnectionString);
        c.execute(UseTestServer() ? QStringLiteral("DROP TABLE 法人買賣超 CASCADE") : QStringLiteral("DROP TABLE 法人買賣超"));
    }
    QTest::mouseClick(button(stock, "法人動向"), Qt::LeftButton);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("處理資料錯誤"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.last().text.contains(QString::fromUtf8("法人買賣超"))) << messages.last().text.toStdString();
    EXPECT_EQ(chartWindow(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
