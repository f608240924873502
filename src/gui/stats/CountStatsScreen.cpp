#include "gui/stats/CountStatsScreen.h"

#include "core/data/Settings.h"
#include "core/stats/CountStatistics.h"
#include "core/stats/ReportParameters.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/uikit/FormHelpers.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

bool StatKindIsNetBuy()
{
    return gStatKind == QStringLiteral("買超統計表");
}

frm買賣超統計表::frm買賣超統計表() : StatScreenFrame(QStringLiteral("買賣超統計表"))
{
    setObjectName(QStringLiteral("frm買賣超統計表"));
    m_dateCaption = new QLabel(this);
    m_dateCaption->setObjectName(QStringLiteral("lbl日期"));
    m_from = makeDateBox(QStringLiteral("txt日期_起"));
    m_to = makeDateBox(QStringLiteral("txt日期_末"));
    m_skipSingle = new QCheckBox(this);
    m_skipSingle->setObjectName(QStringLiteral("chk僅一次不印"));
    m_skipSingle->setChecked(true);

    QGridLayout* grid = conditions();
    grid->addWidget(m_dateCaption, 0, 0);
    grid->addWidget(m_from, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("～"), this), 0, 2);
    grid->addWidget(m_to, 0, 3);
    grid->setColumnStretch(4, 1);
    grid->addWidget(m_skipSingle, 1, 1, 1, 4);
    showKindTexts();
    finishLayout({m_from, m_to, m_skipSingle});
}

void frm買賣超統計表::showKindTexts()
{
    const QString side = StatKindIsNetBuy() ? QStringLiteral("買") : QStringLiteral("賣");
    setWindowTitle(side + QStringLiteral("超統計表"));
    m_dateCaption->setText(side + QStringLiteral("超日期:"));
    m_skipSingle->setText(QStringLiteral("只有一次%1超不印").arg(side));
}

bool frm買賣超統計表::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        showKindTexts();
    return StatScreenFrame::event(event);
}

void frm買賣超統計表::setDefaultDates()
{
    const QString day = RocDateDaysAgo(DaysBackToLastWeekday(Today()));
    m_from->setText(day);
    m_to->setText(day);
}

void frm買賣超統計表::run(bool preview)
{
    PadDateField(m_from, 0);
    PadDateField(m_to, 0);
    if (!checkDateBox(m_from, QStringLiteral("日期")) || !checkDateBox(m_to, QStringLiteral("日期")))
        return;

    gRptDateFrom = m_from->text().trimmed();
    gRptDateTo = m_to->text().trimmed();
    if (gRptDateTo.isEmpty())
        gRptDateTo = kOpenRangeEnd;
    gRptSkipSingle = m_skipSingle->isChecked() ? 1 : 0;
    const CountQuery query{StatKindIsNetBuy(), gRptDateFrom, gRptDateTo, gRptSkipSingle == 1};

    RunStatReport(
        preview, [&](db::Connection& connection) { return RunCountStatistic(connection, query); },
        [&](QVector<ReportRow> rows) {
            Report report(CountReportLayout(query.netBuy), std::move(rows));
            SetStandardHeading(report, gRptDateFrom, gRptDateTo, QString());
            return report.paginate();
        });
}
