#include "gui/app/StartUp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    SetUpApplication(app);
    return StartRoutine(app, QCoreApplication::applicationDirPath());
}
