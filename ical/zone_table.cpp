// Zones by TZID. libical frees a zone's component with the zone, so the table owns both.
#include "ical/zone_table.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ical/ical_text.h"
#include "ical/windows_zones.h"
#include "platform/pim/zone_time.h"

namespace ical {
namespace {

// "…/zoneinfo/Europe/Berlin" -> "Europe/Berlin".
std::string AfterZoneinfo(const std::string& path)
{
    const std::string marker = "zoneinfo/";
    const size_t at = path.rfind(marker);
    return at == std::string::npos ? std::string() : path.substr(at + marker.size());
}

bool IsUtcName(const std::string& name)
{
    return name.empty() || name == "UTC" || name == "Etc/UTC" || name == "UTC0" || name == "GMT" ||
           name == "Etc/GMT" || name == "Universal" || name == "Zulu";
}

} // namespace

ZoneTable::~ZoneTable()
{
    for (auto& [tzid, zone] : own_) {
        icaltimezone_free(zone, 1);
    }
}

bool ZoneTable::Add(icalcomponent* vtimezone)
{
    icalproperty* tzid = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY);
    const char* name = tzid != nullptr ? icalproperty_get_tzid(tzid) : nullptr;
    // The name lives in the component: copy it before the component may be freed.
    const std::string key = name != nullptr ? name : "";
    if (key.empty() || own_.contains(key)) {
        icalcomponent_free(vtimezone);
        return !key.empty();
    }
    icaltimezone* zone = icaltimezone_new();
    if (icaltimezone_set_component(zone, vtimezone) == 0) {
        icaltimezone_free(zone, 1);
        icalcomponent_free(vtimezone);
        return false;
    }
    own_[key] = zone;
    return true;
}

icaltimezone* ZoneTable::Find(const std::string& tzid) const
{
    const std::string iana = IanaName(tzid);
    if (iana == "UTC") {
        return icaltimezone_get_utc_timezone();
    }
    if (!iana.empty()) {
        if (icaltimezone* zone = icaltimezone_get_builtin_timezone(iana.c_str())) {
            return zone;
        }
    }
    const auto at = own_.find(tzid);
    return at != own_.end() ? at->second : nullptr;
}

std::string ZoneTable::OwnDefinition(const std::string& tzid) const
{
    const auto at = own_.find(tzid);
    icalcomponent* definition = at != own_.end() ? icaltimezone_get_component(at->second) : nullptr;
    if (definition == nullptr) {
        return {};
    }
    char* text = icalcomponent_as_ical_string_r(definition);
    std::string out = text;
    free(text);
    return out;
}

// "/mozilla.org/20050126_1/America/New_York" names America/New_York: the longest tail of the
// path that is a zone name.
std::string ZoneTable::IanaName(const std::string& tzid)
{
    if (IsUtcName(tzid)) {
        return tzid.empty() ? std::string() : "UTC";
    }
    if (pim::IsKnownZone(Wide(tzid.c_str()))) {
        return tzid;
    }
    if (!tzid.empty() && tzid[0] == '/') {
        for (size_t at = tzid.find('/'); at != std::string::npos; at = tzid.find('/', at + 1)) {
            const std::string tail = tzid.substr(at + 1);
            if (!tail.empty() && pim::IsKnownZone(Wide(tail.c_str()))) {
                return IsUtcName(tail) ? "UTC" : tail;
            }
        }
        return {};
    }
    const std::string windows = IanaZoneOfWindowsName(tzid);
    return windows == "Etc/UTC" ? "UTC" : windows;
}

std::string ZoneTable::LocalZoneName()
{
    std::string name;
    if (const char* tz = std::getenv("TZ")) {
        name = tz;
        if (!name.empty() && name[0] == ':') {
            name.erase(0, 1);
        }
        if (!name.empty() && name[0] == '/') {
            name = AfterZoneinfo(name);
        }
    } else {
        std::error_code error;
        name = AfterZoneinfo(std::filesystem::read_symlink("/etc/localtime", error).string());
        if (name.empty()) {
            std::ifstream file("/etc/timezone");
            std::getline(file, name);
        }
    }
    if (IsUtcName(name)) {
        return "UTC";
    }
    return icaltimezone_get_builtin_timezone(name.c_str()) != nullptr ? name : std::string();
}

} // namespace ical
