// A full paint of a 1920 x 1080 schedule view into an image: 66 day rows, every row with two
// dozen bars (overlaps, conflicts, all-day items, clipped ends), tasks and a long detail list;
// the same paint over the real document loaded from a 10,000-appointment demo store; and the
// calendar grid of nine weeks over the dense days, every cell overflowing.
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "bench/demo_view_fixture.h"
#include "model/date_time.h"
#include "view/empty_schedule.h"
#include "view/memory_settings_store.h"
#include "view/schedule_source.h"

namespace {

constexpr int kRows = 66;
constexpr int kBarsPerRow = 24;

struct Bar {
    int start, end, state, busy;
    bool allDay;
    std::wstring subject, location;
};

// A dense week planner, the same shape on every day, with subjects that vary by day.
class DenseSchedule : public EmptySchedule {
public:
    DenseSchedule()
    {
        SetShownStart(MakeSystemTime(2026, 12, 4));
        const wchar_t* subjects[] = {L"Standup",       L"Design review", L"Lunch with Ana",
                                     L"Customer call", L"Focus time",    L"Gym"};
        for (int row = 0; row < kRows; ++row) {
            std::vector<Bar>& bars = days_[row];
            bars.push_back({0, 1440, 0, 0, true, L"Conference", L""});
            for (int i = 0; i < kBarsPerRow; ++i) {
                const int start = 6 * 60 + i * 40 + row % 5 * 5;
                bars.push_back({start, start + 55 + i % 3 * 30, i % 5, i % 4, false,
                                std::wstring(subjects[(row + i) % 6]) + L" " + std::to_wstring(row),
                                i % 2 != 0 ? L"Room 2" : L""});
            }
        }
    }
    int ApptCount(int r) const override { return Valid(r) ? int(days_[r].size()) : 0; }
    int StartMinutes(int r, int p) const override { return At(r, p).start; }
    int EndMinutes(int r, int p) const override { return At(r, p).end; }
    std::wstring StartText(int r, int p) const override { return Clock(At(r, p).start); }
    std::wstring EndText(int r, int p) const override { return Clock(At(r, p).end); }
    std::wstring ApptSubject(int r, int p) const override { return At(r, p).subject; }
    std::wstring ApptCategories(int /*row*/, int /*pos*/) const override { return L"Work"; }
    std::wstring ApptLocation(int r, int p) const override { return At(r, p).location; }
    bool IsAllDay(int r, int p) const override { return At(r, p).allDay; }
    int EntryState(int r, int p) const override { return At(r, p).state; }
    int Busy(int r, int p) const override { return At(r, p).busy; }
    int TaskCount(int r) const override { return Valid(r) ? 3 : 0; }
    std::wstring TaskSubject(int /*row*/, int p) const override
    {
        return L"Task " + std::to_wstring(p);
    }
    std::wstring TaskDueText(int /*row*/, int /*pos*/) const override { return L"December 31"; }
    bool TaskRecurring(int /*row*/, int p) const override { return p == 0; }
    bool TaskStartsHere(int /*row*/, int p) const override { return p == 1; }
    bool TaskDueHere(int /*row*/, int p) const override { return p == 2; }
    bool TaskHasDue(int /*row*/, int p) const override { return p == 2; }

private:
    static bool Valid(int r) { return r >= 0 && r < kRows; }
    const Bar& At(int r, int p) const
    {
        static const Bar none{};
        return Valid(r) && p >= 0 && p < ApptCount(r) ? days_[r][p] : none;
    }
    static std::wstring Clock(int minutes)
    {
        wchar_t text[8];
        swprintf(text, 8, L"%.2d:%.2d", minutes / 60 % 100, minutes % 60);
        return text;
    }

    std::vector<Bar> days_[kRows];
};

SYSTEMTIME Now()
{
    return MakeSystemTime(2026, 12, 7, 10, 30);
}

void PaintLoop(benchmark::State& state, ScheduleSource& schedule, int calendarType = 1)
{
    ViewSettings settings;
    settings.CalendarType = calendarType;
    settings.DispWeekCount = 9;
    settings.draw.MainFontSize = 10; // 66 rows of 15 pixels fit 1080 lines
    settings.OneHourPixel = 96;
    MemorySettingsStore store(settings);
    CTamberloView view(schedule, store);
    QImage image(1920, 1080, QImage::Format_RGB32);
    view.LayOut(image.size());
    for (auto _ : state) {
        QPainter painter(&image);
        view.Render(painter, image.rect());
    }
    state.counters["rows"] = view.Layout().dayRowCount;
}

void FullPaint(benchmark::State& state)
{
    const FixedClock clock(Now());
    const ScopedClock fixedNow(clock);
    DenseSchedule schedule;
    PaintLoop(state, schedule);
}
BENCHMARK(FullPaint)->Unit(benchmark::kMillisecond);

void FullGridPaint(benchmark::State& state)
{
    const FixedClock clock(Now());
    const ScopedClock fixedNow(clock);
    DenseSchedule schedule;
    PaintLoop(state, schedule, 0);
}
BENCHMARK(FullGridPaint)->Unit(benchmark::kMillisecond);

void FullPaintOfDemoStore(benchmark::State& state)
{
    bench::DemoDocument demo(Now());
    if (!demo.Ready()) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PaintLoop(state, demo.Schedule());
}
BENCHMARK(FullPaintOfDemoStore)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunOffscreen(argc, argv);
}
