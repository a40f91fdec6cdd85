// Sync rounds against a local Radicale: the first round of a 5,000-event calendar pushed from
// one store, the first pull of 5,000 events another client wrote, a round with nothing changed,
// and a round with one change. The reference for the pull is the same server's answers alone:
// its listing and every resource fetched, with nothing read or stored. Without a server: the
// pull's reading of 5,000 resources into items, next to libical's bare parse of the same texts.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libical/ical.h>
#include <sqlite3.h>

#include "model/recurrence.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "sync/calendar_collection.h"
#include "sync/dav_client.h"
#include "sync/resource_text.h"
#include "sync/sync_round.h"
#include "tests/sync/dav_server.h"

namespace {

constexpr int kEvents = 5000;
const SYSTEMTIME kNow = MakeSystemTime(2026, 12, 7, 9, 30);

struct Setup {
    QTemporaryDir dir;
    DavServer server{DavServer::Kind::Radicale};
    pim::SyncAccount account;
    pim::SyncAccount planted;
    std::string pushing = dir.filePath("a.sqlite3").toStdString();
    Setup()
    {
        account.server = planted.server = server.Base().toString().toStdWString();
        account.user = planted.user = L"alice";
        account.eventCalendar = account.taskCalendar =
            server.MakeCalendar("bench", "Bench").toString().toStdWString();
        pim::WriteDemoStore(pushing, OccurrenceOnDay, kNow, kEvents, 0, 1);
        Plant();
        Keep(pushing, account);
        // The demo's items belong to the account's calendar, to be pushed there.
        sqlite3* raw = nullptr;
        sqlite3_open(pushing.c_str(), &raw);
        sqlite3_exec(raw, "UPDATE items SET calendar = (SELECT max(id) FROM calendars)", nullptr,
                     nullptr, nullptr);
        sqlite3_close(raw);
    }
    // The account into the store, which makes its calendars there.
    static void Keep(const std::string& store, pim::SyncAccount& which)
    {
        pim::StoreDatabase db;
        db.Open(store);
        which.id = 0;
        pim::SyncLedger(db).SaveAccount(which);
    }
    // The demo store's events straight into a second collection, as another client's, and read
    // once, as the PUTs that made them would have left the server's cache.
    void Plant()
    {
        const QUrl calendar = server.MakeCalendar("planted", "Planted");
        planted.eventCalendar = planted.taskCalendar = calendar.toString().toStdWString();
        pim::StoreDatabase db;
        db.Open(pushing);
        db.SetOccurrenceRule(OccurrenceOnDay);
        std::vector<pim::StoredItem> items;
        db.Load(pim::kAppointmentKind, 0, items);
        for (size_t i = 0; i < items.size(); ++i) {
            server.Plant(calendar, QStringLiteral("p%1.ics").arg(i),
                         caldav::ResourceText(items[i], kNow));
        }
        ServerAnswers(calendar);
    }
    // The planted calendar's listing and every resource in it, as a first pull asks them;
    // the number of resources, or -1 when the server failed.
    int ServerAnswers(const QUrl& calendar) const
    {
        caldav::Connection patient = server.Account();
        patient.timeoutMs = patient.deadlineMs = 3600000; // the first time reads it cold
        caldav::DavClient client(patient);
        const caldav::CollectionChanges listed = caldav::ChangesSince(client, calendar, {});
        std::vector<QString> hrefs;
        for (const caldav::ResourceState& r : listed.changed) {
            hrefs.push_back(r.href);
        }
        caldav::SyncError error;
        const size_t got = caldav::FetchResources(client, calendar, hrefs, error).size();
        return listed.error || error ? -1 : static_cast<int>(got);
    }
    // An empty store that knows the planted calendar.
    std::string NewStore()
    {
        std::string store =
            dir.filePath(QStringLiteral("pull%1.sqlite3").arg(++stores)).toStdString();
        Keep(store, planted);
        return store;
    }
    caldav::RoundReport Round(const std::string& store, const pim::SyncAccount& which) const
    {
        return caldav::RunRound(store, OccurrenceOnDay, which, server.Account(), {kNow, {}});
    }
    int stores = 0;
};

Setup& Shared()
{
    static Setup setup;
    return setup;
}

void Check(benchmark::State& state, const caldav::RoundReport& report)
{
    if (report.error) {
        state.SkipWithError(QString::fromStdWString(report.error.message).toStdString().c_str());
    }
}

void BM_FirstRoundPushing5000(benchmark::State& state)
{
    for (auto _ : state) {
        const caldav::RoundReport report = Shared().Round(Shared().pushing, Shared().account);
        Check(state, report);
        state.counters["sent"] = report.sent;
    }
}

// The reference: what the server itself takes to list and send the planted calendar.
void BM_ServerAnswersOf5000(benchmark::State& state)
{
    const QUrl calendar(QString::fromStdWString(Shared().planted.eventCalendar));
    for (auto _ : state) {
        const int got = Shared().ServerAnswers(calendar);
        if (got < 0) {
            state.SkipWithError("the server failed");
        }
        state.counters["resources"] = got;
    }
}

void BM_FirstPullOf5000(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::string store = Shared().NewStore();
        state.ResumeTiming();
        const caldav::RoundReport report = Shared().Round(store, Shared().planted);
        Check(state, report);
        state.counters["received"] = report.received;
    }
}

void BM_RoundWithNothingChanged(benchmark::State& state)
{
    for (auto _ : state) {
        Check(state, Shared().Round(Shared().pushing, Shared().account));
    }
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
        Check(state, Shared().Round(Shared().pushing, Shared().account));
    }
}

// The demo store's events as the resources a server would send, made once.
const std::vector<QByteArray>& DemoResources()
{
    static const std::vector<QByteArray> texts = [] {
        QTemporaryDir dir;
        const std::string path = dir.filePath("demo.sqlite3").toStdString();
        pim::WriteDemoStore(path, OccurrenceOnDay, kNow, kEvents, 0, 1);
        pim::StoreDatabase db;
        db.Open(path);
        db.SetOccurrenceRule(OccurrenceOnDay);
        std::vector<pim::StoredItem> items;
        db.Load(pim::kAppointmentKind, 0, items);
        std::vector<QByteArray> out;
        for (const pim::StoredItem& item : items) {
            out.push_back(caldav::ResourceText(item, kNow));
        }
        return out;
    }();
    return texts;
}

void BM_ParseResourcesOf5000(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QByteArray& text : DemoResources()) {
            icalcomponent* c = icalparser_parse_string(text.constData());
            benchmark::DoNotOptimize(c);
            icalcomponent_free(c);
        }
    }
}

void BM_ReadResourcesOf5000(benchmark::State& state)
{
    for (auto _ : state) {
        for (const QByteArray& text : DemoResources()) {
            if (!caldav::ReadResource(text, kNow).item) {
                state.SkipWithError("a demo resource was refused");
                return;
            }
        }
    }
}

BENCHMARK(BM_ParseResourcesOf5000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadResourcesOf5000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FirstRoundPushing5000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_ServerAnswersOf5000)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_FirstPullOf5000)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_RoundWithNothingChanged)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundWithOneChange)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
