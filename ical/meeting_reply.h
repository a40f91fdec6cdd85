// The two changes the program itself makes to a kept meeting: the user's answer to an
// invitation, and the copy that becomes an item of the user's own. Both rewrite only the lines
// they are about, so the rest of the component stays as the organizer sent it.
#pragma once

#include <optional>
#include <string>

#include "ical/item_meeting.h"
#include "platform/pim/item_fields.h"

namespace ical {

// PARTSTAT values of the three answers.
inline constexpr const char* kAccepted = "ACCEPTED";
inline constexpr const char* kTentative = "TENTATIVE";
inline constexpr const char* kDeclined = "DECLINED";

// The kept component with PARTSTAT set to `partstat` on the user's own ATTENDEE line, its other
// parameters and every other line as they were; nothing when the user is not invited.
std::optional<std::string> AnsweredKept(const std::string& kept, const OwnAddresses& own,
                                        const std::string& partstat);
// The whole item answered: the series and each changed occurrence that invites the user (an
// answer to a meeting is an answer to every time it meets); nothing when none of them does.
std::optional<pim::StoredItem> AnsweredItem(const pim::StoredItem& item, const OwnAddresses& own,
                                            const std::string& partstat);

// The kept component of a copy, which is a new item of the user's: without the organizer, the
// attendees and the lines that belong to the original's scheduling under its UID (the UID and
// RECURRENCE-ID themselves, its SEQUENCE, the reply statuses, the clients' received-invitation
// records). Alarms keep theirs.
std::string WithoutScheduling(const std::string& kept);

} // namespace ical
