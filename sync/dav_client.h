// HTTP requests to a CalDAV server over Qt Network, each finished (or failed) before it
// returns: the round runs in a worker thread or a tool, never on the window's thread. Bodies
// are bounded, stalls and slow answers time out, redirects stay on the server, the password
// goes only where it belongs, and every failure is one SyncError.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <memory>

#include "sync/connection.h"
#include "sync/sync_error.h"

class QNetworkAccessManager;

namespace caldav {

struct DavResponse {
    int status = 0; // HTTP status; 0 when there was no answer
    QByteArray body;
    QByteArray etag; // the ETag header, quotes kept, empty when absent or weak
    // The ETag header even when weak, and the Last-Modified header, as a conditional GET sends
    // them back; empty when absent or holding control characters.
    QByteArray anyEtag;
    QByteArray lastModified;
    QUrl url;        // where the answer came from, after any redirects
    QString reason;  // the status line's words, for telling the user why
    SyncError error; // set for a transport failure or a status the caller did not expect
};

// An ETag that may be sent back as a header: no control characters.
bool UsableEtag(const QByteArray& etag);

// How a PUT may land: only as a new resource, or only over the version with the given etag.
enum class Precondition { None, IfNoneMatch, IfMatch };

class DavClient {
public:
    explicit DavClient(Connection connection);
    ~DavClient();
    DavClient(const DavClient&) = delete;
    DavClient& operator=(const DavClient&) = delete;

    const Connection& Settings() const { return connection_; }

    // Each sets `error` for a status outside 2xx except the ones named, which are answers the
    // caller acts on; `status` is kept either way. 401 is WrongPassword, or Withheld where the
    // password was not sent.
    DavResponse Propfind(const QUrl& url, int depth, const QByteArray& body);
    DavResponse Report(const QUrl& url, int depth, const QByteArray& body);
    DavResponse Get(const QUrl& url); // 404
    // A GET that asks for the resource only if it changed since the answer that gave these
    // validators (either may be empty); 304 when it did not.
    DavResponse GetIfChanged(const QUrl& url, const QByteArray& etag,
                             const QByteArray& lastModified); // 304
    DavResponse Put(const QUrl& url, const QByteArray& calendarText, Precondition precondition,
                    const QByteArray& etag = {});                // 412
    DavResponse Delete(const QUrl& url, const QByteArray& etag); // 404, 412; empty etag: any
    // Creates a calendar collection (the tests make theirs with it).
    DavResponse MakeCalendar(const QUrl& url, const QString& displayName,
                             const QStringList& components = {"VEVENT", "VTODO"},
                             const QString& color = {});

    // Requests sent so far, and of those the PUTs and DELETEs (a quiet round sends none).
    int RequestCount() const { return requests_; }
    int WriteCount() const { return writes_; }
    // The wait for the first byte of each answer from now on (0: the connection's stall limit),
    // for a request the server needs long to begin answering.
    void SetFirstByteTimeout(int ms) { firstByteMs_ = ms; }

private:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    struct Answer;
    // Follows redirects on the same origin with the same verb and body, up to the
    // connection's limit; a redirect elsewhere is refused.
    DavResponse Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                     const Headers& headers);
    // Again with Digest when the server asked for it instead of Basic.
    Answer SendAuthenticated(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                             const Headers& headers);
    Answer SendOnce(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                    const Headers& headers);
    // The error of a request that got no HTTP answer, telling an https that was only assumed.
    SyncError NoAnswer(Failure failure, const QUrl& url);
    bool AnswersPlainHttp(const QUrl& url);

    Connection connection_;
    std::unique_ptr<QNetworkAccessManager> network_;
    int requests_ = 0;
    int writes_ = 0;
    // The server asked for Digest: Qt's QAuthenticator answers its challenges from now on.
    bool digest_ = false;
    int firstByteMs_ = 0;
};

} // namespace caldav
