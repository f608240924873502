#include "gui/recordscreen/RecordScreen.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "gui/recordscreen/PrintPanel.h"
#include "gui/recordscreen/QueryPanel.h"
#include "gui/recordscreen/RecordToolbar.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FirstActivation.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/OpenEdit.h"
#include "gui/uikit/ProgramEnd.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>

const QString RecordScreen::kModeAdd = QStringLiteral("新增");
const QString RecordScreen::kModeEdit = QStringLiteral("修改");
const QString RecordScreen::kModeSearch = QStringLiteral("查詢");
const QString RecordScreen::kModePrint = QStringLiteral("列印");

namespace {
static_assert(RecordScreen::kPanelRaised == (QFrame::Panel | QFrame::Raised));
static_assert(RecordScreen::kPanelInset == (QFrame::Panel | QFrame::Sunken));
// The toolbar keys that act on the record shown.
QStringList RecordKeys()
{
    QStringList keys;
    for (const RecordToolKey& key : RecordToolKeys()) {
        if (key.needsRecord)
            keys << key.key;
    }
    return keys;
}
constexpr int kFlat = RecordScreen::kPanelFlat;
constexpr int kRaised = RecordScreen::kPanelRaised;
constexpr int kInset = RecordScreen::kPanelInset;
}

RecordScreen::RecordScreen(RecordScreenTexts texts, RecordScreenBehaviour behaviour, KeyTable keys)
    : QMainWindow(nullptr), m_texts(std::move(texts)), m_behaviour(behaviour), m_keys(std::move(keys))
{
    setWindowTitle(m_texts.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    buildToolbar();
    buildPanels();
    setRecordKeysEnabled(false);
    qApp->installEventFilter(this);
    OnFirstActivation(this, [this] {
        setEnabled(false);
        Edit();
        setEnabled(true);
    });
}

void RecordScreen::buildToolbar()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setIconSize(QSize(28, 28));
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    for (const RecordToolKey& key : RecordToolKeys()) {
        QAction* action = m_toolbar->addAction(RecordToolIcon(key), key.caption);
        action->setObjectName(key.key);
        action->setToolTip(key.tooltip);
        action->setCheckable(key.showsMode);
        const QString name = key.key;
        connect(action, &QAction::triggered, this, [this, name, action] {
            // A mode key stays pressed only through ShowModeScreen.
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            runKey(name);
        });
        m_actions.insert(key.key, action);
    }

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        panel->setMinimumWidth(120);
        panel->setFrameStyle(kFlat);
        bar->addWidget(panel, i == 3 ? 1 : 0);
        m_status << panel;
    }
    setStatusBar(bar);
}

void RecordScreen::buildPanels()
{
    m_panels = new QStackedWidget(this);
    m_queryPanel = new QueryPanel(m_texts.conditionFrame, m_panels);
    m_printPanel = new PrintPanel(m_panels);
    connect(m_queryPanel, &QueryPanel::optionChosen, this, [this](int index) { conditionOptionChosen(index); });
    connect(m_queryPanel, &QueryPanel::runRequested, this, &RecordScreen::RunQuery);
    connect(m_queryPanel, &QueryPanel::openRequested, this, [this](const QString& key) {
        if (mayDropTypedWork())
            ShowRecord(key);
    });
    connect(m_queryPanel, &QueryPanel::backRequested, this, &RecordScreen::GoBack);
    connect(m_printPanel, &PrintPanel::backRequested, this, &RecordScreen::GoBack);
    connect(m_printPanel, &PrintPanel::printRequested, this, [this](bool preview) { PrintList(preview); });
    m_panels->addWidget(m_queryPanel);
    m_panels->addWidget(m_printPanel);
    setCentralWidget(m_panels);
}

void RecordScreen::setRecordPanel(QWidget* panel, QList<QLineEdit*> keyFields, QWidget* firstField)
{
    m_recordPanel = panel;
    m_recordPanel->setObjectName(QStringLiteral("pic基本資料"));
    m_keyFields = std::move(keyFields);
    m_firstField = firstField;
    m_panels->insertWidget(0, panel);
    m_panels->setCurrentWidget(panel);
    for (QLineEdit* box : panel->findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textEdited, this, [this] { m_unsaved = true; });
    InstallScreenConventions(this);
    CenterForm(this);
    ClearControls(this);
}

QAction* RecordScreen::keyAction(const QString& key) const
{
    return m_actions.value(key);
}

