#include "gui/stats/StreakScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/stats/StreakStatistics.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kDigitsKind = 1;
constexpr int kDefaultDays = 3;
constexpr int kFewestDays = 2;

QString Caption(bool netBuy)
{
    return netBuy ? QStringLiteral("連續買超統計表") : QStringLiteral("連續賣超統計表");
}
}

StreakScreen::StreakScreen(bool netBuy) : StatScreenFrame(Caption(netBuy)), m_netBuy(netBuy)
{
    m_base = makeDateBox(QStringLiteral("txt基準日期"));
    auto* baseLabel = new QLabel(QStringLiteral("基準日期:"), this);
    baseLabel->setObjectName(QStringLiteral("lbl基準日期"));
    baseLabel->setBuddy(m_base);
    m_days = new QLineEdit(this);
    m_days->setObjectName(QStringLiteral("txt天數"));
    m_days->setMaxLength(3);
    m_days->setFixedWidth(60);
    InstallKeyFilter(m_days, kDigitsKind);
    auto* daysLabel = new QLabel(QStringLiteral("連續天數:"), this);
    daysLabel->setObjectName(QStringLiteral("lbl天數"));
    daysLabel->setBuddy(m_days);

    QGridLayout* grid = conditions();
    grid->addWidget(baseLabel, 0, 0);
    grid->addWidget(m_base, 0, 1);
    grid->addWidget(daysLabel, 1, 0);
    auto* days = new QHBoxLayout;
    days->addWidget(m_days);
    days->addWidget(new QLabel(QStringLiteral("天以上"), this));
    days->addStretch();
    grid->addLayout(days, 1, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    finishLayout({m_base, m_days});
}

void StreakScreen::setDefaultDates()
{
    m_days->setText(QString::number(kDefaultDays));
    try {
        db::Connection connection(gConnectionString);
        m_base->setText(LastTradingDate(connection));
    } catch (const db::DbError& error) {
        ShowError(db::ErrorMessage(error), QStringLiteral("處理資料錯誤"));
    }
}

void StreakScreen::run(bool preview)
{
    if (!checkRequiredDateBox(m_base, QStringLiteral("基準日期")))
        return;
    const int days = m_days->text().trimmed().toInt();
    if (days < kFewestDays) {
        ShowMessage(QStringLiteral("「連續天數」至少為 %1 天!").arg(kFewestDays), QStringLiteral("錯誤"),
                    MsgIcon::Warning);
        m_days->setFocus();
        SelectAllText(m_days);
        return;
    }
    const StreakQuery query{m_netBuy, m_base->text().trimmed(), days};
    RunStatReport(
        preview, [&](db::Connection& connection) { return RunStreakStatistic(connection, query); },
        [&](QVector<ReportRow> rows) {
            Report report(StreakReportLayout(query.netBuy), std::move(rows));
            SetStandardHeading(report, QString(), QString(), query.base);
            report.setHeading(ReportSource::kMinDays, QStringLiteral("%1 天以上").arg(query.minDays));
            return report.paginate();
        },
        QStringLiteral("處理資料錯誤"));
}

frm連續買超統計表::frm連續買超統計表() : StreakScreen(true)
{
    setObjectName(QStringLiteral("frm連續買超統計表"));
}

frm連續賣超統計表::frm連續賣超統計表() : StreakScreen(false)
{
    setObjectName(QStringLiteral("frm連續賣超統計表"));
}
