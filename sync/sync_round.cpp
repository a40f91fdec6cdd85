// A round: pull each calendar's changes and apply them item by item, push what changed here,
// then pull once more so the round's own writes are recorded and the next quiet round is quiet.
// Every step is safe to cut: the sync position is saved only once its changes are applied,
// and a PUT whose answer never came is recognised by UID or by its content the next time.
#include "sync/sync_round.h"

#include <QUrl>

#include <map>
#include <set>

#include "platform/pim/store_database.h"
#include "res/string_table.h"
#include "sync/calendar_collection.h"
#include "sync/conflict_copy.h"
#include "sync/dav_client.h"
#include "sync/resource_text.h"

namespace caldav {
namespace {

// Resources applied per store transaction: one disk sync for many items on a first round.
constexpr size_t kApplyBatch = 200;

QString Q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::wstring W(const QString& text)
{
    return text.toStdWString();
}

// Servers spell the same path with more or fewer escapes; compare paths decoded.
std::wstring HrefKey(const std::wstring& href)
{
    const QString path = QUrl(Q(href)).path(QUrl::FullyDecoded);
    return W(path.isEmpty() ? Q(href) : path);
}

std::wstring SubjectOf(const pim::StoredItem& item)
{
    return item.fields.Subject.empty() ? item.fields.UID : item.fields.Subject;
}

class Round {
public:
    Round(pim::StoreDatabase& db, const pim::SyncAccount& account, const Connection& connection,
          const RoundOptions& options, RoundReport& report)
        : db_(db), ledger_(db), client_(connection), account_(account), options_(options),
          report_(report)
    {
    }

    void Run()
    {
        for (const std::wstring& calendar : Calendars()) {
            if (!Going() || !Pull(calendar))
                return;
        }
        const int writes = client_.WriteCount();
        if (!Going() || !Push())
            return;
        // Our own writes moved the sync positions: record them now, not in the next round.
        if (client_.WriteCount() != writes) {
            for (const std::wstring& calendar : Calendars()) {
                if (!Going() || !Pull(calendar))
                    return;
            }
        }
        ReportSkipped();
    }

    const DavClient& Client() const { return client_; }

private:
    std::vector<std::wstring> Calendars() const
    {
        std::vector<std::wstring> out;
        for (const std::wstring& url : {account_.eventCalendar, account_.taskCalendar}) {
            if (!url.empty() && std::find(out.begin(), out.end(), url) == out.end())
                out.push_back(url);
        }
        return out;
    }

    bool Going()
    {
        return !report_.error && (!options_.carryOn || options_.carryOn());
    }

    // A store status; false (with the round's error set) when the store itself refused.
    bool Stored(int32_t status)
    {
        if (status >= 0 || status == pim::SyncLedger::kChangedMeanwhile)
            return true;
        if (!report_.error) {
            report_.error.failure = Failure::Store;
            report_.error.message = db_.LastWriteError().empty()
                                        ? res::LoadString(res::IDS_SYNC_STORE_REFUSED)
                                        : db_.LastWriteError();
        }
        return false;
    }

    bool Failed(const SyncError& error)
    {
        if (error && !report_.error)
            report_.error = error;
        return bool(error);
    }

    // The links and tombstones as they are now, indexed the ways a resource is matched.
    struct Local {
        std::map<std::wstring, pim::SyncLink> byHref;  // of this calendar, by HrefKey
        std::map<std::wstring, pim::SyncLink> byUid;   // items never pushed, by UID
        std::map<std::wstring, pim::SyncTombstone> tombstones;  // of this calendar, by HrefKey
        std::map<std::wstring, pim::SkippedResource> skipped;   // the same
    };

    bool ReadLocal(const std::wstring& calendar, Local& local)
    {
        std::vector<pim::SyncLink> links;
        std::vector<pim::SyncTombstone> tombstones;
        std::vector<pim::SkippedResource> skipped;
        if (!Stored(ledger_.Links(links)) || !Stored(ledger_.Tombstones(tombstones)) ||
            !Stored(ledger_.Skipped(skipped)))
            return false;
        for (pim::SyncLink& link : links) {
            if (link.conflict)
                continue;
            if (link.href.empty())
                local.byUid.emplace(link.uid, link);
            else if (link.calendar == calendar)
                local.byHref.emplace(HrefKey(link.href), link);
        }
        for (pim::SyncTombstone& t : tombstones) {
            if (t.calendar == calendar)
                local.tombstones.emplace(HrefKey(t.href), t);
        }
        for (pim::SkippedResource& s : skipped) {
            if (s.calendar == calendar)
                local.skipped.emplace(HrefKey(s.href), s);
        }
        return true;
    }

