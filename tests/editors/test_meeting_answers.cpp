// Meetings in the editors: answers change only the user's line; someone else's meeting asks first.
#include <QLabel>
#include <algorithm>
#include <iterator>
#include <set>

#include "editors/appoint_detail_dlg.h"
#include "editors/appointment_editing.h"
#include "editors/meeting_panel.h"
#include "editors/recur_confirm_dlg.h"
#include "ical/meeting_reply.h"
#include "model/undo_stack.h"
#include "platform/pim/content_lines.h"
#include "tests/editors/editor_fixture.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/test_data.h"

namespace {

using Lines = std::multiset<std::string>;

// The unfolded lines of the component with that UID, its revision stamps aside.
Lines MeetingLinesOf(const std::string& calendar, const std::string& uid)
{
    Lines out;
    bool inside = false;
    for (const std::string& line : pim::UnfoldedLines(calendar)) {
        inside = inside || line == "UID:" + uid;
        if (inside && line.rfind("DTSTAMP:", 0) != 0 && line.rfind("LAST-MODIFIED:", 0) != 0) {
            out.insert(line);
        }
        if (inside && line == "END:VEVENT") {
            break;
        }
    }
    return out;
}

class MeetingAnswerTest : public EditorFixture {
protected:
    MeetingAnswerTest()
    {
        EXPECT_EQ(Import(paths_.StorePath(), TestData("every_property.ics")).skipped, 0);
        doc_.Reload();
        services_.ownAddresses = [this] { return own_; };
    }
    // The position of the meeting on Tuesday 8 December (row 1).
    int MeetingPosition() const
    {
        for (int pos = 0; pos < doc_.ApptCount(1); ++pos) {
            if (!doc_.ApptMeeting(1, pos).empty()) {
                return pos;
            }
        }
        return -1;
    }

    ScopedZone zone_{"UTC"};
    ical::OwnAddresses own_;
};

} // namespace

TEST_F(MeetingAnswerTest, AcceptChangesOnlyTheUsersPartstat)
{
    const int pos = MeetingPosition();
    ASSERT_GE(pos, 0);
    const Lines before = MeetingLinesOf(Export(paths_.StorePath()), "meeting-1@example.com");
    // Not invited: told so, nothing written.
    EXPECT_EQ(AppointmentEditing(services_).Answer(1, pos, ical::kAccepted), Redraw::kNothing);
    EXPECT_EQ(messages_.shown().size(), 1U);
    EXPECT_EQ(MeetingLinesOf(Export(paths_.StorePath()), "meeting-1@example.com"), before);
    own_ = {L"MAILTO:Dora@Example.com"}; // as a server may spell it
    EXPECT_EQ(AppointmentEditing(services_).Answer(1, MeetingPosition(), ical::kAccepted),
              Redraw::kInPlace);
    const Lines after = MeetingLinesOf(Export(paths_.StorePath()), "meeting-1@example.com");
    Lines gone;
    Lines added;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::inserter(gone, gone.end()));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(added, added.end()));
    const std::string dora = ";MEMBER=\"mailto:team@example.com\";DELEGATED-FROM=\"mailto:carl@"
                             "example.com\";CN=\"Dora, D.\":mailto:dora@example.com";
    EXPECT_EQ(gone, Lines{"ATTENDEE;CUTYPE=GROUP;ROLE=OPT-PARTICIPANT;PARTSTAT=NEEDS-ACTION;"
                          "RSVP=FALSE" +
                          dora});
    EXPECT_EQ(added, Lines{"ATTENDEE;CUTYPE=GROUP;ROLE=OPT-PARTICIPANT;PARTSTAT=ACCEPTED;"
                           "RSVP=FALSE" +
                           dora})
        << "no SEQUENCE bump, nothing else changed";
    // A line without PARTSTAT gets one; a copy keeps nothing of the meeting but its alarms'.
    const std::string kept = "BEGIN:VEVENT\r\nATTENDEE;CN=\"Me; myself\":mailto:me@x.org\r\n"
                             "ORGANIZER:mailto:ann@x.org\r\nSEQUENCE:2\r\nSUMMARY:S\r\n"
                             "BEGIN:VALARM\r\nACTION:EMAIL\r\nATTENDEE:mailto:me@x.org\r\n"
                             "END:VALARM\r\nEND:VEVENT\r\n";
    EXPECT_EQ(ical::AnsweredKept(kept, {L"mailto:me@x.org"}, ical::kDeclined).value_or(""),
              "BEGIN:VEVENT\r\nATTENDEE;CN=\"Me; myself\";PARTSTAT=DECLINED:mailto:me@x.org\r\n"
              "ORGANIZER:mailto:ann@x.org\r\nSEQUENCE:2\r\nSUMMARY:S\r\n"
              "BEGIN:VALARM\r\nACTION:EMAIL\r\nATTENDEE:mailto:me@x.org\r\n"
              "END:VALARM\r\nEND:VEVENT\r\n");
    EXPECT_EQ(ical::WithoutScheduling(kept),
              "BEGIN:VEVENT\r\nSUMMARY:S\r\nBEGIN:VALARM\r\nACTION:EMAIL\r\n"
              "ATTENDEE:mailto:me@x.org\r\nEND:VALARM\r\nEND:VEVENT\r\n");
}

