// A store's calendars: a version-10 store's migration, placing saves, accounts that go.
#include "platform/pim/store_calendars.h"

#include "platform/pim/sync_ledger.h"
#include "tests/support/calendar_items.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"
#include "tests/support/test_data.h"

namespace {

using namespace pim;

// name kind account url events tasks, one calendar a line.
std::wstring CalendarsText(CalendarList& list)
{
    std::vector<Calendar> all;
    std::wstring text = list.All(all) == 0 ? L"" : L"failed";
    for (const Calendar& c : all) {
        text += c.name + L" " + std::to_wstring(static_cast<int>(c.kind)) + L" " +
                std::to_wstring(c.account) + L" " + c.url + L" " + (c.events ? L"e" : L"-") +
                (c.tasks ? L"t" : L"-") + (c.readOnly ? L" ro" : L"") + L"\n";
    }
    return text;
}

// The calendar id of each item, oid:calendar, in oid order.
std::string Placement(const std::string& path)
{
    std::string text;
    for (int oid = 1; oid <= 5; ++oid) {
        text += std::to_string(oid) + ":" +
                std::to_string(SqlNumber(path, "SELECT calendar FROM items WHERE oid = " +
                                                   std::to_string(oid))) +
                " ";
    }
    return text;
}

} // namespace

TEST(StoreCalendars, AVersion10StoreGetsItsCalendarsFromItsLinks)
{
    TempPaths paths;
    const std::string path = paths.StorePath();
    Sql(path, TestData("store_version10.sql"));
    ASSERT_EQ(SqlNumber(path, "PRAGMA user_version"), 10);
    const auto migrated = [&] {
        StoreDatabase db;
        ASSERT_EQ(db.Open(path), 0);
        CalendarList list(db);
        EXPECT_EQ(CalendarsText(list),
                  L"Personal 0 0  et\n"
                  L"Work 1 1 http://127.0.0.1:5232/anna/work/ et\n"
                  L"Family 1 2 http://127.0.0.1:8000/anna/calendars/family/ e-\n"
                  L"Chores 1 2 http://127.0.0.1:8000/anna/calendars/chores/ -t\n");
        // The unlinked item stays here; each linked one follows its link.
        EXPECT_EQ(Placement(path), "1:1 2:2 3:3 4:2 5:4 ");
        std::map<int32_t, int32_t> counts;
        ASSERT_EQ(list.ItemCounts(counts), 0);
        EXPECT_EQ(counts, (std::map<int32_t, int32_t>{{1, 1}, {2, 2}, {3, 1}, {4, 1}}));
        SyncLedger ledger(db);
        std::vector<SyncLink> links;
        ASSERT_EQ(ledger.Links(links), 0);
        ASSERT_EQ(links.size(), 5U);
        EXPECT_EQ(links[0].target, L"") << "a local item goes nowhere";
        EXPECT_EQ(links[3].href + L" " + links[3].etag + L" " + std::to_wstring(links[3].change) +
                      L"/" + std::to_wstring(links[3].pushed) + L" " + links[3].target,
                  L"/anna/work/task-1@example.org.ics \"t1\" 3/2 http://127.0.0.1:5232/anna/work/");
        CalendarState state;
        ASSERT_EQ(ledger.State(L"http://127.0.0.1:5232/anna/work/", state), 0);
        EXPECT_EQ(state.token, L"http://radicale.org/ns/sync/abc");
    };
    migrated();
    EXPECT_EQ(SqlNumber(path, "PRAGMA user_version"), StoreDatabase::kSchemaVersion);
    // A store whose version was set back by hand is migrated again to the same calendars.
    Sql(path, "PRAGMA user_version = 10;");
    migrated();
}

