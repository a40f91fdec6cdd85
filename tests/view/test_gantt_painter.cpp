// Gantt rows painted into an image, checked at points computed from the layout.
#include "view/gantt_painter.h"

#include <gtest/gtest.h>

#include "fake_day_entries.h"
#include "res/pictures.h"
#include "view/meeting_mark.h"

namespace {
// 800 x 480: hours from x 156 at a pixel a minute from 09:00, rows of 17 from y 52, right 756.
struct GanttHarness : PaintHarness {
    GanttHarness()
        : PaintHarness(800, 480,
                       Input([](LayoutInput& in) { in.OneHourPixel = 60, in.firstHour = 9; }))
    {
    }
    void PaintRows()
    {
        Paint<GanttPainter>([&](const GanttPainter& gantt) {
            for (int row = 0; row < layout.dayRowCount; ++row) {
                gantt.PaintRowBackgroundAndLabel(row);
                gantt.PaintAppointments(row);
            }
            gantt.PaintFrames();
        });
    }
};

const auto X = [](int minutes) { return 156 + minutes - 9 * 60; };
const auto Top = [](int row) { return 52 + 17 * row; };

const QColor kBar(180, 180, 255);
const QColor kRed(255, 0, 0);
} // namespace

TEST(GanttPainter, DayBackgroundsByWeekdayHolidayAndAlternateMonth)
{
    const QColor white(Qt::white);
    // clang-format off
    struct Case { SYSTEMTIME selected; int rate; std::vector<std::pair<int, QColor>> rows; };
    const Case cases[] = {
        // Tuesday, Saturday, Sunday and the holiday of the selected month.
        {MakeSystemTime(2026, 12, 9), 90, {{1, white}, {5, QColor(200, 255, 255)},
                                           {6, QColor(255, 200, 255)}, {2, QColor(0, 255, 0)}}},
        // The month before is dimmed.
        {MakeSystemTime(2026, 11, 30), 90, {{1, QColor(229, 229, 229)}, {6, QColor(229, 180, 229)}}},
        {MakeSystemTime(2026, 11, 30), 100, {{1, white}}},  // rate 100: no dimming
    };
    // clang-format on
    for (const Case& c : cases) {
        GanttHarness h;
        h.settings.ColorHoliday = 0x00FF00;
        h.settings.BrightReduceRate = c.rate;
        h.resources = ViewResources(h.settings);
        h.selected = c.selected;
        h.entries.appts[2] = {
            {.end = 1440, .subject = L"Holiday", .allDay = true, .busy = 0, .dayKind = 1}};
        h.PaintRows();
        for (const auto& [row, colour] : c.rows) {
            EXPECT_EQ(h.Pixel(700, Top(row) + 10), colour) << row << " " << c.selected.wMonth;
        }
    }
}

// Conflicts only between busy overlaps; a meeting's blue corner; a marked bar's calendar band.
TEST(GanttPainter, ConflictBandsMeetingCornersAndCalendarBands)
{
    GanttHarness h;
    const std::string meeting = "BEGIN:VEVENT\r\nORGANIZER:mailto:ann@example.com\r\n"
                                "END:VEVENT\r\n";
    h.entries.appts[3] = {{.start = 540, .end = 660}, {.start = 600, .end = 720}};
    h.entries.appts[4] = {{.start = 540, .end = 660}, {.start = 600, .end = 720, .busy = 0}};
    h.entries.appts[5] = {{.start = 720, .end = 780}, {.start = 780, .end = 840}};
    h.entries.appts[6] = {{.start = 600, .end = 720, .meeting = meeting}};
    h.entries.appts[7] = {{.start = 600, .end = 720, .calendar = 0x0050A050}}; // 0x00BBGGRR
    h.PaintRows();
    EXPECT_EQ(h.Pixel(X(650), Top(3) + 5), kRed);
    EXPECT_TRUE(h.IconAt(res::kIconConflict, X(600) + 1, Top(3) + 3, 12, kRed));
    EXPECT_EQ(h.Pixel(X(650), Top(4) + 5), kBar);
    EXPECT_EQ(h.Pixel(X(800), Top(5) + 5), kBar);
    const PixelRect mark = MeetingMarkSquare(h.geometry.Bar(6, 600, 720, false).frame);
    EXPECT_EQ(h.Pixel(mark.right - 1, mark.top), MeetingMarkColor());
    EXPECT_EQ(h.Pixel(X(600) + 1, Top(7) + 6), QColor(0x50, 0xA0, 0x50));
    EXPECT_TRUE(h.IconAt(res::kIconAppointment, X(600) + 5, Top(7) + 3, 12, kBar));
}