void RecordScreen::setStatusPanel(int index, const QString& text, int frameStyle)
{
    m_status.at(index)->setText(text);
    m_status.at(index)->setFrameStyle(frameStyle);
}

// ------------------------------------------------------------------ dispatch

namespace {

// The keys that fill the record panel afresh, and so would throw typed work away.
bool ReplacesTheRecord(const QString& key)
{
    static const QStringList keys = {QStringLiteral("add"),      QStringLiteral("edit"), QStringLiteral("first"),
                                     QStringLiteral("previous"), QStringLiteral("next"), QStringLiteral("last")};
    return keys.contains(key);
}

} // namespace

bool RecordScreen::endOpenEdits()
{
    return CommitOpenEdits(m_recordPanel);
}

bool RecordScreen::mayDropTypedWork()
{
    if (!endOpenEdits())
        return false;
    return !m_unsaved || AskToDiscardUnsavedWork();
}

bool RecordScreen::holdsTypedWork()
{
    // A refused entry is still typed work.
    return !endOpenEdits() || m_unsaved;
}

void RecordScreen::runKey(const QString& key)
{
    // A code still in its cell editor is typed like the rest, for every key:
    // the save takes it, a move or the exit asks about it.
    if (!endOpenEdits())
        return;
    if (m_unsaved && ReplacesTheRecord(key) && !AskToDiscardUnsavedWork())
        return;
    m_toolbar->setEnabled(false);
    m_previousMode = m_mode;
    m_previousControl = QApplication::focusWidget();
    if (key == QLatin1String("add"))
        Add();
    else if (key == QLatin1String("edit"))
        Edit();
    else if (key == QLatin1String("del"))
        Delete(m_currentKey);
    else if (key == QLatin1String("search"))
        Search();
    else if (key == QLatin1String("save"))
        Save();
    else if (key == QLatin1String("reload"))
        Reload();
    else if (key == QLatin1String("first"))
        First();
    else if (key == QLatin1String("previous"))
        Previous();
    else if (key == QLatin1String("next"))
        Next();
    else if (key == QLatin1String("last"))
        Last();
    else if (key == QLatin1String("print"))
        OpenPrintPanel();
    else if (key == QLatin1String("exit")) {
        m_toolbar->setEnabled(true);
        if (m_unsaved ? AskToDiscardUnsavedWork() : !m_behaviour.exitAsks || askClose()) {
            m_closeApproved = true;
            close();
        }
        return;
    }
    m_toolbar->setEnabled(true);
}

bool RecordScreen::handleShortcut(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers significant = modifiers & ~Qt::KeypadModifier;
    for (const RecordToolKey& tool : RecordToolKeys()) {
        const Qt::KeyboardModifiers wanted = tool.shortcut.keyboardModifiers();
        if (tool.shortcut.key() == Qt::Key_unknown || tool.shortcut.key() != key
            || (wanted != Qt::NoModifier && significant != wanted))
            continue;
        if (!tool.needsRecord || m_actions.value(tool.key)->isEnabled())
            runKey(tool.key);
        return true;
    }
    switch (key) {
    case Qt::Key_Escape:
        if (askClose()) {
            m_closeApproved = true;
            close();
        }
        return true;
    default:
        return screenShortcut(key, significant);
    }
}

