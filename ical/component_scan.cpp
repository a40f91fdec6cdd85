// The scans walk the unfolded text line by line and count BEGIN and END, so that only the
// component's own lines count, never those of its alarms.
#include "ical/component_scan.h"

#include <algorithm>

namespace ical {

std::string Unfolded(const std::string& text)
{
    std::string unfolded;
    unfolded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 2 < text.size() && text[i + 1] == '\n' &&
            (text[i + 2] == ' ' || text[i + 2] == '\t')) {
            i += 2;
            continue;
        }
        unfolded += text[i];
    }
    return unfolded;
}

std::string_view RawValue(std::string_view unfolded, std::string_view name)
{
    int depth = 0;
    for (size_t from = 0; from < unfolded.size();) {
        const size_t end = std::min(unfolded.find('\n', from), unfolded.size());
        std::string_view line = unfolded.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        depth += line.substr(0, 6) == "BEGIN:" ? 1 : line.substr(0, 4) == "END:" ? -1 : 0;
        if (depth != 1 || line.size() <= name.size() || line.substr(0, name.size()) != name ||
            (line[name.size()] != ':' && line[name.size()] != ';')) {
            continue;
        }
        bool quoted = false;
        for (size_t i = name.size(); i < line.size(); ++i) {
            quoted = line[i] == '"' ? !quoted : quoted;
            if (line[i] == ':' && !quoted) {
                return line.substr(i + 1);
            }
        }
        return {};
    }
    return {};
}

std::string RawRule(const std::string& unfolded)
{
    const size_t at = unfolded.find("\nRRULE");
    return at == std::string::npos ? std::string()
                                   : unfolded.substr(at + 1, unfolded.find('\r', at) - at - 1);
}

// A property libical could not read is dropped with only an X-LIC-ERROR left behind; for the
// values that decide when an item happens that would import something else, so it is refused.
// Counts the lines of the component's own level that name each such value.
std::string UnreadValue(icalcomponent* c, std::string_view unfolded)
{
    struct Decisive {
        std::string_view name;
        icalproperty_kind kind;
        int lines;
    };
    Decisive decisive[] = {
        {"DTSTART", ICAL_DTSTART_PROPERTY, 0}, {"DTEND", ICAL_DTEND_PROPERTY, 0},
        {"DUE", ICAL_DUE_PROPERTY, 0},         {"DURATION", ICAL_DURATION_PROPERTY, 0},
        {"RRULE", ICAL_RRULE_PROPERTY, 0},     {"EXDATE", ICAL_EXDATE_PROPERTY, 0},
        {"RDATE", ICAL_RDATE_PROPERTY, 0},     {"RECURRENCE-ID", ICAL_RECURRENCEID_PROPERTY, 0}};
    int depth = 0;
    for (size_t from = 0; from < unfolded.size();) {
        const size_t end = std::min(unfolded.find('\n', from), unfolded.size());
        const std::string_view line = unfolded.substr(from, end - from);
        from = end + 1;
        if (line.substr(0, 6) == "BEGIN:") {
            ++depth;
        } else if (line.substr(0, 4) == "END:") {
            --depth;
        } else if (depth == 1) {
            for (Decisive& d : decisive) {
                d.lines += line.size() > d.name.size() && line.substr(0, d.name.size()) == d.name &&
                           (line[d.name.size()] == ':' || line[d.name.size()] == ';');
            }
        }
    }
    for (const Decisive& d : decisive) {
        if (d.lines > 0 && icalcomponent_count_properties(c, d.kind) < d.lines) {
            return "unreadable " + std::string(d.name);
        }
    }
    return {};
}

} // namespace ical
