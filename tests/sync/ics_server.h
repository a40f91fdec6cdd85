// A loopback web server of one calendar file whose ETag and Last-Modified change with it,
// answering 304 to the version a request names; one request per connection.
#pragma once

#include <QByteArray>
#include <QList>
#include <memory>
#include <mutex>

#include "tests/sync/loopback_listener.h"

class IcsServer {
public:
    quint16 Port() const { return listener_.Port(); }
    QUrl Url(const QString& path = QStringLiteral("/calendar.ics")) const
    {
        return listener_.Url(path);
    }
    // A new version of the file: a new ETag and a Last-Modified a minute later.
    void Serve(const QByteArray& body)
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->body = body;
        ++shared_->version;
    }
    // The request line and headers of every request so far.
    QList<QByteArray> Heads() const
    {
        const std::lock_guard lock(shared_->mutex);
        return shared_->heads;
    }

private:
    struct Shared {
        std::mutex mutex;
        QByteArray body;
        int version = 0;
        QList<QByteArray> heads;

        QByteArray Answer(const QByteArray& request)
        {
            const std::lock_guard lock(mutex);
            heads.push_back(request.left(request.indexOf("\r\n\r\n")));
            const QByteArray etag = "\"v" + QByteArray::number(version) + '"';
            const QByteArray modified =
                "Mon, 07 Dec 2026 10:" + QByteArray::number(10 + version) + ":00 GMT";
            const QByteArray validators =
                "ETag: " + etag + "\r\nLast-Modified: " + modified + "\r\n";
            const QByteArray asked = HeaderValue(request, "if-none-match:");
            if (asked.isEmpty() ? HeaderValue(request, "if-modified-since:") == modified
                                : asked == etag) {
                return "HTTP/1.1 304 Not Modified\r\n" + validators + "Connection: close\r\n\r\n";
            }
            return "HTTP/1.1 200 OK\r\nContent-Type: text/calendar\r\n" + validators +
                   "Content-Length: " + QByteArray::number(body.size()) +
                   "\r\nConnection: close\r\n\r\n" + body;
        }
    };

    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    LoopbackListener listener_{[shared = shared_](QTcpSocket* client) { // after shared_
        OnRequest(client, [=](const QByteArray& request) {
            client->write(shared->Answer(request));
            client->disconnectFromHost();
        });
    }};
};
