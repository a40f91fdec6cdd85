// The CalDAV conversations against real Radicale and Xandikos servers: discovery, conditional
// writes, changes by sync token, listings and multiget, and every failure a server or the
// network can cause, seen through the fault proxy.
#include "sync/calendar_collection.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <algorithm>

#include "sync/dav_xml.h"
#include "tests/sync/dav_server.h"
#include "tests/sync/fault_proxy.h"

using caldav::DavClient;
using caldav::Failure;
using caldav::Precondition;
using Kind = DavServer::Kind;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray Event(const QString& uid, const QString& summary)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tamberlo tests//EN\r\n"
                          "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20260101T000000Z\r\n"
                          "DTSTART:20260102T100000Z\r\nDTEND:20260102T110000Z\r\nSUMMARY:%2\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(uid, summary)
        .toUtf8();
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

class CollectionTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<DavServer>(GetParam());
        ASSERT_TRUE(server_->Running()) << server_->Problem().toStdString();
        calendar_ = server_->MakeCalendar("work", "Work");
        ASSERT_FALSE(calendar_.isEmpty());
    }
    QUrl At(const QString& name) const { return calendar_.resolved(QUrl(name)); }
    QString Path(const QString& name) const { return At(name).path(QUrl::FullyEncoded); }

    std::unique_ptr<DavServer> server_;
    QUrl calendar_;
};

TEST_P(CollectionTest, DiscoversThePrincipalTheHomeAndItsCalendars)
{
    ASSERT_FALSE(server_->MakeCalendar("chores", "Chores", {"VTODO"}, "#FF8800FF").isEmpty());
    DavClient client(server_->Account());
    const caldav::Discovery found = caldav::Discover(client);
    ASSERT_FALSE(found.error) << QString::fromStdWString(found.error.message).toStdString();
    EXPECT_EQ(found.principal, server_->Url("/alice/"));
    EXPECT_EQ(found.home, server_->Home());
    const caldav::RemoteCalendar* work = Named(found, "Work");
    const caldav::RemoteCalendar* chores = Named(found, "Chores");
    ASSERT_TRUE(work != nullptr && chores != nullptr);
    EXPECT_EQ(work->url, calendar_);
    EXPECT_TRUE(work->events && work->tasks && work->syncCollection);
    EXPECT_FALSE(work->ctag.isEmpty() || work->syncToken.isEmpty());
    // Xandikos makes every calendar with all components and ignores a colour asked for.
    const bool radicale = GetParam() == Kind::Radicale;
    EXPECT_EQ(chores->events, !radicale);
    EXPECT_TRUE(chores->tasks);
    EXPECT_EQ(chores->color, radicale ? QString("#FF8800FF") : QString());
    // Radicale names the principal itself as the user's address; Xandikos names none.
    EXPECT_EQ(found.addresses, radicale ? QStringList{"/alice/"} : QStringList{});
}

TEST_P(CollectionTest, WritesOnlyOverTheVersionTheyName)
{
    DavClient client(server_->Account());
    const caldav::DavResponse created =
        client.Put(At("a.ics"), Event("a", "One"), Precondition::IfNoneMatch);
    EXPECT_EQ(created.status, 201);
    ASSERT_FALSE(created.error);
    ASSERT_TRUE(created.etag.startsWith('"'));
    const caldav::DavResponse again =
        client.Put(At("a.ics"), Event("a", "Two"), Precondition::IfNoneMatch);
    EXPECT_EQ(again.status, 412);
    EXPECT_FALSE(again.error);
    EXPECT_EQ(client.Put(At("a.ics"), Event("a", "Two"), Precondition::IfMatch, "\"stale\"").status,
              412);
    const caldav::DavResponse changed =
        client.Put(At("a.ics"), Event("a", "Two"), Precondition::IfMatch, created.etag);
    EXPECT_TRUE(changed.status >= 200 && changed.status < 300);
    EXPECT_NE(changed.etag, created.etag);
    EXPECT_TRUE(client.Get(At("a.ics")).body.contains("SUMMARY:Two"));

    EXPECT_EQ(client.Delete(At("a.ics"), created.etag).status, 412);
    const caldav::DavResponse deleted = client.Delete(At("a.ics"), changed.etag);
    EXPECT_TRUE(deleted.status >= 200 && deleted.status < 300 && !deleted.error);
    EXPECT_EQ(client.Delete(At("a.ics"), changed.etag).status, 404);
    EXPECT_EQ(client.Get(At("a.ics")).status, 404);
    EXPECT_EQ(client.WriteCount(), 7);
}

