#include "gui/entry/InstitutionalImportDialog.h"

#include "core/text/RocDate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Remembered while the program runs, as the user set them last.
int gListLength = 30;
int gBasis = 0;
bool gSharesOnly = true;

QTableWidget* ListTable(QWidget* parent, const QString& name)
{
    auto* table = new QTableWidget(0, 4, parent);
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels({QStringLiteral("序"), QStringLiteral("股號"), QStringLiteral("名稱"), QStringLiteral("張")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table->setMinimumWidth(330);
    return table;
}

void Fill(QTableWidget* table, const QVector<RankedStock>& stocks)
{
    table->setRowCount(static_cast<int>(stocks.size()));
    const QLocale locale(QLocale::English);
    for (int r = 0; r < stocks.size(); ++r) {
        const RankedStock& s = stocks.at(r);
        const QStringList texts = {QString::number(r + 1), s.code, s.name, locale.toString(s.net / 1000)};
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts.at(c));
            if (c == 0 || c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnToContents(0);
}

} // namespace

InstitutionalImportDialog::InstitutionalImportDialog(InstitutionalDay day, QHash<QString, QString> knownCodes,
                                                     QWidget* parent)
    : QDialog(parent), m_day(std::move(day)), m_known(std::move(knownCodes))
{
    setObjectName(QStringLiteral("frm匯入買賣超"));
    setWindowTitle(QStringLiteral("匯入買賣超"));

    auto* date = new QLabel(QStringLiteral("資料日期：%1（%2 檔股票）").arg(RocDateDisplay(m_day.date)).arg(m_day.rows.size()), this);
    m_basis = new QComboBox(this);
    m_basis->setObjectName(QStringLiteral("cbo依據"));
    m_basis->addItems({QStringLiteral("三大法人合計"), QStringLiteral("外資"), QStringLiteral("投信"), QStringLiteral("自營商")});
    m_basis->setCurrentIndex(gBasis);
    auto* basisLabel = new QLabel(QStringLiteral("依據:"), this);
    basisLabel->setBuddy(m_basis);
    m_length = new QSpinBox(this);
    m_length->setObjectName(QStringLiteral("txt筆數"));
    m_length->setRange(1, 200);
    m_length->setValue(gListLength);
    auto* lengthLabel = new QLabel(QStringLiteral("每邊筆數:"), this);
    lengthLabel->setBuddy(m_length);

    m_sharesOnly = new QCheckBox(QStringLiteral("只列股票及ETF"), this);
    m_sharesOnly->setObjectName(QStringLiteral("chk只列股票及ETF"));
    m_sharesOnly->setChecked(gSharesOnly);
    m_tables[0] = ListTable(this, QStringLiteral("買超"));
    m_tables[1] = ListTable(this, QStringLiteral("賣超"));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lbl說明"));
    m_note->setWordWrap(true);
    m_addMissing = new QCheckBox(this);
    m_addMissing->setObjectName(QStringLiteral("chk新增股號"));
    m_addMissing->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("確定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* choices = new QHBoxLayout;
    choices->addWidget(date);
    choices->addStretch();
    choices->addWidget(basisLabel);
    choices->addWidget(m_basis);
    choices->addSpacing(12);
    choices->addWidget(lengthLabel);
    choices->addWidget(m_length);
    choices->addSpacing(12);
    choices->addWidget(m_sharesOnly);
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("買超（買超張數由大到小）"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("賣超（賣超張數由大到小）"), this), 0, 1);
    lists->addWidget(m_tables[0], 1, 0);
    lists->addWidget(m_tables[1], 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(lists, 1);
    layout->addWidget(m_note);
    layout->addWidget(m_addMissing);
    layout->addWidget(buttons);

    connect(m_basis, qOverload<int>(&QComboBox::currentIndexChanged), this, &InstitutionalImportDialog::rank);
    connect(m_length, qOverload<int>(&QSpinBox::valueChanged), this, &InstitutionalImportDialog::rank);
    connect(m_sharesOnly, &QCheckBox::toggled, this, &InstitutionalImportDialog::rank);
    rank();
    resize(760, 620);
}

void InstitutionalImportDialog::rank()
{
    const auto basis = static_cast<TradeBasis>(m_basis->currentIndex());
    const QStringList& lacking = m_day.lacking[int(basis)];
    // A file without the basis's column would rank zeros: nothing is ranked.
    m_lists = lacking.isEmpty() ? RankInstitutional(m_day.rows, basis, m_length->value(), m_sharesOnly->isChecked())
                                : RankedLists();
    Fill(m_tables[0], m_lists.buys);
    Fill(m_tables[1], m_lists.sells);
    if (!lacking.isEmpty())
        m_note->setText(QStringLiteral("檔案 %1 沒有%2的買賣超欄位，不能依%2排列，請選其他依據。")
                            .arg(lacking.join(QStringLiteral("、")), BasisName(basis)));
    else if (m_lists.leftOut > 0)
        m_note->setText(QStringLiteral("已略過 %1 筆權證等非股票、非ETF的資料。").arg(m_lists.leftOut));
    else
        m_note->clear();
    m_ok->setEnabled(lacking.isEmpty());
    const int missing = static_cast<int>(missingStocks().size());
    m_addMissing->setText(QStringLiteral("股號資料中沒有的股號（%1 檔）一併新增，名稱取自檔案").arg(missing));
    m_addMissing->setEnabled(missing > 0);
}

bool InstitutionalImportDialog::addMissingCodes() const
{
    return m_addMissing->isEnabled() && m_addMissing->isChecked();
}

QVector<RankedStock> InstitutionalImportDialog::missingStocks() const
{
    QVector<RankedStock> missing;
    for (const QVector<RankedStock>* list : {&m_lists.buys, &m_lists.sells})
        for (const RankedStock& s : *list)
            if (!m_known.contains(s.code.toUpper()))
                missing << s;
    return missing;
}

void InstitutionalImportDialog::accept()
{
    gListLength = m_length->value();
    gBasis = m_basis->currentIndex();
    gSharesOnly = m_sharesOnly->isChecked();
    QDialog::accept();
}
