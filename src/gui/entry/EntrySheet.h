#pragma once

#include "gui/uikit/OpenEdit.h"

#include <QHash>
#include <QStringList>
#include <QTableWidget>
#include <QVector>

class QAbstractButton;
class QLineEdit;

// One list of a trading day typed as a small spreadsheet: a "序" column and a
// "股號" column, 16384 rows, and beside them the stock's name, shown only. It applies the typing rules itself: a row may be
// typed only when the row above holds something, each column takes only its
// characters and lengths, sequence numbers do not repeat and are filled in,
// and it keeps the count of used rows. A code still in its cell editor is
// typed work: the screen commits it before anything reads or replaces the
// lists, and Esc asks before it throws it away.
class EntrySheet : public QTableWidget, public OpenEditOwner {
    Q_OBJECT
public:
    static constexpr int kRows = 16384;
    static constexpr int kSequenceColumn = 0;
    static constexpr int kCodeColumn = 1;
    static constexpr int kNameColumn = 2;
    static constexpr int kStoredColumns = 2;
    static const QString kUnknownCode;
    static const QString kRepeatedCode;

    explicit EntrySheet(QWidget* parent = nullptr);

    // The row-delete button that follows EnableLineDelete.
    void attachDeleteButton(QAbstractButton* button);

    int usedRowCount() const { return m_usedRows; }
    void setUsedRowCount(int count);

    // Sheet operations, rows counted from 1 as the user sees them.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    int activeRow() const { return currentRow() + 1; }
    int lastUsedRow() const;
    bool rowHoldsSomething(int row) const;

    void ClearSheet();
    void SetSheetRowHeight(int twips);
    // Rows of (序, 股號) values into the sheet from row 1; no rule runs meanwhile.
    void RowsToSheet(const QVector<QVector<QVariant>>& rows);
    // Texts of rows 1 to the last used row.
    QVector<QStringList> SheetToRows() const;
    void DeleteSheetRow(int row);
    bool PreviousRowFilled() const;
    void ExtendRowCount();
    void EnableLineDelete();
    bool SequenceInUse(const QString& text) const;
    void FillMissingSequence();
    int NextSequenceNumber() const;

    // Commits an in-cell edit still open (its rules run), as a save needs;
    // false when the rules refused the typed text.
    bool endEdit();
    bool isEditing() const { return m_editor != nullptr; }
    // endEdit for an editor whose text differs from its cell; an editor left
    // as it was closes with nothing changed.
    bool commitOpenEdit() override;

    // Freezes redrawing and every rule while a load fills the sheet.
    void freeze(bool frozen);

    // The names shown beside the codes, keyed by upper-case code.
    void setStockNames(QHash<QString, QString> names);

Q_SIGNALS:
    void usedRowCountChanged(int count);
    // The user changed a cell or deleted a row.
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    friend class EntrySheetDelegate;
    void editorOpened(QLineEdit* editor, const QModelIndex& index);
    bool applyEdit(int row, int column, const QString& typed);
    void cancelEdit();
    // The editor holds something else than its cell had.
    bool editorChanged() const;
    // Esc: cancels the edit, after 是 to the question when something was typed.
    void cancelEditAsked();
    // True when the key may go on; shows the message for a refused character.
    bool keyAllowed(QKeyEvent* event);
    int filterKind(int column) const;
    void moveTo(int row, int column);
    void deleteActiveRow();
    // Names, unknown codes and codes typed twice, for the rows in use.
    void refreshNames();

    QAbstractButton* m_deleteButton = nullptr;
    QLineEdit* m_editor = nullptr;
    QPersistentModelIndex m_editIndex;
    // While the question about a typed cell is open: the editor stays as it
    // is when the question box takes the focus from it.
    bool m_holdEditor = false;
    QHash<QString, QString> m_names;
    int m_usedRows = 0;
    bool m_frozen = false;
};
