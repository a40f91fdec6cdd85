// The iCalendar bridge on a 10,000-event calendar (a fifth recurring, some with exceptions and
// alarms): import into an empty store and export of the store, next to libical's own bare parse
// of the same file, all in the same run so the ratios compare like with like (the aim: an
// import within 1.5 times the parse's CPU time, a re-import of the same file within the
// parse's); the same file imported again over what it made; and 2,000 series
// with counts past the supported years, imported and exported again.
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
        std::string p = dir.filePath("source.sqlite3").toStdString();
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
BENCHMARK(BM_LibicalParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
// Half a second is a single import: a few more make the ratio steady on a busy machine.
BENCHMARK(BM_ImportIntoEmptyStore)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same file imported again: every item is there unchanged, so little may be written.
void BM_ReimportUnchanged(benchmark::State& state)
{
    const std::string& text = CalendarText();
    QTemporaryDir dir;
    PimSession session(dir.filePath("store.sqlite3").toStdString(), OccurrenceOnDay);
    std::istringstream first(text);
    ical::ImportCalendar(first, session, {false, kToday});
    for (auto _ : state) {
        std::istringstream in(text);
        const ical::ImportReport report = ical::ImportCalendar(in, session, {false, kToday});
        if (report.appointments != 10000) {
            state.SkipWithError("not every event was matched");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReimportUnchanged)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 2,000 series counted far past the supported years: their ends must come by whole periods,
// not by a walk over every day to 2999.
const std::string& CountedSeriesText()
{
    static const std::string text = [] {
        static const char* const kRules[] = {"FREQ=DAILY", "FREQ=WEEKLY;BYDAY=MO,WE,FR",
                                             "FREQ=MONTHLY;BYMONTHDAY=2",
                                             "FREQ=YEARLY;BYMONTH=3;BYDAY=1MO"};
        std::string out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
        for (int i = 0; i < 2000; ++i) {
            out += "BEGIN:VEVENT\r\nUID:counted-" + std::to_string(i) +
                   "\r\nSUMMARY:Counted\r\nDTSTART;TZID=Europe/Berlin:20260302T090000\r\n"
                   "DURATION:PT1H\r\nRRULE:" +
                   kRules[i % 4] + ";COUNT=999999\r\nEND:VEVENT\r\n";
        }
        return out + "END:VCALENDAR\r\n";
    }();
    return text;
}

bool ImportCounted(const std::string& store)
{
    PimSession session(store, OccurrenceOnDay);
    std::istringstream in(CountedSeriesText());
    return ical::ImportCalendar(in, session, {false, kToday}).appointments == 2000;
}

void BM_ImportCountedSeries(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const std::string store = dir.filePath("store.sqlite3").toStdString();
        state.ResumeTiming();
        if (!ImportCounted(store)) {
            state.SkipWithError("not every series was imported");
            break;
        }
    }
}
BENCHMARK(BM_ImportCountedSeries)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExportCountedSeries(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string store = dir.filePath("store.sqlite3").toStdString();
    if (!ImportCounted(store)) {
        state.SkipWithError("not every series was imported");
        return;
    }
    PimSession session(store, OccurrenceOnDay);
    for (auto _ : state) {
        std::ostringstream out;
        ical::ExportCalendar(session, {kToday}, out);
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_ExportCountedSeries)->Unit(benchmark::kMillisecond)->Iterations(1);

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

} // namespace

BENCHMARK_MAIN();
