// Find over a store of 50,000 appointments (a fifth recurring) and 2,000 tasks: the lines for
// a three-letter text, from the store's index to the dated, sorted list the find bar shows.
// "den" matches a few hundred items, "eet" thousands.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

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

// Built at first use and kept for the whole run; empty when it cannot be written.
const std::string& StorePath()
{
    static QTemporaryDir dir;
    static const std::string path = dir.filePath(QStringLiteral("find.sqlite3")).toStdString();
    static const bool ready = pim::WriteDemoStore(path, OccurrenceOnDay, Today(),
                                                  kAppointmentCount, kTaskCount, 1) >= 0;
    static const std::string none;
    return ready ? path : none;
}

void BM_Find(benchmark::State& state, const wchar_t* text)
{
    if (StorePath().empty()) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    PimSession session(StorePath(), OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    size_t lines = 0;
    for (auto _ : state) {
        const FoundItems found = FindInCalendar(session, text, Today());
        lines = found.lines.size();
        benchmark::DoNotOptimize(found.next);
    }
    state.counters["lines"] = static_cast<double>(lines);
}

// The store's part alone: the index query and the columns a line needs of each match.
void BM_FindMatches(benchmark::State& state, const wchar_t* text)
{
    PimSession session(StorePath(), OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    std::vector<pim::FindMatch> items;
    for (auto _ : state)
        benchmark::DoNotOptimize(session.FindMatches(text, items));
    state.counters["items"] = static_cast<double>(items.size());
}

BENCHMARK_CAPTURE(BM_Find, den, L"den")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Find, eet, L"eet")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindMatches, den, L"den")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindMatches, eet, L"eet")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
