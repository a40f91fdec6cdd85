// What the reminder program remembers between runs: which reminders have fired, which are
// snoozed and until when, and up to when it has looked. Kept in one small JSON file that is
// replaced whole, so a crash mid-write never leaves half a state.
#pragma once

#include <QString>

#include <map>
#include <string>
#include <vector>

#include "model/reminder_plan.h"

class FiredState {
public:
    struct Snooze {
        Reminder reminder;
        DATE until = 0.0;
    };

    explicit FiredState(QString path) : path_(std::move(path)) {}

    // A missing file is a fresh start (true); a damaged one is also a fresh start, but false,
    // so the caller can say so. Nothing is written until Save.
    bool Load();
    bool Save() const;

    bool HasFired(const std::wstring& key) const { return fired_.contains(key); }
    void MarkFired(const Reminder& reminder) { fired_[reminder.Key()] = reminder.fireAt; }
    // Forgets fired reminders older than `before`; the planner never looks back that far.
    void ForgetBefore(DATE before);

    // 0.0 when nothing has been looked at yet.
    DATE LastCheck() const { return lastCheck_; }
    void SetLastCheck(DATE at) { lastCheck_ = at; }

    std::vector<Snooze>& Snoozed() { return snoozed_; }

private:
    QString path_;
    DATE lastCheck_ = 0.0;
    std::map<std::wstring, DATE> fired_;
    std::vector<Snooze> snoozed_;
};
