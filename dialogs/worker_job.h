// One job at a time on a thread of its own, its end handed back to the owner's thread: how the
// window talks to a calendar server without waiting for it.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QThread;

class WorkerJob : public QObject {
public:
    explicit WorkerJob(QObject* parent = nullptr);
    // Waits for a job under way; its `done` is not called.
    ~WorkerJob() override;

    bool Busy() const { return thread_ != nullptr; }
    // `work` runs on the worker thread, then `done` on this object's thread. Ignored while Busy.
    void Start(std::function<void()> work, std::function<void()> done);

private:
    std::unique_ptr<QThread> thread_;
};
