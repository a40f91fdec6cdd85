// The time zones an import meets: the file's own VTIMEZONE definitions first, then the zone
// database by name. Also names the machine's own zone for export.
#pragma once

#include <libical/ical.h>

#include <map>
#include <string>

namespace ical {

class ZoneTable {
public:
    ZoneTable() = default;
    ~ZoneTable();
    ZoneTable(const ZoneTable&) = delete;
    ZoneTable& operator=(const ZoneTable&) = delete;

    // Takes the VTIMEZONE component; false (and the component freed) when it has no TZID.
    bool Add(icalcomponent* vtimezone);
    // The zone of a TZID parameter, or null when neither the file nor the database knows it.
    icaltimezone* Find(const std::string& tzid) const;

    // The machine's zone by name (TZ, else /etc/localtime), as the zone database knows it;
    // empty when TZ holds a rule rather than a name or the name is unknown. "UTC" for UTC.
    static std::string LocalZoneName();

private:
    std::map<std::string, icaltimezone*> own_;
};

}  // namespace ical