TEST_P(CollectionTest, ReportsChangesListingsAndResources)
{
    DavClient client(server_->Account());
    const QByteArray etagA =
        client.Put(At("a.ics"), Event("a", "A"), Precondition::IfNoneMatch).etag;
    const QByteArray etagB =
        client.Put(At("b.ics"), Event("b", "B"), Precondition::IfNoneMatch).etag;
    const caldav::CollectionChanges first = caldav::ChangesSince(client, calendar_, {});
    ASSERT_FALSE(first.error);
    EXPECT_EQ(Hrefs(first.changed), QStringList({Path("a.ics"), Path("b.ics")}));
    EXPECT_TRUE(first.removed.empty());

    const QByteArray etagA2 =
        client.Put(At("a.ics"), Event("a", "A2"), Precondition::IfMatch, etagA).etag;
    client.Delete(At("b.ics"), etagB);
    client.Put(At("c d.ics"), Event("c", "C"), Precondition::IfNoneMatch);
    const caldav::CollectionChanges next = caldav::ChangesSince(client, calendar_, first.token);
    ASSERT_FALSE(next.error);
    EXPECT_NE(next.token, first.token);
    EXPECT_EQ(Hrefs(next.changed), QStringList({Path("a.ics"), Path("c%20d.ics")}));
    EXPECT_EQ(next.removed, std::vector<QString>{Path("b.ics")});
    const caldav::CollectionChanges quiet = caldav::ChangesSince(client, calendar_, next.token);
    EXPECT_TRUE(quiet.changed.empty() && quiet.removed.empty() && !quiet.error);

    QString bad = next.token;
    bad.replace(bad.size() - 6, 6, "000000");
    const caldav::CollectionChanges refused = caldav::ChangesSince(client, calendar_, bad);
    EXPECT_TRUE(refused.tokenRefused);
    EXPECT_FALSE(refused.error);

    const caldav::CollectionListing listing = caldav::ListResources(client, calendar_);
    ASSERT_FALSE(listing.error);
    EXPECT_FALSE(listing.ctag.isEmpty());
    EXPECT_EQ(Hrefs(listing.resources), QStringList({Path("a.ics"), Path("c%20d.ics")}));
    EXPECT_EQ(listing.resources[0].href == Path("a.ics") ? listing.resources[0].etag
                                                         : listing.resources[1].etag,
              etagA2);

    std::vector<QString> asked{Path("a.ics"), Path("gone.ics")};
    for (int i = 0; i < 105; ++i) {
        const QString name = QStringLiteral("n%1.ics").arg(i);
        client.Put(At(name), Event(name, "N"), Precondition::IfNoneMatch);
        asked.push_back(Path(name));
    }
    caldav::SyncError error;
    const std::vector<caldav::Resource> got =
        caldav::FetchResources(client, calendar_, asked, error);
    ASSERT_FALSE(error);
    ASSERT_EQ(got.size(), asked.size());
    for (const caldav::Resource& resource : got) {
        const bool gone = resource.href == Path("gone.ics");
        EXPECT_EQ(resource.missing, gone) << resource.href.toStdString();
        EXPECT_EQ(resource.calendarData.contains("BEGIN:VEVENT"), !gone);
        if (resource.href == Path("a.ics")) {
            EXPECT_TRUE(resource.calendarData.contains("SUMMARY:A2"));
            EXPECT_EQ(resource.etag, etagA2);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, CollectionTest, ::testing::Values(Kind::Radicale, Kind::Xandikos),
                         [](const auto& info) { return std::string(DavServer::Name(info.param)); });

} // namespace
