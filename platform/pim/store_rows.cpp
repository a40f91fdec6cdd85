// Dates are held to the years DATE arithmetic takes and occurrences to a year, so a damaged or
// foreign value never reaches the day tests.
#include "platform/pim/store_rows.h"

#include <algorithm>
#include <cmath>

namespace pim {
namespace {

const std::string kSharedColumns =
    "subject, categories, body, sensitivity, reminder_set, reminder_options, reminder_sound";
const std::string kAppointmentOnlyColumns =
    "location, start_at, end_at, all_day, busy, reminder_minutes";
const std::string kTaskOnlyColumns =
    "start_date, due_date, date_completed, reminder_time, importance, complete";

// Dates as DATE holds them (years 100 to 9999, NaN as day 0): a damaged or foreign value such
// as 1e308 must not reach the day arithmetic, where it would overflow. Dates outside the
// supported years then simply fall outside every window.
constexpr double kEarliestDate = -657434.0;
constexpr double kLatestDate = 2958465.0;
// Occurrences longer than a year are held to one: the day tests scan an occurrence's length.
constexpr int32_t kLongestOccurrenceMinutes = 366 * 1440;

} // namespace

SqliteStatement& BindFields(SqliteStatement& s, const ItemFields& f)
{
    return s.Bind(f.Subject)
        .Bind(f.Location)
        .Bind(f.Categories)
        .Bind(f.Body)
        .Bind(f.Start)
        .Bind(f.End)
        .Bind(f.AllDayEvent)
        .Bind(f.BusyStatus)
        .Bind(f.Sensitivity)
        .Bind(f.ReminderSet)
        .Bind(f.ReminderMinutesBeforeStart)
        .Bind(f.ReminderOptions)
        .Bind(f.ReminderSoundFile)
        .Bind(f.StartDate)
        .Bind(f.DueDate)
        .Bind(f.DateCompleted)
        .Bind(f.ReminderTime)
        .Bind(f.Importance)
        .Bind(f.Complete);
}

SqliteStatement& BindPattern(SqliteStatement& s, const RecurrenceFields& p)
{
    return s.Bind(p.RecurrenceType)
        .Bind(p.PatternStartDate)
        .Bind(p.StartTime)
        .Bind(p.EndTime)
        .Bind(p.PatternEndDate)
        .Bind(p.NoEndDate)
        .Bind(p.Occurrences)
        .Bind(p.Interval)
        .Bind(p.DayOfWeekMask)
        .Bind(p.DayOfMonth)
        .Bind(p.Instance)
        .Bind(p.Duration)
        .Bind(p.MonthOfYear);
}

std::string LoadedColumns(int32_t kind)
{
    return kSharedColumns + ", " +
           (kind == kAppointmentKind ? kAppointmentOnlyColumns : kTaskOnlyColumns);
}

DATE StoredDate(const SqliteStatement& s, int column)
{
    const double value = s.Real(column);
    return std::isnan(value) ? 0.0 : std::clamp(value, kEarliestDate, kLatestDate);
}

ItemFields ReadFields(const SqliteStatement& s, int column, int32_t kind)
{
    ItemFields f;
    f.Subject = s.Text(column++);
    f.Categories = s.Text(column++);
    f.Body = s.Text(column++);
    f.Sensitivity = s.Int(column++);
    f.ReminderSet = s.Int(column++) != 0;
    f.ReminderOptions = s.Int(column++);
    f.ReminderSoundFile = s.Text(column++);
    if (kind == kAppointmentKind) {
        f.Location = s.Text(column++);
        f.Start = StoredDate(s, column++);
        f.End = StoredDate(s, column++);
        f.AllDayEvent = s.Int(column++) != 0;
        f.BusyStatus = s.Int(column++);
        f.ReminderMinutesBeforeStart = s.Int(column);
    } else {
        f.StartDate = StoredDate(s, column++);
        f.DueDate = StoredDate(s, column++);
        f.DateCompleted = StoredDate(s, column++);
        f.ReminderTime = StoredDate(s, column++);
        f.Importance = s.Int(column++);
        f.Complete = s.Int(column) != 0;
    }
    return f;
}

RecurrenceFields ReadPattern(const SqliteStatement& s, int column)
{
    RecurrenceFields p;
    p.RecurrenceType = s.Int(column++);
    p.PatternStartDate = StoredDate(s, column++);
    p.StartTime = StoredDate(s, column++);
    p.EndTime = StoredDate(s, column++);
    p.PatternEndDate = StoredDate(s, column++);
    p.NoEndDate = s.Int(column++) != 0;
    p.Occurrences = s.Int(column++);
    p.Interval = s.Int(column++);
    p.DayOfWeekMask = s.Int(column++);
    p.DayOfMonth = s.Int(column++);
    p.Instance = s.Int(column++);
    p.Duration = std::min(s.Int(column++), kLongestOccurrenceMinutes);
    p.MonthOfYear = s.Int(column);
    return p;
}

std::string Qualified(const std::string& columns, const std::string& table)
{
    std::string out = table;
    for (const char c : columns) {
        out += c;
        if (c == ' ') {
            out += table;
        }
    }
    return out;
}

} // namespace pim
