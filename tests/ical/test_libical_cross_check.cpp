// libical expands the exported rules of every type to exactly the program's occurrences.
#include <libical/ical.h>

#include <algorithm>

#include "ical/occurrence_list.h"
#include "model/date_time.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/temp_paths.h"

namespace {

const SYSTEMTIME kFrom = MakeSystemTime(2026, 6, 1);
constexpr int kDays = 400; // to 6 July 2027, the first day after the window
const std::string kFirstStamp = "20260601";
const std::string kAfterStamp = "20270706";

// libical's occurrence starts in the window, as sorted local stamps.
std::vector<std::string> LibicalStarts(const std::string& text)
{
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    struct Expansion {
        bool wholeDay;
        std::vector<std::string> starts;
    } e{false, {}};
    const auto onOccurrence = [](icalcomponent*, icaltime_span* span, void* data) {
        Expansion& e = *static_cast<Expansion*>(data);
        std::tm tm{};
        e.wholeDay ? gmtime_r(&span->start, &tm) : localtime_r(&span->start, &tm);
        char text[32];
        std::strftime(text, sizeof text, e.wholeDay ? "%Y%m%d" : "%Y%m%dT%H%M%S", &tm);
        if (text >= kFirstStamp && text < kAfterStamp) {
            e.starts.emplace_back(text);
        }
    };
    // Wide bounds: the start filter is ours, so long occurrences are not cut by libical.
    const icaltimetype from = icaltime_from_string("20250101T000000Z");
    const icaltimetype to = icaltime_from_string("20280101T000000Z");
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        e.wholeDay = icalcomponent_get_dtstart(c).is_date != 0;
        icalcomponent_foreach_recurrence(c, from, to, onOccurrence, &e);
    }
    icalcomponent_free(calendar);
    std::sort(e.starts.begin(), e.starts.end());
    return e.starts;
}

// The program's occurrence starts in the window (each listed line begins with its start).
std::vector<std::string> ProgramStarts(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::vector<std::string> lines;
    EXPECT_EQ(ical::ListOccurrences(session, kFrom, kDays, lines), 0);
    for (std::string& line : lines) {
        line.erase(line.find(' '));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

struct Rule {
    int type;
    SYSTEMTIME first; // with the start time; midnight for an all-day series
    int interval, mask, dayOfMonth, instance, month;
    int ending;    // > 0: that many occurrences; < 0: ends that many days after the first; 0: none
    int deleteDay; // days after the first of an occurrence deleted; 0: none
};

void AddSeries(PimSession& session, const Rule& rule)
{
    const AppointItem item = session.CreateAppointment();
    const DATE start = SystemTimeToVariantTime(rule.first);
    const DATE first = std::floor(start);
    const bool allDay = start == first;
    const int duration = allDay ? 1440 : 90;
    item->SetAllDayEvent(allDay);
    item->SetStart(start);
    item->SetEnd(start + duration / 1440.0);
    std::shared_ptr<pim::RecurrencePattern> p;
    ASSERT_EQ(item->GetRecurrencePattern(&p), 0);
    p->SetRecurrenceType(rule.type);
    p->SetPatternStartDate(first);
    p->SetStartTime(start - first);
    p->SetDuration(duration);
    p->SetInterval(rule.interval);
    p->SetDayOfWeekMask(rule.mask);
    p->SetDayOfMonth(rule.dayOfMonth);
    p->SetInstance(rule.instance);
    p->SetMonthOfYear(rule.month);
    p->SetNoEndDate(rule.ending == 0);
    p->SetOccurrences(std::max(rule.ending, 0));
    p->SetPatternEndDate(rule.ending < 0 ? first - rule.ending : 0.0);
    ASSERT_EQ(item->Save(), 0);
    std::shared_ptr<pim::AppointmentItem> deleted;
    if (rule.deleteDay != 0) {
        ASSERT_EQ(p->GetOccurrence(first + rule.deleteDay, &deleted), 0);
        ASSERT_EQ(deleted->Delete(), 0);
    }
}

} // namespace

TEST(LibicalCrossCheck, ExportedRulesExpandOnTheProgramsDays)
{
    ScopedZone zone("Europe/Berlin");
    TempPaths paths;
    const Rule rules[] = {
        {kRecursDaily, MakeSystemTime(2026, 10, 20, 23, 30), 3, 0, 1, 1, 1, 20, 6},
        {kRecursDaily, MakeSystemTime(2026, 3, 29), 2, 0, 1, 1, 1, -500, 0},
        {kRecursWeekly, MakeSystemTime(2026, 8, 30, 9), 2, 42, 1, 1, 1, 0, 15},
        {kRecursWeekly, MakeSystemTime(2026, 12, 31), 1, 65, 1, 1, 1, 30, 0},
        {kRecursMonthly, MakeSystemTime(2026, 1, 31, 18), 1, 0, 31, 1, 1, 0, 0},
        {kRecursMonthly, MakeSystemTime(2025, 11, 29), 3, 0, 29, 1, 1, -700, 0},
        {kRecursMonthNth, MakeSystemTime(2026, 7, 31, 7, 15), 1, 32, 1, 5, 1, 0, 0},
        {kRecursMonthNth, MakeSystemTime(2026, 6, 9, 12), 2, 62, 1, 2, 1, 8, 0},
        {kRecursYearly, MakeSystemTime(2024, 2, 29, 10), 1, 0, 29, 1, 2, 0, 0},
        {kRecursYearly, MakeSystemTime(2025, 10, 25, 2, 30), 1, 0, 25, 1, 10, 0, 0},
        {kRecursYearNth, MakeSystemTime(2025, 3, 30, 8), 1, 1, 1, 5, 3, 0, 0},
        {kRecursYearNth, MakeSystemTime(2025, 9, 1), 1, 2, 1, 1, 9, 3, 0},
    };
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    ASSERT_EQ(session.Connect(), 0);
    for (const Rule& rule : rules) {
        AddSeries(session, rule);
    }
    session.Disconnect();
    const std::vector<std::string> program = ProgramStarts(paths.StorePath());
    EXPECT_GT(program.size(), 100U);
    EXPECT_EQ(LibicalStarts(Export(paths.StorePath())), program);
}
