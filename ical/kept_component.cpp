// The merge works on unfolded content lines, so what other programs wrote goes out byte for
// byte: each property the fields stand for belongs to a group, and a group is written from the
// fields only when the fields no longer say what the kept lines say (read back with the same
// reader the import uses). Every other line, sub-component and parameter is copied.
#include "ical/kept_component.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "ical/component_reader.h"
#include "ical/component_writer.h"
#include "ical/ical_text.h"
#include "ical/zone_table.h"
#include "platform/pim/content_lines.h"
#include "platform/pim/kept_revision.h"

namespace ical {
namespace {

using Lines = std::vector<std::string>;
using pim::KeptPropertyName;
using pim::UnfoldedLines;

std::string Joined(const Lines& lines)
{
    std::string out;
    for (const std::string& line : lines) {
        out += line + "\r\n";
    }
    return out;
}

// The lines of the first component (BEGIN to its END), and what follows it.
size_t ComponentEnd(const Lines& lines)
{
    int depth = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string name = KeptPropertyName(lines[i]);
        depth += name == "BEGIN" ? 1 : name == "END" ? -1 : 0;
        if (depth == 0) {
            return i + 1;
        }
    }
    return lines.size();
}

} // namespace

std::vector<std::string> ParameterValues(const std::string& line, const std::string& parameter)
{
    std::vector<std::string> values;
    bool quoted = false;
    size_t start = std::string::npos;
    for (size_t i = 0; i <= line.size(); ++i) {
        const char c = i < line.size() ? line[i] : ':';
        if (c == '"') {
            quoted = !quoted;
        }
        if (quoted || (c != ';' && c != ':')) {
            continue;
        }
        if (start != std::string::npos) {
            const std::string part = line.substr(start, i - start);
            const size_t eq = part.find('=');
            if (eq != std::string::npos && KeptPropertyName(part.substr(0, eq)) == parameter) {
                std::string value = part.substr(eq + 1);
                if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                    value = value.substr(1, value.size() - 2);
                }
                values.push_back(value);
            }
        }
        if (c == ':') {
            break;
        }
        start = i + 1;
    }
    return values;
}

std::string LineValue(const std::string& line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        quoted = line[i] == '"' ? !quoted : quoted;
        if (line[i] == ':' && !quoted) {
            return line.substr(i + 1);
        }
    }
    return {};
}

std::vector<std::string> KeptOwnLines(const std::string& kept)
{
    const Lines lines = UnfoldedLines(KeptComponent(kept));
    Lines own;
    int depth = 0;
    for (const std::string& line : lines) {
        const std::string name = KeptPropertyName(line);
        depth += name == "BEGIN" ? 1 : 0;
        if (depth == 1 && name != "BEGIN" && name != "END") {
            own.push_back(line);
        }
        depth -= name == "END" ? 1 : 0;
    }
    return own;
}

