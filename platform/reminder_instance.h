// One reminder program per user: it owns a well-known name on the session bus, and the program
// starts it when nobody owns that name.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <QStringList>

class ReminderInstance {
public:
    static const char* const kBusName;

    // Takes the name; false when another instance holds it or the bus is not there.
    static bool Claim(QDBusConnection connection);
    static bool IsRunning(const QDBusConnection& connection);
    // Starts `program` detached when the bus is there and no instance runs; true when it did.
    static bool StartIfNotRunning(const QDBusConnection& connection, const QString& program,
                                  const QStringList& arguments);
    // The program of that name beside the running executable, else in `buildTreeFolder`
    // (relative to the executable's folder: where the build tree puts it), else on the PATH.
    static QString ProgramBeside(const QString& name, const QString& buildTreeFolder = {});
};
