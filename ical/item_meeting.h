// The meeting an item keeps: who organizes it, who is invited and how each answered, and where
// it is held online. Read from the component the item came as, for the window to show.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ical {

struct MeetingPerson {
    std::wstring address; // the calendar address as written ("mailto:ann@example.com")
    std::wstring name;    // CN, empty when none
    std::string partstat; // PARTSTAT as written ("ACCEPTED"); empty: NEEDS-ACTION
    std::string role;     // ROLE as written ("REQ-PARTICIPANT"); empty: REQ-PARTICIPANT
};

struct Meeting {
    std::optional<MeetingPerson> organizer;
    std::vector<MeetingPerson> attendees;
    std::wstring url;                      // URL
    std::vector<std::wstring> conferences; // each CONFERENCE's address

    bool IsMeeting() const { return organizer.has_value() || !attendees.empty(); }
};

// The meeting of a kept component (ItemFields::Kept); empty for an item that kept nothing.
Meeting MeetingOf(const std::string& kept);

} // namespace ical
