// Subscriptions in the store. A refresh compares the file's items with the calendar's by UID and
// kind inside one batch of saves, so an unchanged item is not written again and a file read
// halfway never shows: the calendar is the old file or the new one.
#include "platform/pim/store_subscriptions.h"

#include <map>
#include <utility>

#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_database.h"

namespace pim {

std::string SubscriptionsTableSql()
{
    return "CREATE TABLE IF NOT EXISTS subscriptions (calendar INTEGER PRIMARY KEY, etag TEXT, "
           "last_modified TEXT);";
}

SubscriptionLedger::SubscriptionLedger(StoreDatabase& db)
    : store_(db), access_(db.Connection(), StoreDatabase::kSubscriptionsVersion)
{
}

int32_t SubscriptionLedger::All(std::vector<Calendar>& out)
{
    out.clear();
    if (!access_.Ready()) {
        return -1;
    }
    std::vector<Calendar> all;
    if (CalendarList(store_).All(all) != 0) {
        return -1;
    }
    for (Calendar& c : all) {
        if (c.kind == CalendarKind::Subscription) {
            out.push_back(std::move(c));
        }
    }
    return 0;
}

int32_t SubscriptionLedger::State(int32_t calendar, SubscriptionState& out)
{
    out = {};
    return access_.Query(
        "SELECT ifnull(etag, ''), ifnull(last_modified, '') FROM subscriptions WHERE calendar = ?",
        [calendar](SqliteStatement& s) { s.Bind(calendar); },
        [&out](const SqliteStatement& s) {
            out = {s.Text(0), s.Text(1)};
        });
}

int32_t SubscriptionLedger::SetState(int32_t calendar, const SubscriptionState& state)
{
    return access_.Change(
        "INSERT INTO subscriptions (calendar, etag, last_modified) VALUES (?,?,?) "
        "ON CONFLICT (calendar) DO UPDATE SET etag = excluded.etag, "
        "last_modified = excluded.last_modified",
        [&](SqliteStatement& s) { s.Bind(calendar).Bind(state.etag).Bind(state.lastModified); });
}

int32_t SubscriptionLedger::Subscribe(Calendar& calendar, std::vector<StoredItem>& items,
                                      const SubscriptionState& state, SubscriptionChange& out)
{
    if (!access_.Ready()) {
        return -1;
    }
    Calendar added = calendar;
    added.id = 0;
    added.kind = CalendarKind::Subscription;
    added.readOnly = true;
    added.account = 0;
    const int32_t status = store_.RunInOneTransaction([&] {
        return CalendarList(store_).Save(added) < 0 ? -1 : ReplaceIn(added.id, items, state, out);
    });
    if (status >= 0) {
        calendar = added;
    }
    return status;
}

int32_t SubscriptionLedger::Replace(int32_t calendar, std::vector<StoredItem>& items,
                                    const SubscriptionState& state, SubscriptionChange& out)
{
    if (!access_.Ready()) {
        return -1;
    }
    return store_.RunInOneTransaction([&] { return ReplaceIn(calendar, items, state, out); });
}

int32_t SubscriptionLedger::Unsubscribe(int32_t calendar, int& deleted)
{
    deleted = 0;
    if (!access_.Ready()) {
        return -1;
    }
    int count = 0;
    const auto bind = [calendar](SqliteStatement& s) { s.Bind(calendar); };
    const int32_t status = store_.RunInOneTransaction([&] {
        std::vector<int32_t> oids;
        if (!IsSubscription(calendar) ||
            access_.Query("SELECT oid FROM items WHERE calendar = ?", bind,
                          [&oids](const SqliteStatement& s) { oids.push_back(s.Int(0)); }) != 0) {
            return -1;
        }
        for (const int32_t oid : oids) {
            if (store_.Writer().Delete(oid, SyncMark::None) < 0) {
                return -1;
            }
            ++count;
        }
        return access_.Change("DELETE FROM subscriptions WHERE calendar = ?", bind) == 0 &&
                       access_.Change("DELETE FROM calendars WHERE id = ?", bind) == 0
                   ? 0
                   : -1;
    });
    if (status >= 0) {
        deleted = count;
    }
    return status;
}

bool SubscriptionLedger::IsSubscription(int32_t calendar)
{
    Calendar kept;
    return CalendarList(store_).Get(calendar, kept) == 0 && kept.kind == CalendarKind::Subscription;
}

// A refresh that read its file while the user unsubscribed finds the calendar gone: it writes
// nothing rather than leave the file's items in no calendar.
int32_t SubscriptionLedger::ReplaceIn(int32_t calendar, std::vector<StoredItem>& items,
                                      const SubscriptionState& state, SubscriptionChange& out)
{
    out = {};
    if (!IsSubscription(calendar)) {
        return -1;
    }
    std::map<std::pair<int32_t, std::wstring>, int32_t> held; // oid by kind and UID
    if (access_.Query(
            "SELECT kind, ifnull(uid, ''), oid FROM items WHERE calendar = ?",
            [calendar](SqliteStatement& s) { s.Bind(calendar); },
            [&held](const SqliteStatement& s) {
                held[{s.Int(0), s.Text(1)}] = s.Int(2);
            }) != 0) {
        return -1;
    }
    for (StoredItem& item : items) {
        item.calendar = calendar;
        item.fields.Oid = 0;
        const auto known = held.find({item.kind, item.fields.UID});
        if (known != held.end()) {
            item.fields.Oid = known->second;
            held.erase(known);
            std::vector<StoredItem> stored;
            if (store_.Load(item.kind, item.fields.Oid, stored) < 0) {
                return -1;
            }
            if (stored.size() == 1 && stored.front() == item) {
                continue;
            }
        }
        if (store_.Writer().Save(item, SyncMark::None) < 0) {
            return -1;
        }
        ++out.written;
    }
    for (const auto& [key, oid] : held) {
        if (store_.Writer().Delete(oid, SyncMark::None) < 0) {
            return -1;
        }
        ++out.deleted;
    }
    return SetState(calendar, state);
}

} // namespace pim
