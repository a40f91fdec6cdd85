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

// The user's own calendar addresses ("mailto:me@example.com"), as the accounts' servers and the
// settings give them.
using OwnAddresses = std::vector<std::wstring>;

// Whether a calendar address is one of the user's: compared without "mailto:" and case.
bool IsOwnAddress(const std::wstring& address, const OwnAddresses& own);
// The user's own attendee entry, or null when the user is not invited by any own address.
const MeetingPerson* OwnAttendee(const Meeting& meeting, const OwnAddresses& own);
// "Ann Lee <ann@example.com>", or the address alone when there is no name.
std::wstring PersonText(const MeetingPerson& person);

// What the window tells of a meeting, one line each: the organizer, then every attendee with
// the answer and role ("Bob <bob@example.com>: accepted, required"). Empty for no meeting.
std::vector<std::wstring> MeetingLines(const Meeting& meeting);
// The meeting's links, URL first then each CONFERENCE.
std::vector<std::wstring> MeetingLinks(const Meeting& meeting);
// Whether a link may be opened in the desktop's browser: web addresses only, since the text
// comes from whoever sent the invitation.
bool OpensInBrowser(const std::wstring& link);

// The question to ask before the time of a kept meeting changes, when someone else organizes
// it ("This meeting is organized by Ann; ..."); empty when there is nothing to ask.
std::wstring CopyOnlyNotice(const std::string& kept, const OwnAddresses& own);

} // namespace ical
