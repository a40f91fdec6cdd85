// An invitation synced from a server and edited on both sides, here in the store as the window
// edits it (a memo line, a drag) and there by another client, keeps every property it came
// with on the server: the organizer, the attendees, the links and the rest. (An answer to it
// changes only the kept attendee line: the editors' tests.)
#include <gtest/gtest.h>

#include "model/pim_session.h"
#include "platform/clock.h"
#include "tests/sync/round_fixture.h"

namespace {

// Twelve properties the window does not show, as the invitation carries them.
const std::vector<std::pair<std::string, std::string>> kTwelve = {
    {"ORGANIZER", "mailto:ann@example.com"},
    {"ATTENDEE", "mailto:bob@example.com"},
    {"ATTENDEE", "mailto:me@example.com"},
    {"STATUS", "CONFIRMED"},
    {"URL", "https://example.com/m/1"},
    {"CONFERENCE", "https://video.example.com/42"},
    {"ATTACH", "https://example.com/agenda.pdf"},
    {"GEO", "52.5;13.4"},
    {"COLOR", "teal"},
    {"PRIORITY", "2"},
    {"RELATED-TO", "other@example.com"},
    {"X-MOZ-GENERATION", "7"}};

std::string Unfolded(QByteArray text)
{
    text.replace("\r\n ", "").replace("\n ", "");
    return text.toStdString();
}

// Whether a line of that property ends in the value, whatever parameters the server kept.
bool Holds(const std::string& text, const std::string& name, const std::string& value)
{
    for (size_t at = text.find("\n" + name); at != std::string::npos;
         at = text.find("\n" + name, at + 1)) {
        const size_t end = text.find_first_of("\r\n", at + 1);
        const std::string line = text.substr(at + 1, end - at - 1);
        if (line.size() >= value.size() &&
            line.compare(line.size() - value.size(), value.size(), value) == 0)
            return true;
    }
    return false;
}

// A change as the window makes it: found in the store, changed, saved.
void EditHere(const std::string& store, const std::function<void(pim::AppointmentItem&)>& edit)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 9, 45));
    const ScopedClock scoped(clock);
    PimSession session(store, OccurrenceOnDay);
    ASSERT_EQ(session.Connect(), 0);
    const AppointItem item = session.FetchAppointment(1);
    ASSERT_TRUE(item);
    edit(*item);
    ASSERT_EQ(item->Save(), 0);
}

} // namespace

class MeetingRoundTest : public RoundTest {};

TEST_P(MeetingRoundTest, AnInvitationEditedOnBothSidesKeepsEveryProperty)
{
    const std::string a = Store("a.sqlite3");
    std::string text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\n"
        "UID:meeting\r\nDTSTAMP:20261201T000000Z\r\nSEQUENCE:1\r\n"
        "DTSTART:20261208T100000Z\r\nDTEND:20261208T110000Z\r\nSUMMARY:Review\r\n"
        "ORGANIZER;CN=Ann:mailto:ann@example.com\r\n"
        "ATTENDEE;PARTSTAT=ACCEPTED;CN=Bob:mailto:bob@example.com\r\n"
        "ATTENDEE;ROLE=OPT-PARTICIPANT;PARTSTAT=NEEDS-ACTION;RSVP=TRUE:mailto:me@example.com\r\n"
        "STATUS:CONFIRMED\r\nURL:https://example.com/m/1\r\n"
        "CONFERENCE;VALUE=URI;FEATURE=VIDEO:https://video.example.com/42\r\n"
        "ATTACH:https://example.com/agenda.pdf\r\nGEO:52.5;13.4\r\nCOLOR:teal\r\n"
        "PRIORITY:2\r\nRELATED-TO:other@example.com\r\nX-MOZ-GENERATION:7\r\n"
        "END:VEVENT\r\nEND:VCALENDAR\r\n";
    Put("meeting.ics", QByteArray::fromStdString(text));
    EXPECT_EQ(Round(a).received, 1);
    EditHere(a, [](pim::AppointmentItem& item) { item.SetBody(L"Bring the numbers"); });
    EXPECT_EQ(Round(a).sent, 1);

    caldav::DavClient client(server_->Account());
    const QUrl resource = calendar_.resolved(QUrl("meeting.ics"));
    QByteArray there = client.Get(resource).body;
    there.replace("SUMMARY:Review", "SUMMARY:Review in room 4");
    client.Put(resource, there, caldav::Precondition::None);
    EXPECT_EQ(Round(a).received, 1);
    EditHere(a, [](pim::AppointmentItem& item) {
        item.SetStart(item.GetStart() + 1.0 / 24);
        item.SetEnd(item.GetEnd() + 1.0 / 24);
    });
    const caldav::RoundReport pushed = Round(a);
    EXPECT_EQ(std::make_tuple(pushed.sent, pushed.skipped, pushed.conflicts),
              std::make_tuple(1, 0, 0));

    const std::string held = Unfolded(client.Get(resource).body);
    for (const auto& [name, value] : kTwelve)
        EXPECT_TRUE(Holds(held, name, value)) << name << " " << value << "\n" << held;
    EXPECT_TRUE(Holds(held, "DESCRIPTION", "Bring the numbers")) << held;
    EXPECT_TRUE(Holds(held, "SUMMARY", "Review in room 4")) << held;
    EXPECT_TRUE(Holds(held, "DTSTART", "20261208T110000Z")) << held;
    EXPECT_TRUE(Holds(held, "SEQUENCE", "2")) << held;
}

INSTANTIATE_TEST_SUITE_P(Servers, MeetingRoundTest, BothServers(FaultProxy::Mode::Pass), KindName);
