#include "gui/stats/StatScreenFrame.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/stats/ReportOutput.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/ExitToolbar.h"
#include "gui/uikit/FirstActivation.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/PrinterIcon.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int kDateKind = 1;
}

int DaysBackToLastWeekday(const QDate& today)
{
    switch (today.dayOfWeek()) {
    case Qt::Sunday:
        return 2;
    case Qt::Monday:
        return 3;
    default:
        return 1;
    }
}

namespace {
const char* const kButtonStyle = R"(
QPushButton { background: #f6f7f9; border: 1px solid #a9b2bd; border-radius: 4px; padding: 4px 12px; }
QPushButton:hover { background: #eef3fa; }
QPushButton:focus { background: #dce9fb; border: 3px solid #1f5fc8; }
QPushButton:pressed { background: #c7dbf6; }
)";
} // namespace

StatScreenFrame::StatScreenFrame(const QString& caption) : QMainWindow(nullptr)
{
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);

    AddExitToolbar(this);

    auto* central = new QWidget(this);
    auto* area = new QGroupBox(QStringLiteral("條件設定"), central);
    area->setObjectName(QStringLiteral("fra條件設定"));
    m_conditions = new QGridLayout(area);
    m_conditions->setHorizontalSpacing(10);
    m_conditions->setVerticalSpacing(14);
    m_conditions->setContentsMargins(20, 18, 20, 18);

    m_print = new QPushButton(QStringLiteral("列印"), central);
    m_print->setObjectName(QStringLiteral("ssc列印"));
    m_print->setIcon(PrinterIcon());
    m_preview = new QPushButton(QStringLiteral("預覽列印"), central);
    m_preview->setObjectName(QStringLiteral("ssc預覽列印"));
    m_close = new QPushButton(QStringLiteral("離　　開"), central);
    m_close->setObjectName(QStringLiteral("ssc回前畫面_列印"));
    // Left to right as Tab and Enter reach them: the preview comes first.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_preview, m_print, m_close}) {
        b->setMinimumSize(110, 34);
        b->setAutoDefault(false);
        // The button Enter presses wears a frame no other button has.
        b->setStyleSheet(QLatin1String(kButtonStyle));
        buttons->addWidget(b);
    }
    connect(m_print, &QPushButton::clicked, this, [this] { run(false); });
    connect(m_preview, &QPushButton::clicked, this, [this] { run(true); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(16);
    layout->addWidget(area);
    layout->addLayout(buttons);
    layout->addStretch();
    setCentralWidget(central);

    auto* date = new QLabel(QStringLiteral("系統日期：%1").arg(TodayRocDateShort()), this);
    date->setObjectName(QStringLiteral("lblSystemDate"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addPermanentWidget(date);
    qApp->installEventFilter(this);
    OnFirstActivation(this, [this] {
        {
            BusyCursor busy;
            setEnabled(false);
            setDefaultDates();
            setEnabled(true);
        }
        firstDateBox()->setFocus();
        SelectAllText(firstDateBox());
    });
}

QLineEdit* StatScreenFrame::makeDateBox(const QString& objectName)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(objectName);
    box->setMaxLength(7);
    box->setFixedWidth(110);
    InstallKeyFilter(box, kDateKind);
    box->installEventFilter(this);
    m_dateBoxes << box;
    return box;
}

void StatScreenFrame::finishLayout(const QList<QWidget*>& inputsInTabOrder)
{
    QList<QWidget*> order = inputsInTabOrder;
    order << m_preview << m_print << m_close;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    InstallScreenConventions(this);
    ClearControls(this);
    adjustSize();
    resize(std::max(width(), 560), height());
    CenterForm(this);
}

bool StatScreenFrame::checkRequiredDateBox(QLineEdit* box, const QString& what)
{
    if (box->text().trimmed().isEmpty()) {
        ShowMessage(QStringLiteral("「%1」不可為空白!").arg(what), QStringLiteral("錯誤"), MsgIcon::Warning);
        box->setFocus();
        return false;
    }
    PadDateField(box, 0);
    return checkDateBox(box, what);
}

bool StatScreenFrame::checkDateBox(QLineEdit* box, const QString& what)
{
    if (CheckRocDate(box->text()) != 9)
        return true;
    ShowMessage(QStringLiteral("「%1」輸入錯誤!").arg(what), QStringLiteral("錯誤"), MsgIcon::Warning);
    box->setFocus();
    return false;
}

bool StatScreenFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (HandleEnterKey(watched, event, this))
        return true;
    if (event->type() == QEvent::FocusOut) {
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && m_dateBoxes.contains(box))
            PadDateField(box, 0);
    }
    return QMainWindow::eventFilter(watched, event);
}

void StatScreenFrame::RunStatReport(bool preview, const std::function<QVector<ReportRow>(db::Connection&)>& query,
                                    const std::function<PaginatedReport(QVector<ReportRow>)>& report,
                                    const QString& queryFailureTitle)
{
    QString failure;
    {
        BusyCursor busy;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QVector<ReportRow> rows;
        try {
            db::Connection connection(gConnectionString);
            rows = query(connection);
        } catch (const db::DbError& error) {
            busy.release();
            ShowError(db::ErrorMessage(error), queryFailureTitle);
            return;
        }
        if (rows.isEmpty()) {
            busy.release();
            ShowMessage(QStringLiteral("查無任何資料!"), QStringLiteral("訊息"), MsgIcon::Warning);
            // The user goes on with the dates, typing at once.
            activateWindow();
            firstDateBox()->setFocus();
            SelectAllText(firstDateBox());
            return;
        }
        const PaginatedReport pages = report(std::move(rows));
        busy.release();
        failure = OutputReport(pages, preview ? ReportDestination::Preview : ReportDestination::Printer, this);
    }
    if (!failure.isEmpty())
        ShowError(failure, QStringLiteral("印表錯誤"));
}
