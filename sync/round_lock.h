// One sync round per store at a time, whichever process runs it: an advisory lock on a file
// beside the store, which the system releases when the process holding it dies, so a killed
// round never leaves the store locked.
#pragma once

#include <string>

namespace caldav {

class RoundLock {
public:
    // Tries for up to `waitMs` to take the lock of the store at `storePath`.
    RoundLock(const std::string& storePath, int waitMs);
    ~RoundLock();
    RoundLock(const RoundLock&) = delete;
    RoundLock& operator=(const RoundLock&) = delete;

    // False when another round holds the store (or the lock file could not be made).
    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

} // namespace caldav
