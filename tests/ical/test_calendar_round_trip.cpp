// Export, then import into an empty store, gives the same items over the demo calendar, and a
// second import of the same file changes nothing.
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ical/occurrence_list.h"
#include "model/pim_records.h"
#include "platform/pim/demo_calendar.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/temp_paths.h"

namespace {

// The pattern values the occurrence rule reads for the pattern's type; the others are not
// carried by RRULE.
pim::RecurrenceFields Meaningful(pim::RecurrenceFields p)
{
    const bool weekdays = p.RecurrenceType == kRecursDaily || p.RecurrenceType == kRecursWeekly ||
                          p.RecurrenceType == kRecursMonthNth || p.RecurrenceType == kRecursYearNth;
    const bool dayOfMonth = p.RecurrenceType == kRecursMonthly || p.RecurrenceType == kRecursYearly;
    const bool yearly = p.RecurrenceType == kRecursYearly || p.RecurrenceType == kRecursYearNth;
    if (!weekdays || (p.RecurrenceType == kRecursDaily && p.Interval > 1))
        p.DayOfWeekMask = 0;
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

// What the store holds of an item that a calendar file carries, as one text to compare.
std::string Describe(const pim::StoredItem& item)
{
    std::wostringstream out;
    // Tenths of a second, so that times must agree as closely as the store keeps them.
    const auto time = [](DATE date) { return std::to_wstring(std::llround(date * 864000.0)); };
    const auto fields = [&](const pim::ItemFields& f, bool appointment) {
        out << f.Subject << '|' << f.Body << '|' << f.Categories << '|' << f.Sensitivity << '|'
            << f.ReminderSet << '|';
        if (appointment) {
            out << f.Location << '|' << time(f.Start) << '|' << time(f.End) << '|' << f.AllDayEvent
                << '|' << f.BusyStatus;
            if (f.ReminderSet)
                out << '|' << f.ReminderMinutesBeforeStart << '|' << f.ReminderOptions;
            return;
        }
        out << time(f.StartDate) << '|' << time(f.DueDate) << '|' << f.Importance << '|'
            << f.Complete;
        if (f.Complete)
            out << '|' << time(f.DateCompleted);
        if (f.ReminderSet && IsReminderTimeSet(f.ReminderTime))
            out << '|' << time(f.ReminderTime);
    };
    out << item.kind << ' ';
    fields(item.fields, item.kind == pim::kAppointmentKind);
    if (item.pattern) {
        const pim::RecurrenceFields p = Meaningful(*item.pattern);
        out << "\nrule " << p.RecurrenceType << ' ' << p.Interval << ' ' << p.DayOfWeekMask << ' '
            << p.DayOfMonth << ' ' << p.Instance << ' ' << p.MonthOfYear << ' ' << p.NoEndDate
            << ' ' << p.Occurrences << ' ' << p.Duration << ' ' << time(p.PatternStartDate) << ' '
            << time(p.PatternEndDate) << ' ' << time(p.StartTime);
    }
    for (const pim::ExceptionFields& e : item.exceptions) {
        out << "\nexception " << time(e.OriginalDate) << ' ' << e.Deleted << ' ';
        if (!e.Deleted)
            fields(e.occurrence, true);
    }
    return QString::fromStdWString(out.str()).toStdString();
}

} // namespace

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
            EXPECT_EQ(after[i].fields.UID,
                      L"tamberlo-oid-" + std::to_wstring(before[i].fields.Oid));
            EXPECT_EQ(Describe(after[i]), Describe(before[i])) << i;
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
            EXPECT_EQ(Describe(again[i]), Describe(after[i])) << i;
        }
    }
}
