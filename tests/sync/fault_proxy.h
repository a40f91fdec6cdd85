// A loopback HTTP proxy between a client and a DAV server that fails on purpose, or passes
// while acting as a hostile or limited server. Each request gets its own connection to the
// server, and each answer closes the client's connection.
#pragma once

#include <climits>
#include <functional>
#include <memory>

#include "tests/sync/loopback_listener.h"

class FaultProxy {
public:
    enum class Mode {
        Pass,
        Status,       // answers `status` with an empty body
        Close,        // closes the connection without an answer
        Stall,        // never answers
        MalformedXml, // 207 with XML that breaks off
        EndlessBody,  // 207 whose body never ends
        RedirectLoop, // 301 to the same address
        DropAnswer,   // forwards the request, reads the server's answer, then closes
        // A sync-collection REPORT is answered `status` (207: empty), and answers lose the report
        // from supported-report-set and their sync-token (EtagsOnly: their getctag too).
        NoSyncCollection,
        EtagsOnly,
        // A sync-collection answer naming several resources comes in parts: half of it, a 507
        // for the collection and a token asking for the rest.
        TruncatedSyncAnswers,
        RedirectElsewhere, // 307 to the same path at `elsewhere`
        HomeElsewhere,     // passes, naming the calendar home set at `elsewhere`
        Trickle,           // a 207 whose body comes one byte every `status` ms
        HostileHrefs,      // passes, each multistatus naming resources outside the collection
        ControlEtags,      // passes, each getetag holding a line break and a header after it
        DigestOnly,        // asks for Digest (MD5) as alice / secret, then passes with Basic
        RefusePut,         // a PUT whose body holds `match` is answered `status` with a reason
        CutAnswers,        // a seeded quarter of the answers break off halfway
        RespelledHrefs,    // each resource of a REPORT comes twice, its name's first letter escaped
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
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    quint16 Port() const { return listener_.Port(); }
    QUrl Url(const QString& path = QStringLiteral("/")) const { return listener_.Url(path); }
    void Set(const Fault& fault);
    // `arrived`: when a request has arrived; `answered`: when the server's answer to a forwarded
    // request was read, before it is relayed or dropped. Empty hooks are none.
    void On(Hook arrived, Hook answered = {});
    int Requests() const;
    // The request line and headers of every request so far, in order.
    QList<QByteArray> Heads() const;
    // Bytes of endless bodies written so far (they stop when the client hangs up).
    qint64 EndlessBytes() const;

    // The state the proxy's thread works on.
    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    LoopbackListener listener_; // after shared_, which its thread uses to the end
};
