// Every request goes to the calendar's own URL (its host may not be the account's). A resource
// the server refuses (a 4xx that is no precondition of ours) is one item's matter: it stays
// here, to push, and is reported by every round until it is taken; the others go on.
#include "sync/round_push.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QUrl>
#include <QUuid>
#include <algorithm>
#include <optional>
#include <set>

#include "res/string_table.h"
#include "sync/calendar_collection.h"
#include "sync/conflict_copy.h"
#include "sync/resource_text.h"
#include "sync/round_apply.h"

namespace caldav {
namespace {

using CalendarUid = std::pair<std::wstring, std::wstring>;

// A resource is pushed where it is; a new item to the collection of its calendar (none for a
// local calendar, whose items stay here).
std::wstring CalendarFor(const pim::SyncLink& link)
{
    return link.href.empty() ? link.target : link.calendar;
}

// A name of our own for a new resource: the UID where it is plain (a slash or other escape in
// it is refused by some servers), else a hash of it, so a retry after a lost answer meets the
// same resource.
QString NewResourceName(const std::wstring& uid)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]{0,99}$"));
    const QString text = QString::fromStdWString(uid);
    if (plain.match(text).hasMatch()) {
        return text + QLatin1String(".ics");
    }
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(40)) + QLatin1String(".ics");
}

QUrl NewResourceUrl(const std::wstring& calendar, const QString& name)
{
    QString base = QString::fromStdWString(calendar);
    if (!base.endsWith(u'/')) {
        base += u'/';
    }
    return QUrl(base + name, QUrl::StrictMode);
}

SyncError Unexpected(const DavResponse& answer, const std::wstring& calendar)
{
    return answer.error ? answer.error
                        : ServerFailure(Failure::ServerError,
                                        HostOf(QUrl(QString::fromStdWString(calendar))),
                                        QString::number(answer.status));
}

// A refusal of this one resource, not trouble of the server's: the round goes on without it.
bool RefusedAlone(const DavResponse& answer)
{
    const int status = answer.status;
    const bool serverTrouble = status == 401 || status == 407 || status == 408 || status == 429;
    const bool transport = answer.error && answer.error.failure != Failure::ServerError;
    return !transport && status >= 400 && status < 500 && !serverTrouble;
}

// The server's reason in a few words: the status, its words and the precondition it named.
std::wstring ReasonOf(const DavResponse& answer)
{
    static const QRegularExpression precondition(
        QStringLiteral("<(\\w+:)?error\\b[^>]*>\\s*<(\\w+:)?([\\w.-]+)"));
    QString reason = QString::number(answer.status);
    if (!answer.reason.isEmpty()) {
        reason += QLatin1Char(' ') + answer.reason;
    }
    const QString body = QString::fromUtf8(answer.body.left(4096));
    if (const QRegularExpressionMatch m = precondition.match(body); m.hasMatch()) {
        reason += QLatin1String(", ") + m.captured(3);
    } else if (const QString line = body.trimmed().section(u'\n', 0, 0).trimmed();
               !line.isEmpty() && line.size() <= 200 && !line.startsWith(u'<')) {
        reason += QLatin1String(", ") + line;
    }
    return reason.toStdWString();
}

void NoteRefusal(RoundContext& round, int sentence, const std::wstring& calendar,
                 const std::wstring& what, const DavResponse& answer)
{
    ++round.report.refused;
    const QString host = HostOf(QUrl(QString::fromStdWString(calendar)));
    round.report.notes.push_back(
        FilledText(sentence, {host.toStdWString(), what, ReasonOf(answer)}));
}

