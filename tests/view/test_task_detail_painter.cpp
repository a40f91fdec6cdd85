// The task strip and the detail list painted into an image.
#include "view/task_detail_painter.h"

#include <gtest/gtest.h>

#include "fake_day_entries.h"
#include "res/pictures.h"
#include "view/day_paint_rules.h"

namespace {
// 800 x 480, detail at the bottom from y 359: five lines of 21 pixels, icons of 16.
struct DetailHarness : PaintHarness {
    DetailHarness()
        : PaintHarness(800, 480, Input([](LayoutInput& in) {
                           in.InfoAreaVisible = in.InfoAreaFixBottom = true;
                           in.InfoAreaHeight = 110;
                       }))
    {
    }
    DetailLines PaintDetail(int scroll = 0, int selected = -1)
    {
        DetailLines lines;
        Paint<TaskDetailPainter>(
            [&](const TaskDetailPainter& p) { lines = p.PaintDetail(0, scroll, selected); });
        return lines;
    }
    static int LineTop(int line) { return 359 + 21 * line + 2; }
};

FakeTask DueTask(const std::wstring& subject)
{
    return {.subject = subject, .dueHere = true, .hasDue = true, .dueText = L"December 31"};
}

} // namespace

TEST(TaskDetailPainter, DetailLinesTellEveryKind)
{
    DetailHarness h;
    h.entries.tasks[0] = {DueTask(L"Pay rent"),
                          {.subject = L"Filed", .complete = true}, // Work, done, no due date
                          {.subject = L"Gym", .recurring = true}};
    h.entries.appts[0] = {
        {.end = 1440, .subject = L"Trip", .allDay = true},
        {.start = 540, .end = 630, .subject = L"Planning", .location = L"Room 2"},
        {.start = 600, .end = 660, .subject = L"Weekly", .state = 4},
    };
    const DetailLines lines = h.PaintDetail();
    for (const wchar_t* text :
         {L"Due Pay rent [DueDate December 31]", L"Recur Gym", L"All Day Trip",
          L"09:00 - 10:30 Planning [Room 2]", L"10:00 - 11:00 Weekly(Del exception)"}) {
        EXPECT_TRUE(h.Drew(text)) << text;
    }
    EXPECT_FALSE(h.Drew(L"Work Filed"));
    EXPECT_EQ(lines.lineItems, (std::vector<int>{0, 2, 0, 1, 2})); // the finished task: no line
    EXPECT_EQ(lines.taskLines, 2);
    // The deleted occurrence overlaps the busy meeting but is never a conflict.
    EXPECT_TRUE(
        h.IconAt(res::kIconMovedOrDeletedOccurrence, 2, DetailHarness::LineTop(4), 16, Qt::white));
    // Day kinds by their categories; busy overlaps show the conflict icon on the later line.
    DetailHarness kinds;
    kinds.settings.HolidayCategory = L"Rest";
    kinds.settings.MemorialCategory = L"Memorial";
    kinds.entries.appts[0] = {
        {.end = 1440, .subject = L"New Year", .allDay = true, .busy = 0, .dayKind = 1},
        {.end = 1440, .subject = L"Off", .allDay = true, .busy = 0, .dayKind = 3},
        {.end = 1440, .subject = L"Day", .allDay = true, .busy = 0, .dayKind = 4},
        {.start = 540, .end = 660, .subject = L"A"},
        {.start = 600, .end = 720, .subject = L"B"},
    };
    kinds.PaintDetail();
    for (const wchar_t* text : {L"Holiday New Year", L"Rest Off", L"Memorial Day"}) {
        EXPECT_TRUE(kinds.Drew(text)) << text;
    }
    EXPECT_TRUE(kinds.IconAt(res::kIconConflict, 2, DetailHarness::LineTop(4), 16, Qt::white));
}

TEST(TaskDetailPainter, TaskStripShowsOnlyTasksOfTheDay)
{
    DetailHarness h;
    h.entries.tasks[0] = {{.subject = L"Done", .complete = true}, // Work: never in the strip
                          {.subject = L"Gym", .recurring = true},
                          DueTask(L"Pay rent"),
                          {.subject = L"Write report", .startsHere = true, .overdue = true}};
    h.Paint<TaskDetailPainter>([](const TaskDetailPainter& p) { p.PaintTaskStrip(0); });
    ASSERT_EQ(h.texts.size(), 3U);
    EXPECT_EQ(h.texts[0].text, L"Gym ");
    EXPECT_EQ(h.texts[0].at, QPoint(60 + 12 + 2, 52 + 3));
    EXPECT_EQ(h.texts[1].text, L"^Pay r ");
    EXPECT_EQ(h.texts[2].text, L">>Write ");
}

// A direction override reverses its own subject at most, unmatched closers included.
TEST(TaskDetailPainter, EachItemTextIsAnIsolatedRun)
{
    DetailHarness h;
    h.entries.appts[0] = {{.start = 540,
                           .end = 600,
                           .subject = L"\x2069\x202E"
                                      L"ab",
                           .location = L"evil"}};
    h.PaintDetail();
    const std::wstring line = L"09:00 - 10:00 \x2068\x202E"
                              L"ab\x202C\x2069 [evil]";
    EXPECT_TRUE(h.Drew(line)) << "the subject isolated, so [evil] reads as written";
    EXPECT_EQ(IsolatedText(L"Plain [text] 09:00"), L"Plain [text] 09:00");
    EXPECT_EQ(IsolatedText(L"\x202A"
                           L"a\x202C\x202C\x2067"
                           L"b"),
              L"\x2068\x202A"
              L"a\x202C\x2067"
              L"b\x2069\x2069");
}
