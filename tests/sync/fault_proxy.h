// A loopback HTTP proxy before a DAV server that fails on purpose or acts as a hostile server;
// one request per connection each way.
#pragma once

#include <QCryptographicHash>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>

#include "tests/support/ical_builder.h"
#include "tests/sync/loopback_listener.h"

// What a cut-short sync-collection answer left to say, and the server's own token for its end.
struct Continuation {
    QString skeleton, token, collection;
    qsizetype at = 0; // where the responses stood
    QStringList rest;
};

class FaultProxy {
public:
    enum class Mode {
        Pass,
        Status,      // answers `status` with an empty body
        Stall,       // never answers
        EndlessBody, // 207 whose body never ends
        DropAnswer,  // forwards the request, reads the server's answer, then closes unanswered
        // Sync-collection answered `status` (207: empty), hidden, no tokens (EtagsOnly: no CTag).
        NoSyncCollection,
        EtagsOnly,
        TruncatedSyncAnswers, // in parts: half, a 507 for the collection, a token for the rest
        RedirectElsewhere,    // 307 to the same path at `elsewhere`
        HomeElsewhere,        // passes, naming the calendar home set at `elsewhere`
        HostileHrefs,         // passes, each multistatus naming resources outside the collection
        ControlEtags,         // passes, each getetag holding a line break and a header after it
        DigestOnly,           // asks for Digest (MD5) as alice / secret, then passes with Basic
        RefusePut,            // a PUT whose body holds `match` is answered `status` with a reason
        CutAnswers,           // a seeded quarter of the answers break off halfway
        RespelledHrefs, // each resource of a REPORT comes twice, its name's first letter escaped
    };
    // Applies to the requests numbered first..last (counted from 1 over all connections).
    struct Fault {
        Mode mode = Mode::Pass;
        int first = 1;
        int last = INT_MAX;
        int status = 500;
        QUrl elsewhere{};   // the other server of RedirectElsewhere and HomeElsewhere
        QByteArray match{}; // what RefusePut refuses
    };
    // Called on the proxy's thread with the request's number.
    using Hook = std::function<void(int request)>;
    explicit FaultProxy(quint16 serverPort);
    quint16 Port() const { return listener_.Port(); }
    QUrl Url(const QString& path = QStringLiteral("/")) const { return listener_.Url(path); }
    void Set(const Fault& fault)
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->fault = fault;
    }
    // `answered`: once the server's answer to a forwarded request is read, before it is relayed.
    void On(Hook arrived, Hook answered = {})
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->arrived = std::move(arrived);
        shared_->answered = std::move(answered);
    }
    int Requests() const { return shared_->requests; }
    // The request line and headers of each request, in order.
    QList<QByteArray> Heads() const
    {
        const std::lock_guard lock(shared_->mutex);
        return shared_->heads;
    }
    qint64 EndlessBytes() const { return shared_->endless; } // they stop when the client hangs up
    // What the proxy's thread works on.
    struct Shared {
        quint16 serverPort = 0;
        std::map<int, Continuation> continuations; // by number; the proxy's thread alone uses them
        std::mutex mutex;
        Fault fault;
        Hook arrived, answered;
        std::atomic<int> requests{0};
        std::atomic<qint64> endless{0};
        QList<QByteArray> heads; // under the mutex
        std::mt19937 cuts{41};   // the proxy's thread alone draws
        Fault For(int request)
        {
            const std::lock_guard lock(mutex);
            return request >= fault.first && request <= fault.last ? fault : Fault{};
        }
        void Call(Hook Shared::*hook, int request)
        {
            std::unique_lock lock(mutex);
            const Hook copy = this->*hook;
            lock.unlock();
            if (copy) {
                copy(request);
            }
        }
    };

private:
    std::shared_ptr<Shared> shared_;
    LoopbackListener listener_; // after shared_, which its thread uses to the end
};

