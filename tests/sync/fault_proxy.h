// A loopback HTTP proxy of the tests between a client and a DAV server that can fail on
// purpose: answer an error status, close the connection, stall, send malformed XML or a body
// without end, redirect in a loop, forward a request and drop the server's answer, cut a quarter
// of the answers halfway, pass for a server without the sync-collection report (and without a
// CTag) or one that answers it in parts, name each resource twice spelled two ways; or act as a
// hostile server (a redirect or home elsewhere, a trickle, hrefs outside the collection, ETags
// with control characters, Digest only, one PUT refused). Each request gets its own connection
// to the server, and each answer closes the client's connection.
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
        // Passes, but a sync-collection REPORT is answered `status` (207: an empty multistatus)
        // and answers lose the report from supported-report-set and their sync-token.
        NoSyncCollection,
        EtagsOnly, // as NoSyncCollection, and answers lose their getctag too
        // A sync-collection answer of more than one resource is cut short as RFC 6578 lets a
        // server do: half of it, a 507 for the collection, and a token that asks for the rest.
        TruncatedSyncAnswers,
        // Hostile servers of the credentials and data checks:
        RedirectElsewhere, // 307 to the same path at `elsewhere`
        HomeElsewhere,     // passes, naming the calendar home set at `elsewhere`
        Trickle,           // a 207 whose body comes one byte every `status` ms
        HostileHrefs,      // passes, each multistatus naming resources outside the collection
        ControlEtags,      // passes, each getetag holding a line break and a header after it
        DigestOnly,        // asks for Digest (MD5) as alice / secret, then passes with Basic
        RefusePut,         // a PUT whose body holds `match` is answered `status` with a reason
        // Passes, but a seeded quarter of the server's answers break off halfway, as over a
        // link that drops.
        CutAnswers,
        // Passes, but each resource of a REPORT answer comes twice: as the server spells it,
        // then with the first letter of its name percent-encoded.
        RespelledHrefs,
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
    using Hook = std::function<void(int request)>;

    explicit FaultProxy(quint16 serverPort);
    FaultProxy(const FaultProxy&) = delete;
    FaultProxy& operator=(const FaultProxy&) = delete;

    quint16 Port() const { return listener_.Port(); }
    QUrl Url(const QString& path = QStringLiteral("/")) const { return listener_.Url(path); }
    void Set(const Fault& fault);
    // Called on the proxy's thread: when a request has arrived, and when the server's answer
    // to a forwarded request was read (before it is relayed or dropped).
    void OnArrived(Hook hook);
    void OnAnswered(Hook hook);
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
