// Zones by TZID. libical frees a zone's component with the zone, so the table owns both.
#include "ical/zone_table.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
    return name.empty() || name == "UTC" || name == "Etc/UTC" || name == "UTC0" ||
           name == "GMT" || name == "Etc/GMT" || name == "Universal" || name == "Zulu";
}

}  // namespace

ZoneTable::~ZoneTable()
{
    for (auto& [tzid, zone] : own_) {
        icaltimezone_free(zone, 1);
    }
}

bool ZoneTable::Add(icalcomponent* vtimezone)
{
    icalproperty* tzid = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY);
    const char* name = tzid ? icalproperty_get_tzid(tzid) : nullptr;
    if (name == nullptr || *name == '\0' || own_.count(name) != 0) {
        icalcomponent_free(vtimezone);
        return name != nullptr && *name != '\0';
    }
    icaltimezone* zone = icaltimezone_new();
    const std::string key = name;
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
    if (const auto at = own_.find(tzid); at != own_.end()) {
        return at->second;
    }
    if (IsUtcName(tzid)) {
        return icaltimezone_get_utc_timezone();
    }
    if (icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid.c_str())) {
        return zone;
    }
    return icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str());
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

}  // namespace ical