bool DeleteThere(RoundContext& round, const pim::SyncTombstone& t)
{
    const DavResponse answer = round.client.Delete(
        ResourceUrl(QString::fromStdWString(t.calendar), QString::fromStdWString(t.href)),
        QString::fromStdWString(t.etag).toLatin1());
    // 404: gone already; 412: changed there, and the next pull brings the edit back.
    const bool settled = (answer.status >= 200 && answer.status < 300) || answer.status == 404 ||
                         answer.status == 412;
    if (!settled && RefusedAlone(answer)) {
        NoteRefusal(round, res::IDS_SYNC_NOTE_DELETE_REFUSED, t.calendar, t.href, answer);
        return true;
    }
    if (!settled) {
        return !round.Failed(Unexpected(answer, t.calendar));
    }
    if (answer.status < 300) {
        ++round.report.deletedThere;
    }
    round.report.storeChanged = true;
    return round.Stored(round.ledger.DropTombstone(t.calendar, t.href));
}

// The server's version at `href`, or nothing (gone, or the round's error set).
std::optional<Resource> Fetched(RoundContext& round, const std::wstring& calendar,
                                const std::wstring& href)
{
    SyncError error;
    std::vector<Resource> resources =
        FetchResources(round.client, QUrl(QString::fromStdWString(calendar)),
                       {QString::fromStdWString(href)}, error);
    if (round.Failed(error) || resources.empty() || resources.front().missing) {
        return std::nullopt;
    }
    return std::move(resources.front());
}

// Whether the resource there is another item than ours: a name taken by someone else.
bool OtherItem(const Resource& there, const pim::StoredItem& ours, const SYSTEMTIME& now)
{
    const ResourceItem read = ReadResource(there.calendarData, now);
    return !read.item || read.item->fields.UID != ours.fields.UID;
}

// The server holds another version than the one our PUT expected: take it, and keep ours as a
// conflict copy unless both say the same.
bool Refused(RoundContext& round, const pim::SyncLink& link, const std::wstring& calendar,
             const std::wstring& href, const std::optional<Resource>& there)
{
    if (round.report.error) {
        return false;
    }
    LocalState local;
    pim::SyncLink asLinked = link;
    asLinked.calendar = calendar;
    asLinked.href = href;
    local.byHref.emplace(HrefKey(href), asLinked);
    RoundApply apply(round, calendar, local);
    const int32_t status = round.db.RunInOneTransaction(
        [&]() -> int32_t { return there ? apply.Changed(*there) : apply.Removed(href); });
    return round.Stored(status);
}

// `restoring`: the tombstone of a deleted item this one restores, PUT over its resource.
bool PutHere(RoundContext& round, const pim::SyncLink& link, const std::wstring& calendar,
             const pim::SyncTombstone* restoring)
{
    pim::StoredItem item;
    if (!round.Load(link, item)) {
        return !round.report.error;
    }
    std::wstring href = restoring != nullptr ? restoring->href : link.href;
    const std::wstring etag = restoring != nullptr ? restoring->etag : link.etag;
    const bool created = href.empty();
    const Precondition precondition = created ? Precondition::IfNoneMatch : Precondition::IfMatch;
    const QByteArray text = ResourceText(item, round.options.now);
    QUrl url = created
                   ? NewResourceUrl(calendar, NewResourceName(item.fields.UID))
                   : ResourceUrl(QString::fromStdWString(calendar), QString::fromStdWString(href));
    DavResponse answer =
        round.client.Put(url, text, precondition, QString::fromStdWString(etag).toLatin1());
    std::optional<Resource> there;
    if (created && answer.status == 412) {
        // The name is taken: by this item (a retry after a lost answer), or by another one,
        // which must not be taken for ours; then a name that cannot be taken.
        there = Fetched(round, calendar, url.path(QUrl::FullyEncoded).toStdWString());
        if (round.report.error) {
            return false;
        }
        if (there && OtherItem(*there, item, round.options.now)) {
            url = NewResourceUrl(calendar, QUuid::createUuid().toString(QUuid::WithoutBraces) +
                                               QLatin1String(".ics"));
            answer = round.client.Put(url, text, precondition);
            there.reset();
        }
    }
    if (created) {
        href = url.path(QUrl::FullyEncoded).toStdWString();
    }
    const bool done = answer.status >= 200 && answer.status < 300;
    if (!done && answer.status != 412) {
        if (!RefusedAlone(answer)) {
            return !round.Failed(Unexpected(answer, calendar));
        }
        const std::wstring subject =
            item.fields.Subject.empty() ? item.fields.UID : item.fields.Subject;
        NoteRefusal(round, res::IDS_SYNC_NOTE_REFUSED, calendar, subject, answer);
        return true;
    }
    if (done) {
        ++round.report.sent;
        round.report.storeChanged = true;
    }
    if (restoring != nullptr &&
        !round.Stored(round.ledger.DropTombstone(calendar, restoring->href))) {
        return false;
    }
    if (!done) {
        if (!there) {
            there = Fetched(round, calendar, href);
        }
        return Refused(round, link, calendar, href, there);
    }
    return round.Stored(round.ledger.MarkPushed(
        link.oid, calendar, href, QString::fromLatin1(answer.etag).toStdWString(), link.change));
}

} // namespace

