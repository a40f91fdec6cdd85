// Dragging a bar over the view of the 10,000-appointment demo store: each pointer move with the
// ghost repaint it causes, and a whole drag whose release saves the item and patches the
// document, back and forth so the item stays in sight.
#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include "bench/demo_view_fixture.h"
#include "model/schedule_edits.h"
#include "platform/message_service.h"
#include "view/gantt_geometry.h"
#include "view/memory_settings_store.h"

namespace {

SYSTEMTIME Now()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

// The demo document and a laid-out view over it, with the change path attached.
class DragFixture {
public:
    DragFixture() : demo_(Now()) {}

    bool Open()
    {
        if (!demo_.Ready()) {
            return false;
        }
        edits_ = std::make_unique<ScheduleEdits>(demo_.Doc(), demo_.Session());
        ViewSettings settings;
        settings.draw.MainFontSize = 10;
        store_ = std::make_unique<MemorySettingsStore>(settings);
        view_ = bench::ShowView(demo_.Schedule(), *store_);
        view_->Editing().SetServices({edits_.get(), &messages_, {}, {}});
        return FindBar();
    }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, view_->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view_.get(), &event);
    }
    static void Flush() { QApplication::processEvents(); }

    QPoint bar; // the middle of a plain timed bar
    int hourPixels = 36;

private:
    // A plain one-hour-or-shorter appointment inside the shown hours, on a middle row.
    bool FindBar()
    {
        const ViewLayout& l = view_->Layout();
        const GanttGeometry g(l);
        hourPixels = l.hourPixels;
        const CTamberloDoc& doc = demo_.Doc();
        for (int row = l.dayRowCount / 2; row < l.dayRowCount; ++row) {
            for (int pos = 0; pos < doc.ApptCount(row); ++pos) {
                const int start = doc.StartMinutes(row, pos);
                const int end = doc.EndMinutes(row, pos);
                if (doc.EntryState(row, pos) != 0 || doc.IsAllDay(row, pos) ||
                    start < (l.firstHour + 2) * 60 || end > (l.lastHour - 3) * 60) {
                    continue;
                }
                bar = {g.XOfMinute((start + end) / 2), l.rowsTop + l.dayRowHeight * row + 5};
                return true;
            }
        }
        return false;
    }

    bench::DemoDocument demo_;
    std::unique_ptr<ScheduleEdits> edits_;
    std::unique_ptr<MemorySettingsStore> store_;
    ScriptedMessageService messages_;
    std::unique_ptr<CTamberloView> view_;
};

void PointerMoveDuringDrag(benchmark::State& state)
{
    DragFixture f;
    if (!f.Open()) {
        state.SkipWithError("no demo store or no bar to drag");
        return;
    }
    f.Send(QEvent::MouseButtonPress, f.bar, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        // Every move crosses a half hour, so the ghost changes and its rows are repainted.
        const int offset = (step++ % 8 - 4) * f.hourPixels / 2;
        f.Send(QEvent::MouseMove, f.bar + QPoint(offset, 0), Qt::LeftButton);
        DragFixture::Flush();
    }
    f.Send(QEvent::MouseButtonRelease, f.bar, Qt::NoButton);
}
BENCHMARK(PointerMoveDuringDrag)->Unit(benchmark::kMillisecond);

void DragReleaseSaves(benchmark::State& state)
{
    DragFixture f;
    if (!f.Open()) {
        state.SkipWithError("no demo store or no bar to drag");
        return;
    }
    int direction = 1;
    QPoint at = f.bar;
    for (auto _ : state) {
        const QPoint to = at + QPoint(direction * f.hourPixels, 0);
        f.Send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        f.Send(QEvent::MouseMove, to, Qt::LeftButton);
        f.Send(QEvent::MouseButtonRelease, to, Qt::NoButton);
        DragFixture::Flush();
        at = to;
        direction = -direction;
    }
}
BENCHMARK(DragReleaseSaves)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return bench::RunOffscreen(argc, argv);
}
