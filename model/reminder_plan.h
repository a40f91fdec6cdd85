// The reminders the store holds, read once and asked many times: which fall due in a stretch of
// time and which comes next. Occurrences of a series come from the store's own pattern rule, so
// a reminder fires exactly for the occurrences the schedule shows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/pim_records.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/systemtime.h"

class PimSession;

// One reminder of one item or occurrence, with what a notification shows of it.
struct Reminder {
    int32_t kind = 0; // pim::kAppointmentKind or pim::kTaskKind
    int32_t oid = 0;
    DATE fireAt = 0.0;
    DATE start = 0.0; // the occurrence's start; a task's start date, kNoDate when it has none
    DATE end = 0.0;   // the occurrence's end; a task's due date
    bool allDay = false;
    std::wstring subject;
    std::wstring location;
    int32_t options = 0; // ReminderOptions bits
    std::wstring soundFile;

    // Names this firing for the fired-state file: a changed time or lead is a new reminder.
    std::wstring Key() const;
    // The day "Open" shows: the occurrence's start; a task's start date, else its due date,
    // else the day the reminder fires.
    DATE ShownDay() const;
};

class ReminderPlan {
public:
    // Series are searched this far ahead of the asked time; the caller re-asks before then.
    static constexpr int kHorizonDays = 400;

    // Reads the appointments with ReminderSet and the open tasks with a valid ReminderTime
    // whose reminder can fire from a little before `now` to past the horizon: a range read,
    // so the plan costs the same in a calendar of any size. A store that cannot be opened
    // gives a negative status and an empty plan.
    int32_t Load(PimSession& session, DATE now);
    // Whether what Load read still answers Due and Next around `now`; else it is read again.
    bool Covers(DATE now) const;

    // Every reminder firing in [from, until), earliest first.
    std::vector<Reminder> Due(DATE from, DATE until) const;
    // The earliest reminder firing at or after `after`, within the horizon.
    std::optional<Reminder> Next(DATE after) const;

    bool Empty() const { return fixed_.empty() && series_.empty(); }

private:
    // A recurring appointment with a reminder: its occurrences are found day by day.
    struct Series {
        std::shared_ptr<pim::RecurrencePattern> pattern; // holds its item
        std::set<int64_t> exceptionDays; // original days of changed or deleted occurrences
        int32_t leadMinutes = 0;
    };

    void AddAppointment(const AppointItem& item);
    void AddTask(const pim::TaskItem& task);
    // The reminder of the occurrence originally on `day`, when one starts there.
    static std::optional<Reminder> OccurrenceReminder(const Series& series, int64_t day);

    std::vector<Reminder> fixed_; // single appointments, changed occurrences, tasks
    std::vector<Series> series_;
    DATE readFrom_ = 0.0; // the firing times Load read, [readFrom_, readUntil_)
    DATE readUntil_ = 0.0;
};
