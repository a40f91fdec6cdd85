// The time zones an import meets: a name the system's zone data knows (also behind a vendor
// prefix, or as a Windows zone name) first, since a file's own definition often covers only
// recent years; else the file's own VTIMEZONE. Also names the machine's own zone for export.
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
    // The zone of a TZID parameter, or null when neither the system nor the file knows it.
    icaltimezone* Find(const std::string& tzid) const;
    // The IANA name the system knows a TZID by ("UTC" for UTC), or empty.
    static std::string IanaName(const std::string& tzid);
    // The text of the file's own definition of a TZID; empty when the file gave none.
    std::string OwnDefinition(const std::string& tzid) const;

    // The machine's zone by name (TZ, else /etc/localtime), as the zone database knows it;
    // empty when TZ holds a rule rather than a name or the name is unknown. "UTC" for UTC.
    static std::string LocalZoneName();

private:
    std::map<std::string, icaltimezone*> own_;
};

} // namespace ical
