// Whether a well-known name on a bus has an owner: how the program and the reminders find out
// that the other is running.
#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>

inline bool IsBusNameOwned(const QDBusConnection& connection, const char* name)
{
    const QDBusConnectionInterface* bus =
        connection.isConnected() ? connection.interface() : nullptr;
    return bus != nullptr && bus->isServiceRegistered(name).value();
}
