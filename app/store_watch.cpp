// Polling a stat of two files costs nothing next to a load, works on every file system and,
// unlike a kept connection, also sees the file being replaced by another one.
#include "app/store_watch.h"

#include <sys/stat.h>

namespace {

constexpr int kLookIntervalMs = 500;

} // namespace

StoreWatch::StoreWatch(std::string storePath, QObject* parent)
    : QObject(parent), path_(std::move(storePath))
{
    known_ = Now();
    timer_.setInterval(kLookIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
    timer_.start();
}

StoreWatch::StoreState StoreWatch::Now() const
{
    const auto stateOf = [](const std::string& path) {
        FileState state;
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            return state;
        }
        state = {true,
                 st.st_dev,
                 st.st_ino,
                 static_cast<unsigned long long>(st.st_size),
                 st.st_mtim.tv_sec,
                 st.st_mtim.tv_nsec};
        return state;
    };
    return {stateOf(path_), stateOf(path_ + "-wal")};
}

void StoreWatch::OwnConnectionOpening()
{
    atOwnOpen_ = Now();
}

void StoreWatch::OwnConnectionClosed(bool othersWrote)
{
    const StoreState closed = Now();
    // Told even when others wrote too: one of the changes may be this program's.
    if (ownWrite_ && atOwnOpen_ && closed != *atOwnOpen_) {
        ownWrite_();
    }
    // A change seen before this connection opened, or committed by another while it was open,
    // is another program's, and still to follow.
    if (!othersWrote && atOwnOpen_ == known_) {
        known_ = closed;
    }
    atOwnOpen_.reset();
}

void StoreWatch::Look()
{
    if (atOwnOpen_ || !changed_) {
        return;
    }
    const StoreState now = Now();
    if (now == known_) {
        return;
    }
    if (changed_()) {
        known_ = now;
    }
}
