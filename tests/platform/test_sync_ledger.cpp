// What the store keeps for sync: local saves and deletes mark their items in their own
// transaction, the sync's writes mark nothing and refuse to overwrite a local change, accounts
// and calendar positions round trip, and older stores migrate or are read as they are.
#include "platform/pim/sync_ledger.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>

#include "platform/pim/demo_calendar.h"
#include "platform/pim/store_database.h"
#include "tests/platform/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields&, const SYSTEMTIME&, int32_t) { return 1; }

StoredItem Meeting(const wchar_t* subject)
{
    StoredItem item;
    item.fields.Subject = subject;
    item.fields.Start = 46363.375;
    item.fields.End = 46363.4375;
    return item;
}

// oid:change/pushed[:href][:conflict] of one item, for comparisons that show every field.
std::wstring LinkText(SyncLedger& ledger, int32_t oid)
{
    SyncLink l;
    if (ledger.LinkOf(oid, l) != 0)
        return L"none";
    return std::to_wstring(l.oid) + L":" + std::to_wstring(l.change) + L"/" +
           std::to_wstring(l.pushed) + (l.href.empty() ? L"" : L":" + l.calendar + l.href) +
           (l.etag.empty() ? L"" : L":" + l.etag) + (l.conflict ? L":conflict" : L"");
}

std::wstring Subject(StoreDatabase& db, int32_t oid)
{
    std::vector<StoredItem> items;
    return db.Load(kAppointmentKind, oid, items) == 0 && items.size() == 1
               ? items[0].fields.Subject
               : L"none";
}

std::vector<StoredItem> Everything(StoreDatabase& db)
{
    std::vector<StoredItem> all, tasks;
    db.Load(kAppointmentKind, 0, all);
    db.Load(kTaskKind, 0, tasks);
    all.insert(all.end(), tasks.begin(), tasks.end());
    return all;
}

const std::wstring kCal = L"https://dav.example/alice/work/";

} // namespace

TEST(SyncLedger, LocalSavesAndDeletesMarkTheirItems)
{
    TempPaths paths;
    StoreDatabase db;
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    SyncLedger ledger(db);
    StoredItem a = Meeting(L"A");
    ASSERT_EQ(db.Save(a), 0);
    EXPECT_EQ(a.fields.UID.size(), 32u) << "a new item gets a UID";
    ASSERT_EQ(db.Save(a), 0);
    const int32_t oa = a.fields.Oid;
    EXPECT_EQ(LinkText(ledger, oa), std::to_wstring(oa) + L":2/0");

    // A batch marks each save; a rolled-back one leaves nothing behind.
    StoredItem b = Meeting(L"B");
    ASSERT_EQ(db.RunInOneTransaction([&] { return db.Save(a) + db.Save(b) + db.Save(a); }), 0);
    StoredItem c = Meeting(L"C");
    EXPECT_LT(db.RunInOneTransaction([&] { return db.Save(a) + db.Save(c) - 1; }), 0);
    EXPECT_EQ(LinkText(ledger, oa) + L" " + LinkText(ledger, b.fields.Oid) + L" " +
                  LinkText(ledger, c.fields.Oid),
              std::to_wstring(oa) + L":4/0 " + std::to_wstring(b.fields.Oid) + L":1/0 none");

    // A restore (undo of a delete) is a new item keeping its UID; a replacement saved without a
    // UID keeps the stored one.
    StoredItem restored = a;
    restored.fields.Oid = 0;
    ASSERT_EQ(db.Save(restored), 0);
    EXPECT_EQ(restored.fields.UID, a.fields.UID);
    EXPECT_EQ(LinkText(ledger, restored.fields.Oid), std::to_wstring(restored.fields.Oid) + L":1/0");
    StoredItem blank = b;
    blank.fields.UID.clear();
    ASSERT_EQ(db.Save(blank), 0);
    std::vector<SyncLink> links;
    ASSERT_EQ(ledger.Links(links), 0);
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[1].uid, b.fields.UID);

    // An item without a link row reads as change 1, so its next save must go past it.
    Sql(paths.StorePath(), "DELETE FROM sync_links WHERE oid = " + std::to_string(oa));
    EXPECT_EQ(LinkText(ledger, oa), std::to_wstring(oa) + L":1/0");
    ASSERT_EQ(db.Save(a), 0);
    EXPECT_EQ(LinkText(ledger, oa), std::to_wstring(oa) + L":2/0");

    // Only a deleted item the server holds leaves a tombstone; the link goes either way.
    ASSERT_EQ(ledger.MarkPushed(oa, kCal, L"a.ics", L"\"e1\"", 2), 0);
    ASSERT_EQ(db.Delete(oa), 0);
    ASSERT_EQ(db.Delete(b.fields.Oid), 0);
    std::vector<SyncTombstone> tombstones;
    ASSERT_EQ(ledger.Tombstones(tombstones), 0);
    ASSERT_EQ(tombstones.size(), 1u);
    EXPECT_EQ(tombstones[0].calendar + tombstones[0].href + tombstones[0].etag + tombstones[0].uid,
              kCal + L"a.ics\"e1\"" + a.fields.UID);
    EXPECT_EQ(SqlNumber(paths.StorePath(), "SELECT count(*) FROM sync_links"), 1);
}

