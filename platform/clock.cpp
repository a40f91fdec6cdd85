// The process-wide time source: the system clock by default, replaceable for tests.
#include "platform/clock.h"

#include <ctime>

namespace {

const Clock*& InstalledClock()
{
    static const SystemClock systemClock;
    static const Clock* installed = &systemClock;
    return installed;
}

} // namespace

SYSTEMTIME SystemClock::Now() const
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    SYSTEMTIME st = MakeSystemTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour, local.tm_min, local.tm_sec);
    st.wMilliseconds = static_cast<uint16_t>(ts.tv_nsec / 1000000);
    return st;
}

SYSTEMTIME GetLocalTime()
{
    return InstalledClock()->Now();
}

ScopedClock::ScopedClock(const Clock& clock) : previous_(InstalledClock())
{
    InstalledClock() = &clock;
}

ScopedClock::~ScopedClock()
{
    InstalledClock() = previous_;
}
