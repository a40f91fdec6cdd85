// A hand-filled day table, and a harness that paints a layout into an image, recording texts.
#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "view/day_entries.h"
#include "view/paint_context.h"
#include "view/paint_primitives.h"

// Test tables name only the fields that matter to a case; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

struct FakeAppt {
    int start = 0, end = 0;
    std::wstring subject, location, categories;
    bool allDay = false;
    int state = 0, busy = 2, dayKind = 0;
    std::string meeting;              // the kept component of a meeting
    std::optional<uint32_t> calendar; // the colour of its calendar, when marked
};

struct FakeTask {
    std::wstring subject;
    bool recurring = false, startsHere = false, dueHere = false, complete = false;
    bool hasDue = false, overdue = false;
    std::wstring dueText, categories;
    std::optional<uint32_t> calendar;
};

// Over DayEntries for the painters, over the view's ScheduleSource for the widget.
template <typename Base> class FakeEntries : public Base {
public:
    using Colour = std::optional<uint32_t>;
    SYSTEMTIME shownStart = MakeSystemTime(2026, 12, 7); // a Monday
    std::map<int, std::vector<FakeAppt>> appts;
    std::map<int, std::vector<FakeTask>> tasks;
    SYSTEMTIME GetShownStart() const override { return shownStart; }
    int ApptCount(int row) const override { return Count(appts, row); }
    int StartMinutes(int r, int p) const override { return At(r, p).start; }
    int EndMinutes(int r, int p) const override { return At(r, p).end; }
    std::wstring StartText(int r, int p) const override { return Clock(At(r, p).start); }
    std::wstring EndText(int r, int p) const override { return Clock(At(r, p).end); }
    std::wstring ApptSubject(int r, int p) const override { return At(r, p).subject; }
    std::wstring ApptCategories(int r, int p) const override { return At(r, p).categories; }
    std::wstring ApptLocation(int r, int p) const override { return At(r, p).location; }
    bool IsAllDay(int r, int p) const override { return At(r, p).allDay; }
    int EntryState(int r, int p) const override { return At(r, p).state; }
    int Busy(int r, int p) const override { return At(r, p).busy; }
    int DayKind(int r, int p) const override { return At(r, p).dayKind; }
    std::string ApptMeeting(int r, int p) const override { return At(r, p).meeting; }
    Colour ApptCalendarColour(int r, int p) const override { return At(r, p).calendar; }
    Colour TaskCalendarColour(int r, int p) const override { return Tk(r, p).calendar; }
    int TaskCount(int row) const override { return Count(tasks, row); }
    std::wstring TaskSubject(int r, int p) const override { return Tk(r, p).subject; }
    std::wstring TaskCategories(int r, int p) const override { return Tk(r, p).categories; }
    std::wstring TaskDueText(int r, int p) const override { return Tk(r, p).dueText; }
    bool TaskRecurring(int r, int p) const override { return Tk(r, p).recurring; }
    bool TaskStartsHere(int r, int p) const override { return Tk(r, p).startsHere; }
    bool TaskDueHere(int r, int p) const override { return Tk(r, p).dueHere; }
    bool TaskComplete(int r, int p) const override { return Tk(r, p).complete; }
    bool TaskHasDue(int r, int p) const override { return Tk(r, p).hasDue; }
    bool TaskOverdue(int r, int p) const override { return Tk(r, p).overdue; }

private:
    static std::wstring Clock(int minutes)
    {
        return QString::asprintf("%.2d:%.2d", minutes / 60, minutes % 60).toStdWString();
    }
    template <typename Item> static int Count(const std::map<int, std::vector<Item>>& m, int r)
    {
        return m.contains(r) ? static_cast<int>(m.at(r).size()) : 0;
    }
    template <typename Item>
    static const Item& Get(const std::map<int, std::vector<Item>>& m, int r, int p)
    {
        static const Item none;
        return p >= 0 && p < Count(m, r) ? m.at(r)[p] : none;
    }
    const FakeAppt& At(int r, int p) const { return Get(appts, r, p); }
    const FakeTask& Tk(int r, int p) const { return Get(tasks, r, p); }
};

using FakeDayEntries = FakeEntries<DayEntries>;

// One laid-out view painted into an image; texts drawn are kept in `texts`.
struct PaintHarness {
    explicit PaintHarness(int width = 800, int height = 480, LayoutInput in = Input(nullptr))
        : input(in), layout(ViewLayout::Compute(width, height, input)), geometry(layout),
          resources(settings), image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        sink.SetRecorder([this](const DrawnText& drawn) { texts.push_back(drawn); });
    }
    // Detail hidden, a date column of 60, rows from 08:00; `change` adjusts it for a case.
    static LayoutInput Input(void (*change)(LayoutInput&) = nullptr)
    {
        LayoutInput in;
        in.InfoAreaVisible = false;
        in.dateColumnWidth = 60;
        in.firstHour = 8;
        in.previousPortrait = false;
        if (change != nullptr) {
            change(in);
        }
        return in;
    }
    // Re-lays out after a change of the input or the settings.
    void Relayout(int width, int height)
    {
        layout = ViewLayout::Compute(width, height, input);
        geometry = GanttGeometry(layout);
        resources = ViewResources(settings);
    }
    template <typename Painter, typename Action> void Paint(Action action)
    {
        QPainter painter(&image);
        PaintContext context{painter,   layout, geometry,           entries,  settings,
                             resources, sink,   entries.shownStart, selected, now};
        action(Painter(context));
    }
    QColor Pixel(int x, int y) const { return image.pixelColor(x, y); }
    // Whether the block at (x, y) shows item icon `icon` stretched to `size` over `background`.
    bool IconAt(int icon, int x, int y, int size, const QColor& background) const
    {
        QImage reference(size, size, QImage::Format_RGB32);
        reference.fill(background);
        QPainter painter(&reference);
        DrawItemIcon(painter, resources, icon, {0, 0}, size);
        painter.end();
        return image.copy(x, y, size, size) == reference;
    }
    // How often `text` was drawn.
    int Drew(const std::wstring& text) const
    {
        return static_cast<int>(
            std::count_if(texts.begin(), texts.end(), [&](auto& t) { return t.text == text; }));
    }
    FakeDayEntries entries;
    DrawSettings settings;
    LayoutInput input;
    ViewLayout layout;
    GanttGeometry geometry;
    ViewResources resources;
    TextSink sink;
    std::vector<DrawnText> texts;
    SYSTEMTIME selected = MakeSystemTime(2026, 12, 9);
    SYSTEMTIME now = MakeSystemTime(2026, 12, 8, 10, 30);
    QImage image;
};
