// Several calendars over two real servers: a move reaches the new collection before the old one
// loses it, also with the tool killed; items go to their calendars'; a gone collection stays here.
#include <gtest/gtest.h>

#include <set>

#include "sync/dav_xml.h"
#include "sync/sync_round.h"
#include "tests/support/calendar_items.h"
#include "tests/support/dav_fixture.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

// The tool's output, when it succeeded.
std::string Out(const std::vector<std::string>& args)
{
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.code, kSyncOk) << run.err;
    return run.out;
}

// "subject:calendar name" of every item of a store, sorted.
std::set<std::wstring> Here(const std::string& store)
{
    std::vector<pim::Calendar> calendars;
    {
        pim::StoreDatabase db;
        EXPECT_EQ(db.Open(store), 0);
        pim::CalendarList(db).All(calendars);
    }
    std::set<std::wstring> out;
    for (const pim::StoredItem& item : Items(store)) {
        for (const pim::Calendar& c : calendars) {
            if (c.id == item.calendar) {
                out.insert(item.fields.Subject + L":" + c.name);
            }
        }
    }
    return out;
}

} // namespace

TEST(SyncCalendars, AMoveIsPutIntoTheNewCollectionBeforeTheOldOneLosesIt)
{
    DavServer radicale(DavServer::Kind::Radicale);
    ASSERT_TRUE(radicale.Running()) << radicale.Problem().toStdString();
    const QUrl work = radicale.MakeCalendar("work", "Work", {"VEVENT"});
    const QUrl family = radicale.MakeCalendar("family", "Family", {"VEVENT"});
    ASSERT_FALSE(work.isEmpty() || family.isEmpty());
    FaultProxy proxy(radicale.Port());
    TempPaths paths;
    const std::string store = paths.File("a.sqlite3");
    const pim::SyncAccount account = SaveWorkAndFamily(store, proxy, work, family);
    const auto round = [&] {
        return caldav::RunRound(store, OccurrenceOnDay, account, radicale.Account(proxy.Url()),
                                {kRoundNow, {}});
    };
    const int32_t workHere = CalendarNamed(store, L"Work");
    const int32_t familyHere = CalendarNamed(store, L"Family");
    pim::StoredItem standup = Appointment(L"Standup", 46370.5, workHere);
    standup.fields.UID = L"Standup"; // its resource's name
    ASSERT_EQ(Save(store, standup), 0);
    ASSERT_FALSE(round().error);
    ASSERT_EQ(SubjectsThere(radicale, work), (Counts{{L"Standup", 1}}));
    // Into Family: created there first, then deleted from Work, once each.
    MoveTo(store, L"Standup", familyHere);
    const int before = proxy.Requests();
    caldav::RoundReport moved = round();
    EXPECT_EQ(std::make_tuple(moved.sent, moved.deletedThere, moved.ExitCode()),
              std::make_tuple(1, 1, 0));
    EXPECT_EQ(SubjectsThere(radicale, work), Counts{});
    EXPECT_EQ(SubjectsThere(radicale, family), (Counts{{L"Standup", 1}}));
    QStringList writes;
    for (const QByteArray& head : proxy.Heads().mid(before)) {
        if (head.startsWith("PUT") || head.startsWith("DELETE")) {
            writes << QString::fromLatin1(head.left(head.indexOf(' ', head.indexOf(' ') + 1)));
        }
    }
    EXPECT_EQ(writes, QStringList({"PUT " + family.path() + "Standup.ics",
                                   "DELETE " + work.path() + "Standup.ics"}));
    // Back into Work, which refuses it: Family and the store keep theirs until Work takes it.
    proxy.Set({FaultProxy::Mode::RefusePut, 1, INT_MAX, 403, {}, "SUMMARY:Standup"});
    MoveTo(store, L"Standup", workHere);
    const Counts one{{L"Standup", 1}};
    for (int i = 0; i < 3; ++i) { // refused twice, then taken
        if (i == 2) {
            proxy.Set({});
        }
        const caldav::RoundReport refused = round();
        EXPECT_EQ(std::make_tuple(refused.sent, refused.deletedThere, refused.refused),
                  i < 2 ? std::make_tuple(0, 0, 1) : std::make_tuple(1, 1, 0));
        EXPECT_EQ(SubjectsThere(radicale, family), i < 2 ? one : Counts{});
        EXPECT_EQ(SubjectsThere(radicale, work), i < 2 ? Counts{} : one);
        EXPECT_EQ(Here(store), std::set<std::wstring>{L"Standup:Work"});
    }
    // Each round's tool killed at a request in turn: never lost, never twice, then put right.
    const int32_t personal = CalendarNamed(store, L"Personal");
    const std::map<int32_t, std::wstring> names{
        {familyHere, L"Family"}, {personal, L"Personal"}, {workHere, L"Work"}};
    int killed = 0;
    for (int step = 0; step < 12; ++step) {
        SCOPED_TRACE(step);
        const int32_t to = std::vector<int32_t>{familyHere, personal, workHere}[step % 3];
        MoveTo(store, L"Standup", to);
        killed += static_cast<int>(
            KilledToolRound(proxy, store, paths.File("t.ini"), 1 + step / 2, step % 2 == 1));
        EXPECT_EQ(Here(store), std::set<std::wstring>{L"Standup:" + names.at(to)});
        const int inWork = SubjectsThere(radicale, work)[L"Standup"];
        const int inFamily = SubjectsThere(radicale, family)[L"Standup"];
        EXPECT_LE(std::max(inWork, inFamily), 1);
        if (to == familyHere) { // from Work to Family: on one of them throughout
            EXPECT_GE(inWork + inFamily, 1);
        }
        ASSERT_FALSE(round().error);
        EXPECT_EQ(SubjectsThere(radicale, work), to == workHere ? one : Counts{});
        EXPECT_EQ(SubjectsThere(radicale, family), to == familyHere ? one : Counts{});
    }
    EXPECT_GE(killed, 6) << "most tool rounds are cut";
}

