// The schedule document over a real store and its day tables. Today: Monday 7 December 2026.
#include "model/tamberlo_doc.h"

#include <sstream>

#include "model/date_time.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/scoped_zone.h"
#include "tests/support/store_file.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, month, day, hour, minute));
}

class DocTest : public ::testing::Test {
protected:
    DocTest() : useClock_(clock_), session_(paths_.StorePath(), OccurrenceOnDay)
    {
        session_.Connect();
    }

    AppointItem Appointment(const std::wstring& subject, DATE start, DATE end, bool allDay = false,
                            const std::wstring& categories = {})
    {
        session_.Connect(); // loading the document closes the session again
        return SavedAppointment(session_, subject, start, end, allDay, categories,
                                L"Room " + subject);
    }

    // A daily series from the day of `start`, at its time, lasting `minutes`, through `last`.
    AppointItem DailySeries(const std::wstring& subject, DATE start, int minutes, DATE last)
    {
        AppointItem series = Appointment(subject, start, AddSeconds(start, int64_t{minutes} * 60));
        RecurDaily(*series, last);
        return series;
    }

    TaskItem Task(const std::wstring& subject, DATE start, DATE due, bool complete = false)
    {
        session_.Connect();
        return SavedTask(session_, subject, start, due, complete);
    }

    std::unique_ptr<CTamberloDoc> Load()
    {
        session_.Disconnect();
        return std::make_unique<CTamberloDoc>(session_, settings_, &messages_);
    }

    // Row of a December day when the first shown day is today, 7 December.
    static int Row(int day) { return day - 7; }

    // "start end allday state kind busy subject" of every entry of a row.
    static std::vector<std::wstring> Entries(const CTamberloDoc& doc, int row)
    {
        std::vector<std::wstring> out;
        for (int p = 0; p < doc.ApptCount(row); ++p) {
            std::wostringstream line;
            line << doc.ApptStartField(row, p) << ' ' << doc.ApptEndField(row, p) << ' '
                 << doc.IsAllDay(row, p) << ' ' << doc.EntryState(row, p) << ' '
                 << doc.DayKind(row, p) << ' ' << doc.Busy(row, p) << ' '
                 << doc.ApptSubject(row, p);
            out.push_back(line.str());
        }
        return out;
    }

    void Spoil() const { paths_.Write("store.sqlite3", "not a calendar\n"); }

    using Lines = std::vector<std::wstring>;

    FixedClock clock_{MakeSystemTime(2026, 12, 7, 15, 30)};
    ScopedClock useClock_;
    TempPaths paths_;
    StubSettings settings_;
    ScriptedMessageService messages_;
    PimSession session_;
};

} // namespace

TEST_F(DocTest, FirstShownDayFollowsTheOffsetAndTheWeekday)
{
    const struct {
        int today; // in December 2026; the 10th is a Thursday
        int daysBefore;
        int firstWeekday;
        int expected;
    } cases[] = {
        {10, 3, 1, 7}, {10, 0, 1, 7}, {10, 0, 5, 4}, {10, 0, 4, 10}, {10, 2, 7, 8}, {7, 0, 0, 6},
    };
    for (const auto& c : cases) {
        clock_.Set(MakeSystemTime(2026, 12, c.today, 8));
        settings_.daysBefore = c.daysBefore;
        settings_.firstWeekday = c.firstWeekday;
        const auto doc = Load();
        EXPECT_EQ(doc->GetShownStart().wDay, c.expected) << c.today << " " << c.firstWeekday;
    }
}

