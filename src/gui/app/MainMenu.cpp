#include "gui/app/MainMenu.h"

#include "core/data/Settings.h"
#include "gui/app/AboutBox.h"
#include "gui/app/MenuIcons.h"
#include "gui/recordscreen/RecordScreen.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/ProgramEnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 4;

const char* const kMenuStyle = R"(
QWidget#centralWidget { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f7fb, stop:1 #e3e9f2); }
QToolButton { background: white; border: 1px solid #c9d3e0; border-radius: 14px; padding: 10px;
              font-size: 13pt; color: #1f2a3a; }
QToolButton:hover { background: #f0f6ff; border-color: #7aa7e0; }
QToolButton:focus { border: 2px solid #2f6fd0; }
QToolButton:pressed { background: #dce9fb; }
QLabel#lblHeading { font-size: 24pt; font-weight: bold; color: #1d3f8f; }
QLabel#lblSubheading { font-size: 12pt; color: #4a5668; }
QLabel#lblHint, QLabel#lblVER { color: #6b7586; }
)";

} // namespace

frm主畫面::frm主畫面(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frm主畫面"));
    setWindowTitle(QStringLiteral("Quorvex"));

    auto* leave = menuBar()->addAction(QStringLiteral("離開"));
    leave->setObjectName(QStringLiteral("m離開"));
    leave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(leave, &QAction::triggered, this, &frm主畫面::leave);
    QList<QAction*> actions = {leave};
    const auto addScreenAction = [this, &actions](auto* where, const ScreenCommand& command) {
        QAction* action = where->addAction(QString::fromUtf16(command.caption));
        action->setObjectName(QStringLiteral("m") + QString::fromUtf16(command.caption));
        action->setShortcut(QKeySequence(command.shortcut));
        const ScreenId screen = command.id;
        connect(action, &QAction::triggered, this, [this, screen] { ShowChildForm(screen); });
        actions << action;
    };
    for (const ScreenCommand& command : ScreenCommands()) {
        if (command.place == CommandPlace::MenuBar)
            addScreenAction(menuBar(), command);
    }
    QMenu* statistics = menuBar()->addMenu(QStringLiteral("統計"));
    statistics->setObjectName(QStringLiteral("m統計"));
    for (const ScreenCommand& command : ScreenCommands()) {
        if (command.place == CommandPlace::StatisticsMenu)
            addScreenAction(statistics, command);
    }
    QMenu* help = menuBar()->addMenu(QStringLiteral("說明"));
    help->setObjectName(QStringLiteral("m說明"));
    auto* about = help->addAction(QStringLiteral("關於系統"));
    about->setObjectName(QStringLiteral("m關於系統"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    connect(about, &QAction::triggered, this, &frm主畫面::showAbout);
    // Shortcuts of menu-bar actions only fire when the window holds them too.
    addActions(actions << about);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    central->setStyleSheet(QString::fromUtf8(kMenuStyle));

    auto* heading = new QLabel(QStringLiteral("Quorvex"), central);
    heading->setObjectName(QStringLiteral("lblHeading"));
    auto* subheading = new QLabel(QStringLiteral("台股每日買超、賣超追蹤與統計"), central);
    subheading->setObjectName(QStringLiteral("lblSubheading"));

    auto* grid = new QGridLayout;
    grid->setSpacing(18);
    int index = 0;
    for (const ScreenCommand& command : ScreenCommands()) {
        if (command.place != CommandPlace::Grid)
            continue;
        const QString caption = QString::fromUtf16(command.caption);
        QToolButton* button = addCommand(QStringLiteral("cmd") + caption, caption, static_cast<int>(command.glyph),
                                         Qt::Key_1 + index);
        const ScreenId screen = command.id;
        const QString kind = command.statKind ? QString::fromUtf16(command.statKind) : QString();
        connect(button, &QToolButton::clicked, this, [this, screen, kind] {
            if (!kind.isEmpty())
                gStatKind = kind;
            ShowChildForm(screen);
        });
        grid->addWidget(button, index / kColumns, index % kColumns);
        ++index;
    }

    auto* hint = new QLabel(QStringLiteral("按數字鍵 1–8 或方向鍵選擇功能，Enter 開啟；Ctrl+B／Ctrl+S 連續買超／賣超統計表，Ctrl+R 法人累計買賣超排行，F1 關於系統，Ctrl+Q 離開。"),
                            central);
    hint->setObjectName(QStringLiteral("lblHint"));
    auto* version = new QLabel(VersionText(), central);
    version->setObjectName(QStringLiteral("lblVER"));
    auto* footer = new QHBoxLayout;
    footer->addWidget(hint);
    footer->addStretch();
    footer->addWidget(version);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(36, 24, 36, 16);
    layout->setSpacing(10);
    layout->addWidget(heading);
    layout->addWidget(subheading);
    layout->addSpacing(14);
    layout->addLayout(grid, 1);
    layout->addSpacing(8);
    layout->addLayout(footer);

    resize(980, 600);
    CenterForm(this);
    m_commands.first()->setFocus();
}

QToolButton* frm主畫面::addCommand(const QString& name, const QString& caption, int glyph, int key)
{
    auto* button = new QToolButton(centralWidget());
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(MenuIcon(static_cast<MenuGlyph>(glyph)));
    button->setIconSize(QSize(72, 72));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setMinimumSize(180, 150);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setShortcut(QKeySequence(key));
    button->setToolTip(QStringLiteral("%1（按 %2）").arg(caption).arg(key - Qt::Key_0));
    button->installEventFilter(this);
    m_commands << button;
    return button;
}

bool frm主畫面::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            moveFocus(button, key);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            button->click();
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frm主畫面::moveFocus(QToolButton* from, int key)
{
    const int count = static_cast<int>(m_commands.size());
    int at = static_cast<int>(m_commands.indexOf(from));
    if (key == Qt::Key_Left)
        at = (at + count - 1) % count;
    else if (key == Qt::Key_Right)
        at = (at + 1) % count;
    else
        at = (at + kColumns) % count;   // two rows: up and down both switch rows
    m_commands.at(at)->setFocus();
}

QWidget* frm主畫面::openScreen(ScreenId id) const
{
    return m_screens.value(static_cast<int>(id)).data();
}

void frm主畫面::ShowChildForm(ScreenId id)
{
    if (QWidget* open = openScreen(id)) {
        if (open->isMinimized())
            open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    setEnabled(false);
    QWidget* screen = nullptr;
    {
        BusyCursor busy;
        QCoreApplication::processEvents();
        screen = CreateScreen(id);
        m_screens.insert(static_cast<int>(id), screen);
        screen->show();
    }
    setEnabled(true);
}

void frm主畫面::showAbout()
{
    frm關於系統 about(this);
    about.exec();
}

bool frm主畫面::confirmLeaving() const
{
    // Ending closes every screen without asking them: typed work is asked about here.
    for (const QPointer<QWidget>& screen : m_screens) {
        auto* records = qobject_cast<RecordScreen*>(screen.data());
        if (records && records->holdsTypedWork())
            return AskToDiscardUnsavedWork();
    }
    return AskYesNo(QStringLiteral("確定離開系統嗎？"), QStringLiteral("Quorvex"));
}

void frm主畫面::leave()
{
    if (confirmLeaving())
        EndProgram();
}

void frm主畫面::closeEvent(QCloseEvent* event)
{
    // Only a close by the user asks; the program's own close and the session's end do not.
    const bool byUser = event->spontaneous() && !qApp->isSavingSession();
    if (!ProgramIsEnding() && byUser && !confirmLeaving()) {
        event->ignore();
        return;
    }
    event->accept();
    EndProgram();
}
