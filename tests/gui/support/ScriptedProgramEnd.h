#pragma once

#include <functional>

// Records that the program would end instead of leaving the event loop; undone
// (ending mark included) when it goes away.
class ScriptedProgramEnd {
public:
    explicit ScriptedProgramEnd(std::function<void()> alsoDo = {});
    ~ScriptedProgramEnd();
    ScriptedProgramEnd(const ScriptedProgramEnd&) = delete;
    ScriptedProgramEnd& operator=(const ScriptedProgramEnd&) = delete;

    int count() const { return m_count; }
    bool ended() const { return m_count > 0; }

private:
    int m_count = 0;
};