TEST(SyncCalendars, TwoAccountsOnTwoServersSyncThreeCalendarsApart)
{
    DavServer radicale(DavServer::Kind::Radicale);
    DavServer xandikos(DavServer::Kind::Xandikos);
    ASSERT_TRUE(radicale.Running() && xandikos.Running());
    const QUrl work = radicale.MakeCalendar("work", "Work", {"VEVENT", "VTODO"}, "#3366CC");
    const QUrl family = radicale.MakeCalendar("family", "Family", {"VEVENT"});
    const QUrl club = xandikos.MakeCalendar("club", "Club");
    ASSERT_FALSE(work.isEmpty() || family.isEmpty() || club.isEmpty());
    TempPaths paths;
    const std::string a = paths.File("a.sqlite3");
    const std::string b = paths.File("b.sqlite3");
    const std::string r = radicale.Base().toString().toStdString();
    const std::string x = xandikos.Base().toString().toStdString();
    const auto add = [&](const std::string& store) {
        const std::vector<std::string> common{
            "--store", store,   "--profile",          paths.File("t.ini"),
            "--user",  "alice", "--password-command", "echo secret"};
        for (const auto& [server, calendar] :
             {std::make_pair(r, work), std::make_pair(r, family), std::make_pair(x, club)}) {
            std::vector<std::string> args{"add", server, "--calendar",
                                          calendar.path().toStdString()};
            args.insert(args.end(), common.begin(), common.end());
            Out(args);
        }
    };
    add(a);
    EXPECT_EQ(SqlNumber(a, "SELECT colour FROM calendars WHERE name = 'Work'"), 0x00CC6633)
        << "the server's #3366CC";
    SavedIn(a, CalendarNamed(a, L"Work"), L"Standup", 46370.5);
    SavedIn(a, CalendarNamed(a, L"Work"), L"Report", 46370.5, pim::kTaskKind);
    SavedIn(a, CalendarNamed(a, L"Family"), L"Dinner", 46370.5);
    SavedIn(a, CalendarNamed(a, L"Club"), L"Match", 46370.5);
    SavedIn(a, 0, L"Diary", 46370.5);
    const std::vector<std::string> rounds{"--store", a, "--profile", paths.File("t.ini")};
    const std::string first = Out(rounds);
    EXPECT_NE(first.find("alice at 127.0.0.1: sent 3,"), std::string::npos);
    EXPECT_NE(first.find("alice at 127.0.0.1: sent 1,"), std::string::npos);
    EXPECT_EQ(SubjectsThere(radicale, work), (Counts{{L"Report", 1}, {L"Standup", 1}}));
    EXPECT_EQ(SubjectsThere(radicale, family), (Counts{{L"Dinner", 1}}));
    EXPECT_EQ(SubjectsThere(xandikos, club), (Counts{{L"Match", 1}}));
    // Another store with the same accounts gets each item into its own calendar.
    add(b);
    Out({"--store", b, "--profile", paths.File("t.ini")});
    EXPECT_EQ(Here(b), (std::set<std::wstring>{L"Dinner:Family", L"Match:Club", L"Report:Work",
                                               L"Standup:Work"}));
    // A collection deleted on its server: reported, and its items stay here in a local calendar.
    caldav::DavClient client(radicale.Account());
    ASSERT_LT(client.Delete(family, {}).status, 300);
    EXPECT_NE(Out(rounds).find("The calendar \"Family\" is gone from 127.0.0.1; its items are kept "
                               "here as a local calendar."),
              std::string::npos);
    EXPECT_EQ(Here(a), (std::set<std::wstring>{L"Diary:Personal", L"Dinner:Family", L"Match:Club",
                                               L"Report:Work", L"Standup:Work"}));
    pim::StoreDatabase db;
    ASSERT_EQ(db.Open(a), 0);
    pim::Calendar family_here;
    ASSERT_EQ(pim::CalendarList(db).Named(L"Family", family_here), 0);
    EXPECT_EQ(family_here.kind, pim::CalendarKind::Local);
}

