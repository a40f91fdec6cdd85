// A loopback HTTP server of the tests that serves one calendar file, as a holiday calendar's
// web server would: with an ETag and a Last-Modified that change with the file, answering 304
// to a request whose If-None-Match (or, without one, If-Modified-Since) names the version it
// holds. It runs in its own thread, so it serves a client blocking in a local event loop; put
// a FaultProxy in front of it for the failures.
#pragma once

#include <QByteArray>
#include <QList>
#include <QThread>
#include <QUrl>
#include <memory>

class IcsServer {
public:
    IcsServer();
    ~IcsServer();
    IcsServer(const IcsServer&) = delete;
    IcsServer& operator=(const IcsServer&) = delete;

    quint16 Port() const { return port_; }
    QUrl Url(const QString& path = QStringLiteral("/calendar.ics")) const;
    // A new version of the file: a new ETag and a Last-Modified a minute later.
    void Serve(const QByteArray& body);
    // The request line and headers of every request so far, and how many were answered 200.
    QList<QByteArray> Heads() const;
    int FullAnswers() const;

    struct Shared;

private:
    std::shared_ptr<Shared> shared_;
    QThread thread_;
    quint16 port_ = 0;
};
