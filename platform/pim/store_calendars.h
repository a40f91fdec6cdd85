// The calendars of a store: each item belongs to exactly one, which is local (never leaves this
// computer), a collection of a sync account, or a subscription. The list keeps each one's name,
// colour, whether it is shown, whether it may be written here, and its place in the order.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pim {

class StoreAccess;
class StoreDatabase;

enum class CalendarKind : int32_t { Local = 0, Collection = 1, Subscription = 2 };

struct Calendar {
    int32_t id = 0; // 0 until saved
    std::wstring name{};
    uint32_t colour = 0; // 0x00BBGGRR
    CalendarKind kind = CalendarKind::Local;
    bool shown = true;
    bool readOnly = false;
    int32_t order = 0; // place in the list; a new calendar goes last
    // Collections only: the account (0 for others) and the collection's URL.
    int32_t account = 0;
    std::wstring url{};
    bool events = true; // which kinds of item it holds
    bool tasks = true;
    bool operator==(const Calendar&) const = default;
};

// The name of the local calendar every store starts with.
inline constexpr wchar_t kPersonalCalendar[] = L"Personal";
// The items' column that names their calendar (0 in no row once a save or migration placed it).
inline constexpr char kCalendarColumnType[] = "calendar INTEGER NOT NULL DEFAULT 0";

// "The calendar “Holidays” is read-only.": why no local change goes into or out of it.
std::wstring ReadOnlySentence(const Calendar& calendar);

// The calendars table and the store's first local calendar.
std::string CalendarsTableSql();
// Version 11: the calendars table, a local calendar "Personal" for every item that is no
// resource of a server, and a calendar per collection an account names (its event and task
// calendars, one when they are the same) for the items linked to it.
std::string CalendarsMigrationSql();
// The colour the n-th calendar (1-based) gets when nothing else gives it one.
uint32_t DefaultCalendarColour(int32_t n);

class CalendarList {
public:
    // Over an open store, as SyncLedger is: each call one short read or write of its own. On a
    // store older than the calendars (opened read-only) every call fails.
    explicit CalendarList(StoreDatabase& db);
    explicit CalendarList(std::shared_ptr<StoreDatabase> db);

    // In their order (ties by id).
    int32_t All(std::vector<Calendar>& out);
    // Fails for an id no calendar has.
    int32_t Get(int32_t id, Calendar& out);
    // The calendar of that name (exact first, else without regard to case); fails when none.
    int32_t Named(const std::wstring& name, Calendar& out);
    // Where new items go unless asked otherwise: the first local calendar in the order, made
    // ("Personal") when the store has none.
    int32_t DefaultLocal(Calendar& out);
    // id 0 adds (at the end of the order, with a colour of its own when it has none); an
    // unknown id fails. A name is required.
    int32_t Save(Calendar& calendar);
    // How many items each calendar holds, by id (calendars without items are absent).
    int32_t ItemCounts(std::map<int32_t, int32_t>& out);

private:
    int32_t With(const std::function<int32_t(StoreAccess&)>& work) const;

    std::shared_ptr<StoreDatabase> owned_;
    StoreDatabase* db_;
};

// What a save or delete of the store decides about the item's calendar, inside its transaction.
struct CalendarPlacement {
    int32_t calendar = 0; // where the item is to be
    int32_t before = 0;   // where it was (0 for a new item)
    std::wstring refusal; // why the store refuses the change; empty when it does not
    bool Moved() const { return before != 0 && before != calendar; }
};
// `asked` 0: a new item goes to the default local calendar, a replaced one stays. A local change
// (`byUser`) into or out of a read-only calendar, or of a kind the calendar does not hold, is
// refused with one sentence naming it. Negative when refused or the store failed.
int32_t PlaceItem(StoreAccess& access, int32_t oid, int32_t kind, int32_t asked, bool byUser,
                  CalendarPlacement& out);
// Adds the calendar of an account's collection unless the account has it already.
// Of `collection`, account, url, name, colour (0: one of its own), events, tasks and read-only
// are read; a name is required.
int32_t KeepCollection(StoreAccess& access, const Calendar& collection);
// An account's collection it no longer syncs becomes a local calendar: its items stay, and are
// never pushed anywhere from then on.
int32_t KeepAsLocal(StoreAccess& access, int32_t account, const std::wstring& url);

} // namespace pim
