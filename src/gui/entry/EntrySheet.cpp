#include "gui/entry/EntrySheet.h"

#include "core/entry/SequenceRules.h"
#include "core/text/KeyFilter.h"
#include "core/text/TextBytes.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace {
constexpr int kSequenceBytes = 5;
constexpr int kCodeBytes = 10;
constexpr int kSequenceKind = 3;
constexpr int kCodeKind = kStockCodeKind;
constexpr int kNoFilter = 0;

bool IsBlank(const QString& text)
{
    return text.trimmed().isEmpty();
}

bool IsCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    return !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\r')
                               || text.at(0) == QLatin1Char('\b'));
}
const QColor kMarkedText(198, 40, 40);

} // namespace

const QString EntrySheet::kUnknownCode = QStringLiteral("（無此股號）");
const QString EntrySheet::kRepeatedCode = QStringLiteral("（重複）");

// Creates the in-cell editors and leaves every write to the sheet's rules.
class EntrySheetDelegate : public QStyledItemDelegate {
public:
    explicit EntrySheetDelegate(EntrySheet* sheet) : QStyledItemDelegate(sheet), m_sheet(sheet) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        auto* editor = static_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
        m_sheet->editorOpened(editor, index);
        return editor;
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    // The name column is shown, never typed: it wears the locked colour.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == EntrySheet::kNameColumn)
            option->backgroundBrush = option->palette.brush(QPalette::Window);
    }

private:
    EntrySheet* m_sheet;
};

EntrySheet::EntrySheet(QWidget* parent) : QTableWidget(kRows, 3, parent)
{
    setHorizontalHeaderLabels({QStringLiteral("序"), QStringLiteral("股號"), QStringLiteral("名稱")});
    setItemDelegate(new EntrySheetDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    setProperty("handlesEnter", true);
    setColumnWidth(kSequenceColumn, fontMetrics().horizontalAdvance(QStringLiteral("99999")) + 20);
    setColumnWidth(kCodeColumn, fontMetrics().horizontalAdvance(QStringLiteral("00000000WW")) + 20);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetSheetRowHeight(400);
    setCurrentCell(0, kCodeColumn);
}

void EntrySheet::attachDeleteButton(QAbstractButton* button)
{
    m_deleteButton = button;
    connect(button, &QAbstractButton::clicked, this, &EntrySheet::deleteActiveRow);
    EnableLineDelete();
}

void EntrySheet::setUsedRowCount(int count)
{
    // Never fewer than the rows that hold something: the count drives the
    // sequence numbers and the delete button, and a row it left out would be
    // easy to lose.
    m_usedRows = std::max({count, lastUsedRow(), 0});
    EnableLineDelete();
    Q_EMIT usedRowCountChanged(m_usedRows);
}

QString EntrySheet::cellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

void EntrySheet::setCellText(int row, int column, const QString& text)
{
    if (row < 1 || row > kRows)
        return;
    QTableWidgetItem* cell = item(row - 1, column);
    if (!cell) {
        if (text.isEmpty())
            return;
        cell = new QTableWidgetItem;
        if (column == kSequenceColumn)
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(row - 1, column, cell);
    }
    cell->setText(text);
}

bool EntrySheet::rowHoldsSomething(int row) const
{
    for (int column = 0; column < kStoredColumns; ++column) {
        if (!IsBlank(cellText(row, column)))
            return true;
    }
    return false;
}

int EntrySheet::lastUsedRow() const
{
    for (int row = kRows; row >= 1; --row) {
        for (int column = 0; column < kStoredColumns; ++column) {
            if (!cellText(row, column).isEmpty())
                return row;
        }
    }
    return 0;
}

void EntrySheet::ClearSheet()
{
    setUpdatesEnabled(false);
    cancelEdit();
    clearContents();
    setCurrentCell(0, kCodeColumn);
    scrollToTop();
    EnableLineDelete();
    setUpdatesEnabled(true);
}

void EntrySheet::SetSheetRowHeight(int twips)
{
    const int pixels = qRound(twips * logicalDpiY() / 1440.0);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(pixels);
}

void EntrySheet::RowsToSheet(const QVector<QVector<QVariant>>& rows)
{
    const int skip = std::max(0, static_cast<int>(rows.size()) - kRows);
    for (int k = skip; k < rows.size(); ++k) {
        const QVector<QVariant>& fields = rows.at(k);
        for (int j = 0; j < fields.size() && j < kStoredColumns; ++j)
            setCellText(k - skip + 1, j, fields.at(j).isNull() ? QString() : fields.at(j).toString());
    }
    refreshNames();
}

QVector<QStringList> EntrySheet::SheetToRows() const
{
    QVector<QStringList> rows;
    const int last = lastUsedRow();
    rows.reserve(last);
    for (int row = 1; row <= last; ++row) {
        QStringList texts;
        for (int column = 0; column < kStoredColumns; ++column)
            texts << cellText(row, column);
        rows << texts;
    }
    return rows;
}

void EntrySheet::DeleteSheetRow(int row)
{
    const int target = row <= 0 ? activeRow() : row;
    const int column = currentColumn();
    removeRow(target - 1);
    insertRow(kRows - 1);
    setCurrentCell(std::min(target, kRows) - 1, column < 0 ? kCodeColumn : column);
}

bool EntrySheet::PreviousRowFilled() const
{
    const int row = activeRow();
    return row <= 1 || rowHoldsSomething(row - 1);
}

void EntrySheet::ExtendRowCount()
{
    if (m_usedRows < activeRow())
        setUsedRowCount(m_usedRows + 1);
}

void EntrySheet::EnableLineDelete()
{
    // Only a row that holds something can be deleted: a delete below the
    // list would lower the count and leave a typed row out of the save.
    if (m_deleteButton)
        m_deleteButton->setEnabled(currentRow() >= 0 && m_usedRows >= activeRow() && rowHoldsSomething(activeRow()));
}

bool EntrySheet::SequenceInUse(const QString& text) const
{
    const int last = lastUsedRow();
    if (last == 0 || text.isEmpty())
        return false;
    for (int row = 1; row <= last; ++row) {
        if (cellText(row, kSequenceColumn) == text)
            return true;
    }
    return false;
}

int EntrySheet::NextSequenceNumber() const
{
    QStringList texts;
    for (int row = 1; row <= m_usedRows; ++row)
        texts << cellText(row, kSequenceColumn);
    return ::NextSequenceNumber(texts);
}

void EntrySheet::FillMissingSequence()
{
    for (int row = 1; row <= m_usedRows; ++row) {
        if (IsBlank(cellText(row, kSequenceColumn)))
            setCellText(row, kSequenceColumn, QString::number(NextSequenceNumber()));
    }
}

void EntrySheet::freeze(bool frozen)
{
    m_frozen = frozen;
    setUpdatesEnabled(!frozen);
    if (!frozen) {
        EnableLineDelete();
        refreshNames();
    }
}

void EntrySheet::setStockNames(QHash<QString, QString> names)
{
    m_names = std::move(names);
    refreshNames();
}

void EntrySheet::refreshNames()
{
    if (m_frozen)
        return;
    const int last = lastUsedRow();
    QHash<QString, int> uses;
    for (int row = 1; row <= last; ++row) {
        const QString code = cellText(row, kCodeColumn).trimmed().toUpper();
        if (!code.isEmpty())
            ++uses[code];
    }
    // A cleared last row may still show its name: one row past the list.
    for (int row = 1; row <= std::min(last + 1, kRows); ++row) {
        const QString code = cellText(row, kCodeColumn).trimmed().toUpper();
        QTableWidgetItem* name = item(row - 1, kNameColumn);
        if (code.isEmpty()) {
            if (name)
                name->setText(QString());
            continue;
        }
        const auto known = m_names.constFind(code);
        const bool repeated = uses.value(code) > 1;
        QString text = known == m_names.constEnd() ? kUnknownCode : *known;
        if (repeated)
            text += kRepeatedCode;
        if (!name) {
            name = new QTableWidgetItem;
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row - 1, kNameColumn, name);
        }
        name->setText(text);
        const bool marked = repeated || known == m_names.constEnd();
        name->setForeground(marked ? QBrush(kMarkedText) : QBrush());
        item(row - 1, kCodeColumn)->setForeground(repeated ? QBrush(kMarkedText) : QBrush());
    }
}

