// Re-planning the reminders after a change to the store: reading the reminders of the demo
// store (10,000 appointments and four times as many) and finding the next one; the same over
// one demo store whose past grows by 30,000 reminded items while the next 400 days stay as they
// are; and finding the next one alone over a plan already read.
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/reminder_plan.h"
#include "platform/pim/application.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/task_item.h"

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

int32_t AddPastAppointment(pim::Application& app, int i, DATE start)
{
    std::shared_ptr<pim::AppointmentItem> item;
    if (app.CreateItem(pim::kAppointmentKind, &item) < 0) {
        return -1;
    }
    item->SetSubject(L"Past " + std::to_wstring(i));
    item->SetStart(start);
    item->SetEnd(start + 1.0 / 24);
    item->SetReminderSet(true);
    item->SetReminderMinutesBeforeStart(15);
    return item->Save();
}

int32_t AddDoneTask(pim::Application& app, int i, DATE start)
{
    std::shared_ptr<pim::TaskItem> item;
    if (app.CreateItem(pim::kTaskKind, &item) < 0) {
        return -1;
    }
    item->SetSubject(L"Done " + std::to_wstring(i));
    item->SetStartDate(std::trunc(start));
    item->SetDueDate(std::trunc(start));
    item->SetReminderSet(true);
    item->SetReminderTime(start);
    item->SetComplete(true);
    return item->Save();
}

// Years of finished appointments and done tasks, every one with a reminder, all more than 400
// days ago: none of them can ring again.
int32_t AddHistory(const std::string& path, int count)
{
    pim::Application app;
    if (app.Logon(path, OccurrenceOnDay) < 0) {
        return -1;
    }
    const DATE lastDay = SystemTimeToVariantTime(Today()) - 401;
    const int32_t status = app.RunInOneTransaction([&] {
        for (int i = 0; i < count; ++i) {
            const DATE start = lastDay - i % 10000 + 9.0 / 24;
            if ((i % 5 == 4 ? AddDoneTask(app, i, start) : AddPastAppointment(app, i, start)) < 0) {
                return -1;
            }
        }
        return 0;
    });
    app.Logoff();
    return status;
}

struct GrownStore {
    GrownStore()
        : ready(pim::WriteDemoStore(path, OccurrenceOnDay, Today(), kAppointments,
                                    kAppointments / 5, 1) >= 0 &&
                AddHistory(path, 3 * kAppointments) >= 0)
    {
    }
    QTemporaryDir dir;
    std::string path = dir.filePath(QStringLiteral("grown.sqlite3")).toStdString();
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

void ReadPlan(benchmark::State& state, const std::string& path)
{
    PimSession session(path, OccurrenceOnDay);
    const DATE now = SystemTimeToVariantTime(Today());
    for (auto _ : state) {
        ReminderPlan plan;
        plan.Load(session, now);
        benchmark::DoNotOptimize(plan.Next(now));
    }
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
    ReadPlan(state, store.path);
}
BENCHMARK(BM_ReadPlanAndFindNextReminder)
    ->Arg(kAppointments)
    ->Arg(int64_t{4} * kAppointments)
    ->Unit(benchmark::kMillisecond);

// Against the 10,000 of the first: the aim is the same time, whatever the past holds.
void BM_ReadPlanWithLongHistory(benchmark::State& state)
{
    static const GrownStore store;
    if (!store.ready) {
        state.SkipWithError("cannot build the store");
        return;
    }
    ReadPlan(state, store.path);
}
BENCHMARK(BM_ReadPlanWithLongHistory)->Unit(benchmark::kMillisecond);

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
