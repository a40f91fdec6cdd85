// A loopback HTTP listener on a thread of its own (it serves a client blocking in a local event
// loop, or another process), handing each connection to `serve` there.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <functional>
#include <memory>

// The value of the message's header `name` (lower case, with the colon), or empty.
inline QByteArray HeaderValue(const QByteArray& message, const QByteArray& name)
{
    for (const QByteArray& line : message.left(message.indexOf("\r\n\r\n")).split('\n')) {
        if (line.toLower().startsWith(name)) {
            return line.mid(name.size()).trimmed();
        }
    }
    return {};
}

// The connection's first whole request to `take`; the rest is dropped, and past 64 MB the link.
inline void OnRequest(QTcpSocket* client, const std::function<void(const QByteArray&)>& take)
{
    auto received = std::make_shared<QByteArray>();
    auto taken = std::make_shared<bool>(false);
    QObject::connect(client, &QTcpSocket::readyRead, client, [=] {
        *received += client->readAll();
        const qsizetype end = received->indexOf("\r\n\r\n");
        const qint64 length = end + 4 + HeaderValue(*received, "content-length:").toLongLong();
        if (!*taken && end >= 0 && received->size() >= length) {
            *taken = true;
            take(received->left(length));
        } else if (received->size() > (64 << 20)) {
            client->abort();
        }
    });
}

class LoopbackListener {
public:
    explicit LoopbackListener(const std::function<void(QTcpSocket*)>& serve)
    {
        auto* context = new QObject;
        context->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, context, &QObject::deleteLater);
        thread_.start();
        QMetaObject::invokeMethod(
            context,
            [this, context, serve] {
                auto* listener = new QTcpServer(context);
                listener->listen(QHostAddress::LocalHost, 0);
                port_ = listener->serverPort();
                QObject::connect(listener, &QTcpServer::newConnection, listener, [listener, serve] {
                    while (QTcpSocket* client = listener->nextPendingConnection()) {
                        QObject::connect(client, &QTcpSocket::disconnected, client,
                                         &QObject::deleteLater);
                        serve(client);
                    }
                });
            },
            Qt::BlockingQueuedConnection);
    }
    ~LoopbackListener()
    {
        thread_.quit();
        thread_.wait(10000);
    }
    quint16 Port() const { return port_; }
    QUrl Url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port_)).resolved(QUrl(path));
    }

private:
    QThread thread_;
    quint16 port_ = 0;
};
