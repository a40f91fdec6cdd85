// Dragging a bar over the view of the 10,000-appointment demo store: each pointer move with the
// ghost repaint it causes, and a whole drag whose release saves the item and patches the
// document, back and forth so the item stays in sight.
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/schedule_edits.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/pim/demo_calendar.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "view/document_schedule.h"
#include "view/gantt_geometry.h"
#include "view/memory_settings_store.h"
#include "view/tamberlo_view.h"

namespace {

SYSTEMTIME Now()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

// The demo store, its document and a laid-out view, with the change path attached.
class DragFixture {
public:
    bool Open()
    {
        const std::string path = dir_.filePath(QStringLiteral("demo.sqlite3")).toStdString();
        if (pim::WriteDemoStore(path, OccurrenceOnDay, Now(), 10000, 2000, 1) < 0)
            return false;
        session_ = std::make_unique<PimSession>(path, OccurrenceOnDay);
        documentSettings_ = std::make_unique<AppSettingsDocument>(appSettings_);
        doc_ = std::make_unique<CTamberloDoc>(*session_, *documentSettings_);
        schedule_ = std::make_unique<DocumentSchedule>(*doc_);
        edits_ = std::make_unique<ScheduleEdits>(*doc_, *session_);
        ViewSettings settings;
        settings.draw.MainFontSize = 10;
        store_ = std::make_unique<MemorySettingsStore>(settings);
        view_ = std::make_unique<CTamberloView>(*schedule_, *store_);
        view_->Editing().SetServices({edits_.get(), &messages_, {}, {}});
        view_->resize(1920, 1080);
        view_->show();
        Flush();
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
        for (int row = l.dayRowCount / 2; row < l.dayRowCount; ++row)
            for (int pos = 0; pos < doc_->ApptCount(row); ++pos) {
                const int start = doc_->StartMinutes(row, pos);
                const int end = doc_->EndMinutes(row, pos);
                if (doc_->EntryState(row, pos) != 0 || doc_->IsAllDay(row, pos) ||
                    start < (l.firstHour + 2) * 60 || end > (l.lastHour - 3) * 60)
                    continue;
                bar = {g.XOfMinute((start + end) / 2), l.rowsTop + l.dayRowHeight * row + 5};
                return true;
            }
        return false;
    }

    QTemporaryDir dir_;
    AppSettings appSettings_;
    std::unique_ptr<AppSettingsDocument> documentSettings_;
    std::unique_ptr<PimSession> session_;
    std::unique_ptr<CTamberloDoc> doc_;
    std::unique_ptr<DocumentSchedule> schedule_;
    std::unique_ptr<ScheduleEdits> edits_;
    std::unique_ptr<MemorySettingsStore> store_;
    ScriptedMessageService messages_;
    std::unique_ptr<CTamberloView> view_;
};

void PointerMoveDuringDrag(benchmark::State& state)
{
    const FixedClock clock(Now());
    const ScopedClock fixedNow(clock);
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
    const FixedClock clock(Now());
    const ScopedClock fixedNow(clock);
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