TEST_F(DocTest, SpansAcrossMidnightAllDayAndEqualStarts)
{
    Appointment(L"Night", At(12, 8, 22), At(12, 9, 2));
    Appointment(L"Late", At(12, 10, 20), At(12, 11, 0));
    Appointment(L"Holiday trip", At(12, 12), At(12, 13), true);
    Appointment(L"First", At(12, 14, 9), At(12, 14, 10));
    Appointment(L"Second", At(12, 14, 9), At(12, 14, 9, 30));
    Appointment(L"Early", At(12, 14, 8), At(12, 14, 8, 15));
    Appointment(L"Day off", At(12, 14), At(12, 15), true, L"Rest");
    Appointment(L"Midnight note", At(12, 16), At(12, 16));
    // A hair below midnight: the day and the clock digits follow the second the value rounds to.
    Appointment(L"Ends a hair early", At(12, 17, 23), At(12, 18) - 7e-12);
    Appointment(L"Starts a hair early", At(12, 19) - 7e-12, At(12, 19, 1));
    const auto doc = Load();
    EXPECT_EQ(Entries(*doc, Row(8)), Lines{L"2200 2400 0 0 0 2 Night"});
    EXPECT_EQ(Entries(*doc, Row(9)), Lines{L"0000 0200 0 0 0 2 Night"});
    EXPECT_EQ(doc->ApptSerial(Row(8), 0), doc->ApptSerial(Row(9), 0));
    EXPECT_EQ(Entries(*doc, Row(10)), Lines{L"2000 2400 0 0 0 2 Late"});
    EXPECT_EQ(doc->ApptCount(Row(11)), 0) << "an end at midnight does not reach into the day";
    EXPECT_EQ(Entries(*doc, Row(12)), Lines{L"0000 2400 1 0 0 2 Holiday trip"});
    EXPECT_EQ(Entries(*doc, Row(14)),
              (Lines{L"0000 2400 1 0 3 2 Day off", L"0800 0815 0 0 0 2 Early",
                     L"0900 1000 0 0 0 2 First", L"0900 0930 0 0 0 2 Second"}));
    EXPECT_EQ(Entries(*doc, Row(16)), Lines{L"0000 0000 0 0 0 2 Midnight note"})
        << "a zero-length item at midnight still shows";
    EXPECT_EQ(Entries(*doc, Row(17)), Lines{L"2300 2400 0 0 0 2 Ends a hair early"});
    EXPECT_EQ(Entries(*doc, Row(18)), Lines{});
    EXPECT_EQ(Entries(*doc, Row(19)), Lines{L"0000 0100 0 0 0 2 Starts a hair early"});
    EXPECT_EQ(doc->ApptSubject(Row(14), -1), L"Day off\u001FEarly\u001FFirst\u001FSecond\u001F");
    // Past the day's entries, and outside the window.
    EXPECT_EQ(std::tuple(doc->ApptStoreIndex(Row(14), 2), doc->ApptStoreIndex(Row(14), 4),
                         doc->ApptCount(-40)),
              std::tuple(4, -1, 0));
}

TEST_F(DocTest, WindowEdgesClipSpans)
{
    const auto probe = Load();
    const DATE first = std::floor(SystemTimeToVariantTime(probe->LoadStart())); // date only
    Appointment(L"Before", first - 2 + 10.0 / 24, first + 1 + 8.0 / 24);
    Appointment(L"After", first + 120 + 0.5, first + 121);
    Appointment(L"Across the end", first + 119 + 0.5, first + 122 + 0.5);
    // A deleted occurrence from the day before the window: its tail on day one is deleted too.
    const AppointItem gone = DailySeries(L"Gone", first - 3 + 22.0 / 24, 180, first - 1);
    EditOccurrence(*gone, first - 1, L"");
    const auto doc = Load();
    const int slot0 = -CTamberloDoc::kDaysBefore;
    EXPECT_EQ(Entries(*doc, slot0),
              (Lines{L"0000 2400 0 0 0 2 Before", L"0000 0100 0 4 0 2 Gone"}));
    EXPECT_EQ(Entries(*doc, slot0 + 1), Lines{L"0000 0800 0 0 0 2 Before"});
    EXPECT_EQ(Entries(*doc, slot0 + 119), Lines{L"1200 2400 0 0 0 2 Across the end"});
    EXPECT_EQ(doc->ApptCount(slot0 + 120), 0);
}

