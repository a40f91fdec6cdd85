// The CalDAV conversations against real Radicale and Xandikos servers and the client's failures;
// the proxy's faults one by one and a wrong password are the round tests'.
#include "sync/dav_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "sync/dav_xml.h"
#include "tests/support/dav_fixture.h"

using caldav::DavClient;
using caldav::Failure;
using caldav::Precondition;
using Kind = DavServer::Kind;
using Mode = FaultProxy::Mode;

namespace {

// One event as a client writes it, with `place` as its LOCATION.
QByteArray Resource(const QString& uid, const QString& place)
{
    return EventText(uid.toStdString(),
                     "DTSTART:20260102T100000Z\r\nLOCATION:" + place.toStdString() + "\r\n");
}

const caldav::RemoteCalendar* Named(const caldav::Discovery& found, const QString& name)
{
    const auto it = std::find_if(found.calendars.begin(), found.calendars.end(),
                                 [&](const caldav::RemoteCalendar& c) { return c.name == name; });
    return it == found.calendars.end() ? nullptr : &*it;
}

QStringList Hrefs(const std::vector<caldav::ResourceState>& states)
{
    QStringList hrefs;
    for (const auto& state : states) {
        hrefs.append(state.href);
    }
    hrefs.sort();
    return hrefs;
}

QString Message(const caldav::SyncError& error)
{
    return QString::fromStdWString(error.message);
}

caldav::Discovery DiscoverOver(const caldav::Connection& connection)
{
    DavClient client(connection);
    return caldav::Discover(client);
}

class DavTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Running()) << server_.Problem().toStdString();
        calendar_ = server_.MakeCalendar("work", "Work");
        ASSERT_FALSE(calendar_.isEmpty());
    }
    // A client through a fresh proxy, with limits small enough to hit quickly.
    DavClient Through(FaultProxy& proxy) const
    {
        caldav::Connection connection = server_.Account(proxy.Url());
        connection.timeoutMs = 400;
        connection.maxBodyBytes = 1 << 20;
        return DavClient(connection);
    }
    QUrl ProxiedCalendar(const FaultProxy& proxy) const { return proxy.Url(calendar_.path()); }
    QUrl At(const QString& name) const { return calendar_.resolved(QUrl(name)); }
    QString Path(const QString& name) const { return At(name).path(QUrl::FullyEncoded); }
    DavServer server_{GetParam()};
    QUrl calendar_;
};

TEST_P(DavTest, DiscoversThePrincipalTheHomeAndItsCalendars)
{
    ASSERT_FALSE(server_.MakeCalendar("chores", "Chores", {"VTODO"}, "#FF8800FF").isEmpty());
    const caldav::Discovery found = DiscoverOver(server_.Account());
    ASSERT_FALSE(found.error) << Message(found.error).toStdString();
    EXPECT_TRUE(found.principal == server_.Url("/alice/") && found.home == server_.Home());
    const caldav::RemoteCalendar* work = Named(found, "Work");
    const caldav::RemoteCalendar* chores = Named(found, "Chores");
    ASSERT_TRUE(work != nullptr && chores != nullptr);
    EXPECT_TRUE(work->url == calendar_ && work->events && work->tasks && work->syncCollection);
    EXPECT_FALSE(work->ctag.isEmpty() || work->syncToken.isEmpty());
    // Xandikos makes every calendar with all components and ignores a colour asked for.
    const bool radicale = GetParam() == Kind::Radicale;
    EXPECT_TRUE(chores->events != radicale && chores->tasks);
    EXPECT_EQ(chores->color, radicale ? QString("#FF8800FF") : QString());
    // Radicale names the principal itself as the user's address; Xandikos names none.
    EXPECT_EQ(found.addresses, radicale ? QStringList{"/alice/"} : QStringList{});
}

