#include "core/stats/ReportCsv.h"
#include "gui/stats/ReportPreview.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"
#include "gui/uikit/PrinterChoice.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

// The preview's exports and the print to a file write what the user chose,
// and never over a file without asking.
namespace {

const QString kReplace = QString::fromUtf8("檔案已存在，是否取代？");
const QString kPdfType = QString::fromUtf8("PDF 檔案 (*.pdf)");
const QString kCsvType = QString::fromUtf8("CSV 檔案 (*.csv)");
const QString kExcelType = QString::fromUtf8("Excel 活頁簿 (*.xlsx)");

PaginatedReport TwoPages()
{
    QVector<ReportRow> rows;
    for (int i = 0; i < 60; ++i)
        rows << ReportRow{{"股號", QString::number(1000 + i)}, {"筆數", "2"}};
    Report report(CountReportLayout(true), rows);
    return report.paginate();
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ReportExportTest : public ::testing::Test {
protected:
    ReportExportTest() : preview(TwoPages()) {}
    ~ReportExportTest() override
    {
        SetPrinterChoiceHandler(nullptr);
        CloseAllWindows();
    }
    void trigger(const char* name) { preview.findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QStringList filesThere() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    ReportPreview preview;
};

// 匯出... (Ctrl+E): a name given without a suffix is written as the type
// chosen in the dialog, with that type's suffix.
TEST_F(ReportExportTest, ANameWithoutSuffixIsWrittenAsTheTypeChosen)
{
    files.chooseNext(path("book"), kExcelType);
    trigger("export");
    EXPECT_TRUE(Contents(path("book.xlsx")).startsWith("PK"));
    files.chooseNext(path("lines"), kCsvType);
    trigger("export");
    EXPECT_EQ(Contents(path("lines.csv")), ReportCsv(TwoPages()));
    files.chooseNext(path("pages"), kPdfType);
    trigger("export");
    EXPECT_TRUE(Contents(path("pages.pdf")).startsWith("%PDF"));
    // A name whose dots are no file type's suffix is still a name.
    files.chooseNext(path("買超 115.12.08"), kExcelType);
    trigger("export");
    EXPECT_TRUE(Contents(path("買超 115.12.08.xlsx")).startsWith("PK"));
    EXPECT_EQ(filesThere(), (QStringList{"book.xlsx", "lines.csv", "pages.pdf", QString::fromUtf8("買超 115.12.08.xlsx")}));
    EXPECT_EQ(messages.count(), 0) << messages.texts().join('|').toStdString();

    // The suffix typed says the type, whatever type was chosen.
    files.chooseNext(path("typed.csv"), kExcelType);
    trigger("export");
    EXPECT_EQ(Contents(path("typed.csv")), ReportCsv(TwoPages()));
}

// Every export asks before it replaces a file: 否 leaves the file as it was
// and offers the dialog again (cancelled here), 是 replaces it.
TEST_F(ReportExportTest, EveryExportAsksBeforeReplacingAFile)
{
    struct Case {
        const char* action;
        const char* typed;      // as given in the dialog
        const char* written;    // the file that exists
        QString type;
        QByteArray magic;
    };
    const Case cases[] = {
        {"export", "book.xlsx", "book.xlsx", kExcelType, "PK"},
        {"export", "book", "book.xlsx", kExcelType, "PK"},
        {"export", "lines", "lines.csv", kCsvType, ""},
        {"export", "pages", "pages.pdf", QString(), "%PDF"},
        {"exportPdf", "report.pdf", "report.pdf", QString(), "%PDF"},
        {"exportPdf", "report", "report.pdf", QString(), "%PDF"},
        {"exportCsv", "list.csv", "list.csv", QString(), ""},
        {"exportCsv", "list", "list.csv", QString(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " " + c.typed);
        Write(path(c.written), "earlier");
        messages.clear();
        const qsizetype shown = files.shown().size();
        files.chooseNext(path(c.typed), c.type);
        trigger(c.action);
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.startsWith(kReplace)) << messages.last().text.toStdString();
        EXPECT_TRUE(messages.last().text.endsWith(QDir::toNativeSeparators(path(c.written))));
        EXPECT_EQ(messages.last().buttons, MsgButtons::YesNoDefaultNo);
        EXPECT_EQ(Contents(path(c.written)), "earlier");
        // 否 offers the dialog again, on the same name.
        ASSERT_EQ(files.shown().size(), shown + 2);
        EXPECT_EQ(files.shown().last().directory, path(c.written));

        messages.clear();
        messages.answerNext(MsgAnswer::Yes);
        files.chooseNext(path(c.typed), c.type);
        trigger(c.action);
        EXPECT_EQ(messages.count(), 1);
        const QByteArray now = Contents(path(c.written));
        EXPECT_NE(now, "earlier");
        EXPECT_TRUE(now.startsWith(c.magic));
        QFile::remove(path(c.written));
        EXPECT_TRUE(filesThere().isEmpty()) << filesThere().join('|').toStdString();
    }
}

// Printing to a file (the print dialog's "Print to File (PDF)"): the same
// question, about the file the PDF goes to; a name without a suffix gets .pdf.
TEST_F(ReportExportTest, PrintingToAFileAsksBeforeReplacingIt)
{
    for (const char* typed : {"printed.pdf", "printed"}) {
        SCOPED_TRACE(typed);
        Write(path("printed.pdf"), "earlier");
        int asked = 0;
        const QString name = path(typed);
        SetPrinterChoiceHandler([&asked, name](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(name);
            return ++asked == 1;   // 否 shows the dialog again; cancelled then
        });
        messages.clear();
        trigger("print");
        ASSERT_EQ(messages.count(), 1);
        EXPECT_TRUE(messages.last().text.startsWith(kReplace));
        EXPECT_EQ(asked, 2);
        EXPECT_EQ(Contents(path("printed.pdf")), "earlier");

        asked = 0;
        messages.clear();
        messages.answerNext(MsgAnswer::Yes);
        trigger("print");
        EXPECT_EQ(messages.texts().size(), 1);
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(Contents(path("printed.pdf")).startsWith("%PDF"));
        EXPECT_EQ(filesThere(), QStringList{"printed.pdf"});
        QFile::remove(path("printed.pdf"));
    }
}

// The dialog a user sees: Qt's own save dialog, the name typed without a
// suffix and Excel chosen; the dialog asks nothing itself, the program asks
// once about the file the name stands for.
TEST_F(ReportExportTest, TheRealDialogWritesTheTypeChosenAndAsksOnce)
{
    SetFileDialogHandler(nullptr);
    Write(path("book.xlsx"), "earlier");
    // True when the dialog asked a question of its own (answered 否, and the
    // dialog then cancelled).
    const auto saveAs = [this](const QString& typed, const QString& type) {
        WhenModalOpens([typed, type](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->selectNameFilter(type);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(typed);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        bool dialogAsked = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&dialogAsked] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                dialogAsked = true;
                box->reject();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && dialogAsked) {
                dialog->reject();
            }
        });
        watch.start(20);
        trigger("export");
        watch.stop();
        return dialogAsked;
    };
    messages.answerNext(MsgAnswer::Yes);
    EXPECT_FALSE(saveAs(path("book"), kExcelType));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.last().text.startsWith(kReplace));
    EXPECT_TRUE(Contents(path("book.xlsx")).startsWith("PK"));

    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    EXPECT_FALSE(saveAs(path("book.xlsx"), kExcelType));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_FALSE(saveAs(path("lines"), kCsvType));
    EXPECT_EQ(Contents(path("lines.csv")), ReportCsv(TwoPages()));
    EXPECT_EQ(filesThere(), (QStringList{"book.xlsx", "lines.csv"}));
}