TEST_F(DocTest, OccurrencesAndTheirExceptions)
{
    const AppointItem series = DailySeries(L"Standup", At(12, 7, 9), 60, At(12, 13));
    EditOccurrence(*series, At(12, 9), L"Standup (moved)", At(12, 9, 14), At(12, 9, 15));
    EditOccurrence(*series, At(12, 10), L"Standup (moved)", At(12, 10, 14), At(12, 10, 15));
    EditOccurrence(*series, At(12, 11), L"");
    EditOccurrence(*series, At(12, 12), L"Late", At(12, 12, 22), At(12, 13, 2));
    Appointment(L"Review", At(12, 10, 9, 30), At(12, 10, 11));
    auto doc = Load();
    EXPECT_EQ(Entries(*doc, Row(8)), Lines{L"0900 1000 0 1 0 2 Standup"});
    EXPECT_EQ(Entries(*doc, Row(9)),
              (Lines{L"0900 1000 0 3 0 2 Standup", L"1400 1500 0 2 0 2 Standup (moved)"}));
    EXPECT_EQ(doc->ApptExceptionNo(Row(9), 1), 1);
    EXPECT_EQ(Entries(*doc, Row(11)), Lines{L"0900 1000 0 4 0 2 Standup"});
    EXPECT_EQ(doc->ApptExceptionNo(Row(11), 0), 3);
    EXPECT_EQ(doc->ApptCount(Row(14)), 0) << "the pattern ends on the 13th";
    // Equal changes on consecutive days stay apart; a change over two days is one span.
    EXPECT_NE(doc->ApptSerial(Row(9), 1), doc->ApptSerial(Row(10), 2));
    EXPECT_EQ(doc->FindSpanLast(Row(9), 1).row, Row(9));
    EXPECT_EQ(doc->FindSpanFirst(Row(13), 0).row, Row(12));
    EXPECT_EQ(doc->FindSpanLast(Row(12), 1).row, Row(13));
    // Every entry of the series goes, exceptions included; the other item stays.
    doc->RemoveAppointmentEverywhere(PimSession::OidField(series->GetOid()));
    for (int day = 7; day <= 13; ++day) {
        EXPECT_EQ(doc->ApptCount(Row(day)), day == 10 ? 1 : 0) << day;
    }
}

// An exception marks only the days its occurrence reaches (one ending at midnight: its own).
TEST_F(DocTest, AnExceptionMarksOnlyTheDaysItsOccurrenceReaches)
{
    const AppointItem dropped = DailySeries(L"Dropped", At(12, 7, 22), 120, At(12, 13));
    const AppointItem renamed = DailySeries(L"Renamed", At(12, 7, 22), 120, At(12, 13));
    // Occurrences overlapping into the next day: that day shows the next occurrence's start.
    const AppointItem overnight = DailySeries(L"Overnight", At(12, 7, 22), 180, At(12, 13));
    EditOccurrence(*dropped, At(12, 9), L"");
    EditOccurrence(*renamed, At(12, 9), L"Renamed once");
    EditOccurrence(*overnight, At(12, 9), L"");
    const auto doc = Load();
    EXPECT_EQ(Entries(*doc, Row(9)),
              (Lines{L"2200 2400 0 4 0 2 Dropped", L"2200 2400 0 2 0 2 Renamed once",
                     L"2200 2400 0 3 0 2 Renamed", L"2200 2400 0 4 0 2 Overnight"}));
    EXPECT_EQ(Entries(*doc, Row(10)),
              (Lines{L"2200 2400 0 1 0 2 Dropped", L"2200 2400 0 1 0 2 Renamed",
                     L"2200 2400 0 1 0 2 Overnight"}));
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(doc->ApptExceptionNo(Row(10), p), 0) << p;
    }
}

