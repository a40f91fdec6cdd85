// What the store keeps for sync: marks, compare-and-swap writes, accounts, older stores.
#include "platform/pim/sync_ledger.h"

#include <set>

#include "platform/pim/demo_calendar.h"
#include "tests/support/calendar_items.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields& /*pattern*/, const SYSTEMTIME& /*day*/,
             int32_t /*durationOverride*/)
{
    return 1;
}

// change/pushed[ calendar+href etag][ conflict] of one item, so a comparison shows each field.
std::wstring LinkText(SyncLedger& ledger, int32_t oid)
{
    SyncLink l;
    if (ledger.LinkOf(oid, l) != 0) {
        return L"none";
    }
    return std::to_wstring(l.change) + L"/" + std::to_wstring(l.pushed) +
           (l.href.empty() ? L"" : L" " + l.href + L" " + l.etag) +
           (l.conflict ? L" conflict" : L"");
}

std::wstring TombstonesText(SyncLedger& ledger)
{
    std::vector<SyncTombstone> all;
    std::wstring text = ledger.Tombstones(all) == 0 ? L"" : L"failed";
    for (const SyncTombstone& t : all) {
        text += t.calendar + L" " + t.href + L" " + t.etag + L" " + t.uid + L"|";
    }
    return text;
}

std::vector<StoredItem> Everything(StoreDatabase& db)
{
    std::vector<StoredItem> all;
    std::vector<StoredItem> tasks;
    db.Load(kAppointmentKind, 0, all);
    db.Load(kTaskKind, 0, tasks);
    all.insert(all.end(), tasks.begin(), tasks.end());
    return all;
}

const std::wstring kCal = L"https://dav.example/alice/work/";

// A new store and its ledger.
class SyncLedgerTest : public ::testing::Test {
protected:
    SyncLedgerTest() { EXPECT_EQ(db.Open(paths.StorePath()), 0); }
    TempPaths paths;
    StoreDatabase db;
    SyncLedger ledger{db};
};

} // namespace

TEST_F(SyncLedgerTest, LocalSavesAndDeletesMarkTheirItems)
{
    StoredItem a = Meeting(L"A");
    StoredItem b = Meeting(L"B");
    StoredItem c = Meeting(L"C");
    ASSERT_EQ(db.Save(a), 0);
    EXPECT_EQ(a.fields.UID.size(), 32U) << "a new item gets a UID";
    EXPECT_EQ(LinkText(ledger, a.fields.Oid), L"1/0");
    // A batch marks each save; a rolled-back one leaves nothing behind.
    ASSERT_EQ(db.RunInOneTransaction([&] { return db.Save(a) + db.Save(b) + db.Save(a); }), 0);
    EXPECT_LT(db.RunInOneTransaction([&] { return db.Save(a) + db.Save(c) - 1; }), 0);
    EXPECT_EQ(LinkText(ledger, a.fields.Oid) + LinkText(ledger, b.fields.Oid) +
                  LinkText(ledger, c.fields.Oid),
              L"3/01/0none");
    // A restore keeps its UID; a replacement saved without a UID keeps the stored one.
    StoredItem restored = a;
    StoredItem blank = b;
    restored.fields.Oid = 0;
    blank.fields.UID.clear();
    ASSERT_EQ(db.Save(restored), 0);
    ASSERT_EQ(db.Save(blank), 0);
    std::vector<SyncLink> links;
    ASSERT_EQ(ledger.Links(links), 0);
    ASSERT_EQ(links.size(), 3U);
    EXPECT_EQ(links[1].uid + L" " + links[2].uid + L" " + LinkText(ledger, restored.fields.Oid),
              b.fields.UID + L" " + a.fields.UID + L" 1/0");
    // Only a deleted item the server holds leaves a tombstone; the link goes either way.
    ASSERT_EQ(ledger.MarkPushed(a.fields.Oid, kCal, L"a.ics", L"e1", 3), 0);
    ASSERT_EQ(db.Delete(a.fields.Oid), 0);
    ASSERT_EQ(db.Delete(b.fields.Oid), 0);
    EXPECT_EQ(TombstonesText(ledger), kCal + L" a.ics e1 " + a.fields.UID + L"|");
    EXPECT_EQ(SqlNumber(paths.StorePath(), "SELECT count(*) FROM sync_links"), 1);
}

