// The names assistive technology reads for days and items, with their states (exact texts).
#include <gtest/gtest.h>

#include "view/accessible_item_text.h"
#include "view/accessible_schedule.h"
#include "view_harness.h"

TEST(AccessibleItemText, NamesDaysAndItemsWithTheirStates)
{
    EXPECT_EQ(AppointmentAccessibleName(L"Dentist", L"0930", L"2400", L"", false),
              L"Dentist, 09:30 to 24:00");
    EXPECT_EQ(TaskAccessibleName(L"Report", L" "), L"Report, task");
    // Tuesday: a holiday heads the day, two busy appointments overlap, a recurring one, a done
    // task.
    FakeSchedule s;
    s.appts[1] = {
        {.start = 0, .end = 1440, .subject = L"Founders' Day", .allDay = true, .dayKind = 1},
        {.start = 600, .end = 660, .subject = L"Dentist", .location = L"Room 4"},
        {.start = 630, .end = 700, .subject = L"Call"},
        {.start = 900, .end = 930, .subject = L"Standup", .state = kOccurrenceEntry}};
    s.tasks[1] = {{.subject = L"Report",
                   .startsHere = true,
                   .complete = true,
                   .hasDue = true,
                   .dueText = L"12/08"}};
    EXPECT_EQ(AccessibleDayName(s, 0), L"Monday 7 December");
    EXPECT_EQ(AccessibleDayName(s, 1), L"Tuesday 8 December, holiday, Founders' Day");
    ItemSelection selection;
    selection.line = selection.index = 2;
    selection.kind = ItemKind::Appointment;
    const std::vector<AccessibleItem> items = AccessibleItems(s, 1, selection, 1);
    ASSERT_EQ(items.size(), 4U) << "the holiday names the day and is no item";
    EXPECT_EQ(items[0].name, L"Report, task due 12/08");
    EXPECT_EQ(AccessibleStateWords(items[0]), L"completed");
    EXPECT_EQ(items[2].pos, 2);
    EXPECT_EQ(AccessibleStateWords(items[2]), L"selected, conflicting");
    EXPECT_EQ(AccessibleStateWords(items[3]), L"recurring");
    EXPECT_FALSE(AccessibleItems(s, 1, selection, 0)[2].selected) << "another day is selected";
}
