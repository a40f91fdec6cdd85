// The current local time behind a replaceable source, so tests and the snapshot tool can run
// at a fixed "now" while the program reads the system clock.
#pragma once

#include "platform/systemtime.h"

class Clock {
public:
    virtual ~Clock() = default;
    virtual SYSTEMTIME Now() const = 0;
};

// The local wall clock.
class SystemClock : public Clock {
public:
    SYSTEMTIME Now() const override;
};

// Always answers the time it was given.
class FixedClock : public Clock {
public:
    explicit FixedClock(const SYSTEMTIME& now) : now_(now) {}
    SYSTEMTIME Now() const override { return now_; }
    void Set(const SYSTEMTIME& now) { now_ = now; }

private:
    SYSTEMTIME now_;
};

// The local time from the installed clock (the system clock unless one is installed).
SYSTEMTIME GetLocalTime();

// Installs a clock for the whole process while it lives; restores the previous one after.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    const Clock* previous_;
};
