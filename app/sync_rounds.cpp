// An account whose round fails does not keep the others from theirs; the first failure is the
// one shown.
#include "app/sync_rounds.h"

#include "dialogs/sync_access.h"

namespace {

void AddUp(caldav::RoundReport& total, caldav::RoundReport report)
{
    total.sent += report.sent;
    total.deletedThere += report.deletedThere;
    total.received += report.received;
    total.deletedHere += report.deletedHere;
    total.conflicts += report.conflicts;
    total.skipped += report.skipped;
    total.refused += report.refused;
    total.requests += report.requests;
    total.storeChanged = total.storeChanged || report.storeChanged;
    total.notes.insert(total.notes.end(), report.notes.begin(), report.notes.end());
    if (!total.error) {
        total.error = std::move(report.error);
    }
}

} // namespace

SyncOutcome RunAccountRounds(const std::string& storePath,
                             const std::vector<pim::SyncAccount>& accounts,
                             SyncCredentials& credentials, const QStringList& trustedFingerprints,
                             const AccountRound& round, const caldav::RoundOptions& options)
{
    SyncOutcome outcome;
    outcome.anyAccount = !accounts.empty();
    for (const pim::SyncAccount& account : accounts) {
        if (options.carryOn && !options.carryOn()) {
            break;
        }
        const std::optional<QString> password = credentials.Password(account);
        caldav::Connection connection =
            caldav::ConnectionTo(account, password.value_or(QString()), trustedFingerprints);
        // A request under way is abandoned as soon as the program closes, not at its deadline.
        connection.carryOn = options.carryOn;
        caldav::RoundReport report = round(storePath, account, connection, options);
        if (report.error.failure == caldav::Failure::WrongPassword && !password &&
            !outcome.needsPassword) {
            outcome.needsPassword = account;
        }
        if (report.error) {
            outcome.failedAccounts[account.id] = report.error.message;
        }
        AddUp(outcome.report, std::move(report));
    }
    return outcome;
}

void RefreshSubscriptions(SyncOutcome& outcome, const std::string& storePath,
                          const QStringList& trustedFingerprints,
                          const SubscriptionRefresh& refresh, const caldav::RoundOptions& options)
{
    if (!refresh || (options.carryOn && !options.carryOn())) {
        return;
    }
    caldav::Connection limits;
    limits.trustedFingerprints = trustedFingerprints;
    limits.carryOn = options.carryOn;
    for (const caldav::SubscriptionReport& subscription : refresh(storePath, limits, options)) {
        // Another program's round on the store refreshes them as well.
        if (subscription.busy) {
            continue;
        }
        outcome.anySubscription = true;
        caldav::RoundReport report;
        report.received = subscription.change.written;
        report.deletedHere = subscription.change.deleted;
        report.storeChanged = report.received + report.deletedHere > 0;
        report.notes = subscription.notes;
        report.error = caldav::SubscriptionFailure(subscription);
        if (subscription.calendar.id != 0) {
            outcome.subscriptions[subscription.calendar.id] =
                subscription.error ? subscription.error.message : std::wstring();
        }
        AddUp(outcome.report, std::move(report));
    }
}
