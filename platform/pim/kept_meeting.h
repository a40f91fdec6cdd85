// Whether an item is a meeting, told from the component it kept: the window marks meetings on
// every paint, so this reads the kept lines without parsing the component.
#pragma once

#include <string_view>

namespace pim {

// True when the kept component's own lines (not those of its alarms, whose ATTENDEE is where an
// e-mail reminder goes) name an ORGANIZER or an ATTENDEE.
bool KeptIsMeeting(std::string_view kept);

} // namespace pim
