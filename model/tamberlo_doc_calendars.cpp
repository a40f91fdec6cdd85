// The document's calendars: read at every load beside the items, so the entries' colours and
// the calendar choice always agree with the calendars the window was filled from.
#include <algorithm>

#include "model/pim_session.h"
#include "model/tamberlo_doc.h"

void CTamberloDoc::LoadCalendars()
{
    // A store older than calendars fails here and is shown whole, without colours.
    if (session_.Calendars().All(calendars_) < 0) {
        calendars_.clear();
    }
}

const pim::Calendar* CTamberloDoc::CalendarOf(int32_t calendar) const
{
    const auto found =
        std::find_if(calendars_.begin(), calendars_.end(),
                     [calendar](const pim::Calendar& c) { return c.id == calendar; });
    return found != calendars_.end() ? &*found : nullptr;
}

std::optional<uint32_t> CTamberloDoc::CalendarColour(int32_t calendar) const
{
    const pim::Calendar* known = calendars_.size() > 1 ? CalendarOf(calendar) : nullptr;
    return known != nullptr ? std::optional<uint32_t>(known->colour) : std::nullopt;
}

std::wstring CTamberloDoc::CalendarName(int32_t calendar) const
{
    const pim::Calendar* known = CalendarOf(calendar);
    return known != nullptr ? known->name : std::wstring();
}

int32_t CTamberloDoc::ApptCalendar(int row, int pos) const
{
    const AppointmentEntry* e = Appointment(row, pos);
    return e != nullptr ? e->calendar : 0;
}

int32_t CTamberloDoc::TaskCalendar(int row, int pos) const
{
    const TaskEntry* t = Task(row, pos);
    return t != nullptr ? t->calendar : 0;
}
