// Re-planning the reminders after a change to the store: reading the reminders of the demo
// store (10,000 appointments and four times as many) and finding the next one, and finding it
// alone over a plan already read.
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/reminder_plan.h"
#include "platform/pim/demo_calendar.h"

namespace {

constexpr int kAppointments = 10000;

SYSTEMTIME Today()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

struct DemoStore {
    explicit DemoStore(int appointments)
        : ready(pim::WriteDemoStore(path, OccurrenceOnDay, Today(), appointments, appointments / 5,
                                    1) >= 0)
    {
    }
    QTemporaryDir dir;
    std::string path = dir.filePath(QStringLiteral("bench.sqlite3")).toStdString();
    bool ready;
};

// The demo calendar of that many appointments (and a fifth as many tasks), made once.
const DemoStore& Store(int appointments = kAppointments)
{
    static std::map<int, std::unique_ptr<DemoStore>> stores;
    std::unique_ptr<DemoStore>& store = stores[appointments];
    if (!store) {
        store = std::make_unique<DemoStore>(appointments);
    }
    return *store;
}

// The plan reads the months ahead only: its cost stays the same in a calendar four times as
// large (a larger demo calendar covers more years at the same density, as a long history does).
void BM_ReadPlanAndFindNextReminder(benchmark::State& state)
{
    const DemoStore& store = Store(static_cast<int>(state.range(0)));
    if (!store.ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(store.path, OccurrenceOnDay);
    const DATE now = SystemTimeToVariantTime(Today());
    for (auto _ : state) {
        ReminderPlan plan;
        plan.Load(session, now);
        benchmark::DoNotOptimize(plan.Next(now));
    }
}
BENCHMARK(BM_ReadPlanAndFindNextReminder)
    ->Arg(kAppointments)
    ->Arg(int64_t{4} * kAppointments)
    ->Unit(benchmark::kMillisecond);

void BM_FindNextReminder(benchmark::State& state)
{
    if (!Store().ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(Store().path, OccurrenceOnDay);
    const DATE now = SystemTimeToVariantTime(Today());
    ReminderPlan plan;
    plan.Load(session, now);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plan.Next(now));
    }
}
BENCHMARK(BM_FindNextReminder)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
