// Sync rounds against a local Radicale: the first round of a 5,000-event calendar (pushed from
// one store, then pulled into an empty one), a round with nothing changed, and a round with one
// change.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/store_database.h"
#include "sync/sync_round.h"
#include "tests/sync/dav_server.h"

namespace {

constexpr int kEvents = 5000;
const SYSTEMTIME kNow = MakeSystemTime(2026, 12, 7, 9, 30);

struct Setup {
    QTemporaryDir dir;
    DavServer server{DavServer::Kind::Radicale};
    pim::SyncAccount account;
    std::string pushing = dir.filePath("a.sqlite3").toStdString();
    std::string pulling = dir.filePath("b.sqlite3").toStdString();
    Setup()
    {
        const std::wstring calendar =
            server.MakeCalendar("bench", "Bench").toString().toStdWString();
        account.eventCalendar = account.taskCalendar = calendar;
        pim::WriteDemoStore(pushing, OccurrenceOnDay, kNow, kEvents, 0, 1);
    }
    caldav::RoundReport Round(const std::string& store)
    {
        return caldav::RunRound(store, OccurrenceOnDay, account, server.Account(), {kNow, {}});
    }
};

Setup& Shared()
{
    static Setup setup;
    return setup;
}

void Check(benchmark::State& state, const caldav::RoundReport& report)
{
    if (report.error)
        state.SkipWithError(QString::fromStdWString(report.error.message).toStdString().c_str());
}

void BM_FirstRoundPushing5000(benchmark::State& state)
{
    for (auto _ : state) {
        const caldav::RoundReport report = Shared().Round(Shared().pushing);
        Check(state, report);
        state.counters["sent"] = report.sent;
    }
}

void BM_FirstRoundPulling5000(benchmark::State& state)
{
    for (auto _ : state) {
        const caldav::RoundReport report = Shared().Round(Shared().pulling);
        Check(state, report);
        state.counters["received"] = report.received;
    }
}

void BM_RoundWithNothingChanged(benchmark::State& state)
{
    for (auto _ : state)
        Check(state, Shared().Round(Shared().pushing));
}

void BM_RoundWithOneChange(benchmark::State& state)
{
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pim::StoreDatabase db;
        db.Open(Shared().pushing);
        db.SetOccurrenceRule(OccurrenceOnDay);
        std::vector<pim::StoredItem> items;
        db.Load(pim::kAppointmentKind, 1 + n % 100, items);
        if (!items.empty()) {
            items[0].fields.Subject = L"changed " + std::to_wstring(++n);
            db.Save(items[0]);
        }
        db.Close();
        state.ResumeTiming();
        Check(state, Shared().Round(Shared().pushing));
    }
}

BENCHMARK(BM_FirstRoundPushing5000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FirstRoundPulling5000)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RoundWithNothingChanged)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundWithOneChange)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
