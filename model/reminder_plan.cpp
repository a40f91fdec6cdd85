// Reading the reminders out of the store and searching them. Single items fire at a fixed time;
// a series is walked over the days its occurrences could start on, and only as far as needed.
#include "model/reminder_plan.h"

#include <algorithm>
#include <cmath>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/exceptions.h"

namespace {

constexpr double kMinutesPerDay = 1440.0;
// A lead beyond a year is taken as a year, so a series walk stays short.
constexpr int32_t kLongestLeadMinutes = 366 * 1440;
// A load reads reminders firing from this long before its time (missed ones still fire) ...
constexpr double kReadBehindDays = 2.0;
// ... to this long past the horizon, so a plan serves a month before it is read again.
constexpr double kReadAheadDays = 30.0;

int32_t LeadMinutes(const pim::AppointmentItem& item)
{
    return std::clamp(item.GetReminderMinutesBeforeStart(), 0, kLongestLeadMinutes);
}

Reminder AppointmentReminder(const pim::AppointmentItem& item, int32_t leadMinutes)
{
    Reminder r;
    r.kind = pim::kAppointmentKind;
    r.oid = item.GetOid();
    r.start = item.GetStart();
    r.end = item.GetEnd();
    r.fireAt = r.start - leadMinutes / kMinutesPerDay;
    r.allDay = item.GetAllDayEvent();
    r.subject = item.GetSubject();
    r.location = item.GetLocation();
    r.options = item.GetReminderOptions();
    r.soundFile = item.GetReminderSoundFile();
    return r;
}

bool FiresBefore(const Reminder& a, const Reminder& b)
{
    return a.fireAt < b.fireAt;
}

int64_t DayOf(DATE date)
{
    return static_cast<int64_t>(std::floor(date));
}

} // namespace

std::wstring Reminder::Key() const
{
    return (kind == pim::kTaskKind ? L"T" : L"A") + std::to_wstring(oid) + L"@" +
           DateToKey(fireAt, kTimeStampKey);
}

DATE Reminder::ShownDay() const
{
    if (kind != pim::kTaskKind || IsTaskDate(start)) {
        return start;
    }
    return IsTaskDate(end) ? end : fireAt;
}

int32_t ReminderPlan::Load(PimSession& session, DATE now)
{
    fixed_.clear();
    series_.clear();
    readFrom_ = std::floor(now) - kReadBehindDays;
    readUntil_ = std::floor(now) + kHorizonDays + kReadAheadDays;
    // An appointment fires up to its longest lead before it starts: it is read when it can
    // show on a day up to that much past the last firing time.
    const int32_t status = session.Connect(
        pim::DayRange{readFrom_, readUntil_ + kLongestLeadMinutes / kMinutesPerDay + 1.0,
                      pim::ItemSelection::WithReminders});
    if (status < 0) {
        session.Disconnect();
        return status;
    }
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        if (const AppointItem item = session.FetchAppointment(n)) {
            AddAppointment(item);
        }
        session.ReleaseAppointment();
    }
    for (int32_t n = 1; n <= session.TaskCount(); ++n) {
        if (const TaskItem task = session.FetchTask(n)) {
            AddTask(*task);
        }
        session.ReleaseTask();
    }
    session.Disconnect();
    return 0;
}

bool ReminderPlan::Covers(DATE now) const
{
    return now - 1.0 >= readFrom_ && now + kHorizonDays + 1.0 <= readUntil_;
}

