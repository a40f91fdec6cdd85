// Each resource is read whole before anything is written, so one the store cannot hold is
// recorded as skipped and leaves the item as it was; a local delete or edit decides what wins.
#include "sync/round_apply.h"

#include "res/string_table.h"

namespace caldav {
namespace {

std::wstring SubjectOf(const pim::StoredItem& item)
{
    return item.fields.Subject.empty() ? item.fields.UID : item.fields.Subject;
}

} // namespace

RoundApply::RoundApply(RoundContext& round, const std::wstring& calendar, LocalState& local)
    : round_(round), calendar_(calendar), local_(local)
{
}

int32_t RoundApply::Changed(const Resource& resource)
{
    return Changed(resource, ReadResource(resource.calendarData, round_.options.now));
}

int32_t RoundApply::Changed(const Resource& resource, ResourceItem read)
{
    pim::SyncLedger& ledger = round_.ledger;
    const std::wstring href = resource.href.toStdWString();
    const std::wstring key = HrefKey(href);
    const std::wstring etag = QString::fromLatin1(resource.etag).toStdWString();
    if (!read.item) {
        return Skipped(href, etag, read.reason);
    }
    if (local_.skipped.contains(key)) {
        if (int32_t s = Counted(ledger.DropSkipped(calendar_, href)); s < 0) {
            return s;
        }
        local_.skipped.erase(key);
    }
    pim::StoredItem& item = *read.item;
    if (const auto tomb = local_.tombstones.find(key); tomb != local_.tombstones.end()) {
        // Changed there after it was deleted here: the edit wins, the item comes back.
        if (int32_t s = Counted(ledger.DropTombstone(calendar_, tomb->second.href)); s < 0) {
            return s;
        }
        local_.tombstones.erase(tomb);
    }
    pim::SyncLink link;
    if (const auto linked = local_.byHref.find(key); linked != local_.byHref.end()) {
        link = linked->second;
    } else if (const auto byUid = local_.byUid.find(item.fields.UID);
               byUid != local_.byUid.end() && byUid->second.kind == item.kind) {
        link = byUid->second;
        local_.byUid.erase(byUid);
    } else if (const auto held = HeldElsewhere(item); held != local_.byHref.end()) {
        // A second resource with a UID this calendar links: one this round applied already
        // is a duplicate there; otherwise the resource moved, and the item follows it.
        if (applied_.contains(item.fields.UID)) {
            return Skipped(href, etag, res::LoadString(res::IDS_SYNC_SAME_UID));
        }
        link = held->second;
        local_.byHref.erase(held);
    }
    applied_.insert(item.fields.UID);
    local_.linkedUids[item.fields.UID] = key;
    pim::SyncLink agreed = link;
    agreed.uid = item.fields.UID;
    agreed.kind = item.kind;
    agreed.calendar = calendar_;
    agreed.href = href;
    agreed.etag = etag;
    local_.byHref[key] = agreed;
    if (link.oid == 0) {
        item.fields.Oid = 0;
        item.calendar = round_.CalendarId(calendar_);
        const int32_t status = Received(ledger.SaveFromServer(item, agreed, 0));
        // The href is this item's now: a second answer for it (or another spelling of it)
        // replaces the item rather than adding one.
        if (status >= 0 && !round_.Stored(ledger.LinkOf(item.fields.Oid, local_.byHref[key]))) {
            return -1;
        }
        return status;
    }
    pim::StoredItem mine;
    if (!round_.Load(link, mine)) {
        return round_.report.error ? -1 : 0;
    }
    const bool same = SameResource(mine, item, round_.options.now);
    if (link.Dirty() && same) {
        // Both sides say the same (our PUT whose answer was lost): linked and agreed.
        return Counted(ledger.MarkPushed(link.oid, calendar_, href, etag, link.change));
    }
    if (link.Dirty() && link.href.empty()) {
        // Pushed before, answer lost, changed since: linked, still to push over it.
        return Counted(ledger.MarkPushed(link.oid, calendar_, href, etag, link.change - 1));
    }
    if (link.Dirty()) {
        if (int32_t s = KeepCopy(mine, ConflictReason::ChangedOnBothSides); s < 0) {
            return s;
        }
    } else if (same) {
        return Counted(ledger.MarkPushed(link.oid, calendar_, href, etag, link.change));
    }
    item.fields.Oid = link.oid;
    return Received(ledger.SaveFromServer(item, agreed, link.change));
}

int32_t RoundApply::Skipped(const std::wstring& href, const std::wstring& etag,
                            const std::wstring& reason)
{
    const std::wstring key = HrefKey(href);
    const pim::SkippedResource skipped{calendar_, href, etag, reason};
    if (int32_t s = Counted(round_.ledger.SetSkipped(skipped)); s < 0) {
        return s;
    }
    local_.skipped[key] = skipped;
    // An item whose resource became one the store cannot hold stays as it is, still linked to
    // its last version, and the resource is reported: its edit there is no deletion here.
    const auto linked = local_.byHref.find(key);
    if (linked == local_.byHref.end() || !linked->second.Dirty()) {
        return 0;
    }
    // A local edit must not go over it either: it is kept as a copy too, and the item waits
    // as it is until the server's version changes again, instead of being pushed every round.
    pim::SyncLink& link = linked->second;
    pim::StoredItem mine;
    if (!round_.Load(link, mine)) {
        return round_.report.error ? -1 : 0;
    }
    if (int32_t s = KeepCopy(mine, ConflictReason::UnreadableThere); s < 0) {
        return s;
    }
    link.pushed = link.change;
    return Counted(
        round_.ledger.MarkPushed(link.oid, calendar_, link.href, link.etag, link.change));
}

std::map<std::wstring, pim::SyncLink>::iterator
RoundApply::HeldElsewhere(const pim::StoredItem& item)
{
    const auto uid = local_.linkedUids.find(item.fields.UID);
    if (uid == local_.linkedUids.end()) {
        return local_.byHref.end();
    }
    const auto held = local_.byHref.find(uid->second);
    return held != local_.byHref.end() && held->second.kind == item.kind ? held
                                                                         : local_.byHref.end();
}

int32_t RoundApply::Removed(const std::wstring& href)
{
    const std::wstring key = HrefKey(href);
    if (const auto tomb = local_.tombstones.find(key); tomb != local_.tombstones.end()) {
        if (int32_t s = Counted(round_.ledger.DropTombstone(calendar_, tomb->second.href)); s < 0) {
            return s;
        }
        local_.tombstones.erase(tomb);
    }
    if (const auto skipped = local_.skipped.find(key); skipped != local_.skipped.end()) {
        if (int32_t s = Counted(round_.ledger.DropSkipped(calendar_, skipped->second.href));
            s < 0) {
            return s;
        }
        local_.skipped.erase(skipped);
    }
    const auto linked = local_.byHref.find(key);
    if (linked == local_.byHref.end()) {
        return 0;
    }
    const pim::SyncLink link = linked->second;
    local_.byHref.erase(linked);
    return Drop(link, ConflictReason::DeletedThere);
}

// A local save that came in between is no failure, but the position must not move past the
// change it missed.
int32_t RoundApply::Counted(int32_t status)
{
    if (status == pim::SyncLedger::kChangedMeanwhile) {
        complete_ = false;
        return 0;
    }
    if (status >= 0) {
        round_.report.storeChanged = true;
    }
    return status;
}

int32_t RoundApply::Received(int32_t status)
{
    if (status >= 0) {
        ++round_.report.received;
    }
    return Counted(status);
}

int32_t RoundApply::KeepCopy(const pim::StoredItem& mine, ConflictReason reason)
{
    pim::StoredItem copy = ConflictCopy(mine, reason, round_.options.now);
    const int32_t status = Counted(round_.ledger.SaveConflictCopy(copy));
    if (status >= 0) {
        ++round_.report.conflicts;
        round_.report.notes.push_back(
            res::LoadString(res::IDS_SYNC_NOTE_CONFLICT, SubjectOf(mine)));
    }
    return status;
}

// The item of a link goes because the server's resource went (or became unreadable); a local
// edit of it stays as a conflict copy.
int32_t RoundApply::Drop(const pim::SyncLink& link, ConflictReason reason)
{
    if (link.Dirty()) {
        pim::StoredItem mine;
        if (!round_.Load(link, mine)) {
            return round_.report.error ? -1 : 0;
        }
        if (int32_t s = KeepCopy(mine, reason); s < 0) {
            return s;
        }
    }
    const int32_t status = round_.ledger.DeleteFromServer(link.oid, link.change);
    if (status >= 0) {
        ++round_.report.deletedHere;
    }
    return Counted(status);
}

} // namespace caldav
