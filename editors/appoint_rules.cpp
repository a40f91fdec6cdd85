// The appointment form's checks run before anything reaches the item, so a refused OK leaves
// the stored appointment exactly as it was.
#include "editors/appoint_rules.h"

#include <cmath>
#include <tuple>

#include "editors/recur_rules.h"
#include "model/date_time.h"
#include "res/string_table.h"

namespace {

DATE DayAt(const SYSTEMTIME& day, int minutes)
{
    return SystemTimeToVariantTime(TruncateSystemTime(day, 3)) + minutes / 1440.0;
}

// The form shows whole minutes: a time left as it was shown keeps the seconds it came with, so
// an edit of anything else (or a meeting's answer) does not move an imported item's times.
DATE KeepSecondsIfUnchanged(DATE edited, DATE original)
{
    const DATE shown =
        SystemTimeToVariantTime(TruncateSystemTime(VariantTimeToSystemTime(original), 1));
    return std::llround(edited * 86400.0) == std::llround(shown * 86400.0) ? original : edited;
}

} // namespace

DATE FormStart(const AppointForm& form)
{
    return DayAt(form.startDate, TimeTextMinutes(form.startTime, true).value_or(0));
}

DATE FormEnd(const AppointForm& form)
{
    if (form.allDay && !form.recurring) {
        return DayAt(form.endDate, 0) + 1.0;
    }
    return DayAt(form.endDate, TimeTextMinutes(form.endTime, true).value_or(0));
}

EndDisplay ShowEnd(DATE end, bool oneTimeAllDay)
{
    if (oneTimeAllDay) {
        return {VariantTimeToSystemTime(std::floor(end + 1e-9) - 1.0), L"24:00"};
    }
    return {VariantTimeToSystemTime(end), ClockText(end)};
}

Verdict CheckAppointTime(const std::wstring& text, int control)
{
    return CheckTimeText(text, control == kAppointEndTime, control);
}

Verdict CheckAppointForm(const AppointForm& form, bool recurrenceSet, ItemValues& values)
{
    pim::ItemFields f = values.fields;
    const std::tuple<const std::wstring&, std::wstring&, TextKind, int> texts[] = {
        {form.title, f.Subject, TextKind::kLine, kAppointTitle},
        {form.place, f.Location, TextKind::kLine, kAppointPlace},
        {form.category, f.Categories, TextKind::kLine, kAppointCategory},
        {form.memo, f.Body, TextKind::kMemo, kAppointMemo}};
    for (const auto& [shown, field, kind, control] : texts) {
        if (const Verdict text = TakeText(shown, field, kind, control)) {
            return text;
        }
    }
    if (form.startDate.wYear < 1900) {
        return Refusal{kAppointStartDate, res::IDS_START_AFTER_1900};
    }
    if (form.startDate.wYear >= 3000) {
        return Refusal{kAppointStartDate, res::IDS_START_BEFORE_3000};
    }
    if (!form.allDay) {
        if (const Verdict time = CheckAppointTime(form.startTime, kAppointStartTime)) {
            return time;
        }
    }
    if (form.endDate.wYear >= 3000) {
        return Refusal{kAppointEndDate, res::IDS_END_BEFORE_3000};
    }
    if (!form.allDay) {
        if (const Verdict time = CheckAppointTime(form.endTime, kAppointEndTime)) {
            return time;
        }
    }
    AppointForm timed = form;
    if (form.allDay) {
        timed.startTime = L"00:00";
        timed.endTime = L"00:00";
    }
    const DATE start = FormStart(timed);
    const DATE end = FormEnd(timed);
    if (end < start) {
        return Refusal{kAppointEndDate, res::IDS_START_BEFORE_END};
    }
    // The dates are locked while "Recurring" is chosen, so the focus goes where the pattern
    // is set.
    if (form.recurring && !recurrenceSet) {
        return Refusal{kAppointRecurDetail, res::IDS_RECURRENCE_NOT_SET};
    }

    f.Start = KeepSecondsIfUnchanged(start, values.fields.Start);
    f.End = KeepSecondsIfUnchanged(end, values.fields.End);
    if (!form.recurring) {
        values.pattern.reset();
    }
    f.AllDayEvent = form.allDay;
    f.ReminderSet = form.alarm;
    f.BusyStatus = form.status;
    f.Sensitivity = form.sensitivity;
    values.fields = f;
    return std::nullopt;
}
