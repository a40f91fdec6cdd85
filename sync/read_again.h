// Reads a link may have cut (a closed connection, a body cut off) are asked again a few times;
// what the server itself answered is not.
#pragma once

#include "sync/sync_error.h"

namespace caldav {

// Tries of a read whose answer the link cut.
constexpr int kReadTries = 4;

// `ask` returns an answer with an `error` (a SyncError).
template <typename Ask> auto AskedAgain(const Ask& ask)
{
    auto answer = ask();
    for (int tries = 1; tries < kReadTries; ++tries) {
        const Failure failure = answer.error.failure;
        if (failure != Failure::Unreachable && failure != Failure::Malformed) {
            break;
        }
        answer = ask();
    }
    return answer;
}

} // namespace caldav
