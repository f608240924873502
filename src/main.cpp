#include "core/data/Settings.h"
#include "core/download/FetchCommand.h"
#include "gui/app/StartUp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    // A scheduled download runs without a display: no window, no login.
    if (IsFetchCommand(words)) {
        QCoreApplication app(argc, argv);
        const QString folder = QCoreApplication::applicationDirPath();
        InitSettings(folder);
        QTextStream out(stdout);
        return RunFetchCommand(QCoreApplication::arguments(), folder, out);
    }
    QApplication app(argc, argv);
    SetUpApplication(app);
    return StartRoutine(app, QCoreApplication::applicationDirPath());
}
