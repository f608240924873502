#include "gui/recordscreen/QueryPanel.h"

#include "core/data/Settings.h"
#include "core/records/QueryResultModel.h"
#include "gui/uikit/GridWheel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// gGridColors, by role.
enum GridColour { Outside, Cell, HeaderBack, HeaderText, SelectionBack, SelectionText };

QColor PackedColour(const QString& decimal)
{
    const uint packed = decimal.toUInt();
    return QColor(packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff);
}

QColor GridColourOf(GridColour role)
{
    return PackedColour(gGridColors.value(role));
}

const char* const kChosenCaption = "color: rgb(255, 0, 0);";
const char* const kOtherCaption = "color: rgb(128, 128, 128);";

} // namespace

QueryPanel::QueryPanel(const QString& conditionFrameName, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pic查詢明細表"));
    buildGrid();
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_grid);
    auto* framePage = new QWidget(m_stack);
    auto* frameLayout = new QVBoxLayout(framePage);
    frameLayout->addWidget(buildConditionFrame(conditionFrameName), 0, Qt::AlignTop | Qt::AlignLeft);
    frameLayout->addStretch();
    m_stack->addWidget(framePage);

    m_editConditions = new QPushButton(QStringLiteral("查詢條件"), this);
    m_editConditions->setObjectName(QStringLiteral("scmd查詢條件"));
    m_view = new QPushButton(QStringLiteral("看此資料"), this);
    m_view->setObjectName(QStringLiteral("scmd看此資料"));
    m_back = new QPushButton(QStringLiteral("回前畫面"), this);
    m_back->setObjectName(QStringLiteral("scmd回前畫面_查詢"));
    connect(m_editConditions, &QPushButton::clicked, this, [this] { showConditions(true); });
    connect(m_view, &QPushButton::clicked, this, [this] { Q_EMIT openRequested(currentKey()); });
    connect(m_back, &QPushButton::clicked, this, &QueryPanel::backRequested);

    auto* content = new QHBoxLayout;
    content->addWidget(m_stack, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_editConditions);
    buttons->addWidget(m_view);
    buttons->addStretch();
    buttons->addWidget(m_back);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addLayout(content, 1);
    layout->addLayout(buttons);
}

void QueryPanel::buildGrid()
{
    m_model = new QueryResultModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MSHFlexGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->setProperty("handlesEnter", true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setSectionsClickable(false);
    m_grid->setAccessibleName(QStringLiteral("查詢結果"));
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    applyGridColours();
}

void QueryPanel::applyGridColours()
{
    m_model->setCellColours(GridColourOf(Cell), QColor());
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Base, GridColourOf(Outside));
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, GridColourOf(SelectionBack));
        palette.setColor(group, QPalette::HighlightedText, GridColourOf(SelectionText));
    }
    m_grid->setPalette(palette);
    m_grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: %2; padding: 3px 6px; border: 0; "
                       "border-right: 1px solid %2; }")
            .arg(GridColourOf(HeaderBack).name(), GridColourOf(HeaderText).name()));
}