// ------------------------------------------------------------------ typing

int EntrySheet::filterKind(int column) const
{
    const QTableWidgetItem* heading = horizontalHeaderItem(column);
    const QString text = heading ? heading->text() : QString();
    if (text == QStringLiteral("序"))
        return kSequenceKind;
    if (text == QStringLiteral("股號"))
        return kCodeKind;
    return kNoFilter;
}

bool EntrySheet::keyAllowed(QKeyEvent* event)
{
    if (!PreviousRowFilled()) {
        if (IsCharacter(event))
            ShowMessage(QStringLiteral("前一列資料尚未輸入!"), QStringLiteral("警告"), MsgIcon::Warning);
        return false;
    }
    if (event->key() == Qt::Key_Delete && currentColumn() == kSequenceColumn)
        return false;
    return true;
}

void EntrySheet::moveTo(int row, int column)
{
    if (row >= 1 && row <= kRows)
        setCurrentCell(row - 1, column);
}

void EntrySheet::keyPressEvent(QKeyEvent* event)
{
    if (m_frozen || !keyAllowed(event))
        return;
    const int row = activeRow();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter goes on to the next cell to type: the code of this row, then
        // the code of the next row.
        if (currentColumn() == kSequenceColumn)
            moveTo(row, kCodeColumn);
        else
            moveTo(row + 1, kCodeColumn);
        return;
    case Qt::Key_Delete:
        if (currentColumn() == kCodeColumn && !cellText(row, kCodeColumn).isEmpty()) {
            setCellText(row, kCodeColumn, QString());
            FillMissingSequence();
            EnableLineDelete();
            refreshNames();
        }
        return;
    default:
        break;
    }
    if (IsCharacter(event) && event->text().at(0).isPrint()
        && KeyFilter(event->text().at(0).unicode(), filterKind(currentColumn())) == 0)
        return;
    QTableWidget::keyPressEvent(event);
}

