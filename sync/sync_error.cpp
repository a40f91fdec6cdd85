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
    case Failure::None:
    case Failure::ServerError:
    case Failure::Store:
        break;
    }
    return res::IDS_SYNC_SERVER_ERROR;
}

} // namespace

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
