#pragma once

// Shows the hourglass while it lives; the normal pointer comes back on every
// way out of the scope, exceptions included.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Restores the pointer early, before a message is shown.
    void release();

private:
    bool m_active = true;
};
