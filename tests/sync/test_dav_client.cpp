// The DAV client's failures, each one clear SyncError naming the host (the proxy's faults one by
// one, and a wrong password: the round tests): a lost answer, a password sent only where the
// user sent it, Digest, a trickle, an untrusted certificate, nobody listening; and answers that
// are not XML at all.
#include "sync/dav_client.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <atomic>

#include "sync/dav_xml.h"
#include "tests/support/dav_fixture.h"

using caldav::DavClient;
using caldav::Failure;
using Kind = DavServer::Kind;
using Mode = FaultProxy::Mode;

namespace {

QString Message(const caldav::SyncError& error)
{
    return QString::fromStdWString(error.message);
}

caldav::Discovery DiscoverOver(const caldav::Connection& connection)
{
    DavClient client(connection);
    return caldav::Discover(client);
}

class FaultTest : public ::testing::TestWithParam<Kind> {
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

    DavServer server_{GetParam()};
    QUrl calendar_;
};

TEST_P(FaultTest, ALostAnswerIsAnErrorThoughTheServerDidTheWork)
{
    FaultProxy proxy(server_.Port());
    std::vector<int> arrived;
    std::vector<int> answered;
    proxy.OnArrived([&](int request) { arrived.push_back(request); });
    proxy.OnAnswered([&](int request) { answered.push_back(request); });
    proxy.Set({Mode::DropAnswer, 1, 1});
    DavClient client = Through(proxy);
    const QUrl url = ProxiedCalendar(proxy).resolved(QUrl("lost.ics"));
    const caldav::DavResponse put = client.Put(
        url, EventText("lost", "DTSTART:20260102T100000Z\r\n"), caldav::Precondition::IfNoneMatch);
    // Not sent again behind the caller's back: that would answer 412 to our own PUT.
    EXPECT_EQ(put.error.failure, Failure::Unreachable) << put.status;
    EXPECT_EQ(arrived, std::vector<int>{1});
    EXPECT_EQ(answered, std::vector<int>{1});
    EXPECT_EQ(client.Get(url).status, 200);

    // A server without the report, and one that fails on a token it does not know.
    proxy.Set({Mode::Status, 1, INT_MAX, 501});
    EXPECT_TRUE(caldav::ChangesSince(client, ProxiedCalendar(proxy), {}).unsupported);
    proxy.Set({Mode::Status, 1, INT_MAX, 500});
    const caldav::CollectionChanges changes =
        caldav::ChangesSince(client, ProxiedCalendar(proxy), "t");
    EXPECT_TRUE(changes.tokenRefused && !changes.error);
    EXPECT_EQ(caldav::ListResources(client, ProxiedCalendar(proxy)).error.failure,
              Failure::ServerError);
    // An endless answer: the client hangs up soon after its limit, whatever the proxy could send.
    proxy.Set({Mode::EndlessBody});
    EXPECT_EQ(caldav::Discover(client).error.failure, Failure::TooLarge);
    EXPECT_LT(proxy.EndlessBytes(), 16 << 20);
}

// The password goes only to the account's own scheme, host and port, or a calendar the user
// confirmed: a redirect elsewhere is refused naming both, a home set elsewhere gets none.
TEST_P(FaultTest, ThePasswordGoesOnlyWhereTheUserSentIt)
{
    FaultProxy elsewhere(server_.Port());
    FaultProxy proxy(server_.Port());
    proxy.Set({Mode::RedirectElsewhere, 1, INT_MAX, 0, elsewhere.Url()});
    DavClient redirected = Through(proxy);
    const caldav::Discovery refused = caldav::Discover(redirected);
    EXPECT_EQ(refused.error.failure, Failure::Withheld);
    EXPECT_TRUE(Message(refused.error).contains(proxy.Url().authority()) &&
                Message(refused.error).contains(elsewhere.Url().authority()))
        << Message(refused.error).toStdString();
    EXPECT_EQ(elsewhere.Requests(), 0);

    proxy.Set({Mode::HomeElsewhere, 1, INT_MAX, 0, elsewhere.Url()});
    caldav::Connection connection = server_.Account(proxy.Url());
    connection.user = "alice";
    connection.password = "secret";
    const caldav::Discovery home = DiscoverOver(connection);
    const bool authenticated = server_.ServerKind() == Kind::Radicale;
    EXPECT_EQ(home.error.failure, authenticated ? Failure::Withheld : Failure::None);
    EXPECT_EQ(home.calendars.empty(), authenticated);
    EXPECT_GT(elsewhere.Requests(), 0);
    for (const QByteArray& head : elsewhere.Heads())
        EXPECT_FALSE(head.toLower().contains("authorization")) << head.toStdString();

    connection.confirmed = {elsewhere.Url(calendar_.path())};
    const caldav::Discovery confirmed = DiscoverOver(connection);
    EXPECT_FALSE(confirmed.error) << Message(confirmed.error).toStdString();
    EXPECT_TRUE(
        std::any_of(confirmed.calendars.begin(), confirmed.calendars.end(),
                    [&](const auto& c) { return c.url == elsewhere.Url(calendar_.path()); }));
}

// Digest when the server asks for it; a total deadline for an answer that trickles; a request
// abandoned at once when its caller stops.
TEST_P(FaultTest, DigestATrickleAndACallerThatStops)
{
    FaultProxy proxy(server_.Port());
    proxy.Set({Mode::DigestOnly});
    caldav::Connection connection = server_.Account(proxy.Url());
    connection.user = "alice";
    connection.password = "secret";
    DavClient digest(connection);
    EXPECT_FALSE(caldav::Discover(digest).error);
    const QUrl url = ProxiedCalendar(proxy).resolved(QUrl("d.ics"));
    EXPECT_FALSE(digest
                     .Put(url, EventText("d", "DTSTART:20260102T100000Z\r\n"),
                          caldav::Precondition::IfNoneMatch)
                     .error);
    EXPECT_EQ(digest.Get(url).status, 200);
    connection.password = "wrong";
    EXPECT_EQ(DiscoverOver(connection).error.failure, Failure::WrongPassword);

    proxy.Set({Mode::Trickle, 1, INT_MAX, 50});
    connection = server_.Account(proxy.Url());
    connection.timeoutMs = 400;
    connection.deadlineMs = 1200;
    EXPECT_EQ(DiscoverOver(connection).error.failure, Failure::TimedOut);

    proxy.Set({Mode::Stall});
    std::atomic<bool> arrived{false};
    proxy.OnArrived([&](int) { arrived = true; });
    connection.timeoutMs = connection.deadlineMs = 600000;
    connection.carryOn = [&] { return !arrived; };
    const caldav::Discovery stopped = DiscoverOver(connection);
    EXPECT_EQ(stopped.error.failure, Failure::Cancelled);
    proxy.OnArrived({});
}

INSTANTIATE_TEST_SUITE_P(Servers, FaultTest, ::testing::Values(Kind::Radicale, Kind::Xandikos),
                         [](const auto& info) { return std::string(DavServer::Name(info.param)); });

TEST(DavClient, RefusesAnUntrustedCertificate)
{
    DavServer server(Kind::Radicale, true);
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    caldav::Connection connection = server.Account();
    DavClient untrusted(connection);
    const caldav::Discovery refused = caldav::Discover(untrusted);
    EXPECT_EQ(refused.error.failure, Failure::CertificateRefused);
    EXPECT_EQ(QString::fromLatin1(refused.error.fingerprint), server.Fingerprint());
    EXPECT_TRUE(Message(refused.error).contains("127.0.0.1"));
    EXPECT_TRUE(Message(refused.error).contains(server.Fingerprint()));

    connection.trustedFingerprints = {server.Fingerprint().toLower()};
    DavClient trusted(connection);
    const caldav::Discovery found = caldav::Discover(trusted);
    EXPECT_FALSE(found.error) << Message(found.error).toStdString();
    EXPECT_EQ(found.home, server.Home());
}

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
}