bool RecordScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this && isEnabled()) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Esc in an open cell edit belongs to the edit: it cancels it.
        if (key->key() == Qt::Key_Escape && watched->property("handlesEscape").toBool())
            return QMainWindow::eventFilter(watched, event);
        if (handleShortcut(key->key(), key->modifiers()) || HandleEnterKey(watched, event, this))
            return true;
    }
    // A press on the key field of a shown record asks before the key may change.
    if (event->type() == QEvent::MouseButtonPress && watched == m_keyFields.first() && m_mode == kModeEdit
        && !m_keyChanged && !m_currentKey.isEmpty() && m_keyFields.first()->isReadOnly()) {
        const bool no = ShowMessage(m_texts.keyChangeQuestion, QStringLiteral("詢問"), MsgIcon::Question,
                                    MsgButtons::YesNo) == MsgAnswer::No;
        if (no)
            return true;
        m_keyChanged = true;
        unlockKeyFields();
        // The press is spent: passed on, it would place the caret and undo the
        // selection, and a full box would refuse what the user types next.
        m_keyFields.first()->setFocus();
        SelectAllText(m_keyFields.first());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------ modes

void RecordScreen::ShowModeScreen(const QString& mode)
{
    const QString pressed = mode == kModeAdd      ? QStringLiteral("add")
                            : mode == kModeEdit   ? QStringLiteral("edit")
                            : mode == kModeSearch ? QStringLiteral("search")
                                                  : QStringLiteral("print");
    for (const QString& key : {QStringLiteral("add"), QStringLiteral("edit"), QStringLiteral("search"),
                               QStringLiteral("print")})
        m_actions.value(key)->setChecked(key == pressed);

    if (mode == kModeSearch) {
        setStatusPanel(0, QStringLiteral("查詢筆數"), kRaised);
        setStatusPanel(1, QString(), kInset);
        setStatusPanel(2, QString(), kFlat);
        setStatusPanel(3, QString(), kFlat);
        m_panels->setCurrentWidget(m_queryPanel);
    } else if (mode == kModePrint) {
        for (int i = 0; i < 4; ++i)
            setStatusPanel(i, QString(), kFlat);
        m_panels->setCurrentWidget(m_printPanel);
    } else {
        showRecordStatus();
        m_panels->setCurrentWidget(m_recordPanel);
    }
    repaint();
}

void RecordScreen::showRecordStatus()
{
    for (int i = 0; i < 4; ++i)
        setStatusPanel(i, QString(), kFlat);
}

void RecordScreen::setRecordKeysEnabled(bool enabled)
{
    for (const QString& key : RecordKeys())
        m_actions.value(key)->setEnabled(enabled);
}

void RecordScreen::leaveRecordPanel()
{
    if (m_mode != kModeAdd && m_mode != kModeEdit)
        return;
    m_recordKeysBefore.clear();
    for (const QString& key : RecordKeys())
        m_recordKeysBefore.insert(key, m_actions.value(key)->isEnabled());
}

void RecordScreen::restoreRecordKeys()
{
    for (const QString& key : RecordKeys())
        m_actions.value(key)->setEnabled(m_recordKeysBefore.value(key, false));
}

void RecordScreen::lockKeyFields()
{
    for (QLineEdit* key : m_keyFields)
        LockKeyField(key);
}

void RecordScreen::unlockKeyFields()
{
    for (QLineEdit* key : m_keyFields)
        UnlockKeyField(key);
}

void RecordScreen::showLoadFailure()
{
    LockControls(this);
    ShowError(m_texts.loadFailure, QStringLiteral("錯誤"));
}

// ------------------------------------------------------------------ record operations

void RecordScreen::Add()
{
    m_mode = kModeAdd;
    m_conditionsReset = true;
    ShowModeScreen(m_mode);
    setRecordKeysEnabled(false);
    if (m_behaviour.addClearsCurrentKey)
        m_currentKey.clear();
    ClearControls(this);
    clearRecordExtras();
    m_unsaved = false;
    UnlockControls(this);
    unlockKeyFields();
    m_actions.value(QStringLiteral("save"))->setEnabled(true);
    focusAfterAdd();
}

void RecordScreen::focusAfterAdd()
{
    QLineEdit* key = m_keyFields.first();
    key->setFocus();
    SelectAllText(key);
}

void RecordScreen::focusAfterLoad()
{
    m_firstField->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(m_firstField))
        SelectAllText(box);
}

void RecordScreen::Edit()
{
    m_mode = kModeEdit;
    m_conditionsReset = true;
    ShowModeScreen(m_mode);
    setRecordKeysEnabled(false);
    ClearControls(this);
    clearRecordExtras();
    m_unsaved = false;
    UnlockControls(this);
    switch (FindLastKey()) {
    case 0:
        setRecordKeysEnabled(true);
        if (LoadRecord(m_currentKey) == 9)
            showLoadFailure();
        break;
    case 1:
        LockControls(this);
        ShowInfo(QStringLiteral("資料庫無任何資料, 請先新增資料!"), QStringLiteral("訊息"));
        break;
    default:
        LockControls(this);
        break;
    }
}

int RecordScreen::FindLastKey()
{
    BusyCursor busy;
    try {
        db::Connection connection(gConnectionString);
        bool found = false;
        const QString key = HighestKey(connection, m_keys, &found);
        if (!found)
            return 1;
        m_currentKey = key;
        return 0;
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), m_texts.findLastKeyTitle);
        return 9;
    }
}

