// The scans walk the unfolded text line by line and count BEGIN and END, so that only the
// component's own lines count, never those of its alarms; names match in any case.
#include "ical/component_scan.h"

#include <algorithm>
#include <cctype>

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

namespace {

// Whether `line` is a line of property `name`, in any case as names are (RFC 5545 3.1).
bool IsProperty(std::string_view line, std::string_view name)
{
    if (line.size() <= name.size() || (line[name.size()] != ':' && line[name.size()] != ';')) {
        return false;
    }
    return std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
    });
}

// Calls `each` with every line of the component's own level (not its BEGIN and END, nor the
// lines of its alarms) until it returns true.
template <typename Each> void ForOwnLines(std::string_view unfolded, Each each)
{
    int depth = 0;
    for (size_t from = 0; from < unfolded.size();) {
        const size_t end = std::min(unfolded.find('\n', from), unfolded.size());
        std::string_view line = unfolded.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (IsProperty(line, "BEGIN")) {
            ++depth;
        } else if (IsProperty(line, "END")) {
            --depth;
        } else if (depth == 1 && each(line)) {
            return;
        }
    }
}

} // namespace

std::string_view RawValue(std::string_view unfolded, std::string_view name)
{
    std::string_view value;
    ForOwnLines(unfolded, [&](std::string_view line) {
        if (!IsProperty(line, name)) {
            return false;
        }
        bool quoted = false;
        for (size_t i = name.size(); i < line.size(); ++i) {
            quoted = line[i] == '"' ? !quoted : quoted;
            if (line[i] == ':' && !quoted) {
                value = line.substr(i + 1);
                break;
            }
        }
        return true;
    });
    return value;
}

std::string RawRule(const std::string& unfolded)
{
    return std::string(RawValue(unfolded, "RRULE"));
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
    ForOwnLines(unfolded, [&](std::string_view line) {
        for (Decisive& d : decisive) {
            d.lines += static_cast<int>(IsProperty(line, d.name));
        }
        return false;
    });
    for (const Decisive& d : decisive) {
        if (d.lines > 0 && icalcomponent_count_properties(c, d.kind) < d.lines) {
            return "unreadable " + std::string(d.name);
        }
    }
    return {};
}

} // namespace ical
