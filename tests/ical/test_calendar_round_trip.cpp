// Export then import gives the demo calendar's items again; a second import writes nothing.
#include <QString>

#include <algorithm>
#include <cmath>

#include "ical/occurrence_list.h"
#include "model/pim_records.h"
#include "platform/pim/demo_calendar.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/ical_builder.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

// The pattern values the occurrence rule reads for its type (RRULE carries no others).
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
            if (f.ReminderSet) {
                out << '|' << f.ReminderMinutesBeforeStart << '|' << f.ReminderOptions;
            }
            return;
        }
        out << time(f.StartDate) << '|' << time(f.DueDate) << '|' << f.Importance << '|'
            << f.Complete;
        if (f.Complete) {
            out << '|' << time(f.DateCompleted);
        }
        if (f.ReminderSet && IsReminderTimeSet(f.ReminderTime)) {
            out << '|' << time(f.ReminderTime);
        }
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
        if (!e.Deleted) {
            fields(e.occurrence, true);
        }
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
            EXPECT_EQ(after[i].fields.UID, before[i].fields.UID);
            EXPECT_EQ(Describe(after[i]), Describe(before[i])) << i;
        }
        EXPECT_EQ(Export(paths.StorePath()), text) << "the second export is the first one";
        // Series with changed or deleted occurrences were once saved again on every import.
        const QByteArray bytes = Bytes(paths.StorePath());
        const QByteArray log = Bytes(paths.StorePath() + "-wal");
        EXPECT_EQ(ical::SummaryLine(Import(paths.StorePath(), text)), ical::SummaryLine(first));
        EXPECT_EQ(Bytes(paths.StorePath()), bytes);
        EXPECT_EQ(Bytes(paths.StorePath() + "-wal"), log);
    }
}

// Exported lines are valid RFC 5545 and come back whole; control characters travel neither way.
TEST(CalendarRoundTrip, LongValuesControlCharactersBlanksAndCategoriesWithCommas)
{
    ScopedZone zone("UTC");
    const std::string pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
    for (size_t octets = 60; octets <= 160; ++octets) {
        for (size_t shift = 0; shift < 4; ++shift) {
            std::string value;
            for (size_t i = shift; value.size() < octets; ++i) {
                const std::string& piece = pieces[i % 4];
                value += value.size() + piece.size() <= octets ? piece : "a";
            }
            pim::StoredItem item;
            item.fields.UID = QString::fromStdString(value).toStdWString();
            item.fields.Subject = item.fields.UID;
            item.fields.Start = item.fields.End = SystemTimeToVariantTime(kToday);
            const std::string text = ical::ItemCalendarText(item, {kToday});
            SCOPED_TRACE(value);
            for (size_t from = 0; from < text.size();) {
                const size_t end = text.find("\r\n", from);
                ASSERT_NE(end, std::string::npos);
                const std::string line = text.substr(from, end - from);
                EXPECT_LE(line.size(), 75U);
                EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
                if (line[0] == ' ') {
                    EXPECT_NE(static_cast<unsigned char>(line[1]) & 0xC0, 0x80) << line;
                }
                from = end + 2;
            }
            std::vector<std::string> notes;
            const std::vector<pim::StoredItem> back = ical::ReadCalendarItems(text, notes);
            ASSERT_EQ(back.size(), 1U);
            EXPECT_EQ(back[0].fields.UID, item.fields.UID);
            EXPECT_EQ(back[0].fields.Subject, item.fields.Subject);
        }
    }

    pim::StoredItem item;
    item.fields.Subject = L"a\1b\10c\td\x1F\x7F";
    item.fields.Body = L"one\r\ntwo\x0B";
    item.fields.Start = item.fields.End = SystemTimeToVariantTime(kToday);
    std::string text = ical::ItemCalendarText(item, {kToday});
    EXPECT_NE(text.find("SUMMARY:abc\td\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("DESCRIPTION:one\\ntwo\r\n"), std::string::npos) << text;
    std::vector<std::string> notes;
    const std::vector<pim::StoredItem> back =
        ical::ReadCalendarItems(text.replace(text.find("abc"), 3, "a\1b\10c"), notes);
    ASSERT_EQ(back.size(), 1U);
    EXPECT_EQ(back[0].fields.Subject + L"|" + back[0].fields.Body, L"abc\td|one\r\ntwo");
    // Blanks around a subject are kept, and a category holding a comma stays one through two
    // imports.
    TempPaths first;
    TempPaths second;
    const std::string file = Calendar(
        "BEGIN:VEVENT\r\nUID:pad\r\nSUMMARY:  Lunch \r\nLOCATION;LANGUAGE=en: Room 4\t\r\n"
        "CATEGORIES:Meeting\\, John,Work\r\nDTSTART:20261207T120000\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:blank\r\nSUMMARY:   \r\nDTSTART:20261207T130000\r\nEND:VEVENT\r\n");
    ASSERT_EQ(Import(first.StorePath(), file).appointments, 2);
    const std::vector<pim::StoredItem> items = StoredItems(first.StorePath());
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(
        std::tie(items[0].fields.Subject, items[0].fields.Location, items[0].fields.Categories),
        std::tie(L"  Lunch ", L" Room 4\t", L"Meeting\\, John,Work"));
    EXPECT_EQ(items[1].fields.Subject, L"   ");
    // The kept lines go out as they came; the fields alone write each category on its own.
    const std::string exported = Export(first.StorePath());
    pim::StoredItem plain = items[0];
    plain.fields.Kept.clear();
    const std::string written = ical::ItemCalendarText(plain, {kToday});
    for (const char* line : {"\r\nSUMMARY:  Lunch \r\n", "\r\nLOCATION: Room 4\t\r\n",
                             "\r\nCATEGORIES:Meeting\\, John\r\n", "\r\nCATEGORIES:Work\r\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line;
    }
    EXPECT_NE(exported.find("\r\nCATEGORIES:Meeting\\, John,Work\r\n"), std::string::npos);
    ASSERT_EQ(Import(second.StorePath(), exported).appointments, 2);
    const std::vector<pim::StoredItem> again = StoredItems(second.StorePath());
    ASSERT_EQ(again.size(), 2U);
    for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_EQ(Describe(again[i]), Describe(items[i]));
    }
}
