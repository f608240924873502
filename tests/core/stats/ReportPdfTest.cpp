#include "core/stats/CountStatistics.h"
#include "core/stats/ReportPainter.h"
#include "core/support/FileSizeLimit.h"
#include "core/text/Clock.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString RunTool(const QString& tool, const QStringList& args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

TEST(ReportPdf, TextCanBeFoundAndFontsAreEmbedded)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdffonts = QStandardPaths::findExecutable(QStringLiteral("pdffonts"));
    if (pdftotext.isEmpty() || pdffonts.isEmpty())
        GTEST_SKIP() << "poppler-utils not installed";
    SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0)));
    QVector<ReportRow> rows;
    for (int i = 0; i < 60; ++i)
        rows << ReportRow{{"股號", QString::number(2300 + i)}, {"名稱", QStringLiteral("台積電")}, {"筆數", "7"},
                          {"其他筆數", i % 2 ? "3" : ""}, {"本益比", "15.20"}};
    Report report(CountReportLayout(true), rows);
    SetStandardHeading(report, "1000103", "1000125", QString());
    const PaginatedReport pages = report.paginate();
    ClearFixedNow();

    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QString error;
    ASSERT_TRUE(WriteReportPdf(pages, path, &error)) << error.toStdString();

    const QString text = RunTool(pdftotext, {"-layout", path, "-"});
    EXPECT_EQ(text.count(QString::fromUtf8("買超統計表")), 2) << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("100/01/03")) << text.left(600).toStdString();
    EXPECT_TRUE(text.contains("2359"));
    EXPECT_TRUE(text.contains("15.20"));
    EXPECT_EQ(text.count(QString::fromUtf8("合").normalized(QString::NormalizationForm_KC)), 1);

    const QString fonts = RunTool(pdffonts, {path});
    const QStringList fontLines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fontLines.isEmpty()) << fonts.toStdString();
    for (const QString& line : fontLines)
        EXPECT_TRUE(line.contains(" yes ")) << line.toStdString();
    EXPECT_TRUE(fonts.contains("UMing") || fonts.contains("Ming")) << fonts.toStdString();

    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString info = RunTool(pdfinfo, {path});
    EXPECT_TRUE(info.contains(QRegularExpression(QString::fromUtf8("Title: +買超統計表\n")))) << info.toStdString();
}

// A full disk: the earlier file of that name stays, and the reason is the system's.
TEST(ReportPdf, AFailedExportKeepsTheEarlierFile)
{
    if (!FileSizeLimit::available())
        GTEST_SKIP() << "no file size limit on this system";
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF earlier");
    earlier.close();
    QVector<ReportRow> rows;
    for (int i = 0; i < 200; ++i)
        rows << ReportRow{{"股號", QString::number(2300 + i)}, {"名稱", QStringLiteral("台積電")}};
    QString error;
    {
        const FileSizeLimit full(4096);
        EXPECT_FALSE(WriteReportPdf(Report(CountReportLayout(true), rows).paginate(), path, &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(error, QStringLiteral("Unknown error"));
    EXPECT_EQ(earlier.size(), 12);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}

} // namespace

namespace {

QImage PaintedText(const QString& text, qreal widthTwips, Qt::Alignment align = Qt::AlignLeft, qreal left = 100)
{
    QImage image(1200, 200, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811);   // 300 dpi
    image.setDotsPerMeterY(11811);
    image.fill(Qt::white);
    ReportPage page;
    page.texts.push_back({text, QRectF(left, 100, widthTwips, 300), align, FontRole::Body});
    QPainter painter(&image);
    PaintReportPage(painter, page);
    return image;
}

// 12 pt characters are 240 twips wide: a box of 850 holds three and a half,
// so two and the mark that the rest was cut.
TEST(ReportPainting, ATextWiderThanItsBoxLosesWholeCharactersAndEndsInAnEllipsis)
{
    const QString name = QString::fromUtf8("台積電股份有限公司");
    EXPECT_EQ(PaintedText(name, 850), PaintedText(name.left(2) + QChar(0x2026), 5000));
    EXPECT_EQ(PaintedText(name.left(3), 850), PaintedText(name.left(3), 5000));
    // A right-aligned value is never cut: a narrow box ending where a wide
    // one ends shows the same.
    EXPECT_EQ(PaintedText(QStringLiteral("100/01/25"), 400, Qt::AlignRight, 1100),
              PaintedText(QStringLiteral("100/01/25"), 1500, Qt::AlignRight, 0));
}

} // namespace

namespace {

int NameWidth(const ReportLayout& layout, const QString& field)
{
    for (const ReportElement& e : layout.detail.elements)
        if (e.kind == ReportElement::Kind::Field && e.text == field)
            return e.width;
    return 0;
}

// The lists printed from the master show its longest names whole.
TEST(ReportPainting, TheStockAndEntryListsShowTenCharacterNamesWhole)
{
    const QString name = QString::fromUtf8("國泰臺灣低波動高股息基");
    ASSERT_EQ(name.size(), 11);
    const QString longest = name.left(10);
    for (const auto& [layout, field] : {std::pair{StockListReportLayout(), QStringLiteral("名稱")},
                                        std::pair{EntryListReportLayout(), QStringLiteral("買超名稱")},
                                        std::pair{EntryListReportLayout(), QStringLiteral("賣超名稱")}}) {
        const int width = NameWidth(layout, field);
        EXPECT_EQ(PaintedText(longest, width), PaintedText(longest, 5000)) << field.toStdString();
        EXPECT_NE(PaintedText(name, width), PaintedText(name, 5000)) << field.toStdString();
    }
}

} // namespace
