#include "gui/download/HistoryDownloadDialog.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/download/DayFetch.h"
#include "core/download/HistoryRange.h"
#include "core/download/PoliteFetcher.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/download/DownloadProgress.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("下載歷史資料");
constexpr int kDateKind = 1;
// Where an unfinished range is remembered, for the next start.
const QString kRangeFrom = QStringLiteral("download/history_from");
const QString kRangeTo = QStringLiteral("download/history_to");

QSettings Ini()
{
    return QSettings(QDir(gAppFolder).filePath(kIniFileName), QSettings::IniFormat);
}

QLineEdit* DateBox(QWidget* parent, const QString& name, const QString& label)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(label);
    box->setMaxLength(7);
    InstallKeyFilter(box, kDateKind);
    return box;
}

QString Duration(qint64 seconds)
{
    return seconds >= 3600 ? QStringLiteral("%1 小時 %2 分").arg(seconds / 3600).arg(seconds % 3600 / 60)
                           : QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60);
}

} // namespace

HistoryDownloadDialog::HistoryDownloadDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm下載歷史資料"));
    setWindowTitle(kTitle);
    setMinimumSize(620, 460);

    m_from = DateBox(this, QStringLiteral("txt起日"), QStringLiteral("起日"));
    m_to = DateBox(this, QStringLiteral("txt訖日"), QStringLiteral("訖日"));
    m_basis = new QComboBox(this);
    m_basis->setObjectName(QStringLiteral("cbo依據"));
    for (TradeBasis b : {TradeBasis::AllThree, TradeBasis::Foreign, TradeBasis::InvestmentTrust, TradeBasis::Dealers})
        m_basis->addItem(BasisName(b));
    m_top = new QSpinBox(this);
    m_top->setObjectName(QStringLiteral("txt每邊筆數"));
    m_top->setRange(1, 200);
    m_top->setValue(30);

    auto* range = new QHBoxLayout;
    range->addWidget(m_from);
    range->addWidget(new QLabel(QStringLiteral("～"), this));
    range->addWidget(m_to);
    range->addStretch();
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("買賣日期:"), range);
    static_cast<QLabel*>(form->labelForField(range))->setBuddy(m_from);
    form->addRow(QStringLiteral("依據:"), m_basis);
    form->addRow(QStringLiteral("每邊筆數:"), m_top);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("prg進度"));
    m_bar->setFormat(QStringLiteral("%v / %m 天"));
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_step = new QLabel(this);
    m_step->setObjectName(QStringLiteral("lbl步驟"));
    m_step->setWordWrap(true);
    m_left = new QLabel(this);
    m_left->setObjectName(QStringLiteral("lbl剩餘時間"));
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("txt紀錄"));
    m_log->setAccessibleName(QStringLiteral("紀錄"));
    m_log->setReadOnly(true);
    m_log->setTabChangesFocus(true);

    m_start = new QPushButton(QStringLiteral("開始"), this);
    m_start->setObjectName(QStringLiteral("cmd開始"));
    m_start->setDefault(true);
    m_pause = new QPushButton(QStringLiteral("暫停"), this);
    m_pause->setObjectName(QStringLiteral("cmd暫停"));
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(QStringLiteral("cmd取消"));
    m_leave = new QPushButton(QStringLiteral("離開"), this);
    m_leave->setObjectName(QStringLiteral("cmd離開"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_start, m_pause, m_cancel, m_leave})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_bar);
    layout->addWidget(m_step);
    layout->addWidget(m_left);
    layout->addWidget(m_log, 1);
    layout->addLayout(buttons);

    // The keys reach the commands before the record of what was done.
    QWidget* order[] = {m_from, m_to, m_basis, m_top, m_start, m_pause, m_cancel, m_leave, m_log};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(m_start, &QPushButton::clicked, this, &HistoryDownloadDialog::Start);
    connect(m_pause, &QPushButton::clicked, this, [this] {
        m_paused = !m_paused;
        m_pause->setText(m_paused ? QStringLiteral("繼續") : QStringLiteral("暫停"));
        log(m_paused ? QStringLiteral("已暫停：這一天下載完後停下。") : QStringLiteral("繼續下載。"));
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        if (m_fetcher)
            m_fetcher->cancel();
    });
    connect(m_leave, &QPushButton::clicked, this, &QDialog::close);

    // An unfinished range comes back; else the last weekdays not stored, a
    // few months at most: years of them would take days to fetch.
    const QSettings ini = Ini();
    QDate from = DateFromRoc(ini.value(kRangeFrom).toString());
    QDate to = DateFromRoc(ini.value(kRangeTo).toString());
    if (!from.isValid() || !to.isValid()) {
        to = Now().date();
        try {
            db::Connection connection(gConnectionString);
            from = ProposedRangeStart(connection, to, ReadMarketHolidays(gAppFolder).dates);
        } catch (const db::DbError&) {
            from = to.addDays(-30);
        }
    }
    m_from->setText(RocDateText(std::min(from, to)));
    m_to->setText(RocDateText(to));
    setRunning(false);
}