int RecordScreen::MoveRecord(MoveDirection direction)
{
    BusyCursor busy;
    try {
        db::Connection connection(gConnectionString);
        return MoveKey(connection, m_keys, direction, &m_currentKey);
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("移動資料錯誤"));
        return 9;
    }
}

int RecordScreen::LoadRecord(const QString& key)
{
    BusyCursor busy;
    ClearControls(this);
    clearRecordExtras();
    m_unsaved = false;
    lockKeyFields();
    m_keyChanged = false;
    try {
        db::Connection connection(gConnectionString);
        if (!fillFields(connection, key.trimmed()))
            return 9;
    } catch (const db::DbError&) {
        return 9;
    }
    busy.release();
    setEnabled(true);
    focusAfterLoad();
    return 0;
}

void RecordScreen::First()
{
    moveAndLoad(MoveDirection::First);
}

void RecordScreen::Last()
{
    moveAndLoad(MoveDirection::Last);
}

void RecordScreen::Previous()
{
    moveAndLoad(MoveDirection::Previous);
}

void RecordScreen::Next()
{
    moveAndLoad(MoveDirection::Next);
}

void RecordScreen::moveAndLoad(MoveDirection direction)
{
    const bool step = direction == MoveDirection::Previous || direction == MoveDirection::Next;
    if (!step || m_behaviour.unlockBeforeStep)
        UnlockControls(this);
    switch (MoveRecord(direction)) {
    case 0:
        if (LoadRecord(m_currentKey) == 9)
            showLoadFailure();
        break;
    case 1:
        // At an end: the record shown stays, its key locked again.
        LockKeyField(m_keyFields.first());
        m_keyChanged = false;
        ShowInfo(direction == MoveDirection::Previous ? QStringLiteral("目前的資料錄位置在第一筆!")
                                                      : QStringLiteral("目前的資料錄位置在最後一筆!"),
                 QStringLiteral("訊息"));
        break;
    default:
        break;
    }
}

void RecordScreen::ShowRecord(const QString& key)
{
    m_mode = kModeEdit;
    m_currentKey = key;
    ShowModeScreen(m_mode);
    setRecordKeysEnabled(true);
    UnlockControls(this);
    if (LoadRecord(key) == 9)
        showLoadFailure();
}

void RecordScreen::Reload()
{
    if (AskYesNo(QStringLiteral("確定要還原此筆資料?"), QStringLiteral("還原詢問")))
        LoadRecord(m_currentKey);
}

QString RecordScreen::typedKey() const
{
    return m_keyFields.first()->text().trimmed();
}

void RecordScreen::RefuseChangedElsewhere(bool deleting)
{
    throw db::DbError(db::ErrorKind::Other,
                      deleting ? QStringLiteral("這筆資料在您讀取之後已被其他電腦修改，這次沒有刪除。\n"
                                                "按「還原」可讀取其他電腦存的內容；\n仍要刪除，請再按一次「刪除」。")
                               : QStringLiteral("這筆資料在您讀取之後已被其他電腦修改，這次沒有儲存。\n"
                                                "按「還原」可讀取其他電腦存的內容；\n要以畫面上的內容覆蓋，請再按一次「儲存」。"));
}

void RecordScreen::Save()
{
    if (!endOpenEdits() || !readyToSave())
        return;
    const bool updating = m_mode == kModeEdit;
    if (updating && !AskYesNo(QStringLiteral("確定更新此筆資料?"), QStringLiteral("詢問")))
        return;
    const QString savedKey = typedKey();
    try {
        BusyCursor busy;
        db::Connection connection(gConnectionString);
        db::Transaction transaction(connection);
        writeRecord(connection, !updating, m_currentKey);
        transaction.commit();
        recordSaved();
        m_unsaved = false;
    } catch (const db::DbError& error) {
        ShowError(error.kind() == db::ErrorKind::DuplicateKey ? m_texts.duplicateKey : db::ErrorMessage(error),
                  updating ? QStringLiteral("更新錯誤") : QStringLiteral("儲存錯誤"));
        return;
    }
    if (m_behaviour.showSavedRecord) {
        ShowInfo(updating ? QStringLiteral("資料更新完畢!") : QStringLiteral("資料儲存完畢!"),
                 updating ? QStringLiteral("資料更新") : QStringLiteral("資料儲存"));
        if (!updating || m_keyChanged)
            FindLastKey();
        ShowRecord(savedKey);
        return;
    }
    if (!updating) {
        ShowInfo(QStringLiteral("資料儲存完畢!"), QStringLiteral("資料儲存"));
        FindLastKey();
        Add();
        return;
    }
    ShowInfo(QStringLiteral("資料更新完畢!"), QStringLiteral("資料更新"));
    if (m_keyChanged) {
        FindLastKey();
        First();
    }
}

