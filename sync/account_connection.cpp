#include "sync/account_connection.h"

#include "platform/profile.h"

namespace caldav {
namespace {

constexpr wchar_t kTrusted[] = L"TrustedCertificates";

}  // namespace

Connection ConnectionTo(const pim::SyncAccount& account, const QString& password,
                        const QStringList& trustedFingerprints)
{
    Connection connection;
    connection.server = ServerAddress(QString::fromStdWString(account.server));
    connection.user = QString::fromStdWString(account.user);
    connection.password = password;
    connection.trustedFingerprints = trustedFingerprints;
    return connection;
}

QStringList TrustedFingerprints(const Profile& profile)
{
    return QString::fromStdWString(profile.GetString(kSyncSection, kTrusted, {}))
        .split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool TrustFingerprint(Profile& profile, const QByteArray& fingerprint)
{
    QStringList trusted = TrustedFingerprints(profile);
    const QString added = QString::fromLatin1(fingerprint).trimmed();
    if (added.isEmpty() || added.contains(QLatin1Char(' ')))
        return false;
    if (trusted.contains(added, Qt::CaseInsensitive))
        return true;
    trusted.append(added);
    profile.WriteString(kSyncSection, kTrusted, trusted.join(QLatin1Char(' ')).toStdWString());
    return profile.Flush();
}

}  // namespace caldav
