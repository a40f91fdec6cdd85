// The thread is made per job: a job blocks in its own event loops (network, secret store), so
// no long-lived thread with a queue is needed.
#include "dialogs/worker_job.h"

#include <QThread>

WorkerJob::WorkerJob(QObject* parent) : QObject(parent)
{
}

WorkerJob::~WorkerJob()
{
    if (thread_) {
        thread_->disconnect(this);
        thread_->wait();
    }
}

void WorkerJob::Start(std::function<void()> work, std::function<void()> done)
{
    if (thread_) {
        return;
    }
    thread_.reset(QThread::create(std::move(work)));
    connect(thread_.get(), &QThread::finished, this, [this, done = std::move(done)] {
        // finished is sent from the thread's last moments: let it end before it is dropped.
        thread_->wait();
        const std::unique_ptr<QThread> ended = std::move(thread_);
        done();
    });
    thread_->start();
}