void RecordScreen::Delete(const QString& key)
{
    if (ShowMessage(QStringLiteral("確定要刪除此筆資料?"), QStringLiteral("刪除詢問"), MsgIcon::Question,
                    MsgButtons::YesNo) == MsgAnswer::No)
        return;
    try {
        BusyCursor busy;
        db::Connection connection(gConnectionString);
        db::Transaction transaction(connection);
        deleteRecord(connection, key);
        transaction.commit();
    } catch (const db::DbError& error) {
        ShowError(db::ErrorMessage(error), QStringLiteral("刪除錯誤"));
        return;
    }
    ShowInfo(QStringLiteral("資料刪除完畢!"), QStringLiteral("資料刪除"));
    FindLastKey();
    Edit();
}

// ------------------------------------------------------------------ query and print panels

void RecordScreen::Search()
{
    leaveRecordPanel();
    m_queryPanel->showConditions(false);
    m_mode = kModeSearch;
    ShowModeScreen(m_mode);
    setRecordKeysEnabled(false);
    const QList<QLineEdit*>& boxes = m_queryPanel->conditionBoxes();
    if (m_conditionsReset) {
        // add and edit emptied every box: the first option starts afresh
        // (RunQuery below remembers what it puts in).
        m_conditionsReset = false;
        m_queryPanel->chooseOption(0);
    } else {
        for (int i = 0; i < boxes.size(); ++i)
            boxes.at(i)->setText(m_rememberedConditions.value(i).trimmed());
    }
    fillConditionDefaults();
    RunQuery();
    m_queryPanel->grid()->setFocus();
}

void RecordScreen::RunQuery()
{
    BusyCursor busy;
    m_rememberedConditions.clear();
    for (QLineEdit* box : m_queryPanel->conditionBoxes())
        m_rememberedConditions << box->text().trimmed();
    try {
        const GridQuery query = BuildQuery();
        db::Connection connection(gConnectionString);
        db::ResultSet rows = connection.query(query.sql, query.params);
        setStatusPanel(1, QString::number(rows.rowCount()), kInset);
        m_queryPanel->showRows(std::move(rows), query);
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("開始查詢錯誤"));
    }
}

void RecordScreen::OpenPrintPanel()
{
    leaveRecordPanel();
    m_mode = kModePrint;
    ShowModeScreen(m_mode);
    setRecordKeysEnabled(false);
    m_printPanel->open(m_currentKey, m_keyFields.first()->maxLength());
}

void RecordScreen::GoBack()
{
    m_mode = m_previousMode;
    if (m_mode == kModeAdd || m_mode == kModeEdit) {
        // The keys as they were: after the last record was deleted there is
        // nothing to move to, reload or delete.
        ShowModeScreen(m_mode);
        if (m_previousControl)
            m_previousControl->setFocus();
        restoreRecordKeys();
    } else if (m_mode == kModeSearch) {
        m_previousMode = kModePrint;
        m_previousControl = QApplication::focusWidget();
        ShowModeScreen(m_mode);
    } else if (m_mode == kModePrint) {
        m_previousMode = kModeSearch;
        m_previousControl = QApplication::focusWidget();
        ShowModeScreen(m_mode);
    }
}

// ------------------------------------------------------------------ closing

bool RecordScreen::askClose()
{
    if (!endOpenEdits())
        return false;
    if (m_unsaved)
        return AskToDiscardUnsavedWork();
    return ShowMessage(QStringLiteral("確定離開") + m_texts.caption + QStringLiteral("嗎？"), QStringLiteral("Quorvex"),
                       MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

void RecordScreen::closeEvent(QCloseEvent* event)
{
    // Only the user's close box asks; the exit key and the program's own closes do not.
    const bool ask = event->spontaneous() && !m_closeApproved && !ProgramIsEnding() && !qApp->isSavingSession();
    if (ask && !askClose()) {
        event->ignore();
        return;
    }
    m_closeApproved = false;
    qApp->removeEventFilter(this);
    event->accept();
}
