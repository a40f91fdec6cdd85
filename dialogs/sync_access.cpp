// Passwords are asked of the secret store once per run and then kept in memory, so a round
// every few minutes does not wake the keyring each time, and a keyring that is not there is not
// waited for again.
#include "dialogs/sync_access.h"

#include "dialogs/settings_controls.h"
#include "platform/message_service.h"
#include "res/string_table.h"

#include "platform/pim/store_database.h"
#include "platform/profile.h"
#include "platform/secret_store.h"
#include "sync/account_connection.h"

QUrl CheckedServerAddress(const std::wstring& typed)
{
    return caldav::CheckedServerAddress(QString::fromStdWString(typed));
}

int32_t WithSyncLedger(const std::string& storePath,
                       const std::function<int32_t(pim::SyncLedger&)>& work)
{
    pim::StoreDatabase db;
    if (const int32_t status = db.Open(storePath); status < 0) {
        return status;
    }
    pim::SyncLedger ledger(db);
    return work(ledger);
}

SyncCredentials::SyncCredentials(Profile& profile, const platform::SecretStore* secrets)
    : profile_(profile), secrets_(secrets)
{
}

QString SyncCredentials::KeyOf(const pim::SyncAccount& account)
{
    return platform::SecretStore::AccountKey(QString::fromStdWString(account.server),
                                             QString::fromStdWString(account.user));
}

void SyncCredentials::ReadPasswordCommands(const std::vector<pim::SyncAccount>& accounts)
{
    std::map<QString, QString> commands;
    for (const pim::SyncAccount& account : accounts) {
        if (const QString command = caldav::PasswordCommand(profile_, account);
            !command.isEmpty()) {
            commands[KeyOf(account)] = command;
        }
    }
    const std::lock_guard lock(mutex_);
    commands_ = std::move(commands);
}

std::optional<QString> SyncCredentials::Password(const pim::SyncAccount& account)
{
    const QString key = KeyOf(account);
    QString command;
    {
        const std::lock_guard lock(mutex_);
        if (const auto found = known_.find(key); found != known_.end()) {
            return found->second;
        }
        if (const auto kept = commands_.find(key); kept != commands_.end()) {
            command = kept->second;
        }
    }
    // Run each round, as the tool does: a command may hand out a password that changes.
    if (!command.isEmpty()) {
        if (std::optional<QString> password = caldav::RunPasswordCommand(command)) {
            return password;
        }
    }
    if (secrets_ == nullptr) {
        return std::nullopt;
    }
    const platform::SecretStore::Answer answer = secrets_->Read(key);
    if (answer.outcome != platform::SecretStore::Outcome::Done) {
        return std::nullopt;
    }
    const std::lock_guard lock(mutex_);
    known_[key] = answer.secret;
    return answer.secret;
}

void SyncCredentials::KeepPassword(const pim::SyncAccount& account, const QString& password)
{
    const QString key = KeyOf(account);
    if (secrets_ != nullptr) {
        secrets_->Write(key, password);
    }
    const std::lock_guard lock(mutex_);
    known_[key] = password;
}

void SyncCredentials::ForgetPassword(const pim::SyncAccount& account)
{
    const QString key = KeyOf(account);
    if (secrets_ != nullptr) {
        secrets_->Remove(key);
    }
    const std::lock_guard lock(mutex_);
    known_.erase(key);
}

QStringList SyncCredentials::TrustedFingerprints() const
{
    return caldav::TrustedFingerprints(profile_);
}

void SyncCredentials::Trust(const caldav::SyncError& refusal)
{
    caldav::TrustFingerprint(profile_, refusal);
}

bool SyncCredentials::AskToTrust(const caldav::SyncError& refusal, MessageService& messages)
{
    if (refusal.failure != caldav::Failure::CertificateRefused || refusal.fingerprint.isEmpty()) {
        return false;
    }
    const QString question = Text(res::IDS_TRUST_CERTIFICATE)
                                 .arg(QString::fromStdWString(refusal.message),
                                      QString::fromLatin1(refusal.fingerprint));
    if (messages.MessageBox(question.toStdWString(), res::LoadString(res::IDS_CONFIRM),
                            MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    Trust(refusal);
    return true;
}