// The UIDs of items still to be created on a server: a move from one server calendar to
// another leaves the old resource's tombstone waiting for these.
std::set<std::wstring> NotYetThere(const std::vector<pim::SyncLink>& links)
{
    std::set<std::wstring> uids;
    for (const pim::SyncLink& link : links) {
        if (link.href.empty() && !link.target.empty() && !link.conflict) {
            uids.insert(link.uid);
        }
    }
    return uids;
}

// PUTs first, DELETEs after: an item moved between server calendars is deleted from the old
// one only once the new one holds it (in this round, or in a round of its own account), so a
// failure midway leaves two copies, never none. One moved into a local calendar is safe here
// already (the move and its tombstone were one transaction) and is deleted there at once.
bool PushChanges(RoundContext& round)
{
    std::vector<pim::SyncLink> links;
    std::vector<pim::SyncTombstone> tombstones;
    if (!round.Stored(round.ledger.Links(links)) ||
        !round.Stored(round.ledger.Tombstones(tombstones))) {
        return false;
    }
    const std::vector<std::wstring> calendars = round.Calendars();
    const auto ours = [&](const std::wstring& calendar) {
        return std::find(calendars.begin(), calendars.end(), calendar) != calendars.end();
    };
    // A new item under a deleted one's UID is that item restored: it goes over it.
    std::map<CalendarUid, pim::SyncTombstone> restored;
    for (const pim::SyncTombstone& t : tombstones) {
        restored.emplace(CalendarUid{t.calendar, t.uid}, t);
    }
    std::set<CalendarUid> reused;
    for (const pim::SyncLink& link : links) {
        const CalendarUid at{CalendarFor(link), link.uid};
        if (link.href.empty() && !link.conflict && link.Dirty() && restored.contains(at)) {
            reused.insert(at);
        }
    }
    for (const pim::SyncLink& link : links) {
        if (!round.Going()) {
            return false;
        }
        const std::wstring calendar = CalendarFor(link);
        if (link.conflict || !link.Dirty() || calendar.empty() || !ours(calendar)) {
            continue;
        }
        const pim::SyncTombstone* tomb = nullptr;
        if (const auto t = restored.find({calendar, link.uid});
            link.href.empty() && t != restored.end()) {
            tomb = &t->second;
        }
        if (!PutHere(round, link, calendar, tomb)) {
            return false;
        }
    }
    if (!round.Stored(round.ledger.Links(links))) {
        return false;
    }
    const std::set<std::wstring> waiting = NotYetThere(links);
    for (const pim::SyncTombstone& t : tombstones) {
        if (!round.Going()) {
            return false;
        }
        const bool moving = !t.uid.empty() && waiting.contains(t.uid);
        if (ours(t.calendar) && !reused.contains({t.calendar, t.uid}) && !moving &&
            !DeleteThere(round, t)) {
            return false;
        }
    }
    return true;
}

} // namespace caldav
