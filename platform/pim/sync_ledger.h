// What the store keeps for CalDAV sync beside the items: the server resource each item is, the
// local changes the server has not seen yet, what was deleted here since, the accounts and each
// calendar's sync position. Local saves and deletes (any program's) update it inside their own
// transaction in StoreDatabase; the sync writes the server's side through this class.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_calendars.h"

namespace pim {

class SqliteStatement;
class StoreDatabase;

// One item's place on a server. An item no round has pushed yet has an empty href.
struct SyncLink {
    int32_t oid = 0;
    std::wstring uid; // the item's UID, for matching a resource whose answer was lost
    int32_t kind = kAppointmentKind;
    std::wstring calendar; // the URL of the collection holding the resource
    std::wstring href;     // the resource's path on the server
    std::wstring etag;
    int64_t change = 1;    // raised by every local save
    int64_t pushed = 0;    // the change the server holds
    bool conflict = false; // a local copy kept beside the server's version: pushed nowhere
    // The URL of the collection of the item's calendar, where it is to be pushed; empty for a
    // local calendar, whose items stay here.
    std::wstring target{};
    bool Dirty() const { return change != pushed; }
};

// A resource deleted here that the server still has.
struct SyncTombstone {
    std::wstring calendar;
    std::wstring href;
    std::wstring etag;
    std::wstring uid;
};

// A server resource the store cannot express: left alone on the server, reported each round.
struct SkippedResource {
    std::wstring calendar;
    std::wstring href;
    std::wstring etag;
    std::wstring reason;
};

// A CalDAV account; the password is never here (the desktop's secret store keeps it).
struct SyncAccount {
    int32_t id = 0;      // 0 until saved
    std::wstring server; // the address the user gave
    std::wstring user;
    std::wstring eventCalendar; // collection URLs chosen for appointments and tasks
    std::wstring taskCalendar;
    std::wstring eventCalendarName;
    std::wstring taskCalendarName;
    bool operator==(const SyncAccount&) const = default;
};

// Where the last round left a calendar: its RFC 6578 sync token, or its CTag.
struct CalendarState {
    std::wstring url;
    std::wstring token;
    std::wstring ctag;
    bool operator==(const CalendarState&) const = default;
};

class SyncLedger {
public:
    // Over an open store; every call is one short transaction of its own. On a store older than
    // the calendars (opened read-only) every call fails with a negative status.
    explicit SyncLedger(StoreDatabase& db);

    int32_t Accounts(std::vector<SyncAccount>& out);
    // id 0 adds; an unknown id fails. Its event and task calendars get their calendar in the
    // store (one when they are the same collection); one it no longer names is let go as
    // DropCalendar lets it go.
    int32_t SaveAccount(SyncAccount& account);
    // Another collection of the account, synced from the next round on; nothing when the
    // account has it already.
    // Of `collection` are read the url, name, colour, events, tasks and read-only.
    int32_t AddCalendar(int32_t account, const Calendar& collection);
    // The account stops syncing the collection: its calendar becomes a local one, items and
    // all, and the links, tombstones, state and skipped resources of the collection are
    // forgotten (unless another account syncs it too).
    int32_t DropCalendar(int32_t account, const std::wstring& url);
    // Drops the account, letting each of its calendars go as DropCalendar does; the items
    // stay, in local calendars, their change counters going on.
    int32_t RemoveAccount(int32_t id);

    // An unknown calendar has an empty token and CTag.
    int32_t State(const std::wstring& calendarUrl, CalendarState& out);
    // Writes only when the state differs from the stored one.
    int32_t SetState(const CalendarState& state);

    // Every item of the store with its link (items never linked come with an empty href,
    // change 1, pushed 0), ascending oid.
    int32_t Links(std::vector<SyncLink>& out);
    // Fails for an oid no item has.
    int32_t LinkOf(int32_t oid, SyncLink& out);

    // The server's version of a resource into the store: saves `item` (Oid 0 adds; otherwise it
    // replaces that item) and its link as agreed (pushed = change), with no change marked, in one
    // transaction; refused with kChangedMeanwhile when the item's change counter is no longer
    // `expectedChange` (a local save came in between) or the item was deleted meanwhile. Unused
    // for new items. Of `link` only calendar, href and etag are read.
    int32_t SaveFromServer(StoredItem& item, const SyncLink& link, int64_t expectedChange);
    // Deletes an item the server deleted, leaving no tombstone; the same refusal.
    int32_t DeleteFromServer(int32_t oid, int64_t expectedChange);
    // After a PUT: the resource's href and etag; the item counts as agreed only when its
    // counter is still `pushedChange` (else it stays to push, now with the new etag). An item
    // deleted here during the PUT leaves a tombstone of the new resource instead (its UID empty).
    int32_t MarkPushed(int32_t oid, const std::wstring& calendar, const std::wstring& href,
                       const std::wstring& etag, int64_t pushedChange);
    // Saves `copy` as a new item (its Oid is ignored) with a fresh UID, marked as a conflict
    // copy. A later local save of it (the user keeps it) clears the mark, and it is pushed as a
    // new item from then on.
    int32_t SaveConflictCopy(StoredItem& copy);

    int32_t Tombstones(std::vector<SyncTombstone>& out);
    int32_t DropTombstone(const std::wstring& calendar, const std::wstring& href);

    int32_t Skipped(std::vector<SkippedResource>& out);
    // Writes only when the resource is new or its etag or reason differ.
    int32_t SetSkipped(const SkippedResource& resource);
    int32_t DropSkipped(const std::wstring& calendar, const std::wstring& href);

    static constexpr int32_t kChangedMeanwhile = -40;

private:
    // The link of an existing item; kChangedMeanwhile when there is no such item.
    int32_t ReadLink(int32_t oid, SyncLink& out);
    int32_t CheckChange(int32_t oid, int64_t expectedChange, SyncLink& link);
    int32_t PutLink(const SyncLink& link);
    int32_t FindAccount(int32_t id, SyncAccount& out);
    int32_t KeepCalendars(const SyncAccount& account);
    int32_t LetGo(int32_t account, const std::wstring& url);
    int32_t ForgetCalendar(const std::wstring& url);

    StoreDatabase& store_;
    StoreAccess access_;
};

} // namespace pim
