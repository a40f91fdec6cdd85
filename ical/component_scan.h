// Scans of a component's own text, for what libical reads too leniently or drops: the blanks
// around a value, the rule as written, and the decisive lines it could not read.
#pragma once

#include <libical/ical.h>

#include <string>
#include <string_view>

namespace ical {

// The text with its folded lines (CR LF then a blank) joined.
std::string Unfolded(const std::string& text);

// The value of the component's own first `name` line as written (after its parameters).
std::string_view RawValue(std::string_view unfolded, std::string_view name);

// The RRULE value as written.
std::string RawRule(const std::string& unfolded);

// "unreadable DTSTART" and the like when a line that decides when the item happens was dropped
// by libical; empty when every such line was read.
std::string UnreadValue(icalcomponent* c, std::string_view unfolded);

} // namespace ical
