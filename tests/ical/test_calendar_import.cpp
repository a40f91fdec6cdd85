// Importing foreign files: fields mapped, bad components skipped, corruptions, the tool's commands.
#include <random>

#include <sys/stat.h>

#include "ical/occurrence_list.h"
#include "ical/zone_table.h"
#include "platform/clock.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/dates.h"
#include "tests/support/ical_builder.h"
#include "tests/support/store_file.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"
#include "tools/ical/ical_tool.h"

namespace {

// The occurrences of `days` days from `from` on, one line each.
std::string Occurrences(const std::string& store, const SYSTEMTIME& from, int days)
{
    PimSession session(store, OccurrenceOnDay);
    std::vector<std::string> lines;
    EXPECT_EQ(ical::ListOccurrences(session, from, days, lines), 0);
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}

const char* const kMeeting =
    "BEGIN:VEVENT\r\nUID:meet-1\r\nSUMMARY:Planning\r\nLOCATION:Room 4\r\n"
    "DESCRIPTION:Line one\\nLine two\r\nCATEGORIES:Business,Travel\r\nCLASS:CONFIDENTIAL\r\n"
    "X-MICROSOFT-CDO-BUSYSTATUS:OOF\r\nDTSTART;TZID=America/New_York:20261207T090000\r\n"
    "DURATION:PT90M\r\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=4\r\n"
    "EXDATE;TZID=America/New_York:20261214T090000\r\n"
    "BEGIN:VALARM\r\nACTION:AUDIO\r\nATTACH:file:///sounds/bell.wav\r\nTRIGGER:-PT10M\r\n"
    "END:VALARM\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:meet-1\r\nRECURRENCE-ID;TZID=America/New_York:20261221T090000\r\n"
    "SUMMARY:Planning (moved)\r\nDTSTART;TZID=America/New_York:20261222T100000\r\n"
    "DTEND;TZID=America/New_York:20261222T110000\r\nEND:VEVENT\r\n";

// The tool's input file: one event at 09:00 on 7 December.
const std::string kOneEvent =
    Calendar(Event("one", "DTSTART:20261207T090000\r\nDTEND:20261207T100000\r\n"));

} // namespace

TEST(CalendarImport, FieldsZonesRulesAndExceptionsMapAsTheyShould)
{
    ScopedZone zone("Europe/Berlin");
    TempPaths paths;
    const std::string text = Calendar(
        std::string(kMeeting) +
        "BEGIN:VEVENT\r\nUID:trip\r\nSUMMARY:Trip\r\nDTSTART;VALUE=DATE:20261224\r\n"
        "DTEND;VALUE=DATE:20261227\r\nTRANSP:TRANSPARENT\r\nCLASS:X-PERSONAL\r\nEND:VEVENT\r\n"
        "BEGIN:VTODO\r\nUID:todo-1\r\nSUMMARY:Taxes\r\nDTSTART;VALUE=DATE:20261201\r\n"
        "DUE;VALUE=DATE:20261215\r\nPRIORITY:2\r\nSTATUS:COMPLETED\r\n"
        "COMPLETED:20261210T120000Z\r\nEND:VTODO\r\n");
    const ical::ImportReport report = Import(paths.StorePath(), text);
    EXPECT_EQ(ical::SummaryLine(report), "imported 2 appointments, 1 task, 0 skipped");
    const std::vector<pim::StoredItem> items = StoredItems(paths.StorePath());
    ASSERT_EQ(items.size(), 3U);
    const pim::ItemFields& meeting = items[0].fields;
    EXPECT_EQ(std::tie(meeting.UID, meeting.Location, meeting.Body, meeting.Categories,
                       meeting.ReminderSoundFile),
              std::tie(L"meet-1", L"Room 4", L"Line one\r\nLine two", L"Business,Travel",
                       L"file:///sounds/bell.wav"));
    EXPECT_EQ(std::tie(meeting.Sensitivity, meeting.BusyStatus, meeting.ReminderSet,
                       meeting.ReminderMinutesBeforeStart, meeting.ReminderOptions),
              std::tuple(3, 3, true, 10, 8));
    EXPECT_EQ(items[0].pattern.value_or(pim::RecurrenceFields{}).Occurrences, 4);
    EXPECT_EQ(std::tie(items[1].fields.BusyStatus, items[2].fields.Importance), std::tuple(0, 2));
    // 09:00 in New York is 15:00 in Berlin; the 14th is deleted, the 21st moved to the 22nd.
    EXPECT_EQ(Occurrences(paths.StorePath(), MakeSystemTime(2026, 12, 1), 40),
              "20261207T150000 20261207T163000 Planning\n"
              "20261222T160000 20261222T170000 Planning (moved)\n"
              "20261224 20261227 Trip\n"
              "20261228T150000 20261228T163000 Planning\n");
}

