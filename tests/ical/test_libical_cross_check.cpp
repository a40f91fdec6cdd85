// The exported rules, expanded by libical, give exactly the occurrences the program's own rule
// gives: over seeded random patterns of every type, with month ends, leap days, intervals, masks,
// instances, end dates, counts and exceptions.
#include <QString>
#include <gtest/gtest.h>
#include <libical/ical.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

#include "ical/calendar_export.h"
#include "ical/component_writer.h"
#include "ical/occurrence_list.h"
#include "model/date_time.h"
#include "platform/pim/application.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/ical_builder.h"
#include "tests/support/temp_paths.h"

namespace {

const SYSTEMTIME kFrom = MakeSystemTime(2026, 6, 1);
constexpr int kDays = 400;
constexpr time_t kDay = 86400; // seconds

std::string LocalStamp(time_t t, bool wholeDay)
{
    std::tm tm{};
    wholeDay ? gmtime_r(&t, &tm) : localtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, wholeDay ? "%Y%m%d" : "%Y%m%dT%H%M%S", &tm);
    return text;
}

// libical's occurrences in [from, to), as "start summary" lines; the series' occurrences that a
// RECURRENCE-ID component replaces are left out, the replacements kept.
struct Expansion {
    std::set<std::pair<std::string, std::string>> overridden; // UID, RECURRENCE-ID
    std::vector<std::string> lines;
    time_t from, to;
    icalcomponent* event = nullptr;
};

void OnOccurrence(icalcomponent* /*component*/, struct icaltime_span* span, void* data)
{
    Expansion& e = *static_cast<Expansion*>(data);
    const bool wholeDay = icalcomponent_get_dtstart(e.event).is_date != 0;
    const std::string start = LocalStamp(span->start, wholeDay);
    const bool replacement =
        icalcomponent_get_first_property(e.event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
    if (span->start < e.from || span->start >= e.to ||
        (!replacement && e.overridden.contains({icalcomponent_get_uid(e.event), start}))) {
        return;
    }
    const char* summary = icalcomponent_get_summary(e.event);
    e.lines.push_back(start + " " + (summary != nullptr ? summary : ""));
}

time_t LocalMidnight(const SYSTEMTIME& day)
{
    std::tm tm{};
    tm.tm_year = day.wYear - 1900;
    tm.tm_mon = day.wMonth - 1;
    tm.tm_mday = day.wDay;
    tm.tm_isdst = -1;
    return mktime(&tm);
}

std::vector<std::string> LibicalOccurrences(const std::string& text)
{
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    Expansion e{{}, {}, LocalMidnight(kFrom), LocalMidnight(AddDays(kFrom, kDays))};
    const auto events = [calendar](const auto& visit) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            visit(c);
        }
    };
    events([&e](icalcomponent* c) {
        if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) == nullptr) {
            return;
        }
        // Written in the local zone (or UTC when that is the local zone): its fields are the
        // local stamp.
        std::string stamp = icaltime_as_ical_string(icalcomponent_get_recurrenceid(c));
        if (!stamp.empty() && stamp.back() == 'Z') {
            stamp.pop_back();
        }
        e.overridden.insert({icalcomponent_get_uid(c), stamp});
    });
    // Wide bounds: the start filter is ours, so long occurrences are not cut by libical.
    const icaltimetype start = icaltime_from_timet_with_zone(e.from - 400 * kDay, 0, nullptr);
    const icaltimetype end = icaltime_from_timet_with_zone(e.to + 2 * kDay, 0, nullptr);
    events([&](icalcomponent* c) {
        e.event = c;
        icalcomponent_foreach_recurrence(c, start, end, OnOccurrence, &e);
    });
    icalcomponent_free(calendar);
    std::sort(e.lines.begin(), e.lines.end());
    return e.lines;
}

