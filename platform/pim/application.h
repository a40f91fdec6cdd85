// The store's entry points: log on to a store file, reach the calendar and task folders and
// their items, create new items. Status codes are negative on failure; nothing throws.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/pim/pim_item.h"

namespace pim {

class StoreDatabase;

enum FolderId : int32_t { kCalendarFolder = 9, kTasksFolder = 13 };

// The items of one folder, read in bulk when the collection was obtained, ascending Oid.
class Items {
public:
    Items(std::shared_ptr<StoreDatabase> db, std::vector<StoredItem> items);
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // 1-based; fails outside 1..Count or for an item of the other kind.
    int32_t Item(int32_t n, std::shared_ptr<AppointmentItem>* out) const;
    int32_t Item(int32_t n, std::shared_ptr<TaskItem>* out) const;
    // Accepts exactly "[Oid]=" and a decimal object id, blanks allowed around the number.
    int32_t Find(const std::wstring& restriction, std::shared_ptr<AppointmentItem>* out) const;
    int32_t Find(const std::wstring& restriction, std::shared_ptr<TaskItem>* out) const;

    // The object id of a restriction text, or -1 when the text is anything else.
    static int32_t ParseOidRestriction(const std::wstring& restriction);

private:
    const StoredItem* At(int32_t n, int32_t kind) const;
    const StoredItem* Found(const std::wstring& restriction, int32_t kind) const;

    std::shared_ptr<StoreDatabase> db_;
    std::vector<StoredItem> items_;
};

class Folder {
public:
    Folder(std::shared_ptr<StoreDatabase> db, int32_t kind) : db_(std::move(db)), kind_(kind) {}
    int32_t GetItems(std::shared_ptr<Items>* out) const;

private:
    std::shared_ptr<StoreDatabase> db_;
    int32_t kind_;
};

class Application {
public:
    Application();
    ~Application();

    // The store of a normal run: $XDG_DATA_HOME/Velloran/Tamberlo/store.sqlite3.
    static std::string DefaultStorePath();

    // Opens (or creates) the store file; the rule decides which days patterns occur on.
    int32_t Logon(const std::string& path, OccurrenceRule rule);
    void Logoff();
    // Why the last Logon failed, in words for the user.
    std::wstring LastError() const;

    int32_t GetDefaultFolder(int32_t id, std::shared_ptr<Folder>* out) const;
    int32_t CreateItem(int32_t type, std::shared_ptr<AppointmentItem>* out) const;
    int32_t CreateItem(int32_t type, std::shared_ptr<TaskItem>* out) const;

private:
    std::shared_ptr<StoreDatabase> db_;
};

}  // namespace pim
