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

// The local start of the series' occurrence on the pattern's own day (a zoned series' days are
// its zone's), unless that occurrence was deleted.
std::optional<DATE> KeptStart(const pim::FindMatch& item, int64_t day)
{
    const std::optional<DATE> start = LocalStartOfPatternDay(*item.pattern, day);
    if (!start || Deleted(item, std::floor(*start))) {
        return std::nullopt;
    }
    return start;
}

// The last start on or before the pattern's end; empty when there is none.
std::optional<DATE> LastStart(const pim::FindMatch& item)
{
    pim::RecurrenceFields ownDays = *item.pattern;
    ownDays.Zone.clear(); // walked on the pattern's own days, converted by KeptStart
    const int64_t first = DayNumber(ownDays.PatternStartDate);
    int skipped = 0;
    for (int64_t day = DayNumber(ownDays.PatternEndDate); day >= first && skipped < kMostSkipped;
         --day) {
        if (Starts(ownDays, day)) {
            if (const std::optional<DATE> start = KeptStart(item, day)) {
                return start;
            }
        }
        ++skipped;
    }
    return std::nullopt;
}

// The local start of the series' next occurrence from today on, or of its last once it ended.
std::optional<DATE> SeriesStart(const pim::FindMatch& item, DATE today)
{
    const pim::RecurrenceFields& p = *item.pattern;
    SYSTEMTIME after = VariantTimeToSystemTime(today - 1.0);
    for (int skipped = 0; skipped < kMostSkipped; ++skipped) {
        const std::optional<SYSTEMTIME> next = NextOccurrence(p, after);
        if (!next) {
            return std::nullopt;
        }
        const DATE day = SystemTimeToVariantTime(*next);
        if (!p.NoEndDate && day > std::floor(p.PatternEndDate)) {
            return LastStart(item);
        }
        const std::optional<DATE> start = KeptStart(item, DayNumber(day));
        if (start && *start >= today) { // a zone's day may begin on the local day before
            return start;
        }
        after = *next;
    }
    return std::nullopt;
}

std::optional<FoundItem> LineOf(const pim::FindMatch& item, DATE today)
{
    FoundItem line{{static_cast<pim::ItemKind>(item.kind), item.oid},
                   item.start,
                   !item.allDay,
                   item.subject,
                   item.calendar};
    if (item.kind == pim::kTaskKind) {
        line.timed = false;
        line.when = IsTaskDate(item.dueDate)     ? item.dueDate
                    : IsTaskDate(item.startDate) ? item.startDate
                                                 : pim::kNoDate;
        return line;
    }
    if (item.pattern) {
        const std::optional<DATE> start = SeriesStart(item, today);
        if (!start) {
            return std::nullopt;
        }
        line.when = *start;
    }
    return line;
}

} // namespace

FoundItems FindInCalendar(PimSession& session, const std::wstring& text, const SYSTEMTIME& now,
                          const CalendarChoice& choice)
{
    FoundItems found;
    std::vector<pim::FindMatch> items;
    std::vector<pim::Calendar> calendars;
    {
        // The calendars and the matches are read over one connection, so they agree.
        const ScopedConnection connection(session);
        found.status = session.FindMatches(text, items);
        if (session.Calendars().All(calendars) < 0) {
            calendars.clear(); // a store older than calendars: every item is listed
        }
    }
    const DATE today = std::floor(SystemTimeToVariantTime(now));
    for (const pim::FindMatch& item : items) {
        if (choice.Holds(calendars, item.calendar)) {
            if (const std::optional<FoundItem> line = LineOf(item, today)) {
                found.lines.push_back(*line);
            }
        }
    }
    std::stable_sort(found.lines.begin(), found.lines.end(),
                     [](const FoundItem& a, const FoundItem& b) { return a.when < b.when; });
    const auto next = std::find_if(found.lines.begin(), found.lines.end(),
                                   [today](const FoundItem& l) { return l.when >= today; });
    if (next != found.lines.end() && next->when != pim::kNoDate) {
        found.next = static_cast<int>(next - found.lines.begin());
    }
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
