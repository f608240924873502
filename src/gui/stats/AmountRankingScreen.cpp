#include "gui/stats/AmountRankingScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/stats/AmountRanking.h"
#include "core/stats/StreakStatistics.h"
#include "core/text/RocDate.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kDigitsKind = 1;
constexpr int kDefaultDays = 5;
constexpr int kDefaultTop = 30;
constexpr TradeBasis kBases[] = {TradeBasis::AllThree, TradeBasis::Foreign, TradeBasis::InvestmentTrust,
                                 TradeBasis::Dealers};
}

frm法人累計買賣超排行::frm法人累計買賣超排行() : StatScreenFrame(QStringLiteral("法人累計買賣超排行"))
{
    setObjectName(QStringLiteral("frm法人累計買賣超排行"));
    m_base = makeDateBox(QStringLiteral("txt基準日期"));
    auto* baseLabel = new QLabel(QStringLiteral("基準日期:"), this);
    baseLabel->setObjectName(QStringLiteral("lbl基準日期"));
    baseLabel->setBuddy(m_base);
    QGridLayout* grid = conditions();
    grid->addWidget(baseLabel, 0, 0);
    grid->addWidget(m_base, 0, 1);

    m_days = numberBox(QStringLiteral("txt累計天數"), QStringLiteral("累計天數:"), 1, QStringLiteral("個交易日"));

    m_basis = new QComboBox(this);
    m_basis->setObjectName(QStringLiteral("cbo法人"));
    m_basis->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* basisLabel = new QLabel(QStringLiteral("法人:"), this);
    basisLabel->setObjectName(QStringLiteral("lbl法人"));
    basisLabel->setBuddy(m_basis);
    grid->addWidget(basisLabel, 2, 0);
    grid->addWidget(m_basis, 2, 1, 1, 2, Qt::AlignLeft);

    m_top = numberBox(QStringLiteral("txt排行筆數"), QStringLiteral("排行筆數:"), 3, QStringLiteral("名（買超、賣超各）"));
    grid->setColumnStretch(2, 1);
    finishLayout({m_base, m_days, m_basis, m_top});
}

QLineEdit* frm法人累計買賣超排行::numberBox(const QString& objectName, const QString& caption, int row, const QString& unit)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(objectName);
    box->setMaxLength(3);
    box->setFixedWidth(60);
    InstallKeyFilter(box, kDigitsKind);
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lbl") + objectName.mid(3));
    label->setBuddy(box);
    auto* line = new QHBoxLayout;
    line->addWidget(box);
    line->addWidget(new QLabel(unit, this));
    line->addStretch();
    conditions()->addWidget(label, row, 0);
    conditions()->addLayout(line, row, 1, 1, 2);
    return box;
}

void frm法人累計買賣超排行::setDefaultDates()
{
    m_days->setText(QString::number(kDefaultDays));
    m_top->setText(QString::number(kDefaultTop));
    // Filled here: clearing the screen's inputs empties a list too.
    m_basis->clear();
    for (TradeBasis basis : kBases)
        m_basis->addItem(BasisName(basis), int(basis));
    try {
        db::Connection connection(gConnectionString);
        const QString last = LastAmountDate(connection);
        m_base->setText(last.isEmpty() ? LastTradingDate(connection) : last);
    } catch (const db::DbError& error) {
        ShowError(db::ErrorMessage(error), QStringLiteral("處理資料錯誤"));
    }
}

bool frm法人累計買賣超排行::checkCount(QLineEdit* box, const QString& what, int* value)
{
    *value = box->text().trimmed().toInt();
    if (*value >= 1)
        return true;
    ShowMessage(QStringLiteral("「%1」至少為 1!").arg(what), QStringLiteral("錯誤"), MsgIcon::Warning);
    box->setFocus();
    SelectAllText(box);
    return false;
}

void frm法人累計買賣超排行::run(bool preview)
{
    AmountRankingQuery query;
    if (!checkRequiredDateBox(m_base, QStringLiteral("基準日期")) || !checkCount(m_days, QStringLiteral("累計天數"), &query.days)
        || !checkCount(m_top, QStringLiteral("排行筆數"), &query.top))
        return;
    query.base = m_base->text().trimmed();
    query.basis = TradeBasis(m_basis->currentData().toInt());
    AmountRanking ranking;
    RunStatReport(
        preview,
        [&](db::Connection& connection) {
            ranking = RunAmountRanking(connection, query);
            return ranking.lines;
        },
        [&](QVector<ReportRow> rows) {
            Report report(AmountRankingReportLayout(), std::move(rows));
            SetStandardHeading(report, QString(), QString(), query.base);
            report.setHeading(ReportSource::kBasis, BasisName(query.basis));
            report.setHeading(ReportSource::kSpan, QStringLiteral("%1～%2（%3 個交易日）")
                                                       .arg(RocDateDisplay(ranking.dates.first()),
                                                            RocDateDisplay(ranking.dates.last()))
                                                       .arg(ranking.dates.size()));
            report.setHeading(ReportSource::kNote, ranking.notes.value(0));
            report.setHeading(ReportSource::kSecondNote, ranking.notes.value(1));
            report.setHeading(ReportSource::kSummary,
                              QStringLiteral("買超 %1 檔、賣超 %2 檔").arg(ranking.buys).arg(ranking.sells));
            return report.paginate();
        },
        QStringLiteral("處理資料錯誤"));
}
