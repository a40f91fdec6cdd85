// The XML of WebDAV and CalDAV: the bodies of the requests the sync sends, and a reader of the
// multistatus answers that keeps, per response, the href, the status and the properties asked.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

namespace caldav {

QByteArray PrincipalQuery();
// The principal's calendar home set and its calendar user addresses (RFC 6638).
QByteArray HomeSetQuery();
// Name, colour, components, reports, CTag and sync token of the collections of a home.
QByteArray CalendarsQuery();
// The etag of each resource and the collection's CTag.
QByteArray EtagsQuery();
QByteArray SyncCollectionQuery(const QString& token);
QByteArray MultigetQuery(const std::vector<QString>& hrefs);
QByteArray MakeCalendarBody(const QString& displayName, const QStringList& components,
                            const QString& color);

// The properties of one response that came with a 2xx propstat; the others stay empty.
struct DavProps {
    QByteArray etag;
    QString displayName;
    QString color;
    QStringList components; // empty when the server did not say: then every component is
    bool collection = false;
    bool calendar = false;
    bool syncCollection = false; // the sync-collection report is among the supported ones
    bool privileges = false;     // current-user-privilege-set came
    bool writeContent = false;   // and grants write-content (or write, or all)
    QString ctag;
    QString syncToken;
    QByteArray calendarData;
    QString principal;     // href of current-user-principal
    QString homeSet;       // first href of calendar-home-set
    QStringList addresses; // every href of calendar-user-address-set ("mailto:...")
};

struct DavEntry {
    QString href;   // absolute path, spelled as the server gave it
    int status = 0; // the response's own status (404 for a removed resource), else 200
    DavProps props;
};

struct Multistatus {
    bool valid = false; // false: not well-formed XML, not a DAV multistatus, or too deep
    QString syncToken;  // the top-level sync-token of a sync-collection answer
    std::vector<DavEntry> entries;
};

Multistatus ParseMultistatus(const QByteArray& xml);

// An href as an absolute path: a full URL loses its scheme and host, a relative one is taken
// against `base`; the percent-encoding stays the server's.
QString HrefPath(const QString& href, const QUrl& base);
// Whether two hrefs name the same resource: compared decoded, a trailing slash aside.
bool SameHref(const QString& a, const QString& b);
// The form SameHref compares: equal for exactly the hrefs it takes as the same.
QString ComparedHref(const QString& href);

} // namespace caldav
