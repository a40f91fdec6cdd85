// QtKeychain's jobs answer asynchronously; the sync asks from a worker thread or a tool, so each
// call runs its job in a local event loop with a time limit.
#include "platform/secret_store.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace platform {

namespace {

SecretStore::Answer RunJob(QKeychain::Job& job, int waitMs)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    job.start();
    if (!finished) {
        loop.exec();
    }
    SecretStore::Answer answer;
    if (!finished) {
        answer.outcome = SecretStore::Outcome::Unavailable;
        answer.reason = QStringLiteral("The secret store did not answer.");
        return answer;
    }
    switch (job.error()) {
    case QKeychain::NoError:
        answer.outcome = SecretStore::Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        answer.outcome = SecretStore::Outcome::NotFound;
        break;
    case QKeychain::NoBackendAvailable:
        answer.outcome = SecretStore::Outcome::Unavailable;
        break;
    default:
        answer.outcome = SecretStore::Outcome::Failed;
        break;
    }
    answer.reason = job.errorString();
    return answer;
}

}  // namespace

SecretStore::SecretStore(QString service, int waitMs) : service_(std::move(service)), waitMs_(waitMs)
{
}

QString SecretStore::AccountKey(const QString& server, const QString& user)
{
    return user + QLatin1Char('@') + server;
}

SecretStore::Answer SecretStore::Read(const QString& key) const
{
    QKeychain::ReadPasswordJob job(service_);
    job.setKey(key);
    Answer answer = RunJob(job, waitMs_);
    if (answer.outcome == Outcome::Done) {
        answer.secret = job.textData();
    }
    return answer;
}

SecretStore::Answer SecretStore::Write(const QString& key, const QString& secret) const
{
    QKeychain::WritePasswordJob job(service_);
    job.setKey(key);
    job.setTextData(secret);
    return RunJob(job, waitMs_);
}

SecretStore::Answer SecretStore::Remove(const QString& key) const
{
    QKeychain::DeletePasswordJob job(service_);
    job.setKey(key);
    return RunJob(job, waitMs_);
}

}  // namespace platform
