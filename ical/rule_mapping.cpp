// The mapping both ways. The program's monthly and yearly days are lowered to the month's length
// where RFC 5545 skips short months, so a day of 29 to 31 is written as "the last of 28..d"
// (BYMONTHDAY=28,..,d;BYSETPOS=-1) and read back from exactly that form.
#include "ical/rule_mapping.h"

#include <algorithm>

#include <regex>
#include <vector>

#include "ical/ical_time.h"
#include "model/date_time.h"
#include "model/recurrence.h"

namespace ical {
namespace {

constexpr int kLastInstance = 5;
const DATE kLastSupportedDay = SystemTimeToVariantTime(MakeSystemTime(2999, 12, 31));
constexpr int kAllWeekdays = 0x7F;
const char* const kDayNames[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

std::vector<int> Values(const short* array, int size)
{
    std::vector<int> out;
    for (int i = 0; i < size && array[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        out.push_back(array[i]);
    }
    return out;
}

struct WeekdayRule {
    int weekday;  // 0 Sunday
    int position; // 0 for every such weekday
};

std::vector<WeekdayRule> Weekdays(const icalrecurrencetype& rule)
{
    std::vector<WeekdayRule> out;
    for (const int v : Values(rule.by_day, ICAL_BY_DAY_SIZE)) {
        const short code = static_cast<short>(v);
        out.push_back({static_cast<int>(icalrecurrencetype_day_day_of_week(code)) - 1,
                       icalrecurrencetype_day_position(code)});
    }
    return out;
}

PatternFromRule Refuse(const std::string& why, bool unsupported = true)
{
    PatternFromRule r;
    r.problem = why;
    r.unsupported = unsupported;
    return r;
}

// "the last of 28..d": the program's day d lowered to the month's length.
std::optional<int> LoweredDay(const std::vector<int>& days, const std::vector<int>& setPos)
{
    if (days.size() == 1 && days[0] == -1 && setPos.empty()) {
        return 31;
    }
    if (setPos != std::vector<int>{-1} || days.size() < 2 || days.front() != 28) {
        return std::nullopt;
    }
    for (size_t i = 1; i < days.size(); ++i) {
        if (days[i] != days[i - 1] + 1 || days[i] > 31) {
            return std::nullopt;
        }
    }
    return days.back();
}

// Weeks of the program are Sunday-based; another week start groups the days the same way
// when the rule's weekdays all lie on one side of it.
bool SameWeeks(int mask, int weekStart)
{
    if (weekStart <= 0) {
        return true;
    }
    const int before = mask & ((1 << weekStart) - 1);
    return before == 0 || before == mask;
}

struct DayRules {
    std::vector<WeekdayRule> weekdays;
    std::vector<int> monthDays;
    std::vector<int> months;
    std::vector<int> setPos;
};

// Monthly and yearly days: a day of month, or weekdays at one instance.
PatternFromRule MonthDays(pim::RecurrenceFields p, const DayRules& r, const SYSTEMTIME& first,
                          bool yearly)
{
    // The days every month (or every year's month, 2001 having no leap day) has.
    const int safeDays = yearly ? DaysInMonth(2001, p.MonthOfYear) : 28;
    if (!r.weekdays.empty()) {
        if (!r.monthDays.empty()) {
            return Refuse("BYDAY with BYMONTHDAY");
        }
        int mask = 0;
        int position = r.weekdays.front().position;
        if (r.setPos.size() == 1 && r.weekdays.size() == 1 && position == 0) {
            position = r.setPos.front();
        } else if (!r.setPos.empty()) {
            return Refuse("BYSETPOS");
        }
        for (const WeekdayRule& w : r.weekdays) {
            if (w.position != r.weekdays.front().position) {
                return Refuse("BYDAY with different positions");
            }
            mask |= 1 << w.weekday;
        }
        if (position == 0 || position < -1 || position > 4) {
            return Refuse("BYDAY without a first to fourth or last position");
        }
        p.RecurrenceType = yearly ? kRecursYearNth : kRecursMonthNth;
        p.DayOfWeekMask = mask;
        p.Instance = position == -1 ? kLastInstance : position;
        return PatternFromRule{p, {}, false};
    }
    int day = first.wDay;
    if (!r.monthDays.empty()) {
        const std::optional<int> lowered = LoweredDay(r.monthDays, r.setPos);
        if (lowered) {
            day = *lowered;
        } else if (r.monthDays.size() == 1 && r.setPos.empty() && r.monthDays[0] >= 1) {
            day = r.monthDays[0];
        } else {
            return Refuse("BYMONTHDAY or BYSETPOS");
        }
        if (!lowered && day > safeDays) {
            return Refuse("a day that short months skip");
        }
    } else if (!r.setPos.empty()) {
        return Refuse("BYSETPOS");
    } else if (day > safeDays) {
        return Refuse("a start day that short months or years skip");
    }
    // A yearly day on its month's last is the program's last day of that month: it writes the
    // 30th of April as BYMONTHDAY=-1, and must read another program's rule as it reads its own.
    if (yearly && p.MonthOfYear != 2 && day == safeDays) {
        day = 31;
    }
    p.RecurrenceType = yearly ? kRecursYearly : kRecursMonthly;
    p.DayOfMonth = day;
    return PatternFromRule{p, {}, false};
}

PatternFromRule DayRulesToPattern(const icalrecurrencetype& rule, pim::RecurrenceFields p,
                                  const SYSTEMTIME& first)
{
    DayRules r{Weekdays(rule), Values(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE),
               Values(rule.by_month, ICAL_BY_MONTH_SIZE),
               Values(rule.by_set_pos, ICAL_BY_SETPOS_SIZE)};
    int mask = 0;
    for (const WeekdayRule& w : r.weekdays) {
        mask |= 1 << w.weekday;
    }
    const bool positions = std::any_of(r.weekdays.begin(), r.weekdays.end(),
                                       [](const WeekdayRule& w) { return w.position != 0; });
    switch (rule.freq) {
    case ICAL_DAILY_RECURRENCE:
        if (!r.monthDays.empty() || !r.months.empty() || !r.setPos.empty() || positions ||
            (mask != 0 && p.Interval > 1)) {
            return Refuse("a daily rule with day limits");
        }
        p.RecurrenceType = kRecursDaily;
        p.DayOfWeekMask = mask == kAllWeekdays ? 0 : mask;
        return PatternFromRule{p, {}, false};
    case ICAL_WEEKLY_RECURRENCE:
        if (!r.monthDays.empty() || !r.months.empty() || !r.setPos.empty() || positions) {
            return Refuse("a weekly rule with month or position limits");
        }
        p.RecurrenceType = kRecursWeekly;
        p.DayOfWeekMask = mask != 0 ? mask : 1 << first.wDayOfWeek;
        if (p.Interval > 1 && !SameWeeks(p.DayOfWeekMask, static_cast<int>(rule.week_start) - 1)) {
            return Refuse("WKST other than Sunday");
        }
        return PatternFromRule{p, {}, false};
    case ICAL_MONTHLY_RECURRENCE:
        if (!r.months.empty()) {
            return Refuse("a monthly rule with BYMONTH");
        }
        return MonthDays(p, r, first, false);
    case ICAL_YEARLY_RECURRENCE:
        if (p.Interval > 1) {
            return Refuse("a yearly INTERVAL");
        }
        if (r.months.size() > 1) {
            return Refuse("several BYMONTH");
        }
        if (r.months.empty() && !r.weekdays.empty()) {
            return Refuse("BYDAY in a yearly rule without BYMONTH");
        }
        p.MonthOfYear = r.months.empty() ? first.wMonth : r.months.front();
        return MonthDays(p, r, first, true);
    default:
        return Refuse("FREQ other than DAILY, WEEKLY, MONTHLY or YEARLY");
    }
}

bool HasCountZeroOrBelow(const std::string& rawRule)
{
    static const std::regex countZero("(^|[;:])COUNT=(-|0+(;|$))", std::regex::icase);
    return std::regex_search(rawRule, countZero);
}

} // namespace

PatternFromRule RuleToPattern(const icalrecurrencetype& rule, const std::string& rawRule,
                              DATE start, int32_t minutes, std::optional<DATE> localUntil,
                              bool startExcluded)
{
    if (HasCountZeroOrBelow(rawRule) || rule.count < 0) {
        return Refuse("COUNT below 1", false);
    }
    if (rule.count > 0 && icaltime_is_null_time(rule.until) == 0) {
        return Refuse("both COUNT and UNTIL", false);
    }
    if (rule.freq == ICAL_NO_RECURRENCE) {
        return Refuse("no FREQ", false);
    }
    if (rule.interval < 1) {
        return Refuse("INTERVAL below 1", false);
    }
    if (Values(rule.by_second, ICAL_BY_SECOND_SIZE).size() +
            Values(rule.by_minute, ICAL_BY_MINUTE_SIZE).size() +
            Values(rule.by_hour, ICAL_BY_HOUR_SIZE).size() !=
        0) {
        return Refuse("BYHOUR, BYMINUTE or BYSECOND");
    }
    if (!Values(rule.by_year_day, ICAL_BY_YEARDAY_SIZE).empty() ||
        !Values(rule.by_week_no, ICAL_BY_WEEKNO_SIZE).empty()) {
        return Refuse("BYYEARDAY or BYWEEKNO");
    }
    if (rule.rscale != nullptr) {
        return Refuse("RSCALE");
    }
    const SYSTEMTIME first = VariantTimeToSystemTime(start);
    pim::RecurrenceFields p;
    p.PatternStartDate = static_cast<DATE>(DayOf(start));
    p.StartTime = start - p.PatternStartDate;
    p.Duration = std::max(minutes, 0);
    p.EndTime = start + p.Duration / 1440.0;
    p.EndTime -= static_cast<DATE>(DayOf(p.EndTime));
    p.Interval = rule.interval;
    PatternFromRule mapped = DayRulesToPattern(rule, p, first);
    if (!mapped.pattern) {
        mapped.problem = "unsupported: " + mapped.problem;
        return mapped;
    }
    pim::RecurrenceFields& out = *mapped.pattern;
    if (!startExcluded && OccurrenceOnDayNumber(out, DayOf(start), 0) != kOneDayStarts) {
        // Other programs count DTSTART as an occurrence even where the rule has none.
        const std::optional<int64_t> firstRuleDay = FirstOccurrenceDay(out);
        if (!firstRuleDay || rule.count == 1) {
            return Refuse("unsupported: DTSTART is not one of the rule's days");
        }
        mapped.startOffRule = true;
        out.PatternStartDate = static_cast<DATE>(*firstRuleDay);
    }
    if (rule.count > 0) {
        // The last day by whole periods; a count past the supported years ends on their last.
        out.NoEndDate = false;
        out.Occurrences = rule.count - (mapped.startOffRule ? 1 : 0); // DTSTART counts
        const int64_t lastSupported = DayOf(kLastSupportedDay);
        out.PatternEndDate = static_cast<DATE>(std::min(
            NthOccurrenceDay(out, out.Occurrences).value_or(lastSupported), lastSupported));
    } else if (localUntil) {
        // The program's end is a day: the last one whose occurrence starts by UNTIL.
        int64_t lastDay = DayOf(*localUntil);
        if (icaltime_is_null_time(rule.until) == 0 && rule.until.is_date == 0 &&
            SecondsOf(*localUntil) < SecondsOf(start)) {
            --lastDay;
        }
        if (lastDay < DayOf(start)) {
            return Refuse("UNTIL before DTSTART", false);
        }
        if (lastDay < DayOf(out.PatternStartDate)) {
            return Refuse("unsupported: DTSTART is not one of the rule's days");
        }
        out.NoEndDate = false;
        out.PatternEndDate = static_cast<DATE>(lastDay);
    }
    return mapped;
}

std::string PatternToRule(const pim::RecurrenceFields& p)
{
    const int interval = std::max(p.Interval, 1);
    const int mask = p.DayOfWeekMask & kAllWeekdays;
    std::string days;
    const auto addDays = [&](const std::string& prefix) {
        for (int w = 0; w < 7; ++w) {
            if ((mask & (1 << w)) != 0) {
                days += (days.empty() ? "" : ",") + prefix + kDayNames[w];
            }
        }
    };
    const std::string every = interval > 1 ? ";INTERVAL=" + std::to_string(interval) : "";
    const auto dayOfMonth = [](int day) -> std::string {
        if (day >= 31) {
            return ";BYMONTHDAY=-1";
        }
        if (day <= 28) {
            return ";BYMONTHDAY=" + std::to_string(day);
        }
        std::string list;
        for (int d = 28; d <= day; ++d) {
            list += (d == 28 ? "" : ",") + std::to_string(d);
        }
        return ";BYMONTHDAY=" + list + ";BYSETPOS=-1";
    };
    const std::string instance = p.Instance == kLastInstance ? "-1" : std::to_string(p.Instance);
    const bool validInstance = p.Instance >= 1 && p.Instance <= kLastInstance;
    const bool validMonth = p.MonthOfYear >= 1 && p.MonthOfYear <= 12;
    switch (p.RecurrenceType) {
    case kRecursDaily:
        if (interval > 1 || mask == 0 || mask == kAllWeekdays) {
            return "FREQ=DAILY" + every;
        }
        addDays("");
        return "FREQ=DAILY;BYDAY=" + days;
    case kRecursWeekly:
        addDays("");
        return mask == 0 ? "" : "FREQ=WEEKLY" + every + ";WKST=SU;BYDAY=" + days;
    case kRecursMonthly:
        return p.DayOfMonth < 1 ? "" : "FREQ=MONTHLY" + every + dayOfMonth(p.DayOfMonth);
    case kRecursMonthNth:
        addDays(instance);
        return mask == 0 || !validInstance ? "" : "FREQ=MONTHLY" + every + ";BYDAY=" + days;
    case kRecursYearly: {
        if (p.DayOfMonth < 1 || !validMonth) {
            return "";
        }
        const int length = p.MonthOfYear == 2 ? 29 : DaysInMonth(2001, p.MonthOfYear);
        const int day = p.DayOfMonth > length ? 31 : p.DayOfMonth;
        return "FREQ=YEARLY;BYMONTH=" + std::to_string(p.MonthOfYear) +
               (p.MonthOfYear == 2 && day == 29 ? dayOfMonth(29)
                                                : dayOfMonth(day >= length ? 31 : day));
    }
    case kRecursYearNth:
        addDays(instance);
        return mask == 0 || !validInstance || !validMonth
                   ? ""
                   : "FREQ=YEARLY;BYMONTH=" + std::to_string(p.MonthOfYear) + ";BYDAY=" + days;
    default:
        return "";
    }
}

std::optional<int64_t> FirstOccurrenceDay(const pim::RecurrenceFields& pattern)
{
    // Every pattern repeats within a few years (leap days: eight years at most between two).
    constexpr int64_t kSearchDays = int64_t{366} * 9;
    const int64_t s = DayOf(pattern.PatternStartDate);
    const int64_t last = pattern.NoEndDate
                             ? s + kSearchDays
                             : std::min(DayOf(pattern.PatternEndDate), s + kSearchDays);
    for (int64_t day = s; day <= last; ++day) {
        const int state = OccurrenceOnDayNumber(pattern, day, 0);
        if (state == kOneDayStarts || state == kLongerStarts) {
            return day;
        }
    }
    return std::nullopt;
}

bool CountFillsPattern(const pim::RecurrenceFields& pattern, int32_t count)
{
    const int64_t last = DayOf(pattern.PatternEndDate);
    const std::optional<int64_t> nth = NthOccurrenceDay(pattern, count);
    const std::optional<int64_t> next = NthOccurrenceDay(pattern, int64_t{count} + 1);
    return nth && *nth <= last && (!next || *next > last);
}

} // namespace ical
