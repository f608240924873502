#pragma once

class QWidget;
class QLineEdit;

// The marker that keeps a control out of ClearControls and UnlockControls.
constexpr const char* kTagProperty = "Tag";
void SetTag(QWidget* control, const char* tag);

// Screen-wide helpers: text boxes (QLineEdit) and combo boxes (QComboBox).
void ClearControls(QWidget* screen);
void LockControls(QWidget* screen);
void UnlockControls(QWidget* screen);

// One control.
void LockField(QWidget* control);
void UnlockField(QWidget* control);
void LockKeyField(QWidget* control);
void UnlockKeyField(QWidget* control);

// Caret to the start, the whole text selected.
void SelectAllText(QLineEdit* box);

// A text one character shorter than `width` (0 or less means 7) gets one
// leading zero; any other text stays as it is.
void PadDateField(QLineEdit* box, int width = 7);

// Centres the window, a little above the middle to leave room for the taskbar,
// and again when it is first shown, once its size is final.
void CenterForm(QWidget* window);