QGroupBox* QueryPanel::buildConditionFrame(const QString& name)
{
    m_frame = new QGroupBox(QStringLiteral("查詢條件"), this);
    m_frame->setObjectName(name);
    m_optionColumn = new QWidget(m_frame);
    auto* options = new QVBoxLayout(m_optionColumn);
    options->setContentsMargins(0, 0, 12, 0);
    options->addWidget(new QLabel(QStringLiteral("選擇查詢條件"), m_optionColumn));
    m_options = new QButtonGroup(this);
    connect(m_options, &QButtonGroup::idClicked, this, &QueryPanel::chooseOption);

    m_conditions = new QGridLayout;
    m_conditions->setHorizontalSpacing(8);
    m_conditions->setVerticalSpacing(10);

    auto* ok = new QPushButton(QStringLiteral(" 確 定     "), m_frame);
    ok->setObjectName(QStringLiteral("scmd確定"));
    auto* cancel = new QPushButton(QStringLiteral(" 取 消     "), m_frame);
    cancel->setObjectName(QStringLiteral("scmd取消"));
    connect(ok, &QPushButton::clicked, this, [this] {
        showConditions(false);
        Q_EMIT runRequested();
        m_grid->setFocus();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { showConditions(false); });

    auto* body = new QHBoxLayout;
    body->addWidget(m_optionColumn, 0, Qt::AlignTop);
    body->addLayout(m_conditions);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(m_frame);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(body);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    return m_frame;
}

QRadioButton* QueryPanel::addConditionOption(const QString& caption)
{
    const int index = static_cast<int>(m_options->buttons().size());
    auto* option = new QRadioButton(caption, m_optionColumn);
    option->setObjectName(QStringLiteral("sopt查詢條件_%1").arg(index));
    m_options->addButton(option, index);
    m_optionColumn->layout()->addWidget(option);
    return option;
}

QLineEdit* QueryPanel::addConditionBox(const QString& label, int row, int column, int maxLength)
{
    const int index = static_cast<int>(m_boxes.size());
    auto* caption = new QLabel(label, m_frame);
    caption->setObjectName(QStringLiteral("lbl查詢名稱_%1").arg(index));
    auto* box = new QLineEdit(m_frame);
    box->setObjectName(QStringLiteral("txt查詢內容_%1").arg(index));
    box->setMaxLength(maxLength);
    box->setMinimumWidth(110);
    caption->setBuddy(box);
    if (!label.isEmpty())
        m_conditions->addWidget(caption, row, column - 1, Qt::AlignRight);
    else
        box->setAccessibleName(QStringLiteral("查詢內容%1").arg(index));
    m_conditions->addWidget(box, row, column);
    m_boxes << box;
    m_labels << caption;
    return box;
}

void QueryPanel::setSideWidget(QWidget* side)
{
    static_cast<QHBoxLayout*>(layout()->itemAt(0)->layout())->addWidget(side, 0, Qt::AlignTop);
}

void QueryPanel::chooseOption(int index)
{
    QAbstractButton* chosen = m_options->button(index);
    if (!chosen)
        return;
    chosen->setChecked(true);
    for (QAbstractButton* option : m_options->buttons())
        option->setStyleSheet(QLatin1String(option == chosen ? kChosenCaption : kOtherCaption));
    Q_EMIT optionChosen(index);
}

void QueryPanel::showConditions(bool shown)
{
    m_stack->setCurrentIndex(shown ? 1 : 0);
    for (QPushButton* button : {m_editConditions, m_view, m_back})
        button->setEnabled(!shown);
    if (!shown)
        m_view->setEnabled(m_model->rowCount() > 0);
    if (shown && !m_boxes.isEmpty())
        m_boxes.first()->setFocus();
}

bool QueryPanel::conditionsShown() const
{
    return m_stack->currentIndex() == 1;
}

void QueryPanel::showRows(db::ResultSet rows, const GridQuery& query)
{
    const int remembered = std::max(1, m_grid->currentIndex().row() + 1);
    m_model->setResult(std::move(rows), query.rightAligned);
    const qreal pixelsPerTwip = m_grid->logicalDpiX() / 1440.0;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int twips = query.widthsTwips.value(column, 1200);
        m_grid->setColumnHidden(column, twips == 0);
        if (twips > 0)
            m_grid->setColumnWidth(column, qRound(twips * pixelsPerTwip));
    }
    const int count = m_model->rowCount();
    m_view->setEnabled(count > 0 && !conditionsShown());
    if (count == 0) {
        m_grid->clearSelection();
        m_grid->setCurrentIndex({});
        return;
    }
    const QModelIndex current = m_model->index(std::min(remembered, count) - 1, 0);
    m_grid->setCurrentIndex(current);
    m_grid->selectRow(current.row());
    m_grid->scrollTo(current);
}

int QueryPanel::rowCount() const
{
    return m_model->rowCount();
}

QString QueryPanel::currentKey() const
{
    return m_model->text(m_grid->currentIndex().row(), m_model->columnCount() - 1);
}

void QueryPanel::openCurrentIfKeyed()
{
    const QString key = currentKey();
    if (!key.trimmed().isEmpty())
        Q_EMIT openRequested(key);
}

bool QueryPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                openCurrentIfKeyed();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            // The grid's own wheel steps only while it has the keyboard.
            if (!m_wheel)
                m_wheel = GridWheelFilter::install(m_grid);
            break;
        case QEvent::FocusOut:
            delete m_wheel;
            break;
        default:
            break;
        }
    } else if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress
               && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QModelIndex at = m_grid->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (at.isValid()) {
            m_grid->setCurrentIndex(at);
            m_grid->selectRow(at.row());
        }
        openCurrentIfKeyed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