// The program's occurrences as "start summary" lines, in the order libical's are given. (RFC 5545
// keeps the exact length of the first occurrence for all others, so where an occurrence spans a
// daylight-saving switch its end differs by that hour; the days and starts must agree.)
std::vector<std::string> ProgramStarts(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::vector<std::string> lines;
    EXPECT_EQ(ical::ListOccurrences(session, kFrom, kDays, lines), 0);
    for (std::string& line : lines) {
        const size_t end = line.find(' ') + 1;
        line.erase(end, line.find(' ', end) + 1 - end);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Days where the program's rule and RFC 5545 are most likely to part.
const SYSTEMTIME kEdgeDays[] = {MakeSystemTime(2024, 2, 29), MakeSystemTime(2026, 1, 31),
                                MakeSystemTime(2026, 3, 29), MakeSystemTime(2026, 10, 25),
                                MakeSystemTime(2026, 8, 30), MakeSystemTime(2026, 12, 31)};

void AddRandomSeries(pim::Application& app, std::mt19937& random, int index)
{
    const auto pick = [&](int low, int high) {
        return low + static_cast<int>(random() % (high - low + 1));
    };
    std::shared_ptr<pim::AppointmentItem> item;
    ASSERT_EQ(app.CreateItem(pim::kAppointmentKind, &item), 0);
    const SYSTEMTIME day = random() % 3 == 0 ? kEdgeDays[random() % std::size(kEdgeDays)]
                                             : AddDays(MakeSystemTime(2025, 9, 1), pick(0, 500));
    const bool allDay = random() % 5 == 0;
    const DATE first = SystemTimeToVariantTime(TruncateSystemTime(day, 3));
    const int minute = allDay ? 0 : pick(0, 95) * 15;
    const int duration = allDay ? 1440 * pick(1, 3) : pick(0, 200) * 15;
    item->SetSubject(L"Series " + std::to_wstring(index));
    item->SetAllDayEvent(allDay);
    item->SetStart(first + minute / 1440.0);
    item->SetEnd(first + (minute + duration) / 1440.0);
    std::shared_ptr<pim::RecurrencePattern> p;
    ASSERT_EQ(item->GetRecurrencePattern(&p), 0);
    static const int kTypes[] = {kRecursDaily,    kRecursWeekly, kRecursMonthly,
                                 kRecursMonthNth, kRecursYearly, kRecursYearNth};
    p->SetRecurrenceType(kTypes[random() % std::size(kTypes)]);
    p->SetPatternStartDate(first);
    p->SetStartTime(minute / 1440.0);
    p->SetDuration(duration);
    p->SetInterval(pick(1, 4));
    p->SetDayOfWeekMask(random() % 4 == 0 ? 0 : pick(1, 127));
    p->SetDayOfMonth(random() % 3 == 0 ? pick(28, 31) : pick(1, 31));
    p->SetInstance(pick(1, 5));
    p->SetMonthOfYear(random() % 4 == 0 ? 2 : pick(1, 12));
    const int ending = pick(0, 2);
    p->SetNoEndDate(ending == 0);
    p->SetPatternEndDate(ending == 1 ? first + pick(0, 500) : 0.0);
    p->SetOccurrences(ending == 2 ? pick(1, 30) : 0);
    ASSERT_EQ(item->Save(), 0);
    // Now and then a changed, moved or deleted occurrence.
    for (int k = 0; k < 3 && random() % 2 == 0; ++k) {
        std::shared_ptr<pim::AppointmentItem> occurrence;
        const DATE candidate = first + pick(0, 400);
        if (p->GetOccurrence(candidate, &occurrence) < 0) {
            continue;
        }
        if (k == 2) {
            occurrence->Delete();
            continue;
        }
        occurrence->SetSubject(L"Changed " + std::to_wstring(index));
        occurrence->SetStart(occurrence->GetStart() + k * 0.125);
        occurrence->SetEnd(occurrence->GetEnd() + k * 0.125);
        ASSERT_EQ(occurrence->Save(), 0);
    }
}

} // namespace

TEST(LibicalCrossCheck, ExportedRulesExpandOnTheProgramsDays)
{
    ScopedZone zone("Europe/Berlin");
    TempPaths paths;
    {
        pim::Application app;
        ASSERT_EQ(app.Logon(paths.StorePath(), OccurrenceOnDay), 0);
        std::mt19937 random(20261207);
        ASSERT_EQ(app.RunInOneTransaction([&] {
            for (int i = 0; i < 400; ++i) {
                AddRandomSeries(app, random, i);
            }
            return 0;
        }),
                  0);
    }
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    std::ostringstream out;
    const ical::ExportReport report = ical::ExportCalendar(session, {kToday}, out);
    std::vector<std::string> program = ProgramStarts(paths.StorePath());
    std::vector<std::string> libical = LibicalOccurrences(out.str());
    // A series whose first start falls into the spring-forward gap is reported by the export;
    // libical moves it an hour on, so it is left out of the comparison.
    std::set<std::string> reported;
    for (const pim::StoredItem& item : StoredItems(paths.StorePath())) {
        for (const std::string& note : report.notes) {
            if (note.starts_with(ical::ExportUid(item.fields) + ":") &&
                note.find("daylight saving") != std::string::npos) {
                reported.insert(QString::fromStdWString(item.fields.Subject).toStdString());
            }
        }
    }
    EXPECT_LE(reported.size(), 3U);
    for (std::vector<std::string>* lines : {&program, &libical}) {
        std::erase_if(*lines, [&](const std::string& line) {
            const size_t series = line.find(" Series");
            return series != std::string::npos && reported.contains(line.substr(series + 1));
        });
    }
    EXPECT_GT(program.size(), 5000U);
    std::vector<std::string> onlyProgram;
    std::vector<std::string> onlyLibical;
    std::ranges::set_difference(program, libical, std::back_inserter(onlyProgram));
    std::ranges::set_difference(libical, program, std::back_inserter(onlyLibical));
    EXPECT_EQ(onlyProgram, std::vector<std::string>{}) << "only in the program";
    EXPECT_EQ(onlyLibical, std::vector<std::string>{}) << "only in libical";
}