TEST(SyncLedger, SyncWritesMarkNothingAndNeverOverwriteALocalChange)
{
    TempPaths paths;
    StoreDatabase db;
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    SyncLedger ledger(db);
    StoredItem local = Meeting(L"Local");
    ASSERT_EQ(db.Save(local), 0);
    const int32_t oid = local.fields.Oid;
    const std::wstring id = std::to_wstring(oid);
    SyncLink link;
    link.calendar = kCal;
    link.href = L"x.ics";
    link.etag = L"e1";
    StoredItem server = local;
    server.fields.Subject = L"Server";
    ASSERT_EQ(ledger.SaveFromServer(server, link, 1), 0);
    EXPECT_EQ(Subject(db, oid) + L" " + LinkText(ledger, oid), L"Server " + id + L":1/1:" + kCal +
                                                                  L"x.ics:e1");

    // A local save in between: every compare-and-swap on the old counter is refused.
    ASSERT_EQ(db.Save(local), 0);
    const std::vector<StoredItem> before = Everything(db);
    const std::wstring linkBefore = LinkText(ledger, oid);
    link.etag = L"e2";
    EXPECT_EQ(ledger.SaveFromServer(server, link, 1), SyncLedger::kChangedMeanwhile);
    EXPECT_EQ(ledger.DeleteFromServer(oid, 1), SyncLedger::kChangedMeanwhile);
    EXPECT_EQ(Everything(db), before);
    EXPECT_EQ(LinkText(ledger, oid), linkBefore);
    EXPECT_EQ(linkBefore, id + L":2/1:" + kCal + L"x.ics:e1");

    // A PUT of change 1 answered after change 2: the etag is taken, the item stays to push.
    ASSERT_EQ(ledger.MarkPushed(oid, kCal, L"x.ics", L"e3", 1), 0);
    EXPECT_EQ(LinkText(ledger, oid), id + L":2/1:" + kCal + L"x.ics:e3");
    ASSERT_EQ(ledger.MarkPushed(oid, kCal, L"x.ics", L"e4", 2), 0);
    EXPECT_EQ(LinkText(ledger, oid), id + L":2/2:" + kCal + L"x.ics:e4");

    // A conflict copy is new, has a UID of its own and waits until the user saves it.
    StoredItem copy = local;
    ASSERT_EQ(ledger.SaveConflictCopy(copy), 0);
    EXPECT_NE(copy.fields.Oid, oid);
    EXPECT_NE(copy.fields.UID, local.fields.UID);
    const std::wstring copyId = std::to_wstring(copy.fields.Oid);
    EXPECT_EQ(LinkText(ledger, copy.fields.Oid), copyId + L":1/0:conflict");
    ASSERT_EQ(db.Save(copy), 0);
    EXPECT_EQ(LinkText(ledger, copy.fields.Oid), copyId + L":2/0");

    // A new item from the server arrives agreed; the server's delete needs the current counter.
    StoredItem fresh = Meeting(L"From the phone");
    fresh.fields.UID = L"phone-1";
    link.href = L"phone-1.ics";
    ASSERT_EQ(ledger.SaveFromServer(fresh, link, 0), 0);
    EXPECT_EQ(LinkText(ledger, fresh.fields.Oid),
              std::to_wstring(fresh.fields.Oid) + L":1/1:" + kCal + L"phone-1.ics:e2");
    ASSERT_EQ(ledger.DeleteFromServer(oid, 2), 0);
    EXPECT_EQ(Subject(db, oid), L"none");
    EXPECT_EQ(ledger.SaveFromServer(server, link, 2), SyncLedger::kChangedMeanwhile)
        << "an item deleted meanwhile is not brought back";
    // Deleted while its first PUT was under way: the new resource is to delete.
    ASSERT_EQ(db.Delete(copy.fields.Oid), 0);
    ASSERT_EQ(ledger.MarkPushed(copy.fields.Oid, kCal, L"c.ics", L"e5", 2), 0);
    std::vector<SyncTombstone> tombstones;
    ASSERT_EQ(ledger.Tombstones(tombstones), 0);
    ASSERT_EQ(tombstones.size(), 1u) << "the server's own delete left none";
    EXPECT_EQ(tombstones[0].href + tombstones[0].etag, L"c.icse5");
    ASSERT_EQ(ledger.DropTombstone(kCal, L"c.ics"), 0);
    ASSERT_EQ(ledger.Tombstones(tombstones), 0);
    EXPECT_TRUE(tombstones.empty());
}