    bool Load(const pim::SyncLink& link, pim::StoredItem& out)
    {
        std::vector<pim::StoredItem> items;
        if (!Stored(db_.Load(link.kind, link.oid, items)))
            return false;
        if (items.empty())
            return false;
        out = std::move(items.front());
        return true;
    }

    // What the server changed since the stored position: hrefs with their etags, and hrefs
    // gone. Without a token (first round, refused token) every resource is listed, and the
    // links the listing lacks are the ones gone.
    struct Pulled {
        std::vector<ResourceState> changed;
        std::vector<std::wstring> removed;
        pim::CalendarState state;
        bool nothing = false;  // unchanged CTag
    };

    bool Changes(const std::wstring& calendar, const Local& local, Pulled& out)
    {
        const QUrl url(Q(calendar));
        if (!Stored(ledger_.State(calendar, out.state)))
            return false;
        out.state.url = calendar;
        // A calendar that was last followed by its CTag offers no sync-collection.
        if (!out.state.token.empty() || out.state.ctag.empty()) {
            bool listed = false;
            CollectionChanges changes = ChangesSince(client_, url, Q(out.state.token));
            listed = out.state.token.empty();
            if (changes.tokenRefused && !listed) {
                changes = ChangesSince(client_, url, QString());
                listed = true;
            }
            if (!changes.unsupported && !changes.tokenRefused) {
                if (Failed(changes.error))
                    return false;
                out.state.token = W(changes.token);
                out.state.ctag.clear();
                for (const QString& href : changes.removed)
                    out.removed.push_back(W(href));
                if (listed)
                    Listed(local, changes.changed, out);
                else
                    out.changed = std::move(changes.changed);
                return true;
            }
        }
        CollectionListing listing = ListResources(client_, url);
        if (Failed(listing.error))
            return false;
        if (!listing.ctag.isEmpty() && W(listing.ctag) == out.state.ctag) {
            out.nothing = true;
            return true;
        }
        out.state.token.clear();
        out.state.ctag = W(listing.ctag);
        Listed(local, listing.resources, out);
        return true;
    }

    // A full listing: every resource is a candidate, and what we link that it lacks is gone.
    static void Listed(const Local& local, std::vector<ResourceState>& all, Pulled& out)
    {
        std::set<std::wstring> present;
        for (ResourceState& r : all) {
            present.insert(HrefKey(W(r.href)));
            out.changed.push_back(std::move(r));
        }
        for (const auto& [key, link] : local.byHref) {
            if (!present.count(key))
                out.removed.push_back(link.href);
        }
        for (const auto& [key, skipped] : local.skipped) {
            if (!present.count(key))
                out.removed.push_back(skipped.href);
        }
    }

    bool Pull(const std::wstring& calendar)
    {
        Local local;
        Pulled pulled;
        if (!ReadLocal(calendar, local) || !Changes(calendar, local, pulled))
            return false;
        if (pulled.nothing)
            return true;
        std::vector<QString> wanted;
        for (const ResourceState& r : pulled.changed) {
            const std::wstring key = HrefKey(W(r.href));
            const std::wstring etag = QString::fromLatin1(r.etag).toStdWString();
            const auto link = local.byHref.find(key);
            const auto skipped = local.skipped.find(key);
            const auto tomb = local.tombstones.find(key);
            const bool ours = link != local.byHref.end() && link->second.etag == etag;
            const bool known = skipped != local.skipped.end() && skipped->second.etag == etag;
            // Deleted here and unchanged there (a full listing names it): the push deletes it.
            const bool deleted = tomb != local.tombstones.end() && tomb->second.etag == etag;
            if (!ours && !known && !deleted)
                wanted.push_back(r.href);
        }
        complete_ = true;
        if (!wanted.empty()) {
            SyncError error;
            const std::vector<Resource> resources =
                FetchResources(client_, QUrl(Q(calendar)), wanted, error);
            if (Failed(error))
                return false;
            for (size_t from = 0; from < resources.size(); from += kApplyBatch) {
                if (!Going())
                    return false;
                const size_t until = std::min(resources.size(), from + kApplyBatch);
                const int32_t status = db_.RunInOneTransaction([&]() -> int32_t {
                    for (size_t i = from; i < until; ++i) {
                        const int32_t s = resources[i].missing
                                              ? Removed(calendar, W(resources[i].href), local)
                                              : Apply(calendar, resources[i], local);
                        if (s < 0)
                            return s;
                    }
                    return 0;
                });
                if (!Stored(status))
                    return false;
            }
        }
        if (!pulled.removed.empty()) {
            const int32_t status = db_.RunInOneTransaction([&]() -> int32_t {
                for (const std::wstring& href : pulled.removed) {
                    if (const int32_t s = Removed(calendar, href, local); s < 0)
                        return s;
                }
                return 0;
            });
            if (!Stored(status))
                return false;
        }
        // Saved last, so a round cut short starts from the old position and applies again.
        if (complete_) {
            pim::CalendarState stored;
            if (!Stored(ledger_.State(calendar, stored)))
                return false;
            if (!(stored == pulled.state)) {
                if (!Stored(ledger_.SetState(pulled.state)))
                    return false;
                report_.storeChanged = true;
            }
        }
        return true;
    }