namespace fault_proxy {

using Mode = FaultProxy::Mode;
using SharedState = std::shared_ptr<FaultProxy::Shared>;
// The server's answer as it goes on to the client; none: the connection is dropped instead.
using Rewrite = std::function<std::optional<QByteArray>(const QByteArray& answer)>;

inline constexpr qint64 kEndlessLimit = 1LL << 30; // even if the client kept reading
inline constexpr qint64 kEndlessQueue = 256 << 10;

// The message without the headers starting with one of `dropped` (lower case), `added` last.
inline QByteArray Headed(const QByteArray& message, std::initializer_list<QByteArrayView> dropped,
                         const QByteArray& added)
{
    const qsizetype end = message.indexOf("\r\n\r\n");
    if (end < 0) {
        return message;
    }
    QByteArray head;
    for (const QByteArray& line : message.left(end).split('\n')) {
        const QByteArray lower = line.toLower();
        if (std::none_of(dropped.begin(), dropped.end(),
                         [&](QByteArrayView name) { return lower.startsWith(name); })) {
            head += line.trimmed() + "\r\n";
        }
    }
    return head + added + "\r\n" + message.mid(end + 4);
}

// One exchange per connection: the message's Connection header replaced by "close".
inline QByteArray Closing(const QByteArray& message)
{
    return Headed(message, {"connection:", "keep-alive:"}, "Connection: close\r\n");
}

// The answer with its body changed; both servers answer with a Content-Length.
inline Rewrite BodyChange(const std::function<QString(QString)>& change)
{
    return [change](const QByteArray& answer) {
        const qsizetype end = answer.indexOf("\r\n\r\n");
        const QByteArray body = change(QString::fromUtf8(answer.mid(end + 4))).toUtf8();
        return end < 0 ? answer
                       : Headed(answer.left(end + 4), {"content-length:"},
                                "Content-Length: " + QByteArray::number(body.size()) + "\r\n") +
                             body;
    };
}

// Any element `name` of any namespace prefix, empty or with its content.
inline QRegularExpression Element(const QString& name)
{
    return QRegularExpression(
        QStringLiteral("<(\\w+:)?%1\\b[^>]*?(/>|>.*?</(\\w+:)?%1>)").arg(name),
        QRegularExpression::DotMatchesEverythingOption);
}

// The body without the sync-collection report and the sync-token (and, `ctag`, the getctag).
inline QString Hidden(QString body, bool ctag)
{
    static const QRegularExpression report(
        QStringLiteral("<(\\w+:)?supported-report\\b[^>]*>((?!</(\\w+:)?supported-report>).)*"
                       "sync-collection.*?</(\\w+:)?supported-report>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression token = Element(QStringLiteral("sync-token"));
    static const QRegularExpression getctag = Element(QStringLiteral("getctag"));
    body.remove(report).remove(token);
    return ctag ? body.remove(getctag) : body;
}

inline QByteArray Answer(const QByteArray& statusLine, const QByteArray& headers,
                         const QByteArray& body)
{
    return "HTTP/1.1 " + statusLine + "\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

inline QByteArray Multistatus(const QByteArray& body)
{
    return Answer("207 Multi-Status", "Content-Type: application/xml\r\n", body);
}

// Half of what is left (one response at least), a 507 and a token of ours while more remains.
inline QByteArray NextPart(Continuation c, FaultProxy::Shared& shared)
{
    const qsizetype sent = std::max<qsizetype>(1, c.rest.size() / 2);
    QString responses = c.rest.mid(0, sent).join(QString());
    c.rest = c.rest.mid(sent);
    QString token = c.token;
    if (!c.rest.isEmpty()) {
        responses += QStringLiteral("<response xmlns=\"DAV:\"><href>%1</href><status>HTTP/1.1 "
                                    "507 Insufficient Storage</status></response>")
                         .arg(c.collection);
        const int number = static_cast<int>(shared.continuations.size()) + 1;
        token = QStringLiteral("proxy-continue-%1").arg(number);
        shared.continuations[number] = c;
    }
    static const QRegularExpression tokenElement = Element(QStringLiteral("sync-token"));
    return Multistatus(
        QString(c.skeleton)
            .insert(c.at, responses)
            .replace(tokenElement,
                     QStringLiteral("<sync-token xmlns=\"DAV:\">%1</sync-token>").arg(token))
            .toUtf8());
}

// The server's sync-collection answer cut short, when it names more than one resource.
inline QByteArray Truncated(const QByteArray& answer, const QByteArray& path,
                            FaultProxy::Shared& shared)
{
    const qsizetype end = answer.indexOf("\r\n\r\n");
    static const QRegularExpression response = Element(QStringLiteral("response"));
    static const QRegularExpression tokenText(QStringLiteral("<(\\w+:)?sync-token\\b[^>]*>(.*?)</"),
                                              QRegularExpression::DotMatchesEverythingOption);
    Continuation c;
    c.skeleton = QString::fromUtf8(answer.mid(end + 4));
    c.collection = QString::fromUtf8(path);
    for (auto it = response.globalMatch(c.skeleton); it.hasNext();) {
        c.rest.push_back(it.next().captured(0));
    }
    if (end < 0 || c.rest.size() < 2) {
        return answer;
    }
    c.token = tokenText.match(c.skeleton).captured(2);
    c.at = c.skeleton.indexOf(c.rest.front());
    c.skeleton.remove(response);
    return NextPart(c, shared);
}

// Each response followed by a copy whose href's last segment starts escaped ("dup" as "%64up").
inline QString Respelled(const QString& body)
{
    static const QRegularExpression response = Element(QStringLiteral("response"));
    static const QRegularExpression name(QStringLiteral("(<(\\w+:)?href\\b[^>]*>[^<]*/)(\\w)"));
    QString out;
    qsizetype at = 0;
    for (auto it = response.globalMatch(body); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString copy = m.captured(0);
        const QRegularExpressionMatch letter = name.match(copy);
        if (letter.hasMatch()) {
            copy.replace(letter.capturedStart(3), 1,
                         QStringLiteral("%%1").arg(letter.captured(3).at(0).unicode(), 2, 16));
        }
        out += body.mid(at, m.capturedEnd(0) - at) + copy;
        at = m.capturedEnd(0);
    }
    return out + body.mid(at);
}

// Two resources outside the collection at `path`: beside it, and through "..".
inline QString WithHostileHrefs(const QString& body, const QByteArray& path)
{
    static const QRegularExpression close(QStringLiteral("</(\\w+:)?multistatus>"));
    const QString event = QString::fromStdString(
        Calendar(Event("hostile", "DTSTAMP:20260101T000000Z\r\nDTSTART:20261207T100000Z\r\n")));
    QString injected;
    for (const QString& href : {QString::fromUtf8(path) + QStringLiteral("../victim/a.ics"),
                                QStringLiteral("/victim/b.ics")}) {
        injected += QStringLiteral("<response xmlns=\"DAV:\"><href>%1</href><propstat><prop>"
                                   "<getetag>\"h1\"</getetag><calendar-data xmlns=\"urn:ietf:"
                                   "params:xml:ns:caldav\">%2</calendar-data></prop><status>"
                                   "HTTP/1.1 200 OK</status></propstat></response>")
                        .arg(href, event);
    }
    const QRegularExpressionMatch last = close.match(body);
    return last.hasMatch() ? QString(body).insert(last.capturedStart(), injected) : body;
}

inline constexpr const char* kDigestRealm = "proxy";
inline constexpr const char* kDigestNonce = "dcd98b7102dd2f0e8b11d0f600bfb0c093";

// Whether the request answers our Digest challenge as alice / secret (RFC 7616, MD5, qop auth).
inline bool DigestAnswered(const QByteArray& request)
{
    const QByteArray header = HeaderValue(request, "authorization:");
    if (!header.toLower().startsWith("digest ")) {
        return false;
    }
    static const QRegularExpression pair(QStringLiteral("(\\w+)=(\"([^\"]*)\"|[^,\\s]*)"));
    std::map<QString, QByteArray> p;
    for (auto it = pair.globalMatch(QString::fromLatin1(header.mid(7))); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        p[m.captured(1).toLower()] =
            (m.captured(3).isNull() ? m.captured(2) : m.captured(3)).toLatin1();
    }
    const auto md5 = [](const QByteArray& text) {
        return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
    };
    const QByteArray ha2 = md5(request.left(request.indexOf(' ')) + ':' + p["uri"]);
    const QByteArray expected =
        md5(md5("alice:" + QByteArray(kDigestRealm) + ":secret") + ':' + p["nonce"] + ':' +
            p["nc"] + ':' + p["cnonce"] + ':' + p["qop"] + ':' + ha2);
    return p["username"] == "alice" && p["nonce"] == kDigestNonce && p["response"] == expected;
}

inline void Reply(QTcpSocket* client, const QByteArray& answer)
{
    client->write(answer);
    client->disconnectFromHost();
}

// Forwarded uncompressed (Radicale compresses otherwise), so that the answer can be changed.
inline void Forward(QTcpSocket* client, const QByteArray& request, int number,
                    const SharedState& shared, const Rewrite& rewrite)
{
    auto* server = new QTcpSocket(client);
    auto answer = std::make_shared<QByteArray>();
    QObject::connect(server, &QTcpSocket::connected, server, [server, request] {
        server->write(Closing(Headed(request, {"accept-encoding:"}, {})));
    });
    QObject::connect(server, &QTcpSocket::readyRead, server,
                     [server, answer] { *answer += server->readAll(); });
    // The client is the context: a killed client's child's last signals must not reach it.
    QObject::connect(server, &QTcpSocket::disconnected, client, [=] {
        *answer += server->readAll();
        shared->Call(&FaultProxy::Shared::answered, number);
        const std::optional<QByteArray> relayed = rewrite ? rewrite(*answer) : *answer;
        relayed ? Reply(client, Closing(*relayed)) : client->abort();
    });
    QObject::connect(server, &QTcpSocket::errorOccurred, client,
                     [client](QAbstractSocket::SocketError error) {
                         if (error != QAbstractSocket::RemoteHostClosedError) {
                             client->abort();
                         }
                     });
    server->connectToHost(QHostAddress::LocalHost, shared->serverPort);
}

inline void SendEndless(QTcpSocket* client, const SharedState& shared)
{
    client->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml\r\n"
                  "Connection: close\r\n\r\n<multistatus xmlns=\"DAV:\">");
    const QByteArray chunk =
        QByteArray("<response><href>/endless</href></response>").repeated(1500);
    auto pump = [client, shared, chunk] {
        while (client->state() == QAbstractSocket::ConnectedState &&
               client->bytesToWrite() < kEndlessQueue && shared->endless < kEndlessLimit) {
            client->write(chunk);
            shared->endless += chunk.size();
        }
    };
    QObject::connect(client, &QTcpSocket::bytesWritten, client, pump);
    pump();
}

inline bool IsSyncReport(const QByteArray& request)
{
    return request.startsWith("REPORT ") && request.contains("sync-collection");
}

// How the proxy changes the server's answer to a request it forwards; none: as it came.
inline Rewrite RewriteFor(const FaultProxy::Fault& fault, const QByteArray& request,
                          const QByteArray& path, const SharedState& shared)
{
    switch (fault.mode) {
    case Mode::DropAnswer:
        return [](const QByteArray&) { return std::nullopt; };
    case Mode::CutAnswers: // a quarter of the answers, drawn from the seed, break off halfway
        return [shared](const QByteArray& answer) {
            return shared->cuts() % 4 == 0 ? answer.left(answer.size() / 2) : answer;
        };
    case Mode::NoSyncCollection:
    case Mode::EtagsOnly:
        return BodyChange([ctag = fault.mode == Mode::EtagsOnly](const QString& body) {
            return Hidden(body, ctag);
        });
    case Mode::RespelledHrefs:
        return request.startsWith("REPORT ") ? BodyChange(Respelled) : Rewrite();
    case Mode::TruncatedSyncAnswers:
        return IsSyncReport(request)
                   ? [path, shared](const QByteArray& a) { return Truncated(a, path, *shared); }
                   : Rewrite();
    case Mode::HomeElsewhere:
        return BodyChange([elsewhere = fault.elsewhere](QString body) {
            static const QRegularExpression home(QStringLiteral(
                "(<(\\w+:)?calendar-home-set\\b[^>]*>\\s*<(\\w+:)?href\\b[^>]*>)(/)"));
            return body.replace(home,
                                "\\1" + elsewhere.adjusted(QUrl::RemovePath).toString() + "/");
        });
    case Mode::HostileHrefs:
        return BodyChange([path](const QString& body) { return WithHostileHrefs(body, path); });
    case Mode::ControlEtags:
        return BodyChange([](QString body) {
            static const QRegularExpression etag(
                QStringLiteral("(<(\\w+:)?getetag\\b[^>]*>)[^<]*(</)"));
            return body.replace(etag, QStringLiteral("\\1\"x&#13;&#10;X-Injected: 1\"\\3"));
        });
    default:
        return {};
    }
}

inline void Act(QTcpSocket* client, const QByteArray& request, int number,
                const SharedState& shared)
{
    const FaultProxy::Fault fault = shared->For(number);
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    static const QRegularExpression continuation(QStringLiteral("proxy-continue-(\\d+)"));
    const auto left = shared->continuations.find(
        continuation.match(QString::fromUtf8(request)).captured(1).toInt());
    const QByteArray faultStatus = QByteArray::number(fault.status) + " Fault";
    if ((fault.mode == Mode::NoSyncCollection || fault.mode == Mode::EtagsOnly) &&
        IsSyncReport(request)) {
        Reply(client, fault.status == 207 ? Multistatus("<multistatus xmlns=\"DAV:\"/>")
                                          : Answer(faultStatus, {}, {}));
    } else if (fault.mode == Mode::TruncatedSyncAnswers && left != shared->continuations.end()) {
        Reply(client, NextPart(left->second, *shared));
    } else if (fault.mode == Mode::Status) {
        Reply(client, Answer(faultStatus, {}, {}));
    } else if (fault.mode == Mode::Stall) {
        return;
    } else if (fault.mode == Mode::EndlessBody) {
        SendEndless(client, shared);
    } else if (fault.mode == Mode::RedirectElsewhere) {
        const QByteArray to = fault.elsewhere.resolved(QUrl(QString::fromUtf8(path))).toEncoded();
        Reply(client, Answer("307 Temporary Redirect", "Location: " + to + "\r\n", {}));
    } else if (fault.mode == Mode::DigestOnly && !DigestAnswered(request)) {
        Reply(client,
              Answer("401 Unauthorized",
                     "WWW-Authenticate: Digest realm=\"" + QByteArray(kDigestRealm) +
                         "\", nonce=\"" + kDigestNonce + "\", qop=\"auth\", algorithm=MD5\r\n",
                     {}));
    } else if (fault.mode == Mode::RefusePut && request.startsWith("PUT ") &&
               request.contains(fault.match)) {
        Reply(client, Answer(QByteArray::number(fault.status) + " Refused",
                             "Content-Type: application/xml\r\n",
                             "<?xml version=\"1.0\"?><D:error xmlns:D=\"DAV:\" xmlns:C=\"urn:"
                             "ietf:params:xml:ns:caldav\"><C:no-uid-conflict/></D:error>"));
    } else if (fault.mode == Mode::DigestOnly) { // answered: the server takes Basic
        Forward(client,
                Headed(request, {"authorization:"},
                       "Authorization: Basic " + QByteArray("alice:secret").toBase64() + "\r\n"),
                number, shared, {});
    } else {
        Forward(client, request, number, shared, RewriteFor(fault, request, path, shared));
    }
}

inline void Serve(QTcpSocket* client, const SharedState& shared)
{
    OnRequest(client, [=](const QByteArray& request) {
        {
            const std::lock_guard lock(shared->mutex);
            shared->heads.push_back(request.left(request.indexOf("\r\n\r\n")));
        }
        const int number = ++shared->requests;
        shared->Call(&FaultProxy::Shared::arrived, number);
        Act(client, request, number, shared);
    });
}

} // namespace fault_proxy

inline FaultProxy::FaultProxy(quint16 serverPort)
    : shared_(std::make_shared<Shared>()),
      listener_([shared = shared_](QTcpSocket* client) { fault_proxy::Serve(client, shared); })
{
    shared_->serverPort = serverPort;
}
