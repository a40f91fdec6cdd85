// Moving one day forward 1,000 times with the Down key on the last row of a 1920 x 1080 window
// over the 10,000-appointment demo store, each step with its repaint. Steps inside the loaded
// window scroll the body's pixels and paint one row; steps that leave it reload the window.
#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>
#include <ctime>

#include "bench/demo_view_fixture.h"
#include "model/date_time.h"
#include "view/app_settings_view_store.h"

namespace {

constexpr int kSteps = 1000;

SYSTEMTIME Now()
{
    return MakeSystemTime(2026, 12, 9, 10, 30);
}

void PressDown(CTamberloView& view)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    QApplication::processEvents(); // the repaint of what the step exposed
}

// This thread's CPU time: on a busy machine the wall clock mostly measures the neighbours.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void DayStepsOverDemoStore(benchmark::State& state)
{
    bench::DemoDocument demo(Now());
    if (!demo.Ready()) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    AppSettingsViewStore store(demo.Settings());
    const std::unique_ptr<CTamberloView> view = bench::ShowView(demo.Schedule(), store);
    const CTamberloDoc& doc = demo.Doc();
    while (view->SelectedRow() < view->Layout().dayRowCount - 1) {
        PressDown(*view);
    }

    double insideSeconds = 0;
    double reloadSeconds = 0;
    int reloads = 0;
    for (auto _ : state) {
        for (int step = 0; step < kSteps; ++step) {
            const SYSTEMTIME loadStart = doc.LoadStart();
            const double start = ThreadSeconds();
            PressDown(*view);
            const double seconds = ThreadSeconds() - start;
            if (DaysBetween(loadStart, doc.LoadStart()) != 0) {
                reloadSeconds += seconds;
                ++reloads;
            } else {
                insideSeconds += seconds;
            }
        }
    }
    const double steps = static_cast<double>(state.iterations()) * kSteps;
    // CPU milliseconds per step inside the window and per reloading step.
    state.counters["inside_ms"] = insideSeconds * 1000 / std::max(1.0, steps - reloads);
    state.counters["reload_ms"] = reloads > 0 ? reloadSeconds * 1000 / reloads : 0;
    state.counters["reloads_per_1000"] = reloads * kSteps / steps;
}
BENCHMARK(DayStepsOverDemoStore)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunOffscreen(argc, argv);
}
