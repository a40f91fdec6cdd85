// The program's sync over the CalDAV client: each call makes its own client on the calling
// (worker) thread, since Qt's network objects belong to the thread that made them.
#include "app/sync_rounds.h"

#include "model/recurrence.h"
#include "sync/dav_client.h"

SyncNetwork CalDavNetwork()
{
    SyncNetwork network;
    network.round = [](const std::string& storePath, const pim::SyncAccount& account,
                       const caldav::Connection& connection, const caldav::RoundOptions& options) {
        return caldav::RunRound(storePath, OccurrenceOnDay, account, connection, options);
    };
    network.discover = [](const caldav::Connection& connection) {
        caldav::DavClient client(connection);
        return caldav::Discover(client);
    };
    network.refresh = [](const std::string& storePath, const caldav::Connection& limits,
                         const caldav::RoundOptions& options) {
        return caldav::RefreshSubscriptions(storePath, limits, options);
    };
    return network;
}
