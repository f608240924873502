#pragma once

class QCoreApplication;

// Qt's own texts (file and print dialogs, standard buttons) in Traditional
// Chinese: Qt's zh_TW catalogue where it is installed, and the few texts of
// the print dialog that catalogue lacks. Safe to call more than once.
void InstallQtTranslations(QCoreApplication& app);
