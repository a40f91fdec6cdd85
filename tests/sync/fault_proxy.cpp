// The fault proxy: one request per client connection, read whole, then answered as the fault
// for its number says. Endless bodies stop at a fixed bound even if the client kept reading.
#include "tests/sync/fault_proxy.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <random>

// What a cut-short sync-collection answer left to say: the answer without its responses, where
// they stood, those still to send, and the server's own token for the end.
struct Continuation {
    QString skeleton;
    qsizetype at = 0;
    QStringList rest;
    QString token;
    QString collection;
};

struct FaultProxy::Shared {
    quint16 serverPort = 0;
    std::map<int, Continuation> continuations; // by number; the proxy's thread alone uses them
    std::mutex mutex;
    Fault fault;
    Hook arrived;
    Hook answered;
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
        Hook copy;
        {
            const std::lock_guard lock(mutex);
            copy = this->*hook;
        }
        if (copy) {
            copy(request);
        }
    }
};

namespace {

constexpr qint64 kEndlessLimit = 1ll << 30;
constexpr qint64 kEndlessQueue = 256 << 10;
constexpr qsizetype kRequestLimit = 64 << 20;

// The length of the complete request at the start of `data`, or 0 while it is incomplete.
qsizetype RequestLength(const QByteArray& data)
{
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0) {
        return 0;
    }
    qint64 length = 0;
    for (const QByteArray& line : data.left(end).split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            length = line.mid(15).trimmed().toLongLong();
        }
    }
    return data.size() >= end + 4 + length ? end + 4 + length : 0;
}

