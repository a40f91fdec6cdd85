// Blocking requests over QNetworkAccessManager: each one runs a local event loop until its reply
// finished, with a progress timer, a body limit, manual redirects and certificate pinning by
// fingerprint, and turns whatever went wrong into one SyncError naming the host.
#include "sync/dav_client.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>
#include <algorithm>

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
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 at_ = 0;
};

bool CarriesOut(const QByteArray& verb)
{
    return verb == "PUT" || verb == "MKCALENDAR";
}

} // namespace

struct DavClient::Answer {
    DavResponse response;
    QByteArray location;
};

DavClient::DavClient(Connection connection)
    : connection_(std::move(connection)), network_(std::make_unique<QNetworkAccessManager>())
{
    network_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

DavClient::~DavClient() = default;

QUrl DavClient::Resolve(const QString& href) const
{
    return connection_.server.resolved(QUrl(href));
}

DavResponse DavClient::Send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    ++requests_;
    if (verb == "PUT" || verb == "DELETE") {
        ++writes_;
    }
    QUrl current = url;
    for (int redirects = 0;; ++redirects) {
        Answer answer = SendOnce(verb, current, body, headers);
        answer.response.url = current;
        if (answer.response.error || !IsRedirect(answer.response.status) ||
            answer.location.isEmpty()) {
            return answer.response;
        }
        if (redirects >= connection_.maxRedirects) {
            answer.response.error = ServerFailure(Failure::TooManyRedirects, current.host());
            return answer.response;
        }
        current = current.resolved(QUrl(QString::fromLatin1(answer.location)));
    }
}

DavClient::Answer DavClient::SendOnce(const QByteArray& verb, const QUrl& url,
                                      const QByteArray& body, const Headers& headers)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("Tamberlo"));
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    // Sent with the first request (no 401 round trip), but never down to plain http.
    const bool downgraded = connection_.server.scheme() == QLatin1String("https") &&
                            url.scheme() != QLatin1String("https");
    if (!connection_.user.isEmpty() && !downgraded) {
        const QByteArray pair =
            (connection_.user + QLatin1Char(':') + connection_.password).toUtf8();
        request.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }
    OnceBody once(body);
    if (CarriesOut(verb)) {
        request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    }
    std::unique_ptr<QNetworkReply> reply(CarriesOut(verb)
                                             ? network_->sendCustomRequest(request, verb, &once)
                                             : network_->sendCustomRequest(request, verb, body));
    reply->setReadBufferSize(kReadBuffer);

    QByteArray received;
    bool tooLarge = false;
    bool timedOut = false;
    QByteArray refusedFingerprint;
    const qint64 limit = std::max<qint64>(connection_.maxBodyBytes, 0);
    QTimer stall;
    stall.setSingleShot(true);
    const int stallMs = std::max(connection_.timeoutMs, 1);
    stall.setInterval(firstByteMs_ > 0 ? firstByteMs_ : stallMs);
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
        const bool trusted = std::any_of(
            connection_.trustedFingerprints.begin(), connection_.trustedFingerprints.end(),
            [&](const QString& t) { return t.trimmed().toUpper().toLatin1() == fingerprint; });
        if (trusted && !leaf.isNull()) {
            r->ignoreSslErrors(errors);
        } else {
            refusedFingerprint = fingerprint;
        }
    });
    QObject::connect(&stall, &QTimer::timeout, r, [&] {
        timedOut = true;
        r->abort();
    });
    QEventLoop loop;
    QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    stall.start();
    if (!r->isFinished()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    stall.stop();
    drain();

    Answer answer;
    DavResponse& response = answer.response;
    response.status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString host = url.host();
    if (tooLarge) {
        response.error = ServerFailure(Failure::TooLarge, host);
    } else if (timedOut) {
        response.error = ServerFailure(Failure::TimedOut, host);
    } else if (!refusedFingerprint.isEmpty()) {
        response.error = ServerFailure(Failure::CertificateRefused, host,
                                       QString::fromLatin1(refusedFingerprint));
    } else if (const Failure failure = TransportFailure(r->error()); failure != Failure::None) {
        response.error = ServerFailure(failure, host);
    } else if (response.status == 401) {
        response.error = ServerFailure(Failure::WrongPassword, host);
    }
    if (response.error) {
        return answer;
    }
    response.body = std::move(received);
    const QByteArray etag = r->rawHeader("ETag");
    if (!etag.startsWith("W/")) {
        response.etag = etag;
    }
    answer.location = r->rawHeader("Location");
    return answer;
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
            ServerFailure(Failure::ServerError, response.url.host(), QString::number(status));
    }
    return response;
}

const QByteArray kXml = "application/xml; charset=utf-8";

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

DavResponse DavClient::Put(const QUrl& url, const QByteArray& calendarText,
                           Precondition precondition, const QByteArray& etag)
{
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
