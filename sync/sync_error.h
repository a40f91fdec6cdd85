// Why a conversation with a CalDAV server failed, in words a user can act on.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>

namespace caldav {

enum class Failure {
    None,
    WrongPassword,      // 401/403 on a request that carried the user's credentials
    Unreachable,        // no connection, host not found, connection refused or closed
    CertificateRefused, // a certificate that does not verify and whose fingerprint is not trusted
    TimedOut,           // no progress within the connection's time limit
    TooLarge,           // a body past the connection's size limit
    Malformed,          // an answer that is not the XML or iCalendar asked for
    TooManyRedirects,
    ServerError, // any other unexpected status
    Store,       // the local store refused (busy, full, read-only)
    Withheld,    // the password was not sent where it does not belong
    Cancelled,   // the caller stopped the request (the program is closing)
};

struct SyncError {
    Failure failure = Failure::None;
    std::wstring message;    // one sentence naming the host (or the store file)
    QByteArray fingerprint;  // the refused certificate's SHA-256, hex with colons
    QString certificateAt{}; // host:port of the refused certificate
    explicit operator bool() const { return failure != Failure::None; }
};

// The error of a conversation with `host`, its sentence from the string table; `detail` is the
// status of a ServerError or the fingerprint of a CertificateRefused (kept in `fingerprint`).
SyncError ServerFailure(Failure failure, const QString& host, const QString& detail = {});
// The error of `failure` in the string table's sentence `sentenceId`, its "%1".. filled in.
SyncError FailureIn(Failure failure, int sentenceId, const QStringList& values);

} // namespace caldav
