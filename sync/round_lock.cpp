// flock(2) on "<store>.sync-lock": a lock on an open file description, so two rounds in one
// process (each opening the file) exclude each other as two processes do.
#include "sync/round_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace caldav {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(50);

} // namespace

RoundLock::RoundLock(const std::string& storePath, int waitMs)
{
    const std::string path = storePath + ".sync-lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!(held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0) &&
           std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(kPoll);
    }
}

RoundLock::~RoundLock()
{
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

} // namespace caldav
