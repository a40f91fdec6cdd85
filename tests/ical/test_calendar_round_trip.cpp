// Export, then import into an empty store, gives the same items over the demo calendar; a
// second import of the same file changes nothing; an older store keeps its items' ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "ical/occurrence_list.h"
#include "model/pim_records.h"
#include "platform/pim/demo_calendar.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/temp_paths.h"

namespace {

const SYSTEMTIME kToday = MakeSystemTime(2026, 12, 7, 9, 30);

// The pattern values the occurrence rule reads for the pattern's type; the others are not
// carried by RRULE.
pim::RecurrenceFields Meaningful(pim::RecurrenceFields p)
{
    const bool weekdays = p.RecurrenceType == kRecursDaily || p.RecurrenceType == kRecursWeekly ||
                          p.RecurrenceType == kRecursMonthNth || p.RecurrenceType == kRecursYearNth;
    const bool dayOfMonth = p.RecurrenceType == kRecursMonthly || p.RecurrenceType == kRecursYearly;
    const bool yearly = p.RecurrenceType == kRecursYearly || p.RecurrenceType == kRecursYearNth;
    if (!weekdays || (p.RecurrenceType == kRecursDaily && p.Interval > 1)) {
        p.DayOfWeekMask = 0;
    }
    p.DayOfMonth = dayOfMonth ? p.DayOfMonth : 0;
    p.Instance = dayOfMonth || !weekdays || p.RecurrenceType < kRecursMonthNth ? 0 : p.Instance;
    p.MonthOfYear = yearly ? p.MonthOfYear : 0;
    p.Interval = yearly ? 1 : std::max(p.Interval, 1);
    if (p.NoEndDate) {
        p.PatternEndDate = 0.0;
        p.Occurrences = 0;
    }
    return p;
}

void ExpectSameFields(const pim::ItemFields& a, const pim::ItemFields& b, int32_t kind,
                      const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(a.Subject, b.Subject);
    EXPECT_EQ(a.Body, b.Body);
    EXPECT_EQ(a.Categories, b.Categories);
    EXPECT_EQ(a.Sensitivity, b.Sensitivity);
    EXPECT_EQ(a.ReminderSet, b.ReminderSet);
    if (kind == pim::kAppointmentKind) {
        EXPECT_EQ(a.Location, b.Location);
        EXPECT_EQ(VariantTimeToSystemTime(a.Start).wMinute, VariantTimeToSystemTime(b.Start).wMinute);
        EXPECT_NEAR(a.Start, b.Start, 1e-6);
        EXPECT_NEAR(a.End, b.End, 1e-6);
        EXPECT_EQ(a.AllDayEvent, b.AllDayEvent);
        EXPECT_EQ(a.BusyStatus, b.BusyStatus);
        if (a.ReminderSet) {
            EXPECT_EQ(a.ReminderMinutesBeforeStart, b.ReminderMinutesBeforeStart);
            EXPECT_EQ(a.ReminderOptions, b.ReminderOptions);
        }
        return;
    }
    EXPECT_NEAR(a.StartDate, b.StartDate, 1e-6);
    EXPECT_NEAR(a.DueDate, b.DueDate, 1e-6);
    EXPECT_EQ(a.Importance, b.Importance);
    EXPECT_EQ(a.Complete, b.Complete);
    if (a.Complete) {
        EXPECT_NEAR(a.DateCompleted, b.DateCompleted, 1.0 / 86400);
    }
    if (a.ReminderSet && IsReminderTimeSet(a.ReminderTime)) {
        EXPECT_NEAR(a.ReminderTime, b.ReminderTime, 1.0 / 86400);
    }
}

void ExpectSameItem(const pim::StoredItem& a, const pim::StoredItem& b, const std::string& uid)
{
    ASSERT_EQ(a.kind, b.kind) << uid;
    ExpectSameFields(a.fields, b.fields, a.kind, uid);
    ASSERT_EQ(a.pattern.has_value(), b.pattern.has_value()) << uid;
    if (a.pattern) {
        const pim::RecurrenceFields p = Meaningful(*a.pattern);
        const pim::RecurrenceFields q = Meaningful(*b.pattern);
        EXPECT_EQ(std::tie(p.RecurrenceType, p.Interval, p.DayOfWeekMask, p.DayOfMonth,
                           p.Instance, p.MonthOfYear, p.NoEndDate, p.Occurrences, p.Duration),
                  std::tie(q.RecurrenceType, q.Interval, q.DayOfWeekMask, q.DayOfMonth,
                           q.Instance, q.MonthOfYear, q.NoEndDate, q.Occurrences, q.Duration))
            << uid;
        EXPECT_EQ(p.PatternStartDate, q.PatternStartDate) << uid;
        EXPECT_EQ(p.PatternEndDate, q.PatternEndDate) << uid;
        EXPECT_NEAR(p.StartTime, q.StartTime, 1e-6) << uid;
    }
    ASSERT_EQ(a.exceptions.size(), b.exceptions.size()) << uid;
    for (size_t i = 0; i < a.exceptions.size(); ++i) {
        EXPECT_EQ(a.exceptions[i].OriginalDate, b.exceptions[i].OriginalDate) << uid;
        EXPECT_EQ(a.exceptions[i].Deleted, b.exceptions[i].Deleted) << uid;
        if (!a.exceptions[i].Deleted) {
            ExpectSameFields(a.exceptions[i].occurrence, b.exceptions[i].occurrence,
                             pim::kAppointmentKind, uid + " exception");
        }
    }
}

std::string Export(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::ostringstream out;
    const ical::ExportReport report = ical::ExportCalendar(session, {kToday}, out);
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.leftOut, 0);
    return out.str();
}

