// How the program and tamberlo-sync reach an account alike: the connection made from the stored
// account, and the certificates the user chose to trust, kept in the profile's [Sync] group.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/pim/sync_ledger.h"
#include "sync/connection.h"

class Profile;

namespace caldav {

// The profile's group of the sync settings.
inline constexpr wchar_t kSyncSection[] = L"Sync";

Connection ConnectionTo(const pim::SyncAccount& account, const QString& password,
                        const QStringList& trustedFingerprints);

QStringList TrustedFingerprints(const Profile& profile);
// Adds the fingerprint (hex with colons) and writes the profile at once; false when it is no
// fingerprint or the profile cannot be written.
bool TrustFingerprint(Profile& profile, const QByteArray& fingerprint);

}  // namespace caldav