namespace {

// What each property of a component stands for. Lines of no group are the remainder proper.
enum Group : int {
    kVerbatim = -1,
    kSummary,
    kLocation,
    kMemo,
    kCategories,
    kClass,
    kBusy,
    kTime,
    kRule,
    kRecurrenceId,
    kUid,
    kPriority,
    kStatus,
    kAlarmTrigger,
    kAlarmKind,
};

Group ComponentGroup(const std::string& name, bool task)
{
    static const std::map<std::string, Group> kShared = {
        {"SUMMARY", kSummary},
        {"DESCRIPTION", kMemo},
        {"CATEGORIES", kCategories},
        {"CLASS", kClass},
        {"UID", kUid},
        {"RECURRENCE-ID", kRecurrenceId},
        {"DTSTART", kTime},
        {"DURATION", kTime},
        {"RRULE", kRule},
        {"RDATE", kRule},
        {"EXDATE", kRule},
        {"EXRULE", kRule},
        {kSeriesStartProperty, kRule},
    };
    static const std::map<std::string, Group> kEvent = {
        {"LOCATION", kLocation}, {"TRANSP", kBusy}, {kBusyStatusProperty, kBusy}, {"DTEND", kTime}};
    static const std::map<std::string, Group> kTask = {{"DUE", kTime},
                                                       {"PRIORITY", kPriority},
                                                       {"STATUS", kStatus},
                                                       {"COMPLETED", kStatus},
                                                       {"PERCENT-COMPLETE", kStatus}};
    for (const auto* table : {&kShared, task ? &kTask : &kEvent}) {
        if (const auto at = table->find(name); at != table->end()) {
            return at->second;
        }
    }
    return kVerbatim;
}

Group AlarmGroup(const std::string& name)
{
    if (name == "TRIGGER") {
        return kAlarmTrigger;
    }
    const bool kind = name == "ACTION" || name == "ATTACH" || name == "DESCRIPTION" ||
                      name == kReminderOptionsProperty;
    return kind ? kAlarmKind : kVerbatim;
}

using Changed = uint32_t;
constexpr Changed Bit(Group g)
{
    return Changed{1} << g;
}

// A counted series gets its end day when the store saves it; a fresh reading has none yet.
bool SamePattern(const std::optional<pim::RecurrenceFields>& a,
                 const std::optional<pim::RecurrenceFields>& b)
{
    if (!a || !b) {
        return a.has_value() == b.has_value();
    }
    pim::RecurrenceFields x = *a;
    pim::RecurrenceFields y = *b;
    if (!x.NoEndDate && x.Occurrences > 0 && y.Occurrences == x.Occurrences) {
        x.PatternEndDate = y.PatternEndDate;
    }
    return x == y;
}

std::vector<DATE> DeletedDays(const pim::StoredItem& item)
{
    std::vector<DATE> days;
    for (const pim::ExceptionFields& e : item.exceptions) {
        if (e.Deleted) {
            days.push_back(e.OriginalDate);
        }
    }
    return days;
}

// The groups whose fields no longer say what the kept component says.
Changed ChangedGroups(const ReadComponent& came, const pim::StoredItem& item,
                      const pim::ExceptionFields* exception, const std::string& uid)
{
    const pim::ItemFields& f = exception != nullptr ? exception->occurrence : item.fields;
    const pim::ItemFields& c = came.item.fields;
    const bool task = item.kind == pim::kTaskKind;
    Changed changed = 0;
    const auto mark = [&](Group g, bool differs) { changed |= differs ? Bit(g) : 0; };
    mark(kSummary, f.Subject != c.Subject);
    mark(kMemo, f.Body != c.Body);
    mark(kCategories, f.Categories != c.Categories);
    mark(kClass, f.Sensitivity != c.Sensitivity);
    mark(kUid, Wide(uid.c_str()) != c.UID);
    // A changed occurrence holds no rule; a component read as something else than it says
    // (a rule the store could not hold) is written as the store holds it.
    const std::vector<DATE> deleted = DeletedDays(item);
    std::vector<DATE> cameDeleted = came.deletedDays;
    std::sort(cameDeleted.begin(), cameDeleted.end());
    const bool ruleChanged =
        exception != nullptr || !came.problem.empty() || came.item.kind != item.kind ||
        !SamePattern(item.pattern, came.item.pattern) || deleted != cameDeleted;
    mark(kRule, ruleChanged);
    const bool zoneChanged = exception == nullptr && f.Zone != c.Zone;
    if (task) {
        mark(kTime,
             ruleChanged || zoneChanged || f.StartDate != c.StartDate || f.DueDate != c.DueDate);
        mark(kPriority, f.Importance != c.Importance);
        mark(kStatus, f.Complete != c.Complete || f.DateCompleted != c.DateCompleted);
    } else {
        mark(kTime, (exception == nullptr && ruleChanged) || zoneChanged || f.Start != c.Start ||
                        f.End != c.End || f.AllDayEvent != c.AllDayEvent);
        mark(kLocation, f.Location != c.Location);
        mark(kBusy, f.BusyStatus != c.BusyStatus);
    }
    mark(kRecurrenceId, exception == nullptr || !came.recurrenceDay ||
                            *came.recurrenceDay != exception->OriginalDate);
    // The reminder stands for the first alarm's trigger and kind only.
    const bool presence = f.ReminderSet != c.ReminderSet;
    if (f.ReminderSet) {
        const bool trigger = task ? f.ReminderTime != c.ReminderTime
                                  : f.ReminderMinutesBeforeStart != c.ReminderMinutesBeforeStart;
        mark(kAlarmTrigger, presence || trigger);
        mark(kAlarmKind, presence || f.ReminderOptions != c.ReminderOptions ||
                             f.ReminderSoundFile != c.ReminderSoundFile);
    }
    return changed;
}

// A component's lines as its own properties (one line each) and its sub-components (a block
// from BEGIN to END), in their order, between its BEGIN and END lines.
struct Parsed {
    std::string begin;
    std::string end;
    std::vector<Lines> entries;
};

Parsed Parse(const Lines& lines)
{
    Parsed p;
    if (lines.size() < 2) {
        return p;
    }
    p.begin = lines.front();
    p.end = lines.back();
    int depth = 0;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string name = KeptPropertyName(lines[i]);
        if (depth == 0) {
            p.entries.emplace_back();
        }
        p.entries.back().push_back(lines[i]);
        depth += name == "BEGIN" ? 1 : name == "END" ? -1 : 0;
        depth = std::max(depth, 0);
    }
    return p;
}

bool IsBlock(const Lines& entry)
{
    return KeptPropertyName(entry.front()) == "BEGIN";
}

