// A notification server on a private bus, in its own thread (a blocking Notify gets its answer):
// it keeps what it showed and closed, and clicks as a user would.
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

struct ReceivedNotification {
    QString summary, body;
};

class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QList<ReceivedNotification> Received() { return QMutexLocker(&mutex_), received_; }
    QList<uint> Closed() { return QMutexLocker(&mutex_), closed_; }

public slots:
    uint Notify(const QString& /*appName*/, uint /*replacesId*/, const QString& /*icon*/,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& /*hints*/, int /*expireTimeout*/)
    {
        QMutexLocker lock(&mutex_);
        received_.append({summary, body});
        return static_cast<uint>(received_.size());
    }
    // NOLINTNEXTLINE(readability-convert-member-functions-to-static)
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("sound")}; }
    void CloseNotification(uint id)
    {
        QMutexLocker lock(&mutex_);
        closed_.append(id);
    }
    void Click(uint id, const QString& action) { emit ActionInvoked(id, action); }

signals:
    void ActionInvoked(uint id, const QString& action);

private:
    QMutex mutex_;
    QList<ReceivedNotification> received_;
    QList<uint> closed_;
};
