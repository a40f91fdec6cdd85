// tamberlo-sync's subscriptions: `subscribe URL [--name NAME]`, `unsubscribe NAME-or-URL`, and
// the refresh of every subscription that follows the accounts' rounds.
#pragma once

#include <QStringList>
#include <ostream>
#include <string>

#include "sync/sync_round.h"

// Exit codes as the tool's: 0 done, 2 failed.
int SubscribeCommand(const std::string& storePath, const std::string& typed,
                     const std::string& name, const QStringList& trusted, std::ostream& out,
                     std::ostream& err);
// Drops the subscription of that name (exact, else without regard to case) or address, its
// items with it; a name two subscriptions share is refused.
int UnsubscribeCommand(const std::string& storePath, const std::string& typed, std::ostream& out,
                       std::ostream& err);
// One line per subscription; 2 when one of them could not be read or kept.
int RefreshCommand(const std::string& storePath, const QStringList& trusted,
                   const caldav::RoundOptions& options, std::ostream& out, std::ostream& err);