bool IsAlarm(const Lines& entry)
{
    return IsBlock(entry) && KeptPropertyName(entry.front().substr(6)) == "VALARM";
}

const Lines* FirstAlarm(const Parsed& p)
{
    const auto at = std::find_if(p.entries.begin(), p.entries.end(), IsAlarm);
    return at == p.entries.end() ? nullptr : &*at;
}

struct MergeRules {
    std::function<Group(const std::string&)> groupOf;
    Changed changed = 0;
    // What becomes of a kept sub-component; the first alarm is told apart.
    std::function<Lines(const Lines& block, bool firstAlarm)> block;
    Lines beforeBlocks; // written ahead of the kept sub-components
};

Lines Merge(const Parsed& kept, const Parsed& written, const MergeRules& rules)
{
    Lines out{kept.begin};
    Changed emitted = 0;
    const auto writtenGroup = [&](Changed groups) {
        for (const Lines& entry : written.entries) {
            if (IsBlock(entry)) {
                continue;
            }
            const Group g = rules.groupOf(KeptPropertyName(entry.front()));
            if (g != kVerbatim && (groups & Bit(g)) != 0) {
                out.push_back(entry.front());
            }
        }
        emitted |= groups;
    };
    bool restDone = false;
    const auto rest = [&] {
        if (!restDone) {
            restDone = true;
            writtenGroup(rules.changed & ~emitted);
            out.insert(out.end(), rules.beforeBlocks.begin(), rules.beforeBlocks.end());
        }
    };
    bool alarmSeen = false;
    for (const Lines& entry : kept.entries) {
        if (IsBlock(entry)) {
            rest();
            const bool first = IsAlarm(entry) && !alarmSeen;
            alarmSeen = alarmSeen || IsAlarm(entry);
            const Lines copied = rules.block ? rules.block(entry, first) : entry;
            out.insert(out.end(), copied.begin(), copied.end());
            continue;
        }
        const Group g = rules.groupOf(KeptPropertyName(entry.front()));
        if (g == kVerbatim || (rules.changed & Bit(g)) == 0) {
            out.push_back(entry.front());
        } else if ((emitted & Bit(g)) == 0) {
            writtenGroup(Bit(g));
        }
    }
    rest();
    out.push_back(kept.end);
    return out;
}

ReadComponent ReadKept(const std::string& kept)
{
    ZoneTable zones;
    for (const auto& [tzid, definition] : KeptZones(kept)) {
        if (icalcomponent* zone = icalparser_parse_string(definition.c_str())) {
            zones.Add(zone);
        }
    }
    const std::string text = KeptComponent(kept);
    icalcomponent* c = icalparser_parse_string(text.c_str());
    if (c == nullptr) {
        ReadComponent none;
        none.problem = "unreadable";
        return none;
    }
    ReadComponent read = ReadItemComponent(c, text, zones, ReadOptions{});
    icalcomponent_free(c);
    return read;
}

// What reading the kept component gives when the fields were just read from it; only what
// ChangedGroups compares.
ReadComponent AsRead(const pim::StoredItem& item, const pim::ExceptionFields* exception)
{
    ReadComponent read;
    read.item.kind = item.kind;
    if (exception == nullptr) {
        read.item.fields = item.fields;
        read.item.pattern = item.pattern;
        read.deletedDays = DeletedDays(item);
        return read;
    }
    read.item.fields = exception->occurrence;
    read.item.fields.UID = item.fields.UID; // a changed occurrence carries its series' UID
    read.recurrenceDay = exception->OriginalDate;
    return read;
}

std::string WrittenUid(icalcomponent* written)
{
    const char* uid = icalcomponent_get_uid(written);
    return uid != nullptr ? uid : "";
}

} // namespace

std::string KeptText(const std::string& componentText, const ZoneTable& zones)
{
    std::string kept = Joined(UnfoldedLines(componentText));
    for (const std::string& tzid : NamedZones(kept)) {
        if (ZoneTable::IanaName(tzid).empty()) {
            kept += Joined(UnfoldedLines(zones.OwnDefinition(tzid)));
        }
    }
    return kept;
}

std::string KeptComponent(const std::string& kept)
{
    const Lines lines = UnfoldedLines(kept);
    return Joined(
        Lines(lines.begin(), lines.begin() + static_cast<ptrdiff_t>(ComponentEnd(lines))));
}

std::map<std::string, std::string> KeptZones(const std::string& kept)
{
    const Lines lines = UnfoldedLines(kept);
    std::map<std::string, std::string> zones;
    for (size_t from = ComponentEnd(lines); from < lines.size();) {
        const Lines rest(lines.begin() + static_cast<ptrdiff_t>(from), lines.end());
        const size_t length = ComponentEnd(rest);
        const Lines zone(rest.begin(), rest.begin() + static_cast<ptrdiff_t>(length));
        for (const std::string& line : zone) {
            if (KeptPropertyName(line) == "TZID" && line.find(':') != std::string::npos) {
                zones[line.substr(line.find(':') + 1)] = Joined(zone);
                break;
            }
        }
        from += std::max<size_t>(length, 1);
    }
    return zones;
}

