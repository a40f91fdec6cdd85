// The meeting's properties are read from the kept lines as written, parameters and all, so a
// value libical has no type for (CONFERENCE) reads like any other.
#include "ical/item_meeting.h"

#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "platform/pim/kept_revision.h"

namespace ical {
namespace {

std::string FirstParameter(const std::string& line, const char* name)
{
    const std::vector<std::string> values = ParameterValues(line, name);
    return values.empty() ? std::string() : values.front();
}

MeetingPerson PersonOf(const std::string& line)
{
    return {Wide(LineValue(line).c_str()), Wide(FirstParameter(line, "CN").c_str()),
            FirstParameter(line, "PARTSTAT"), FirstParameter(line, "ROLE")};
}

} // namespace

Meeting MeetingOf(const std::string& kept)
{
    Meeting meeting;
    if (kept.empty()) {
        return meeting;
    }
    for (const std::string& line : KeptOwnLines(kept)) {
        const std::string name = pim::KeptPropertyName(line);
        if (name == "ORGANIZER" && !meeting.organizer) {
            meeting.organizer = PersonOf(line);
        } else if (name == "ATTENDEE") {
            meeting.attendees.push_back(PersonOf(line));
        } else if (name == "URL" && meeting.url.empty()) {
            meeting.url = Wide(LineValue(line).c_str());
        } else if (name == "CONFERENCE") {
            meeting.conferences.push_back(Wide(LineValue(line).c_str()));
        }
    }
    return meeting;
}

} // namespace ical
