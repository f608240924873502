#pragma once

#include "gui/app/Screens.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QToolButton;

// The home window: eight commands, maintenance, the about box, leaving.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm主畫面 : public QMainWindow {
public:
    explicit frm主畫面(QWidget* parent = nullptr);

    // The open window of a screen, or null.
    QWidget* openScreen(ScreenId id) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* addCommand(const QString& name, const QString& caption, int glyph, int key);
    void ShowChildForm(ScreenId id);
    void showAbout();
    void leave();
    // The question before ending: the design's, or whether to drop typed work.
    bool confirmLeaving() const;
    void moveFocus(QToolButton* from, int key);

    QHash<int, QPointer<QWidget>> m_screens;
    QList<QToolButton*> m_commands;
};
