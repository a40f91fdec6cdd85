// Opening the program on a day from the reminder program.
#include "tools/reminders/program_opener.h"

#include "platform/program_instance.h"

ProgramOpener::ProgramOpener(QDBusConnection connection, std::function<bool()> start)
    : connection_(std::move(connection)), start_(std::move(start)),
      watcher_(ProgramInstance::kBusName, connection_, QDBusServiceWatcher::WatchForRegistration)
{
    giveUp_.setSingleShot(true);
    giveUp_.setInterval(kStartTimeoutMs);
    connect(&giveUp_, &QTimer::timeout, this, [this] { pending_.reset(); });
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this,
            &ProgramOpener::OnProgramAppeared);
}

void ProgramOpener::Open(const SYSTEMTIME& day)
{
    if (ProgramInstance::AskToShow(connection_, day)) {
        return;
    }
    // A second Open while the program starts only changes the day it will show.
    const bool starting = pending_.has_value();
    pending_ = day;
    if (!starting && !(start_ && start_())) {
        pending_.reset();
        return;
    }
    giveUp_.start();
}

void ProgramOpener::OnProgramAppeared()
{
    if (!pending_) {
        return;
    }
    const SYSTEMTIME day = *pending_;
    pending_.reset();
    giveUp_.stop();
    ProgramInstance::AskToShow(connection_, day);
}
