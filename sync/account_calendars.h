// Keeping an account with the calendars the user chose, as tamberlo-sync add and the Calendar
// Accounts dialog do alike: one account per user at a server, so adding it again adds calendars
// to it and never replaces it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "sync/calendar_collection.h"

namespace caldav {

// The account of the same server and user when the store has one (`added` false; `account`
// becomes it), else `account` as a new one, naming the event and task calendars it names;
// then every chosen calendar of it, each with the server's name, colour and rights. One
// transaction: all of it or nothing.
int32_t KeepAccount(pim::StoreDatabase& db, pim::SyncAccount& account,
                    const std::vector<const RemoteCalendar*>& chosen, bool& added);

} // namespace caldav
