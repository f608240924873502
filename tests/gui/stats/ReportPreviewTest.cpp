#include "core/stats/ReportCsv.h"
#include "gui/stats/ReportPageView.h"
#include "gui/stats/ReportPreview.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QDir>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

PaginatedReport ThreePages()
{
    QVector<ReportRow> rows;
    for (int i = 0; i < 100; ++i)
        rows << ReportRow{{"股號", QString::number(1000 + i)}, {"筆數", "2"}};
    Report report(CountReportLayout(true), rows);
    return report.paginate();
}

TEST(ReportPreview, ShowsEveryPageAndNavigatesWithThePageKeys)
{
    ReportPreview preview(ThreePages());
    preview.show();
    EXPECT_EQ(preview.pageCount(), 3);
    EXPECT_EQ(preview.windowTitle(), QString::fromUtf8("預覽列印 - 買超統計表"));
    EXPECT_TRUE(preview.isModal());
    EXPECT_TRUE(Child<QLabel>(&preview, "pageCount")->text().contains("3"));
    EXPECT_LE(preview.frameGeometry().height(), preview.screen()->availableGeometry().height());

    QApplication::setActiveWindow(&preview);
    QWidget* pages = Child<QWidget>(&preview, "previewPages");
    pages->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
        return preview.currentPage();
    };
    EXPECT_EQ(press(Qt::Key_End), 3);
    EXPECT_EQ(press(Qt::Key_PageDown), 3);
    EXPECT_EQ(press(Qt::Key_PageUp), 2);
    EXPECT_EQ(press(Qt::Key_Home), 1);
    EXPECT_EQ(press(Qt::Key_PageUp), 1);
    EXPECT_EQ(press(Qt::Key_PageDown), 2);
    EXPECT_EQ(press(Qt::Key_End, Qt::ControlModifier), 3);
    EXPECT_EQ(press(Qt::Key_Home, Qt::ControlModifier), 1);
}

TEST(ReportPreview, ZoomKeepsThePageInSightAndFittingFollowsTheView)
{
    ReportPreview preview(ThreePages());
    preview.show();
    auto* view = preview.findChild<ReportPageView*>("previewPages");
    ASSERT_NE(view, nullptr);
    const int room = view->viewport()->width();
    EXPECT_LE(view->pageSize().width(), room);
    EXPECT_GT(view->pageSize().width(), room * 9 / 10);

    preview.goToPage(2);
    const QSize fitted = view->pageSize();
    preview.findChild<QAction*>("zoomIn")->trigger();
    EXPECT_GT(view->pageSize().width(), fitted.width());
    EXPECT_EQ(preview.currentPage(), 2);
    preview.findChild<QAction*>("fitPage")->trigger();
    EXPECT_LE(view->pageSize().height(), view->viewport()->height());
    EXPECT_EQ(preview.currentPage(), 2);
    EXPECT_EQ(Child<QSpinBox>(&preview, "pageNumber")->value(), 2);

    // The page in sight is drawn: its text darkens part of the white paper.
    const QImage shown = view->viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            dark += qGray(shown.pixel(x, y)) < 80 ? 1 : 0;
    EXPECT_GT(dark, 200);
}

TEST(ReportPreview, ExportsThePagesToPdf)
{
    QTemporaryDir dir;
    ScriptedFileDialogs files;
    ScriptedMessages messages;
    files.chooseNext(dir.filePath("out.pdf"));
    ReportPreview preview(ThreePages());
    preview.findChild<QAction*>("exportPdf")->trigger();
    ASSERT_EQ(files.shown().size(), 1);
    EXPECT_TRUE(files.shown()[0].save);
    QFile pdf(dir.filePath("out.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 3);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(Child<QStatusBar>(&preview, "previewStatus")->currentMessage().contains(QDir::toNativeSeparators(dir.filePath("out.pdf"))));
}

TEST(ReportPreview, ACancelledExportWritesNothing)
{
    ScriptedFileDialogs files;
    ReportPreview preview(ThreePages());
    preview.findChild<QAction*>("exportPdf")->trigger();
    EXPECT_EQ(files.shown().size(), 1);
}

} // namespace

namespace {

TEST(ReportPreview, ExportsTheLinesAsCsvUnderTheReportsName)
{
    QTemporaryDir dir;
    ScriptedFileDialogs files;
    ScriptedMessages messages;
    files.chooseNext(dir.filePath("out.csv"));
    ReportPreview preview(ThreePages());
    preview.findChild<QAction*>("exportCsv")->trigger();
    ASSERT_EQ(files.shown().size(), 1);
    EXPECT_TRUE(files.shown()[0].directory.endsWith(QString::fromUtf8("/買超統計表.csv")));
    QFile csv(dir.filePath("out.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), ReportCsv(ThreePages()));
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(Child<QStatusBar>(&preview, "previewStatus")->currentMessage().contains(QDir::toNativeSeparators(dir.filePath("out.csv"))));
}

} // namespace

namespace {

// One command from the keyboard exports to any of the three kinds; the
// name's suffix decides, and a name without one takes the type chosen in the
// dialog (here the one it opened on, the kind offered first).
TEST(ReportPreview, CtrlEExportsToPdfCsvOrExcel)
{
    QTemporaryDir dir;
    ScriptedFileDialogs files;
    ScriptedMessages messages;
    ReportPreview preview(ThreePages());
    preview.show();
    QApplication::setActiveWindow(&preview);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    files.chooseNext(dir.filePath("out.xlsx"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(files.shown().size(), 1);
    EXPECT_EQ(files.shown()[0].filter, QString::fromUtf8("PDF 檔案 (*.pdf);;CSV 檔案 (*.csv);;Excel 活頁簿 (*.xlsx)"));
    QFile book(dir.filePath("out.xlsx"));
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_TRUE(book.read(2) == "PK");

    files.chooseNext(dir.filePath("lines"));
    preview.findChild<QAction*>("exportCsv")->trigger();
    EXPECT_TRUE(files.shown().last().filter.startsWith(QString::fromUtf8("CSV 檔案")));
    QFile csv(dir.filePath("lines.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), ReportCsv(ThreePages()));
    EXPECT_EQ(messages.count(), 0) << messages.texts().join('|').toStdString();
}

} // namespace
