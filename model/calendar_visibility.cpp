// A calendar's shown flag written through the store's calendar list, like every other change
// the window makes: the store first, then the document, never the other way round.
#include "model/calendar_visibility.h"

#include "model/pim_session.h"
#include "model/tamberlo_doc.h"

namespace {

int32_t SaveShown(PimSession& session, const pim::StoreDatabase::Identity& loaded, int32_t calendar,
                  bool shown)
{
    const ScopedConnection connection(session);
    // The list's ids name calendars of the file the window shows, and of no other.
    if (!session.IsConnected() || (loaded.inode != 0 && session.StoreIdentity() != loaded)) {
        return -1;
    }
    pim::CalendarList calendars = session.Calendars();
    pim::Calendar stored;
    if (calendars.Get(calendar, stored) < 0) {
        return -1;
    }
    if (stored.shown == shown) {
        return 0;
    }
    stored.shown = shown;
    return calendars.Save(stored);
}

} // namespace

int32_t SetCalendarShown(CTamberloDoc& document, int32_t calendar, bool shown)
{
    const int32_t status = SaveShown(document.Session(), document.LoadedStore(), calendar, shown);
    document.Reload();
    return status;
}
