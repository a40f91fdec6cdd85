// The iCalendar bridge on a 10,000-event calendar (a fifth recurring, some with exceptions and
// alarms): import into an empty store and export of the store, next to libical's own bare parse
// of the same file, all in the same run so the ratios compare like with like.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <sstream>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"

namespace {

const SYSTEMTIME kToday = MakeSystemTime(2026, 12, 7, 9, 0);

const std::string& SourceStore()
{
    static QTemporaryDir dir;
    static const std::string path = [] {
        const std::string p = dir.filePath("source.sqlite3").toStdString();
        pim::WriteDemoStore(p, OccurrenceOnDay, kToday, 10000, 0, 1);
        return p;
    }();
    return path;
}

const std::string& CalendarText()
{
    static const std::string text = [] {
        PimSession session(SourceStore(), OccurrenceOnDay);
        std::ostringstream out;
        ical::ExportCalendar(session, {kToday}, out);
        return out.str();
    }();
    return text;
}

void BM_LibicalParse(benchmark::State& state)
{
    const std::string& text = CalendarText();
    for (auto _ : state) {
        icalcomponent* calendar = icalparser_parse_string(text.c_str());
        benchmark::DoNotOptimize(calendar);
        icalcomponent_free(calendar);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LibicalParse)->Unit(benchmark::kMillisecond);

void BM_ImportIntoEmptyStore(benchmark::State& state)
{
    const std::string& text = CalendarText();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        PimSession session(dir.filePath("store.sqlite3").toStdString(), OccurrenceOnDay);
        std::istringstream in(text);
        state.ResumeTiming();
        const ical::ImportReport report = ical::ImportCalendar(in, session, {false, kToday});
        benchmark::DoNotOptimize(report.appointments);
        if (report.appointments != 10000) {
            state.SkipWithError("not every event was imported");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ImportIntoEmptyStore)->Unit(benchmark::kMillisecond);

void BM_ExportStore(benchmark::State& state)
{
    PimSession session(SourceStore(), OccurrenceOnDay);
    for (auto _ : state) {
        std::ostringstream out;
        ical::ExportCalendar(session, {kToday}, out);
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_ExportStore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
