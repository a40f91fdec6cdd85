// Notices changes that other programs (the tools, the reminders, a sync) make to the store
// file, so the window can follow them: the file and its write-ahead log are looked at twice a
// second; a change made while one of this program's connections was open is its own unless
// SQLite's data_version on that connection says another one committed meanwhile.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

class StoreWatch : public QObject {
public:
    // `changed` is called once the store changed; it answers false when it cannot follow now
    // (a drag is under way) and wants to be asked again at the next look.
    explicit StoreWatch(std::string storePath, QObject* parent = nullptr);

    void SetOnChange(std::function<bool()> changed) { changed_ = std::move(changed); }
    // Called when the file changed while one of this program's connections was open: most
    // likely a change of its own (the sync follows those).
    void SetOnOwnWrite(std::function<void()> written) { ownWrite_ = std::move(written); }
    // Tell the watch about each connection of this program: before it reads, and once it is
    // closed, with whether another connection committed while it was open.
    void OwnConnectionOpening();
    void OwnConnectionClosed(bool othersWrote);

private:
    // What a change to the file or its log shows in: identity, size and modification time.
    struct FileState {
        bool exists = false;
        unsigned long long device = 0, inode = 0, size = 0;
        long long seconds = 0, nanoseconds = 0;
        bool operator==(const FileState&) const = default;
    };
    struct StoreState {
        FileState store, log;
        bool operator==(const StoreState&) const = default;
    };

    StoreState Now() const;
    void Look();

    std::string path_;
    std::function<bool()> changed_;
    std::function<void()> ownWrite_;
    QTimer timer_;
    StoreState known_;
    std::optional<StoreState> atOwnOpen_;
};