TEST(CalendarImport, BadComponentsAreReportedAndSkippedWithTheRestImported)
{
    ScopedZone zone("UTC");
    const std::string at9 = "DTSTART:20261207T090000\r\n";
    const std::string good = Event("good", at9 + "DTEND:20261207T100000\r\n");
    const auto afterGood = [&](const std::string& lines) {
        return Calendar(good + Event("bad", lines));
    };
    struct Case {
        const char* name;
        std::string text;
        int imported, skipped;
    };
    std::string folded;
    for (int i = 0; i < 45000; ++i) {
        folded += std::string(70, 'x') + "\r\n ";
    }
    const Case cases[] = {
        {"empty", "", 0, 0},
        {"not iCalendar", "hello\nworld\n", 0, 0},
        {"truncated",
         Calendar(good).substr(0, 60) + "\r\n" + Calendar(good + "BEGIN:VEVENT\r\nUID:cut\r\n"), 1,
         2},
        {"invalid date", afterGood("DTSTART:20230230T090000\r\n"), 1, 1},
        {"end before start", afterGood(at9 + "DTEND:20261206T090000\r\n"), 1, 1},
        {"no DTSTART", afterGood(""), 1, 1},
        {"duplicate UID", Calendar(good + good), 1, 1},
        {"two rules", afterGood(at9 + "RRULE:FREQ=DAILY\r\nRRULE:FREQ=WEEKLY\r\n"), 1, 1},
        {"override without series", afterGood("RECURRENCE-ID:20261208T090000\r\n" + at9), 2, 0},
        {"unknown zone", Calendar(Event("zoned", "DTSTART;TZID=Mars/Olympus:20261207T090000\r\n")),
         1, 0},
        {"3 MB line", afterGood(at9 + "DESCRIPTION:" + std::string(3 << 20, 'x') + "\r\n"), 1, 1},
        {"3 MB folded line", afterGood(at9 + "DESCRIPTION:" + folded + "\r\n"), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempPaths paths;
        const ical::ImportReport report = Import(paths.StorePath(), c.text);
        EXPECT_EQ(
            std::tuple(report.status, report.appointments, report.skipped, report.sawCalendar),
            std::tuple(0, c.imported, c.skipped, c.imported + c.skipped > 0));
        EXPECT_EQ(StoredItems(paths.StorePath()).size(), static_cast<size_t>(c.imported));
        EXPECT_EQ(report.notes.empty(),
                  c.skipped == 0 && (c.imported == 1 || !report.sawCalendar) && c.name[0] != 'u');
        if (c.name[0] == '3') {
            EXPECT_EQ(report.notes, std::vector<std::string>{"\"bad\": skipped, a line over 2 MB"});
        }
    }
}

// Of one UID's two the higher SEQUENCE, LAST-MODIFIED, DTSTAMP wins; a tie keeps the first.
TEST(CalendarImport, TheNewerOfTwoComponentsWinsAndAnOlderCopyNeverOverwrites)
{
    ScopedZone zone("UTC");
    const auto version = [](const char* subject, const std::string& lines) {
        return "BEGIN:VEVENT\r\nUID:one\r\nSUMMARY:" + std::string(subject) +
               "\r\nDTSTART:20261207T090000Z\r\n" + lines + "END:VEVENT\r\n";
    };
    const std::string seq1 = version("seq 1", "SEQUENCE:1\r\n");
    const std::string seq2 = version("seq 2", "SEQUENCE:2\r\nDTSTAMP:20200101T000000Z\r\n");
    const std::string early = version("early", "LAST-MODIFIED:20261201T000000Z\r\n");
    const std::string late = version("late", "LAST-MODIFIED:20261202T000000Z\r\n");
    const std::string stampLate = version("stamp late", "DTSTAMP:20261203T000000Z\r\n");
    const std::string stampEarly = version("stamp early", "DTSTAMP:20261202T000000Z\r\n");
    const std::pair<std::string, std::wstring> cases[] = {
        {seq2 + seq1, L"seq 2"}, {seq1 + seq2, L"seq 2"},
        {late + early, L"late"}, {stampEarly + stampLate, L"stamp late"},
        {late + late, L"late"},
    };
    for (const auto& [body, winner] : cases) {
        TempPaths paths;
        const ical::ImportReport report = Import(paths.StorePath(), Calendar(body));
        EXPECT_EQ(ical::SummaryLine(report), "imported 1 appointment, 0 tasks, 1 skipped");
        const std::vector<pim::StoredItem> items = StoredItems(paths.StorePath());
        ASSERT_EQ(items.size(), 1U);
        EXPECT_EQ(items[0].fields.Subject, winner);
    }
    // A copy older than the stored item (also after a change here) is skipped and said so.
    TempPaths paths;
    const auto task = [](const std::string& lines) {
        return Calendar("BEGIN:VTODO\r\nUID:t\r\nSUMMARY:Report\r\nDUE:20261210T170000Z\r\n" +
                        lines + "END:VTODO\r\n");
    };
    const std::string copy = task("DTSTAMP:20261101T000000Z\r\nSEQUENCE:1\r\n");
    ASSERT_EQ(Import(paths.StorePath(), copy).tasks, 1);
    ASSERT_EQ(Import(paths.StorePath(), copy).tasks, 1);
    {
        const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 0));
        const ScopedClock scoped(clock);
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        ASSERT_EQ(session.Connect(), 0);
        const TaskItem done = session.FetchTask(1);
        done->SetComplete(true);
        ASSERT_EQ(done->Save(), 0);
    }
    const ical::ImportReport older = Import(paths.StorePath(), copy);
    EXPECT_EQ(ical::SummaryLine(older), "imported 0 appointments, 0 tasks, 1 skipped");
    EXPECT_EQ(older.notes,
              std::vector<std::string>{"\"Report\": skipped, kept the newer version here"});
    EXPECT_TRUE(StoredItems(paths.StorePath())[0].fields.Complete);
    ASSERT_EQ(Import(paths.StorePath(), task("DTSTAMP:20261101T000000Z\r\nSEQUENCE:2\r\n")).tasks,
              1);
    EXPECT_FALSE(StoredItems(paths.StorePath())[0].fields.Complete);
}

