// The meeting part of the appointment editor: the organizer and every attendee with their
// answers and roles, read-only; the meeting's links, web addresses opening in the browser; and
// Accept, Tentative and Decline when the user is invited.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "ical/item_meeting.h"

class QUrl;

// The panel's controls, by id as the editors name theirs.
enum MeetingControl : int {
    kMeetingPeople = 1150,
    kMeetingLinks = 1151,
    kMeetingAccept = 1152,
    kMeetingTentative = 1153,
    kMeetingDecline = 1154,
};

class MeetingPanel : public QWidget {
public:
    // `answer` is called with the PARTSTAT of the button pressed; `openLink` with the link.
    MeetingPanel(const ical::Meeting& meeting, bool invited,
                 const std::function<void(const std::string& partstat)>& answer,
                 std::function<void(const QUrl&)> openLink, QWidget* parent = nullptr);
};

// The links as the panel's label shows them: web addresses as links, the rest as plain text.
QString MeetingLinksHtml(const ical::Meeting& meeting);
