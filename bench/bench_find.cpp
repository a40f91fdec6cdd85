// Find over a store of 50,000 appointments (a fifth recurring) and 2,000 tasks: the lines for
// a three-letter text, from the store's index to the dated, sorted list the find bar shows.
// "den" matches a few hundred items, "eet" thousands.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>

#include "model/calendar_find.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"

namespace {

constexpr int kAppointmentCount = 50000;
constexpr int kTaskCount = 2000;

SYSTEMTIME Today()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

void BM_Find(benchmark::State& state, const wchar_t* text)
{
    static QTemporaryDir dir;
    static const std::string path = dir.filePath(QStringLiteral("find.sqlite3")).toStdString();
    static const bool ready = pim::WriteDemoStore(path, OccurrenceOnDay, Today(),
                                                  kAppointmentCount, kTaskCount, 1) >= 0;
    if (!ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(path, OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    size_t lines = 0;
    for (auto _ : state) {
        const FoundItems found = FindInCalendar(session, text, Today());
        lines = found.lines.size();
        benchmark::DoNotOptimize(found.next);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK_CAPTURE(BM_Find, den, L"den")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Find, eet, L"eet")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
