// A loopback HTTP listener of the tests on a thread of its own, so that it serves a client that
// blocks in a local event loop or runs in another process; each connection is handed to `serve`
// on that thread, and the thread ends with the object.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <functional>

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
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    quint16 Port() const { return port_; }
    QUrl Url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port_)).resolved(QUrl(path));
    }

private:
    QThread thread_;
    quint16 port_ = 0;
};
