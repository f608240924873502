#pragma once

#include <QString>

class QApplication;

// Language, fonts and look shared by every window.
void SetUpApplication(QApplication& app);

// The start routine: settings, single instance, login, main menu. Returns the
// process's exit code.
// `dataFolder` empty: no folder could be used, for the reason in `folderError`.
int StartRoutine(QApplication& app, const QString& dataFolder, const QString& folderError = QString());
