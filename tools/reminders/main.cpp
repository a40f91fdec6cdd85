// The reminder program: one instance per user on the session bus, notifications through the
// desktop's notification service, "Open" showing the reminder's day in the program.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>

#include <iostream>

#include "platform/clock.h"
#include "platform/dbus_notifier.h"
#include "platform/pim/application.h"
#include "platform/reminder_instance.h"
#include "res/command_line.h"
#include "tools/reminders/program_opener.h"
#include "tools/reminders/reminder_command_line.h"
#include "tools/reminders/reminder_service.h"

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (res::AnswerStandardOption(args, "tamberlo-reminders", ReminderUsage(), std::cout)) {
        return 0;
    }
    QCoreApplication app(argc, argv);
    ReminderCommandLine options;
    if (!ParseReminderCommandLine(args, options, std::cerr)) {
        return 1;
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && !ReminderInstance::Claim(bus)) {
        return 0; // another instance already keeps the reminders
    }
    if (!bus.isConnected()) {
        std::cerr << "tamberlo-reminders: no session bus; reminders go to this terminal\n";
    }
    DBusNotifier notifier(bus, QStringLiteral("Tamberlo"), QStringLiteral("tamberlo"));
    const SystemClock clock;
    ProgramOpener opener(bus, [] {
        const QString program = ReminderInstance::ProgramBeside(QStringLiteral("tamberlo"),
                                                                QStringLiteral("../../app"));
        return QProcess::startDetached(program, {});
    });
    ReminderServiceSetup setup{
        options.storePath.empty() ? pim::Application::DefaultStorePath() : options.storePath,
        QString::fromStdString(options.statePath.empty() ? DefaultStatePath() : options.statePath),
        [&opener](const Reminder& reminder) {
            opener.Open(VariantTimeToSystemTime(reminder.ShownDay()));
        }};
    ReminderService service(std::move(setup), notifier, clock, std::cerr);
    service.Start();
    return QCoreApplication::exec();
}
