// The sentences of the sync's failures, from the string table so the program and the tool word
// them alike.
#include "sync/sync_error.h"

#include "res/string_table.h"

namespace caldav {
namespace {

int SentenceId(Failure failure)
{
    switch (failure) {
    case Failure::WrongPassword:
        return res::IDS_SYNC_WRONG_PASSWORD;
    case Failure::Unreachable:
        return res::IDS_SYNC_UNREACHABLE;
    case Failure::CertificateRefused:
        return res::IDS_SYNC_CERTIFICATE_REFUSED;
    case Failure::TimedOut:
        return res::IDS_SYNC_TIMED_OUT;
    case Failure::TooLarge:
        return res::IDS_SYNC_TOO_LARGE;
    case Failure::Malformed:
        return res::IDS_SYNC_MALFORMED;
    case Failure::TooManyRedirects:
        return res::IDS_SYNC_TOO_MANY_REDIRECTS;
    case Failure::Cancelled:
        return res::IDS_SYNC_CANCELLED;
    case Failure::None:
    case Failure::ServerError:
    case Failure::Store:
    case Failure::Withheld:
        break;
    }
    return res::IDS_SYNC_SERVER_ERROR;
}

} // namespace

SyncError FailureIn(Failure failure, int sentenceId, const QStringList& values)
{
    SyncError error;
    error.failure = failure;
    const QString sentence = QString::fromStdWString(res::LoadString(sentenceId));
    // All at once: a value may hold a "%2" of its own (an escaped URL).
    const QString filled = values.size() >= 3   ? sentence.arg(values[0], values[1], values[2])
                           : values.size() == 2 ? sentence.arg(values[0], values[1])
                           : values.size() == 1 ? sentence.arg(values[0])
                                                : sentence;
    error.message = filled.toStdWString();
    return error;
}

SyncError ServerFailure(Failure failure, const QString& host, const QString& detail)
{
    SyncError error;
    error.failure = failure;
    const QString sentence = QString::fromStdWString(res::LoadString(SentenceId(failure)));
    const bool withDetail = sentence.contains(QLatin1String("%2"));
    error.message = (withDetail ? sentence.arg(host, detail) : sentence.arg(host)).toStdWString();
    if (failure == Failure::CertificateRefused) {
        error.fingerprint = detail.toLatin1();
    }
    return error;
}

} // namespace caldav