void ReminderPlan::AddAppointment(const AppointItem& item)
{
    if (!item->GetIsRecurring()) {
        if (item->GetReminderSet()) {
            fixed_.push_back(AppointmentReminder(*item, LeadMinutes(*item)));
        }
        return;
    }
    Series series{nullptr, {}, LeadMinutes(*item)};
    std::shared_ptr<pim::Exceptions> exceptions;
    if (item->GetRecurrencePattern(&series.pattern) < 0 || !series.pattern ||
        series.pattern->GetExceptions(&exceptions) < 0 || !exceptions) {
        return;
    }
    // A changed occurrence keeps its own reminder fields and fires at its own time.
    for (int32_t k = 1; k <= exceptions->Count(); ++k) {
        std::shared_ptr<pim::Exception> exception;
        std::shared_ptr<pim::AppointmentItem> changed;
        if (exceptions->Item(k, &exception) < 0 || !exception) {
            continue;
        }
        series.exceptionDays.insert(DayOf(exception->GetOriginalDate()));
        if (!exception->GetDeleted() && exception->GetAppointmentItem(&changed) >= 0 && changed &&
            changed->GetReminderSet()) {
            fixed_.push_back(AppointmentReminder(*changed, LeadMinutes(*changed)));
        }
    }
    if (item->GetReminderSet()) {
        series_.push_back(std::move(series));
    }
}

void ReminderPlan::AddTask(const pim::TaskItem& task)
{
    if (!task.GetReminderSet() || task.GetComplete() ||
        !IsReminderTimeSet(task.GetReminderTime())) {
        return;
    }
    Reminder r;
    r.kind = pim::kTaskKind;
    r.oid = task.GetOid();
    r.fireAt = task.GetReminderTime();
    r.start = task.GetStartDate();
    r.end = task.GetDueDate();
    r.subject = task.GetSubject();
    r.options = task.GetReminderOptions();
    r.soundFile = task.GetReminderSoundFile();
    fixed_.push_back(std::move(r));
}

std::optional<Reminder> ReminderPlan::OccurrenceReminder(const Series& series, int64_t day)
{
    if (series.exceptionDays.contains(day)) {
        return std::nullopt;
    }
    const int state = OccurrenceOnDayNumber(series.pattern->Fields(), day, -1);
    std::shared_ptr<pim::AppointmentItem> occurrence;
    if ((state != kOneDayStarts && state != kLongerStarts) ||
        series.pattern->GetOccurrence(static_cast<DATE>(day), &occurrence) < 0 || !occurrence) {
        return std::nullopt;
    }
    return AppointmentReminder(*occurrence, series.leadMinutes);
}

std::vector<Reminder> ReminderPlan::Due(DATE from, DATE until) const
{
    std::vector<Reminder> due;
    for (const Reminder& r : fixed_) {
        if (r.fireAt >= from && r.fireAt < until) {
            due.push_back(r);
        }
    }
    for (const Series& series : series_) {
        const double lead = series.leadMinutes / kMinutesPerDay;
        const int64_t first = DayOf(from + lead);
        const int64_t last = std::min(DayOf(until + lead), first + kHorizonDays);
        for (int64_t day = first; day <= last; ++day) {
            const std::optional<Reminder> r = OccurrenceReminder(series, day);
            if (r && r->fireAt >= from && r->fireAt < until) {
                due.push_back(*r);
            }
        }
    }
    std::stable_sort(due.begin(), due.end(), FiresBefore);
    return due;
}

// The best so far bounds every series walk, so each series is only tried over the days that
// could still beat it.
std::optional<Reminder> ReminderPlan::Next(DATE after) const
{
    std::optional<Reminder> best;
    for (const Reminder& r : fixed_) {
        if (r.fireAt >= after && (!best || r.fireAt < best->fireAt)) {
            best = r;
        }
    }
    for (const Series& series : series_) {
        const double lead = series.leadMinutes / kMinutesPerDay;
        const int64_t first = DayOf(after + lead);
        const int64_t horizon = first + kHorizonDays;
        for (int64_t day = first;
             day <= (best ? std::min(DayOf(best->fireAt + lead), horizon) : horizon); ++day) {
            const std::optional<Reminder> r = OccurrenceReminder(series, day);
            if (r && r->fireAt >= after) {
                if (!best || r->fireAt < best->fireAt) {
                    best = r;
                }
                break;
            }
        }
    }
    return best;
}
