// The store's entry point: log on to a store file, reach the calendar and tasks folders and
// create new items. Status codes are negative on failure; nothing throws.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/pim/folder.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"

namespace pim {

enum FolderId : int32_t { kCalendarFolder = 9, kTasksFolder = 13 };

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The store of a normal run: $XDG_DATA_HOME/Velloran/Tamberlo/store.sqlite3.
    static std::string DefaultStorePath();

    // Opens the store file, creating it and its folder when missing (not when read-only access
    // is asked for). A damaged file, one that is not a store, of a newer version or locked
    // fails and is never written; a store the user may not write opens read-only. The rule
    // decides on which days a pattern has occurrences.
    int32_t Logon(const std::string& path, OccurrenceRule rule,
                  StoreDatabase::Access access = StoreDatabase::Access::ReadWrite);
    // Items obtained before keep their values but can no longer be saved.
    void Logoff();
    // Saves fail on a store opened read-only; LastError() says why it is.
    bool IsReadOnly() const;
    // In words for the user, naming the file: why the last Logon or folder read failed, or why
    // the store is read-only.
    std::wstring LastError() const;
    // Why the last save, delete or batch was refused by the store itself (in use, full,
    // read-only); empty when it was not.
    std::wstring LastWriteError() const;
    // The store logged on to; empty when none is.
    StoreDatabase::Identity StoreIdentity() const;
    // The store's data_version (see StoreDatabase); -1 when not logged on.
    int64_t DataVersion() const;

    // 9 calendar, 13 tasks.
    int32_t GetDefaultFolder(int32_t id, std::shared_ptr<Folder>* out) const;
    // 1 appointment, 3 task: a new unsaved item.
    int32_t CreateItem(int32_t type, std::shared_ptr<AppointmentItem>* out) const;
    int32_t CreateItem(int32_t type, std::shared_ptr<TaskItem>* out) const;

    // Runs many saves as one transaction, for imports and generated calendars; a negative
    // result of `work` rolls every save back.
    int32_t RunInOneTransaction(const std::function<int32_t()>& work);
    // Every item whose subject, place, categories or memo contain `text` (Find).
    int32_t FindMatches(const std::wstring& text, std::vector<FindMatch>& out) const;
    // Whether an item holds the UID (1), none does (0), or the store cannot be read (negative).
    int32_t HoldsUid(const std::wstring& uid) const;
    // The store's calendars; every call of the list fails when not logged on.
    CalendarList Calendars() const;

private:
    bool LoggedOn() const;

    std::shared_ptr<StoreDatabase> db_;
    std::wstring lastError_;
};

} // namespace pim