TEST(GanttPainter, TextsMarksLabelsAndTheHourScale)
{
    GanttHarness h;
    h.entries.appts[0] = {{.start = 600, .end = 660, .subject = L"Architecture"}};
    h.entries.appts[8] = {{.start = 360, .end = 480, .subject = L"Early"}};
    h.entries.appts[9] = {{.start = 480, .end = 600, .subject = L"Standup meeting"}};
    h.entries.appts[10] = {{.start = 1080, .end = 1200, .subject = L"Review"}};
    h.PaintRows();
    h.Paint<GanttPainter>([](const GanttPainter& gantt) { gantt.PaintHeader(); });
    // Starts before 09:00: the left mark replaces the icon; one wholly before is not drawn.
    for (const wchar_t* text :
         {L"Archi", L"<<Stand", L"12/07 Mo", L"12/13 Su", L"Year 2026", L"18"}) {
        EXPECT_TRUE(h.Drew(text)) << text;
    }
    EXPECT_FALSE(h.Drew(L"Early"));
    EXPECT_TRUE(std::any_of(h.texts.begin(), h.texts.end(), [](const DrawnText& t) {
        return t.text == L">>" && t.at == QPoint(757, Top(10) + 3);
    }));
    // "19" sits on the chart's right edge: cut in half it would read as "1", so it is left out.
    EXPECT_FALSE(h.Drew(L"19"));
    // At 12 pixels an hour each label drawn starts after the previous one ends.
    GanttHarness narrow;
    narrow.input.OneHourPixel = 12;
    narrow.Relayout(800, 480);
    narrow.Paint<GanttPainter>([](const GanttPainter& gantt) { gantt.PaintHeader(); });
    const QFontMetrics metrics(narrow.resources.MainFont());
    int previousEnd = 0;
    for (const DrawnText& drawn : narrow.texts) {
        if (drawn.text.size() == 2) {
            EXPECT_GT(drawn.at.x(), previousEnd) << drawn.at.x();
            previousEnd =
                drawn.at.x() + metrics.horizontalAdvance(QString::fromStdWString(drawn.text));
        }
    }
    EXPECT_LE(previousEnd, narrow.layout.chartRight);
}

TEST(GanttPainter, HostileSubjectsStayInsideTheirRow)
{
    GanttHarness h;
    const QColor untouched(1, 2, 3);
    h.image.fill(untouched);
    auto& crowded = h.entries.appts[3];
    for (int i = 0; i < 200; ++i) {
        crowded.push_back({.start = 540 + i, .end = 600 + i, .subject = L"Item\n\t\x1f"});
    }
    crowded.push_back({.start = 600, .end = 700, .subject = std::wstring(100000, L'W')});
    crowded.push_back({.start = 620, .end = 720, .subject = L"\x05d0\x05d1 \x0645\x0631 rtl"});
    h.settings.DispTextLen = 0;
    h.Paint<GanttPainter>([](const GanttPainter& gantt) {
        gantt.PaintRowBackgroundAndLabel(3);
        gantt.PaintAppointments(3);
    });
    const PixelRect row = h.geometry.DayRect(3);
    for (int x = 0; x < h.image.width(); ++x) {
        const int beside = x > row.right ? row.top + 8 : row.top - 1; // and right of the row
        for (int y : {row.top - 1, row.bottom + 1, beside}) {
            ASSERT_EQ(h.Pixel(x, y), untouched) << x << "," << y;
        }
    }
    for (const DrawnText& t : h.texts) {
        EXPECT_TRUE(QRect(0, row.top, row.right, row.Height() + 1).contains(t.clip));
    }
    EXPECT_EQ(TextSink::Displayable(L"a\nb\tc", 100), QString("a b c"));
    EXPECT_EQ(TextSink::Displayable(std::wstring(100000, L'W'), 50).size(), 51);
}

TEST(GanttPainter, GhostContrastsWithEveryRowColour)
{
    const uint32_t rows[] = {0xFFFFFF, 0x000000, 0x9E9E9E, 0x7F7F7F, 0xFFC8FF, 0xFF0000, 0x00FFFF};
    for (const uint32_t colour : rows) {
        GanttHarness h;
        h.settings.ColorWednesday = colour;
        h.settings.BrightReduceRate = 100;
        h.resources = ViewResources(h.settings);
        h.PaintRows();
        const QColor source = h.resources.ButtonStrip(1, false).toImage().pixelColor(0, 0);
        const PixelRect strip{X(600), Top(2), X(720), Top(2) + 16};
        h.Paint<GanttPainter>([&](const GanttPainter& g) { g.PaintGhost({strip}, source); });
        const auto gray = [&h](int m) { return qGray(h.Pixel(X(m), Top(2) + 8).rgb()); };
        EXPECT_GE(std::abs(gray(660) - gray(800)), 48) << std::hex << colour; // the fill
        EXPECT_GE(std::abs(gray(600) - gray(800)), 80) << std::hex << colour; // the frame
    }
}
