// A dbus-daemon of the test's own, for the tests of the programs that meet on the session bus.
#pragma once

#include <QDBusConnection>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A dbus-daemon of our own with a minimal configuration (no activatable services, so nothing
// outside the test can answer), stopped when the test ends.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString config = dir_.filePath("bus.conf");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                                  "<policy context=\"default\"><allow user=\"*\"/>"
                                  "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                                  "<allow own=\"*\"/></policy></busconfig>")
                       .arg(dir_.path())
                       .toUtf8());
        file.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {"--config-file=" + config, "--print-address", "--nofork"});
        if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus()
    {
        for (const QString& name : names_) {
            QDBusConnection::disconnectFromBus(name);
        }
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }

    bool Up() const { return !address_.isEmpty(); }
    const QString& Address() const { return address_; }
    QDBusConnection Connect(const QString& name)
    {
        names_.append(name);
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};