TEST(CalendarImport, UnsupportedSeriesExpandIntoSingleAppointmentsWhenAsked)
{
    ScopedZone zone("UTC");
    TempPaths paths;
    const std::string text = Calendar(Event("hours", "DTSTART:20261207T090000\r\n"
                                                     "RRULE:FREQ=DAILY;BYHOUR=9,17;COUNT=6\r\n"));
    for (int pass = 0; pass < 2; ++pass) { // the second import finds the same items again
        const ical::ImportReport report = Import(paths.StorePath(), text, true);
        EXPECT_EQ(ical::SummaryLine(report), "imported 6 appointments, 0 tasks, 0 skipped");
        ASSERT_EQ(report.notes.size(), 1U);
        EXPECT_NE(report.notes[0].find("6 single appointments"), std::string::npos);
    }
    EXPECT_EQ(Occurrences(paths.StorePath(), MakeSystemTime(2026, 12, 7), 3),
              "20261207T090000 20261207T090000 hours\n20261207T170000 20261207T170000 hours\n"
              "20261208T090000 20261208T090000 hours\n20261208T170000 20261208T170000 hours\n"
              "20261209T090000 20261209T090000 hours\n20261209T170000 20261209T170000 hours\n");
    // A zoned series keeps its length in every local zone: 09:00 to 10:00 in New York.
    TempPaths zoned;
    const ScopedZone berlin("Europe/Berlin");
    Import(zoned.StorePath(),
           Calendar(Event("zoned", "DTSTART;TZID=America/New_York:20261207T090000\r\n"
                                   "DTEND;TZID=America/New_York:20261207T100000\r\n"
                                   "RRULE:FREQ=DAILY;BYHOUR=9,17;COUNT=2\r\n")),
           true);
    EXPECT_EQ(Occurrences(zoned.StorePath(), MakeSystemTime(2026, 12, 7), 2),
              "20261207T150000 20261207T160000 zoned\n20261207T230000 20261208T000000 zoned\n");
}

