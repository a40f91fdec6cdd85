// Line by line over the unfolded kept text: only the first component's own lines are looked at
// (its alarms and the zone definitions after it pass unchanged), each line is rewritten within
// its parameters, with quoted values ("Dora, D.", "a;b") skipped whole.
#include "ical/meeting_reply.h"

#include <algorithm>
#include <functional>
#include <set>

#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "platform/pim/kept_revision.h"

namespace ical {
namespace {

// Each line of the text (its CR LF kept) is handed to `visit` with whether it is one of the
// first component's own properties; what `visit` returns replaces it (nothing drops it).
std::string
EachLine(const std::string& text,
         const std::function<std::optional<std::string>(const std::string&, bool)>& visit)
{
    std::string out;
    out.reserve(text.size());
    int depth = 0;
    bool past = false; // past the end of the first component
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(from, end - from);
        from = end;
        const std::string name = pim::KeptPropertyName(line);
        const bool own = !past && depth == 1 && name != "BEGIN" && name != "END";
        depth += name == "BEGIN" ? 1 : name == "END" ? -1 : 0;
        past = past || (name == "END" && depth == 0);
        if (const std::optional<std::string> kept = visit(line, own)) {
            out += *kept;
        }
    }
    return out;
}

// Where a line's value starts (the first colon outside quotes), or npos.
size_t ValueColon(const std::string& line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        quoted = line[i] == '"' ? !quoted : quoted;
        if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string::npos;
}

// The line with its PARTSTAT parameter set to `value`, added before the value when it had none.
std::string WithPartstat(const std::string& line, const std::string& value)
{
    const size_t colon = ValueColon(line);
    if (colon == std::string::npos) {
        return line;
    }
    bool quoted = false;
    for (size_t i = 0; i < colon; ++i) {
        quoted = line[i] == '"' ? !quoted : quoted;
        if (line[i] != ';' || quoted) {
            continue;
        }
        const size_t eq = line.find('=', i);
        if (eq == std::string::npos || eq > colon ||
            pim::KeptPropertyName(line.substr(i + 1, eq - i - 1)) != "PARTSTAT") {
            continue;
        }
        size_t stop = eq + 1;
        for (bool inQuote = false; stop < colon && (inQuote || line[stop] != ';'); ++stop) {
            inQuote = line[stop] == '"' ? !inQuote : inQuote;
        }
        return line.substr(0, eq + 1) + value + line.substr(stop);
    }
    return line.substr(0, colon) + ";PARTSTAT=" + value + line.substr(colon);
}

std::string Trimmed(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::optional<std::string> AnsweredKept(const std::string& kept, const OwnAddresses& own,
                                        const std::string& partstat)
{
    bool answered = false;
    std::string out = EachLine(kept, [&](const std::string& line, bool isOwn) {
        if (answered || !isOwn || pim::KeptPropertyName(line) != "ATTENDEE" ||
            !IsOwnAddress(Wide(LineValue(Trimmed(line)).c_str()), own)) {
            return std::optional<std::string>(line);
        }
        answered = true;
        const bool crlf = line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0;
        return std::optional<std::string>(WithPartstat(Trimmed(line), partstat) +
                                          (crlf                  ? "\r\n"
                                           : line.back() == '\n' ? "\n"
                                                                 : ""));
    });
    if (!answered) {
        return std::nullopt;
    }
    return out;
}

std::optional<pim::StoredItem> AnsweredItem(const pim::StoredItem& item, const OwnAddresses& own,
                                            const std::string& partstat)
{
    pim::StoredItem answered = item;
    bool any = false;
    const auto answer = [&](std::string& kept) {
        if (std::optional<std::string> text = AnsweredKept(kept, own, partstat)) {
            kept = std::move(*text);
            any = true;
        }
    };
    answer(answered.fields.Kept);
    for (pim::ExceptionFields& exception : answered.exceptions) {
        if (!exception.Deleted) {
            answer(exception.occurrence.Kept);
        }
    }
    if (!any) {
        return std::nullopt;
    }
    return answered;
}

std::string WithoutScheduling(const std::string& kept)
{
    static const std::set<std::string> kScheduling = {
        "UID",
        "RECURRENCE-ID",
        "ORGANIZER",
        "ATTENDEE",
        "SEQUENCE",
        "REQUEST-STATUS",
        "X-MOZ-RECEIVED-SEQUENCE",
        "X-MOZ-RECEIVED-DTSTAMP",
        "X-MOZ-SEND-INVITATIONS",
        "X-MOZ-INVITED-ATTENDEE",
        "X-MICROSOFT-CDO-OWNERAPPTID",
        "X-MICROSOFT-CDO-APPT-SEQUENCE",
        "X-MICROSOFT-CDO-REPLYTIME",
        "X-MICROSOFT-CDO-OWNER-CRITICAL-CHANGE",
        "X-MICROSOFT-CDO-ATTENDEE-CRITICAL-CHANGE",
    };
    return EachLine(kept, [](const std::string& line, bool isOwn) -> std::optional<std::string> {
        if (isOwn && kScheduling.contains(pim::KeptPropertyName(line))) {
            return std::nullopt;
        }
        return line;
    });
}

} // namespace ical
