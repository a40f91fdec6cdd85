// Blocking requests over QNetworkAccessManager: each one runs a local event loop until its reply
// finished, with a progress timer, a total deadline, a body limit, manual redirects on the same
// origin and certificate pinning by fingerprint per host, and turns whatever went wrong into one
// SyncError naming the host.
#include "sync/dav_client.h"

#include <QAuthenticator>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "res/string_table.h"
#include "sync/dav_xml.h"

namespace caldav {
namespace {

// Qt's own buffer for a reply; the body is drained from it into ours as it arrives.
constexpr qint64 kReadBuffer = 1 << 20;

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QByteArray Fingerprint(const QSslCertificate& certificate)
{
    return QCryptographicHash::hash(certificate.toDer(), QCryptographicHash::Sha256)
        .toHex(':')
        .toUpper();
}

// A transport failure of Qt's, or None when the request got an HTTP answer to read.
Failure TransportFailure(QNetworkReply::NetworkError code)
{
    if (code == QNetworkReply::NoError) {
        return Failure::None;
    }
    if (code == QNetworkReply::TimeoutError) {
        return Failure::TimedOut;
    }
    // The network and proxy layers, and a request Qt could not send again.
    if (code < QNetworkReply::ContentAccessDenied || code == QNetworkReply::ContentReSendError) {
        return Failure::Unreachable;
    }
    // Something that is not HTTP, or a redirect to a scheme Qt does not speak.
    if (code >= QNetworkReply::ProtocolUnknownError && code <= QNetworkReply::ProtocolFailure) {
        return Failure::Malformed;
    }
    return Failure::None;
}

// A request body that can be read once. Qt sends a request again by itself when a connection
// closes before its answer; a PUT the server did carry out would then meet its own effect (412)
// and look like someone else's change. With this body the loss is reported instead, and the
// next round finds the resource by its UID.
class OnceBody : public QIODevice {
public:
    explicit OnceBody(const QByteArray& data) : data_(data) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    bool reset() override { return false; }
    qint64 bytesAvailable() const override
    {
        return data_.size() - at_ + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* into, qint64 most) override
    {
        const qint64 count = std::min<qint64>(most, data_.size() - at_);
        std::copy_n(data_.constData() + at_, count, into);
        at_ += count;
        return count;
    }
    qint64 writeData(const char* /*data*/, qint64 /*len*/) override { return -1; }

private:
    QByteArray data_;
    qint64 at_ = 0;
};

bool CarriesOut(const QByteArray& verb)
{
    return verb == "PUT" || verb == "MKCALENDAR";
}

// How often a waiting request asks whether the caller still wants it.
constexpr int kCarryOnPollMs = 100;

// Scheme, host and port as a sentence names them.
QString Place(const QUrl& url)
{
    return url
        .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                  QUrl::RemoveUserInfo)
        .toString();
}

// Where a trusted fingerprint applies: host and port.
QString CertificateAt(const QUrl& url)
{
    return url.host().toLower() + QLatin1Char(':') + QString::number(url.port(443));
}

// A fingerprint trusted for this host and port, or (as older profiles kept it) for any.
bool Trusted(const QStringList& trusted, const QUrl& url, const QByteArray& fingerprint)
{
    const QString at = CertificateAt(url);
    return std::any_of(trusted.begin(), trusted.end(), [&](const QString& entry) {
        const qsizetype split = entry.indexOf(QLatin1Char('='));
        const bool here = split < 0 || entry.left(split).compare(at, Qt::CaseInsensitive) == 0;
        return here && entry.mid(split + 1).trimmed().toUpper().toLatin1() == fingerprint;
    });
}

// The names a certificate is made out to, for telling a mismatch.
QString CertificateNames(const QSslCertificate& certificate)
{
    QStringList names = certificate.subjectAlternativeNames().values(QSsl::DnsEntry);
    names += certificate.subjectAlternativeNames().values(QSsl::IpAddressEntry);
    if (names.isEmpty()) {
        names = certificate.subjectInfo(QSslCertificate::CommonName);
    }
    names.removeDuplicates();
    return names.join(QLatin1String(", "));
}

// A challenge that offers Digest and not Basic: our Basic was the wrong way to ask.
bool DigestOnly(const QByteArray& challenges)
{
    static const QRegularExpression digest(QStringLiteral("(^|,)\\s*digest(\\s|$)"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression basic(QStringLiteral("(^|,)\\s*basic(\\s|$)"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLatin1(challenges);
    return text.contains(digest) && !text.contains(basic);
}

} // namespace

bool UsableEtag(const QByteArray& etag)
{
    return std::none_of(etag.begin(), etag.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

struct DavClient::Answer {
    DavResponse response;
    QByteArray location;
    bool digestAsked = false; // a 401 to our Basic from a server that takes Digest only
};

DavClient::DavClient(Connection connection)
    : connection_(std::move(connection)), network_(std::make_unique<QNetworkAccessManager>())
{
    network_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

DavClient::~DavClient() = default;

DavResponse DavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    ++requests_;
    if (verb == "PUT" || verb == "DELETE") {
        ++writes_;
    }
    QUrl current = url;
    for (int redirects = 0;; ++redirects) {
        Answer answer = SendAuthenticated(verb, current, body, headers);
        answer.response.url = current;
        if (answer.response.error || !IsRedirect(answer.response.status) ||
            answer.location.isEmpty()) {
            return answer.response;
        }
        if (redirects >= connection_.maxRedirects) {
            answer.response.error = ServerFailure(Failure::TooManyRedirects, HostOf(current));
            return answer.response;
        }
        const QUrl next = current.resolved(QUrl::fromEncoded(answer.location));
        // Elsewhere, the password (or the calendar in a PUT) would go where the user never
        // sent it; down to http, it would go in the clear.
        if (const Redirect taken = RedirectFrom(current, next); taken != Redirect::Follow) {
            answer.response.error =
                FailureIn(Failure::Withheld,
                          taken == Redirect::Plain ? res::IDS_SYNC_REDIRECT_PLAIN
                                                   : res::IDS_SYNC_REDIRECT_ELSEWHERE,
                          {Place(current), Place(next)});
            return answer.response;
        }
        current = next;
    }
}

DavClient::Answer DavClient::SendAuthenticated(const QByteArray& verb, const QUrl& url,
                                               const QByteArray& body, const Headers& headers)
{
    Answer answer = SendOnce(verb, url, body, headers);
    if (answer.digestAsked) {
        digest_ = true;
        answer = SendOnce(verb, url, body, headers);
    }
    return answer;
}

DavClient::Answer DavClient::SendOnce(const QByteArray& verb, const QUrl& url,
                                      const QByteArray& body, const Headers& headers)
{
    Answer answer;
    DavResponse& response = answer.response;
    const QString host = HostOf(url);
    if (connection_.carryOn && !connection_.carryOn()) {
        response.error = ServerFailure(Failure::Cancelled, host);
        return answer;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("Tamberlo"));
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    const bool authenticating = !connection_.user.isEmpty() && MayAuthenticate(connection_, url);
    // Basic goes with the first request (no 401 round trip); Digest needs the server's nonce,
    // so Qt answers its challenge and sends the body again, which must then be repeatable.
    if (authenticating && !digest_) {
        const QByteArray pair =
            (connection_.user + QLatin1Char(':') + connection_.password).toUtf8();
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }
    const bool once = CarriesOut(verb) && !(authenticating && digest_);
    OnceBody onceBody(body);
    if (once) {
        request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    }
    std::unique_ptr<QNetworkReply> reply(once
                                             ? network_->sendCustomRequest(request, verb, &onceBody)
                                             : network_->sendCustomRequest(request, verb, body));
    reply->setReadBufferSize(kReadBuffer);

    QByteArray received;
    bool tooLarge = false;
    bool timedOut = false;
    bool cancelled = false;
    bool challenged = false;
    QByteArray refusedFingerprint;
    QString otherName; // the names of a certificate made out to another host
    const qint64 limit = std::max<qint64>(connection_.maxBodyBytes, 0);
    QTimer stall;
    stall.setSingleShot(true);
    const int stallMs = std::max(connection_.timeoutMs, 1);
    stall.setInterval(firstByteMs_ > 0 ? firstByteMs_ : stallMs);
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setInterval(std::max(connection_.deadlineMs, 1));
    QTimer asking;
    asking.setInterval(kCarryOnPollMs);
    QNetworkReply* r = reply.get();
    auto drain = [&] {
        while (!tooLarge && r->bytesAvailable() > 0) {
            const qint64 room = limit - received.size();
            received += r->read(std::min(r->bytesAvailable(), room + 1));
            if (received.size() > limit) {
                tooLarge = true;
                r->abort();
            }
        }
    };
    QObject::connect(r, &QNetworkReply::readyRead, &stall, [&] {
        stall.setInterval(stallMs);
        stall.start();
        drain();
    });
    QObject::connect(r, &QNetworkReply::uploadProgress, &stall, [&] { stall.start(); });
    QObject::connect(r, &QNetworkReply::metaDataChanged, &stall, [&] {
        stall.setInterval(stallMs);
        stall.start();
        const QVariant length = r->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limit) {
            tooLarge = true;
            r->abort();
        }
    });
    QObject::connect(r, &QNetworkReply::sslErrors, &stall, [&](const QList<QSslError>& errors) {
        const QSslCertificate leaf = r->sslConfiguration().peerCertificate();
        const QByteArray fingerprint = Fingerprint(leaf);
        if (!leaf.isNull() && Trusted(connection_.trustedFingerprints, url, fingerprint)) {
            r->ignoreSslErrors(errors);
            return;
        }
        refusedFingerprint = fingerprint;
        if (std::any_of(errors.begin(), errors.end(), [](const QSslError& e) {
                return e.error() == QSslError::HostNameMismatch;
            })) {
            otherName = CertificateNames(leaf);
        }
    });
    if (authenticating && digest_) {
        QObject::connect(network_.get(), &QNetworkAccessManager::authenticationRequired, &stall,
                         [&](QNetworkReply* asked, QAuthenticator* authenticator) {
                             // Once: a second challenge means the password was refused.
                             if (asked != r || std::exchange(challenged, true)) {
                                 return;
                             }
                             authenticator->setUser(connection_.user);
                             authenticator->setPassword(connection_.password);
                         });
    }
    QObject::connect(&stall, &QTimer::timeout, r, [&] {
        timedOut = true;
        r->abort();
    });
    QObject::connect(&deadline, &QTimer::timeout, r, [&] {
        timedOut = true;
        r->abort();
    });
    QObject::connect(&asking, &QTimer::timeout, r, [&] {
        if (!connection_.carryOn()) {
            cancelled = true;
            r->abort();
        }
    });
    QEventLoop loop;
    QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    stall.start();
    deadline.start();
    if (connection_.carryOn) {
        asking.start();
    }
    if (!r->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    stall.stop();
    deadline.stop();
    asking.stop();
    drain();

    response.status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.reason = r->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (cancelled) {
        response.error = ServerFailure(Failure::Cancelled, host);
    } else if (tooLarge) {
        response.error = ServerFailure(Failure::TooLarge, host);
    } else if (timedOut) {
        response.error = ServerFailure(Failure::TimedOut, host);
    } else if (!refusedFingerprint.isEmpty()) {
        const QString fingerprint = QString::fromLatin1(refusedFingerprint);
        response.error =
            otherName.isEmpty()
                ? ServerFailure(Failure::CertificateRefused, host, fingerprint)
                : FailureIn(Failure::CertificateRefused, res::IDS_SYNC_CERTIFICATE_NAME,
                            {host, otherName, fingerprint});
        response.error.fingerprint = refusedFingerprint;
        response.error.certificateAt = CertificateAt(url);
    } else if (const Failure failure = TransportFailure(r->error()); failure != Failure::None) {
        response.error = NoAnswer(failure, url);
    } else if (response.status == 401) {
        if (!connection_.user.isEmpty() && !authenticating) {
            response.error = FailureIn(Failure::Withheld, res::IDS_SYNC_PASSWORD_WITHHELD,
                                       {HostOf(connection_.server), host});
        } else if (authenticating && !digest_ && DigestOnly(r->rawHeader("WWW-Authenticate"))) {
            answer.digestAsked = true;
        } else {
            response.error = ServerFailure(Failure::WrongPassword, host);
        }
    }
    if (response.error) {
        return answer;
    }
    response.body = std::move(received);
    const QByteArray etag = r->rawHeader("ETag");
    if (!etag.startsWith("W/") && UsableEtag(etag)) {
        response.etag = etag;
    }
    if (UsableEtag(etag)) {
        response.anyEtag = etag;
    }
    if (const QByteArray modified = r->rawHeader("Last-Modified"); UsableEtag(modified)) {
        response.lastModified = modified;
    }
    answer.location = r->rawHeader("Location");
    return answer;
}

SyncError DavClient::NoAnswer(Failure failure, const QUrl& url)
{
    const QString host = HostOf(url);
    if (failure != Failure::Unreachable || !connection_.httpsAssumed ||
        url.scheme() != QLatin1String("https")) {
        return ServerFailure(failure, host);
    }
    if (!AnswersPlainHttp(url)) {
        return FailureIn(Failure::Unreachable, res::IDS_SYNC_HTTPS_ASSUMED, {host});
    }
    QUrl plain = connection_.server;
    plain.setScheme(QStringLiteral("http"));
    plain.setPort(connection_.server.port(443));
    return FailureIn(Failure::Unreachable, res::IDS_SYNC_ANSWERED_PLAIN, {host, plain.toString()});
}

// Whether the port that did not speak TLS answers HTTP: a GET of "/" without credentials.
bool DavClient::AnswersPlainHttp(const QUrl& url)
{
    QUrl plain(QStringLiteral("http://placeholder/"));
    plain.setHost(url.host());
    plain.setPort(url.port(443));
    std::unique_ptr<QNetworkReply> reply(network_->get(QNetworkRequest(plain)));
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    limit.start(std::max(std::min(connection_.timeoutMs, connection_.deadlineMs), 1));
    if (!reply->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() > 0;
}

namespace {

// Marks a status outside 2xx and the caller's own answers as a server error.
DavResponse Expect(DavResponse response, std::initializer_list<int> answers)
{
    const int status = response.status;
    const bool fine = (status >= 200 && status < 300) ||
                      std::find(answers.begin(), answers.end(), status) != answers.end();
    if (!response.error && !fine) {
        response.error =
            ServerFailure(Failure::ServerError, HostOf(response.url), QString::number(status));
    }
    return response;
}

const QByteArray kXml = "application/xml; charset=utf-8";

// A request whose ETag came from the server with control characters: never a header.
DavResponse Unsendable(const QUrl& url)
{
    DavResponse response;
    response.url = url;
    response.error = ServerFailure(Failure::Malformed, HostOf(url));
    return response;
}

} // namespace

DavResponse DavClient::Propfind(const QUrl& url, int depth, const QByteArray& body)
{
    return Expect(
        Send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}, {"Content-Type", kXml}}),
        {});
}

DavResponse DavClient::Report(const QUrl& url, int depth, const QByteArray& body)
{
    return Expect(
        Send("REPORT", url, body, {{"Depth", QByteArray::number(depth)}, {"Content-Type", kXml}}),
        {});
}

DavResponse DavClient::Get(const QUrl& url)
{
    return Expect(Send("GET", url, {}, {}), {404});
}

DavResponse DavClient::GetIfChanged(const QUrl& url, const QByteArray& etag,
                                    const QByteArray& lastModified)
{
    if (!UsableEtag(etag) || !UsableEtag(lastModified)) {
        return Unsendable(url);
    }
    Headers headers;
    if (!etag.isEmpty()) {
        headers.append(std::pair<QByteArray, QByteArray>("If-None-Match", etag));
    }
    if (!lastModified.isEmpty()) {
        headers.append(std::pair<QByteArray, QByteArray>("If-Modified-Since", lastModified));
    }
    return Expect(Send("GET", url, {}, headers), {304});
}

DavResponse DavClient::Put(const QUrl& url, const QByteArray& calendarText,
                           Precondition precondition, const QByteArray& etag)
{
    if (precondition == Precondition::IfMatch && !UsableEtag(etag)) {
        return Unsendable(url);
    }
    Headers headers{{"Content-Type", "text/calendar; charset=utf-8"}};
    if (precondition == Precondition::IfNoneMatch) {
        headers.append(std::pair<QByteArray, QByteArray>("If-None-Match", "*"));
    } else if (precondition == Precondition::IfMatch) {
        headers.append(std::pair<QByteArray, QByteArray>("If-Match", etag));
    }
    return Expect(Send("PUT", url, calendarText, headers), {412});
}

DavResponse DavClient::Delete(const QUrl& url, const QByteArray& etag)
{
    if (!UsableEtag(etag)) {
        return Unsendable(url);
    }
    Headers headers;
    if (!etag.isEmpty()) {
        headers.append(std::pair<QByteArray, QByteArray>("If-Match", etag));
    }
    return Expect(Send("DELETE", url, {}, headers), {404, 412});
}

DavResponse DavClient::MakeCalendar(const QUrl& url, const QString& displayName,
                                    const QStringList& components, const QString& color)
{
    return Expect(Send("MKCALENDAR", url, MakeCalendarBody(displayName, components, color),
                       {{"Content-Type", kXml}}),
                  {});
}

} // namespace caldav
