// Account passwords in the desktop's secret store (Secret Service through QtKeychain), never in
// the profile or the calendar store. Each call waits for its answer, a bounded time at most, so
// a missing or hung keyring daemon costs seconds, not the program.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>
#include <functional>

namespace platform {

// How every keychain call waits: `job` reports once, through its `finished` signal, and `read`
// takes its answer. A job is never destroyed while it can still answer: it deletes itself once
// it has reported, and an answer that comes after `waitMs` reaches nobody. One that did not
// answer in time moves to the program's main thread, whose event loop outlives a worker's.
// True when the job answered in time.
template <typename Job>
bool WaitForAnswer(Job* job, int waitMs, const std::function<void(Job&)>& read)
{
    QObject::connect(job, &Job::finished, job, &QObject::deleteLater);
    QEventLoop loop;
    bool answered = false;
    QObject::connect(job, &Job::finished, &loop, [&] {
        answered = true;
        read(*job);
        loop.quit();
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    job->start();
    if (!answered) {
        loop.exec();
    }
    if (!answered && QCoreApplication::instance()) {
        job->moveToThread(QCoreApplication::instance()->thread());
    }
    return answered;
}

class SecretStore {
public:
    enum class Outcome { Done, NotFound, Unavailable, Failed };

    struct Answer {
        Outcome outcome = Outcome::Failed;
        QString secret; // the password read, for Done
        QString reason; // the keyring's own words when it failed
    };

    // Entries live under `service` (the program's name); tests pass a service of their own.
    explicit SecretStore(QString service = QStringLiteral("Tamberlo"), int waitMs = 10000);

    // The key of an account's password: its user at its server.
    static QString AccountKey(const QString& server, const QString& user);

    Answer Read(const QString& key) const;
    Answer Write(const QString& key, const QString& secret) const;
    Answer Remove(const QString& key) const;

private:
    QString service_;
    int waitMs_;
};

} // namespace platform