TEST_F(SyncLedgerTest, SyncWritesMarkNothingAndNeverOverwriteALocalChange)
{
    StoredItem local = Meeting(L"Local");
    ASSERT_EQ(db.Save(local), 0);
    const int32_t oid = local.fields.Oid;
    SyncLink link{0, L"", kAppointmentKind, kCal, L"x.ics", L"e1"};
    StoredItem server = local;
    server.fields.Subject = L"Server";
    ASSERT_EQ(ledger.SaveFromServer(server, link, 1), 0);
    EXPECT_EQ(Everything(db)[0].fields.Subject + L" " + LinkText(ledger, oid),
              L"Server 1/1 x.ics e1");
    // After a local save every compare-and-swap on the old counter is refused.
    ASSERT_EQ(db.Save(local), 0);
    const std::vector<StoredItem> before = Everything(db);
    link.etag = L"e2";
    EXPECT_EQ(ledger.SaveFromServer(server, link, 1), SyncLedger::kChangedMeanwhile);
    EXPECT_EQ(ledger.DeleteFromServer(oid, 1), SyncLedger::kChangedMeanwhile);
    EXPECT_EQ(Everything(db), before);
    EXPECT_EQ(LinkText(ledger, oid), L"2/1 x.ics e1");
    // A PUT of change 1 answered after change 2: the etag is taken, the item stays to push.
    ASSERT_EQ(ledger.MarkPushed(oid, kCal, L"x.ics", L"e3", 1), 0);
    EXPECT_EQ(LinkText(ledger, oid), L"2/1 x.ics e3");
    ASSERT_EQ(ledger.MarkPushed(oid, kCal, L"x.ics", L"e4", 2), 0);
    EXPECT_EQ(LinkText(ledger, oid), L"2/2 x.ics e4");
    // A conflict copy is new, has a UID of its own and waits until the user saves it.
    StoredItem copy = local;
    ASSERT_EQ(ledger.SaveConflictCopy(copy), 0);
    EXPECT_TRUE(copy.fields.Oid > oid && copy.fields.UID != local.fields.UID);
    EXPECT_EQ(LinkText(ledger, copy.fields.Oid), L"1/0 conflict");
    ASSERT_EQ(db.Save(copy), 0);
    EXPECT_EQ(LinkText(ledger, copy.fields.Oid), L"2/0");
    // A new item from the server arrives agreed; the server's delete leaves no tombstone.
    StoredItem fresh = Meeting(L"From the phone");
    link.href = L"p.ics";
    ASSERT_EQ(ledger.SaveFromServer(fresh, link, 0), 0);
    EXPECT_EQ(LinkText(ledger, fresh.fields.Oid), L"1/1 p.ics e2");
    ASSERT_EQ(ledger.DeleteFromServer(oid, 2), 0);
    EXPECT_EQ(ledger.SaveFromServer(server, link, 2), SyncLedger::kChangedMeanwhile)
        << "an item deleted meanwhile is not brought back";
    EXPECT_EQ(TombstonesText(ledger), L"");
    // Deleted while its first PUT was under way: the new resource is to delete.
    ASSERT_EQ(db.Delete(copy.fields.Oid), 0);
    ASSERT_EQ(ledger.MarkPushed(copy.fields.Oid, kCal, L"c.ics", L"e5", 2), 0);
    EXPECT_EQ(TombstonesText(ledger), kCal + L" c.ics e5 |");
}