TEST(StoreCalendars, SavesPlaceItemsReadOnlyCalendarsRefuseAndAccountsCalendarsOutliveThem)
{
    TempPaths paths;
    StoreDatabase db;
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    CalendarList list(db);
    Calendar personal;
    ASSERT_EQ(list.DefaultLocal(personal), 0);
    EXPECT_EQ(personal.name + L" " + std::to_wstring(personal.id), L"Personal 1");
    Calendar holidays{0, L"Holidays", 0, CalendarKind::Local, true, true};
    Calendar work{0,     L"Work", 0x00112233, CalendarKind::Collection,     true,
                  false, 0,       0,          L"https://dav.example/work/", true,
                  false};
    ASSERT_EQ(list.Save(holidays), 0);
    ASSERT_EQ(list.Save(work), 0);
    EXPECT_EQ(std::to_wstring(holidays.order) + L" " + std::to_wstring(work.order) + L" " +
                  std::to_wstring(work.colour == 0x00112233) +
                  std::to_wstring(holidays.colour == DefaultCalendarColour(2)),
              L"1 2 11");
    Calendar found;
    ASSERT_EQ(list.Named(L"holidays", found), 0);
    EXPECT_EQ(found, holidays);
    StoredItem mine = Meeting(L"Mine");
    ASSERT_EQ(db.Save(mine), 0);
    EXPECT_EQ(mine.calendar, personal.id) << "a new item goes to the default local calendar";
    StoredItem off = Meeting(L"Off", holidays.id);
    EXPECT_LT(db.Save(off), 0);
    EXPECT_EQ(db.LastWriteError(), L"The calendar \u201cHolidays\u201d is read-only.");
    StoredItem task;
    task.kind = kTaskKind;
    task.calendar = work.id;
    EXPECT_LT(db.Save(task), 0);
    EXPECT_EQ(db.LastWriteError(), L"The calendar \u201cWork\u201d holds no tasks.");
    // The sync writes a read-only calendar's items; the user can neither change nor delete them.
    SyncLedger ledger(db);
    ASSERT_EQ(ledger.SaveFromServer(off, {0, L"", kAppointmentKind, L"s", L"h.ics", L"e"}, 0), 0);
    off.fields.Subject = L"Changed";
    off.calendar = 0;
    EXPECT_LT(db.Save(off), 0);
    EXPECT_LT(db.Delete(off.fields.Oid), 0);
    EXPECT_EQ(db.LastWriteError(), L"The calendar \u201cHolidays\u201d is read-only.");
    // A resource moved to another calendar is deleted in the old one and pushed anew.
    ASSERT_EQ(ledger.MarkPushed(mine.fields.Oid, L"s", L"m.ics", L"e1", 1), 0);
    mine.calendar = work.id;
    ASSERT_EQ(db.Save(mine), 0);
    SyncLink link;
    ASSERT_EQ(ledger.LinkOf(mine.fields.Oid, link), 0);
    EXPECT_EQ(link.href + L"|" + link.target + L"|" + std::to_wstring(link.Dirty()),
              L"|https://dav.example/work/|1");
    std::vector<SyncTombstone> tombstones;
    ASSERT_EQ(ledger.Tombstones(tombstones), 0);
    EXPECT_EQ(tombstones.size() == 1 ? tombstones[0].href : L"", L"m.ics");
    TempPaths kept;
    StoreDatabase keptDb;
    ASSERT_EQ(keptDb.Open(kept.StorePath()), 0);
    SyncLedger keptLedger(keptDb);
    const std::wstring same = L"https://dav.example/a/both/";
    SyncAccount account{0, L"dav.example", L"a", same, same, L"Both", L"Both"};
    ASSERT_EQ(keptLedger.SaveAccount(account), 0);
    Calendar more{0,    L"More", 0, CalendarKind::Local,           true,
                  true, 0,       0, L"https://dav.example/a/more/"};
    ASSERT_EQ(keptLedger.AddCalendar(account.id, more), 0);
    EXPECT_LT(keptLedger.AddCalendar(99, more), 0);
    CalendarList keptList(keptDb);
    EXPECT_EQ(CalendarsText(keptList), L"Personal 0 0  et\n"
                                       L"Both 1 1 https://dav.example/a/both/ et\n"
                                       L"More 1 1 https://dav.example/a/more/ et ro\n");
    std::vector<Calendar> keptAll;
    ASSERT_EQ(keptList.All(keptAll), 0);
    StoredItem there = Meeting(L"There", keptAll[1].id);
    ASSERT_EQ(keptDb.Save(there), 0);
    ASSERT_EQ(keptLedger.MarkPushed(there.fields.Oid, same, L"/a/both/t.ics", L"e", 1), 0);
    // The task calendar changes: the one before stays as the event calendar.
    account.taskCalendar = L"https://dav.example/a/tasks/";
    ASSERT_EQ(keptLedger.SaveAccount(account), 0);
    ASSERT_EQ(keptLedger.RemoveAccount(account.id), 0);
    EXPECT_EQ(CalendarsText(keptList), L"Personal 0 0  et\n"
                                       L"Both 0 0  et\n"
                                       L"More 0 0  et\n"
                                       L"Both 0 0  et\n")
        << "a calendar let go may be written here";
    EXPECT_EQ(SqlNumber(kept.StorePath(), "SELECT calendar FROM items"), keptAll[1].id);
    SyncLink keptLink;
    ASSERT_EQ(keptLedger.LinkOf(there.fields.Oid, keptLink), 0);
    EXPECT_EQ(keptLink.href + keptLink.target, L"") << "kept here, pushed nowhere";
}
