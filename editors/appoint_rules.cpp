// The appointment form's checks run before anything reaches the item, so a refused OK leaves
// the stored appointment exactly as it was.
#include "editors/appoint_rules.h"

#include <cmath>

#include "editors/recur_rules.h"
#include "model/date_time.h"
#include "res/string_table.h"

namespace {

DATE DayAt(const SYSTEMTIME& day, int minutes)
{
    return SystemTimeToVariantTime(TruncateSystemTime(day, 3)) + minutes / 1440.0;
}

} // namespace

DATE FormStart(const AppointForm& form)
{
    return DayAt(form.startDate, TimeTextMinutes(form.startTime, true).value_or(0));
}

DATE FormEnd(const AppointForm& form)
{
    if (form.allDay && !form.recurring)
        return DayAt(form.endDate, 0) + 1.0;
    return DayAt(form.endDate, TimeTextMinutes(form.endTime, true).value_or(0));
}

EndDisplay ShowEnd(DATE end, bool oneTimeAllDay)
{
    if (oneTimeAllDay)
        return {VariantTimeToSystemTime(std::floor(end + 1e-9) - 1.0), L"24:00"};
    return {VariantTimeToSystemTime(end), ClockText(end)};
}

Verdict CheckAppointTime(const std::wstring& text, int control)
{
    if (TimeTextMinutes(text, control == kAppointEndTime))
        return std::nullopt;
    return Refusal{control, res::IDS_BAD_TIME_TEXT};
}

Verdict CheckAppointForm(const AppointForm& form, bool recurrenceSet, ItemValues& values)
{
    for (const Verdict& text :
         {CheckLineText(form.title, kAppointTitle), CheckLineText(form.place, kAppointPlace),
          CheckLineText(form.category, kAppointCategory), CheckMemoText(form.memo, kAppointMemo)})
        if (text)
            return text;
    if (form.startDate.wYear < 1900)
        return Refusal{kAppointStartDate, res::IDS_START_AFTER_1900};
    if (!form.allDay) {
        if (const Verdict time = CheckAppointTime(form.startTime, kAppointStartTime))
            return time;
    }
    if (form.endDate.wYear >= 3000)
        return Refusal{kAppointEndDate, res::IDS_END_BEFORE_3000};
    if (!form.allDay) {
        if (const Verdict time = CheckAppointTime(form.endTime, kAppointEndTime))
            return time;
    }
    AppointForm timed = form;
    if (form.allDay) {
        timed.startTime = L"00:00";
        timed.endTime = L"00:00";
    }
    const DATE start = FormStart(timed);
    const DATE end = FormEnd(timed);
    if (end < start)
        return Refusal{kAppointEndDate, res::IDS_START_BEFORE_END};
    // The dates are locked while "Recurring" is chosen, so the focus goes where the pattern
    // is set.
    if (form.recurring && !recurrenceSet)
        return Refusal{kAppointRecurDetail, res::IDS_RECURRENCE_NOT_SET};

    pim::ItemFields& f = values.fields;
    f.Subject = form.title;
    f.Location = form.place;
    f.Start = start;
    f.End = end;
    if (!form.recurring)
        values.pattern.reset();
    f.AllDayEvent = form.allDay;
    f.ReminderSet = form.alarm;
    f.Categories = form.category;
    f.BusyStatus = form.status;
    f.Sensitivity = form.sensitivity;
    f.Body = form.memo;
    return std::nullopt;
}