TEST_P(DavTest, WritesOnlyOverTheVersionTheyName)
{
    DavClient client(server_.Account());
    const caldav::DavResponse created =
        client.Put(At("a.ics"), Resource("a", "One"), Precondition::IfNoneMatch);
    ASSERT_TRUE(created.status == 201 && !created.error && created.etag.startsWith('"'));
    const caldav::DavResponse again =
        client.Put(At("a.ics"), Resource("a", "Two"), Precondition::IfNoneMatch);
    EXPECT_TRUE(again.status == 412 && !again.error);
    EXPECT_EQ(
        client.Put(At("a.ics"), Resource("a", "Two"), Precondition::IfMatch, "\"stale\"").status,
        412);
    const caldav::DavResponse changed =
        client.Put(At("a.ics"), Resource("a", "Two"), Precondition::IfMatch, created.etag);
    EXPECT_TRUE(changed.status >= 200 && changed.status < 300 && changed.etag != created.etag);
    EXPECT_TRUE(client.Get(At("a.ics")).body.contains("LOCATION:Two"));
    EXPECT_EQ(client.Delete(At("a.ics"), created.etag).status, 412);
    const caldav::DavResponse deleted = client.Delete(At("a.ics"), changed.etag);
    EXPECT_TRUE(deleted.status >= 200 && deleted.status < 300 && !deleted.error);
    EXPECT_EQ(client.WriteCount(), 6);
}

TEST_P(DavTest, ReportsChangesListingsAndResources)
{
    DavClient client(server_.Account());
    const QByteArray etagA =
        client.Put(At("a.ics"), Resource("a", "A"), Precondition::IfNoneMatch).etag;
    const QByteArray etagB =
        client.Put(At("b.ics"), Resource("b", "B"), Precondition::IfNoneMatch).etag;
    const caldav::CollectionChanges first = caldav::ChangesSince(client, calendar_, {});
    ASSERT_FALSE(first.error);
    EXPECT_TRUE(Hrefs(first.changed) == QStringList({Path("a.ics"), Path("b.ics")}) &&
                first.removed.empty());
    const QByteArray etagA2 =
        client.Put(At("a.ics"), Resource("a", "A2"), Precondition::IfMatch, etagA).etag;
    client.Delete(At("b.ics"), etagB);
    client.Put(At("c d.ics"), Resource("c", "C"), Precondition::IfNoneMatch);
    const caldav::CollectionChanges next = caldav::ChangesSince(client, calendar_, first.token);
    ASSERT_TRUE(!next.error && next.token != first.token);
    EXPECT_EQ(Hrefs(next.changed), QStringList({Path("a.ics"), Path("c%20d.ics")}));
    EXPECT_EQ(next.removed, std::vector<QString>{Path("b.ics")});
    const caldav::CollectionChanges quiet = caldav::ChangesSince(client, calendar_, next.token);
    EXPECT_TRUE(quiet.changed.empty() && quiet.removed.empty() && !quiet.error);
    QString bad = next.token;
    bad.replace(bad.size() - 6, 6, "000000");
    const caldav::CollectionChanges refused = caldav::ChangesSince(client, calendar_, bad);
    EXPECT_TRUE(refused.tokenRefused && !refused.error);
    const caldav::CollectionListing listing = caldav::ListResources(client, calendar_);
    ASSERT_FALSE(listing.error || listing.ctag.isEmpty());
    EXPECT_EQ(Hrefs(listing.resources), QStringList({Path("a.ics"), Path("c%20d.ics")}));
    EXPECT_EQ(listing.resources[0].href == Path("a.ics") ? listing.resources[0].etag
                                                         : listing.resources[1].etag,
              etagA2);
    const std::vector<QString> asked{Path("a.ics"), Path("gone.ics"), Path("c%20d.ics")};
    caldav::SyncError error;
    const std::vector<caldav::Resource> got =
        caldav::FetchResources(client, calendar_, asked, error);
    ASSERT_TRUE(!error && got.size() == asked.size());
    for (const caldav::Resource& resource : got) {
        const bool gone = resource.href == Path("gone.ics");
        EXPECT_EQ(resource.missing, gone) << resource.href.toStdString();
        EXPECT_EQ(resource.calendarData.contains("BEGIN:VEVENT"), !gone);
        if (resource.href == Path("a.ics")) {
            EXPECT_TRUE(resource.calendarData.contains("LOCATION:A2") && resource.etag == etagA2);
        }
    }
}

