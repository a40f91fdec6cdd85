// Occurrences day by day with OccurrenceOnDayNumber, the rule the schedule document uses.
#include "ical/occurrence_list.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "ical/ical_text.h"
#include "model/date_time.h"
#include "model/recurrence.h"
#include "model/terminal_text.h"

namespace ical {
namespace {

std::string Stamp(DATE date, bool wholeDay)
{
    const std::wstring key = DateToKey(date, wholeDay ? kDayKey : kTimeStampKey);
    return wholeDay ? Utf8(key) : Utf8(key.substr(0, 8) + L"T" + key.substr(8));
}

struct Line {
    DATE start;
    std::string text;
    std::wstring subject;
};

void Add(const pim::ItemFields& f, DATE start, DATE end, std::vector<Line>& out)
{
    std::string range;
    if (f.AllDayEvent) {
        const int64_t first = DayNumber(start);
        const int64_t last = std::max(DayNumber(end) + (SecondsOfDay(end) > 0 ? 1 : 0), first + 1);
        range = Stamp(double(first), true) + " " + Stamp(double(last), true);
    } else {
        range = Stamp(start, false) + " " + Stamp(std::max(end, start), false);
    }
    out.push_back({f.AllDayEvent ? std::floor(start) : start, range + " " + TerminalText(f.Subject),
                   f.Subject});
}

void AddSeries(const pim::StoredItem& item, int64_t first, int64_t last, std::vector<Line>& out)
{
    const pim::RecurrenceFields& p = *item.pattern;
    std::set<int64_t> exceptionDays;
    for (const pim::ExceptionFields& e : item.exceptions) {
        exceptionDays.insert(DayNumber(e.OriginalDate));
        const int64_t day = DayNumber(e.occurrence.Start);
        if (!e.Deleted && day >= first && day <= last) {
            Add(e.occurrence, e.occurrence.Start, e.occurrence.End, out);
        }
    }
    for (int64_t day = first; day <= last; ++day) {
        const std::optional<DATE> start = OccurrenceStartOnDay(p, day);
        if (start && !exceptionDays.contains(day)) {
            Add(item.fields, *start, *start + std::max(p.Duration, 0) / 1440.0, out);
        }
    }
}

} // namespace

std::vector<std::string> OccurrenceLines(const std::vector<pim::StoredItem>& appointments,
                                         const SYSTEMTIME& from, int days)
{
    const int64_t first = DayNumber(from);
    const int64_t last = first + days - 1;
    std::vector<Line> lines;
    for (const pim::StoredItem& item : appointments) {
        if (item.pattern) {
            AddSeries(item, first, last, lines);
        } else if (const int64_t day = DayNumber(item.fields.Start); day >= first && day <= last) {
            Add(item.fields, item.fields.Start, item.fields.End, lines);
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.start != b.start ? a.start < b.start : a.subject < b.subject;
    });
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (Line& line : lines) {
        out.push_back(std::move(line.text));
    }
    return out;
}

int32_t ListOccurrences(PimSession& session, const SYSTEMTIME& from, int days,
                        std::vector<std::string>& lines)
{
    const bool connected = session.IsConnected();
    const auto first = static_cast<DATE>(DayNumber(from));
    if (!connected && session.Connect(pim::DayRange{first, first + std::max(days, 0)}) < 0) {
        return -1;
    }
    std::vector<pim::StoredItem> appointments;
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        if (const AppointItem item = session.FetchAppointment(n)) {
            appointments.push_back(item->Stored());
        }
    }
    session.ReleaseAppointment();
    if (!connected) {
        session.Disconnect();
    }
    lines = OccurrenceLines(appointments, from, days);
    return 0;
}

} // namespace ical
