// Single instance by bus name. Without a bus nothing is started: the reminders could neither
// show a notification nor keep a second copy from running.
#include "platform/reminder_instance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

#include "platform/bus_names.h"

const char* const ReminderInstance::kBusName = "org.velloran.Tamberlo.Reminders";

bool ReminderInstance::Claim(QDBusConnection connection)
{
    return connection.isConnected() && connection.registerService(kBusName);
}

bool ReminderInstance::IsRunning(const QDBusConnection& connection)
{
    return IsBusNameOwned(connection, kBusName);
}

bool ReminderInstance::StartIfNotRunning(const QDBusConnection& connection, const QString& program,
                                         const QStringList& arguments)
{
    if (!connection.isConnected() || IsRunning(connection)) {
        return false;
    }
    return QProcess::startDetached(program, arguments);
}

QString ReminderInstance::ProgramBeside(const QString& name, const QString& buildTreeFolder)
{
    const QString here = QCoreApplication::applicationDirPath() + "/";
    for (const QString& candidate : {here + name, here + buildTreeFolder + "/" + name}) {
        const QFileInfo program(candidate);
        if (program.isFile() && program.isExecutable()) {
            return program.absoluteFilePath();
        }
    }
    return name;
}