TEST_F(DocTest, TaskSpansFlagsAndDueTexts)
{
    clock_.Set(MakeSystemTime(2026, 12, 11, 9));
    settings_.daysBefore = 4; // first shown day the 7th again
    Task(L"Report", At(12, 8), At(12, 10));
    Task(L"Someday", pim::kNoDate, pim::kNoDate);
    Task(L"Filed", 0.0, At(12, 9), true);
    Task(L"Today", At(12, 11), At(12, 11));
    // Running into the window's first day, and out of its last: the edges are no start or due.
    const DATE lastSlot = SystemTimeToVariantTime(AddDays(MakeSystemTime(2026, 11, 4), 119));
    Task(L"Autumn", At(10, 1), At(11, 4));
    Task(L"Spring", lastSlot, lastSlot + 30);
    Task(L"Due a hair early", At(12, 12) - 7e-12, At(12, 13) - 7e-12);
    Task(L"Across", At(10, 1), lastSlot + 30); // over the whole window
    const auto doc = Load();
    // "subject start middle due complete has-due" of a task entry.
    const auto task = [&doc](int row, int p) {
        std::wostringstream line;
        line << doc->TaskSubject(row, p) << ' ' << doc->TaskStartsHere(row, p)
             << doc->TaskMiddle(row, p) << doc->TaskDueHere(row, p) << doc->TaskComplete(row, p)
             << doc->TaskHasDue(row, p);
        return line.str();
    };
    ASSERT_EQ(doc->TaskCount(Row(8)), 4);
    EXPECT_EQ(doc->TaskDueText(Row(10), 0), L"December 10");
    // No dates: every slot of the window, without start or due marks.
    const int slot0 = -CTamberloDoc::kDaysBefore;
    EXPECT_EQ(task(slot0, 0), L"Someday 00000");
    EXPECT_EQ(task(slot0, 2), L"Autumn 00101");
    EXPECT_EQ(task(slot0 + 119, 1), L"Spring 10001");
    EXPECT_EQ(task(slot0, 3), L"Across 00001");
    EXPECT_EQ(task(Row(12), 1), L"Due a hair early 10001");
    EXPECT_EQ(task(Row(13), 1), L"Due a hair early 00101");
    EXPECT_EQ(doc->TaskDueKey(Row(13), 1), L"20261213");
    // Due without start: from slot 0 to its due day, completed and still listed.
    EXPECT_EQ(task(slot0, 1), L"Filed 00011");
    EXPECT_EQ(task(Row(9), 2), L"Filed 00111");
    EXPECT_EQ(task(Row(11), 1), L"Today 10101");
    EXPECT_FALSE(doc->TaskOverdue(Row(11), 1)) << "due today is not overdue";
    doc->RemoveTaskEverywhere(doc->TaskOid(Row(8), 0));
    EXPECT_EQ(doc->TaskCount(Row(8)), 3);
    EXPECT_EQ(doc->TaskSubject(Row(8), 0), L"Someday");
}

TEST_F(DocTest, HolidayRowsAreInsertedOrOverwriteAndShareTheRuleSerial)
{
    Appointment(L"Day off", At(12, 8), At(12, 9), true, L"Rest");
    Appointment(L"Meeting", At(12, 9, 10), At(12, 9, 11));
    settings_.ruleCount = 3;
    const int d8 = CTamberloDoc::kDaysBefore + 1;
    settings_.rows = {{0, d8, true, kSecondHolidayKind, L"Harbour Day"},
                      {0, d8 + 1, false, kSecondHolidayKind, L"Trans Holiday"},
                      {2, d8 + 2, false, kHolidayKind, L"Lantern Day"}};
    const auto doc = Load();
    EXPECT_EQ(std::pair(settings_.seenKinds[d8], settings_.seenKinds[d8 + 1]),
              std::pair(kRestdayKind, kOrdinaryKind));
    EXPECT_EQ(Entries(*doc, Row(8)), Lines{L"0000 2400 1 0 2 0 Harbour Day"});
    EXPECT_EQ(Entries(*doc, Row(9)),
              (Lines{L"0000 2400 1 0 2 0 Trans Holiday", L"1000 1100 0 0 0 2 Meeting"}));
    EXPECT_EQ(doc->ApptOid(Row(8), 0), L"00000000000000000000");
    EXPECT_EQ(doc->ApptCategories(Row(8), 0), L"Rest");
    EXPECT_EQ(doc->ApptSerial(Row(8), 0) + doc->ApptSerial(Row(9), 0) + doc->ApptSerial(Row(10), 0),
              L"000030000300005");
    EXPECT_EQ(doc->GetSerialCounter(), 5);
}

// Values no editor writes land where their clamped dates fall, at no cost.
TEST_F(DocTest, ExtremeStoreValuesAreHeldToUsableRanges)
{
    Appointment(L"Forever", At(12, 8, 9), At(12, 8, 10));
    Appointment(L"Far future", At(12, 9, 9), At(12, 9, 10));
    Appointment(L"Not a number", At(12, 10, 9), At(12, 10, 10));
    session_.Disconnect();
    Sql(paths_.StorePath(),
        "UPDATE items SET start_at = -1e308, end_at = 1e308 WHERE subject = 'Forever';"
        "UPDATE items SET start_at = 1e308, end_at = 1e308 WHERE subject = 'Far future';"
        "UPDATE items SET start_at = 0.0 / 0.0, end_at = 1e308 WHERE subject = 'Not a number';");
    const auto doc = Load();
    EXPECT_TRUE(messages_.shown().empty());
    for (int row : {-CTamberloDoc::kDaysBefore, 0, 80}) {
        EXPECT_EQ(doc->ApptSubject(row, -1), L"Forever\u001FNot a number\u001F") << row;
    }
}

