#include "gui/stats/BaseDateScreen.h"

#include "core/stats/ReportParameters.h"
#include "core/text/Clock.h"
#include "core/text/RocDate.h"
#include "gui/uikit/FormHelpers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

BaseDateScreen::BaseDateScreen(const BaseDateTexts& texts) : StatScreenFrame(texts.caption), m_texts(texts)
{
    m_base = makeDateBox(QStringLiteral("txt基準日期"));
    m_from = makeDateBox(QStringLiteral("txt日期_起"));
    m_to = makeDateBox(QStringLiteral("txt日期_末"));
    auto* baseLabel = new QLabel(texts.baseCaption, this);
    baseLabel->setObjectName(QStringLiteral("lbl基準日期"));
    auto* rangeLabel = new QLabel(texts.rangeCaption, this);
    rangeLabel->setObjectName(QStringLiteral("lbl日期"));

    QGridLayout* grid = conditions();
    grid->addWidget(baseLabel, 0, 0);
    grid->addWidget(m_base, 0, 1);
    grid->addWidget(rangeLabel, 1, 0);
    grid->addWidget(m_from, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("～"), this), 1, 2);
    grid->addWidget(m_to, 1, 3);
    grid->setColumnStretch(4, 1);
    QList<QWidget*> order{m_base, m_from, m_to};
    if (!texts.skipCaption.isEmpty()) {
        m_skip = new QCheckBox(texts.skipCaption, this);
        m_skip->setObjectName(QStringLiteral("chk僅一次不印"));
        grid->addWidget(m_skip, 2, 1, 1, 4);
        order << m_skip;
    }
    finishLayout(order);
}

void BaseDateScreen::setDefaultDates()
{
    const int back = DaysBackToLastWeekday(Today());
    m_base->setText(RocDateDaysAgo(back));
    m_from->setText(RocDateDaysAgo(back + 6));
    m_to->setText(RocDateDaysAgo(back + 1));
}

void BaseDateScreen::run(bool preview)
{
    if (!checkRequiredDateBox(m_base, m_texts.baseName))
        return;
    PadDateField(m_from, 0);
    PadDateField(m_to, 0);
    if (!checkDateBox(m_from, m_texts.rangeName) || !checkDateBox(m_to, m_texts.rangeName))
        return;

    gRptBaseDate = m_base->text().trimmed();
    gRptDateFrom = m_from->text().trimmed();
    gRptDateTo = m_to->text().trimmed();
    if (gRptDateTo.isEmpty())
        gRptDateTo = kOpenRangeEnd;
    if (m_skip)
        gRptSkipSingle = m_skip->isChecked() ? 1 : 0;
    const BaseDateQuery query{gRptBaseDate, gRptDateFrom, gRptDateTo, m_skip && m_skip->isChecked()};

    RunStatReport(
        preview, [&](db::Connection& connection) { return prepare(connection, query); },
        [&](QVector<ReportRow> rows) {
            Report report(layout(), std::move(rows));
            SetStandardHeading(report, query.from, query.to, query.base);
            report.setDetailFormat([this](ReportRow& row) { formatDetail(row); });
            return report.paginate();
        },
        QStringLiteral("處理資料錯誤"));
}

// ------------------------------------------------------------------ transitions

namespace {
BaseDateTexts TransitionTexts(bool sellToBuy)
{
    const QString base = sellToBuy ? QStringLiteral("買超日期") : QStringLiteral("賣超日期");
    const QString range = sellToBuy ? QStringLiteral("賣超日期") : QStringLiteral("買超日期");
    return {sellToBuy ? QStringLiteral("賣超轉買超統計表") : QStringLiteral("買超轉賣超統計表"),
            base + QLatin1Char(':'), range + QLatin1Char(':'), QString(), base, range};
}

BaseDateTexts NewDetailsTexts(bool newSell)
{
    const QString own = newSell ? QStringLiteral("賣超") : QStringLiteral("買超");
    return {QStringLiteral("新增") + own + QStringLiteral("明細"), own + QStringLiteral("日:"), QStringLiteral("比較日:"),
            QStringLiteral("只有一次") + own + QStringLiteral("不印"), own + QStringLiteral("日"),
            QStringLiteral("比較日")};
}
}

TransitionScreen::TransitionScreen(bool sellToBuy) : BaseDateScreen(TransitionTexts(sellToBuy)), m_sellToBuy(sellToBuy) {}

QVector<ReportRow> TransitionScreen::prepare(db::Connection& connection, const BaseDateQuery& query)
{
    return PrepareTransition(connection, m_sellToBuy, query);
}

ReportLayout TransitionScreen::layout() const
{
    return TransitionReportLayout(m_sellToBuy);
}

frm賣超轉買超統計表::frm賣超轉買超統計表() : TransitionScreen(true)
{
    setObjectName(QStringLiteral("frm賣超轉買超統計表"));
}

frm買超轉賣超統計表::frm買超轉賣超統計表() : TransitionScreen(false)
{
    setObjectName(QStringLiteral("frm買超轉賣超統計表"));
}

// ------------------------------------------------------------------ new details

NewDetailsScreen::NewDetailsScreen(bool newSell) : BaseDateScreen(NewDetailsTexts(newSell)), m_newSell(newSell) {}

QVector<ReportRow> NewDetailsScreen::prepare(db::Connection& connection, const BaseDateQuery& query)
{
    return PrepareNewDetails(connection, m_newSell, query);
}

ReportLayout NewDetailsScreen::layout() const
{
    return NewDetailsReportLayout(m_newSell);
}

void NewDetailsScreen::formatDetail(ReportRow& row)
{
    BlankZeroOtherCounts(m_newSell, row);
}

frm新增賣超明細::frm新增賣超明細() : NewDetailsScreen(true)
{
    setObjectName(QStringLiteral("frm新增賣超明細"));
}

frm新增買超明細::frm新增買超明細() : NewDetailsScreen(false)
{
    setObjectName(QStringLiteral("frm新增買超明細"));
}
