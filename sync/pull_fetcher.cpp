// One batch is fetched ahead of the one being written: the thread waits while it is not taken,
// and stops (its request abandoned within a poll) once the round stops taking.
#include "sync/pull_fetcher.h"

#include <QThread>
#include <algorithm>
#include <map>

#include "sync/read_again.h"

namespace caldav {

PullFetcher::PullFetcher(RoundContext& round, const QUrl& calendar, std::vector<QString> wanted)
    : round_(round), calendar_(calendar), connection_(round.client.Settings()),
      wanted_(std::move(wanted)), size_(static_cast<size_t>(std::max(round.options.pullBatch, 1))),
      batches_((wanted_.size() + size_ - 1) / size_)
{
    if (batches_ > 1) {
        thread_.reset(QThread::create([this] { Run(); }));
        thread_->start();
    }
}

PullFetcher::~PullFetcher()
{
    if (!thread_) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_->wait();
    round_.otherRequests += requests_;
}

bool PullFetcher::Next(FetchedBatch& out)
{
    if (handed_ >= batches_) {
        return false;
    }
    if (!thread_) {
        out = Fetch(round_.client, handed_++);
        return true;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return ready_ || finished_; });
    if (!ready_) {
        return false;
    }
    out = std::move(*ready_);
    ready_.reset();
    ++handed_;
    changed_.notify_all();
    return true;
}

FetchedBatch PullFetcher::Fetch(DavClient& client, size_t batch) const
{
    const auto first = wanted_.begin() + static_cast<std::ptrdiff_t>(batch * size_);
    const std::vector<QString> hrefs(first, first + static_cast<std::ptrdiff_t>(std::min(
                                                        size_, wanted_.size() - batch * size_)));
    FetchedBatch fetched = AskedAgain([&] {
        FetchedBatch f;
        f.resources = FetchResources(client, calendar_, hrefs, f.error);
        return f;
    });
    // A resource named twice (two spellings, two answers) is applied once, as last answered.
    std::map<std::wstring, Resource> byKey;
    for (Resource& r : fetched.resources) {
        byKey[HrefKey(r.href.toStdWString())] = std::move(r);
    }
    fetched.resources.clear();
    for (auto& [key, r] : byKey) {
        fetched.read.push_back(r.missing ? ResourceItem{}
                                         : ReadResource(r.calendarData, round_.options.now));
        fetched.resources.push_back(std::move(r));
    }
    return fetched;
}

void PullFetcher::Run()
{
    // A client of this thread's own (Qt's network objects belong to one thread), which also
    // gives up its request once the round stops taking batches.
    Connection connection = connection_;
    connection.carryOn = [this, outer = connection_.carryOn] {
        return !stop_ && (!outer || outer());
    };
    DavClient client(connection);
    for (size_t batch = 0; batch < batches_ && !stop_; ++batch) {
        FetchedBatch fetched = Fetch(client, batch);
        const bool failed = static_cast<bool>(fetched.error);
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !ready_ || stop_; });
        if (stop_) {
            break;
        }
        ready_ = std::move(fetched);
        changed_.notify_all();
        if (failed) {
            break;
        }
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    requests_ = client.RequestCount();
    changed_.notify_all();
}

} // namespace caldav