std::set<std::string> NamedZones(const std::string& componentText)
{
    std::set<std::string> zones;
    for (const std::string& line : UnfoldedLines(componentText)) {
        for (const std::string& tzid : ParameterValues(line, "TZID")) {
            zones.insert(tzid);
        }
    }
    return zones;
}

std::string KeptContent(const std::string& kept)
{
    const Lines lines = UnfoldedLines(KeptComponent(kept));
    // Each level's lines sorted, each sub-component as one sorted text; the revision of the
    // component itself left out.
    std::vector<Lines> levels(1);
    for (const std::string& line : lines) {
        const std::string name = KeptPropertyName(line);
        if (name == "BEGIN") {
            levels.push_back({line});
            continue;
        }
        const bool revision = name == "DTSTAMP" || name == "LAST-MODIFIED" || name == "SEQUENCE";
        if (name != "END") {
            if (!(levels.size() == 2 && revision)) {
                levels.back().push_back(line);
            }
            continue;
        }
        if (levels.size() < 2) {
            continue;
        }
        Lines level = std::move(levels.back());
        levels.pop_back();
        std::sort(level.begin() + 1, level.end());
        levels.back().push_back(Joined(level) + line);
    }
    return levels.front().empty() ? std::string() : levels.front().front();
}

std::string MergedComponentText(const pim::StoredItem& item, const pim::ExceptionFields* exception,
                                icalcomponent* written, bool fieldsAsRead)
{
    const std::string& kept = exception != nullptr ? exception->occurrence.Kept : item.fields.Kept;
    std::string fieldsText = ComponentText(written);
    if (kept.empty()) {
        return fieldsText;
    }
    const pim::ItemFields& f = exception != nullptr ? exception->occurrence : item.fields;
    const ReadComponent came = fieldsAsRead ? AsRead(item, exception) : ReadKept(kept);
    const Changed changed = ChangedGroups(came, item, exception, WrittenUid(written));
    const Parsed keptLines = Parse(UnfoldedLines(KeptComponent(kept)));
    const Parsed writtenLines = Parse(UnfoldedLines(fieldsText));
    if (keptLines.begin.empty() || writtenLines.begin.empty()) {
        return fieldsText;
    }
    const Lines* writtenAlarm = FirstAlarm(writtenLines);
    const bool task = item.kind == pim::kTaskKind;

    MergeRules alarm;
    alarm.groupOf = AlarmGroup;
    alarm.changed = changed & (Bit(kAlarmTrigger) | Bit(kAlarmKind));
    MergeRules rules;
    rules.groupOf = [task](const std::string& name) { return ComponentGroup(name, task); };
    rules.changed = changed;
    rules.block = [&](const Lines& block, bool firstAlarm) {
        if (!firstAlarm) {
            return block;
        }
        if (!f.ReminderSet) {
            // A reminder switched off takes its alarm along; one never read stays.
            return came.item.fields.ReminderSet ? Lines{} : block;
        }
        if (alarm.changed == 0 || writtenAlarm == nullptr) {
            return block;
        }
        return Merge(Parse(block), Parse(*writtenAlarm), alarm);
    };
    if (f.ReminderSet && FirstAlarm(keptLines) == nullptr && writtenAlarm != nullptr) {
        rules.beforeBlocks = *writtenAlarm;
    }
    return Refolded(Joined(Merge(keptLines, writtenLines, rules)));
}

Revision RevisionOf(icalcomponent* c)
{
    const auto stamp = [c](icalproperty_kind kind) -> time_t {
        icalproperty* p = icalcomponent_get_first_property(c, kind);
        if (p == nullptr) {
            return 0;
        }
        const icaltimetype t = kind == ICAL_LASTMODIFIED_PROPERTY ? icalproperty_get_lastmodified(p)
                                                                  : icalproperty_get_dtstamp(p);
        return icaltime_is_null_time(t) != 0 ? 0 : icaltime_as_timet(t);
    };
    return {icalcomponent_get_sequence(c), stamp(ICAL_LASTMODIFIED_PROPERTY),
            stamp(ICAL_DTSTAMP_PROPERTY)};
}

Revision KeptRevisionOf(const std::string& kept)
{
    if (kept.empty()) {
        return {};
    }
    icalcomponent* c = icalparser_parse_string(KeptComponent(kept).c_str());
    if (c == nullptr) {
        return {};
    }
    const Revision revision = RevisionOf(c);
    icalcomponent_free(c);
    return revision;
}

} // namespace ical
