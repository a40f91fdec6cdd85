#include "sync/round_push.h"

#include <QUrl>
#include <algorithm>
#include <set>

#include "sync/calendar_collection.h"
#include "sync/resource_text.h"
#include "sync/round_apply.h"

namespace caldav {
namespace {

using CalendarUid = std::pair<std::wstring, std::wstring>;

std::wstring CalendarFor(const pim::SyncAccount& account, const pim::SyncLink& link)
{
    if (!link.calendar.empty())
        return link.calendar;
    return link.kind == pim::kTaskKind ? account.taskCalendar : account.eventCalendar;
}

QUrl NewResourceUrl(const std::wstring& calendar, const std::wstring& uid)
{
    QString base = QString::fromStdWString(calendar);
    if (!base.endsWith(u'/'))
        base += u'/';
    const QByteArray name = QUrl::toPercentEncoding(QString::fromStdWString(uid)) + ".ics";
    return QUrl(base + QString::fromLatin1(name), QUrl::StrictMode);
}

SyncError Unexpected(const RoundContext& round, const DavResponse& answer)
{
    return answer.error ? answer.error
                        : ServerFailure(Failure::ServerError, round.client.Settings().server.host(),
                                        QString::number(answer.status));
}

bool DeleteThere(RoundContext& round, const pim::SyncTombstone& t)
{
    const DavResponse answer =
        round.client.Delete(round.client.Resolve(QString::fromStdWString(t.href)),
                            QString::fromStdWString(t.etag).toLatin1());
    // 404: gone already; 412: changed there, and the next pull brings the edit back.
    const bool settled = (answer.status >= 200 && answer.status < 300) || answer.status == 404 ||
                         answer.status == 412;
    if (!settled)
        return !round.Failed(Unexpected(round, answer));
    if (answer.status < 300)
        ++round.report.deletedThere;
    round.report.storeChanged = true;
    return round.Stored(round.ledger.DropTombstone(t.calendar, t.href));
}

// The server holds another version than the one our PUT expected: take it, and keep ours as a
// conflict copy unless both say the same.
bool Refused(RoundContext& round, const pim::SyncLink& link, const std::wstring& calendar,
             const std::wstring& href)
{
    SyncError error;
    const std::vector<Resource> resources =
        FetchResources(round.client, QUrl(QString::fromStdWString(calendar)),
                       {QString::fromStdWString(href)}, error);
    if (round.Failed(error))
        return false;
    LocalState local;
    pim::SyncLink asLinked = link;
    asLinked.calendar = calendar;
    asLinked.href = href;
    local.byHref.emplace(HrefKey(href), asLinked);
    const bool missing = resources.empty() || resources.front().missing;
    RoundApply apply(round, calendar, local);
    const int32_t status = round.db.RunInOneTransaction([&]() -> int32_t {
        return missing ? apply.Removed(href) : apply.Changed(resources.front());
    });
    return round.Stored(status);
}

// `restoring`: the tombstone of a deleted item this one restores, PUT over its resource.
bool PutHere(RoundContext& round, const pim::SyncLink& link, const std::wstring& calendar,
             const pim::SyncTombstone* restoring)
{
    pim::StoredItem item;
    if (!round.Load(link, item))
        return !round.report.error;
    std::wstring href = restoring ? restoring->href : link.href;
    const std::wstring etag = restoring ? restoring->etag : link.etag;
    const QUrl url = href.empty() ? NewResourceUrl(calendar, item.fields.UID)
                                  : round.client.Resolve(QString::fromStdWString(href));
    if (href.empty())
        href = url.path(QUrl::FullyEncoded).toStdWString();
    const Precondition precondition =
        link.href.empty() && !restoring ? Precondition::IfNoneMatch : Precondition::IfMatch;
    const DavResponse answer =
        round.client.Put(url, ResourceText(item, round.options.now), precondition,
                         QString::fromStdWString(etag).toLatin1());
    const bool done = answer.status >= 200 && answer.status < 300;
    if (!done && answer.status != 412)
        return !round.Failed(Unexpected(round, answer));
    if (done) {
        ++round.report.sent;
        round.report.storeChanged = true;
    }
    if (restoring && !round.Stored(round.ledger.DropTombstone(calendar, restoring->href)))
        return false;
    if (!done)
        return Refused(round, link, calendar, href);
    return round.Stored(round.ledger.MarkPushed(
        link.oid, calendar, href, QString::fromLatin1(answer.etag).toStdWString(), link.change));
}

} // namespace

bool PushChanges(RoundContext& round)
{
    std::vector<pim::SyncLink> links;
    std::vector<pim::SyncTombstone> tombstones;
    if (!round.Stored(round.ledger.Links(links)) ||
        !round.Stored(round.ledger.Tombstones(tombstones)))
        return false;
    const std::vector<std::wstring> calendars = round.Calendars();
    const auto ours = [&](const std::wstring& calendar) {
        return std::find(calendars.begin(), calendars.end(), calendar) != calendars.end();
    };
    // A new item under a deleted one's UID is that item restored: it goes over it.
    std::map<CalendarUid, pim::SyncTombstone> restored;
    for (const pim::SyncTombstone& t : tombstones)
        restored.emplace(CalendarUid{t.calendar, t.uid}, t);
    std::set<CalendarUid> reused;
    for (const pim::SyncLink& link : links) {
        const CalendarUid at{CalendarFor(round.account, link), link.uid};
        if (link.href.empty() && !link.conflict && link.Dirty() && restored.count(at))
            reused.insert(at);
    }
    for (const pim::SyncTombstone& t : tombstones) {
        if (!round.Going())
            return false;
        if (ours(t.calendar) && !reused.count({t.calendar, t.uid}) && !DeleteThere(round, t))
            return false;
    }
    for (const pim::SyncLink& link : links) {
        if (!round.Going())
            return false;
        const std::wstring calendar = CalendarFor(round.account, link);
        if (link.conflict || !link.Dirty() || calendar.empty() || !ours(calendar))
            continue;
        const pim::SyncTombstone* tomb = nullptr;
        if (const auto t = restored.find({calendar, link.uid});
            link.href.empty() && t != restored.end())
            tomb = &t->second;
        if (!PutHere(round, link, calendar, tomb))
            return false;
    }
    return true;
}

} // namespace caldav
