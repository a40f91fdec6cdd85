// Validation of the recurrence form, in the order the editor refuses: dates, times and span,
// interval, the day rules of the type, then the weekdays.
#include "editors/recur_rules.h"

#include <bit>
#include <cmath>
#include <cwctype>

#include "model/date_time.h"
#include "model/recurrence.h"
#include "platform/pim/item_fields.h"
#include "res/string_table.h"

namespace {

constexpr int kMaxNumber = 999;
constexpr int kMinutesPerDay = 1440;

// A whole number 0..999 typed into a field, or -1.
int SmallNumber(const std::wstring& text)
{
    if (text.empty() || text.size() > 3) {
        return -1;
    }
    for (wchar_t c : text) {
        if (std::iswdigit(c) == 0) {
            return -1;
        }
    }
    return std::stoi(text);
}

bool UsesWeekdays(int32_t type)
{
    return type == kRecursDaily || type == kRecursWeekly || type == kRecursMonthNth ||
           type == kRecursYearNth;
}

Refusal Refuse(int control, int messageId)
{
    return {control, messageId};
}

} // namespace

int32_t RecurrenceTypeOf(int typeIndex, bool dayRadio)
{
    switch (typeIndex) {
    case 0:
        return kRecursDaily;
    case 2:
        return dayRadio ? kRecursMonthly : kRecursMonthNth;
    case 3:
        return dayRadio ? kRecursYearly : kRecursYearNth;
    default:
        return kRecursWeekly;
    }
}

int TypeIndexOf(int32_t recurrenceType)
{
    switch (recurrenceType) {
    case kRecursDaily:
        return 0;
    case kRecursMonthly:
    case kRecursMonthNth:
        return 2;
    case kRecursYearly:
    case kRecursYearNth:
        return 3;
    default:
        return 1;
    }
}

RecurLayout LayoutOf(int32_t type)
{
    switch (type) {
    case kRecursMonthly:
        return {true, true, false, true, false, false};
    case kRecursMonthNth:
        return {true, true, false, false, true, true};
    case kRecursYearly:
        return {false, true, true, true, false, false};
    case kRecursYearNth:
        return {false, true, true, false, true, true};
    default:
        return {true, false, false, false, false, true};
    }
}

Verdict CheckRecurForm(const RecurForm& form, bool allDay, bool appointment,
                       pim::RecurrenceFields& pattern)
{
    pim::RecurrenceFields p = pattern;
    p.RecurrenceType = RecurrenceTypeOf(form.typeIndex, form.dayRadio);
    if (form.startDate.wYear < 1900) {
        return Refuse(kRecurStartDate, res::IDS_START_AFTER_1900);
    }
    if (form.startDate.wYear >= 3000) {
        return Refuse(kRecurStartDate, res::IDS_START_BEFORE_3000);
    }
    const DATE start = SystemTimeToVariantTime(TruncateSystemTime(form.startDate, 3));
    p.PatternStartDate = start;
    if (!form.noEnd) {
        if (form.endDate.wYear >= 3000) {
            return Refuse(kRecurEndDate, res::IDS_END_BEFORE_3000);
        }
        if (DayNumber(form.endDate) < DayNumber(form.startDate)) {
            return Refuse(kRecurEndDate, res::IDS_START_BEFORE_END);
        }
    }
    p.PatternEndDate =
        form.noEnd ? pim::kNoDate : SystemTimeToVariantTime(TruncateSystemTime(form.endDate, 3));

    const std::wstring startTime = allDay ? L"00:00" : form.startTime;
    const std::wstring endTime = allDay ? L"00:00" : form.endTime;
    for (const Verdict& time : {CheckTimeText(startTime, false, kRecurStartTime),
                                CheckTimeText(endTime, true, kRecurEndTime)}) {
        if (time) {
            return time;
        }
    }
    const int daysAfter = SmallNumber(form.daysAfter);
    if (daysAfter < 0) {
        return Refuse(kRecurDaysAfter, res::IDS_BAD_DAY_COUNT);
    }
    const int s = *TimeTextMinutes(startTime);
    const int e = *TimeTextMinutes(endTime, true);
    const int d = daysAfter * kMinutesPerDay;
    if (allDay) {
        if (appointment && d < 1) {
            return Refuse(kRecurDaysAfter, res::IDS_NO_DAY_SPAN);
        }
        p.Duration = d;
    } else {
        if (s > d + e) {
            return Refuse(kRecurEndTime, res::IDS_START_TIME_BEFORE_END);
        }
        p.Duration = d - s + e;
    }
    p.StartTime = start + s / double(kMinutesPerDay);
    const double end = p.StartTime + p.Duration / double(kMinutesPerDay);
    p.EndTime = end - std::floor(end);

    const bool yearly = p.RecurrenceType == kRecursYearly || p.RecurrenceType == kRecursYearNth;
    if (!yearly) {
        const int interval = SmallNumber(form.interval);
        if (interval < 1) {
            return Refuse(kRecurInterval, res::IDS_BAD_INTERVAL);
        }
        p.Interval = interval;
    }
    const int month = form.month + 1;
    const int day = form.day + 1;
    switch (p.RecurrenceType) {
    case kRecursMonthly:
        if (day < 1 || day > 31) {
            return Refuse(kRecurDay, res::IDS_WRONG_DAY);
        }
        p.DayOfMonth = day;
        break;
    case kRecursMonthNth:
        p.Instance = form.instance + 1;
        break;
    case kRecursYearly:
        if (month < 1 || month > 12) {
            return Refuse(kRecurMonth, res::IDS_WRONG_MONTH);
        }
        if (day < 1 || day > DaysInMonth(2000, month)) { // a leap year: 29 February is allowed
            return Refuse(kRecurDay, res::IDS_WRONG_DAY);
        }
        p.MonthOfYear = month;
        p.DayOfMonth = day;
        break;
    case kRecursYearNth:
        if (month < 1 || month > 12) {
            return Refuse(kRecurMonth, res::IDS_WRONG_MONTH);
        }
        p.MonthOfYear = month;
        p.Instance = form.instance + 1;
        break;
    default:
        break;
    }
    if (UsesWeekdays(p.RecurrenceType)) {
        int mask = form.weekdayMask & 0x7f;
        if (p.RecurrenceType == kRecursDaily && p.Interval != 1) {
            mask = 0;
        } else if (mask == 0 && p.RecurrenceType != kRecursDaily) {
            return Refuse(kRecurSunday, res::IDS_SELECT_WEEKDAY);
        } else if (std::popcount(unsigned(mask)) > 1 &&
                   (p.RecurrenceType == kRecursMonthNth || p.RecurrenceType == kRecursYearNth)) {
            return Refuse(kRecurSunday, res::IDS_ONE_WEEKDAY_ONLY);
        }
        p.DayOfWeekMask = mask;
    }
    p.NoEndDate = form.noEnd;
    pattern = p;
    return std::nullopt;
}
