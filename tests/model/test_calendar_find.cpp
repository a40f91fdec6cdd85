// Find's lines over a real store: series at their next or last occurrence. Today: 7 Dec 2026.
#include "model/calendar_find.h"

#include "model/tamberlo_doc.h"
#include "platform/pim/store_database.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/dates.h"
#include "tests/support/document_changes.h"
#include "tests/support/scoped_zone.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

TEST(CalendarFind, ListsEachMatchOnceInDateOrder)
{
    TempPaths paths;
    StubSettings settings;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    CTamberloDoc doc(session, settings);
    ScheduleEdits edits(doc, session);
    const auto add = [&](pim::ItemKind kind, const std::wstring& subject, DATE start,
                         std::optional<pim::RecurrenceFields> pattern = std::nullopt) {
        ItemValues v = AppointmentValues(subject, start, start + 1.0 / 24);
        v.fields.DueDate = start;
        v.pattern = std::move(pattern);
        return AddThrough(edits, v, kind);
    };
    pim::RecurrenceFields weekly;
    weekly.RecurrenceType = kRecursWeekly;
    weekly.PatternStartDate = At(2026, 11, 2);
    weekly.StartTime = At(2026, 11, 2, 9);
    weekly.Duration = 30;
    weekly.DayOfWeekMask = 2; // Mondays
    const int32_t standup = add(pim::kAppointmentKind, L"Team standup", At(2026, 11, 2, 9), weekly);
    pim::RecurrenceFields ended = weekly;
    ended.NoEndDate = false;
    ended.PatternEndDate = At(2026, 11, 20);
    add(pim::kAppointmentKind, L"Old standup", At(2026, 11, 2, 9), ended);
    add(pim::kAppointmentKind, L"Dentist", At(2028, 12, 7, 10));
    add(pim::kTaskKind, L"Book the standup room", At(2026, 12, 1));
    // An occurrence changed to a place of its own: the place finds the series.
    ItemValues moved =
        AppointmentValues(L"Team standup", At(2026, 12, 21, 10), At(2026, 12, 21, 11));
    moved.fields.Location = L"Café Ost";
    ASSERT_EQ(
        edits.Apply(SaveChange({pim::kAppointmentKind, standup, At(2026, 12, 21)}, moved)).status,
        EditStatus::kDone);
    ItemValues memo = AppointmentValues(L"Lunch", At(2026, 12, 3, 12), At(2026, 12, 3, 13));
    memo.fields.Body = L"after the Stand-up? no: after the standup";
    AddThrough(edits, memo);
    // Today's occurrence of the weekly series is deleted: the next is a week later.
    edits.Apply({ChangeKind::kDelete, {pim::kAppointmentKind, standup, At(2026, 12, 7)}});
    const SYSTEMTIME now = MakeSystemTime(2026, 12, 7, 15, 30);
    const auto lines = [&](const std::wstring& text) {
        const FoundItems found = FindInCalendar(session, text, now);
        std::vector<std::wstring> out;
        for (const FoundItem& f : found.lines) {
            out.push_back(FoundDayText(f) + L" " + FoundTimeText(f) + L" " + f.subject);
        }
        if (found.next >= 0) {
            out[found.next] += L" <";
        }
        return out;
    };
    EXPECT_EQ(lines(L"STANDUP"), (std::vector<std::wstring>{
                                     L"2026/11/16 09:00 Old standup", // its last occurrence
                                     L"2026/12/01  Book the standup room",
                                     L"2026/12/03 12:00 Lunch", // the memo only
                                     L"2026/12/14 09:00 Team standup <",
                                 }));
    EXPECT_EQ(lines(L"dentist"), std::vector<std::wstring>{L"2028/12/07 10:00 Dentist <"});
    EXPECT_EQ(lines(L"cafe"), std::vector<std::wstring>{L"2026/12/14 09:00 Team standup <"});
    EXPECT_TRUE(lines(L"nowhere").empty());
}

// New York's 09:00 series is at 14:00 in Berlin in the weeks only America has moved its clocks.
TEST(CalendarFind, AZonedSeriesIsListedAtItsOccurrencesLocalTime)
{
    const ScopedZone berlin("Europe/Berlin");
    TempPaths paths;
    pim::StoreDatabase store;
    ASSERT_EQ(store.Open(paths.StorePath()), 0);
    const auto add = [&](const wchar_t* subject, DATE end) {
        pim::StoredItem item;
        item.fields.Zone = L"America/New_York";
        item.fields.Subject = subject;
        item.fields.Start = At(2027, 3, 1, 15);
        item.fields.End = At(2027, 3, 1, 16);
        item.pattern = pim::RecurrenceFields{};
        item.pattern->RecurrenceType = kRecursWeekly;
        item.pattern->DayOfWeekMask = 2; // Mondays
        item.pattern->PatternStartDate = At(2027, 3, 1);
        item.pattern->StartTime = At(2027, 3, 1, 9);
        item.pattern->Duration = 60;
        item.pattern->NoEndDate = end == 0.0;
        item.pattern->PatternEndDate = end;
        ASSERT_EQ(store.Save(item), 0);
    };
    add(L"Call New York", 0.0);
    add(L"Ended call New York", At(2027, 3, 22));
    store.Close();
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    const FoundItems found = FindInCalendar(session, L"call", MakeSystemTime(2027, 3, 25, 8));
    ASSERT_EQ(found.lines.size(), 2U);
    EXPECT_EQ(FoundDayText(found.lines[0]) + L" " + FoundTimeText(found.lines[0]) + L" " +
                  FoundDayText(found.lines[1]) + L" " + FoundTimeText(found.lines[1]),
              L"2027/03/22 14:00 2027/03/29 15:00"); // Europe's clocks moved on 28 March
}
