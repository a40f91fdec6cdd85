// Calendar subscriptions: an .ics file on the web kept as a read-only calendar, read whole when
// the user subscribes and again at every sync round, asked for only when it changed
// (If-None-Match, If-Modified-Since). A failed read changes nothing; nothing is ever sent there.
#pragma once

#include <QString>
#include <QUrl>
#include <string>
#include <vector>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_subscriptions.h"
#include "sync/connection.h"
#include "sync/sync_error.h"
#include "sync/sync_round.h"

namespace caldav {

// The address a user typed for a subscription: webcal:// (and webcals://) is https://, as is an
// address without a scheme; empty when it is no http(s) address of a host, or carries a user
// name or password.
QUrl SubscriptionAddress(const QString& typed);
// Whether a command-line argument names a subscription's address rather than a file.
bool IsSubscriptionArgument(const QString& argument);

struct SubscriptionReport {
    pim::Calendar calendar; // as the store keeps it (its id set once subscribed)
    bool unchanged = false; // the file is as last read (304)
    pim::SubscriptionChange change;
    std::vector<std::wstring> notes; // what of the file the store cannot hold
    bool busy = false;               // a sync round held the store: nothing was read
    SyncError error;                 // nothing of the store changed
};

// Reads the calendar at `address` and keeps it as a new read-only calendar named `name`, else
// as the file names itself, else by the address. `limits` gives the time and size limits and
// the trusted certificates; its server and user are not read.
SubscriptionReport Subscribe(const std::string& storePath, const QUrl& address,
                             const std::wstring& name, const Connection& limits);

// Every subscription of the store read again if it changed, one report each in the calendars'
// order; a failed one keeps its items. Waits for a sync round on the store as a round does.
std::vector<SubscriptionReport> RefreshSubscriptions(const std::string& storePath,
                                                     const Connection& limits,
                                                     const RoundOptions& options);

// The failure of a subscription in a round's words: its name with why.
SyncError SubscriptionFailure(const SubscriptionReport& report);

} // namespace caldav
