#include "gui/stats/ReportPreview.h"

#include "core/stats/ReportCsv.h"
#include "core/stats/ReportPainter.h"
#include "core/stats/ReportXlsx.h"
#include "gui/stats/ReportOutput.h"
#include "gui/stats/ReportPageView.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FileDialog.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/PrinterIcon.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

ReportPreview::ReportPreview(PaginatedReport report, QWidget* parent)
    : QDialog(parent), m_report(std::move(report))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("預覽列印 - %1").arg(m_report.caption()));
    setModal(true);

    m_view = new ReportPageView(m_report, this);
    connect(m_view, &ReportPageView::currentPageChanged, this, &ReportPreview::updatePageInfo);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto standard = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    const auto add = [&](const QIcon& icon, const QString& text, const QString& name, auto slot) {
        QAction* action = bar->addAction(icon, text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    // Page keys of the whole window, as in a document viewer.
    const auto keys = [](QAction* action, QList<QKeySequence> sequences) { action->setShortcuts(sequences); };
    keys(add(standard(QStyle::SP_MediaSkipBackward), QStringLiteral("第一頁"), QStringLiteral("firstPage"), [this] { goToPage(1); }),
         {Qt::Key_Home, Qt::CTRL | Qt::Key_Home});
    keys(add(standard(QStyle::SP_MediaSeekBackward), QStringLiteral("上一頁"), QStringLiteral("previousPage"),
             [this] { goToPage(currentPage() - 1); }),
         {Qt::Key_PageUp});
    m_page = new QSpinBox(bar);
    m_page->setObjectName(QStringLiteral("pageNumber"));
    m_page->setMinimum(1);
    bar->addWidget(m_page);
    m_count = new QLabel(bar);
    m_count->setObjectName(QStringLiteral("pageCount"));
    bar->addWidget(m_count);
    connect(m_page, qOverload<int>(&QSpinBox::valueChanged), this, [this](int page) {
        if (page != currentPage())
            goToPage(page);
    });
    keys(add(standard(QStyle::SP_MediaSeekForward), QStringLiteral("下一頁"), QStringLiteral("nextPage"),
             [this] { goToPage(currentPage() + 1); }),
         {Qt::Key_PageDown});
    keys(add(standard(QStyle::SP_MediaSkipForward), QStringLiteral("最末頁"), QStringLiteral("lastPage"),
             [this] { goToPage(pageCount()); }),
         {Qt::Key_End, Qt::CTRL | Qt::Key_End});
    bar->addSeparator();
    QAction* zoomIn = add(standard(QStyle::SP_ArrowUp), QStringLiteral("放大"), QStringLiteral("zoomIn"), [this] { m_view->zoomIn(); });
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction* zoomOut = add(standard(QStyle::SP_ArrowDown), QStringLiteral("縮小"), QStringLiteral("zoomOut"), [this] { m_view->zoomOut(); });
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    add(standard(QStyle::SP_TitleBarMaxButton), QStringLiteral("整頁"), QStringLiteral("fitPage"), [this] { m_view->fitInView(); });
    add(standard(QStyle::SP_TitleBarShadeButton), QStringLiteral("頁寬"), QStringLiteral("fitWidth"), [this] { m_view->fitToWidth(); });
    bar->addSeparator();
    QAction* print = add(PrinterIcon(), QStringLiteral("列印..."), QStringLiteral("print"), [this] {
        const QString failure = PrintWithDialog(m_report, this);
        if (!failure.isEmpty())
            ShowError(failure, QStringLiteral("印表錯誤"));
    });
    print->setShortcut(QKeySequence::Print);
    QAction* exportAny = add(standard(QStyle::SP_DialogSaveButton), QStringLiteral("匯出..."), QStringLiteral("export"),
                             [this] { exportReport(ExportKind::Pdf); });
    exportAny->setShortcut(Qt::CTRL | Qt::Key_E);
    exportAny->setToolTip(QStringLiteral("匯出成 PDF、CSV 或 Excel 檔 (Ctrl+E)"));
    add(standard(QStyle::SP_FileIcon), QStringLiteral("匯出 PDF..."), QStringLiteral("exportPdf"), [this] { exportPdf(); });
    add(standard(QStyle::SP_FileDialogDetailedView), QStringLiteral("匯出 CSV..."), QStringLiteral("exportCsv"),
        [this] { exportCsv(); });
    bar->addSeparator();
    add(standard(QStyle::SP_DialogCloseButton), QStringLiteral("關閉"), QStringLiteral("closePreview"), [this] { accept(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_view, 1);
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("previewStatus"));
    layout->addWidget(m_status);
    fitToScreen();
    m_view->fitToWidth();
    m_view->setFocus();
    updatePageInfo();
}

int ReportPreview::pageCount() const
{
    return m_view->pageCount();
}

int ReportPreview::currentPage() const
{
    return m_view->currentPage();
}

void ReportPreview::goToPage(int page)
{
    m_view->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    updatePageInfo();
}

void ReportPreview::updatePageInfo()
{
    const QSignalBlocker block(m_page);
    m_page->setMaximum(std::max(1, pageCount()));
    m_page->setValue(currentPage());
    m_count->setText(QStringLiteral(" / 共 %1 頁 ").arg(pageCount()));
}

namespace {

struct ExportFormat {
    ReportPreview::ExportKind kind;
    QString filter;
    QString suffix;
    bool (*write)(const PaginatedReport&, const QString&, QString*);
};

const QVector<ExportFormat>& ExportFormats()
{
    static const QVector<ExportFormat> formats = {
        {ReportPreview::ExportKind::Pdf, QStringLiteral("PDF 檔案 (*.pdf)"), QStringLiteral("pdf"), WriteReportPdf},
        {ReportPreview::ExportKind::Csv, QStringLiteral("CSV 檔案 (*.csv)"), QStringLiteral("csv"), WriteReportCsv},
        {ReportPreview::ExportKind::Xlsx, QStringLiteral("Excel 活頁簿 (*.xlsx)"), QStringLiteral("xlsx"), WriteReportXlsx},
    };
    return formats;
}

} // namespace

void ReportPreview::exportPdf()
{
    exportReport(ExportKind::Pdf);
}

void ReportPreview::exportCsv()
{
    exportReport(ExportKind::Csv);
}

void ReportPreview::exportReport(ExportKind first)
{
    // The kind asked for is offered first; the name's suffix decides, and a
    // name without one is of the type chosen in the dialog.
    QVector<ExportFormat> formats = ExportFormats();
    std::stable_partition(formats.begin(), formats.end(), [first](const ExportFormat& f) { return f.kind == first; });
    QStringList filters;
    for (const ExportFormat& format : formats)
        filters << format.filter;
    const QString suggested = QFileInfo(ReportCsvFileName(m_report)).completeBaseName() + QLatin1Char('.') + formats.first().suffix;
    // The seam gives the name the suffix of the type chosen, and has asked
    // before a file of that name is replaced.
    const QString path = GetSaveFileName(this, QStringLiteral("匯出"), QDir::home().filePath(suggested), filters.join(QStringLiteral(";;")));
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const auto format = std::find_if(formats.begin(), formats.end(), [&suffix](const ExportFormat& f) { return f.suffix == suffix; });
    if (format == formats.end())
        return;
    QString error;
    {
        BusyCursor busy;
        if (!format->write(m_report, path, &error)) {
            busy.release();
            ShowError(error, QStringLiteral("匯出錯誤"));
            return;
        }
    }
    m_status->showMessage(QStringLiteral("已匯出至 %1").arg(QDir::toNativeSeparators(path)));
}

void ReportPreview::fitToScreen()
{
    // A page wants all the height there is; the title bar and the window
    // frame come off what the screen leaves.
    constexpr int kFrameAllowance = 40;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 980, 760);
    resize(std::min(980, area.width()), std::max(200, area.height() - kFrameAllowance));
    move(area.x() + (area.width() - width()) / 2, area.y());
}