void HistoryDownloadDialog::setRunning(bool running)
{
    m_running = running;
    for (QWidget* w : std::initializer_list<QWidget*>{m_from, m_to, m_basis, m_top, m_start, m_leave})
        w->setEnabled(!running);
    m_pause->setEnabled(running);
    m_cancel->setEnabled(running);
    if (!running) {
        m_paused = false;
        m_pause->setText(QStringLiteral("暫停"));
    }
}

void HistoryDownloadDialog::log(const QString& line)
{
    m_log->appendPlainText(line);
}

void HistoryDownloadDialog::Start()
{
    const QDate from = DateFromRoc(m_from->text().trimmed());
    const QDate to = DateFromRoc(m_to->text().trimmed());
    if (!from.isValid() || !to.isValid() || to < from || to > Now().date()) {
        ShowMessage(QStringLiteral("請輸入正確的起訖日期（7 位數民國日期，起日不晚於訖日，訖日不晚於今天）。"), kTitle,
                    MsgIcon::Information);
        (from.isValid() ? m_to : m_from)->setFocus();
        return;
    }
    const MarketHolidays holidays = ReadMarketHolidays(gAppFolder);
    for (const QString& warning : holidays.warnings)
        log(warning);
    QVector<QDate> days;
    try {
        db::Connection connection(gConnectionString);
        days = MissingWeekdays(connection, from, to, holidays.dates);
    } catch (const db::DbError& failure) {
        ShowError(db::ErrorMessage(failure), kTitle);
        return;
    }
    const DownloadSettings settings = ReadDownloadSettings(gAppFolder);
    if (SharedFetcher(settings).busy()) {
        ShowMessage(kAnotherDownload, kTitle, MsgIcon::Information);
        return;
    }
    if (!days.isEmpty()
        && !AskYesNo(QStringLiteral("下載 %1～%2 尚無資料的週間日：%3（同一網站每次間隔 %4 秒）。\n\n確定開始下載嗎？")
                         .arg(RocDateDisplay(RocDateText(from)), RocDateDisplay(RocDateText(to)),
                              RangeCostText(int(days.size()), settings.intervalSeconds))
                         .arg(settings.intervalSeconds),
                     kTitle))
        return;
    QSettings ini = Ini();
    ini.setValue(kRangeFrom, RocDateText(from));
    ini.setValue(kRangeTo, RocDateText(to));
    ini.sync();
    run(from, to, days, settings);
}

void HistoryDownloadDialog::run(const QDate& from, const QDate& to, const QVector<QDate>& days,
                                const DownloadSettings& settings)
{
    m_fetcher = &SharedFetcher(settings);
    m_cancelled = false;
    setRunning(true);
    m_bar->setRange(0, static_cast<int>(days.size()));
    m_bar->setValue(0);
    m_bar->setTextVisible(true);
    log(QStringLiteral("%1 到 %2 之間有 %3 個週間日尚無資料。")
            .arg(RocDateDisplay(RocDateText(from)), RocDateDisplay(RocDateText(to)))
            .arg(days.size()));
    const DayFetchOptions options{TradeBasis(m_basis->currentIndex()), m_top->value(), false, true};
    bool failed = false;
    for (int i = 0; i < days.size() && !failed && goOn(); ++i) {
        const QString shown = RocDateDisplay(RocDateText(days.at(i)));
        // At the polite pace each remaining day costs two requests.
        m_left->setText(QStringLiteral("第 %1 / %2 天，約剩 %3")
                            .arg(i + 1)
                            .arg(days.size())
                            .arg(Duration(qint64(days.size() - i) * 2 * settings.intervalSeconds)));
        const DayFetchResult result = FetchAndStoreDay(*m_fetcher, settings, gAppFolder, days.at(i), options,
                                                       [this, &shown](const QString& step) {
                                                           m_step->setText(shown + QStringLiteral("　") + step);
                                                       });
        if (result.outcome == DayFetchResult::Cancelled)
            break;
        log(result.outcome == DayFetchResult::NoData ? shown + QStringLiteral("　") + result.message : result.message);
        failed = result.outcome == DayFetchResult::Failed;
        m_bar->setValue(i + 1);
    }
    const bool finished = m_bar->value() == m_bar->maximum();
    m_step->clear();
    m_left->clear();
    if (finished) {
        QSettings ini = Ini();
        ini.remove(kRangeFrom);
        ini.remove(kRangeTo);
        log(QStringLiteral("完成。"));
    } else {
        log(failed ? QStringLiteral("下載中止；修正問題後按「開始」，會從停下的那一天接著下載。")
                   : QStringLiteral("已取消；按「開始」會從停下的那一天接著下載。"));
    }
    m_fetcher = nullptr;
    setRunning(false);
}

bool HistoryDownloadDialog::goOn()
{
    if (m_paused && !m_cancelled) {
        QEventLoop wait;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &wait, [this, &wait] {
            if (!m_paused || m_cancelled)
                wait.quit();
        });
        poll.start(100);
        wait.exec();
    }
    return !m_cancelled;
}

void HistoryDownloadDialog::reject()
{
    // Esc while running cancels; the window stays to show where it stopped.
    if (m_running) {
        m_cancel->click();
        return;
    }
    QDialog::reject();
}

void HistoryDownloadDialog::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        m_cancel->click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