TEST(SyncLedger, AccountsAndStatesRoundTripAndQuietWritesWriteNothing)
{
    TempPaths paths;
    StoreDatabase db;
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    SyncLedger ledger(db);
    const std::wstring home = L"https://dav.example/bob/home/";
    SyncAccount alice{0, L"dav.example", L"alice", kCal, kCal + L"tasks/", L"Work", L"Tasks"};
    SyncAccount bob{0, L"dav.example", L"bob", home, home, L"Home", L"Home"};
    ASSERT_EQ(ledger.SaveAccount(alice), 0);
    ASSERT_EQ(ledger.SaveAccount(bob), 0);
    alice.eventCalendarName = L"Wörk";
    ASSERT_EQ(ledger.SaveAccount(alice), 0);
    SyncAccount unknown = bob;
    unknown.id = 99;
    EXPECT_LT(ledger.SaveAccount(unknown), 0);
    std::vector<SyncAccount> accounts;
    ASSERT_EQ(ledger.Accounts(accounts), 0);
    EXPECT_EQ(accounts, (std::vector<SyncAccount>{alice, bob}));

    StoredItem work = Meeting(L"Work");
    StoredItem family = Meeting(L"Family");
    ASSERT_EQ(db.Save(work), 0);
    ASSERT_EQ(db.Save(family), 0);
    ASSERT_EQ(ledger.MarkPushed(work.fields.Oid, kCal, L"w.ics", L"e", 1), 0);
    ASSERT_EQ(ledger.MarkPushed(family.fields.Oid, home, L"f.ics", L"e", 1), 0);
    for (const std::wstring& url : {kCal, home}) {
        ASSERT_EQ(ledger.SetState({url, L"token", L"ctag"}), 0);
        ASSERT_EQ(ledger.SetSkipped({url, L"odd.ics", L"e", L"a rule the store cannot hold"}), 0);
    }
    StoredItem gone = Meeting(L"Gone");
    ASSERT_EQ(db.Save(gone), 0);
    ASSERT_EQ(ledger.MarkPushed(gone.fields.Oid, kCal, L"g.ics", L"e", 1), 0);
    ASSERT_EQ(db.Delete(gone.fields.Oid), 0);

    // A round that finds nothing new writes nothing another program would notice.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(paths.StorePath().c_str(), &other), SQLITE_OK);
    const auto dataVersion = [other] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(other, "PRAGMA data_version", -1, &s, nullptr);
        const int64_t v = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
        sqlite3_finalize(s);
        return v;
    };
    const int64_t quiet = dataVersion();
    const QByteArray wal = Bytes(paths.StorePath() + "-wal");
    ASSERT_EQ(ledger.SetState({kCal, L"token", L"ctag"}), 0);
    ASSERT_EQ(ledger.SetSkipped({kCal, L"odd.ics", L"e", L"a rule the store cannot hold"}), 0);
    EXPECT_EQ(dataVersion(), quiet);
    EXPECT_EQ(Bytes(paths.StorePath() + "-wal"), wal);
    ASSERT_EQ(ledger.SetState({kCal, L"token2", L"ctag"}), 0);
    EXPECT_NE(dataVersion(), quiet);
    sqlite3_close(other);

    // Removing alice forgets her calendars (bob's stay) and keeps her items, to push anew.
    ASSERT_EQ(ledger.RemoveAccount(alice.id), 0);
    EXPECT_LT(ledger.RemoveAccount(alice.id), 0);
    ASSERT_EQ(ledger.Accounts(accounts), 0);
    EXPECT_EQ(accounts, std::vector<SyncAccount>{bob});
    EXPECT_EQ(LinkText(ledger, work.fields.Oid), std::to_wstring(work.fields.Oid) + L":1/0");
    EXPECT_EQ(LinkText(ledger, family.fields.Oid),
              std::to_wstring(family.fields.Oid) + L":1/1:" + home + L"f.ics:e");
    CalendarState state;
    ASSERT_EQ(ledger.State(kCal, state), 0);
    EXPECT_EQ(state, (CalendarState{kCal, L"", L""}));
    ASSERT_EQ(ledger.State(home, state), 0);
    EXPECT_EQ(state, (CalendarState{home, L"token", L"ctag"}));
    std::vector<SyncTombstone> tombstones;
    std::vector<SkippedResource> skipped;
    ASSERT_EQ(ledger.Tombstones(tombstones), 0);
    ASSERT_EQ(ledger.Skipped(skipped), 0);
    EXPECT_TRUE(tombstones.empty());
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].calendar, home);
}

