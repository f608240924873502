// The stock screen's part of the query panel: the screening conditions,
// their defaults and the four orders.
#include "gui/stock/StockScreen.h"

#include "core/stock/StockScreening.h"
#include "gui/recordscreen/QueryPanel.h"
#include "gui/uikit/InputBehaviour.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr int kPrefixLength = 10;
constexpr int kBoundLength = 10;
constexpr int kBoundKind = 3;
const QStringList kBoundDefaults = {QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("5"),
                                    QStringLiteral("100")};
}

void frm股號資料::buildQueryConditions()
{
    QueryPanel* panel = queryPanel();
    panel->addConditionOption(QStringLiteral("股　　號"));
    QLineEdit* prefix = panel->addConditionBox(QStringLiteral("股號名稱:"), 0, 1, kPrefixLength);
    InstallUpperCase(prefix);

    QGridLayout* grid = panel->conditionLayout();
    const auto rangeRow = [panel, grid](int row, const QString& caption, const QString& name) {
        auto* on = new QCheckBox(caption, grid->parentWidget());
        on->setObjectName(name);
        on->setChecked(true);
        grid->addWidget(on, row, 0, Qt::AlignRight);
        QLineEdit* from = panel->addConditionBox(QString(), row, 1, kBoundLength);
        grid->addWidget(new QLabel(QStringLiteral("～"), grid->parentWidget()), row, 2);
        QLineEdit* to = panel->addConditionBox(QString(), row, 3, kBoundLength);
        from->setAccessibleName(caption.chopped(1) + QStringLiteral("下限"));
        to->setAccessibleName(caption.chopped(1) + QStringLiteral("上限"));
        for (QLineEdit* bound : {from, to})
            InstallKeyFilter(bound, kBoundKind);
        return on;
    };
    m_priceEarningsOn = rangeRow(1, QStringLiteral("本益比:"), QStringLiteral("chk本益比"));
    m_yieldOn = rangeRow(2, QStringLiteral("殖利率:"), QStringLiteral("chk殖利率"));

    auto* orders = new QGroupBox(QStringLiteral("排序方式"), panel);
    auto* column = new QVBoxLayout(orders);
    m_order = new QButtonGroup(orders);
    const QStringList captions = {QStringLiteral("股號(小大)"), QStringLiteral("本益(小大)"),
                                  QStringLiteral("殖率(大小)"), QStringLiteral("淨值(小大)")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i), orders);
        option->setObjectName(QStringLiteral("opt排序_%1").arg(i));
        m_order->addButton(option, i);
        column->addWidget(option);
    }
    m_order->button(StockScreening::ByCode)->setChecked(true);
    // A new order lists again at once, with the boxes as they stand.
    connect(m_order, &QButtonGroup::idClicked, this, [this] { RunQuery(); });
    panel->setSideWidget(orders);
}

void frm股號資料::conditionOptionChosen(int)
{
    QueryPanel* panel = queryPanel();
    panel->conditionLabel(0)->setText(QStringLiteral("股　　號:"));
    QLineEdit* prefix = panel->conditionBoxes().first();
    prefix->clear();
    prefix->setMaxLength(kPrefixLength);
    prefix->setFocus();
}

void frm股號資料::fillConditionDefaults()
{
    const QList<QLineEdit*>& boxes = queryPanel()->conditionBoxes();
    for (int i = 0; i < kBoundDefaults.size(); ++i) {
        if (boxes.at(i + 1)->text().isEmpty())
            boxes.at(i + 1)->setText(kBoundDefaults.at(i));
    }
}

GridQuery frm股號資料::BuildQuery()
{
    const QList<QLineEdit*>& boxes = queryPanel()->conditionBoxes();
    StockScreening screening;
    screening.prefix = boxes.at(0)->text();
    screening.priceEarningsOn = m_priceEarningsOn->isChecked();
    screening.priceEarningsFrom = boxes.at(1)->text();
    screening.priceEarningsTo = boxes.at(2)->text();
    screening.yieldOn = m_yieldOn->isChecked();
    screening.yieldFrom = boxes.at(3)->text();
    screening.yieldTo = boxes.at(4)->text();
    screening.order = static_cast<StockScreening::Order>(std::max(0, m_order->checkedId()));
    return BuildStockQuery(screening);
}