ical::ImportReport Import(const std::string& store, const std::string& text)
{
    PimSession session(store, OccurrenceOnDay);
    std::istringstream in(text);
    return ical::ImportCalendar(in, session, {false, kToday});
}

}  // namespace

TEST(CalendarRoundTrip, TheDemoCalendarComesBackWholeAndReimportingChangesNothing)
{
    for (const char* zone : {"Europe/Berlin", "UTC", "America/New_York"}) {
        SCOPED_TRACE(zone);
        ScopedZone scoped(zone);
        TempPaths paths;
        const std::string source = paths.File("source.sqlite3");
        ASSERT_EQ(pim::WriteDemoStore(source, OccurrenceOnDay, kToday, 300, 60, 11), 0);
        const std::string text = Export(source);
        EXPECT_NE(text.find("PRODID:-//Velloran//Tamberlo//EN"), std::string::npos);
        EXPECT_EQ(text.find("BEGIN:VTIMEZONE") != std::string::npos, std::string(zone) != "UTC");

        const ical::ImportReport first = Import(paths.StorePath(), text);
        EXPECT_EQ(ical::SummaryLine(first), "imported 300 appointments, 60 tasks, 0 skipped");
        const std::vector<pim::StoredItem> before = StoredItems(source);
        const std::vector<pim::StoredItem> after = StoredItems(paths.StorePath());
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].fields.UID, L"tamberlo-oid-" + std::to_wstring(before[i].fields.Oid));
            ExpectSameItem(before[i], after[i], "item " + std::to_string(i));
        }
        std::vector<pim::StoredItem> appointments(before.begin(), before.begin() + 300);
        std::vector<pim::StoredItem> imported(after.begin(), after.begin() + 300);
        EXPECT_EQ(ical::OccurrenceLines(appointments, MakeSystemTime(2026, 9, 1), 400),
                  ical::OccurrenceLines(imported, MakeSystemTime(2026, 9, 1), 400));

        // The second export of the imported store is the first one again, and importing it
        // once more keeps every object id and value.
        EXPECT_EQ(Export(paths.StorePath()), text);
        EXPECT_EQ(ical::SummaryLine(Import(paths.StorePath(), text)),
                  "imported 300 appointments, 60 tasks, 0 skipped");
        const std::vector<pim::StoredItem> again = StoredItems(paths.StorePath());
        ASSERT_EQ(again.size(), after.size());
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(again[i].fields.Oid, after[i].fields.Oid);
            ExpectSameItem(after[i], again[i], "again " + std::to_string(i));
        }
    }
}