TEST_F(MeetingAnswerTest, TheEditorListsTheMeetingAndAsksBeforeMovingIt)
{
    own_ = {L"mailto:bob@example.com"};
    const int pos = MeetingPosition();
    ASSERT_GE(pos, 0);
    const ItemValues stored = edits_.Read({pim::kAppointmentKind, 1}).values;
    messages_.QueueAnswer(IDCANCEL);
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        const auto* people = Control<QLabel>(d, kMeetingPeople);
        ASSERT_NE(people, nullptr);
        EXPECT_EQ(people->text().section(u'\n', 0, 2),
                  QStringLiteral("Organizer: Ann Organizer <ann@example.com>\n"
                                 "Bob <bob@example.com>: accepted, required\n"
                                 "Dora, D. <dora@example.com>: needs action, optional"));
        EXPECT_NE(Control<QWidget>(d, kMeetingAccept), nullptr) << "Bob is invited";
        Type(d, kAppointStartTime, QStringLiteral("09:30"));
        Click(d, 1);
        EXPECT_EQ(LastMessage(), L"This meeting is organized by Ann Organizer; your change "
                                 L"applies to your copy only.");
        Click(d, 2);
    });
    EXPECT_EQ(AppointmentEditing(services_).Edit(1, pos), Redraw::kNothing);
    EXPECT_EQ(edits_.Read({pim::kAppointmentKind, 1}).values, stored) << "No leaves it as it was";
    // Tentative from the editor saves Bob's answer.
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) { Click(d, kMeetingTentative); });
    EXPECT_EQ(AppointmentEditing(services_).Edit(1, MeetingPosition()), Redraw::kInPlace);
    const ical::Meeting meeting =
        ical::MeetingOf(edits_.Read({pim::kAppointmentKind, 1}).values.fields.Kept);
    EXPECT_EQ(meeting.attendees.at(0).partstat, "TENTATIVE");
}

TEST_F(MeetingAnswerTest, AnAnswerReachesEveryChangedOccurrence)
{
    const std::string series =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
        "BEGIN:VEVENT\r\nUID:weekly@x.org\r\nDTSTAMP:20261201T000000Z\r\n"
        "DTSTART:20261209T090000Z\r\nDTEND:20261209T093000Z\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n"
        "SUMMARY:Weekly\r\nORGANIZER:mailto:ann@x.org\r\nATTENDEE:mailto:me@x.org\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:weekly@x.org\r\nDTSTAMP:20261201T000000Z\r\n"
        "RECURRENCE-ID:20261216T090000Z\r\nDTSTART:20261216T100000Z\r\nDTEND:20261216T103000Z\r\n"
        "SUMMARY:Weekly, later\r\nORGANIZER:mailto:ann@x.org\r\n"
        "ATTENDEE;PARTSTAT=NEEDS-ACTION:mailto:me@x.org\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    ASSERT_EQ(Import(paths_.StorePath(), series).skipped, 0);
    doc_.Reload();
    own_ = {L"mailto:me@x.org"};
    int pos = 0;
    while (pos < doc_.ApptCount(2) && doc_.ApptSubject(2, pos) != L"Weekly") {
        ++pos;
    }
    const auto answers = [this](const std::string& partstat) {
        const std::vector<std::string> lines = pim::UnfoldedLines(Export(paths_.StorePath()));
        return std::count(lines.begin(), lines.end(),
                          "ATTENDEE;PARTSTAT=" + partstat + ":mailto:me@x.org");
    };
    EXPECT_NE(AppointmentEditing(services_).Answer(2, pos, ical::kTentative), Redraw::kNothing);
    EXPECT_EQ(answers(ical::kTentative), 2);
    EXPECT_EQ(answers("NEEDS-ACTION"), 0);
    // The editor's own button answers the changed occurrence as well, in one step to undo.
    UndoStack undo(edits_);
    services_.undo = &undo;
    Queue<CRecurConfirmDlg>([](CRecurConfirmDlg& d) { Click(d, 1065); }); // "All"
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) { Click(d, kMeetingDecline); });
    EXPECT_NE(AppointmentEditing(services_).Edit(2, pos), Redraw::kNothing);
    EXPECT_EQ(answers(ical::kDeclined), 2);
    EXPECT_EQ(undo.Undo().status, UndoStatus::kDone);
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(answers(ical::kTentative), 2);
}
