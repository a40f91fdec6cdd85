// The listing waits while the store is read, and answers in parts are taken whole or not at all:
// a position is saved only after every change it covers was applied.
#include "sync/round_pull.h"

#include <QUrl>
#include <algorithm>
#include <climits>
#include <map>

#include "sync/calendar_collection.h"
#include "sync/pull_fetcher.h"
#include "sync/read_again.h"
#include "sync/round_apply.h"

namespace caldav {
namespace {

// Parts of one cut-short sync-collection answer asked for before the listing is used instead.
constexpr int kMostAnswerParts = 1000;
// The first byte of a listing may take this many stall limits, and a millisecond more for each
// resource the calendar holds here.
constexpr qint64 kListingWaitFactor = 4;

bool ReadLocal(RoundContext& round, const std::wstring& calendar, LocalState& local)
{
    std::vector<pim::SyncLink> links;
    std::vector<pim::SyncTombstone> tombstones;
    std::vector<pim::SkippedResource> skipped;
    if (!round.Stored(round.ledger.Links(links)) ||
        !round.Stored(round.ledger.Tombstones(tombstones)) ||
        !round.Stored(round.ledger.Skipped(skipped))) {
        return false;
    }
    for (pim::SyncLink& link : links) {
        if (link.conflict) {
            continue;
        }
        if (link.href.empty()) {
            // Only items headed for this collection can be ours there.
            if (link.target == calendar) {
                local.byUid.emplace(link.uid, link);
            }
        } else if (link.calendar == calendar) {
            const std::wstring key = HrefKey(link.href);
            local.linkedUids[link.uid] = key;
            local.byHref.emplace(key, link);
        }
    }
    for (pim::SyncTombstone& t : tombstones) {
        if (t.calendar == calendar) {
            local.tombstones.emplace(HrefKey(t.href), t);
        }
    }
    for (pim::SkippedResource& s : skipped) {
        if (s.calendar == calendar) {
            local.skipped.emplace(HrefKey(s.href), s);
        }
    }
    return true;
}

// What the server changed since the stored position: one entry per href (by HrefKey), the
// last one named, so a resource named twice, in two spellings or in two parts of one answer, is
// applied once.
struct Pulled {
    std::map<std::wstring, ResourceState> changed;
    std::map<std::wstring, std::wstring> removed;
    pim::CalendarState state;
    bool nothing = false; // unchanged CTag
    bool gone = false;    // the collection is no more
};

// One answer (or part) into `out`, after what came before. Named both changed and removed in
// one answer, a resource counts as changed: fetching it tells which.
void Note(Pulled& out, std::vector<ResourceState>& changed, const std::vector<QString>& removed)
{
    for (const QString& href : removed) {
        const std::wstring key = HrefKey(href.toStdWString());
        out.changed.erase(key);
        out.removed[key] = href.toStdWString();
    }
    for (ResourceState& r : changed) {
        const std::wstring key = HrefKey(r.href.toStdWString());
        out.removed.erase(key);
        out.changed[key] = std::move(r);
    }
}

// A full listing: every resource is a candidate, and what we link that it lacks is gone.
void Listed(const LocalState& local, Pulled& out)
{
    for (const auto& [key, link] : local.byHref) {
        if (!out.changed.contains(key)) {
            out.removed[key] = link.href;
        }
    }
    for (const auto& [key, skipped] : local.skipped) {
        if (!out.changed.contains(key)) {
            out.removed[key] = skipped.href;
        }
    }
}

CollectionChanges AskChanges(RoundContext& round, const QUrl& url, const QString& token)
{
    return AskedAgain([&] { return ChangesSince(round.client, url, token); });
}

// The first byte of a listing comes once the server has gone through the whole collection: it
// may wait longer than a stall, four stall limits and a millisecond for each resource held here.
// A first pull holds nothing to tell the size by, and a server reading a large collection it has
// not cached yet needs minutes (Radicale: 384 s for 20,000 resources on a busy machine, 9 s once
// its cache was filled): that listing may wait as long as any request may take.
int ListingWaitMs(const RoundContext& round, const LocalState& local,
                  const pim::CalendarState& state)
{
    const Connection& limits = round.client.Settings();
    const qint64 held =
        static_cast<qint64>(local.byHref.size()) + static_cast<qint64>(local.skipped.size());
    const bool first = held == 0 && state.token.empty() && state.ctag.empty();
    const qint64 wait = first ? std::max<qint64>(limits.deadlineMs, limits.timeoutMs)
                              : qint64{limits.timeoutMs} * kListingWaitFactor + held;
    return static_cast<int>(std::min<qint64>(wait, INT_MAX));
}

// The client's wait for a first byte while it lives (0: the stall limit).
class FirstByteWait {
public:
    FirstByteWait(DavClient& client, int ms) : client_(client) { Set(ms); }
    ~FirstByteWait() { Set(0); }
    FirstByteWait(const FirstByteWait&) = delete;
    FirstByteWait& operator=(const FirstByteWait&) = delete;
    void Set(int ms) { client_.SetFirstByteTimeout(ms); }

private:
    DavClient& client_;
};

// The rest of an answer the server cut short, asked for by the token of each part. False when
// the server stopped answering in parts; an error goes to the round.
bool RestOfAnswer(RoundContext& round, const QUrl& url, CollectionChanges& changes, Pulled& into)
{
    for (int part = 0; changes.truncated && part < kMostAnswerParts; ++part) {
        CollectionChanges next = AskChanges(round, url, changes.token);
        if (next.unsupported || next.tokenRefused || round.Failed(next.error)) {
            return false;
        }
        Note(into, next.changed, next.removed);
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
    bool listed = out.state.token.empty();
    FirstByteWait wait(round.client, listed ? ListingWaitMs(round, local, out.state) : 0);
    CollectionChanges changes = AskChanges(round, url, QString::fromStdWString(out.state.token));
    if (changes.tokenRefused && !listed) {
        wait.Set(ListingWaitMs(round, local, out.state));
        changes = AskChanges(round, url, QString());
        listed = true;
    }
    wait.Set(0); // the parts of a cut-short answer come as quickly as any answer
    if (changes.gone) {
        out.gone = true;
        return true;
    }
    if (changes.unsupported || changes.tokenRefused) {
        return false;
    }
    if (round.Failed(changes.error)) {
        return true;
    }
    Pulled whole;
    Note(whole, changes.changed, changes.removed);
    // Only a whole answer may stand for a listing: a part of one would delete the rest here.
    if (!RestOfAnswer(round, url, changes, whole)) {
        return static_cast<bool>(round.report.error);
    }
    out.changed = std::move(whole.changed);
    out.removed = std::move(whole.removed);
    out.state.token = changes.token.toStdWString();
    out.state.ctag.clear();
    if (listed) {
        Listed(local, out);
    }
    return true;
}

// By CTag and a listing of every resource's etag; without a CTag every etag is compared.
void ChangesByListing(RoundContext& round, const QUrl& url, const LocalState& local, Pulled& out)
{
    CollectionListing listing;
    {
        const FirstByteWait wait(round.client, ListingWaitMs(round, local, out.state));
        listing = AskedAgain([&] { return ListResources(round.client, url); });
    }
    out.gone = listing.gone;
    if (out.gone || round.Failed(listing.error)) {
        return;
    }
    if (!listing.ctag.isEmpty() && listing.ctag.toStdWString() == out.state.ctag) {
        out.nothing = true;
        return;
    }
    out.state.token.clear();
    out.state.ctag = listing.ctag.toStdWString();
    Note(out, listing.resources, {});
    Listed(local, out);
}

bool Changes(RoundContext& round, const std::wstring& calendar, const LocalState& local,
             Pulled& out)
{
    const QUrl url(QString::fromStdWString(calendar));
    if (!round.Stored(round.ledger.State(calendar, out.state))) {
        return false;
    }
    out.state.url = calendar;
    // A calendar that was last followed by its CTag offers no sync-collection.
    const bool byToken = !out.state.token.empty() || out.state.ctag.empty();
    if (!byToken || !ChangesByToken(round, url, local, out)) {
        ChangesByListing(round, url, local, out);
    }
    return !round.report.error;
}

// The changed hrefs whose version the store does not hold yet.
std::vector<QString> Wanted(const Pulled& pulled, const LocalState& local)
{
    std::vector<QString> wanted;
    for (const auto& [key, r] : pulled.changed) {
        const std::wstring etag = QString::fromLatin1(r.etag).toStdWString();
        const auto link = local.byHref.find(key);
        const auto skipped = local.skipped.find(key);
        const auto tomb = local.tombstones.find(key);
        const bool ours = link != local.byHref.end() && link->second.etag == etag;
        const bool known = skipped != local.skipped.end() && skipped->second.etag == etag;
        // Deleted here and unchanged there (a full listing names it): the push deletes it.
        const bool deleted = tomb != local.tombstones.end() && tomb->second.etag == etag;
        if (!ours && !known && !deleted) {
            wanted.push_back(r.href);
        }
    }
    return wanted;
}

// What a batch adds to the report, taken back when its transaction is.
struct Tally {
    explicit Tally(const RoundReport& report)
        : received(report.received), deletedHere(report.deletedHere), conflicts(report.conflicts),
          notes(report.notes.size())
    {
    }
    void Restore(RoundReport& report) const
    {
        report.received = received;
        report.deletedHere = deletedHere;
        report.conflicts = conflicts;
        report.notes.resize(notes);
    }
    int received, deletedHere, conflicts;
    size_t notes;
};

// One batch in one transaction.
bool ApplyBatch(RoundContext& round, FetchedBatch& batch, RoundApply& apply)
{
    const Tally before(round.report);
    const int32_t status = round.db.RunInOneTransaction([&]() -> int32_t {
        for (size_t i = 0; i < batch.resources.size(); ++i) {
            const Resource& r = batch.resources[i];
            const int32_t s = r.missing ? apply.Removed(r.href.toStdWString())
                                        : apply.Changed(r, std::move(batch.read[i]));
            if (s < 0) {
                return s;
            }
        }
        return 0;
    });
    if (status < 0) {
        before.Restore(round.report);
    }
    return round.Stored(status);
}

// Fetched and applied a batch at a time, the next one fetched while this one is written: what
// a round applied stays linked when a later batch fails, so the next round goes on from there.
bool ApplyFetched(RoundContext& round, const std::wstring& calendar, std::vector<QString> wanted,
                  RoundApply& apply)
{
    PullFetcher fetcher(round, QUrl(QString::fromStdWString(calendar)), std::move(wanted));
    for (FetchedBatch batch; fetcher.Next(batch);) {
        if (!round.Going() || round.Failed(batch.error) || !ApplyBatch(round, batch, apply)) {
            return false;
        }
    }
    return true;
}

bool ApplyRemoved(RoundContext& round, const std::map<std::wstring, std::wstring>& removed,
                  RoundApply& apply)
{
    const Tally before(round.report);
    const int32_t status = round.db.RunInOneTransaction([&]() -> int32_t {
        for (const auto& [key, href] : removed) {
            if (const int32_t s = apply.Removed(href); s < 0) {
                return s;
            }
        }
        return 0;
    });
    if (status < 0) {
        before.Restore(round.report);
    }
    return round.Stored(status);
}

// Saved last, so a round cut short starts from the old position and applies again.
bool SavePosition(RoundContext& round, const pim::CalendarState& state)
{
    pim::CalendarState stored;
    if (!round.Stored(round.ledger.State(state.url, stored))) {
        return false;
    }
    if (stored == state) {
        return true;
    }
    if (!round.Stored(round.ledger.SetState(state))) {
        return false;
    }
    round.report.storeChanged = true;
    return true;
}

} // namespace

bool PullCalendar(RoundContext& round, const std::wstring& calendar)
{
    LocalState local;
    Pulled pulled;
    if (!ReadLocal(round, calendar, local) || !Changes(round, calendar, local, pulled)) {
        return false;
    }
    if (pulled.gone) {
        return round.Gone(calendar);
    }
    if (pulled.nothing) {
        return true;
    }
    RoundApply apply(round, calendar, local);
    std::vector<QString> wanted = Wanted(pulled, local);
    if (!wanted.empty() && !ApplyFetched(round, calendar, std::move(wanted), apply)) {
        return false;
    }
    if (!pulled.removed.empty() && !ApplyRemoved(round, pulled.removed, apply)) {
        return false;
    }
    return !apply.Complete() || SavePosition(round, pulled.state);
}

} // namespace caldav
