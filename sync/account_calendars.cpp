// A new account names its event and task calendars only once they are kept with all the server
// said of them, so the account's own save does not make them from their URLs alone.
#include "sync/account_calendars.h"

#include <algorithm>

namespace caldav {

int32_t KeepAccount(pim::StoreDatabase& db, pim::SyncAccount& account,
                    const std::vector<const RemoteCalendar*>& chosen, bool& added)
{
    pim::SyncLedger ledger(db);
    std::vector<pim::SyncAccount> accounts;
    if (ledger.Accounts(accounts) < 0) {
        return -1;
    }
    const auto known = std::find_if(accounts.begin(), accounts.end(), [&](const auto& x) {
        return x.server == account.server && x.user == account.user;
    });
    added = known == accounts.end();
    pim::SyncAccount named = account;
    if (!added) {
        account = *known;
    } else {
        account.eventCalendar.clear();
        account.taskCalendar.clear();
    }
    return db.RunInOneTransaction([&] {
        if (added && ledger.SaveAccount(account) < 0) {
            return -1;
        }
        for (const RemoteCalendar* c : chosen) {
            if (ledger.AddCalendar(account.id, StoreCalendarOf(*c)) < 0) {
                return -1;
            }
        }
        if (!added) {
            return 0;
        }
        named.id = account.id;
        account = named;
        return ledger.SaveAccount(account);
    });
}

} // namespace caldav
