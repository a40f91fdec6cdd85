// Notifications through the freedesktop notification service (org.freedesktop.Notifications) on
// a D-Bus connection: the session bus in a normal run, a private bus in tests.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <set>

#include "platform/notifier.h"

class DBusNotifier : public QObject, public Notifier {
    Q_OBJECT
public:
    // The application name and icon the server shows beside every notification.
    DBusNotifier(QDBusConnection connection, QString appName, QString appIcon);

    // Waits a bounded time for the server; 0 when there is none or it refuses.
    uint32_t Notify(const Notification& notification) override;

private slots:
    // Hands the action on, then closes the notification: servers keep a persistent one on
    // screen after its action unless asked.
    void OnActionInvoked(uint id, const QString& action);

private:
    QDBusConnection connection_;
    // The ids this notifier was given: the server's signals name every program's notifications.
    std::set<uint> shown_;
    QString appName_;
    QString appIcon_;
};
