// A loopback web server of one calendar file with an ETag and a Last-Modified that change with
// it, answering 304 to the version a request names; a FaultProxy before it fails on purpose.
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