TEST_P(DavTest, ALostAnswerIsAnErrorThoughTheServerDidTheWork)
{
    FaultProxy proxy(server_.Port());
    std::vector<int> arrived;
    std::vector<int> answered;
    proxy.On([&](int request) { arrived.push_back(request); },
             [&](int request) { answered.push_back(request); });
    proxy.Set({Mode::DropAnswer, 1, 1});
    DavClient client = Through(proxy);
    const QUrl url = ProxiedCalendar(proxy).resolved(QUrl("lost.ics"));
    const caldav::DavResponse put =
        client.Put(url, Resource("lost", "L"), Precondition::IfNoneMatch);
    // Not sent again behind the caller's back: that would answer 412 to our own PUT.
    EXPECT_EQ(put.error.failure, Failure::Unreachable) << put.status;
    EXPECT_TRUE(arrived == std::vector<int>{1} && answered == arrived);
    EXPECT_EQ(client.Get(url).status, 200);
    // A server without the report, and one that fails on a token it does not know.
    proxy.Set({Mode::Status, 1, INT_MAX, 501});
    EXPECT_TRUE(caldav::ChangesSince(client, ProxiedCalendar(proxy), {}).unsupported);
    proxy.Set({Mode::Status, 1, INT_MAX, 500});
    const caldav::CollectionChanges changes =
        caldav::ChangesSince(client, ProxiedCalendar(proxy), "t");
    EXPECT_TRUE(changes.tokenRefused && !changes.error);
    // An endless answer: the client hangs up soon after its limit, whatever the proxy could send.
    proxy.Set({Mode::EndlessBody});
    EXPECT_EQ(caldav::Discover(client).error.failure, Failure::TooLarge);
    EXPECT_LT(proxy.EndlessBytes(), 16 << 20);
}

// The password goes only to the account's own scheme, host and port, or a calendar the user
// confirmed: a redirect elsewhere is refused naming both, a home set elsewhere gets none.
TEST_P(DavTest, ThePasswordGoesOnlyWhereTheUserSentIt)
{
    FaultProxy elsewhere(server_.Port());
    FaultProxy proxy(server_.Port());
    proxy.Set({Mode::RedirectElsewhere, 1, INT_MAX, 0, elsewhere.Url()});
    DavClient redirected = Through(proxy);
    const caldav::Discovery refused = caldav::Discover(redirected);
    EXPECT_EQ(refused.error.failure, Failure::Withheld);
    EXPECT_TRUE(Message(refused.error).contains(proxy.Url().authority()) &&
                Message(refused.error).contains(elsewhere.Url().authority()));
    EXPECT_EQ(elsewhere.Requests(), 0);
    proxy.Set({Mode::HomeElsewhere, 1, INT_MAX, 0, elsewhere.Url()});
    caldav::Connection connection = server_.Account(proxy.Url());
    connection.user = "alice";
    connection.password = "secret";
    const caldav::Discovery home = DiscoverOver(connection);
    const bool authenticated = server_.ServerKind() == Kind::Radicale;
    EXPECT_EQ(home.error.failure, authenticated ? Failure::Withheld : Failure::None);
    EXPECT_TRUE(home.calendars.empty() == authenticated && elsewhere.Requests() > 0);
    for (const QByteArray& head : elsewhere.Heads()) {
        EXPECT_FALSE(head.toLower().contains("authorization")) << head.toStdString();
    }
    connection.confirmed = {elsewhere.Url(calendar_.path())};
    const caldav::Discovery confirmed = DiscoverOver(connection);
    EXPECT_FALSE(confirmed.error);
    EXPECT_TRUE(
        std::any_of(confirmed.calendars.begin(), confirmed.calendars.end(),
                    [&](const auto& c) { return c.url == elsewhere.Url(calendar_.path()); }));
}

// Digest when asked for; a total deadline however long a read may wait; a caller that stops.
TEST_P(DavTest, DigestADeadlineAndACallerThatStops)
{
    FaultProxy proxy(server_.Port());
    proxy.Set({Mode::DigestOnly});
    caldav::Connection connection = server_.Account(proxy.Url());
    connection.user = "alice";
    connection.password = "secret";
    DavClient digest(connection);
    EXPECT_FALSE(caldav::Discover(digest).error);
    const QUrl url = ProxiedCalendar(proxy).resolved(QUrl("d.ics"));
    EXPECT_FALSE(digest.Put(url, Resource("d", "D"), Precondition::IfNoneMatch).error);
    EXPECT_EQ(digest.Get(url).status, 200);
    connection.password = "wrong";
    EXPECT_EQ(DiscoverOver(connection).error.failure, Failure::WrongPassword);
    proxy.Set({Mode::Stall});
    connection = server_.Account(proxy.Url());
    connection.timeoutMs = 600000;
    connection.deadlineMs = 1200;
    EXPECT_EQ(DiscoverOver(connection).error.failure, Failure::TimedOut);
    std::atomic<bool> arrived{false};
    proxy.On([&](int) { arrived = true; });
    connection.deadlineMs = 600000;
    connection.carryOn = [&] { return !arrived; };
    const caldav::Discovery stopped = DiscoverOver(connection);
    EXPECT_EQ(stopped.error.failure, Failure::Cancelled);
    proxy.On({});
}

