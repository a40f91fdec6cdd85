// Opening a large calendar and reading every item's properties through the collection, as the
// schedule document does at each load: 10,000 appointments (a fifth recurring, with
// exceptions) and 2,000 tasks.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "platform/pim/application.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/recurrence_pattern.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields&, const SYSTEMTIME&, int32_t) { return 1; }

const std::string& StorePath()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        const std::string p = dir.filePath("bench.sqlite3").toStdString();
        WriteDemoStore(p, EveryDay, MakeSystemTime(2026, 12, 7), 10000, 2000, 1);
        return p;
    }();
    return path;
}

// Reads what a load reads; the sum keeps the reads from being optimised away.
double ReadAppointments(const Items& items)
{
    double sum = 0;
    for (int n = 1; n <= items.Count(); ++n) {
        std::shared_ptr<AppointmentItem> a;
        items.Item(n, &a);
        sum += a->GetStart() + a->GetEnd() + a->GetBusyStatus() + a->GetOid() +
               static_cast<double>(a->GetSubject().size() + a->GetLocation().size() +
                                   a->GetCategories().size() + a->GetBody().size()) +
               a->GetAllDayEvent();
        if (a->GetIsRecurring()) {
            std::shared_ptr<RecurrencePattern> p;
            std::shared_ptr<Exceptions> e;
            a->GetRecurrencePattern(&p);
            p->GetExceptions(&e);
            sum += p->GetRecurrenceType() + p->GetPatternStartDate() + p->GetDuration() +
                   p->GetInterval() + p->GetDayOfWeekMask() + e->Count();
        }
    }
    return sum;
}

double ReadTasks(const Items& items)
{
    double sum = 0;
    for (int n = 1; n <= items.Count(); ++n) {
        std::shared_ptr<TaskItem> t;
        items.Item(n, &t);
        sum += t->GetStartDate() + t->GetDueDate() + t->GetComplete() + t->GetIsRecurring() +
               static_cast<double>(t->GetSubject().size() + t->GetCategories().size());
    }
    return sum;
}

void BM_OpenAndReadEveryItem(benchmark::State& state)
{
    const std::string& path = StorePath();
    int64_t items = 0;
    for (auto _ : state) {
        Application app;
        app.Logon(path, EveryDay);
        std::shared_ptr<Folder> calendar;
        std::shared_ptr<Folder> tasks;
        std::shared_ptr<Items> appointments;
        std::shared_ptr<Items> taskItems;
        app.GetDefaultFolder(kCalendarFolder, &calendar);
        app.GetDefaultFolder(kTasksFolder, &tasks);
        calendar->GetItems(&appointments);
        tasks->GetItems(&taskItems);
        benchmark::DoNotOptimize(ReadAppointments(*appointments) + ReadTasks(*taskItems));
        items += appointments->Count() + taskItems->Count();
        app.Logoff();
    }
    state.counters["items/s"] = benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenAndReadEveryItem)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
