#pragma once

#include <functional>

// Ending the program from the login screen or the main menu: every open
// window closes at once without asking, then the event loop ends.
void EndProgram();

// True from EndProgram on; screens skip their close questions then.
bool ProgramIsEnding();

// Tests record the end instead of leaving the event loop. An empty handler
// restores the real one; installing any handler also clears the ending mark.
void SetProgramExitHandler(std::function<void()> handler);