INSTANTIATE_TEST_SUITE_P(Servers, DavTest, ::testing::Values(Kind::Radicale, Kind::Xandikos),
                         [](const auto& info) { return std::string(DavServer::Name(info.param)); });

TEST(DavClient, ACertificateForAnotherNameIsNamedAsSuch)
{
    DavServer server(Kind::Radicale, true, "elsewhere.example");
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    DavClient client(server.Account());
    const caldav::SyncError refused = caldav::Discover(client).error;
    EXPECT_EQ(refused.failure, Failure::CertificateRefused);
    EXPECT_EQ(Message(refused), "The certificate of 127.0.0.1 is made out to another name "
                                "(elsewhere.example), and its SHA-256 fingerprint " +
                                    server.Fingerprint() + " is not trusted.");
    EXPECT_EQ(refused.certificateAt, QString("127.0.0.1:%1").arg(server.Port()));
    EXPECT_EQ(QString::fromLatin1(refused.fingerprint), server.Fingerprint());
}

TEST(DavXml, AddressesAndAnswersThatAreNoMultistatus)
{
    EXPECT_EQ(caldav::ServerAddress(" example.org/dav/ "), QUrl("https://example.org/dav/"));
    EXPECT_EQ(caldav::ServerAddress("http://h:5232/"), QUrl("http://h:5232/"));
    EXPECT_EQ(caldav::HrefPath("https://h:1/a%20b/c.ics", QUrl("https://h:1/")), "/a%20b/c.ics");
    EXPECT_EQ(caldav::HrefPath("c.ics", QUrl("https://h/cal/")), "/cal/c.ics");
    EXPECT_TRUE(caldav::SameHref("/cal/a%20b/", "/cal/a b") &&
                !caldav::SameHref("/cal/a", "/cal/b"));
    // Redirects: within one origin only, and a drop from https to http named as such.
    using caldav::Redirect;
    const std::tuple<const char*, const char*, Redirect> redirects[] = {
        {"https://h/dav/", "https://H:443/cal/", Redirect::Follow},
        {"https://h/dav/", "http://h/dav/", Redirect::Plain},
        {"https://h/dav/", "http://other/dav/", Redirect::Plain},
        {"https://h/dav/", "https://h:8443/dav/", Redirect::Elsewhere},
        {"http://h/dav/", "https://h/dav/", Redirect::Elsewhere},
        {"http://h/dav/", "http://other/dav/", Redirect::Elsewhere}};
    for (const auto& [from, to, taken] : redirects) {
        EXPECT_EQ(caldav::RedirectFrom(QUrl(from), QUrl(to)), taken) << from << to;
    }
    for (const char* xml : {"", "not xml", "<html><body>Login</body></html>",
                            "<multistatus xmlns=\"DAV:\"><response><href>/a</href>",
                            "<multistatus xmlns=\"DAV:\"></multistatus><extra/>",
                            "<multistatus xmlns=\"urn:other\"></multistatus>"}) {
        EXPECT_FALSE(caldav::ParseMultistatus(xml).valid) << xml;
    }
    EXPECT_TRUE(caldav::ParseMultistatus("<D:multistatus xmlns:D=\"DAV:\"/>").valid);
    // Nesting past any DAV answer's is refused before it is held (8 M levels: over a gigabyte).
    const auto nested = [](int depth) {
        return "<multistatus xmlns=\"DAV:\"><response><href>/a</href><propstat><prop>" +
               QByteArray("<x>").repeated(depth) + QByteArray("</x>").repeated(depth) +
               "</prop></propstat></response></multistatus>";
    };
    EXPECT_TRUE(caldav::ParseMultistatus(nested(50)).valid);
    EXPECT_FALSE(caldav::ParseMultistatus(nested(100)).valid);
    EXPECT_FALSE(caldav::ParseMultistatus(nested(1'000'000)).valid);
}

} // namespace
