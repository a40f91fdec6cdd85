// What reaching a calendar account takes besides the account itself: its address as a URL, its
// password (from the desktop's secret store, or kept for this run only), the certificates the
// user chose to trust (in the profile's [Sync] group), and the accounts kept in the store.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/pim/sync_ledger.h"
#include "sync/account_connection.h"

class MessageService;

class Profile;
namespace platform {
class SecretStore;
}

// The typed address as a connection takes it (caldav::ServerAddress); an empty URL when the text
// is no http(s) address of a host.
QUrl CheckedServerAddress(const std::wstring& typed);

// Runs `work` over the sync ledger of the store at `storePath`, opened for this call only; the
// store's own status when it cannot be opened.
int32_t WithSyncLedger(const std::string& storePath,
                       const std::function<int32_t(pim::SyncLedger&)>& work);

class SyncCredentials {
public:
    // `secrets` null: the desktop has no secret store, and passwords live in memory only.
    SyncCredentials(Profile& profile, const platform::SecretStore* secrets);

    // The password commands the profile keeps for `accounts` (the tool's `add
    // --password-command`), read on the window's thread for the rounds that follow.
    void ReadPasswordCommands(const std::vector<pim::SyncAccount>& accounts);
    // The account's password: what its own command prints, else asked of the secret store the
    // first time; callable from a round's thread. Nothing when none is known.
    std::optional<QString> Password(const pim::SyncAccount& account);
    // Into the secret store when there is one, and in memory for the rest of this run either way.
    void KeepPassword(const pim::SyncAccount& account, const QString& password);
    void ForgetPassword(const pim::SyncAccount& account);

    // Certificates the user chose to trust, in the profile (written at once); read and kept on
    // the window's thread only.
    QStringList TrustedFingerprints() const;
    // The certificate a refusal named, for the host and port it named.
    void Trust(const caldav::SyncError& refusal);
    // For a refusal of an untrusted certificate: asks the user whether to trust it, and trusts
    // it when they agree. True when it is now trusted, so the caller tries again.
    bool AskToTrust(const caldav::SyncError& refusal, MessageService& messages);
    // The profile the accounts' other values (their calendar user addresses) are kept in.
    Profile& AccountProfile() const { return profile_; }

private:
    static QString KeyOf(const pim::SyncAccount& account);

    Profile& profile_;
    const platform::SecretStore* secrets_;
    std::mutex mutex_; // the round's thread reads passwords while the window may keep one
    std::map<QString, QString> known_;
    std::map<QString, QString> commands_;
};