bool EntrySheet::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // No way into a cell (double click, input method) skips the row rule.
    if (m_frozen || index.column() >= kStoredColumns || (index.row() > 0 && !rowHoldsSomething(index.row())))
        return false;
    return QTableWidget::edit(index, trigger, event);
}

void EntrySheet::editorOpened(QLineEdit* editor, const QModelIndex& index)
{
    m_editor = editor;
    m_editIndex = index;
    // Typed, pasted, dropped or composed text passes the column's filter; the
    // sheet's own filter, installed last, runs first for the row rule.
    InstallKeyFilter(editor, filterKind(index.column()));
    editor->installEventFilter(this);
    editor->setProperty("handlesEscape", true);
}

bool EntrySheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor || event->type() != QEvent::KeyPress)
        return QTableWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (!keyAllowed(key))
        return true;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int column = m_editIndex.column();
        const int row = m_editIndex.row() + 1;
        // A refused sequence number keeps the cursor in its cell for a retry.
        if (endEdit() && column == kSequenceColumn && currentRow() == row - 1)
            moveTo(row, kCodeColumn);
        return true;
    }
    case Qt::Key_Escape:
        cancelEditAsked();
        return true;
    default:
        return false;
    }
}

void EntrySheet::commitData(QWidget*)
{
    // Edits are written only through applyEdit.
}

void EntrySheet::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // A late close of an editor the rules already ended (the delegate queues
    // one after Enter), or the focus going to the question about it.
    if (editor != m_editor || m_holdEditor)
        return;
    // The delegate closes with RevertModelCache for Esc.
    if (hint == QAbstractItemDelegate::RevertModelCache)
        cancelEditAsked();
    else
        endEdit();
}

bool EntrySheet::editorChanged() const
{
    return m_editor && m_editIndex.isValid()
           && m_editor->text() != cellText(m_editIndex.row() + 1, m_editIndex.column());
}

void EntrySheet::cancelEditAsked()
{
    if (!m_editor)
        return;
    if (editorChanged()) {
        m_holdEditor = true;
        const bool drop = AskToDiscardUnsavedWork();
        m_holdEditor = false;
        if (!drop) {
            if (m_editor)
                m_editor->setFocus();
            return;
        }
    }
    cancelEdit();
    setFocus();
}

bool EntrySheet::commitOpenEdit()
{
    if (!m_editor)
        return true;
    if (!editorChanged()) {
        cancelEdit();
        return true;
    }
    return endEdit();
}

void EntrySheet::cancelEdit()
{
    if (!m_editor)
        return;
    QLineEdit* editor = m_editor;
    m_editor = nullptr;
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool EntrySheet::endEdit()
{
    if (!m_editor)
        return true;
    const QString typed = m_editor->text();
    const QModelIndex index = m_editIndex;
    cancelEdit();
    return !index.isValid() || applyEdit(index.row() + 1, index.column(), typed);
}

bool EntrySheet::applyEdit(int row, int column, const QString& typed)
{
    if (m_frozen)
        return false;
    const int kind = filterKind(column);
    if (kind == kSequenceKind) {
        if (Big5Length(typed) > kSequenceBytes) {
            setCellText(row, column, LeftBytes(typed, kSequenceBytes));
            ShowMessage(QStringLiteral("最多只可輸入5個字元!"), QStringLiteral("訊息"), MsgIcon::Warning);
        } else if (SequenceInUse(typed)) {
            ShowMessage(QStringLiteral("序號重複, 請重新輸入!"), QStringLiteral("警告"), MsgIcon::Warning);
            moveTo(row, column);
            setFocus();
            return false;
        } else {
            setCellText(row, column, typed);
        }
    } else if (kind == kCodeKind) {
        if (Big5Length(typed) > kCodeBytes) {
            setCellText(row, column, LeftBytes(typed, kCodeBytes));
            ShowMessage(QStringLiteral("最多只可輸入10個字!"), QStringLiteral("訊息"), MsgIcon::Warning);
        } else {
            setCellText(row, column, typed);
            moveTo(row + 1, kCodeColumn);
        }
    }
    setFocus();
    ExtendRowCount();
    FillMissingSequence();
    setUsedRowCount(m_usedRows);
    refreshNames();
    Q_EMIT edited();
    return true;
}

void EntrySheet::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableWidget::currentChanged(current, previous);
    if (!m_frozen)
        EnableLineDelete();
}

void EntrySheet::deleteActiveRow()
{
    // The row being typed in is the one the user means; its unfinished text
    // goes with it.
    cancelEdit();
    if (rowHoldsSomething(activeRow())) {
        DeleteSheetRow(0);
        setUsedRowCount(m_usedRows - 1);
        refreshNames();
        Q_EMIT edited();
    }
    EnableLineDelete();
    setFocus();
}
