// A hidden calendar's items leave the document and Find; entries carry calendar colours.
#include "model/calendar_visibility.h"

#include "model/calendar_find.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/calendar_items.h"
#include "tests/support/dates.h"
#include "tests/support/temp_paths.h"

static std::vector<std::wstring> Subjects(const FoundItems& found)
{
    std::vector<std::wstring> subjects;
    for (const FoundItem& line : found.lines) {
        subjects.push_back(line.subject);
    }
    return subjects;
}

using Lines = std::vector<std::wstring>;

TEST(CalendarVisibility, AHiddenCalendarLeavesTheDocumentAndFindThroughTheStore)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 8));
    const ScopedClock now(clock);
    TempPaths paths;
    const std::string store = paths.StorePath();
    SavedIn(store, 0, L"Dentist call", At(2026, 12, 7, 9));
    StubSettings settings;
    PimSession session(store, OccurrenceOnDay);
    CTamberloDoc doc(session, settings);
    ASSERT_EQ(doc.ApptCount(0), 1);
    EXPECT_EQ(doc.CalendarColour(doc.ApptCalendar(0, 0)), std::nullopt) << "one calendar";
    const int32_t work = AddedCalendar(store, L"Work", 0x0050A050);
    SavedIn(store, work, L"Work call", At(2026, 12, 7, 11));
    SavedIn(store, work, L"Work report", At(2026, 12, 7), pim::kTaskKind);
    doc.Reload();
    ASSERT_EQ(doc.ApptCount(0), 2);
    EXPECT_EQ(doc.CalendarColour(doc.ApptCalendar(0, 0)), 0x00C08040U); // Personal's own
    EXPECT_EQ(doc.CalendarColour(doc.ApptCalendar(0, 1)), 0x0050A050U);
    ASSERT_EQ(SetCalendarShown(doc, work, false), 0);
    EXPECT_FALSE(StoredShown(store, work));
    ASSERT_EQ(doc.ApptCount(0), 1);
    EXPECT_EQ(doc.TaskCount(0), 0);
    const SYSTEMTIME today = GetLocalTime();
    EXPECT_EQ(Subjects(FindInCalendar(session, L"call", today)), Lines{L"Dentist call"});
    EXPECT_EQ(Subjects(FindInCalendar(session, L"call", today, {true, {}})),
              (Lines{L"Dentist call", L"Work call"}));
    EXPECT_EQ(Subjects(FindInCalendar(session, L"work", today, {false, {work}})),
              (Lines{L"Work report", L"Work call"}));
    ASSERT_EQ(SetCalendarShown(doc, work, true), 0);
    EXPECT_TRUE(StoredShown(store, work));
    EXPECT_EQ(doc.TaskCount(0), 1);
    EXPECT_LT(SetCalendarShown(doc, 99, false), 0);
}