TEST(DavClient, NobodyListeningIsUnreachable)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    caldav::Connection connection;
    connection.server = QUrl(QString("http://127.0.0.1:%1/").arg(probe.serverPort()));
    probe.close();
    DavClient client(connection);
    EXPECT_EQ(caldav::Discover(client).error.failure, Failure::Unreachable);
}

TEST(DavXml, AddressesAndAnswersThatAreNoMultistatus)
{
    EXPECT_EQ(caldav::ServerAddress(" example.org/dav/ "), QUrl("https://example.org/dav/"));
    EXPECT_EQ(caldav::ServerAddress("http://h:5232/"), QUrl("http://h:5232/"));
    EXPECT_EQ(caldav::HrefPath("https://h:1/a%20b/c.ics", QUrl("https://h:1/")), "/a%20b/c.ics");
    EXPECT_EQ(caldav::HrefPath("c.ics", QUrl("https://h/cal/")), "/cal/c.ics");
    EXPECT_TRUE(caldav::SameHref("/cal/a%20b/", "/cal/a b"));
    EXPECT_FALSE(caldav::SameHref("/cal/a", "/cal/b"));
    // Redirects: within one origin only, and a drop from https to http named as such.
    using caldav::Redirect;
    const struct {
        const char* from;
        const char* to;
        Redirect taken;
    } redirects[] = {{"https://h/dav/", "https://H:443/cal/", Redirect::Follow},
                     {"https://h/dav/", "http://h/dav/", Redirect::Plain},
                     {"https://h/dav/", "http://other/dav/", Redirect::Plain},
                     {"https://h/dav/", "https://h:8443/dav/", Redirect::Elsewhere},
                     {"http://h/dav/", "https://h/dav/", Redirect::Elsewhere},
                     {"http://h/dav/", "http://other/dav/", Redirect::Elsewhere}};
    for (const auto& r : redirects)
        EXPECT_EQ(caldav::RedirectFrom(QUrl(r.from), QUrl(r.to)), r.taken) << r.from << r.to;
    for (const char* xml : {"", "not xml", "<html><body>Login</body></html>",
                            "<multistatus xmlns=\"DAV:\"><response><href>/a</href>",
                            "<multistatus xmlns=\"DAV:\"></multistatus><extra/>",
                            "<multistatus xmlns=\"urn:other\"></multistatus>"}) {
        EXPECT_FALSE(caldav::ParseMultistatus(xml).valid) << xml;
    }
    EXPECT_TRUE(caldav::ParseMultistatus("<D:multistatus xmlns:D=\"DAV:\"/>").valid);
    // Nesting past what any DAV answer needs is refused before a reader holds its levels: 8 M
    // levels would take well over a gigabyte.
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

// The principal's calendar-user-address-set comes with its home set, every href of it.
TEST(DavXml, ThePrincipalsAddressesAreRead)
{
    const caldav::Multistatus answer = caldav::ParseMultistatus(
        "<D:multistatus xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
        "<D:response><D:href>/p/me/</D:href><D:propstat><D:prop>"
        "<C:calendar-home-set><D:href>/cal/me/</D:href></C:calendar-home-set>"
        "<C:calendar-user-address-set><D:href>mailto:me@example.com</D:href>"
        "<D:href> /p/me/ </D:href><D:href></D:href></C:calendar-user-address-set>"
        "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>"
        "</D:multistatus>");
    ASSERT_TRUE(answer.valid && answer.entries.size() == 1);
    EXPECT_EQ(answer.entries[0].props.homeSet, "/cal/me/");
    EXPECT_EQ(answer.entries[0].props.addresses, QStringList({"mailto:me@example.com", "/p/me/"}));
    EXPECT_TRUE(caldav::HomeSetQuery().contains("calendar-user-address-set"));
}
