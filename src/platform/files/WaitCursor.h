#pragma once

#include <Qt>

// Shows a cursor for the guard's life and restores the one that was current before.
// Without a GUI application (console, tests without a window system) it does nothing.
class WaitCursor
{
public:
    explicit WaitCursor(Qt::CursorShape shape = Qt::WaitCursor);
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_active = false;
};
