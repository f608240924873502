#pragma once

#include <functional>

enum class IsolatedOutcome { Succeeded, Failed, TimedOut };

// Runs `work` in a copy of this process, so that a library which loops
// forever or crashes on a damaged file takes only the copy with it. The
// copy's memory and output stay its own; only success or failure comes back.
// `waiting` is called now and then meanwhile. When no copy can be made,
// `work` runs here. POSIX systems only: the Access reader that needs it is
// built there alone.
IsolatedOutcome RunIsolated(const std::function<bool()>& work, int timeoutMilliseconds,
                            const std::function<void()>& waiting = {});
