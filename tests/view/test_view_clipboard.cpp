// Where a paste lands and what the desktop clipboard's plain text reads.
#include "view/view_clipboard.h"

#include <gtest/gtest.h>

#include "model/date_time.h"
#include "view/gantt_geometry.h"

TEST(ViewClipboard, PasteTargets)
{
    LayoutInput in;
    in.dateColumnWidth = 60;
    in.firstHour = 8;
    in.InfoAreaFixBottom = true;
    const ViewLayout l = ViewLayout::Compute(900, 480, in);
    const GanttGeometry g(l);
    const SYSTEMTIME monday = MakeSystemTime(2026, 12, 7);
    const SYSTEMTIME friday = MakeSystemTime(2026, 12, 11);
    const auto rowY = [&](int row) { return l.rowsTop + l.dayRowHeight * row + 2; };
    // A menu point in the hours and the Edit menu's paste reach the store in the editing tests.
    const SYSTEMTIME nine = PasteSourceTime(monday, L"09:40", false);
    EXPECT_EQ(nine.wHour * 60 + nine.wMinute, 9 * 60 + 30);
    struct Case {
        const char* name;
        SYSTEMTIME source;
        bool task;
        std::optional<PixelPoint> menu;
        SYSTEMTIME expected;
    };
    const Case cases[] = {
        {"menu point in the task column keeps the time", PasteSourceTime(monday, L"09:00", false),
         false, PixelPoint{70, rowY(3)}, MakeSystemTime(2026, 12, 10, 9, 0)},
        {"task at midnight of the menu row", PasteSourceTime(monday, L"", true), true,
         PixelPoint{g.XOfMinute(14 * 60), rowY(1)}, MakeSystemTime(2026, 12, 8)},
    };
    for (const Case& c : cases) {
        const SYSTEMTIME got = PasteTargetTime(c.source, c.task, l, c.menu, monday, friday);
        EXPECT_EQ(SystemTimeToVariantTime(got), SystemTimeToVariantTime(c.expected)) << c.name;
    }
}

TEST(ViewClipboard, PlainText)
{
    pim::StoredItem appointment;
    appointment.fields.Subject = L"Planning";
    appointment.fields.Location = L"Room 2";
    appointment.fields.Start = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 9, 9, 0));
    appointment.fields.End = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 9, 10, 30));
    EXPECT_EQ(ClipPlainText(appointment), L"2026/12/09 09:00 - 10:30 Planning [Room 2]");
    pim::StoredItem task;
    task.kind = pim::kTaskKind;
    task.fields.Subject = L"Report";
    EXPECT_EQ(ClipPlainText(task), L"Report");
    task.fields.DueDate = SystemTimeToVariantTime(MakeSystemTime(2010, 12, 31));
    EXPECT_EQ(ClipPlainText(task), L"2010/12/31 Report");
}
