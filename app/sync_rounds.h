// What one sync of the program does on its worker thread: every account kept in the store, one
// round each, with the password the window knows or the secret store gives. The network itself
// comes in as functions, so the window and its tests can run with rounds of their own.
#pragma once

#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/calendar_accounts_dlg.h"
#include "platform/pim/sync_ledger.h"
#include "sync/subscription.h"
#include "sync/sync_round.h"

class SyncCredentials;

// One account's round, as caldav::RunRound runs it.
using AccountRound =
    std::function<caldav::RoundReport(const std::string& storePath, const pim::SyncAccount&,
                                      const caldav::Connection&, const caldav::RoundOptions&)>;

// Every subscription read again, as caldav::RefreshSubscriptions does.
using SubscriptionRefresh = std::function<std::vector<caldav::SubscriptionReport>(
    const std::string& storePath, const caldav::Connection& limits, const caldav::RoundOptions&)>;

// How the program reaches servers; without a round the program offers no sync.
struct SyncNetwork {
    AccountRound round;
    CCalendarAccountsDlg::Discoverer discover;
    SubscriptionRefresh refresh{}; // none: subscriptions stay as they are
};

// The CalDAV client's rounds and discovery.
SyncNetwork CalDavNetwork();

struct SyncOutcome {
    bool anyAccount = false;
    bool anySubscription = false;
    // The accounts' reports added up; the error is the first account's failure.
    caldav::RoundReport report;
    // Refused for want of a password nobody knew: asking the user and running again may help.
    std::optional<pim::SyncAccount> needsPassword;
    // The accounts whose round failed, by id, with why.
    std::map<int32_t, std::wstring> failedAccounts;
    // The subscriptions refreshed, by calendar id, with why for a failed one (empty when read).
    std::map<int32_t, std::wstring> subscriptions;
};

// One round per account of `accounts` (the accounts of the store at `storePath`); safe on a
// worker thread.
SyncOutcome RunAccountRounds(const std::string& storePath,
                             const std::vector<pim::SyncAccount>& accounts,
                             SyncCredentials& credentials, const QStringList& trustedFingerprints,
                             const AccountRound& round, const caldav::RoundOptions& options);
// After the accounts' rounds: every subscription read again, its counts and failure added to
// the outcome as an account's are.
void RefreshSubscriptions(SyncOutcome& outcome, const std::string& storePath,
                          const QStringList& trustedFingerprints,
                          const SubscriptionRefresh& refresh, const caldav::RoundOptions& options);
