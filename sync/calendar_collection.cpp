// The conversations of a round with one account: each is a few PROPFINDs or REPORTs whose
// multistatus answers become plain values; any failure ends the conversation with its error.
#include "sync/calendar_collection.h"

#include <QHash>

#include <algorithm>

#include "sync/dav_xml.h"

namespace caldav {
namespace {

// Hrefs asked for in one multiget: few round trips, and a request body of some tens of
// kilobytes, which servers take.
constexpr size_t kMultigetBatch = 500;

// The answer's multistatus, or its error (an answer that is no multistatus, or names an ETag
// that could never be sent back as a header, is Malformed).
Multistatus Read(const DavResponse& response, SyncError& error)
{
    if (response.error) {
        error = response.error;
        return {};
    }
    Multistatus answer = ParseMultistatus(response.body);
    const bool etags = std::all_of(answer.entries.begin(), answer.entries.end(),
                                   [](const DavEntry& e) { return UsableEtag(e.props.etag); });
    if (!answer.valid || !etags) {
        error = ServerFailure(Failure::Malformed, HostOf(response.url));
        return {};
    }
    return answer;
}

// The path's segments, each decoded on its own (an escaped slash stays inside its segment);
// a trailing slash aside.
QStringList Segments(const QString& path)
{
    QStringList segments = path.split(QLatin1Char('/'));
    if (!segments.isEmpty() && segments.back().isEmpty()) {
        segments.removeLast();
    }
    for (QString& segment : segments) {
        segment = QUrl::fromPercentEncoding(segment.toUtf8());
    }
    return segments;
}

// The entry about the requested resource itself (a Depth 0 answer may name it a little
// differently than the request did), else the first.
const DavEntry* Self(const Multistatus& answer, const QUrl& url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    for (const DavEntry& entry : answer.entries) {
        if (SameHref(HrefPath(entry.href, url), path)) {
            return &entry;
        }
    }
    return answer.entries.empty() ? nullptr : &answer.entries.front();
}

// A collection deleted on the server answers every request about itself so.
bool Gone(const DavResponse& response)
{
    return response.status == 404 || response.status == 410;
}

QUrl At(const DavResponse& response, const QString& href)
{
    return response.url.resolved(QUrl(href));
}

// The principal named by the first of these that names one.
QUrl FindPrincipal(DavClient& client, const std::vector<QUrl>& starts, SyncError& error)
{
    for (const QUrl& start : starts) {
        const DavResponse response = client.Propfind(start, 0, PrincipalQuery());
        if (response.error && response.error.failure != Failure::ServerError) {
            error = response.error;
            return {};
        }
        const Multistatus answer = ParseMultistatus(response.body);
        if (const DavEntry* self = Self(answer, response.url);
            !response.error && self != nullptr && !self->props.principal.isEmpty()) {
            return At(response, self->props.principal);
        }
        error = response.error ? response.error : ServerFailure(Failure::Malformed, HostOf(start));
    }
    return {};
}

RemoteCalendar CalendarOf(const DavResponse& response, const DavEntry& entry)
{
    const DavProps& props = entry.props;
    RemoteCalendar calendar;
    calendar.url = At(response, entry.href);
    calendar.name = props.displayName.isEmpty()
                        ? calendar.url.path().section(QLatin1Char('/'), -2, -2)
                        : props.displayName;
    calendar.color = props.color;
    // A calendar that does not list its components takes them all.
    calendar.events = props.components.isEmpty() || props.components.contains("VEVENT");
    calendar.tasks = props.components.isEmpty() || props.components.contains("VTODO");
    calendar.syncCollection = props.syncCollection;
    // A server that does not say what the user may do lets a write show it.
    calendar.writable = !props.privileges || props.writeContent;
    calendar.ctag = props.ctag;
    calendar.syncToken = props.syncToken;
    return calendar;
}

} // namespace

pim::Calendar StoreCalendarOf(const RemoteCalendar& remote)
{
    pim::Calendar c;
    c.name = (remote.name.isEmpty() ? remote.url.path() : remote.name).toStdWString();
    c.kind = pim::CalendarKind::Collection;
    c.url = remote.url.toString().toStdWString();
    c.events = remote.events;
    c.tasks = remote.tasks;
    c.readOnly = !remote.writable;
    // "#RRGGBB" or "#RRGGBBAA" (the alpha is not ours to keep).
    const QString hex = remote.color.trimmed();
    bool ok = false;
    const uint rgb = hex.mid(1, 6).toUInt(&ok, 16);
    if (ok && hex.startsWith(u'#') && (hex.size() == 7 || hex.size() == 9)) {
        c.colour = (rgb >> 16 & 0xFFU) | (rgb & 0xFF00U) | (rgb & 0xFFU) << 16;
    }
    return c;
}

bool InsideCollection(const QString& href, const QUrl& collection)
{
    const QStringList inner = Segments(href);
    const QStringList outer = Segments(collection.path(QUrl::FullyEncoded));
    const bool dots = std::any_of(inner.begin(), inner.end(), [](const QString& s) {
        return s == QLatin1String(".") || s == QLatin1String("..");
    });
    return !dots && inner.size() == outer.size() + 1 && !inner.back().isEmpty() &&
           std::equal(outer.begin(), outer.end(), inner.begin());
}

QUrl ResourceUrl(const QString& calendar, const QString& href)
{
    return QUrl(calendar).resolved(QUrl(href));
}

Discovery Discover(DavClient& client)
{
    Discovery found;
    const QUrl server = client.Settings().server;
    const QUrl wellKnown = server.resolved(QUrl(QStringLiteral("/.well-known/caldav")));
    // An address with a path of its own is asked first, a bare host after the well-known.
    std::vector<QUrl> starts{wellKnown, server};
    if (server.path().size() > 1) {
        std::swap(starts[0], starts[1]);
    }
    found.principal = FindPrincipal(client, starts, found.error);
    if (found.error && found.principal.isEmpty()) {
        return found;
    }
    found.error = {};

    const DavResponse homeResponse = client.Propfind(found.principal, 0, HomeSetQuery());
    const Multistatus homeAnswer = Read(homeResponse, found.error);
    const DavEntry* principal = Self(homeAnswer, homeResponse.url);
    if (found.error) {
        return found;
    }
    if (principal == nullptr || principal->props.homeSet.isEmpty()) {
        found.error = ServerFailure(Failure::Malformed, HostOf(homeResponse.url));
        return found;
    }
    found.home = At(homeResponse, principal->props.homeSet);
    found.addresses = principal->props.addresses;

    const DavResponse listing = client.Propfind(found.home, 1, CalendarsQuery());
    const Multistatus calendars = Read(listing, found.error);
    for (const DavEntry& entry : calendars.entries) {
        if (entry.status < 300 && entry.props.calendar) {
            found.calendars.push_back(CalendarOf(listing, entry));
        }
    }
    return found;
}

CollectionChanges ChangesSince(DavClient& client, const QUrl& calendar, const QString& token)
{
    CollectionChanges changes;
    const DavResponse response = client.Report(calendar, 0, SyncCollectionQuery(token));
    const int status = response.status;
    if (Gone(response)) {
        changes.gone = true;
        return changes;
    }
    if (response.error.failure == Failure::ServerError) {
        // 403/409 name an unknown token; some servers fail with a 5xx instead. Listing the
        // etags then is always right, and reports the error itself if the server is down.
        if (!token.isEmpty() && (status == 403 || status == 409 || status >= 500)) {
            changes.tokenRefused = true;
            return changes;
        }
        if (status == 400 || status == 403 || status == 405 || status == 415 || status == 501) {
            changes.unsupported = true;
            return changes;
        }
    }
    const Multistatus answer = Read(response, changes.error);
    if (changes.error) {
        return changes;
    }
    // An answer without a token is no sync-collection answer (a server that ignores the
    // report): taken as one, its empty list would delete every item.
    if (answer.syncToken.isEmpty()) {
        changes.unsupported = true;
        return changes;
    }
    changes.token = answer.syncToken;
    const QString self = calendar.path(QUrl::FullyEncoded);
    for (const DavEntry& entry : answer.entries) {
        const QString href = HrefPath(entry.href, response.url);
        if (SameHref(href, self)) {
            // RFC 6578 marks an answer cut short by a 507 for the collection itself.
            changes.truncated = entry.status == 507;
            continue;
        }
        if (!InsideCollection(href, calendar)) {
            continue;
        }
        if (entry.status == 404) {
            changes.removed.push_back(href);
        } else if (entry.status < 300 && !entry.props.collection) {
            changes.changed.push_back({href, entry.props.etag});
        }
    }
    return changes;
}

CollectionListing ListResources(DavClient& client, const QUrl& calendar)
{
    CollectionListing listing;
    const DavResponse response = client.Propfind(calendar, 1, EtagsQuery());
    listing.gone = Gone(response);
    if (listing.gone) {
        return listing;
    }
    const Multistatus answer = Read(response, listing.error);
    const QString self = calendar.path(QUrl::FullyEncoded);
    for (const DavEntry& entry : answer.entries) {
        const QString href = HrefPath(entry.href, response.url);
        if (SameHref(href, self)) {
            listing.ctag = entry.props.ctag;
        } else if (entry.status < 300 && !entry.props.collection &&
                   InsideCollection(href, calendar)) {
            listing.resources.push_back({href, entry.props.etag});
        }
    }
    return listing;
}

std::vector<Resource> FetchResources(DavClient& client, const QUrl& calendar,
                                     const std::vector<QString>& hrefs, SyncError& error)
{
    std::vector<Resource> resources;
    for (size_t first = 0; first < hrefs.size(); first += kMultigetBatch) {
        const std::vector<QString> batch(
            hrefs.begin() + static_cast<std::ptrdiff_t>(first),
            hrefs.begin() +
                static_cast<std::ptrdiff_t>(std::min(first + kMultigetBatch, hrefs.size())));
        QHash<QString, size_t> askedAt; // each asked href by the form answers are matched in
        for (size_t i = 0; i < batch.size(); ++i) {
            const QString key = ComparedHref(batch[i]);
            if (!askedAt.contains(key)) { // the first spelling answers
                askedAt.insert(key, i);
            }
        }
        const DavResponse response = client.Report(calendar, 1, MultigetQuery(batch));
        const Multistatus answer = Read(response, error);
        if (error) {
            return resources;
        }
        for (const DavEntry& entry : answer.entries) {
            // Answered in the caller's spelling, so it can match what it asked for; what it
            // did not ask for is no answer.
            const auto asked = askedAt.constFind(ComparedHref(HrefPath(entry.href, response.url)));
            if (asked == askedAt.constEnd()) {
                continue;
            }
            Resource resource{batch[*asked], entry.props.etag, entry.props.calendarData,
                              entry.status == 404};
            if (resource.missing || !resource.calendarData.isEmpty()) {
                resources.push_back(std::move(resource));
            }
        }
    }
    return resources;
}

} // namespace caldav
