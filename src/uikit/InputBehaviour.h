#pragma once

class QLineEdit;
class QWidget;

// Drops the keystrokes KeyFilter refuses for `kind` and upper-cases where the
// kind says so; pasted text is filtered the same way.
void InstallKeyFilter(QLineEdit* box, int kind);

// Letters typed or pasted into the box become upper case.
void InstallUpperCase(QLineEdit* box);

// The screen conventions: Enter moves to the next field (except in the boxes
// that opt out with the property "handlesEnter"), and a text box selects its
// whole text when it gains the focus.
void InstallScreenConventions(QWidget* screen);
