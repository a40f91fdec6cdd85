// A seeded walk of moves between two server calendars and a local one, each step's round run by
// tamberlo-sync as a process killed at a seeded request, then a whole round: no item is ever
// lost or doubled, in the store or on the server, and after the whole round each server
// calendar holds exactly the items the store puts in it. TAMBERLO_MOVE_WALK_STEPS makes the walk
// longer (default 4 steps).
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <map>
#include <random>
#include <set>

#include "model/recurrence.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "sync/calendar_collection.h"
#include "sync/resource_text.h"
#include "sync/sync_round.h"
#include "tests/support/temp_paths.h"
#include "tests/sync/dav_server.h"
#include "tests/sync/fault_proxy.h"
#include "tests/sync/work_and_family.h"

namespace {

const SYSTEMTIME kNow = MakeSystemTime(2026, 12, 7, 9, 30);

// Subject -> how many times each side holds it.
using Counts = std::map<std::wstring, int>;

// Subject -> the id of the calendar the store holds it in; `copies` counts every item.
std::map<std::wstring, int32_t> Here(const std::string& store, int* copies)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    std::vector<pim::StoredItem> items;
    db.Load(pim::kAppointmentKind, 0, items);
    std::map<std::wstring, int32_t> here;
    for (const pim::StoredItem& item : items) {
        here[item.fields.Subject] = item.calendar;
    }
    *copies = static_cast<int>(items.size());
    return here;
}

Counts There(const DavServer& server, const QUrl& calendar)
{
    caldav::DavClient client(server.Account());
    const caldav::CollectionListing listing = caldav::ListResources(client, calendar);
    EXPECT_FALSE(listing.error);
    std::vector<QString> hrefs;
    for (const caldav::ResourceState& r : listing.resources) {
        hrefs.push_back(r.href);
    }
    caldav::SyncError error;
    Counts subjects;
    for (const caldav::Resource& r : caldav::FetchResources(client, calendar, hrefs, error)) {
        if (const caldav::ResourceItem read = caldav::ReadResource(r.calendarData, kNow);
            read.item) {
            ++subjects[read.item->fields.Subject];
        }
    }
    EXPECT_FALSE(error);
    return subjects;
}

int Steps()
{
    const QByteArray asked = qgetenv("TAMBERLO_MOVE_WALK_STEPS");
    return asked.isEmpty() ? 4 : std::max(1, asked.toInt());
}

class MoveWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
        work = server.MakeCalendar("work", "Work", {"VEVENT"});
        family = server.MakeCalendar("family", "Family", {"VEVENT"});
        ASSERT_FALSE(work.isEmpty() || family.isEmpty());
        account = SaveWorkAndFamily(store, proxy, work, family);
        ASSERT_GT(account.id, 0);
        pim::StoreDatabase db;
        ASSERT_EQ(db.Open(store), 0);
        pim::CalendarList list(db);
        for (const wchar_t* name : {L"Personal", L"Work", L"Family"}) {
            pim::Calendar named;
            ASSERT_EQ(list.Named(name, named), 0);
            calendars.push_back(named.id);
        }
    }

    void Save(const std::wstring& subject, int32_t calendar)
    {
        pim::StoreDatabase db;
        ASSERT_EQ(db.Open(store), 0);
        pim::StoredItem item;
        item.fields.Subject = item.fields.UID = subject;
        item.fields.Start = 46363.5 + static_cast<double>(subject.size() % 5);
        item.fields.End = item.fields.Start + 1.0 / 24;
        item.calendar = calendar;
        ASSERT_EQ(db.Save(item), 0);
    }

    // As the editor's Calendar field does: the item is saved into another calendar.
    void MoveTo(const std::wstring& subject, int32_t calendar)
    {
        pim::StoreDatabase db;
        ASSERT_EQ(db.Open(store), 0);
        std::vector<pim::StoredItem> items;
        ASSERT_EQ(db.Load(pim::kAppointmentKind, 0, items), 0);
        for (pim::StoredItem& item : items) {
            if (item.fields.Subject == subject) {
                item.calendar = calendar;
                ASSERT_EQ(db.Save(item), 0);
            }
        }
    }

    bool Round()
    {
        const caldav::RoundReport report = caldav::RunRound(
            store, OccurrenceOnDay, account, server.Account(proxy.Url()), {kNow, {}});
        EXPECT_FALSE(report.error) << QString::fromStdWString(report.error.message).toStdString();
        return !report.error;
    }

    // The tool's round, killed when the `at`-th request from now arrives (or, `answered`, once
    // the server answered it): whatever it did is left half done. True when it was killed.
    bool KilledRound(int at, bool answered)
    {
        std::atomic<qint64> child{0};
        const int killAt = proxy.Requests() + at;
        const auto kill = [&child, killAt](int request) {
            if (request == killAt && child.load() > 0) {
                ::kill(static_cast<pid_t>(child.load()), SIGKILL);
            }
        };
        answered ? proxy.OnAnswered(kill) : proxy.OnArrived(kill);
        QProcess process;
        process.start(QStringLiteral(TAMBERLO_SYNC_PROGRAM),
                      {"--store", QString::fromStdString(store), "--profile",
                       QString::fromStdString(paths.File("t.ini")), "--password-command",
                       "echo secret"});
        EXPECT_TRUE(process.waitForStarted(10000));
        child = process.processId();
        EXPECT_TRUE(process.waitForFinished(60000));
        child = 0;
        proxy.OnArrived({});
        proxy.OnAnswered({});
        return process.exitStatus() == QProcess::CrashExit;
    }

    // Every subject is in the store once, in the calendar the walk put it in, and on the server
    // at most once in each collection; `settled`: exactly in the collection of its calendar.
    // Before that an item that was on the server and stays in a server calendar is still there.
    void ExpectEveryItemOnce(const std::map<std::wstring, int32_t>& placed,
                             const std::set<std::wstring>& wasThere, bool settled)
    {
        int copies = 0;
        EXPECT_EQ(Here(store, &copies), placed);
        EXPECT_EQ(copies, static_cast<int>(placed.size())) << "no copy, no conflict copy";
        const Counts inWork = There(server, work);
        const Counts inFamily = There(server, family);
        for (const auto& [subject, calendar] : placed) {
            const std::string name = QString::fromStdWString(subject).toStdString();
            const int w = inWork.contains(subject) ? inWork.at(subject) : 0;
            const int f = inFamily.contains(subject) ? inFamily.at(subject) : 0;
            EXPECT_LE(std::max(w, f), 1) << name;
            if (settled) {
                EXPECT_EQ(w, calendar == calendars[1] ? 1 : 0) << name;
                EXPECT_EQ(f, calendar == calendars[2] ? 1 : 0) << name;
            } else if (calendar != calendars[0] && wasThere.contains(subject)) {
                EXPECT_GE(w + f, 1) << name << " is on the server nowhere";
            }
        }
        for (const Counts* side : {&inWork, &inFamily}) {
            for (const auto& [subject, count] : *side) {
                EXPECT_TRUE(placed.count(subject)) << "a stray resource";
            }
        }
    }

    // The subjects the server holds somewhere.
    std::set<std::wstring> OnServer() const
    {
        std::set<std::wstring> subjects;
        for (const QUrl& collection : {work, family}) {
            for (const auto& [subject, count] : There(server, collection)) {
                subjects.insert(subject);
            }
        }
        return subjects;
    }

    DavServer server{DavServer::Kind::Radicale};
    FaultProxy proxy{server.Port()};
    TempPaths paths;
    const std::string store = paths.File("a.sqlite3");
    QUrl work, family;
    pim::SyncAccount account;
    std::vector<int32_t> calendars; // Personal, Work, Family
};

TEST_F(MoveWalk, MovesUnderKillsNeverLoseNorDoubleAnItem)
{
    std::mt19937 random(36);
    std::map<std::wstring, int32_t> placed;
    for (int i = 0; i < 6; ++i) {
        const std::wstring subject = L"item " + std::to_wstring(i);
        placed[subject] = calendars[static_cast<size_t>(i % 3)];
        Save(subject, placed[subject]);
    }
    ASSERT_TRUE(Round());
    ExpectEveryItemOnce(placed, OnServer(), true);

    int killed = 0;
    const int steps = Steps();
    for (int step = 0; step < steps && !HasFailure(); ++step) {
        SCOPED_TRACE(step);
        // One to three items change calendar at once, as between two rounds.
        const int moves = 1 + static_cast<int>(random() % 3);
        for (int m = 0; m < moves; ++m) {
            auto item = placed.begin();
            std::advance(item, random() % placed.size());
            const auto from = std::find(calendars.begin(), calendars.end(), item->second);
            const size_t next = static_cast<size_t>(from - calendars.begin()) + 1 + random() % 2;
            const int32_t to = calendars[next % 3];
            MoveTo(item->first, to);
            item->second = to;
        }
        const std::set<std::wstring> wasThere = OnServer();
        killed += static_cast<int>(KilledRound(1 + static_cast<int>(random() % 6), step % 2 == 1));
        ExpectEveryItemOnce(placed, wasThere, false);
        ASSERT_TRUE(Round());
        ExpectEveryItemOnce(placed, wasThere, true);
    }
    EXPECT_GE(killed, steps / 2) << "most tool rounds are cut";
}

} // namespace
