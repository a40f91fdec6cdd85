// What an item keeps of the component it came as, and the component written back from it: the
// kept lines for everything the fields do not stand for or still say, the fields' own lines for
// what the user changed. So an item that comes in is the item that goes out, but for the edit.
#pragma once

#include <libical/ical.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/pim/item_fields.h"

namespace ical {

class ZoneTable;

// The component's text unfolded, each line ending in CR LF, then the definitions of the zones
// it names that only its file defines (the system knows the others by name).
std::string KeptText(const std::string& componentText, const ZoneTable& zones);

// The component's own lines, without the zone definitions that follow it.
std::string KeptComponent(const std::string& kept);

// The definitions of the zones a kept text carries, by TZID.
std::map<std::string, std::string> KeptZones(const std::string& kept);

// The component's own property lines (not those of its alarms), unfolded.
std::vector<std::string> KeptOwnLines(const std::string& kept);
// The values of a parameter of an unfolded content line, unquoted, and the line's value.
std::vector<std::string> ParameterValues(const std::string& line, const std::string& parameter);
std::string LineValue(const std::string& line);

// The TZIDs a component's lines name.
std::set<std::string> NamedZones(const std::string& componentText);

// What a kept text says, for comparing two versions: without the component's revision lines
// (DTSTAMP, LAST-MODIFIED, SEQUENCE) and with the lines and sub-components of each level in
// a fixed order, since servers store a component in their own order.
std::string KeptContent(const std::string& kept);

// The component to write for `fields` (of `item`, or of its changed occurrence `exception`)
// from what it kept and from `written`, the component the fields alone give. Folded as a file
// holds it. Without anything kept, `written` as it is. `fieldsAsRead`: the fields are what the
// kept component reads as (the item was just read from it), so it is not parsed again.
std::string MergedComponentText(const pim::StoredItem& item, const pim::ExceptionFields* exception,
                                icalcomponent* written, bool fieldsAsRead = false);

// A kept component's revision: SEQUENCE, then LAST-MODIFIED, then DTSTAMP, in seconds since
// 1970 (0 when absent); all 0 for an item that kept nothing.
struct Revision {
    int sequence = 0;
    time_t modified = 0;
    time_t stamp = 0;
    auto operator<=>(const Revision&) const = default;
};
Revision RevisionOf(icalcomponent* component);
Revision KeptRevisionOf(const std::string& kept);

} // namespace ical