// Thousands of corrupted variants of valid files: nothing crashes or hangs, what is read is whole.
TEST(CalendarImport, SeededCorruptionsNeverCrash)
{
    ScopedZone zone("Europe/Berlin");
    const std::string sample = Calendar(
        std::string(kMeeting) + Event("d", "DTSTART;VALUE=DATE:20240229\r\nRRULE:FREQ=YEARLY;"
                                           "BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1\r\n"));
    std::mt19937 random(1234);
    TempPaths paths;
    for (int i = 0; i < 3000; ++i) {
        std::string text = sample;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % text.size();
            const auto kind = random() % 4;
            if (kind == 0) {
                text[at] = static_cast<char>(random());
            } else if (kind == 1) {
                text.erase(at, random() % 40);
            } else {
                text.insert(at, kind == 2 ? text.substr(at / 2, random() % 60) : "\r\n");
            }
        }
        std::vector<std::string> notes;
        for (const pim::StoredItem& item : ical::ReadCalendarItems(text, notes)) {
            EXPECT_LE(item.fields.Start, item.fields.End);
        }
        if (i % 20 == 0) {
            EXPECT_EQ(Import(paths.StorePath(), text).status, 0);
        }
    }
}

TEST(IcalTool, CommandsAndExitCodes)
{
    ScopedZone zone("UTC");
    const FixedClock clock(kToday);
    const ScopedClock scoped(clock);
    TempPaths paths;
    const std::string store = paths.StorePath();
    const std::string ics = paths.Write("in.ics", kOneEvent.c_str());
    const std::string text = paths.Write("text.ics", "not a store");
    const std::string gone = paths.File("missing.ics");
    const std::string imported = "imported 1 appointment, 0 tasks, 0 skipped\n";
    const std::string two = Calendar(Event("two", "DTSTART;VALUE=DATE:20261208\r\n"));
    const std::string noData = "tamberlo-ical: " + text + ": no iCalendar data found\n";
    const std::string unread = "tamberlo-ical: cannot read " + gone + "\n";
    const std::string listed = "20261207T090000 20261207T100000 one\n20261208 20261209 two\n";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err = {}; // empty: only whether there is any
        std::string out = {}; // empty: not checked
        std::string input = {};
    };
    // A file that holds no calendar, or none that can be read, is one line and no summary.
    const Case cases[] = {
        {{"--help"}, kIcalOk},
        {{}, kIcalBadArguments},
        {{"frobnicate"}, kIcalBadArguments},
        {{"import", "--store", store}, kIcalBadArguments},
        {{"export", "--store", paths.File("missing.sqlite3")}, kIcalStoreFailed},
        {{"import", "--store", store, gone}, kIcalFileUnreadable, unread},
        {{"import", "--store", store, text}, kIcalFileUnreadable, noData},
        {{"import", "--store", store, ics}, kIcalOk, "", imported},
        {{"import", "--store", store, "-"}, kIcalOk, "", imported, two},
        {{"occurrences", "--store", store, "--from", "2026-12-07", "--days", "2"},
         kIcalOk,
         "",
         listed},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.input);
        std::ostringstream out;
        std::ostringstream err;
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(RunIcal(c.args, in, out, err), c.code) << err.str();
        if (!c.out.empty()) {
            EXPECT_EQ(out.str(), c.out);
        }
        if (!c.err.empty()) {
            EXPECT_EQ(out.str() + err.str(), c.err);
        }
        EXPECT_EQ(err.str().empty(), c.code == kIcalOk) << err.str();
    }
}

// A busy or read-only store is named as a failed import's cause; subjects are escaped.
TEST(IcalTool, AFailedImportNamesTheStoreAndOccurrencesEscapeControls)
{
    ScopedZone zone("UTC");
    TempPaths paths;
    const std::string store = paths.StorePath();
    const std::string ics = paths.Write("in.ics", kOneEvent.c_str());
    {
        PimSession session(store, OccurrenceOnDay);
        ASSERT_EQ(session.Connect(), 0);
        SavedAppointment(session, L"a\x1b]0;pwned\x07\tb", At(2026, 12, 7, 9), At(2026, 12, 7, 10));
    }
    std::istringstream none;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunIcal({"occurrences", "--store", store, "--from", "2026-12-07", "--days", "1"},
                      none, out, err),
              kIcalOk);
    EXPECT_EQ(out.str(), "20261207T090000 20261207T100000 a\\x1b]0;pwned\\x07\\x09b\n");
    const auto importError = [&] {
        std::ostringstream ignored;
        std::ostringstream failed;
        EXPECT_EQ(RunIcal({"import", "--store", store, ics}, none, ignored, failed),
                  kIcalStoreFailed);
        return failed.str();
    };
    {
        OtherProgram writer(store);
        ASSERT_TRUE(writer.Run("BEGIN IMMEDIATE"));
        EXPECT_EQ(importError(), "tamberlo-ical: " + ics + ": The calendar store " + store +
                                     " is in use by another program; try again. Nothing of it "
                                     "was imported.\n");
    }
    ASSERT_EQ(::chmod(store.c_str(), 0444), 0);
    EXPECT_EQ(importError(), "tamberlo-ical: " + ics + ": The calendar store " + store +
                                 " is read-only. Nothing of it was imported.\n");
}

