// QtKeychain's jobs answer asynchronously; the sync asks from a worker thread or a tool, so each
// call runs its job in a local event loop with a time limit, and leaves a late job to finish.
#include "platform/secret_store.h"

#include <qt6keychain/keychain.h>

namespace platform {

namespace {

SecretStore::Answer AnswerOf(const QKeychain::Job& job)
{
    SecretStore::Answer answer;
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

// The job lives on the heap and deletes itself after its answer, however late that comes.
template <typename Job>
SecretStore::Answer RunJob(Job* job, int waitMs,
                           const std::function<void(Job&, SecretStore::Answer&)>& more = {})
{
    job->setAutoDelete(false);
    SecretStore::Answer answer;
    answer.outcome = SecretStore::Outcome::Unavailable;
    answer.reason = QStringLiteral("The secret store did not answer.");
    WaitForAnswer<QKeychain::Job>(job, waitMs, [&](QKeychain::Job&) {
        answer = AnswerOf(*job);
        if (more) {
            more(*job, answer);
        }
    });
    return answer;
}

} // namespace

SecretStore::SecretStore(QString service, int waitMs)
    : service_(std::move(service)), waitMs_(waitMs)
{
}

QString SecretStore::AccountKey(const QString& server, const QString& user)
{
    return user + QLatin1Char('@') + server;
}

SecretStore::Answer SecretStore::Read(const QString& key) const
{
    auto* job = new QKeychain::ReadPasswordJob(service_);
    job->setKey(key);
    const auto readSecret = [](QKeychain::ReadPasswordJob& done, Answer& answer) {
        if (answer.outcome == Outcome::Done) {
            answer.secret = done.textData();
        }
    };
    return RunJob<QKeychain::ReadPasswordJob>(job, waitMs_, readSecret);
}

SecretStore::Answer SecretStore::Write(const QString& key, const QString& secret) const
{
    auto* job = new QKeychain::WritePasswordJob(service_);
    job->setKey(key);
    job->setTextData(secret);
    return RunJob(job, waitMs_);
}

SecretStore::Answer SecretStore::Remove(const QString& key) const
{
    auto* job = new QKeychain::DeletePasswordJob(service_);
    job->setKey(key);
    return RunJob(job, waitMs_);
}

} // namespace platform
