#include "gui/support/ScriptedProgramEnd.h"

#include "gui/uikit/ProgramEnd.h"

ScriptedProgramEnd::ScriptedProgramEnd(std::function<void()> alsoDo)
{
    SetProgramExitHandler([this, alsoDo] {
        ++m_count;
        if (alsoDo)
            alsoDo();
    });
}

ScriptedProgramEnd::~ScriptedProgramEnd()
{
    SetProgramExitHandler(nullptr);
}
