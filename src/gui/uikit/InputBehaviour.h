#pragma once

class QEvent;
class QLineEdit;
class QObject;
class QWidget;

// Drops the keystrokes KeyFilter refuses for `kind` and upper-cases where the
// kind says so; pasted text is filtered the same way.
void InstallKeyFilter(QLineEdit* box, int kind);

// Letters typed or pasted into the box become upper case.
void InstallUpperCase(QLineEdit* box);

// Enter pressed on a push button of `window` presses it; in any other control
// it moves the focus on as Tab would, unless the control, or the grid it is
// editing in, has the property "handlesEnter". True when the key was taken.
bool HandleEnterKey(QObject* watched, QEvent* event, QWidget* window);

// The screen conventions: Enter moves to the next field (except in the boxes
// that opt out with the property "handlesEnter") and presses a focused push
// button, a text box selects its
// whole text when it gains the focus, and control characters pasted or
// dropped into a box are dropped.
void InstallScreenConventions(QWidget* screen);
