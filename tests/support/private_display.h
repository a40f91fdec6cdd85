// An X server of the test's own (Xvfb), and the environment of a program started on it.
#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <signal.h>

#include "tests/support/private_bus.h"

// Xvfb picks a free display itself and names it once it accepts clients.
class PrivateDisplay {
public:
    PrivateDisplay()
    {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (server_.waitForStarted(5000) && server_.waitForReadyRead(10000)) {
            display_ = QStringLiteral(":") + QString::fromUtf8(server_.readLine()).trimmed();
        }
    }
    ~PrivateDisplay()
    {
        server_.terminate();
        if (!server_.waitForFinished(5000)) {
            server_.kill();
        }
    }
    bool Up() const { return display_.size() > 1; }
    const QString& Name() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

// The environment a program of the build tree runs in: the display, the bus, a fresh home.
inline QProcessEnvironment ProgramEnvironment(const PrivateDisplay& display, const PrivateBus& bus,
                                              const QTemporaryDir& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display.Name());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return environment;
}

// Ends the process that holds `name` on the bus (a program the test's program started).
inline void EndOwnerOf(const QDBusConnection& bus, const QString& name)
{
    const QDBusReply<uint> pid = bus.interface()->servicePid(name);
    if (pid.isValid() && pid.value() > 0) {
        ::kill(static_cast<pid_t>(pid.value()), SIGTERM);
    }
}