TEST_F(SyncLedgerTest, AccountsAndStatesRoundTripAndQuietWritesWriteNothing)
{
    const std::wstring home = L"https://dav.example/bob/home/";
    SyncAccount alice{0, L"dav.example", L"alice", kCal, kCal + L"tasks/", L"Work", L"Tasks"};
    SyncAccount bob{0, L"dav.example", L"bob", home, home, L"Home", L"Home"};
    ASSERT_EQ(ledger.SaveAccount(alice), 0);
    ASSERT_EQ(ledger.SaveAccount(bob), 0);
    alice.eventCalendarName = L"Wörk";
    ASSERT_EQ(ledger.SaveAccount(alice), 0);
    std::vector<SyncAccount> accounts;
    ASSERT_EQ(ledger.Accounts(accounts), 0);
    EXPECT_EQ(accounts, (std::vector<SyncAccount>{alice, bob}));
    StoredItem work = Meeting(L"Work");
    StoredItem family = Meeting(L"Family");
    StoredItem gone = Meeting(L"Gone");
    for (StoredItem* item : {&work, &family, &gone}) {
        ASSERT_EQ(db.Save(*item), 0);
        ASSERT_EQ(
            ledger.MarkPushed(item->fields.Oid, item == &family ? home : kCal, L"i.ics", L"e", 1),
            0);
    }
    ASSERT_EQ(db.Delete(gone.fields.Oid), 0);
    for (const std::wstring& url : {kCal, home}) {
        ASSERT_EQ(ledger.SetState({url, L"token", L"ctag"}), 0);
        ASSERT_EQ(ledger.SetSkipped({url, L"odd.ics", L"e", L"a rule the store cannot hold"}), 0);
    }
    // Removing alice forgets her calendars (bob's stay) and keeps her items, to push anew.
    ASSERT_EQ(ledger.RemoveAccount(alice.id), 0);
    EXPECT_LT(ledger.RemoveAccount(alice.id), 0);
    ASSERT_EQ(ledger.Accounts(accounts), 0);
    EXPECT_EQ(accounts, std::vector<SyncAccount>{bob});
    EXPECT_EQ(LinkText(ledger, work.fields.Oid) + L"|" + LinkText(ledger, family.fields.Oid),
              L"1/0|1/1 i.ics e");
    CalendarState mine;
    CalendarState bobs;
    ASSERT_EQ(ledger.State(kCal, mine) + ledger.State(home, bobs), 0);
    EXPECT_EQ(mine.token + L"|" + bobs.token, L"|token");
    std::vector<SkippedResource> skipped;
    ASSERT_EQ(ledger.Skipped(skipped), 0);
    EXPECT_EQ(skipped.size() == 1 ? skipped[0].calendar : L"", home);
    EXPECT_EQ(TombstonesText(ledger), L"");
}

TEST(SyncLedger, AVersion7StoreKeepsEveryItemAndAReaderLeavesItAsItIs)
{
    TempPaths paths;
    const std::string path = paths.StorePath();
    ASSERT_EQ(WriteDemoStore(path, EveryDay, MakeSystemTime(2026, 12, 7), 120, 30, 5), 0);
    // Version 7: no sync tables, items without UIDs, one UID another item's export name.
    Sql(path, "DROP TABLE sync_accounts; DROP TABLE sync_calendars; DROP TABLE sync_links; "
              "DROP TABLE sync_tombstones; DROP TABLE sync_skipped; UPDATE items SET uid = NULL "
              "WHERE oid > 1; UPDATE items SET uid = 'tamberlo-oid-2' WHERE oid = 1; "
              "PRAGMA user_version = 7;");
    const QByteArray before = Bytes(path);
    StoreDatabase db;
    ASSERT_EQ(db.Open(path, StoreDatabase::Access::ReadOnly), 0);
    std::vector<StoredItem> items = Everything(db);
    ASSERT_EQ(items.size(), 150U);
    SyncLedger ledger(db);
    std::vector<SyncLink> links;
    CalendarState state;
    SyncAccount account{0, L"dav.example", L"alice", kCal, kCal, L"", L""};
    for (const int32_t status :
         {ledger.Links(links), ledger.State(kCal, state), ledger.SaveAccount(account)}) {
        EXPECT_LT(status, 0);
    }
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
        if (oid == 2) {
            EXPECT_EQ(uid.size(), 32U) << "its export name was taken: a fresh UID";
        } else {
            EXPECT_EQ(uid, L"tamberlo-oid-" + std::to_wstring(oid == 1 ? 2 : oid));
        }
        migrated[i].fields.UID = items[i].fields.UID;
        EXPECT_EQ(migrated[i].calendar, 1) << "in Personal";
        migrated[i].calendar = items[i].calendar;
        EXPECT_EQ(migrated[i], items[i]) << oid;
    }
    EXPECT_EQ(uids.size(), items.size()) << "each UID names one item";
    ASSERT_EQ(ledger.Links(links), 0);
    ASSERT_EQ(links.size(), items.size());
    for (const SyncLink& link : links) {
        EXPECT_TRUE(link.Dirty() && link.href.empty() && uids.count(link.uid) == 1) << link.oid;
    }
}
