// Subscriptions against a loopback web server of calendar files (behind the fault proxy for its
// failures), in-process and through tamberlo-sync.
#include <gtest/gtest.h>

#include "platform/pim/store_database.h"
#include "platform/pim/store_subscriptions.h"
#include "sync/subscription.h"
#include "tests/support/dav_fixture.h"
#include "tests/support/temp_paths.h"
#include "tests/sync/ics_server.h"

namespace {

QByteArray Event(const char* uid, const char* day, const char* summary)
{
    return QByteArray("BEGIN:VEVENT\r\nUID:") + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" +
           "DTSTART;VALUE=DATE:" + day + "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

QByteArray File(const QByteArray& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//tests//EN\r\nX-WR-CALNAME:Public "
           "holidays\\, 2026\r\n" +
           events + "END:VCALENDAR\r\n";
}

// Subject by oid of the calendar's appointments.
std::map<int32_t, std::wstring> Held(const std::string& store, int32_t calendar)
{
    std::map<int32_t, std::wstring> held;
    for (const pim::StoredItem& item : Items(store)) {
        if (item.calendar == calendar) {
            held[item.fields.Oid] = item.fields.Subject;
        }
    }
    return held;
}

TEST(Subscription, ReadsAgainOnlyAChangedFileAndKeepsItsItemsThroughFailures)
{
    IcsServer web;
    FaultProxy proxy(web.Port());
    TempPaths paths;
    const std::string store = paths.StorePath();
    web.Serve(File(Event("xmas", "20261225", "Christmas") + Event("ny", "20270101", "New Year") +
                   Event("ny", "20270101", "New Year again")));
    const caldav::SubscriptionReport subscribed =
        caldav::Subscribe(store, proxy.Url("/calendar.ics"), L"", {});
    ASSERT_FALSE(subscribed.error);
    const pim::Calendar& calendar = subscribed.calendar;
    EXPECT_EQ(std::make_pair(calendar.name, subscribed.change.written),
              std::make_pair(std::wstring(L"Public holidays, 2026"), 2));
    EXPECT_EQ(subscribed.notes,
              std::vector<std::wstring>{L"UID ny: skipped, a second component with the same UID"});
    const std::map<int32_t, std::wstring> first = Held(store, calendar.id);
    EXPECT_EQ(first.size(), 2U);
    EXPECT_EQ(caldav::Subscribe(store, proxy.Url("/calendar.ics"), L"Again", {}).error.message,
              L"http://127.0.0.1:" + std::to_wstring(proxy.Port()) +
                  L"/calendar.ics is subscribed to already, as \"Public holidays, 2026\".");
    // The second read sends both validators, gets 304 and writes nothing.
    pim::StoreDatabase watcher;
    watcher.Open(store);
    const int64_t before = watcher.DataVersion();
    std::vector<caldav::SubscriptionReport> reports = caldav::RefreshSubscriptions(store, {}, {});
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_TRUE(reports[0].unchanged && !reports[0].error);
    const QByteArray asked = web.Heads().back();
    EXPECT_TRUE(asked.contains("If-None-Match: \"v1\"")) << asked.toStdString();
    EXPECT_TRUE(asked.contains("If-Modified-Since: Mon, 07 Dec 2026 10:11:00 GMT"));
    EXPECT_EQ(watcher.DataVersion(), before);
    // Failures change nothing and name the subscription (a file that is no calendar: the tool's).
    web.Serve("<html><body>Moved to our new site</body></html>");
    caldav::Connection small;
    small.maxBodyBytes = 40;
    const std::pair<FaultProxy::Fault, caldav::Connection> failures[] = {
        {{}, small},
        {{FaultProxy::Mode::RedirectElsewhere, 1, INT_MAX, 0, QUrl("http://127.0.0.2:9/")}, {}},
    };
    std::vector<std::wstring> said;
    for (const auto& [fault, limits] : failures) {
        proxy.Set(fault);
        reports = caldav::RefreshSubscriptions(store, limits, {});
        ASSERT_EQ(reports.size(), 1U);
        said.push_back(caldav::SubscriptionFailure(reports[0]).message);
    }
    const std::wstring at = L"http://127.0.0.1:" + std::to_wstring(proxy.Port());
    EXPECT_EQ(said, (std::vector<std::wstring>{
                        L"The subscription \"Public holidays, 2026\" was not refreshed: The "
                        L"server 127.0.0.1 sent an answer larger than allowed.",
                        L"The subscription \"Public holidays, 2026\" was not refreshed: The "
                        L"server " +
                            at +
                            L" sent the request on to http://127.0.0.2:9, which "
                            L"was not followed: the password and the calendars go only to " +
                            at + L"."}));
    EXPECT_EQ(Held(store, calendar.id), first);
    EXPECT_EQ(watcher.DataVersion(), before);
    // A changed file: the changed item replaced in place, the gone one deleted, a new one added.
    proxy.Set({});
    web.Serve(
        File(Event("xmas", "20261225", "Christmas Day") + Event("easter", "20270328", "Easter")));
    reports = caldav::RefreshSubscriptions(store, {}, {});
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(
        std::make_tuple(reports[0].unchanged, reports[0].change.written, reports[0].change.deleted),
        std::make_tuple(false, 2, 1));
    const std::map<int32_t, std::wstring> second = Held(store, calendar.id);
    ASSERT_EQ(second.size(), 2U);
    EXPECT_EQ(second.begin()->first, first.begin()->first);
    EXPECT_TRUE(second.begin()->second == L"Christmas Day" && second.rbegin()->second == L"Easter");
    EXPECT_TRUE(web.Heads().back().contains("If-None-Match: \"v1\"")) << "failures kept none";
    reports = caldav::RefreshSubscriptions(store, {}, {});
    EXPECT_TRUE(reports.at(0).unchanged);
    EXPECT_TRUE(web.Heads().back().contains("If-None-Match: \"v3\"")) << "the last whole answer's";
}

TEST(Subscription, Addresses)
{
    const std::pair<QString, QString> addresses[] = {
        {"webcal://example.org/h.ics", "https://example.org/h.ics"},
        {" WEBCALS://example.org/h.ics", "https://example.org/h.ics"},
        {"example.org/h.ics", "https://example.org/h.ics"},
        {"http://example.org/h.ics", "http://example.org/h.ics"},
        {"https://me:pw@example.org/h.ics", ""},
        {"ftp://example.org/h.ics", ""},
    };
    for (const auto& [typed, address] : addresses) {
        EXPECT_EQ(caldav::SubscriptionAddress(typed).toString(), address) << typed.toStdString();
    }
    EXPECT_TRUE(caldav::IsSubscriptionArgument("webcal://example.org/h") &&
                !caldav::IsSubscriptionArgument("holidays.ics"));
}

// unsubscribe takes a name (exact, else in any case) or an address, refuses a name two
// subscriptions share, and drops the calendar with its items; a refresh that read its file
// meanwhile writes nothing, and only a subscription is dropped so.
TEST(Subscription, UnsubscribeDropsTheCalendarWithItsItems)
{
    IcsServer web;
    web.Serve(File(Event("xmas", "20261225", "Christmas") + Event("ny", "20270101", "New Year")));
    TempPaths paths;
    const std::string store = paths.StorePath();
    std::string err;
    const auto tool = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--store", store, "--profile", paths.ProfilePath()});
        const ToolRun run = Tool(args);
        err = run.err;
        return std::to_string(run.code) + " " + run.out;
    };
    const std::string a = web.Url("/a.ics").toString().toStdString();
    const std::string b = web.Url("/b.ics").toString().toStdString();
    EXPECT_EQ(tool({"subscribe", a, "--name", "Team"}),
              "0 subscribed to Team (calendar 2): 2 items\n");
    EXPECT_EQ(tool({"subscribe", b, "--name", "Team"}),
              "0 subscribed to Team (calendar 3): 2 items\n");
    EXPECT_EQ(tool({"subscribe", web.Url().toString().toStdString(), "--name", "Feiertage"}),
              "0 subscribed to Feiertage (calendar 4): 2 items\n");
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"unsubscribe", "Team"},
         "Several subscriptions are named \"Team\": give the address of the one meant."},
        {{"unsubscribe", "nowhere"}, "No subscription is named nowhere or reads that address."},
        {{"unsubscribe", "Personal"}, "No subscription is named Personal or reads that address."},
        {{"unsubscribe"}, "missing subscription (see --help)"},
    };
    for (const auto& [args, said] : refused) {
        EXPECT_EQ(tool(args), "2 ");
        EXPECT_EQ(err, "tamberlo-sync: " + said + "\n");
    }
    EXPECT_EQ(tool({"unsubscribe", "feiertage"}),
              "0 unsubscribed from Feiertage: 2 items deleted here\n");
    EXPECT_EQ(tool({"unsubscribe", b}), "0 unsubscribed from Team: 2 items deleted here\n");
    EXPECT_EQ(tool({"list"}), "0 local\n\tPersonal\tevents, tasks\t0 items\nsubscriptions\n"
                              "\tTeam <" +
                                  a + ">\tevents, tasks, read-only\t2 items\n");
    pim::StoreDatabase db;
    ASSERT_EQ(db.Open(store), 0);
    pim::SubscriptionLedger ledger(db);
    std::vector<pim::StoredItem> late(1);
    late[0].fields.UID = late[0].fields.Subject = L"late";
    late[0].fields.Start = late[0].fields.End = 46370.5;
    pim::SubscriptionChange change;
    EXPECT_LT(ledger.Replace(4, late, {}, change), 0) << "the calendar is gone";
    int deleted = -1;
    EXPECT_LT(ledger.Unsubscribe(1, deleted), 0) << "Personal is no subscription";
    EXPECT_EQ(deleted, 0);
    db.Close();
    EXPECT_TRUE(Held(store, 4).empty());
    EXPECT_EQ(Held(store, 0).size() + Held(store, 1).size(), 0U) << "no item left without one";
}

} // namespace