    // A store status inside a batch: a local save that came in between is no failure, but the
    // position must not move past the change it missed.
    int32_t Counted(int32_t status)
    {
        if (status == pim::SyncLedger::kChangedMeanwhile) {
            complete_ = false;
            return 0;
        }
        if (status >= 0)
            report_.storeChanged = true;
        return status;
    }

    int32_t Apply(const std::wstring& calendar, const Resource& resource, Local& local)
    {
        const std::wstring href = W(resource.href);
        const std::wstring key = HrefKey(href);
        const std::wstring etag = QString::fromLatin1(resource.etag).toStdWString();
        ResourceItem read = ReadResource(resource.calendarData, options_.now);
        const auto linked = local.byHref.find(key);
        if (!read.item) {
            if (int32_t s = Counted(ledger_.SetSkipped({calendar, href, etag, read.reason})); s < 0)
                return s;
            local.skipped[key] = {calendar, href, etag, read.reason};
            if (linked == local.byHref.end())
                return 0;
            // The item this was can no longer be held as the server has it: the server's
            // version wins, a local edit survives as a copy.
            const pim::SyncLink link = linked->second;
            local.byHref.erase(linked);
            return Drop(link, ConflictReason::UnreadableThere);
        }
        if (local.skipped.count(key)) {
            if (int32_t s = Counted(ledger_.DropSkipped(calendar, href)); s < 0)
                return s;
            local.skipped.erase(key);
        }
        pim::StoredItem& item = *read.item;
        if (const auto tomb = local.tombstones.find(key); tomb != local.tombstones.end()) {
            // Changed there after it was deleted here: the edit wins, the item comes back.
            if (int32_t s = Counted(ledger_.DropTombstone(calendar, tomb->second.href)); s < 0)
                return s;
            local.tombstones.erase(tomb);
        }
        pim::SyncLink link;
        if (linked != local.byHref.end()) {
            link = linked->second;
        } else if (const auto byUid = local.byUid.find(item.fields.UID);
                   byUid != local.byUid.end() && byUid->second.kind == item.kind) {
            link = byUid->second;
            local.byUid.erase(byUid);
        }
        pim::SyncLink agreed = link;
        agreed.uid = item.fields.UID;
        agreed.kind = item.kind;
        agreed.calendar = calendar;
        agreed.href = href;
        agreed.etag = etag;
        local.byHref[key] = agreed;
        if (link.oid == 0) {
            item.fields.Oid = 0;
            return Received(ledger_.SaveFromServer(item, agreed, 0));
        }
        pim::StoredItem mine;
        if (!Load(link, mine))
            return report_.error ? -1 : 0;
        if (link.Dirty() && SameResource(mine, item, options_.now)) {
            // Both sides say the same (our PUT whose answer was lost): linked and agreed.
            return Counted(ledger_.MarkPushed(link.oid, calendar, href, etag, link.change));
        }
        if (link.Dirty() && link.href.empty()) {
            // Pushed before, answer lost, changed since: linked, still to push over it.
            return Counted(ledger_.MarkPushed(link.oid, calendar, href, etag, link.change - 1));
        }
        if (link.Dirty()) {
            if (int32_t s = KeepCopy(mine, ConflictReason::ChangedOnBothSides); s < 0)
                return s;
        } else if (SameResource(mine, item, options_.now)) {
            return Counted(ledger_.MarkPushed(link.oid, calendar, href, etag, link.change));
        }
        item.fields.Oid = link.oid;
        return Received(ledger_.SaveFromServer(item, agreed, link.change));
    }

    int32_t Received(int32_t status)
    {
        if (status >= 0)
            ++report_.received;
        return Counted(status);
    }

