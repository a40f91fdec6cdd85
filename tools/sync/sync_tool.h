// tamberlo-sync [--store FILE] [--account ID] [--password-command CMD]   a round per account
// tamberlo-sync discover URL --user NAME
// tamberlo-sync add URL --user NAME [--events URL] [--tasks URL]
// tamberlo-sync list
// tamberlo-sync remove ID
// tamberlo-sync subscribe URL [--name NAME]
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/systemtime.h"

// Exit codes.
constexpr int kSyncOk = 0;
constexpr int kSyncNeedsLook = 1; // a conflict or a resource left on the server
constexpr int kSyncFailed = 2;    // also bad arguments

// The arguments without the program name; `now` stamps what the rounds write.
int RunSync(const std::vector<std::string>& args, const SYSTEMTIME& now, std::ostream& out,
            std::ostream& err);