// Zone names as programs write them (short definitions, vendor paths, Windows names); EXDATEs.
TEST(CalendarImport, ZoneNamesOfEveryKindAndExdatesByTime)
{
    ScopedZone zone("Europe/Berlin");
    TempPaths paths;
    const std::string custom =
        "BEGIN:VTIMEZONE\r\nTZID:Custom Zone\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
        "TZOFFSETFROM:-0300\r\nTZOFFSETTO:-0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    const std::string shortBerlin =
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:20180101T000000\r\n"
        "TZOFFSETFROM:+0500\r\nTZOFFSETTO:+0500\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
    const std::string text = Calendar(
        shortBerlin + Event("windows", "DTSTART;TZID=Pacific Standard Time:20261207T090000\r\n") +
        Event("vendor", "DTSTART;TZID=/freeassociation.sourceforge.net/Tzfile/America/New_York:"
                        "20261207T093000\r\n") +
        Event("old", "DTSTART;TZID=Europe/Berlin:20161207T090000\r\n") +
        Event("custom", "DTSTART;TZID=Custom Zone:20261207T090000\r\n") +
        Event("floating end", "DTSTART;TZID=America/New_York:20261207T100000\r\n"
                              "DTEND:20261207T110000\r\n") +
        Event("excluded", "DTSTART:20261207T080000Z\r\nDURATION:PT1H\r\n"
                          "RRULE:FREQ=DAILY;COUNT=3\r\nEXDATE:20261208T150000Z\r\n"
                          "EXDATE;VALUE=DATE:20261209\r\n") +
        custom + custom);
    const ical::ImportReport report = Import(paths.StorePath(), text);
    EXPECT_EQ(ical::SummaryLine(report), "imported 6 appointments, 0 tasks, 0 skipped");
    EXPECT_EQ(report.notes, std::vector<std::string>{});
    EXPECT_EQ(Occurrences(paths.StorePath(), MakeSystemTime(2026, 12, 7), 3),
              "20261207T090000 20261207T100000 excluded\n"
              "20261207T130000 20261207T130000 custom\n"
              "20261207T153000 20261207T153000 vendor\n"
              "20261207T160000 20261207T170000 floating end\n"
              "20261207T180000 20261207T180000 windows\n"
              "20261208T090000 20261208T100000 excluded\n");
    EXPECT_EQ(Occurrences(paths.StorePath(), MakeSystemTime(2016, 12, 7), 1),
              "20161207T090000 20161207T090000 old\n");
    const std::vector<pim::StoredItem> items = StoredItems(paths.StorePath());
    ASSERT_EQ(items.size(), 6U);
    std::wstring zones;
    for (const pim::StoredItem& item : items) {
        zones += item.fields.Zone + L";";
    }
    // A zone only the file defines cannot be kept by name: its item (read last) is in local time.
    EXPECT_EQ(zones, L"America/Los_Angeles;America/New_York;Europe/Berlin;America/New_York;UTC;;");
}

