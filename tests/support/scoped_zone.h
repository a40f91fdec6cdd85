// The process's time zone set for a test's lifetime and restored after it, even when an
// assertion ends the test early.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

class ScopedZone {
public:
    explicit ScopedZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedZone()
    {
        old_ ? setenv("TZ", old_->c_str(), 1) : unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> old_;
};
