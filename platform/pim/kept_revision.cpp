// Renewing a kept component's revision lines in its text, line by line: the rest of the text,
// what other programs wrote, is never parsed or rewritten here.
#include "platform/pim/kept_revision.h"

#include <QDateTime>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/pim/content_lines.h"
#include "platform/pim/zone_time.h"

namespace pim {
namespace {

bool TimeOrPlaceChanged(const ItemFields& a, const ItemFields& b)
{
    return a.Start != b.Start || a.End != b.End || a.AllDayEvent != b.AllDayEvent ||
           a.StartDate != b.StartDate || a.DueDate != b.DueDate || a.Location != b.Location ||
           a.Zone != b.Zone;
}

// Whether the values of an item differ, what it kept and its ids aside.
bool ValuesDiffer(ItemFields a, const ItemFields& b)
{
    a.Kept = b.Kept;
    a.Oid = b.Oid;
    a.UID = b.UID;
    return a != b;
}

std::vector<DATE> DeletedDays(const StoredItem& item)
{
    std::vector<DATE> days;
    for (const ExceptionFields& e : item.exceptions) {
        if (e.Deleted) {
            days.push_back(e.OriginalDate);
        }
    }
    return days;
}

const ExceptionFields* ExceptionOn(const StoredItem& item, DATE day)
{
    const auto at = std::find_if(item.exceptions.begin(), item.exceptions.end(),
                                 [day](const ExceptionFields& e) { return e.OriginalDate == day; });
    return at == item.exceptions.end() ? nullptr : &*at;
}

void Renew(ItemFields& fields, const std::string& stamp, bool newSequence)
{
    if (!fields.Kept.empty()) {
        fields.Kept = RenewedRevision(fields.Kept, stamp, newSequence);
    }
}

} // namespace

std::string KeptPropertyName(std::string_view line)
{
    const size_t end = std::min(line.find_first_of(":;"), line.size());
    std::string name(line.substr(0, end));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

std::string UtcStamp(const SYSTEMTIME& local)
{
    const int64_t seconds = LocalToEpoch(SystemTimeToVariantTime(local));
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
        .toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))
        .toStdString();
}

std::string RenewedRevision(const std::string& kept, const std::string& stamp, bool newSequence)
{
    const std::vector<std::string> lines = UnfoldedLines(kept);
    std::string out;
    out.reserve(kept.size() + 64);
    bool stamped = false;
    bool modified = false;
    bool sequenced = false;
    int depth = 0;
    bool done = false; // past the first component's own properties
    for (const std::string& line : lines) {
        const std::string name = KeptPropertyName(line);
        const bool begins = name == "BEGIN";
        const bool ends = name == "END";
        if (!done && depth == 1 && (begins || ends)) {
            // The revision lines a component lacked go at the end of its own properties.
            if (!stamped) {
                out += "DTSTAMP:" + stamp + "\r\n";
            }
            if (!modified) {
                out += "LAST-MODIFIED:" + stamp + "\r\n";
            }
            if (!sequenced && newSequence) {
                out += "SEQUENCE:1\r\n";
            }
            done = true;
        }
        depth += begins ? 1 : ends ? -1 : 0;
        // Only the component's own revision lines are renewed, not those of its alarms.
        const bool own = !done && depth == 1 && !begins;
        if (own && name == "DTSTAMP") {
            out += "DTSTAMP:" + stamp + "\r\n";
            stamped = true;
        } else if (own && name == "LAST-MODIFIED") {
            out += "LAST-MODIFIED:" + stamp + "\r\n";
            modified = true;
        } else if (own && name == "SEQUENCE" && !sequenced) {
            const size_t colon = line.find(':');
            const long value =
                colon == std::string::npos ? 0 : std::strtol(line.c_str() + colon + 1, nullptr, 10);
            out += newSequence ? "SEQUENCE:" + std::to_string(std::max(value, 0L) + 1) + "\r\n"
                               : line + "\r\n";
            sequenced = true;
        } else {
            out += line + "\r\n";
        }
    }
    return out;
}

void RenewChangedRevisions(const StoredItem& base, StoredItem& item, const std::string& stamp)
{
    const bool ruleChanged = base.pattern != item.pattern || DeletedDays(base) != DeletedDays(item);
    if (ruleChanged || ValuesDiffer(base.fields, item.fields)) {
        Renew(item.fields, stamp, ruleChanged || TimeOrPlaceChanged(base.fields, item.fields));
    }
    for (ExceptionFields& e : item.exceptions) {
        if (e.Deleted) {
            continue;
        }
        const ExceptionFields* before = ExceptionOn(base, e.OriginalDate);
        // A newly changed occurrence is a revision of its own, moved from where the series had it.
        if (before == nullptr || before->Deleted) {
            Renew(e.occurrence, stamp, true);
        } else if (ValuesDiffer(before->occurrence, e.occurrence)) {
            Renew(e.occurrence, stamp, TimeOrPlaceChanged(before->occurrence, e.occurrence));
        }
    }
}

} // namespace pim