TEST(SyncLedger, AVersion7StoreKeepsEveryItemAndAReaderLeavesItAsItIs)
{
    TempPaths paths;
    const std::string path = paths.StorePath();
    ASSERT_EQ(WriteDemoStore(path, EveryDay, MakeSystemTime(2026, 12, 7), 120, 30, 5), 0);
    // Version 7 had no sync tables, and items could be saved without a UID; one UID already
    // reads as another item's export name.
    Sql(path, "DROP TABLE sync_accounts; DROP TABLE sync_calendars; DROP TABLE sync_links; "
              "DROP TABLE sync_tombstones; DROP TABLE sync_skipped; UPDATE items SET uid = NULL "
              "WHERE oid > 1; UPDATE items SET uid = 'tamberlo-oid-2' WHERE oid = 1; "
              "PRAGMA user_version = 7;");
    const QByteArray before = Bytes(path);
    StoreDatabase db;
    ASSERT_EQ(db.Open(path, StoreDatabase::Access::ReadOnly), 0);
    std::vector<StoredItem> items = Everything(db);
    ASSERT_EQ(items.size(), 150u);
    SyncLedger ledger(db);
    std::vector<SyncLink> links;
    std::vector<SyncAccount> accounts;
    CalendarState state;
    SyncAccount account{0, L"dav.example", L"alice", kCal, kCal, L"", L""};
    EXPECT_LT(ledger.Links(links), 0);
    EXPECT_LT(ledger.Accounts(accounts), 0);
    EXPECT_LT(ledger.State(kCal, state), 0);
    EXPECT_LT(ledger.SetState({kCal, L"t", L""}), 0);
    EXPECT_LT(ledger.SaveAccount(account), 0);
    EXPECT_LT(ledger.MarkPushed(1, kCal, L"a.ics", L"e", 1), 0);
    db.Close();
    EXPECT_EQ(Bytes(path), before);

    ASSERT_EQ(db.Open(path), 0);
    EXPECT_EQ(SqlNumber(path, "PRAGMA user_version"), StoreDatabase::kSchemaVersion);
    std::vector<StoredItem> migrated = Everything(db);
    ASSERT_EQ(migrated.size(), items.size());
    std::set<std::wstring> uids;
    for (size_t i = 0; i < items.size(); ++i) {
        const int32_t oid = migrated[i].fields.Oid;
        const std::wstring uid = migrated[i].fields.UID;
        uids.insert(uid);
        if (oid == 2)
            EXPECT_EQ(uid.size(), 32u) << "its export name was taken: a fresh UID";
        else
            EXPECT_EQ(uid, L"tamberlo-oid-" + std::to_wstring(oid == 1 ? 2 : oid));
        migrated[i].fields.UID = items[i].fields.UID;
        EXPECT_EQ(migrated[i], items[i]) << oid;
    }
    EXPECT_EQ(uids.size(), items.size()) << "each UID names one item";
    EXPECT_EQ(uids.count(L"tamberlo-oid-2"), 1u);
    ASSERT_EQ(ledger.Links(links), 0);
    ASSERT_EQ(links.size(), items.size());
    for (const SyncLink& link : links)
        EXPECT_TRUE(link.Dirty() && link.href.empty() && uids.count(link.uid) == 1) << link.oid;
    ASSERT_EQ(ledger.SaveAccount(account), 0);
    EXPECT_EQ(account.id, 1);
}
