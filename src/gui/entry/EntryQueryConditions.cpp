// The entry screen's part of the query panel: a code prefix and a date range.
#include "gui/entry/EntryScreen.h"

#include "core/entry/EntryQuery.h"
#include "gui/recordscreen/QueryPanel.h"
#include "gui/uikit/InputBehaviour.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kPrefixLength = 10;
constexpr int kDateLength = 7;
constexpr int kDateKind = 1;
}

void frm買賣超輸入作業::buildQueryConditions()
{
    QueryPanel* panel = queryPanel();
    panel->addConditionOption(QStringLiteral("股　　號"));
    InstallUpperCase(panel->addConditionBox(QStringLiteral("股　　號:"), 0, 1, kPrefixLength));
    m_queryFrom = panel->addConditionBox(QStringLiteral("起始日期:"), 1, 1, kDateLength);
    m_queryTo = panel->addConditionBox(QStringLiteral("結束日期:"), 2, 1, kDateLength);
    for (QLineEdit* date : {m_queryFrom, m_queryTo})
        InstallKeyFilter(date, kDateKind);
}

// SetQueryDefaults: the option's action.
void frm買賣超輸入作業::conditionOptionChosen(int)
{
    QueryPanel* panel = queryPanel();
    panel->conditionLabel(1)->setText(QStringLiteral("起始日期:"));
    panel->conditionLabel(2)->setText(QStringLiteral("結束日期:"));
    m_queryFrom->setMaxLength(kDateLength);
    m_queryTo->setMaxLength(kDateLength);
    m_queryFrom->setText(EntryQueryDefaultFrom());
    m_queryTo->setText(EntryQueryDefaultTo());
    panel->conditionLabel(0)->setText(QStringLiteral("股　　號:"));
    QLineEdit* prefix = panel->conditionBoxes().first();
    prefix->clear();
    prefix->setMaxLength(kPrefixLength);
    prefix->setFocus();
}

GridQuery frm買賣超輸入作業::BuildQuery()
{
    return BuildEntryQuery(queryPanel()->conditionBoxes().first()->text(), m_queryFrom->text(), m_queryTo->text());
}
