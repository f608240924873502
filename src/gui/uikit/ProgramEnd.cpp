#include "gui/uikit/ProgramEnd.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace {
bool gEnding = false;

std::function<void()>& ExitHandler()
{
    static std::function<void()> handler;
    return handler;
}
}

bool ProgramIsEnding()
{
    return gEnding;
}

void EndProgram()
{
    if (gEnding)
        return;
    gEnding = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QPointer<QWidget> guarded(window);
        if (guarded && guarded->isVisible())
            guarded->close();
    }
    if (ExitHandler())
        ExitHandler()();
    else
        QCoreApplication::exit(0);
}

void SetProgramExitHandler(std::function<void()> handler)
{
    gEnding = false;
    ExitHandler() = std::move(handler);
}
