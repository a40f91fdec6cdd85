// Options of the reminder program and where its state lives by default.
#include "tools/reminders/reminder_command_line.h"

#include <QDir>
#include <QtGlobal>

bool ParseReminderCommandLine(const std::vector<std::string>& args, ReminderCommandLine& options,
                              std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "--store" || arg == "--state") && i + 1 < args.size() && !args[i + 1].empty()) {
            (arg == "--store" ? options.storePath : options.statePath) = args[++i];
        } else {
            err << "tamberlo-reminders: unknown or incomplete option: " << arg << '\n';
            return false;
        }
    }
    return true;
}

const char* ReminderUsage()
{
    return "Usage: tamberlo-reminders [--store FILE] [--state FILE]\n"
           "Shows the reminders of the Tamberlo calendar as desktop notifications.\n"
           "  --store FILE  the calendar store (default: the user's store)\n"
           "  --state FILE  where fired and snoozed reminders are kept\n"
           "  -h, --help    this text\n"
           "  --version     the program's version\n"
           "See tamberlo-reminders(1), and tamberlo(1) for the program.\n";
}

std::string DefaultStatePath()
{
    const QString base = qEnvironmentVariable("XDG_STATE_HOME", QDir::homePath() + "/.local/state");
    return (base + "/Velloran/Tamberlo/reminders.json").toStdString();
}
