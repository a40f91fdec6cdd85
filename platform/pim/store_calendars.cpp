// The calendars table, its migration and the decisions a save makes about an item's calendar.
// Collections are found by their URL, as the sync ledger knows them; local calendars have none.
#include "platform/pim/store_calendars.h"

#include <QString>

#include <algorithm>
#include <array>
#include <functional>

#include "platform/pim/item_fields.h"
#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_database.h"

namespace pim {
namespace {

// Distinct on white and on the dark scheme alike, 0x00BBGGRR.
constexpr std::array<uint32_t, 6> kPalette{0x00C08040, 0x0050A050, 0x003080E0,
                                           0x00A050A0, 0x004848D0, 0x00A0A020};

// Columns in the order ReadCalendar reads them. These build the SQL inside functions only: the
// migration's text is made while other files' constants are set up.
std::string CalendarColumns()
{
    return "id, name, colour, kind, shown, read_only, position, ifnull(account, 0), "
           "ifnull(url, ''), events, tasks";
}

std::string OrderedCalendars(const std::string& where)
{
    return "SELECT " + CalendarColumns() + " FROM calendars" + where + " ORDER BY position, id";
}

Calendar ReadCalendar(const SqliteStatement& s)
{
    Calendar c;
    c.id = s.Int(0);
    c.name = s.Text(1);
    c.colour = static_cast<uint32_t>(s.Int64(2)) & 0x00FFFFFFU;
    const int32_t kind = s.Int(3);
    c.kind = kind == 1   ? CalendarKind::Collection
             : kind == 2 ? CalendarKind::Subscription
                         : CalendarKind::Local;
    c.shown = s.Int(4) != 0;
    c.readOnly = s.Int(5) != 0;
    c.order = s.Int(6);
    c.account = s.Int(7);
    c.url = s.Text(8);
    c.events = s.Int(9) != 0;
    c.tasks = s.Int(10) != 0;
    return c;
}

// No calendar of the account has the collection in `column` yet (a migration run again).
std::string Unkept(const std::string& column)
{
    return "NOT EXISTS (SELECT 1 FROM calendars c WHERE c.kind = 1 AND c.account = "
           "sync_accounts.id AND c.url = " +
           column + ")";
}

// The palette as SQL over the column `id`, for the migration.
std::string PaletteSql()
{
    std::string sql = "CASE (id - 1) % " + std::to_string(kPalette.size());
    for (size_t i = 0; i < kPalette.size(); ++i) {
        sql += " WHEN " + std::to_string(i) + " THEN " + std::to_string(kPalette[i]);
    }
    return sql + " END";
}

int32_t Select(StoreAccess& access, const std::string& where,
               const std::function<void(SqliteStatement&)>& bind, std::vector<Calendar>& out)
{
    out.clear();
    return access.Query(OrderedCalendars(where), bind,
                        [&out](const SqliteStatement& s) { out.push_back(ReadCalendar(s)); });
}

int32_t One(StoreAccess& access, const std::string& where,
            const std::function<void(SqliteStatement&)>& bind, Calendar& out)
{
    std::vector<Calendar> found;
    if (Select(access, where, bind, found) != 0 || found.empty()) {
        return -1;
    }
    out = found.front();
    return 0;
}

int32_t GetIn(StoreAccess& access, int32_t id, Calendar& out)
{
    return One(
        access, " WHERE id = ?", [id](SqliteStatement& s) { s.Bind(id); }, out);
}

int32_t Insert(StoreAccess& access, Calendar& c)
{
    int32_t added = 0;
    const int32_t status = access.Write([&] {
        int32_t count = 0;
        int32_t last = 0;
        if (access.Query("SELECT count(*), ifnull(max(position), 0) FROM calendars", kNoBinding,
                         [&](const SqliteStatement& s) {
                             count = s.Int(0);
                             last = s.Int(1);
                         }) != 0) {
            return -1;
        }
        const uint32_t colour = c.colour != 0 ? c.colour : DefaultCalendarColour(count + 1);
        const int32_t order = last + 1;
        if (access.Change("INSERT INTO calendars (name, colour, kind, shown, read_only, position, "
                          "account, url, events, tasks) VALUES (?,?,?,?,?,?,nullif(?, 0),"
                          "nullif(?, ''),?,?)",
                          [&](SqliteStatement& s) {
                              s.Bind(c.name)
                                  .Bind(int64_t{colour})
                                  .Bind(static_cast<int32_t>(c.kind))
                                  .Bind(c.shown)
                                  .Bind(c.readOnly)
                                  .Bind(order)
                                  .Bind(c.account)
                                  .Bind(c.url)
                                  .Bind(c.events)
                                  .Bind(c.tasks);
                          }) != 0) {
            return -1;
        }
        added = static_cast<int32_t>(access.LastInsertId());
        c.colour = colour;
        c.order = order;
        return 0;
    });
    if (status >= 0) {
        c.id = added;
    }
    return status;
}

int32_t DefaultLocalIn(StoreAccess& access, Calendar& out)
{
    if (One(access, " WHERE kind = 0", kNoBinding, out) == 0) {
        return 0;
    }
    out = {};
    out.name = kPersonalCalendar;
    return Insert(access, out);
}

std::wstring Quoted(const Calendar& c)
{
    return L"\u201c" + c.name + L"\u201d";
}

// Why a local change may not put an item of `kind` from `before` into `target`; empty when it
// may.
std::wstring Refusal(const Calendar* before, const Calendar& target, int32_t kind)
{
    if (target.readOnly) {
        return ReadOnlySentence(target);
    }
    if (before != nullptr && before->readOnly) {
        return ReadOnlySentence(*before);
    }
    const bool held = kind == kTaskKind ? target.tasks : target.events;
    if ((before == nullptr || before->id != target.id) && !held) {
        return L"The calendar " + Quoted(target) +
               (kind == kTaskKind ? L" holds no tasks." : L" holds no appointments.");
    }
    return {};
}

} // namespace

std::wstring ReadOnlySentence(const Calendar& calendar)
{
    return L"The calendar " + Quoted(calendar) + L" is read-only.";
}

uint32_t DefaultCalendarColour(int32_t n)
{
    return kPalette[static_cast<size_t>(std::max(n - 1, 0)) % kPalette.size()];
}

std::string CalendarsTableSql()
{
    return "CREATE TABLE IF NOT EXISTS calendars (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT "
           "NOT NULL, "
           "colour INTEGER NOT NULL, kind INTEGER NOT NULL, shown INTEGER NOT NULL DEFAULT 1, "
           "read_only INTEGER NOT NULL DEFAULT 0, position INTEGER NOT NULL DEFAULT 0, "
           "account INTEGER, url TEXT, events INTEGER NOT NULL DEFAULT 1, "
           "tasks INTEGER NOT NULL DEFAULT 1);"
           "CREATE INDEX IF NOT EXISTS calendars_of_url ON calendars (url);"
           "CREATE INDEX IF NOT EXISTS items_in_calendar ON items (calendar);"
           "INSERT OR IGNORE INTO calendars (id, name, colour, kind, position) VALUES (1, '" +
           QString::fromWCharArray(kPersonalCalendar).toStdString() + "', " +
           std::to_string(kPalette[0]) + ", 0, 0);";
}

// Items linked to a collection an account names follow their link; the rest, never pushed or
// linked nowhere any more (conflict copies among them), stay on this computer. The order keeps
// each account's calendars together, its event calendar first.
std::string CalendarsMigrationSql()
{
    const std::string collection = "INSERT INTO calendars (name, colour, kind, account, url, "
                                   "events, tasks) SELECT ";
    return CalendarsTableSql() + collection +
           "ifnull(nullif(event_calendar_name, ''), event_calendar), 0, 1, id, event_calendar, 1, "
           "event_calendar = ifnull(task_calendar, '') FROM sync_accounts "
           "WHERE ifnull(event_calendar, '') != '' AND " +
           Unkept("event_calendar") + " ORDER BY id;" + collection +
           "ifnull(nullif(task_calendar_name, ''), task_calendar), 0, 1, id, task_calendar, 0, 1 "
           "FROM sync_accounts WHERE ifnull(task_calendar, '') != '' AND "
           "task_calendar != ifnull(event_calendar, '') AND " +
           Unkept("task_calendar") +
           " ORDER BY id;"
           "UPDATE calendars SET colour = " +
           PaletteSql() +
           ", position = ifnull(account, 0) * 2 + (events = 0) WHERE kind = 1 AND position = 0;"
           "UPDATE items SET calendar = ifnull((SELECT min(c.id) FROM sync_links l JOIN calendars "
           "c "
           "ON c.url = l.calendar AND c.kind = 1 WHERE l.oid = items.oid AND "
           "ifnull(l.href, '') != ''), 1) WHERE calendar = 0;";
}

CalendarList::CalendarList(StoreDatabase& db) : db_(&db)
{
}

CalendarList::CalendarList(std::shared_ptr<StoreDatabase> db)
    : owned_(std::move(db)), db_(owned_.get())
{
}

int32_t CalendarList::With(const std::function<int32_t(StoreAccess&)>& work) const
{
    if (db_ == nullptr) {
        return -1;
    }
    StoreAccess access(db_->Connection(), StoreDatabase::kCalendarsVersion);
    return work(access);
}

int32_t CalendarList::All(std::vector<Calendar>& out)
{
    out.clear();
    return With([&](StoreAccess& access) { return Select(access, "", kNoBinding, out); });
}

int32_t CalendarList::Get(int32_t id, Calendar& out)
{
    return With([&](StoreAccess& access) { return GetIn(access, id, out); });
}

int32_t CalendarList::Named(const std::wstring& name, Calendar& out)
{
    std::vector<Calendar> all;
    if (All(all) != 0) {
        return -1;
    }
    const QString wanted = QString::fromStdWString(name);
    for (const bool exact : {true, false}) {
        for (const Calendar& c : all) {
            const QString have = QString::fromStdWString(c.name);
            if (exact ? have == wanted : have.compare(wanted, Qt::CaseInsensitive) == 0) {
                out = c;
                return 0;
            }
        }
    }
    return -1;
}

int32_t CalendarList::DefaultLocal(Calendar& out)
{
    return With([&](StoreAccess& access) { return DefaultLocalIn(access, out); });
}

int32_t CalendarList::Save(Calendar& calendar)
{
    if (calendar.name.empty()) {
        return -1;
    }
    return With([&](StoreAccess& access) {
        if (calendar.id == 0) {
            return Insert(access, calendar);
        }
        return access.Write([&] {
            Calendar stored;
            return GetIn(access, calendar.id, stored) == 0 &&
                           access.Change(
                               "UPDATE calendars SET (name, colour, kind, shown, read_only, "
                               "position, account, url, events, tasks) = (?,?,?,?,?,?,"
                               "nullif(?, 0),nullif(?, ''),?,?) WHERE id = ?",
                               [&](SqliteStatement& s) {
                                   s.Bind(calendar.name)
                                       .Bind(int64_t{calendar.colour & 0x00FFFFFFU})
                                       .Bind(static_cast<int32_t>(calendar.kind))
                                       .Bind(calendar.shown)
                                       .Bind(calendar.readOnly)
                                       .Bind(calendar.order)
                                       .Bind(calendar.account)
                                       .Bind(calendar.url)
                                       .Bind(calendar.events)
                                       .Bind(calendar.tasks)
                                       .Bind(calendar.id);
                               }) == 0
                       ? 0
                       : -1;
        });
    });
}

int32_t CalendarList::ItemCounts(std::map<int32_t, int32_t>& out)
{
    out.clear();
    return With([&](StoreAccess& access) {
        return access.Query("SELECT calendar, count(*) FROM items GROUP BY calendar", kNoBinding,
                            [&out](const SqliteStatement& s) { out[s.Int(0)] = s.Int(1); });
    });
}

int32_t PlaceItem(StoreAccess& access, int32_t oid, int32_t kind, int32_t asked, bool byUser,
                  CalendarPlacement& out)
{
    out = {};
    if (oid > 0 &&
        access.Query(
            "SELECT calendar FROM items WHERE oid = ?", [oid](SqliteStatement& s) { s.Bind(oid); },
            [&out](const SqliteStatement& s) { out.before = s.Int(0); }) != 0) {
        return -1;
    }
    Calendar target;
    const int32_t wanted = asked != 0 ? asked : out.before;
    if ((wanted != 0 ? GetIn(access, wanted, target) : DefaultLocalIn(access, target)) != 0) {
        return -1;
    }
    out.calendar = target.id;
    if (!byUser) {
        return 0;
    }
    Calendar before;
    const bool known = out.before != 0 && GetIn(access, out.before, before) == 0;
    out.refusal = Refusal(known ? &before : nullptr, target, kind);
    return out.refusal.empty() ? 0 : -1;
}

int32_t KeepCollection(StoreAccess& access, const Calendar& collection)
{
    Calendar known;
    const auto bind = [&](SqliteStatement& s) { s.Bind(collection.account).Bind(collection.url); };
    if (One(access, " WHERE kind = 1 AND account = ? AND url = ?", bind, known) == 0) {
        return 0;
    }
    Calendar added = collection;
    added.id = 0;
    added.kind = CalendarKind::Collection;
    added.shown = true;
    return added.name.empty() || added.url.empty() ? -1 : Insert(access, added);
}

int32_t KeepAsLocal(StoreAccess& access, int32_t account, const std::wstring& url)
{
    return access.Change("UPDATE calendars SET kind = 0, account = NULL, url = NULL, "
                         "read_only = 0, events = 1, tasks = 1 WHERE kind = 1 AND account = ? "
                         "AND url = ?",
                         [&](SqliteStatement& s) { s.Bind(account).Bind(url); });
}

} // namespace pim
