#pragma once

#include "core/records/GridQuery.h"
#include "core/records/KeyNavigation.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QLineEdit;
class PrintPanel;
class QueryPanel;
class QStackedWidget;
class QToolBar;

namespace db {
class Connection;
}

// The texts a screen built on the frame shows in its own words.
struct RecordScreenTexts {
    QString caption;             // window caption, also in the close question
    QString loadFailure;         // "依股號顯示資料發生錯誤!"
    QString keyChangeQuestion;   // "確定修改股號?"
    QString duplicateKey;        // "股號重複!"
    QString findLastKeyTitle;    // "取得所有股號錯誤"
    QString conditionFrame;      // object name of the query panel's condition frame
};

// How the two screens built on the frame differ; everything else is the frame's.
struct RecordScreenBehaviour {
    bool exitAsks = false;              // the exit key asks the close question first
    bool unlockBeforeStep = true;       // Previous and Next run UnlockControls first
    bool showSavedRecord = false;       // after a save: ShowRecord of the saved key
    bool addClearsCurrentKey = false;   // Add forgets the record shown before
};

// The record-maintenance window: twelve toolbar keys, four modes, the record,
// query and print panels in one place, navigation in key order, and the save,
// reload and delete sequences. A screen supplies its fields and statements.
class RecordScreen : public QMainWindow {
    Q_OBJECT
public:
    static const QString kModeAdd;      // "新增"
    static const QString kModeEdit;     // "修改"
    static const QString kModeSearch;   // "查詢"
    static const QString kModePrint;    // "列印"

    // Status-bar panel styles.
    static constexpr int kPanelFlat = 0;        // QFrame::NoFrame
    static constexpr int kPanelRaised = 0x22;   // QFrame::Panel | QFrame::Raised
    static constexpr int kPanelInset = 0x32;    // QFrame::Panel | QFrame::Sunken

    const QString& mode() const { return m_mode; }
    const QString& currentKey() const { return m_currentKey; }

    // Runs a toolbar key ("add", "edit", ... "exit") exactly as a click does.
    void runKey(const QString& key);
    QAction* keyAction(const QString& key) const;

    // Frame operations (also used by the query panel).
    void Add();
    void Edit();
    void Save();
    void Delete(const QString& key);
    void Reload();
    void First();
    void Previous();
    void Next();
    void Last();
    void ShowRecord(const QString& key);
    // Typed work not saved yet: closing or moving away asks first.
    bool hasUnsavedWork() const { return m_unsaved; }
    // The same once an edit still open is ended, as whatever asks about typed
    // work first does (the main menu before it ends the program).
    bool holdsTypedWork();
    // What the user typed beyond the text boxes (a list's cells, an import).
    void markUnsaved() { m_unsaved = true; }
    // 0 done, 1 nothing there, 9 failed (already shown).
    int FindLastKey();
    int MoveRecord(MoveDirection direction);
    int LoadRecord(const QString& key);
    // Runs the screen's query into the grid of the query panel.
    void RunQuery();

    QueryPanel* queryPanel() const { return m_queryPanel; }
    PrintPanel* printPanel() const { return m_printPanel; }

protected:
    RecordScreen(RecordScreenTexts texts, RecordScreenBehaviour behaviour, KeyTable keys);

    // Called by the screen once its record panel exists.
    void setRecordPanel(QWidget* panel, QList<QLineEdit*> keyFields, QWidget* firstField);
    void setStatusPanel(int index, const QString& text, int frameStyle);
    // Ends what is still being typed on the record panel (a cell's editor, a
    // word in an input method) so that it counts as typed; false when the
    // screen refused it and said why: the action that asked stops.
    bool endOpenEdits();
    // True to go on with what would throw typed work away: nothing typed
    // (an open edit included), or 是 to "資料尚未儲存，確定放棄修改嗎？".
    bool mayDropTypedWork();

    // Refuses an update (or a delete) of a record another PC changed since
    // this screen read it. The screen then takes the stored record as the
    // one it read, so that doing it again overwrites (deletes) it knowingly.
    [[noreturn]] static void RefuseChangedElsewhere(bool deleting);

    // --- what a screen supplies ------------------------------------------
    // Fills the record panel from the stored record; false when there is none.
    virtual bool fillFields(db::Connection& connection, const QString& key) = 0;
    // The checks before a save; shows its own message and returns false to stop.
    virtual bool readyToSave() = 0;
    // Inserts (isNew) or updates the row of `currentKey` inside the open transaction.
    virtual void writeRecord(db::Connection& connection, bool isNew, const QString& currentKey) = 0;
    virtual void deleteRecord(db::Connection& connection, const QString& key) = 0;
    // After writeRecord's transaction committed.
    virtual void recordSaved() {}
    // The query of the query panel from its condition boxes.
    virtual GridQuery BuildQuery() = 0;
    // The action of condition option `index`, when clicked and when Search
    // selects the first option after add or edit.
    virtual void conditionOptionChosen(int index) { Q_UNUSED(index); }
    // Defaults for empty condition boxes, each time the query panel is entered.
    virtual void fillConditionDefaults() {}
    // The print panel's 列印 (false) and 預覽列印 (true).
    virtual void PrintList(bool preview) = 0;
    // The key of the record typed on the panel (shown again after a save).
    virtual QString typedKey() const;
    // Empties what ClearControls does not reach (the entry sheets), wherever
    // the text boxes are emptied for a new or loaded record.
    virtual void clearRecordExtras() {}
    // Where the focus goes after Add and after a load.
    virtual void focusAfterAdd();
    virtual void focusAfterLoad();
    // The status bar in "新增" and "修改"; four empty flat panels unless overridden.
    virtual void showRecordStatus();
    // A key of the screen's own beyond the record keys; true when taken.
    virtual bool screenShortcut(int key, Qt::KeyboardModifiers modifiers)
    {
        Q_UNUSED(key);
        Q_UNUSED(modifiers);
        return false;
    }

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;


private:
    void buildToolbar();
    void buildPanels();
    void ShowModeScreen(const QString& mode);
    void setRecordKeysEnabled(bool enabled);
    // The record keys as they stood when a panel replaced the record panel.
    void leaveRecordPanel();
    void restoreRecordKeys();
    void lockKeyFields();
    void unlockKeyFields();
    void showLoadFailure();
    void moveAndLoad(MoveDirection direction);
    void Search();
    void OpenPrintPanel();
    void GoBack();
    bool askClose();
    bool handleShortcut(int key, Qt::KeyboardModifiers modifiers);

    RecordScreenTexts m_texts;
    RecordScreenBehaviour m_behaviour;
    KeyTable m_keys;

    QToolBar* m_toolbar = nullptr;
    QHash<QString, QAction*> m_actions;
    QStackedWidget* m_panels = nullptr;
    QWidget* m_recordPanel = nullptr;
    QueryPanel* m_queryPanel = nullptr;
    PrintPanel* m_printPanel = nullptr;
    QStringList m_rememberedConditions;
    QList<QLabel*> m_status;
    QHash<QString, bool> m_recordKeysBefore;
    QList<QLineEdit*> m_keyFields;
    QWidget* m_firstField = nullptr;

    QString m_mode;
    QString m_currentKey;
    QString m_previousMode;
    QPointer<QWidget> m_previousControl;
    bool m_conditionsReset = false;
    bool m_keyChanged = false;
    bool m_closeApproved = false;
    // Something was typed on the record panel since it was filled or saved.
    bool m_unsaved = false;
};
