#include "sync/round_pull.h"

#include <QUrl>
#include <algorithm>
#include <iterator>
#include <set>

#include "sync/calendar_collection.h"
#include "sync/round_apply.h"

namespace caldav {
namespace {

// Resources applied per store transaction: one disk sync for many items on a first round.
constexpr size_t kApplyBatch = 200;
// Parts of one cut-short sync-collection answer asked for before the listing is used instead.
constexpr int kMostAnswerParts = 1000;

bool ReadLocal(RoundContext& round, const std::wstring& calendar, LocalState& local)
{
    std::vector<pim::SyncLink> links;
    std::vector<pim::SyncTombstone> tombstones;
    std::vector<pim::SkippedResource> skipped;
    if (!round.Stored(round.ledger.Links(links)) ||
        !round.Stored(round.ledger.Tombstones(tombstones)) ||
        !round.Stored(round.ledger.Skipped(skipped)))
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

// What the server changed since the stored position: hrefs with their etags, and hrefs gone.
struct Pulled {
    std::vector<ResourceState> changed;
    std::vector<std::wstring> removed;
    pim::CalendarState state;
    bool nothing = false; // unchanged CTag
};

// A full listing: every resource is a candidate, and what we link that it lacks is gone.
void Listed(const LocalState& local, std::vector<ResourceState>& all, Pulled& out)
{
    std::set<std::wstring> present;
    for (ResourceState& r : all) {
        present.insert(HrefKey(r.href.toStdWString()));
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

// The rest of an answer the server cut short, asked for by the token of each part. False when
// the server stopped answering in parts; an error goes to the round.
bool RestOfAnswer(RoundContext& round, const QUrl& url, CollectionChanges& changes)
{
    for (int part = 0; changes.truncated && part < kMostAnswerParts; ++part) {
        CollectionChanges next = ChangesSince(round.client, url, changes.token);
        if (next.unsupported || next.tokenRefused || round.Failed(next.error))
            return false;
        std::move(next.changed.begin(), next.changed.end(), std::back_inserter(changes.changed));
        std::move(next.removed.begin(), next.removed.end(), std::back_inserter(changes.removed));
        changes.token = next.token;
        changes.truncated = next.truncated;
    }
    return !changes.truncated;
}

// By sync token; without one (first round, refused token) every resource is listed. False,
// with `out` untouched, when the calendar offers no sync-collection (or its answer could not
// be had whole); an error goes to the round.
bool ChangesByToken(RoundContext& round, const QUrl& url, const LocalState& local, Pulled& out)
{
    CollectionChanges changes =
        ChangesSince(round.client, url, QString::fromStdWString(out.state.token));
    bool listed = out.state.token.empty();
    if (changes.tokenRefused && !listed) {
        changes = ChangesSince(round.client, url, QString());
        listed = true;
    }
    if (changes.unsupported || changes.tokenRefused)
        return false;
    if (round.Failed(changes.error))
        return true;
    // Only a whole answer may stand for a listing: a part of one would delete the rest here.
    if (!RestOfAnswer(round, url, changes))
        return static_cast<bool>(round.report.error);
    out.state.token = changes.token.toStdWString();
    out.state.ctag.clear();
    for (const QString& href : changes.removed)
        out.removed.push_back(href.toStdWString());
    if (listed)
        Listed(local, changes.changed, out);
    else
        out.changed = std::move(changes.changed);
    return true;
}

// By CTag and a listing of every resource's etag; without a CTag every etag is compared.
void ChangesByListing(RoundContext& round, const QUrl& url, const LocalState& local, Pulled& out)
{
    CollectionListing listing = ListResources(round.client, url);
    if (round.Failed(listing.error))
        return;
    if (!listing.ctag.isEmpty() && listing.ctag.toStdWString() == out.state.ctag) {
        out.nothing = true;
        return;
    }
    out.state.token.clear();
    out.state.ctag = listing.ctag.toStdWString();
    Listed(local, listing.resources, out);
}

bool Changes(RoundContext& round, const std::wstring& calendar, const LocalState& local,
             Pulled& out)
{
    const QUrl url(QString::fromStdWString(calendar));
    if (!round.Stored(round.ledger.State(calendar, out.state)))
        return false;
    out.state.url = calendar;
    // A calendar that was last followed by its CTag offers no sync-collection.
    const bool byToken = !out.state.token.empty() || out.state.ctag.empty();
    if (!byToken || !ChangesByToken(round, url, local, out))
        ChangesByListing(round, url, local, out);
    return !round.report.error;
}

// The changed hrefs whose version the store does not hold yet.
std::vector<QString> Wanted(const Pulled& pulled, const LocalState& local)
{
    std::vector<QString> wanted;
    for (const ResourceState& r : pulled.changed) {
        const std::wstring key = HrefKey(r.href.toStdWString());
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
    return wanted;
}

bool ApplyFetched(RoundContext& round, const std::wstring& calendar,
                  const std::vector<QString>& wanted, RoundApply& apply)
{
    SyncError error;
    const std::vector<Resource> resources =
        FetchResources(round.client, QUrl(QString::fromStdWString(calendar)), wanted, error);
    if (round.Failed(error))
        return false;
    for (size_t from = 0; from < resources.size(); from += kApplyBatch) {
        if (!round.Going())
            return false;
        const size_t until = std::min(resources.size(), from + kApplyBatch);
        const int32_t status = round.db.RunInOneTransaction([&]() -> int32_t {
            for (size_t i = from; i < until; ++i) {
                const int32_t s = resources[i].missing
                                      ? apply.Removed(resources[i].href.toStdWString())
                                      : apply.Changed(resources[i]);
                if (s < 0)
                    return s;
            }
            return 0;
        });
        if (!round.Stored(status))
            return false;
    }
    return true;
}

bool ApplyRemoved(RoundContext& round, const std::vector<std::wstring>& removed, RoundApply& apply)
{
    const int32_t status = round.db.RunInOneTransaction([&]() -> int32_t {
        for (const std::wstring& href : removed) {
            if (const int32_t s = apply.Removed(href); s < 0)
                return s;
        }
        return 0;
    });
    return round.Stored(status);
}

// Saved last, so a round cut short starts from the old position and applies again.
bool SavePosition(RoundContext& round, const pim::CalendarState& state)
{
    pim::CalendarState stored;
    if (!round.Stored(round.ledger.State(state.url, stored)))
        return false;
    if (stored == state)
        return true;
    if (!round.Stored(round.ledger.SetState(state)))
        return false;
    round.report.storeChanged = true;
    return true;
}

} // namespace

bool PullCalendar(RoundContext& round, const std::wstring& calendar)
{
    LocalState local;
    Pulled pulled;
    if (!ReadLocal(round, calendar, local) || !Changes(round, calendar, local, pulled))
        return false;
    if (pulled.nothing)
        return true;
    RoundApply apply(round, calendar, local);
    const std::vector<QString> wanted = Wanted(pulled, local);
    if (!wanted.empty() && !ApplyFetched(round, calendar, wanted, apply))
        return false;
    if (!pulled.removed.empty() && !ApplyRemoved(round, pulled.removed, apply))
        return false;
    return !apply.Complete() || SavePosition(round, pulled.state);
}

} // namespace caldav