    int32_t KeepCopy(const pim::StoredItem& mine, ConflictReason reason)
    {
        pim::StoredItem copy = ConflictCopy(mine, reason, options_.now);
        const int32_t status = Counted(ledger_.SaveConflictCopy(copy));
        if (status >= 0) {
            ++report_.conflicts;
            report_.notes.push_back(
                res::LoadString(res::IDS_SYNC_NOTE_CONFLICT, SubjectOf(mine)));
        }
        return status;
    }

    // The item of a link goes because the server's resource went (or became unreadable); a
    // local edit of it stays as a conflict copy.
    int32_t Drop(const pim::SyncLink& link, ConflictReason reason)
    {
        if (link.Dirty()) {
            pim::StoredItem mine;
            if (!Load(link, mine))
                return report_.error ? -1 : 0;
            if (int32_t s = KeepCopy(mine, reason); s < 0)
                return s;
        }
        const int32_t status = ledger_.DeleteFromServer(link.oid, link.change);
        if (status >= 0)
            ++report_.deletedHere;
        return Counted(status);
    }

    int32_t Removed(const std::wstring& calendar, const std::wstring& href, Local& local)
    {
        const std::wstring key = HrefKey(href);
        if (const auto tomb = local.tombstones.find(key); tomb != local.tombstones.end()) {
            if (int32_t s = Counted(ledger_.DropTombstone(calendar, tomb->second.href)); s < 0)
                return s;
            local.tombstones.erase(tomb);
        }
        if (const auto skipped = local.skipped.find(key); skipped != local.skipped.end()) {
            if (int32_t s = Counted(ledger_.DropSkipped(calendar, skipped->second.href)); s < 0)
                return s;
            local.skipped.erase(skipped);
        }
        const auto linked = local.byHref.find(key);
        if (linked == local.byHref.end())
            return 0;
        const pim::SyncLink link = linked->second;
        local.byHref.erase(linked);
        return Drop(link, ConflictReason::DeletedThere);
    }

    std::wstring CalendarFor(const pim::SyncLink& link) const
    {
        if (!link.calendar.empty())
            return link.calendar;
        return link.kind == pim::kTaskKind ? account_.taskCalendar : account_.eventCalendar;
    }

    static QUrl NewResourceUrl(const std::wstring& calendar, const std::wstring& uid)
    {
        QString base = Q(calendar);
        if (!base.endsWith(u'/'))
            base += u'/';
        const QByteArray name = QUrl::toPercentEncoding(Q(uid)) + ".ics";
        return QUrl(base + QString::fromLatin1(name), QUrl::StrictMode);
    }

    bool Push()
    {
        std::vector<pim::SyncLink> links;
        std::vector<pim::SyncTombstone> tombstones;
        if (!Stored(ledger_.Links(links)) || !Stored(ledger_.Tombstones(tombstones)))
            return false;
        const std::vector<std::wstring> calendars = Calendars();
        const auto ours = [&](const std::wstring& calendar) {
            return std::find(calendars.begin(), calendars.end(), calendar) != calendars.end();
        };
        // A new item under a deleted one's UID is that item restored: it goes over it.
        std::map<std::pair<std::wstring, std::wstring>, pim::SyncTombstone> restored;
        for (const pim::SyncTombstone& t : tombstones)
            restored.emplace(std::make_pair(t.calendar, t.uid), t);
        std::set<std::pair<std::wstring, std::wstring>> reused;
        for (const pim::SyncLink& link : links) {
            if (link.href.empty() && !link.conflict && link.Dirty() &&
                restored.count({CalendarFor(link), link.uid}))
                reused.insert({CalendarFor(link), link.uid});
        }
        for (const pim::SyncTombstone& t : tombstones) {
            if (!Going())
                return false;
            if (ours(t.calendar) && !reused.count({t.calendar, t.uid}) && !DeleteThere(t))
                return false;
        }
        for (const pim::SyncLink& link : links) {
            if (!Going())
                return false;
            const std::wstring calendar = CalendarFor(link);
            if (link.conflict || !link.Dirty() || calendar.empty() || !ours(calendar))
                continue;
            const pim::SyncTombstone* tomb = nullptr;
            if (const auto t = restored.find({calendar, link.uid});
                link.href.empty() && t != restored.end())
                tomb = &t->second;
            if (!PutHere(link, calendar, tomb))
                return false;
        }
        return true;
    }

