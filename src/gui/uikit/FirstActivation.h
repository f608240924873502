#pragma once

#include <functional>

class QWidget;

// Runs `action` once, when the window is first activated after it opened (or,
// on a desktop that never activates windows, right after it is first shown).
void OnFirstActivation(QWidget* window, std::function<void()> action);
