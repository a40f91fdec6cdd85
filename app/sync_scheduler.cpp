// Timers and the one-round-at-a-time rule; what a round does is the maker's.
#include "app/sync_scheduler.h"

#include <QTimer>
#include <algorithm>

#include "dialogs/worker_job.h"

int UsableSyncInterval(int minutes)
{
    return minutes <= 0 ? 0 : std::min(minutes, 24 * 60);
}

SyncScheduler::SyncScheduler(RoundMaker make, Finished finished, QObject* parent)
    : QObject(parent), make_(std::move(make)), finished_(std::move(finished)),
      worker_(new WorkerJob(this)), interval_(new QTimer(this)), afterChange_(new QTimer(this))
{
    interval_->setObjectName(QStringLiteral("syncInterval"));
    afterChange_->setObjectName(QStringLiteral("syncAfterChange"));
    afterChange_->setSingleShot(true);
    afterChange_->setInterval(kAfterChangeMs);
    connect(interval_, &QTimer::timeout, this, &SyncScheduler::RunNow);
    connect(afterChange_, &QTimer::timeout, this, &SyncScheduler::RunNow);
}

SyncScheduler::~SyncScheduler()
{
    *closing_ = true;
    // The worker is a child; it waits for the round when the children go, after `closing_`
    // has told the round to end where it is.
}

void SyncScheduler::SetIntervalMinutes(int minutes)
{
    const int usable = UsableSyncInterval(minutes);
    if (usable == 0) {
        interval_->stop();
        return;
    }
    interval_->start(usable * 60 * 1000);
}

void SyncScheduler::LocalChange()
{
    afterChange_->start();
}

bool SyncScheduler::Running() const
{
    return worker_->Busy();
}

void SyncScheduler::RunNow()
{
    if (worker_->Busy()) {
        again_ = true;
        return;
    }
    afterChange_->stop();
    Round round = make_();
    if (!round) {
        return;
    }
    auto outcome = std::make_shared<SyncOutcome>();
    worker_->Start([round = std::move(round), outcome,
                    closing = closing_] { *outcome = round([closing] { return !*closing; }); },
                   [this, outcome] { RoundEnded(*outcome); });
}

void SyncScheduler::RoundEnded(const SyncOutcome& outcome)
{
    if (finished_) {
        finished_(outcome);
    }
    if (again_) {
        again_ = false;
        RunNow();
    }
}
