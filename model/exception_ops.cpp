// Cancelling exceptions works on an in-memory snapshot of the pattern and of every exception,
// because clearing the pattern is the store's only way to drop one. Completing a task steps a
// recurring task on to its next occurrence.
#include "model/exception_ops.h"

#include <memory>
#include <optional>
#include <vector>

#include "model/date_time.h"
#include "model/item_values.h"
#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"

namespace {

constexpr int32_t kAllExceptions = -1;

// What a replay writes back into an occurrence.
struct ExceptionSnapshot {
    DATE originalDay = 0.0;
    bool deleted = false;
    ItemValues values; // the changed occurrence; empty for a deleted one
};

DATE DayOf(DATE date)
{
    return static_cast<DATE>(DayNumber(date));
}

ExceptionSnapshot SnapshotException(pim::Exception& exception)
{
    ExceptionSnapshot snapshot;
    snapshot.originalDay = DayOf(exception.GetOriginalDate());
    snapshot.deleted = exception.GetDeleted();
    std::shared_ptr<pim::AppointmentItem> item;
    if (snapshot.deleted || exception.GetAppointmentItem(&item) < 0 || !item) {
        return snapshot;
    }
    snapshot.values = ReadValues(*item);
    return snapshot;
}

// Writes the pattern fields in the order the store expects: the start time before the duration
// (the store derives the end time), and only the fields the type uses.
void WritePattern(const pim::RecurrenceFields& fields, pim::RecurrencePattern& pattern)
{
    const int32_t type = fields.RecurrenceType;
    pattern.SetRecurrenceType(type);
    pattern.SetPatternStartDate(fields.PatternStartDate);
    pattern.SetPatternEndDate(fields.PatternEndDate);
    pattern.SetStartTime(fields.StartTime);
    pattern.SetDuration(fields.Duration);
    const bool yearly = type == kRecursYearly || type == kRecursYearNth;
    const bool nthWeekday = type == kRecursMonthNth || type == kRecursYearNth;
    if (!yearly) {
        pattern.SetInterval(fields.Interval);
    }
    if (type == kRecursMonthly || type == kRecursYearly) {
        pattern.SetDayOfMonth(fields.DayOfMonth);
    }
    if (nthWeekday) {
        pattern.SetInstance(fields.Instance);
    }
    if (yearly) {
        pattern.SetMonthOfYear(fields.MonthOfYear);
    }
    if (type == kRecursDaily || type == kRecursWeekly || nthWeekday) {
        pattern.SetDayOfWeekMask(fields.DayOfWeekMask);
    }
    pattern.SetNoEndDate(fields.NoEndDate);
}

// False when the occurrence could not be obtained (it is then left alone) or not written.
bool Replay(const ExceptionSnapshot& snapshot, pim::RecurrencePattern& pattern)
{
    std::shared_ptr<pim::AppointmentItem> occurrence;
    if (pattern.GetOccurrence(snapshot.originalDay, &occurrence) < 0 || !occurrence) {
        return false;
    }
    if (snapshot.deleted) {
        return occurrence->Delete() >= 0;
    }
    WriteValues(snapshot.values, *occurrence);
    return occurrence->Save() >= 0;
}

// Moves a recurring task's pattern and dates on to the next occurrence; false when the task does
// not recur or its pattern has no further occurrence. A missing due date stays missing.
bool MoveToNextOccurrence(pim::TaskItem& task)
{
    const auto pattern = PatternOfRecurring(task);
    if (!pattern) {
        return false;
    }
    const std::optional<SYSTEMTIME> next =
        NextOccurrence(pattern->Fields(), VariantTimeToSystemTime(pattern->GetPatternStartDate()));
    if (!next) {
        return false;
    }
    const DATE nextDay = SystemTimeToVariantTime(*next);
    if (!pattern->GetNoEndDate() && DayOf(pattern->GetPatternEndDate()) < nextDay) {
        return false;
    }
    const DATE start = task.GetStartDate();
    const DATE due = task.GetDueDate();
    const bool hasSpan = IsTaskDate(start) && IsTaskDate(due);
    const int span =
        hasSpan ? DaysBetween(VariantTimeToSystemTime(start), VariantTimeToSystemTime(due)) : 0;
    pattern->SetPatternStartDate(nextDay);
    task.SetStartDate(nextDay);
    if (IsTaskDate(due)) {
        task.SetDueDate(nextDay + span);
    }
    return true;
}

} // namespace

std::wstring CancelException(pim::AppointmentItem& appointment, int32_t n, int* notReplayed)
{
    if (notReplayed != nullptr) {
        *notReplayed = 0;
    }
    const auto pattern = PatternOfRecurring(appointment);
    std::shared_ptr<pim::Exceptions> exceptions;
    if (!pattern || pattern->GetExceptions(&exceptions) < 0 || !exceptions) {
        return L"0";
    }
    const int32_t count = exceptions->Count();
    // A number that names no exception (0 or below, other than "all") changes nothing either.
    if (n > count || (n < 1 && n != kAllExceptions)) {
        return L"1";
    }

    const pim::RecurrenceFields fields = pattern->Fields();
    std::vector<ExceptionSnapshot> snapshots;
    for (int32_t i = 1; i <= count; ++i) {
        std::shared_ptr<pim::Exception> exception;
        if (exceptions->Item(i, &exception) >= 0 && exception && i != n) {
            snapshots.push_back(SnapshotException(*exception));
        }
    }

    // The cleared pattern is not saved on its own: the item on file keeps its recurrence until
    // the rebuilt pattern is saved in its place.
    appointment.ClearRecurrencePattern();
    std::shared_ptr<pim::RecurrencePattern> rebuilt;
    if (appointment.GetRecurrencePattern(&rebuilt) < 0 || !rebuilt) {
        return L"9999";
    }
    WritePattern(fields, *rebuilt);
    appointment.Save();
    if (n == kAllExceptions) {
        return L"AllClear";
    }
    for (const ExceptionSnapshot& snapshot : snapshots) {
        if (!Replay(snapshot, *rebuilt) && notReplayed != nullptr) {
            ++*notReplayed;
        }
    }
    return L"Fin";
}

void CompleteTask(pim::TaskItem& task, bool keepSimple)
{
    if (keepSimple || !MoveToNextOccurrence(task)) {
        task.SetComplete(true);
    }
}
