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
    if (!total.error)
        total.error = std::move(report.error);
}

}  // namespace

SyncOutcome RunAccountRounds(const std::string& storePath,
                             const std::vector<pim::SyncAccount>& accounts,
                             SyncCredentials& credentials, const QStringList& trustedFingerprints,
                             const AccountRound& round, const caldav::RoundOptions& options)
{
    SyncOutcome outcome;
    outcome.anyAccount = !accounts.empty();
    for (const pim::SyncAccount& account : accounts) {
        if (options.carryOn && !options.carryOn())
            break;
        const std::optional<QString> password = credentials.Password(account);
        caldav::Connection connection =
            caldav::ConnectionTo(account, password.value_or(QString()), trustedFingerprints);
        // A request under way is abandoned as soon as the program closes, not at its deadline.
        connection.carryOn = options.carryOn;
        caldav::RoundReport report = round(storePath, account, connection, options);
        if (report.error.failure == caldav::Failure::WrongPassword && !password &&
            !outcome.needsPassword)
            outcome.needsPassword = account;
        if (report.error)
            outcome.failedAccounts[account.id] = report.error.message;
        AddUp(outcome.report, std::move(report));
    }
    return outcome;
}