// What the store cannot hold is reported by the item's SUMMARY; what it can is kept silently.
TEST(CalendarImport, WhatTheStoreCannotHoldAndReportsNameItemsBySummary)
{
    ScopedZone zone("UTC");
    TempPaths paths;
    const std::string alarm = "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\n";
    const std::string text = Calendar(
        Event("Two alarms", "DTSTART:20261209T080000\r\n" + alarm +
                                "DESCRIPTION:Leave now\r\nEND:VALARM\r\n" + alarm +
                                "END:VALARM\r\n") +
        "BEGIN:VTODO\r\nUID:dateless\r\nSUMMARY:Dateless\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
        "TRIGGER;VALUE=DATE-TIME:20261208T073000Z\r\nEND:VALARM\r\nEND:VTODO\r\n" +
        Event("Seconds", "DTSTART:20261207T090000\r\nDTEND:20261207T095959\r\n"
                         "RRULE:FREQ=DAILY;COUNT=2\r\n") +
        Event("Off rule", "DTSTART:20261211T100000\r\nDURATION:PT1H\r\n"
                          "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=3\r\n") +
        Event("Invite", "RECURRENCE-ID:20261215T100000\r\nDTSTART:20261215T110000\r\n"
                        "DURATION:PT1H\r\n"));
    const ical::ImportReport report = Import(paths.StorePath(), text);
    EXPECT_EQ(ical::SummaryLine(report), "imported 5 appointments, 1 task, 0 skipped");
    EXPECT_EQ(report.notes,
              (std::vector<std::string>{
                  "\"Off rule\": DTSTART is not one of the rule's days: the series starts on its "
                  "first rule day, DTSTART's occurrence is a single appointment",
                  "\"Invite\": a changed occurrence of a series not in the calendar, imported as "
                  "a single appointment"}));
    EXPECT_EQ(Occurrences(paths.StorePath(), MakeSystemTime(2026, 12, 7), 14),
              "20261207T090000 20261207T100000 Seconds\n"
              "20261208T090000 20261208T100000 Seconds\n"
              "20261209T080000 20261209T080000 Two alarms\n"
              "20261211T100000 20261211T110000 Off rule\n"
              "20261214T100000 20261214T110000 Off rule\n"
              "20261215T110000 20261215T120000 Invite\n"
              "20261216T100000 20261216T110000 Off rule\n");
    const std::vector<pim::StoredItem> items = StoredItems(paths.StorePath());
    ASSERT_EQ(items.size(), 6U);
    EXPECT_TRUE(items[5].fields.ReminderSet);
    EXPECT_EQ(items[5].fields.ReminderTime,
              SystemTimeToVariantTime(MakeSystemTime(2026, 12, 8, 7, 30)));
    // A report names an item by its summary (else its UID); counts take the right number.
    TempPaths second;
    const std::string names =
        Calendar("BEGIN:VEVENT\r\nUID:u-1\r\nSUMMARY:Lunch\\nwith Ann\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:u-2\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nDTSTART:20261207T09000\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:u-3\r\nSUMMARY:" +
                 std::string(70, 'y') + "\r\nEND:VEVENT\r\n" +
                 Event("Once", "DTSTART:20261207T090000\r\nRRULE:FREQ=DAILY;BYHOUR=9;COUNT=1\r\n") +
                 "BEGIN:VTODO\r\nUID:t\r\nSUMMARY:Taxes\r\nEND:VTODO\r\n");
    const ical::ImportReport namedReport = Import(second.StorePath(), names, true);
    EXPECT_EQ(ical::SummaryLine(namedReport), "imported 1 appointment, 1 task, 4 skipped");
    EXPECT_EQ(namedReport.notes,
              (std::vector<std::string>{
                  "\"Lunch with Ann\": skipped, no DTSTART", "UID u-2: skipped, no DTSTART",
                  "(no summary or UID): skipped, unreadable DTSTART",
                  "\"" + std::string(60, 'y') + "...\": skipped, no DTSTART",
                  "\"Once\": BYHOUR, BYMINUTE or BYSECOND; imported as 1 single appointment"}));
    // Property names are read in any case wherever the text itself is scanned.
    const std::string at9 = "DTSTART:20261207T090000\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"SUMMARY:bad\r\n" + at9 + "Rrule:FREQ=NEVER\r\n", "\"bad\": skipped, unreadable RRULE"},
        {"SUMMARY:bad\r\n" + at9 + "exdate:tomorrow\r\n", "\"bad\": skipped, unreadable EXDATE"},
        {"summary:  two blanks \r\n" + at9, ""},
    };
    for (const auto& [lines, note] : cases) {
        TempPaths fresh;
        const ical::ImportReport read = Import(
            fresh.StorePath(), Calendar("BEGIN:VEVENT\r\nUID:bad\r\n" + lines + "END:VEVENT\r\n"));
        EXPECT_EQ(read.notes, note.empty() ? std::vector<std::string>{} : std::vector{note})
            << lines;
        if (note.empty()) {
            EXPECT_EQ(StoredItems(fresh.StorePath()).at(0).fields.Subject, L"  two blanks ");
        }
    }
}
