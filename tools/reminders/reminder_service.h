// The reminder program's work: fire every reminder of the store once, as a desktop notification,
// sleeping until the next one is due and re-planning when the store file changes. Snoozes and
// fired reminders live in the state file, so a restart never repeats one.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "model/reminder_plan.h"
#include "tools/reminders/fired_state.h"

class Clock;
class Notifier;

struct ReminderServiceSetup {
    std::string storePath;
    QString statePath;
    // Runs for the notification's "Open": starts or raises the program.
    std::function<void(const Reminder&)> open;
};

class ReminderService : public QObject {
    Q_OBJECT
public:
    // Reminders missed while nothing ran are shown at start up to this far back.
    static constexpr double kMissedWindowDays = 1.0;
    static constexpr int kSnoozeMinutes = 5;
    // Wakes at least this often, so a suspended machine or a changed clock is noticed.
    static constexpr int kLongestSleepMs = 60 * 60 * 1000;
    static constexpr int kRetryMs = 60 * 1000;

    ReminderService(ReminderServiceSetup setup, Notifier& notifier, const Clock& clock,
                    std::ostream& err);
    ~ReminderService() override;

    // Reads the state and the store, fires what is due or was missed, watches the store.
    void Start();
    // Fires everything due by now that has not fired, then sleeps until the next one.
    void Check();
    // Reads the store again (the watcher calls it after a change) and checks.
    void ReloadStore();

    // When the service means to wake next; empty when it is not sleeping.
    std::optional<DATE> NextWake() const { return nextWake_; }

private:
    DATE Now() const;
    void Fire(const Reminder& reminder, bool missed);
    void OnAction(uint32_t id, const std::string& action);
    void Arm(DATE now);
    void Watch();
    void OnStoreTouched();
    QString StoreSignature() const;
    void Report(const std::wstring& text);

    ReminderServiceSetup setup_;
    Notifier& notifier_;
    const Clock& clock_;
    std::ostream& err_;
    ReminderPlan plan_;
    FiredState state_;
    std::map<uint32_t, Reminder> shown_; // notification id -> its reminder, for the actions
    QTimer wake_;
    QTimer settle_; // lets a burst of file changes end before the store is read
    QFileSystemWatcher watcher_;
    QString signature_;
    bool storeUsable_ = false;
    std::wstring lastReport_;
    std::optional<DATE> nextWake_;
};
