// A loopback HTTP server of the tests that serves one calendar file, as a holiday calendar's
// web server would: with an ETag and a Last-Modified that change with the file, answering 304
// to a request whose If-None-Match (or, without one, If-Modified-Since) names the version it
// holds. It runs in its own thread, so it serves a client blocking in a local event loop; put
// a FaultProxy in front of it for the failures.
#pragma once

#include <QByteArray>
#include <QList>
#include <memory>

#include "tests/sync/loopback_listener.h"

class IcsServer {
public:
    IcsServer();

    quint16 Port() const { return listener_.Port(); }
    QUrl Url(const QString& path = QStringLiteral("/calendar.ics")) const
    {
        return listener_.Url(path);
    }
    // A new version of the file: a new ETag and a Last-Modified a minute later.
    void Serve(const QByteArray& body);
    // The request line and headers of every request so far.
    QList<QByteArray> Heads() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    LoopbackListener listener_; // after shared_, which its thread uses to the end
};
