// The meeting's properties are read from the kept lines as written, parameters and all, so a
// value libical has no type for (CONFERENCE) reads like any other.
#include "ical/item_meeting.h"

#include <QString>

#include <algorithm>

#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "platform/pim/kept_revision.h"
#include "res/string_table.h"

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

std::wstring Bare(const std::wstring& address)
{
    const QString text = QString::fromStdWString(address).trimmed();
    return (text.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive) ? text.mid(7) : text)
        .toCaseFolded()
        .toStdWString();
}

// The word for a PARTSTAT or ROLE value; one the program has no word for is shown as written.
std::wstring Word(const std::string& value, const std::vector<const char*>& names, int firstId)
{
    for (size_t i = 0; i < names.size(); ++i) {
        if (QString::fromStdString(value).compare(QLatin1String(names[i]), Qt::CaseInsensitive) ==
            0) {
            return res::LoadString(firstId + static_cast<int>(i));
        }
    }
    return QString::fromStdString(value).toLower().toStdWString();
}

std::wstring AnswerText(const std::string& partstat)
{
    static const std::vector<const char*> kAnswers = {"NEEDS-ACTION", "ACCEPTED", "DECLINED",
                                                      "TENTATIVE", "DELEGATED"};
    return Word(partstat.empty() ? "NEEDS-ACTION" : partstat, kAnswers,
                res::IDS_MEETING_NEEDS_ACTION);
}

std::wstring RoleText(const std::string& role)
{
    static const std::vector<const char*> kRoles = {"REQ-PARTICIPANT", "OPT-PARTICIPANT",
                                                    "NON-PARTICIPANT", "CHAIR"};
    return Word(role.empty() ? "REQ-PARTICIPANT" : role, kRoles, res::IDS_MEETING_REQUIRED);
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

bool IsOwnAddress(const std::wstring& address, const OwnAddresses& own)
{
    const std::wstring bare = Bare(address);
    return !bare.empty() && std::any_of(own.begin(), own.end(), [&](const std::wstring& mine) {
        return Bare(mine) == bare;
    });
}

const MeetingPerson* OwnAttendee(const Meeting& meeting, const OwnAddresses& own)
{
    for (const MeetingPerson& attendee : meeting.attendees) {
        if (IsOwnAddress(attendee.address, own)) {
            return &attendee;
        }
    }
    return nullptr;
}

std::wstring PersonText(const MeetingPerson& person)
{
    const QString address = QString::fromStdWString(person.address);
    const QString bare = address.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)
                             ? address.mid(7)
                             : address;
    if (person.name.empty()) {
        return bare.toStdWString();
    }
    return person.name + L" <" + bare.toStdWString() + L">";
}

std::vector<std::wstring> MeetingLines(const Meeting& meeting)
{
    std::vector<std::wstring> lines;
    if (meeting.organizer) {
        lines.push_back(
            res::LoadString(res::IDS_MEETING_ORGANIZER, PersonText(*meeting.organizer)));
    }
    for (const MeetingPerson& attendee : meeting.attendees) {
        lines.push_back(QString::fromStdWString(res::LoadString(res::IDS_MEETING_ATTENDEE))
                            .arg(QString::fromStdWString(PersonText(attendee)),
                                 QString::fromStdWString(AnswerText(attendee.partstat)),
                                 QString::fromStdWString(RoleText(attendee.role)))
                            .toStdWString());
    }
    return lines;
}

std::vector<std::wstring> MeetingLinks(const Meeting& meeting)
{
    std::vector<std::wstring> links;
    if (!meeting.url.empty()) {
        links.push_back(meeting.url);
    }
    links.insert(links.end(), meeting.conferences.begin(), meeting.conferences.end());
    return links;
}

bool OpensInBrowser(const std::wstring& link)
{
    const QString text = QString::fromStdWString(link).trimmed();
    return text.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive) ||
           text.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive);
}

std::wstring CopyOnlyNotice(const std::string& kept, const OwnAddresses& own)
{
    const Meeting meeting = MeetingOf(kept);
    if (!meeting.organizer || IsOwnAddress(meeting.organizer->address, own)) {
        return {};
    }
    const MeetingPerson& organizer = *meeting.organizer;
    return res::LoadString(res::IDS_MEETING_COPY_ONLY,
                           organizer.name.empty() ? PersonText(organizer) : organizer.name);
}

} // namespace ical
