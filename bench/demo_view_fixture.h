// What the view benchmarks share: the 10,000-appointment demo store in a temporary directory,
// loaded into the document at a fixed "now", a full-HD view shown over it, and the main() that
// runs the benchmarks in an offscreen application.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/pim/demo_calendar.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "view/document_schedule.h"
#include "view/tamberlo_view.h"

namespace bench {

// The demo store (10,000 appointments, 2,000 tasks around "now") and the document loaded from
// it. The clock stands at "now" while the fixture lives.
class DemoDocument {
public:
    explicit DemoDocument(const SYSTEMTIME& now) : clock_(now), fixedNow_(clock_)
    {
        const std::string path = dir_.filePath(QStringLiteral("demo.sqlite3")).toStdString();
        if (pim::WriteDemoStore(path, OccurrenceOnDay, now, 10000, 2000, 1) < 0) {
            return;
        }
        session_ = std::make_unique<PimSession>(path, OccurrenceOnDay);
        doc_ = std::make_unique<CTamberloDoc>(*session_, documentSettings_);
        schedule_ = std::make_unique<DocumentSchedule>(*doc_);
    }

    // False when the store could not be written; the benchmark then skips.
    bool Ready() const { return schedule_ != nullptr; }
    AppSettings& Settings() { return appSettings_; }
    PimSession& Session() { return *session_; }
    CTamberloDoc& Doc() { return *doc_; }
    DocumentSchedule& Schedule() { return *schedule_; }

private:
    FixedClock clock_;
    ScopedClock fixedNow_;
    QTemporaryDir dir_;
    AppSettings appSettings_;
    AppSettingsDocument documentSettings_{appSettings_};
    std::unique_ptr<PimSession> session_;
    std::unique_ptr<CTamberloDoc> doc_;
    std::unique_ptr<DocumentSchedule> schedule_;
};

// A 1920 x 1080 view over `schedule`, shown and painted once.
inline std::unique_ptr<CTamberloView> ShowView(ScheduleSource& schedule,
                                               ViewSettingsStore& settings)
{
    auto view = std::make_unique<CTamberloView>(schedule, settings);
    view->resize(1920, 1080);
    view->show();
    QApplication::processEvents();
    return view;
}

inline int RunOffscreen(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