// The print dialog a user sees, printing to a file: the dialog asks about
// the name as typed, the program about the file written when that differs,
// never both about one file.
TEST_F(ReportExportTest, TheRealPrintDialogAndTheProgramAskOnceAboutTheFileWritten)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows shows its own print dialog";
#endif
    Write(path("printed.pdf"), "earlier");
    const auto printTo = [this](const QString& typed) {
        WhenModalOpens([typed](QWidget* modal) {
            auto* printers = modal->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
            ASSERT_NE(printers, nullptr);
            ASSERT_NE(name, nullptr);
            printers->setCurrentIndex(printers->count() - 1);   // Print to File (PDF)
            name->setText(typed);
            modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        int dialogAsked = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&dialogAsked] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++dialogAsked;
                box->button(QMessageBox::Yes)->click();
            }
        });
        watch.start(20);
        trigger("print");
        watch.stop();
        return dialogAsked;
    };
    messages.answerNext(MsgAnswer::Yes);
    EXPECT_EQ(printTo(path("printed")), 0);
    EXPECT_EQ(messages.count(), 1);
    EXPECT_TRUE(Contents(path("printed.pdf")).startsWith("%PDF"));

    messages.clear();
    Write(path("printed.pdf"), "earlier");
    EXPECT_EQ(printTo(path("printed.pdf")), 1);
    EXPECT_EQ(messages.count(), 0) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(Contents(path("printed.pdf")).startsWith("%PDF"));
    EXPECT_EQ(filesThere(), QStringList{"printed.pdf"});
}

} // namespace