    bool DeleteThere(const pim::SyncTombstone& t)
    {
        const DavResponse answer = client_.Delete(client_.Resolve(Q(t.href)), Q(t.etag).toLatin1());
        // 404: gone already; 412: changed there, and the next pull brings the edit back.
        const bool settled = (answer.status >= 200 && answer.status < 300) ||
                             answer.status == 404 || answer.status == 412;
        if (!settled)
            return !Failed(Unexpected(answer));
        if (answer.status < 300)
            ++report_.deletedThere;
        report_.storeChanged = true;
        return Stored(ledger_.DropTombstone(t.calendar, t.href));
    }

    SyncError Unexpected(const DavResponse& answer) const
    {
        return answer.error ? answer.error
                            : ServerFailure(Failure::ServerError, client_.Settings().server.host(),
                                            QString::number(answer.status));
    }

    bool PutHere(const pim::SyncLink& link, const std::wstring& calendar,
                 const pim::SyncTombstone* restoring)
    {
        pim::StoredItem item;
        if (!Load(link, item))
            return !report_.error;
        std::wstring href = link.href;
        std::wstring etag = link.etag;
        if (restoring) {
            href = restoring->href;
            etag = restoring->etag;
        }
        const QUrl url = href.empty() ? NewResourceUrl(calendar, item.fields.UID)
                                      : client_.Resolve(Q(href));
        if (href.empty())
            href = W(url.path(QUrl::FullyEncoded));
        const Precondition precondition =
            link.href.empty() && !restoring ? Precondition::IfNoneMatch : Precondition::IfMatch;
        const DavResponse answer = client_.Put(url, ResourceText(item, options_.now), precondition,
                                               QString::fromStdWString(etag).toLatin1());
        if (answer.status >= 200 && answer.status < 300) {
            ++report_.sent;
            report_.storeChanged = true;
            if (restoring && !Stored(ledger_.DropTombstone(calendar, restoring->href)))
                return false;
            return Stored(ledger_.MarkPushed(link.oid, calendar, href,
                                             QString::fromLatin1(answer.etag).toStdWString(),
                                             link.change));
        }
        if (answer.status == 412) {
            if (restoring && !Stored(ledger_.DropTombstone(calendar, restoring->href)))
                return false;
            return Refused(link, calendar, href);
        }
        return !Failed(Unexpected(answer));
    }

    // The server holds another version than the one our PUT expected: take it, and keep ours
    // as a conflict copy unless both say the same.
    bool Refused(const pim::SyncLink& link, const std::wstring& calendar, const std::wstring& href)
    {
        SyncError error;
        const std::vector<Resource> resources =
            FetchResources(client_, QUrl(Q(calendar)), {Q(href)}, error);
        if (Failed(error))
            return false;
        Local local;
        pim::SyncLink asLinked = link;
        asLinked.calendar = calendar;
        asLinked.href = href;
        local.byHref.emplace(HrefKey(href), asLinked);
        const bool missing = resources.empty() || resources.front().missing;
        complete_ = true;
        const int32_t status = db_.RunInOneTransaction([&]() -> int32_t {
            return missing ? Removed(calendar, href, local)
                           : Apply(calendar, resources.front(), local);
        });
        return Stored(status);
    }

    void ReportSkipped()
    {
        std::vector<pim::SkippedResource> skipped;
        if (!Stored(ledger_.Skipped(skipped)))
            return;
        const std::vector<std::wstring> calendars = Calendars();
        for (const pim::SkippedResource& s : skipped) {
            if (std::find(calendars.begin(), calendars.end(), s.calendar) == calendars.end())
                continue;
            ++report_.skipped;
            report_.notes.push_back(FilledText(res::IDS_SYNC_NOTE_SKIPPED, {s.href, s.reason}));
        }
    }

    pim::StoreDatabase& db_;
    pim::SyncLedger ledger_;
    DavClient client_;
    const pim::SyncAccount& account_;
    const RoundOptions& options_;
    RoundReport& report_;
    bool complete_ = true;  // this pull applied every change it saw
};

}  // namespace

int RoundReport::ExitCode() const
{
    if (error)
        return 2;
    return conflicts > 0 || skipped > 0 ? 1 : 0;
}

RoundReport RunRound(const std::string& storePath, const pim::OccurrenceRule& rule,
                     const pim::SyncAccount& account, const Connection& connection,
                     const RoundOptions& options)
{
    RoundReport report;
    pim::StoreDatabase db;
    if (db.Open(storePath) < 0 || !db.Writable()) {
        report.error.failure = Failure::Store;
        report.error.message = db.LastError();
        return report;
    }
    db.SetOccurrenceRule(rule);
    Round round(db, account, connection, options, report);
    round.Run();
    report.requests = round.Client().RequestCount();
    report.writes = round.Client().WriteCount();
    return report;
}

}  // namespace caldav
