// Re-planning the reminders after a change to the store: reading the 10,000-appointment demo
// store's reminders and finding the next one, and finding it alone over a plan already read.
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/reminder_plan.h"
#include "platform/pim/demo_calendar.h"

namespace {

constexpr int kAppointments = 10000;
constexpr int kTasks = 2000;

SYSTEMTIME Today()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

struct DemoStore {
    QTemporaryDir dir;
    std::string path = dir.filePath(QStringLiteral("bench.sqlite3")).toStdString();
    bool ready = pim::WriteDemoStore(path, OccurrenceOnDay, Today(), kAppointments, kTasks, 1) >= 0;
};

const DemoStore& Store()
{
    static const DemoStore store;
    return store;
}

void BM_ReadPlanAndFindNextReminder(benchmark::State& state)
{
    if (!Store().ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(Store().path, OccurrenceOnDay);
    const DATE now = SystemTimeToVariantTime(Today());
    for (auto _ : state) {
        ReminderPlan plan;
        plan.Load(session);
        benchmark::DoNotOptimize(plan.Next(now));
    }
}
BENCHMARK(BM_ReadPlanAndFindNextReminder)->Unit(benchmark::kMillisecond);

void BM_FindNextReminder(benchmark::State& state)
{
    if (!Store().ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(Store().path, OccurrenceOnDay);
    ReminderPlan plan;
    plan.Load(session);
    const DATE now = SystemTimeToVariantTime(Today());
    for (auto _ : state) {
        benchmark::DoNotOptimize(plan.Next(now));
    }
}
BENCHMARK(BM_FindNextReminder)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
