// Opening a large calendar and reading every item's properties through the collection, as the
// schedule document does at each load: 10,000 appointments (a fifth recurring, with
// exceptions) and 2,000 tasks, beside the same rows stepped through bare SQLite, the floor
// any load stands on (the target: under 20 ms, at most about twice the floor). Then what a save
// costs, alone (one disk sync each) and in the batches an import makes.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "platform/pim/application.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/store_database.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields& /*pattern*/, const SYSTEMTIME& /*day*/,
             int32_t /*durationOverride*/)
{
    return 1;
}

const std::string& StorePath()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        std::string p = dir.filePath("bench.sqlite3").toStdString();
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
               static_cast<double>(a->GetAllDayEvent());
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
        sum += t->GetStartDate() + t->GetDueDate() + static_cast<double>(t->GetComplete()) +
               static_cast<double>(t->GetIsRecurring()) +
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
    state.counters["items/s"] =
        benchmark::Counter(static_cast<double>(items), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpenAndReadEveryItem)->Unit(benchmark::kMillisecond);

// The reference: every column of every item, pattern and exception row fetched as it is held, on a
// connection opened afresh each time as a load's is.
void BM_BareScanOfEveryRow(benchmark::State& state)
{
    const std::string& path = StorePath();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        int64_t bytes = 0;
        for (const char* sql :
             {"SELECT * FROM items", "SELECT * FROM patterns", "SELECT * FROM exceptions"}) {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(s); ++c) {
                    if (sqlite3_column_type(s, c) == SQLITE_TEXT) {
                        benchmark::DoNotOptimize(sqlite3_column_text(s, c));
                        bytes += sqlite3_column_bytes(s, c);
                    } else {
                        benchmark::DoNotOptimize(sqlite3_column_double(s, c));
                    }
                }
            }
            sqlite3_finalize(s);
        }
        sqlite3_close(db);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_BareScanOfEveryRow)->Unit(benchmark::kMillisecond);

StoredItem Meeting(int n)
{
    StoredItem item;
    item.fields.Subject = L"Meeting " + std::to_wstring(n);
    item.fields.Start = 46363.375 + n;
    item.fields.End = item.fields.Start + 0.0625;
    return item;
}

// An editor's OK: the whole item written again in a transaction of its own.
void BM_SaveOneItem(benchmark::State& state)
{
    QTemporaryDir dir;
    StoreDatabase db;
    db.Open(dir.filePath("save.sqlite3").toStdString());
    StoredItem item = Meeting(0);
    int n = 0;
    for (auto _ : state) {
        item.fields.Subject = L"Meeting " + std::to_wstring(++n);
        benchmark::DoNotOptimize(db.Save(item));
    }
}
BENCHMARK(BM_SaveOneItem)->Unit(benchmark::kMicrosecond);

// An import: a thousand new items in one transaction.
void BM_SaveBatchOfNewItems(benchmark::State& state)
{
    QTemporaryDir dir;
    StoreDatabase db;
    db.Open(dir.filePath("batch.sqlite3").toStdString());
    for (auto _ : state) {
        db.RunInOneTransaction([&db] {
            for (int n = 0; n < 1000; ++n) {
                StoredItem item = Meeting(n);
                if (db.Save(item) < 0) {
                    return -1;
                }
            }
            return 0;
        });
    }
    state.counters["items/s"] = benchmark::Counter(1000.0 * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SaveBatchOfNewItems)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
