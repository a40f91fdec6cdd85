// How the program and tamberlo-sync reach an account alike: the connection made from the stored
// account, the certificates the user chose to trust and each account's password command, kept
// in the profile's [Sync] group.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "platform/pim/sync_ledger.h"
#include "sync/connection.h"
#include "sync/sync_error.h"

class Profile;

namespace caldav {

// The profile's group of the sync settings.
inline constexpr wchar_t kSyncSection[] = L"Sync";

// The account's address and user, and its chosen calendars as the other places its password
// may go.
Connection ConnectionTo(const pim::SyncAccount& account, const QString& password,
                        const QStringList& trustedFingerprints);

QStringList TrustedFingerprints(const Profile& profile);
// Keeps the certificate a refusal named, for its host and port (any host when the refusal names
// none), and writes the profile at once; false when it is no fingerprint or the profile cannot
// be written.
bool TrustFingerprint(Profile& profile, const SyncError& refusal);

// The command whose first line of output is the account's password; empty when none is kept.
QString PasswordCommand(const Profile& profile, const pim::SyncAccount& account);
// Keeps the command (the command, never the password) for the account; empty forgets it.
bool KeepPasswordCommand(Profile& profile, const pim::SyncAccount& account, const QString& command);
// The account's calendar user addresses as its server gave them at the last Test (RFC 6638),
// kept beside it in the profile; an empty list forgets them.
QStringList AccountAddresses(const Profile& profile, const pim::SyncAccount& account);
bool KeepAccountAddresses(Profile& profile, const pim::SyncAccount& account,
                          const QStringList& addresses);
// The addresses the user typed for the local calendars ("mailto:me@example.com"); typed text
// may separate them by spaces, commas or semicolons.
QStringList LocalAddresses(const Profile& profile);
bool KeepLocalAddresses(Profile& profile, const QString& typed);
// All of the user's own addresses: the typed ones and those of every account.
std::vector<std::wstring> OwnAddresses(const Profile& profile,
                                       const std::vector<pim::SyncAccount>& accounts);

// The first line the command prints, or nothing when it fails or does not finish in time.
std::optional<QString> RunPasswordCommand(const QString& command, int waitMs = 30000);

} // namespace caldav
