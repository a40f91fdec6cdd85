// The wait cursor shown while a long operation (a load of the schedule window) runs.
#pragma once

// Shows the busy cursor for its lifetime when a GUI is running; does nothing in tools.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool shown_ = false;
};