// An unreadable store leaves an empty, usable window and is reported once per failure.
TEST_F(DocTest, UnreadableStoresAreReportedOncePerFailure)
{
    Spoil();
    auto doc = Load();
    ASSERT_EQ(messages_.shown().size(), 1U);
    EXPECT_EQ(messages_.shown()[0].caption, L"Warning");
    EXPECT_EQ(doc->ApptCount(0), 0);
    EXPECT_TRUE(doc->SetShownStart(AddDays(doc->GetShownStart(), 7)));
    EXPECT_FALSE(doc->SetShownStart(AddDays(doc->GetShownStart(), 90)));
    doc->Reload();
    EXPECT_EQ(messages_.shown().size(), 1U) << "the same failure again";
    ASSERT_TRUE(QFile::remove(QString::fromStdString(paths_.StorePath())));
    doc->Reload(); // a missing store is created empty
    Spoil();
    doc->Reload();
    EXPECT_EQ(messages_.shown().size(), 2U) << "failing after a good load";
}

TEST_F(DocTest, AReadOnlyStoreShowsAndIsReportedOnce)
{
    Appointment(L"Kept", At(12, 8, 9), At(12, 8, 10));
    session_.Disconnect();
    QFile::setPermissions(QString::fromStdString(paths_.StorePath()), QFile::ReadOwner);
    const auto doc = Load();
    EXPECT_EQ(Entries(*doc, Row(8)), Lines{L"0900 1000 0 0 0 2 Kept"});
    doc->Reload();
    EXPECT_EQ(messages_.shown().size(), 1U);
}

// Tokyo's Monday-to-Friday 07:00 is Sunday-to-Thursday 23:00 in Berlin.
TEST_F(DocTest, AZonedSeriesShowsOnTheLocalDaysOfItsZonesDays)
{
    const ScopedZone zone("Europe/Berlin");
    const AppointItem series = DailySeries(L"Tokyo", At(12, 7, 7), 60, At(12, 31));
    pim::StoredItem zoned = series->Stored();
    zoned.fields.Zone = L"Asia/Tokyo";
    zoned.pattern->DayOfWeekMask = 0x3E;
    ASSERT_GE(series->ReplaceStored(zoned), 0);
    ASSERT_GE(series->Save(), 0);
    const auto doc = Load();
    for (int day = 7; day <= 13; ++day) {
        const bool shows = day != 11 && day != 12; // Friday and Saturday in Berlin
        EXPECT_EQ(Entries(*doc, Row(day)), shows ? Lines{L"2300 2400 0 1 0 2 Tokyo"} : Lines{})
            << day;
    }
    // The editors see it in local time; what they write goes back into the zone.
    session_.Connect();
    const AppointItem item = session_.FindAppointment(PimSession::OidField(series->GetOid()));
    ItemValues values = ReadValues(*item);
    EXPECT_EQ(std::tuple(values.pattern->PatternStartDate, values.pattern->StartTime,
                         values.pattern->DayOfWeekMask, values.pattern->PatternEndDate),
              std::tuple(At(12, 6), 23 / 24.0, 0x1F, At(12, 30)));
    WriteValues(values, *item);
    EXPECT_EQ(std::tuple(item->Stored().pattern->DayOfWeekMask, item->Stored().pattern->StartTime,
                         item->Stored().pattern->PatternEndDate),
              std::tuple(0x3E, 7 / 24.0, At(12, 31)));
    values.pattern->StartTime = 22 / 24.0;
    WriteValues(values, *item);
    EXPECT_EQ(item->Stored().pattern->StartTime, 6 / 24.0);
    EXPECT_EQ(item->Stored().pattern->Zone, L"Asia/Tokyo");
}
