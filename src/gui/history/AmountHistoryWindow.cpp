#include "gui/history/AmountHistoryWindow.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/history/AmountChartPainter.h"
#include "core/history/AmountHistory.h"
#include "core/text/RocDate.h"
#include "gui/history/AmountChartView.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FileDialog.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/PrinterChoice.h"
#include "gui/uikit/PrinterIcon.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDateKind = 1;
const QString kReadFailureTitle = QStringLiteral("處理資料錯誤");
const QString kExportTitle = QStringLiteral("匯出圖片");
const QString kPrintTitle = QStringLiteral("列印");

QLineEdit* DateBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(7);
    box->setFixedWidth(100);
    InstallKeyFilter(box, kDateKind);
    return box;
}

QPushButton* Button(QWidget* parent, const QString& caption, const QString& name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

AmountHistoryWindow* AmountHistoryWindow::Open(QWidget* parent, const QString& code)
{
    auto* window = new AmountHistoryWindow(parent, code);
    if (!window->load(QString(), QString())) {
        delete window;
        return nullptr;
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->m_chart->setFocus();
    return window;
}

AmountHistoryWindow::AmountHistoryWindow(QWidget* parent, const QString& code)
    : QWidget(parent, Qt::Window), m_code(code.trimmed())
{
    setObjectName(QStringLiteral("frm法人動向"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* fromLabel = new QLabel(QStringLiteral("起始日期:"), this);
    fromLabel->setObjectName(QStringLiteral("lbl起始日期"));
    m_from = DateBox(this, QStringLiteral("txt起始日期"));
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("結束日期:"), this);
    toLabel->setObjectName(QStringLiteral("lbl結束日期"));
    m_to = DateBox(this, QStringLiteral("txt結束日期"));
    toLabel->setBuddy(m_to);
    QPushButton* query = Button(this, QStringLiteral("查詢"), QStringLiteral("cmd查詢"));
    query->setToolTip(QStringLiteral("顯示這段期間的法人買賣超"));
    m_stacked = new QCheckBox(QStringLiteral("堆疊顯示"), this);
    m_stacked->setObjectName(QStringLiteral("chk堆疊顯示"));
    m_stacked->setToolTip(QStringLiteral("外資、投信、自營商疊成一根，或並排成三根"));
    m_stacked->setChecked(true);
    m_export = Button(this, kExportTitle, QStringLiteral("cmd匯出圖片"));
    m_print = Button(this, kPrintTitle, QStringLiteral("cmd列印"));
    m_print->setIcon(PrinterIcon());
    QPushButton* close = Button(this, QStringLiteral("離開"), QStringLiteral("cmd離開"));

    m_chart = new AmountChartView(this);
    m_chart->setObjectName(QStringLiteral("pic法人動向"));
    m_selection = new QLabel(this);
    m_selection->setObjectName(QStringLiteral("lbl選取日期"));
    m_selection->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbl狀態"));

    auto* conditions = new QHBoxLayout;
    conditions->addWidget(fromLabel);
    conditions->addWidget(m_from);
    conditions->addSpacing(8);
    conditions->addWidget(toLabel);
    conditions->addWidget(m_to);
    conditions->addWidget(query);
    conditions->addSpacing(12);
    conditions->addWidget(m_stacked);
    conditions->addStretch();
    conditions->addWidget(m_export);
    conditions->addWidget(m_print);
    conditions->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(conditions);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_selection);
    layout->addWidget(m_status);
    QList<QWidget*> order{m_from, m_to, query, m_stacked, m_chart, m_export, m_print, close};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    connect(query, &QPushButton::clicked, this, [this] { requery(); });
    connect(m_stacked, &QCheckBox::toggled, this, [this](bool stacked) {
        m_chart->setBarLayout(stacked ? BarLayout::Stacked : BarLayout::SideBySide);
    });
    connect(m_chart, &AmountChartView::selectionChanged, this, [this] { showSelection(); });
    connect(m_export, &QPushButton::clicked, this, [this] { exportPicture(); });
    connect(m_print, &QPushButton::clicked, this, [this] { print(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    for (QLineEdit* box : {m_from, m_to})
        connect(box, &QLineEdit::editingFinished, box, [box] { PadDateField(box, 0); });

    InstallScreenConventions(this);
    resize(1060, 620);
    CenterForm(this);
}

bool AmountHistoryWindow::load(const QString& from, const QString& to)
{
    AmountHistory history;
    {
        BusyCursor busy;
        try {
            db::Connection connection(gConnectionString);
            history = LoadAmountHistory(connection, m_code, from, to);
        } catch (const db::DbError& failure) {
            busy.release();
            ShowError(db::ErrorMessage(failure), kReadFailureTitle);
            return false;
        }
    }
    m_from->setText(history.from);
    m_to->setText(history.to);
    setWindowTitle(QStringLiteral("法人動向 - %1").arg(
        (history.code + QLatin1Char(' ') + history.name).trimmed()));
    const bool any = !history.days.isEmpty();
    m_chart->setHistory(BarsForReading(std::move(history)));
    m_export->setEnabled(any);
    m_print->setEnabled(any);
    m_status->clear();
    showSelection();
    return true;
}

bool AmountHistoryWindow::checkDateBox(QLineEdit* box, const QString& what)
{
    PadDateField(box, 0);
    if (CheckRocDate(box->text().trimmed()) != 9)
        return true;
    ShowMessage(QStringLiteral("「%1」輸入錯誤!").arg(what), QStringLiteral("錯誤"), MsgIcon::Warning);
    box->setFocus();
    SelectAllText(box);
    return false;
}

void AmountHistoryWindow::requery()
{
    if (!checkDateBox(m_from, QStringLiteral("起始日期")) || !checkDateBox(m_to, QStringLiteral("結束日期")))
        return;
    const QString from = m_from->text().trimmed();
    const QString to = m_to->text().trimmed();
    if (!from.isEmpty() && !to.isEmpty() && from > to) {
        ShowMessage(QStringLiteral("「起始日期」不可晚於「結束日期」!"), QStringLiteral("錯誤"), MsgIcon::Warning);
        m_from->setFocus();
        SelectAllText(m_from);
        return;
    }
    if (load(from, to))
        m_chart->setFocus();
}

void AmountHistoryWindow::showSelection()
{
    m_selection->setText(m_chart->selectionText());
}

bool AmountHistoryWindow::haveAmounts(const QString& title)
{
    if (!m_chart->history().days.isEmpty())
        return true;
    ShowMessage(NoAmountsText(), title, MsgIcon::Information);
    return false;
}

void AmountHistoryWindow::exportPicture()
{
    if (!haveAmounts(kExportTitle))
        return;
    const AmountHistory& history = m_chart->history();
    const QString suggested =
        QStringLiteral("%1 法人買賣超 %2-%3.png").arg(history.code, history.from, history.to);
    // With its .png, and asked about before it replaces a file.
    const QString path = GetSaveFileName(this, kExportTitle, QDir::home().filePath(suggested), QStringLiteral("PNG 圖片 (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    {
        BusyCursor busy;
        if (!WriteAmountChartPng(history, m_chart->barLayout(), path, &error)) {
            busy.release();
            ShowError(error, QStringLiteral("匯出錯誤"));
            return;
        }
    }
    m_status->setText(QStringLiteral("已匯出至 %1").arg(QDir::toNativeSeparators(path)));
}

void AmountHistoryWindow::print()
{
    if (!haveAmounts(kPrintTitle))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
    if (!ChoosePrinter(printer, QStringLiteral("列印 %1").arg(windowTitle()), this))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowError(QStringLiteral("無法開始列印到「%1」。").arg(printer.printerName()), QStringLiteral("印表錯誤"));
        return;
    }
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    // The painter starts at the margins' corner.
    const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PaintAmountChart(painter, page, m_chart->history(), m_chart->barLayout());
    if (!painter.end())
        ShowError(QStringLiteral("列印到「%1」時發生錯誤。").arg(printer.printerName()), QStringLiteral("印表錯誤"));
}

void AmountHistoryWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
