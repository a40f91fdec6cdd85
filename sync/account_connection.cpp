// The stored account made into a connection: the password command kept per account under a
// hashed key, and the certificates the user trusted, read from and written to the profile.
#include "sync/account_connection.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>

#include "platform/profile.h"
#include "platform/secret_store.h"

namespace caldav {
namespace {

constexpr wchar_t kTrusted[] = L"TrustedCertificates";
constexpr wchar_t kLocalAddresses[] = L"OwnAddresses";

// Keyed by the account's user and server as the secret store keys it, hashed: an address is
// no profile key (its slashes would make groups).
std::wstring AccountValueKey(const wchar_t* name, const pim::SyncAccount& account)
{
    const QString key = platform::SecretStore::AccountKey(QString::fromStdWString(account.server),
                                                          QString::fromStdWString(account.user));
    const QByteArray hash =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return name + QString::fromLatin1(hash).toStdWString();
}

std::wstring CommandKey(const pim::SyncAccount& account)
{
    return AccountValueKey(L"PasswordCommand", account);
}

std::wstring AddressesKey(const pim::SyncAccount& account)
{
    return AccountValueKey(L"CalendarUserAddresses", account);
}

// A list of addresses as one profile value: separated by spaces, which an address never holds.
QStringList SplitAddresses(const std::wstring& value)
{
    return QString::fromStdWString(value).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::wstring JoinedAddresses(const QStringList& addresses)
{
    QStringList kept;
    for (const QString& address : addresses) {
        const QString trimmed = address.trimmed();
        if (!trimmed.isEmpty() && !trimmed.contains(QLatin1Char(' '))) {
            kept.append(trimmed);
        }
    }
    return kept.join(QLatin1Char(' ')).toStdWString();
}

} // namespace

Connection ConnectionTo(const pim::SyncAccount& account, const QString& password,
                        const QStringList& trustedFingerprints)
{
    Connection connection;
    const QString server = QString::fromStdWString(account.server);
    connection.server = ServerAddress(server);
    connection.httpsAssumed = HttpsAssumed(server);
    connection.user = QString::fromStdWString(account.user);
    connection.password = password;
    connection.trustedFingerprints = trustedFingerprints;
    for (const std::wstring& calendar : {account.eventCalendar, account.taskCalendar}) {
        if (!calendar.empty()) {
            connection.confirmed.push_back(QUrl(QString::fromStdWString(calendar)));
        }
    }
    return connection;
}

QStringList TrustedFingerprints(const Profile& profile)
{
    return QString::fromStdWString(profile.GetString(kSyncSection, kTrusted, {}))
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool TrustFingerprint(Profile& profile, const SyncError& refusal)
{
    QStringList trusted = TrustedFingerprints(profile);
    const QString fingerprint = QString::fromLatin1(refusal.fingerprint).trimmed();
    if (fingerprint.isEmpty() || fingerprint.contains(QLatin1Char(' ')) ||
        fingerprint.contains(QLatin1Char('=')) ||
        refusal.certificateAt.contains(QLatin1Char(' '))) {
        return false;
    }
    const QString added = refusal.certificateAt.isEmpty()
                              ? fingerprint
                              : refusal.certificateAt + QLatin1Char('=') + fingerprint;
    if (trusted.contains(added, Qt::CaseInsensitive)) {
        return true;
    }
    trusted.append(added);
    profile.WriteString(kSyncSection, kTrusted, trusted.join(QLatin1Char(' ')).toStdWString());
    return profile.Flush();
}

QString PasswordCommand(const Profile& profile, const pim::SyncAccount& account)
{
    return QString::fromStdWString(profile.GetString(kSyncSection, CommandKey(account), {}));
}

bool KeepPasswordCommand(Profile& profile, const pim::SyncAccount& account, const QString& command)
{
    profile.WriteString(kSyncSection, CommandKey(account), command.toStdWString());
    return profile.Flush();
}

QStringList AccountAddresses(const Profile& profile, const pim::SyncAccount& account)
{
    return SplitAddresses(profile.GetString(kSyncSection, AddressesKey(account), {}));
}

bool KeepAccountAddresses(Profile& profile, const pim::SyncAccount& account,
                          const QStringList& addresses)
{
    profile.WriteString(kSyncSection, AddressesKey(account), JoinedAddresses(addresses));
    return profile.Flush();
}

QStringList LocalAddresses(const Profile& profile)
{
    return SplitAddresses(profile.GetString(kSyncSection, kLocalAddresses, {}));
}

bool KeepLocalAddresses(Profile& profile, const QString& typed)
{
    profile.WriteString(kSyncSection, kLocalAddresses,
                        JoinedAddresses(typed.split(QRegularExpression(QStringLiteral("[\\s,;]+")),
                                                    Qt::SkipEmptyParts)));
    return profile.Flush();
}

std::vector<std::wstring> OwnAddresses(const Profile& profile,
                                       const std::vector<pim::SyncAccount>& accounts)
{
    QStringList all = LocalAddresses(profile);
    for (const pim::SyncAccount& account : accounts) {
        all.append(AccountAddresses(profile, account));
    }
    all.removeDuplicates();
    std::vector<std::wstring> own;
    for (const QString& address : all) {
        own.push_back(address.toStdWString());
    }
    return own;
}

std::optional<QString> RunPasswordCommand(const QString& command, int waitMs)
{
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    const bool finished = process.waitForFinished(waitMs);
    if (!finished) {
        process.kill();
        process.waitForFinished(1000);
    }
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    QString password = QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0);
    password.remove(u'\r');
    return password;
}

} // namespace caldav