// The server's colour as the store keeps it, and what a collection the user may not write is.
TEST(SyncCalendars, ACollectionBecomesAStoreCalendarAsTheServerDescribesIt)
{
    caldav::RemoteCalendar remote;
    remote.url = QUrl("https://dav.example/a/team/");
    remote.name = "Team";
    remote.events = true;
    for (const auto& [color, colour] : std::vector<std::pair<QString, uint32_t>>{
             {"#FF8000FF", 0x000080FF}, {"", 0}, {"#12345", 0}, {"#GGHHII", 0}}) {
        remote.color = color;
        EXPECT_EQ(caldav::StoreCalendarOf(remote).colour, colour) << color.toStdString();
    }
    remote.writable = false;
    const pim::Calendar c = caldav::StoreCalendarOf(remote);
    EXPECT_EQ(c.name + L" " + c.url, L"Team https://dav.example/a/team/");
    EXPECT_TRUE(c.readOnly && c.events && !c.tasks && c.kind == pim::CalendarKind::Collection);
    const caldav::Multistatus answer = caldav::ParseMultistatus(
        "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/a/team/</d:href><d:propstat>"
        "<d:prop><d:current-user-privilege-set><d:privilege><d:read/></d:privilege>"
        "</d:current-user-privilege-set></d:prop><d:status>HTTP/1.1 200 OK</d:status>"
        "</d:propstat></d:response><d:response><d:href>/a/mine/</d:href><d:propstat><d:prop>"
        "<d:current-user-privilege-set><d:privilege><d:read/></d:privilege><d:privilege>"
        "<d:write-content/></d:privilege></d:current-user-privilege-set></d:prop>"
        "<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>");
    ASSERT_EQ(answer.entries.size(), 2U);
    EXPECT_TRUE(answer.entries[0].props.privileges && !answer.entries[0].props.writeContent);
    EXPECT_TRUE(answer.entries[1].props.privileges && answer.entries[1].props.writeContent);
}
