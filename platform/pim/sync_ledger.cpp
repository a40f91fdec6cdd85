// The sync's side of the store: its writes are compare-and-swap on each item's change counter,
// so a local save made during a round is never overwritten, and none of them counts as a
// local change. Reads leave no statement open, writes are each one short transaction.
#include "platform/pim/sync_ledger.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"

namespace pim {
namespace {

// Every item with its link and the collection of its calendar; items no save has marked yet
// read as new.
const std::string kLinksSql =
    "SELECT i.oid, i.uid, i.kind, l.calendar, l.href, l.etag, ifnull(l.change, 1), "
    "ifnull(l.pushed, 0), ifnull(l.conflict, 0), c.url FROM items i "
    "LEFT JOIN sync_links l ON l.oid = i.oid "
    "LEFT JOIN calendars c ON c.id = i.calendar AND c.kind = 1";

SyncLink ReadLinkRow(const SqliteStatement& s)
{
    SyncLink link;
    link.oid = s.Int(0);
    link.uid = s.Text(1);
    link.kind = s.Int(2);
    link.calendar = s.Text(3);
    link.href = s.Text(4);
    link.etag = s.Text(5);
    link.change = s.Int64(6);
    link.pushed = s.Int64(7);
    link.conflict = s.Int(8) != 0;
    link.target = s.Text(9);
    return link;
}

} // namespace

SyncLedger::SyncLedger(StoreDatabase& db)
    : store_(db), access_(db.Connection(), StoreDatabase::kCalendarsVersion)
{
}

int32_t SyncLedger::Accounts(std::vector<SyncAccount>& out)
{
    out.clear();
    return access_.Query(
        "SELECT id, server, user, event_calendar, task_calendar, event_calendar_name, "
        "task_calendar_name FROM sync_accounts ORDER BY id",
        kNoBinding, [&out](const SqliteStatement& s) {
            out.push_back(
                {s.Int(0), s.Text(1), s.Text(2), s.Text(3), s.Text(4), s.Text(5), s.Text(6)});
        });
}

int32_t SyncLedger::FindAccount(int32_t id, SyncAccount& out)
{
    std::vector<SyncAccount> accounts;
    if (Accounts(accounts) != 0) {
        return -1;
    }
    const auto known = std::find_if(accounts.begin(), accounts.end(),
                                    [id](const SyncAccount& a) { return a.id == id; });
    if (known == accounts.end()) {
        return -1;
    }
    out = *known;
    return 0;
}

int32_t SyncLedger::SaveAccount(SyncAccount& account)
{
    const std::string columns = "(server, user, event_calendar, task_calendar, "
                                "event_calendar_name, task_calendar_name)";
    const auto bind = [&account](SqliteStatement& s) {
        s.Bind(account.server)
            .Bind(account.user)
            .Bind(account.eventCalendar)
            .Bind(account.taskCalendar)
            .Bind(account.eventCalendarName)
            .Bind(account.taskCalendarName);
        if (account.id != 0) {
            s.Bind(account.id);
        }
    };
    if (account.id == 0) {
        SyncAccount added = account;
        const int32_t status = access_.Write([&] {
            if (access_.Change("INSERT INTO sync_accounts " + columns + " VALUES (?,?,?,?,?,?)",
                               bind) != 0) {
                return -1;
            }
            added.id = static_cast<int32_t>(access_.LastInsertId());
            return KeepCalendars(added);
        });
        if (status >= 0) {
            account.id = added.id; // only once the row is really there
        }
        return status;
    }
    return access_.Write([&] {
        SyncAccount before;
        if (FindAccount(account.id, before) != 0 ||
            access_.Change("UPDATE sync_accounts SET " + columns + " = (?,?,?,?,?,?) WHERE id = ?",
                           bind) != 0 ||
            KeepCalendars(account) != 0) {
            return -1;
        }
        for (const std::wstring& url : {before.eventCalendar, before.taskCalendar}) {
            if (url != account.eventCalendar && url != account.taskCalendar &&
                LetGo(account.id, url) != 0) {
                return -1;
            }
        }
        return 0;
    });
}

// Each collection the account's event and task calendars name has its calendar, one for both.
int32_t SyncLedger::KeepCalendars(const SyncAccount& a)
{
    const auto keep = [&](const std::wstring& url, const std::wstring& name, bool events,
                          bool tasks) {
        Calendar c;
        c.account = a.id;
        c.url = url;
        c.name = name.empty() ? url : name;
        c.events = events;
        c.tasks = tasks;
        return url.empty() || KeepCollection(access_, c) == 0;
    };
    const bool same = a.eventCalendar == a.taskCalendar;
    return keep(a.eventCalendar, a.eventCalendarName, true, same) &&
                   (same || keep(a.taskCalendar, a.taskCalendarName, false, true))
               ? 0
               : -1;
}

int32_t SyncLedger::AddCalendar(int32_t account, const Calendar& collection)
{
    return access_.Write([&] {
        SyncAccount known;
        Calendar added = collection;
        added.account = account;
        return FindAccount(account, known) == 0 && KeepCollection(access_, added) == 0 ? 0 : -1;
    });
}

int32_t SyncLedger::DropCalendar(int32_t account, const std::wstring& url)
{
    return access_.Write([&] { return LetGo(account, url); });
}

int32_t SyncLedger::LetGo(int32_t account, const std::wstring& url)
{
    return KeepAsLocal(access_, account, url) == 0 ? ForgetCalendar(url) : -1;
}

int32_t SyncLedger::RemoveAccount(int32_t id)
{
    return access_.Write([&] {
        SyncAccount known;
        std::vector<std::wstring> urls;
        if (FindAccount(id, known) != 0 ||
            access_.Query(
                "SELECT url FROM calendars WHERE kind = 1 AND account = ?",
                [id](SqliteStatement& s) { s.Bind(id); },
                [&urls](const SqliteStatement& s) { urls.push_back(s.Text(0)); }) != 0 ||
            access_.Change("DELETE FROM sync_accounts WHERE id = ?",
                           [id](SqliteStatement& s) { s.Bind(id); }) != 0) {
            return -1;
        }
        for (const std::wstring& url : urls) {
            if (LetGo(id, url) != 0) {
                return -1;
            }
        }
        return 0;
    });
}

// A calendar no account syncs any more: its items are no resources of it now, and nothing of
// it is to be pushed, deleted or resumed. Change counters are kept, so no compare-and-swap of a
// round still running can succeed on a stale value.
int32_t SyncLedger::ForgetCalendar(const std::wstring& url)
{
    bool named = false;
    if (access_.Query(
            "SELECT 1 FROM calendars WHERE kind = 1 AND url = ?",
            [&url](SqliteStatement& s) { s.Bind(url); },
            [&named](const SqliteStatement&) { named = true; }) != 0) {
        return -1;
    }
    if (named || url.empty()) {
        return 0;
    }
    const auto bind = [&url](SqliteStatement& s) { s.Bind(url); };
    return access_.Change("UPDATE sync_links SET calendar = NULL, href = NULL, etag = NULL, "
                          "pushed = 0 WHERE calendar = ?",
                          bind) == 0 &&
                   access_.Change("DELETE FROM sync_tombstones WHERE calendar = ?", bind) == 0 &&
                   access_.Change("DELETE FROM sync_skipped WHERE calendar = ?", bind) == 0 &&
                   access_.Change("DELETE FROM sync_calendars WHERE url = ?", bind) == 0
               ? 0
               : -1;
}

int32_t SyncLedger::State(const std::wstring& calendarUrl, CalendarState& out)
{
    out = {calendarUrl, {}, {}};
    return access_.Query(
        "SELECT token, ctag FROM sync_calendars WHERE url = ?",
        [&calendarUrl](SqliteStatement& s) { s.Bind(calendarUrl); },
        [&out](const SqliteStatement& s) {
            out.token = s.Text(0);
            out.ctag = s.Text(1);
        });
}

// A round that found nothing new calls this with what is stored already: no write then.
int32_t SyncLedger::SetState(const CalendarState& state)
{
    CalendarState stored;
    if (State(state.url, stored) != 0) {
        return -1;
    }
    if (stored == state) {
        return 0;
    }
    return access_.Write([&] {
        return access_.Change(
            "INSERT OR REPLACE INTO sync_calendars (url, token, ctag) VALUES (?,?,?)",
            [&state](SqliteStatement& s) { s.Bind(state.url).Bind(state.token).Bind(state.ctag); });
    });
}

int32_t SyncLedger::Links(std::vector<SyncLink>& out)
{
    out.clear();
    return access_.Query(kLinksSql + " ORDER BY i.oid", kNoBinding,
                         [&out](const SqliteStatement& s) { out.push_back(ReadLinkRow(s)); });
}

int32_t SyncLedger::ReadLink(int32_t oid, SyncLink& out)
{
    bool found = false;
    const int32_t status = access_.Query(
        kLinksSql + " WHERE i.oid = ?", [oid](SqliteStatement& s) { s.Bind(oid); },
        [&](const SqliteStatement& s) {
            out = ReadLinkRow(s);
            found = true;
        });
    return status < 0 ? status : found ? 0 : kChangedMeanwhile;
}

int32_t SyncLedger::LinkOf(int32_t oid, SyncLink& out)
{
    return ReadLink(oid, out) == 0 ? 0 : -1;
}

int32_t SyncLedger::CheckChange(int32_t oid, int64_t expectedChange, SyncLink& link)
{
    const int32_t status = ReadLink(oid, link);
    return status < 0 ? status : link.change == expectedChange ? 0 : kChangedMeanwhile;
}

int32_t SyncLedger::PutLink(const SyncLink& link)
{
    return access_.Change(
        "INSERT OR REPLACE INTO sync_links (oid, calendar, href, etag, change, pushed, "
        "conflict) VALUES (?,?,?,?,?,?,?)",
        [&link](SqliteStatement& s) {
            s.Bind(link.oid)
                .Bind(link.calendar)
                .Bind(link.href)
                .Bind(link.etag)
                .Bind(link.change)
                .Bind(link.pushed)
                .Bind(link.conflict);
        });
}

int32_t SyncLedger::SaveFromServer(StoredItem& item, const SyncLink& link, int64_t expectedChange)
{
    const StoredItem given = item;
    const int32_t status = access_.Write([&] {
        SyncLink agreed;
        if (item.fields.Oid > 0) {
            const int32_t checked = CheckChange(item.fields.Oid, expectedChange, agreed);
            if (checked != 0) {
                return checked;
            }
        }
        if (store_.Writer().Save(item, SyncMark::None) < 0) {
            return -1;
        }
        agreed.oid = item.fields.Oid;
        agreed.calendar = link.calendar;
        agreed.href = link.href;
        agreed.etag = link.etag;
        agreed.pushed = agreed.change;
        agreed.conflict = false;
        return PutLink(agreed);
    });
    if (status < 0) {
        item = given; // a rolled-back new item must not keep an oid that does not exist
    }
    return status;
}

int32_t SyncLedger::DeleteFromServer(int32_t oid, int64_t expectedChange)
{
    return access_.Write([&] {
        SyncLink current;
        const int32_t checked = CheckChange(oid, expectedChange, current);
        return checked != 0 ? checked : store_.Writer().Delete(oid, SyncMark::None);
    });
}

int32_t SyncLedger::MarkPushed(int32_t oid, const std::wstring& calendar, const std::wstring& href,
                               const std::wstring& etag, int64_t pushedChange)
{
    return access_.Write([&] {
        SyncLink link;
        const int32_t read = ReadLink(oid, link);
        if (read == kChangedMeanwhile) {
            // Deleted while the PUT was under way: the server's copy must go at the next push.
            if (href.empty()) {
                return 0;
            }
            return access_.Change(
                "INSERT OR REPLACE INTO sync_tombstones (calendar, href, etag, uid) "
                "VALUES (?,?,?,'')",
                [&](SqliteStatement& s) { s.Bind(calendar).Bind(href).Bind(etag); });
        }
        if (read != 0) {
            return read;
        }
        link.calendar = calendar;
        link.href = href;
        link.etag = etag;
        if (link.change == pushedChange) {
            link.pushed = pushedChange;
        }
        return PutLink(link);
    });
}

int32_t SyncLedger::SaveConflictCopy(StoredItem& copy)
{
    const StoredItem given = copy;
    copy.fields.Oid = 0;
    copy.fields.UID.clear(); // the original's UID stays with the server's version
    const int32_t status = access_.Write([&] {
        if (store_.Writer().Save(copy, SyncMark::None) < 0) {
            return -1;
        }
        SyncLink mark;
        mark.oid = copy.fields.Oid;
        mark.conflict = true;
        return PutLink(mark);
    });
    if (status < 0) {
        copy = given;
    }
    return status;
}

int32_t SyncLedger::Tombstones(std::vector<SyncTombstone>& out)
{
    out.clear();
    return access_.Query(
        "SELECT calendar, href, etag, uid FROM sync_tombstones ORDER BY calendar, href", kNoBinding,
        [&out](const SqliteStatement& s) {
            out.push_back({s.Text(0), s.Text(1), s.Text(2), s.Text(3)});
        });
}

int32_t SyncLedger::DropTombstone(const std::wstring& calendar, const std::wstring& href)
{
    return access_.Write([&] {
        return access_.Change("DELETE FROM sync_tombstones WHERE calendar = ? AND href = ?",
                              [&](SqliteStatement& s) { s.Bind(calendar).Bind(href); });
    });
}

int32_t SyncLedger::Skipped(std::vector<SkippedResource>& out)
{
    out.clear();
    return access_.Query(
        "SELECT calendar, href, etag, reason FROM sync_skipped ORDER BY calendar, href", kNoBinding,
        [&out](const SqliteStatement& s) {
            out.push_back({s.Text(0), s.Text(1), s.Text(2), s.Text(3)});
        });
}

int32_t SyncLedger::SetSkipped(const SkippedResource& resource)
{
    bool same = false;
    if (access_.Query(
            "SELECT 1 FROM sync_skipped WHERE calendar = ? AND href = ? AND etag = ? AND "
            "reason = ?",
            [&](SqliteStatement& s) {
                s.Bind(resource.calendar)
                    .Bind(resource.href)
                    .Bind(resource.etag)
                    .Bind(resource.reason);
            },
            [&same](const SqliteStatement&) { same = true; }) != 0) {
        return -1;
    }
    if (same) {
        return 0;
    }
    return access_.Write([&] {
        return access_.Change("INSERT OR REPLACE INTO sync_skipped (calendar, href, etag, reason) "
                              "VALUES (?,?,?,?)",
                              [&](SqliteStatement& s) {
                                  s.Bind(resource.calendar)
                                      .Bind(resource.href)
                                      .Bind(resource.etag)
                                      .Bind(resource.reason);
                              });
    });
}

int32_t SyncLedger::DropSkipped(const std::wstring& calendar, const std::wstring& href)
{
    return access_.Write([&] {
        return access_.Change("DELETE FROM sync_skipped WHERE calendar = ? AND href = ?",
                              [&](SqliteStatement& s) { s.Bind(calendar).Bind(href); });
    });
}

} // namespace pim