// The message with the headers starting with one of `dropped` (lower case) left out and
// `added` after the others.
QByteArray Headed(const QByteArray& message, std::initializer_list<QByteArrayView> dropped,
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

// The message with its Connection header replaced by "close": one exchange per connection.
QByteArray Closing(const QByteArray& message)
{
    return Headed(message, {"connection:", "keep-alive:"}, "Connection: close\r\n");
}

// Any element `name` of any namespace prefix, empty or with its content.
QRegularExpression Element(const QString& name)
{
    return QRegularExpression(
        QStringLiteral("<(\\w+:)?%1\\b[^>]*?(/>|>.*?</(\\w+:)?%1>)").arg(name),
        QRegularExpression::DotMatchesEverythingOption);
}

// The server's answer without what `mode` hides of the server.
QByteArray Hidden(const QByteArray& answer, FaultProxy::Mode mode)
{
    const qsizetype end = answer.indexOf("\r\n\r\n");
    if ((mode != FaultProxy::Mode::NoSyncCollection && mode != FaultProxy::Mode::EtagsOnly) ||
        end < 0) {
        return answer;
    }
    // Both servers answer with a Content-Length, which is all this reads.
    QByteArray body = answer.mid(end + 4);
    static const QRegularExpression report(
        QStringLiteral("<(\\w+:)?supported-report\\b[^>]*>((?!</(\\w+:)?supported-report>).)*"
                       "sync-collection.*?</(\\w+:)?supported-report>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression token = Element(QStringLiteral("sync-token"));
    static const QRegularExpression ctag = Element(QStringLiteral("getctag"));
    QString text = QString::fromUtf8(body).remove(report).remove(token);
    if (mode == FaultProxy::Mode::EtagsOnly) {
        text.remove(ctag);
    }
    body = text.toUtf8();
    return Headed(answer.left(end + 4), {"content-length:"},
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n") +
           body;
}

QByteArray Answer(const QByteArray& statusLine, const QByteArray& headers, const QByteArray& body)
{
    return "HTTP/1.1 " + statusLine + "\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

// The next part of a cut-short answer: half of what is left (at least one response), with a
// 507 for the collection and a continuation token while more remains, else the server's token.
QByteArray NextPart(Continuation c, FaultProxy::Shared& shared)
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
    QString body = c.skeleton;
    body.insert(c.at, responses);
    body.replace(tokenElement,
                 QStringLiteral("<sync-token xmlns=\"DAV:\">%1</sync-token>").arg(token));
    return Answer("207 Multi-Status", "Content-Type: application/xml\r\n", body.toUtf8());
}

// The server's sync-collection answer cut short, when it names more than one resource.
QByteArray Truncated(const QByteArray& answer, const QByteArray& path, FaultProxy::Shared& shared)
{
    const qsizetype end = answer.indexOf("\r\n\r\n");
    static const QRegularExpression response = Element(QStringLiteral("response"));
    static const QRegularExpression tokenText(QStringLiteral("<(\\w+:)?sync-token\\b[^>]*>(.*?)</"),
                                              QRegularExpression::DotMatchesEverythingOption);
    Continuation c;
    c.skeleton = QString::fromUtf8(answer.mid(end + 4));
    c.collection = QString::fromUtf8(path);
    for (auto it = response.globalMatch(c.skeleton); it.hasNext();)
        c.rest.push_back(it.next().captured(0));
    if (end < 0 || c.rest.size() < 2) {
        return answer;
    }
    c.token = tokenText.match(c.skeleton).captured(2);
    c.at = c.skeleton.indexOf(c.rest.front());
    c.skeleton.remove(response);
    return NextPart(c, shared);
}

void Reply(QTcpSocket* client, const QByteArray& answer)
{
    client->write(answer);
    client->disconnectFromHost();
}

// A change of the server's answer on its way to the client.
using Rewrite = std::function<QByteArray(const QByteArray& answer)>;
// A quarter of the answers, drawn from the seed, break off after half their bytes.
void Cut(QTcpSocket* client, const QByteArray& answer, FaultProxy::Shared& shared)
{
    const bool cut = shared.cuts() % 4 == 0;
    Reply(client, cut ? answer.left(answer.size() / 2) : answer);
}

// The answer with each response followed by a copy whose href's last segment begins with an
// escape ("dup" as "%64up"); both servers answer with a Content-Length, which is all this reads.
QByteArray Respelled(const QByteArray& answer)
{
    const qsizetype end = answer.indexOf("\r\n\r\n");
    if (end < 0) {
        return answer;
    }
    static const QRegularExpression response = Element(QStringLiteral("response"));
    static const QRegularExpression name(QStringLiteral("(<(\\w+:)?href\\b[^>]*>[^<]*/)(\\w)"));
    const QString body = QString::fromUtf8(answer.mid(end + 4));
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
    const QByteArray changed = (out + body.mid(at)).toUtf8();
    return Headed(answer.left(end + 4), {"content-length:"},
                  "Content-Length: " + QByteArray::number(changed.size()) + "\r\n") +
           changed;
}

void Forward(QTcpSocket* client, const QByteArray& request, int number, FaultProxy::Mode mode,
             const std::shared_ptr<FaultProxy::Shared>& shared, const Rewrite& rewrite = {})
{
    auto* server = new QTcpSocket(client);
    auto answer = std::make_shared<QByteArray>();
    QObject::connect(server, &QTcpSocket::connected, server,
                     [server, request] { server->write(Closing(request)); });
    QObject::connect(server, &QTcpSocket::readyRead, server,
                     [server, answer] { *answer += server->readAll(); });
    // The client is the context: once it goes (a killed client), its child's last signals
    // must not reach it half destroyed.
    QObject::connect(server, &QTcpSocket::disconnected, client, [=] {
        *answer += server->readAll();
        shared->Call(&FaultProxy::Shared::answered, number);
        if (mode == FaultProxy::Mode::DropAnswer) {
            client->abort();
        } else if (rewrite) {
            Reply(client, Closing(rewrite(*answer)));
        } else if (mode == FaultProxy::Mode::CutAnswers) {
            Cut(client, *answer, *shared);
        } else if (mode == FaultProxy::Mode::RespelledHrefs && request.startsWith("REPORT ")) {
            Reply(client, Closing(Respelled(*answer)));
        } else if (mode == FaultProxy::Mode::TruncatedSyncAnswers) {
            const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
            Reply(client, Closing(Truncated(*answer, path, *shared)));
        } else {
            Reply(client, Closing(Hidden(*answer, mode)));
        }
    });
    QObject::connect(server, &QTcpSocket::errorOccurred, client,
                     [client](QAbstractSocket::SocketError error) {
                         if (error != QAbstractSocket::RemoteHostClosedError) {
                             client->abort();
                         }
                     });
    server->connectToHost(QHostAddress::LocalHost, shared->serverPort);
}

void SendEndless(QTcpSocket* client, const std::shared_ptr<FaultProxy::Shared>& shared)
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

// --- The hostile servers of the credentials and data checks ---

// The value of the request's header `name` (lower case, with the colon), or empty.
QByteArray HeaderValue(const QByteArray& request, const QByteArray& name)
{
    for (const QByteArray& line : request.left(request.indexOf("\r\n\r\n")).split('\n')) {
        if (line.toLower().startsWith(name)) {
            return line.mid(name.size()).trimmed();
        }
    }
    return {};
}

// The answer with its body changed; both servers answer with a Content-Length.
QByteArray Rebodied(const QByteArray& answer, const std::function<QString(QString)>& change)
{
    const qsizetype end = answer.indexOf("\r\n\r\n");
    if (end < 0) {
        return answer;
    }
    const QByteArray body = change(QString::fromUtf8(answer.mid(end + 4))).toUtf8();
    return Headed(answer.left(end + 4), {"content-length:"},
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n") +
           body;
}

QString HomeMovedTo(const QString& body, const QUrl& elsewhere)
{
    static const QRegularExpression home(
        QStringLiteral("(<(\\w+:)?calendar-home-set\\b[^>]*>\\s*<(\\w+:)?href\\b[^>]*>)(/)"));
    const QString origin = elsewhere.adjusted(QUrl::RemovePath).toString();
    return QString(body).replace(home, QStringLiteral("\\1") + origin + QStringLiteral("/"));
}

// Two resources outside the collection at `path`: beside it, and through "..".
QString WithHostileHrefs(const QString& body, const QByteArray& path)
{
    static const QRegularExpression close(QStringLiteral("</(\\w+:)?multistatus>"));
    const QString event = QStringLiteral(
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//hostile//EN\r\nBEGIN:VEVENT\r\nUID:hostile\r\n"
        "DTSTAMP:20260101T000000Z\r\nDTSTART:20261207T100000Z\r\nSUMMARY:hostile\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n");
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

QString WithControlEtags(const QString& body)
{
    static const QRegularExpression etag(QStringLiteral("(<(\\w+:)?getetag\\b[^>]*>)[^<]*(</)"));
    return QString(body).replace(etag, QStringLiteral("\\1\"x&#13;&#10;X-Injected: 1\"\\3"));
}

QByteArray Md5Hex(const QByteArray& text)
{
    return QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex();
}

constexpr const char* kDigestRealm = "proxy";
constexpr const char* kDigestNonce = "dcd98b7102dd2f0e8b11d0f600bfb0c093";

// Whether the request answers our Digest challenge as alice / secret (RFC 7616, MD5, qop auth).
bool DigestAnswered(const QByteArray& request)
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
    const QByteArray method = request.left(request.indexOf(' '));
    const QByteArray ha1 = Md5Hex("alice:" + QByteArray(kDigestRealm) + ":secret");
    const QByteArray ha2 = Md5Hex(method + ':' + p["uri"]);
    const QByteArray expected = Md5Hex(ha1 + ':' + p["nonce"] + ':' + p["nc"] + ':' + p["cnonce"] +
                                       ':' + p["qop"] + ':' + ha2);
    return p["username"] == "alice" && p["nonce"] == kDigestNonce && p["response"] == expected;
}

void SendTrickle(QTcpSocket* client, int intervalMs)
{
    client->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml\r\n"
                  "Content-Length: 100000\r\nConnection: close\r\n\r\n");
    auto* drip = new QTimer(client);
    QObject::connect(drip, &QTimer::timeout, client, [client] { client->write(" "); });
    drip->start(std::max(intervalMs, 1));
}

void ActHostile(QTcpSocket* client, const QByteArray& request, int number,
                const FaultProxy::Fault& fault, const std::shared_ptr<FaultProxy::Shared>& shared)
{
    using Mode = FaultProxy::Mode;
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    const QByteArray plain = Headed(request, {"accept-encoding:"}, {});
    switch (fault.mode) {
    case Mode::RedirectElsewhere:
        Reply(client,
              Answer("307 Temporary Redirect",
                     "Location: " +
                         fault.elsewhere.resolved(QUrl(QString::fromUtf8(path))).toEncoded() +
                         "\r\n",
                     {}));
        break;
    case Mode::HomeElsewhere:
        Forward(client, plain, number, Mode::Pass, shared, [elsewhere = fault.elsewhere](auto& a) {
            return Rebodied(a, [&](const QString& body) { return HomeMovedTo(body, elsewhere); });
        });
        break;
    case Mode::Trickle:
        SendTrickle(client, fault.status);
        break;
    case Mode::HostileHrefs:
        Forward(client, plain, number, Mode::Pass, shared, [path](const QByteArray& a) {
            return Rebodied(a, [&](const QString& body) { return WithHostileHrefs(body, path); });
        });
        break;
    case Mode::ControlEtags:
        Forward(client, plain, number, Mode::Pass, shared,
                [](const QByteArray& a) { return Rebodied(a, WithControlEtags); });
        break;
    case Mode::DigestOnly:
        if (!DigestAnswered(request)) {
            Reply(client,
                  Answer("401 Unauthorized",
                         "WWW-Authenticate: Digest realm=\"" + QByteArray(kDigestRealm) +
                             "\", nonce=\"" + kDigestNonce + "\", qop=\"auth\", algorithm=MD5\r\n",
                         {}));
        } else {
            Forward(
                client,
                Headed(request, {"authorization:"},
                       "Authorization: Basic " + QByteArray("alice:secret").toBase64() + "\r\n"),
                number, Mode::Pass, shared);
        }
        break;
    case Mode::RefusePut:
        if (request.startsWith("PUT ") && request.contains(fault.match)) {
            Reply(client, Answer(QByteArray::number(fault.status) + " Refused",
                                 "Content-Type: application/xml\r\n",
                                 "<?xml version=\"1.0\"?><D:error xmlns:D=\"DAV:\" xmlns:C=\"urn:"
                                 "ietf:params:xml:ns:caldav\"><C:no-uid-conflict/></D:error>"));
        } else {
            Forward(client, request, number, Mode::Pass, shared);
        }
        break;
    default:
        Forward(client, request, number, Mode::Pass, shared);
        break;
    }
}

void Act(QTcpSocket* client, const QByteArray& request, int number,
         const std::shared_ptr<FaultProxy::Shared>& shared)
{
    const FaultProxy::Fault fault = shared->For(number);
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    switch (fault.mode) {
    case FaultProxy::Mode::Pass:
    case FaultProxy::Mode::DropAnswer:
    case FaultProxy::Mode::CutAnswers:
        Forward(client, request, number, fault.mode, shared);
        break;
    case FaultProxy::Mode::NoSyncCollection:
    case FaultProxy::Mode::EtagsOnly:
        if (request.startsWith("REPORT ") && request.contains("sync-collection")) {
            Reply(client, fault.status == 207
                              ? Answer("207 Multi-Status", "Content-Type: application/xml\r\n",
                                       "<multistatus xmlns=\"DAV:\"/>")
                              : Answer(QByteArray::number(fault.status) + " Fault", {}, {}));
        } else {
            // Uncompressed (Radicale compresses otherwise), so that the answer can be changed.
            Forward(client, Headed(request, {"accept-encoding:"}, {}), number, fault.mode, shared);
        }
        break;
    case FaultProxy::Mode::RespelledHrefs:
        Forward(client, Headed(request, {"accept-encoding:"}, {}), number, fault.mode, shared);
        break;
    case FaultProxy::Mode::TruncatedSyncAnswers: {
        static const QRegularExpression continuation(QStringLiteral("proxy-continue-(\\d+)"));
        const QRegularExpressionMatch asked = continuation.match(QString::fromUtf8(request));
        const auto left = shared->continuations.find(asked.captured(1).toInt());
        if (left != shared->continuations.end()) {
            Reply(client, NextPart(left->second, *shared));
        } else if (request.startsWith("REPORT ") && request.contains("sync-collection")) {
            Forward(client, Headed(request, {"accept-encoding:"}, {}), number, fault.mode, shared);
        } else {
            Forward(client, request, number, FaultProxy::Mode::Pass, shared);
        }
        break;
    }
    case FaultProxy::Mode::Status:
        Reply(client, Answer(QByteArray::number(fault.status) + " Fault", {}, {}));
        break;
    case FaultProxy::Mode::Close:
        client->disconnectFromHost();
        break;
    case FaultProxy::Mode::Stall:
        break;
    case FaultProxy::Mode::MalformedXml:
        Reply(client, Answer("207 Multi-Status", "Content-Type: application/xml\r\n",
                             "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\"><response>"
                             "<href>/broken</href></propstat></multistatus>"));
        break;
    case FaultProxy::Mode::EndlessBody:
        SendEndless(client, shared);
        break;
    case FaultProxy::Mode::RedirectLoop:
        Reply(client, Answer("301 Moved Permanently", "Location: " + path + "\r\n", {}));
        break;
    case FaultProxy::Mode::RedirectElsewhere:
    case FaultProxy::Mode::HomeElsewhere:
    case FaultProxy::Mode::Trickle:
    case FaultProxy::Mode::HostileHrefs:
    case FaultProxy::Mode::ControlEtags:
    case FaultProxy::Mode::DigestOnly:
    case FaultProxy::Mode::RefusePut:
        ActHostile(client, request, number, fault, shared);
        break;
    }
}

void Serve(QTcpSocket* client, const std::shared_ptr<FaultProxy::Shared>& shared)
{
    QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    auto received = std::make_shared<QByteArray>();
    auto taken = std::make_shared<bool>(false);
    QObject::connect(client, &QTcpSocket::readyRead, client, [=] {
        if (*taken) {
            client->readAll();
            return;
        }
        *received += client->readAll();
        const qsizetype length = RequestLength(*received);
        if (length == 0) {
            if (received->size() > kRequestLimit) {
                client->abort();
            }
            return;
        }
        *taken = true;
        {
            const std::lock_guard lock(shared->mutex);
            shared->heads.push_back(received->left(received->indexOf("\r\n\r\n")));
        }
        const int number = ++shared->requests;
        shared->Call(&FaultProxy::Shared::arrived, number);
        Act(client, received->left(length), number, shared);
    });
}

} // namespace

FaultProxy::FaultProxy(quint16 serverPort) : shared_(std::make_shared<Shared>())
{
    shared_->serverPort = serverPort;
    context_ = new QObject;
    context_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
    thread_.start();
    QMetaObject::invokeMethod(
        context_,
        [this, shared = shared_] {
            auto* listener = new QTcpServer(context_);
            listener->listen(QHostAddress::LocalHost, 0);
            port_ = listener->serverPort();
            QObject::connect(listener, &QTcpServer::newConnection, listener, [listener, shared] {
                while (QTcpSocket* client = listener->nextPendingConnection()) {
                    Serve(client, shared);
                }
            });
        },
        Qt::BlockingQueuedConnection);
}

FaultProxy::~FaultProxy()
{
    thread_.quit();
    thread_.wait(10000);
}

QUrl FaultProxy::Url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port_)).resolved(QUrl(path));
}

void FaultProxy::Set(const Fault& fault)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->fault = fault;
}

void FaultProxy::OnArrived(Hook hook)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->arrived = std::move(hook);
}

void FaultProxy::OnAnswered(Hook hook)
{
    const std::lock_guard lock(shared_->mutex);
    shared_->answered = std::move(hook);
}

int FaultProxy::Requests() const
{
    return shared_->requests;
}

QList<QByteArray> FaultProxy::Heads() const
{
    const std::lock_guard lock(shared_->mutex);
    return shared_->heads;
}

qint64 FaultProxy::EndlessBytes() const
{
    return shared_->endless;
}
