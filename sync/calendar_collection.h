// The CalDAV conversations a round is made of: discovery of an account's calendars (RFC 6764,
// RFC 4791), the changes of a collection since a sync token (RFC 6578) or by its etags, and
// fetching resources by href (calendar-multiget).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

#include "platform/pim/store_calendars.h"
#include "sync/dav_client.h"

namespace caldav {

struct RemoteCalendar {
    QUrl url;
    QString name;
    QString color;               // as the server gives it, often #RRGGBB or #RRGGBBAA; may be empty
    bool events = false;         // supports VEVENT
    bool tasks = false;          // supports VTODO
    bool syncCollection = false; // offers the sync-collection report
    bool writable = true;        // the user may write its content (DAV:current-user-privilege-set)
    QString ctag;
    QString syncToken;
};

struct Discovery {
    QUrl principal;
    QUrl home;
    QStringList addresses; // the principal's calendar-user-address-set: the user's own

    std::vector<RemoteCalendar> calendars;
    SyncError error;
};

// The calendar the store keeps for a collection: its name, the server's colour (the store's
// own when it gives none or one it cannot read), its kinds and whether it may be written.
pim::Calendar StoreCalendarOf(const RemoteCalendar& remote);

// Whether an href names a resource right inside the collection: no "..", no other collection.
bool InsideCollection(const QString& href, const QUrl& collection);
// A resource's href (an absolute path) as a URL on its calendar's own host.
QUrl ResourceUrl(const QString& calendar, const QString& href);

// From the connection's server address: /.well-known/caldav, the current-user-principal, its
// calendar home set and calendar user addresses, and the calendars there.
Discovery Discover(DavClient& client);

struct ResourceState {
    QString href; // absolute path, as the server spells it
    QByteArray etag;
};

struct CollectionChanges {
    QString token; // the collection's new sync token
    std::vector<ResourceState> changed;
    std::vector<QString> removed;
    bool tokenRefused = false; // the server no longer knows the token: list the etags instead
    bool unsupported = false;  // no sync-collection here: list the etags instead
    bool truncated = false;    // the server cut the answer short: the rest follows from `token`
    bool gone = false;         // the collection is no more (404 or 410)
    SyncError error;
};

// Changes since `token` (empty: everything there is).
CollectionChanges ChangesSince(DavClient& client, const QUrl& calendar, const QString& token);

struct CollectionListing {
    QString ctag;
    std::vector<ResourceState> resources;
    bool gone = false; // as for CollectionChanges
    SyncError error;
};

// Every resource of the collection with its etag, and the collection's CTag.
CollectionListing ListResources(DavClient& client, const QUrl& calendar);

struct Resource {
    QString href;
    QByteArray etag;
    QByteArray calendarData;
    bool missing = false; // 404 in the multistatus: gone meanwhile
};

// The resources with their calendar data, asked for in batches.
std::vector<Resource> FetchResources(DavClient& client, const QUrl& calendar,
                                     const std::vector<QString>& hrefs, SyncError& error);

} // namespace caldav
