// When sync rounds run: at the user's request, every few minutes, and a few seconds after a
// change made here; always on a worker thread and one at a time. A request made during a round
// runs one more round after it, so no change waits for the next interval.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

#include "app/sync_rounds.h"

class QTimer;
class WorkerJob;

// Minutes between automatic rounds as the profile may hold them: 0 or less is off, else
// 1 .. 1440 (a day).
int UsableSyncInterval(int minutes);

class SyncScheduler : public QObject {
public:
    // Runs on the worker; `carryOn` turns false when the program is closing.
    using Round = std::function<SyncOutcome(const std::function<bool()>& carryOn)>;
    // Made on the window's thread just before each round; an empty Round means none now.
    using RoundMaker = std::function<Round()>;
    using Finished = std::function<void(const SyncOutcome&)>;

    static constexpr int kAfterChangeMs = 5000;

    SyncScheduler(RoundMaker make, Finished finished, QObject* parent = nullptr);
    // Asks a round under way to stop and waits for it.
    ~SyncScheduler() override;

    void SetIntervalMinutes(int minutes);
    // A round now, or right after the one under way.
    void RunNow();
    // A change made here: a round once the user has paused for kAfterChangeMs.
    void LocalChange();
    bool Running() const;

private:
    void RoundEnded(const SyncOutcome& outcome);

    RoundMaker make_;
    Finished finished_;
    WorkerJob* worker_;
    QTimer* interval_;    // "syncInterval"
    QTimer* afterChange_; // "syncAfterChange"
    bool again_ = false;
    std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
};
