// The resources a pull wants, fetched a batch at a time and read into items on a thread of its
// own while the round writes the batch before: the wait for the server, the reading and the
// store's writes of a large pull overlap, and no more than two batches are held at once. A pull
// of one batch is fetched on the round's own client, on its own thread.
#pragma once

#include <QString>
#include <QUrl>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "sync/calendar_collection.h"
#include "sync/resource_text.h"
#include "sync/round_context.h"

class QThread;

namespace caldav {

struct FetchedBatch {
    std::vector<Resource> resources; // each href once (by HrefKey, the last answer for it)
    std::vector<ResourceItem> read;  // what each resource holds; nothing for a missing one
    SyncError error;
};

class PullFetcher {
public:
    PullFetcher(RoundContext& round, const QUrl& calendar, std::vector<QString> wanted);
    // Stops the thread, and counts its requests into the round's.
    ~PullFetcher();
    PullFetcher(const PullFetcher&) = delete;
    PullFetcher& operator=(const PullFetcher&) = delete;

    // The next batch; false once every one was handed out (or the fetcher was stopped).
    bool Next(FetchedBatch& out);

private:
    FetchedBatch Fetch(DavClient& client, size_t batch) const;
    void Run();

    RoundContext& round_;
    const QUrl calendar_;
    Connection connection_; // the thread's, taken on the round's thread
    const std::vector<QString> wanted_;
    const size_t size_; // resources per batch
    const size_t batches_;
    size_t handed_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<FetchedBatch> ready_; // the batch fetched ahead
    std::atomic<bool> stop_ = false;    // asked also by the thread's client while it waits
    bool finished_ = false;
    int requests_ = 0; // of the thread's client, once it finished
    std::unique_ptr<QThread> thread_;
};

} // namespace caldav
