#pragma once

class QMainWindow;

// The one-key toolbar Toolbar1 of the screens that only close: 離開 (key
// `exit`) closes the window at once.
void AddExitToolbar(QMainWindow* window);
