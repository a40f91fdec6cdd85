// Outlook and Exchange name zones by their Windows names ("W. Europe Standard Time"); files
// from them often carry no VTIMEZONE. The Unicode CLDR windowsZones table gives each name the
// IANA zone of its main territory.
#pragma once

#include <string>

namespace ical {

// The IANA zone of a Windows zone name, or empty when the name is not one.
std::string IanaZoneOfWindowsName(const std::string& windowsName);

} // namespace ical
