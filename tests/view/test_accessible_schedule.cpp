// The schedule as assistive technology reads it, in process: the names of days and items (exact
// texts), the tree under the view's interface (counts, names, states) and the focus that
// follows a key. The same tree read from outside over AT-SPI is tests/tools' concern.
#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_day_entries.h"
#include "view/accessible_item_text.h"
#include "view/accessible_schedule.h"
#include "view_harness.h"

namespace {

// Tuesday: a holiday heads the day, two busy appointments overlap, a recurring one, a done task.
void FillTuesday(FakeSchedule& s, int row = 1)
{
    s.appts[row] = {
        {.start = 0, .end = 1440, .subject = L"Founders' Day", .allDay = true, .dayKind = 1},
        {.start = 600, .end = 660, .subject = L"Dentist", .location = L"Room 4"},
        {.start = 630, .end = 700, .subject = L"Call"},
        {.start = 900, .end = 930, .subject = L"Standup", .state = kOccurrenceEntry}};
    s.tasks[row] = {{.subject = L"Report",
                     .startsHere = true,
                     .complete = true,
                     .hasDue = true,
                     .dueText = L"12/08"}};
}

} // namespace

TEST(AccessibleItemText, NamesDaysAndItemsWithTheirStates)
{
    EXPECT_EQ(AppointmentAccessibleName(L"Dentist", L"10:00", L"11:00", L"Room 4", false),
              L"Dentist, 10:00 to 11:00, Room 4");
    EXPECT_EQ(AppointmentAccessibleName(L"Dentist", L"0930", L"2400", L"", false),
              L"Dentist, 09:30 to 24:00");
    EXPECT_EQ(AppointmentAccessibleName(L"Trip", L"", L"", L"Oslo", true), L"Trip, all day, Oslo");
    EXPECT_EQ(TaskAccessibleName(L"Report", L" "), L"Report, task");
    EXPECT_EQ(TaskAccessibleName(L"Report", L"12/09"), L"Report, task due 12/09");

    FakeSchedule s;
    FillTuesday(s);
    EXPECT_EQ(AccessibleDayName(s, 0), L"Monday 7 December");
    EXPECT_EQ(AccessibleDayName(s, 1), L"Tuesday 8 December, holiday, Founders' Day");
    ItemSelection selection;
    selection.line = 2;
    selection.index = 2;
    selection.kind = ItemKind::Appointment;
    const std::vector<AccessibleItem> items = AccessibleItems(s, 1, selection, 1);
    ASSERT_EQ(items.size(), 4U) << "the holiday names the day and is no item";
    EXPECT_EQ(items[0].name, L"Report, task due 12/08");
    EXPECT_EQ(AccessibleStateWords(items[0]), L"completed");
    EXPECT_EQ(items[1].name, L"Dentist, 10:00 to 11:00, Room 4");
    EXPECT_EQ(AccessibleStateWords(items[1]), L"");
    EXPECT_EQ(items[2].pos, 2);
    EXPECT_EQ(AccessibleStateWords(items[2]), L"selected, conflicting");
    EXPECT_EQ(AccessibleStateWords(items[3]), L"recurring");
    EXPECT_FALSE(AccessibleItems(s, 1, selection, 0)[2].selected) << "another day is selected";
}

TEST(AccessibleSchedule, TheTreeNamesEveryAreaDayAndItemAndFollowsTheKeys)
{
    ViewHarness h;
    h.view.resize(800, 480);
    h.view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&h.view));
    h.view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.view));
    h.view.setFocus();
    h.view.JumpTo(MakeSystemTime(2026, 12, 8));
    const int row = h.view.SelectedRow();
    FillTuesday(h.schedule, row);
    h.Render(800, 480);
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&h.view);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->childCount(), 3);
    QAccessibleInterface* bar = root->child(0);
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "Picture buttons");
    ASSERT_GE(bar->childCount(), 16);
    EXPECT_EQ(bar->child(0)->role(), QAccessible::Button);
    EXPECT_EQ(bar->child(0)->text(QAccessible::Name), "Today");
    EXPECT_EQ(bar->child(0)->text(QAccessible::Accelerator), "Home");

    QAccessibleInterface* body = root->child(1);
    EXPECT_EQ(body->role(), QAccessible::Table);
    EXPECT_EQ(body->childCount(), h.view.Layout().dayRowCount);
    QAccessibleInterface* tuesday = body->child(row);
    EXPECT_EQ(tuesday->text(QAccessible::Name), "Tuesday 8 December, holiday, Founders' Day");
    EXPECT_TRUE(tuesday->state().selected);
    ASSERT_EQ(tuesday->childCount(), 4);
    EXPECT_EQ(tuesday->child(1)->text(QAccessible::Name), "Dentist, 10:00 to 11:00, Room 4");
    EXPECT_EQ(tuesday->child(1)->parent(), tuesday);
    EXPECT_EQ(tuesday->indexOfChild(tuesday->child(1)), 1);
    EXPECT_TRUE(tuesday->child(0)->state().checked);
    EXPECT_EQ(tuesday->child(2)->text(QAccessible::Description), "conflicting");
    EXPECT_EQ(body->child(row + 1)->childCount(), 0);

    QAccessibleInterface* detail = root->child(2);
    EXPECT_EQ(detail->role(), QAccessible::List);
    ASSERT_EQ(detail->childCount(), 5) << "the holiday is a line of its own";
    EXPECT_EQ(detail->child(1)->text(QAccessible::Name), "Founders' Day, all day");
    EXPECT_EQ(detail->child(2)->text(QAccessible::Name), "Dentist, 10:00 to 11:00, Room 4");

    // The detail lines by keys: the line reached is selected and focused. (The offscreen
    // platform sends no events; the AT-SPI test sees the focus event itself.)
    ASSERT_TRUE(h.view.hasFocus());
    h.view.SelectDetailLine(1);
    QTest::keyClick(&h.view, Qt::Key_Down);
    EXPECT_EQ(root->focusChild()->text(QAccessible::Name), "Dentist, 10:00 to 11:00, Room 4");
    EXPECT_TRUE(detail->child(2)->state().focused);
    EXPECT_TRUE(detail->child(2)->state().selected);
    EXPECT_EQ(tuesday->child(1)->text(QAccessible::Description), "selected");
    EXPECT_EQ(root->focusChild(), detail->child(2));
}
