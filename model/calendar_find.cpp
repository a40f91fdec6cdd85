// The store finds the items (through its folded-text index); here each becomes one dated line.
// Deleted occurrences are skipped when a series' next or last occurrence is looked for.
#include "model/calendar_find.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/date_time.h"
#include "model/pim_records.h"
#include "model/pim_session.h"
#include "model/recurrence.h"

namespace {

// Enough for a daily series whose next many occurrences were all deleted.
constexpr int kMostSkipped = 1000;

bool Deleted(const pim::FindMatch& item, DATE day)
{
    return std::any_of(item.deletedDays.begin(), item.deletedDays.end(),
                       [day](DATE deleted) { return std::floor(deleted) == day; });
}

bool Starts(const pim::RecurrenceFields& pattern, int64_t day)
{
    const int on = OccurrenceOnDayNumber(pattern, day, -1);
    return on == kOneDayStarts || on == kLongerStarts;
}

// The last start day on or before the pattern's end; empty when there is none.
std::optional<DATE> LastStart(const pim::FindMatch& item)
{
    const pim::RecurrenceFields& p = *item.pattern;
    const int64_t first = DayNumber(p.PatternStartDate);
    int skipped = 0;
    for (int64_t day = DayNumber(p.PatternEndDate); day >= first && skipped < kMostSkipped;
         --day) {
        if (Starts(p, day) && !Deleted(item, static_cast<DATE>(day)))
            return static_cast<DATE>(day);
        ++skipped;
    }
    return std::nullopt;
}

// The day of the series' next occurrence from today on, or of its last once it has ended.
std::optional<DATE> SeriesDay(const pim::FindMatch& item, DATE today)
{
    const pim::RecurrenceFields& p = *item.pattern;
    SYSTEMTIME after = VariantTimeToSystemTime(today - 1.0);
    for (int skipped = 0; skipped < kMostSkipped; ++skipped) {
        const std::optional<SYSTEMTIME> next = NextOccurrence(p, after);
        if (!next)
            return std::nullopt;
        const DATE day = SystemTimeToVariantTime(*next);
        if (!p.NoEndDate && day > std::floor(p.PatternEndDate))
            return LastStart(item);
        if (!Deleted(item, day))
            return day;
        after = *next;
    }
    return std::nullopt;
}

std::optional<FoundItem> LineOf(const pim::FindMatch& item, DATE today)
{
    FoundItem line{{static_cast<pim::ItemKind>(item.kind), item.oid}, item.start, !item.allDay,
                   item.subject};
    if (item.kind == pim::kTaskKind) {
        line.timed = false;
        line.when = IsTaskDate(item.dueDate)     ? item.dueDate
                    : IsTaskDate(item.startDate) ? item.startDate
                                                 : pim::kNoDate;
        return line;
    }
    if (item.pattern) {
        const std::optional<DATE> day = SeriesDay(item, today);
        if (!day)
            return std::nullopt;
        line.when = *day + (item.start - std::floor(item.start));
    }
    return line;
}

} // namespace

FoundItems FindInCalendar(PimSession& session, const std::wstring& text, const SYSTEMTIME& now)
{
    FoundItems found;
    std::vector<pim::FindMatch> items;
    found.status = session.FindMatches(text, items);
    const DATE today = std::floor(SystemTimeToVariantTime(now));
    for (const pim::FindMatch& item : items)
        if (const std::optional<FoundItem> line = LineOf(item, today))
            found.lines.push_back(*line);
    std::stable_sort(found.lines.begin(), found.lines.end(),
                     [](const FoundItem& a, const FoundItem& b) { return a.when < b.when; });
    const auto next = std::find_if(found.lines.begin(), found.lines.end(),
                                   [today](const FoundItem& l) { return l.when >= today; });
    if (next != found.lines.end() && next->when != pim::kNoDate)
        found.next = static_cast<int>(next - found.lines.begin());
    return found;
}

std::wstring FoundDayText(const FoundItem& found)
{
    return found.when == pim::kNoDate ? std::wstring() : DayText(found.when);
}

std::wstring FoundTimeText(const FoundItem& found)
{
    return found.timed ? ClockText(found.when) : std::wstring();
}
