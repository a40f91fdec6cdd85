// Items keep the component they came as; an edit changes only what it stands for.
#include <algorithm>
#include <map>
#include <set>

#include "platform/clock.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/content_lines.h"
#include "platform/pim/kept_revision.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/task_item.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/temp_paths.h"
#include "tests/support/test_data.h"

namespace {

using Lines = std::vector<std::string>;

// Each event and task of a calendar as unfolded lines, by UID and RECURRENCE-ID.
std::map<std::string, Lines> Components(const std::string& text)
{
    std::map<std::string, Lines> out;
    Lines current;
    std::string uid;
    std::string recurrence;
    for (const std::string& line : pim::UnfoldedLines(text)) {
        const std::string name = pim::KeptPropertyName(line);
        if (line == "BEGIN:VEVENT" || line == "BEGIN:VTODO") {
            current = {};
        }
        if (name == "UID" && !current.empty() && uid.empty()) {
            uid = line;
        }
        if (name == "RECURRENCE-ID") {
            recurrence = line.substr(line.find(':'));
        }
        current.push_back(line);
        if (line == "END:VEVENT" || line == "END:VTODO") {
            out[uid.substr(4) + recurrence] = current;
            uid.clear();
            recurrence.clear();
        }
    }
    return out;
}

// The lines without the component's own properties of the given names, sorted.
Lines Without(const Lines& lines, const std::set<std::string>& names)
{
    Lines out;
    int depth = 0;
    for (const std::string& line : lines) {
        const std::string name = pim::KeptPropertyName(line);
        depth += name == "BEGIN" ? 1 : name == "END" ? -1 : 0;
        if (depth != 1 || name == "BEGIN" || !names.contains(name)) {
            out.push_back(line);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string Line(const Lines& lines, const std::string& name)
{
    const auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
        return pim::KeptPropertyName(l) == name;
    });
    return at == lines.end() ? std::string() : *at;
}

} // namespace

// After one edit per item only what the edit stands for differs (and SEQUENCE and the stamps).
TEST(KeptComponent, EveryPropertyNotEditedSurvivesAnEdit)
{
    ScopedZone zone("UTC");
    TempPaths paths;
    const std::map<std::string, Lines> in = Components(TestData("every_property.ics"));
    const ical::ImportReport report = Import(paths.StorePath(), TestData("every_property.ics"));
    EXPECT_EQ(ical::SummaryLine(report), "imported 3 appointments, 2 tasks, 0 skipped");
    EXPECT_EQ(report.notes, std::vector<std::string>{});
    const std::string unchanged = Export(paths.StorePath());
    EXPECT_EQ(Components(unchanged), in);
    EXPECT_NE(unchanged.find("BEGIN:VTIMEZONE\r\nTZID:Office Time"), std::string::npos);
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 0));
    const ScopedClock scoped(clock);
    {
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        ASSERT_EQ(session.Connect(), 0);
        for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
            const AppointItem item = session.FetchAppointment(n);
            if (item->GetUID() == L"meeting-1@example.com") {
                item->SetBody(item->GetBody() + L"\r\nBring coffee");
            }
            if (item->GetUID() == L"day-1@example.com") {
                item->SetStart(item->GetStart() + 1);
                item->SetEnd(item->GetEnd() + 1);
            }
            if (item->GetUID() == L"series-1@example.com") {
                item->SetSubject(L"Weekly sync, renamed");
            }
            ASSERT_EQ(item->Save(), 0);
            std::shared_ptr<pim::RecurrencePattern> pattern;
            std::shared_ptr<pim::AppointmentItem> moved;
            if (item->GetIsRecurring() && item->GetRecurrencePattern(&pattern) == 0 &&
                pattern->GetOccurrence(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 14)),
                                       &moved) == 0) {
                moved->SetStart(moved->GetStart() + 1.0 / 24);
                moved->SetEnd(moved->GetEnd() + 1.0 / 24);
                ASSERT_EQ(moved->Save(), 0);
            }
        }
        for (int32_t n = 1; n <= session.TaskCount(); ++n) {
            const TaskItem task = session.FetchTask(n);
            task->GetComplete() ? task->SetSubject(L"Room booked") : task->SetComplete(true);
            ASSERT_EQ(task->Save(), 0);
        }
    }
    const std::map<std::string, std::set<std::string>> edited = {
        {"meeting-1@example.com", {"DESCRIPTION"}},
        {"series-1@example.com", {"SUMMARY"}},
        {"series-1@example.com:20261214T090000", {"DTSTART", "DTEND", "DURATION"}},
        {"day-1@example.com", {"DTSTART", "DTEND"}},
        {"task-1@example.com", {"STATUS", "COMPLETED", "PERCENT-COMPLETE"}},
        {"task-2@example.com", {"SUMMARY"}}};
    const std::map<std::string, Lines> out = Components(Export(paths.StorePath()));
    ASSERT_EQ(out.size(), in.size());
    size_t survived = 0;
    for (const auto& [key, lines] : in) {
        SCOPED_TRACE(key);
        ASSERT_EQ(edited.count(key), 1U);
        std::set<std::string> aside = edited.at(key);
        aside.insert({"DTSTAMP", "LAST-MODIFIED", "SEQUENCE"});
        const Lines kept = Without(lines, aside);
        EXPECT_EQ(Without(out.at(key), aside), kept);
        survived += std::count_if(kept.begin(), kept.end(), [](const std::string& l) {
            return l.rfind("BEGIN:", 0) != 0 && l.rfind("END:", 0) != 0;
        });
        EXPECT_EQ(Line(out.at(key), "DTSTAMP"), "DTSTAMP:20261207T100000Z");
        EXPECT_EQ(Line(out.at(key), "LAST-MODIFIED"), "LAST-MODIFIED:20261207T100000Z");
    }
    EXPECT_EQ(survived, 120U);
    EXPECT_NE(Line(out.at("meeting-1@example.com"), "DESCRIPTION").find("\\nBring coffee"),
              std::string::npos);
    EXPECT_EQ(Line(out.at("meeting-1@example.com"), "SEQUENCE"), "SEQUENCE:3");
    EXPECT_EQ(Line(out.at("series-1@example.com:20261214T090000"), "SEQUENCE"), "SEQUENCE:3");
    EXPECT_EQ(Line(out.at("series-1@example.com:20261214T090000"), "DTSTART"),
              "DTSTART:20261214T100000Z");
    EXPECT_EQ(Line(out.at("day-1@example.com"), "SEQUENCE"), "SEQUENCE:1");
    EXPECT_EQ(Line(out.at("task-1@example.com"), "SEQUENCE"), "SEQUENCE:4");
    EXPECT_EQ(Line(out.at("task-1@example.com"), "STATUS"), "STATUS:COMPLETED");
}
