// Reading VEVENT and VTODO. Every value is checked before it is used: a missing or impossible
// start, an end before the start, a rule that cannot be stated exactly all skip the component
// with the reason, so nothing half-read reaches the store.
#include "ical/component_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "ical/ical_text.h"
#include "ical/ical_time.h"
#include "ical/kept_component.h"
#include "ical/rule_mapping.h"
#include "ical/zone_table.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "model/recurrence.h"
#include "model/text_list.h"
#include "platform/pim/zone_time.h"

namespace ical {
namespace {

constexpr double kMinutesPerDay = 1440.0;

int32_t MinutesBetween(DATE from, DATE to)
{
    return static_cast<int32_t>(std::lround((to - from) * kMinutesPerDay));
}

bool IsDateValue(icalcomponent* c, icalproperty_kind kind)
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    icalvalue* v = p ? icalproperty_get_value(p) : nullptr;
    return v != nullptr && icalvalue_isa(v) == ICAL_DATE_VALUE;
}

class Reader {
public:
    Reader(icalcomponent* c, const std::string& text, const ZoneTable& zones,
           const ReadOptions& options, ReadComponent& out)
        : c_(c), text_(text), zones_(zones), options_(options), out_(out)
    {
    }

    void Read();

private:
    std::optional<DATE> Time(icalproperty* p, const icaltimetype& value, const char* name);
    std::optional<DATE> TimeOf(icalproperty_kind kind, const char* name);
    std::wstring Text(icalproperty_kind kind, const char* (*get)(const icalproperty*));
    std::wstring Blanked(const std::wstring& value, std::string_view name) const;
    std::wstring Controlled(const std::wstring& text, const char* name);
    void ReadCommon();
    bool ReadAppointment();
    bool ReadTask();
    void ReadAlarm(DATE start, DATE end);
    void ReadRule(DATE start, int32_t minutes);
    std::string StartZone();
    void ReadDeletedDays();
    bool ExcludesStart(DATE localStart) const;
    void DropDaysWithoutOccurrence();
    void Expand(const icalrecurrencetype& rule, icalproperty* dtstart, DATE start, DATE end);
    std::wstring Uid();
    void Fail(const std::string& why) { out_.problem = why; }

    icalcomponent* c_;
    const std::string& text_;
    const ZoneTable& zones_;
    const ReadOptions& options_;
    ReadComponent& out_;
    std::string unfolded_;
    bool allDay_ = false;
    std::string zone_;  // the IANA zone of a zoned start, "UTC" for a UTC one
    struct Excluded {
        DATE local;
        bool wholeDay;
    };
    std::vector<Excluded> excluded_;  // the EXDATEs, in local time
};

std::optional<DATE> Reader::Time(icalproperty* p, const icaltimetype& value, const char* name)
{
    icaltimezone* zone = nullptr;
    if (icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER)) {
        const char* id = icalparameter_get_tzid(tzid);
        const std::string iana = ZoneTable::IanaName(id ? id : "");
        if (!iana.empty()) {
            return LocalDateInZone(value, iana);
        }
        zone = zones_.Find(id ? id : "");
        if (zone == nullptr) {
            out_.unknownZone = true;
            out_.notes.push_back(std::string("unknown time zone ") + (id ? id : "") + " in " +
                                 name + ", read as local time");
        }
    }
    return LocalDate(value, zone);
}

// The zone a timed start names by a system zone name, which the item then keeps.
std::string Reader::StartZone()
{
    icalproperty* p = icalcomponent_get_first_property(c_, ICAL_DTSTART_PROPERTY);
    if (p == nullptr || IsDateValue(c_, ICAL_DTSTART_PROPERTY)) {
        return {};
    }
    if (icaltime_is_utc(icalproperty_get_dtstart(p))) {
        return "UTC";
    }
    icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    const char* id = tzid ? icalparameter_get_tzid(tzid) : nullptr;
    return id ? ZoneTable::IanaName(id) : std::string();
}


// TEXT values carry no control characters but TAB and line breaks; others are dropped, said.
std::wstring Reader::Controlled(const std::wstring& text, const char* name)
{
    bool removed = false;
    std::wstring kept = WithoutControls(text, &removed);
    if (removed) {
        out_.notes.push_back(std::string("control characters removed from ") + name);
    }
    return kept;
}

std::optional<DATE> Reader::TimeOf(icalproperty_kind kind, const char* name)
{
    icalproperty* p = icalcomponent_get_first_property(c_, kind);
    if (p == nullptr) {
        return std::nullopt;
    }
    icalvalue* v = icalproperty_get_value(p);
    if (v == nullptr) {
        return std::nullopt;
    }
    const icalvalue_kind vk = icalvalue_isa(v);
    if (vk != ICAL_DATE_VALUE && vk != ICAL_DATETIME_VALUE) {
        return std::nullopt;
    }
    return Time(p, vk == ICAL_DATE_VALUE ? icalvalue_get_date(v) : icalvalue_get_datetime(v), name);
}

// The value of the component's own first `name` line as written (after its parameters).
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

// libical trims the blanks around a value; a subject or place keeps those it was written with.
std::wstring Reader::Blanked(const std::wstring& value, std::string_view name) const
{
    constexpr const char* kBlanks = " \t";
    const std::string_view raw = RawValue(unfolded_, name);
    const size_t first = raw.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return value.empty() ? Wide(std::string(raw).c_str()) : value;
    }
    const size_t kept = value.find_first_not_of(L" \t");
    if (kept == std::wstring::npos) {
        return value;  // libical read something else than the line holds: keep its reading
    }
    const std::wstring inner = value.substr(kept, value.find_last_not_of(L" \t") + 1 - kept);
    return Wide(std::string(raw.substr(0, first)).c_str()) + inner +
           Wide(std::string(raw.substr(raw.find_last_not_of(kBlanks) + 1)).c_str());
}

std::wstring Reader::Text(icalproperty_kind kind, const char* (*get)(const icalproperty*))
{
    icalproperty* p = icalcomponent_get_first_property(c_, kind);
    return p == nullptr ? std::wstring() : Wide(get(p));
}

int32_t SensitivityOf(icalproperty* p)
{
    switch (p ? icalproperty_get_class(p) : ICAL_CLASS_PUBLIC) {
    case ICAL_CLASS_PUBLIC:
    case ICAL_CLASS_NONE:
        return kSensitivityNormal;
    case ICAL_CLASS_CONFIDENTIAL:
        return kSensitivityConfidential;
    case ICAL_CLASS_X: {
        const char* value = icalproperty_get_value_as_string(p);
        // Any class a program does not know counts as private.
        return value && strcasecmp(value, "X-PERSONAL") == 0 ? kSensitivityPersonal
                                                             : kSensitivityPrivate;
    }
    default:
        return kSensitivityPrivate;
    }
}

void Reader::ReadCommon()
{
    pim::ItemFields& f = out_.item.fields;
    f.UID = Uid();
    f.Subject = Controlled(
        Blanked(Text(ICAL_SUMMARY_PROPERTY, icalproperty_get_summary), "SUMMARY"), "SUMMARY");
    icalproperty* memo = icalcomponent_get_first_property(c_, ICAL_DESCRIPTION_PROPERTY);
    f.Body = memo ? Controlled(MemoFromIcal(icalproperty_get_description(memo)), "DESCRIPTION")
                  : std::wstring();
    for (icalproperty* p = icalcomponent_get_first_property(c_, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(c_, ICAL_CATEGORIES_PROPERTY)) {
        const std::wstring category = Controlled(Wide(icalproperty_get_categories(p)), "CATEGORIES");
        if (!category.empty()) {
            f.Categories += (f.Categories.empty() ? L"" : L",") + CommaListName(category);
        }
    }
    f.Sensitivity = SensitivityOf(icalcomponent_get_first_property(c_, ICAL_CLASS_PROPERTY));
}

// A component without a UID gets one from its text, so importing the file again finds it.
std::wstring Reader::Uid()
{
    icalproperty* p = icalcomponent_get_first_property(c_, ICAL_UID_PROPERTY);
    const char* uid = p ? icalproperty_get_uid(p) : nullptr;
    if (uid != nullptr && *uid != '\0') {
        return Wide(uid);
    }
    uint64_t hash = 14695981039346656037ull;  // FNV-1a: the same on every machine
    for (const unsigned char ch : text_) {
        hash = (hash ^ ch) * 1099511628211ull;
    }
    out_.notes.push_back("no UID, given one from its contents");
    return L"tamberlo-import-" + std::to_wstring(hash);
}

int32_t BusyOf(icalcomponent* c)
{
    const std::string busy = XProperty(c, kBusyStatusProperty);
    if (strcasecmp(busy.c_str(), "FREE") == 0) {
        return kBusyFree;
    }
    if (strcasecmp(busy.c_str(), "TENTATIVE") == 0) {
        return kBusyTentative;
    }
    if (strcasecmp(busy.c_str(), "OOF") == 0) {
        return kBusyOutOfOffice;
    }
    if (!busy.empty()) {
        return kBusyBusy;
    }
    icalproperty* transp = icalcomponent_get_first_property(c, ICAL_TRANSP_PROPERTY);
    return transp && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT ? kBusyFree
                                                                                : kBusyBusy;
}

bool Reader::ReadAppointment()
{
    pim::ItemFields& f = out_.item.fields;
    out_.item.kind = pim::kAppointmentKind;
    f.Location = Controlled(
        Blanked(Text(ICAL_LOCATION_PROPERTY, icalproperty_get_location), "LOCATION"), "LOCATION");
    f.BusyStatus = BusyOf(c_);
    const std::optional<DATE> start = TimeOf(ICAL_DTSTART_PROPERTY, "DTSTART");
    if (!start) {
        Fail(icalcomponent_get_first_property(c_, ICAL_DTSTART_PROPERTY) ? "invalid DTSTART"
                                                                         : "no DTSTART");
        return false;
    }
    allDay_ = IsDateValue(c_, ICAL_DTSTART_PROPERTY);
    zone_ = StartZone();
    f.Zone = Wide(zone_.c_str());
    std::optional<DATE> end = TimeOf(ICAL_DTEND_PROPERTY, "DTEND");
    icalproperty* dtend = icalcomponent_get_first_property(c_, ICAL_DTEND_PROPERTY);
    if (end && !zone_.empty() && !IsDateValue(c_, ICAL_DTEND_PROPERTY) &&
        !icalproperty_get_first_parameter(dtend, ICAL_TZID_PARAMETER) &&
        !icaltime_is_utc(icalproperty_get_dtend(dtend))) {
        // A floating end of a zoned start is the start's zone's wall time.
        end = LocalDateInZone(icalproperty_get_dtend(dtend), zone_);
    }
    if (icalcomponent_get_first_property(c_, ICAL_DTEND_PROPERTY) != nullptr && !end) {
        Fail("invalid DTEND");
        return false;
    }
    if (!end) {
        icalproperty* duration = icalcomponent_get_first_property(c_, ICAL_DURATION_PROPERTY);
        const int seconds =
            duration ? icaldurationtype_as_int(icalproperty_get_duration(duration)) : 0;
        end = duration ? AddSeconds(*start, seconds) : *start + (allDay_ ? 1.0 : 0.0);
    }
    if (*end < *start) {
        Fail("DTEND before DTSTART");
        return false;
    }
    f.Start = *start;
    f.End = *end;
    f.AllDayEvent = allDay_;
    ReadAlarm(*start, *end);
    return true;
}

bool Reader::ReadTask()
{
    pim::ItemFields& f = out_.item.fields;
    out_.item.kind = pim::kTaskKind;
    const bool hasStart = icalcomponent_get_first_property(c_, ICAL_DTSTART_PROPERTY) != nullptr;
    const bool hasDue = icalcomponent_get_first_property(c_, ICAL_DUE_PROPERTY) != nullptr;
    const std::optional<DATE> start = TimeOf(ICAL_DTSTART_PROPERTY, "DTSTART");
    const std::optional<DATE> due = TimeOf(ICAL_DUE_PROPERTY, "DUE");
    if ((hasStart && !start) || (hasDue && !due)) {
        Fail(hasStart && !start ? "invalid DTSTART" : "invalid DUE");
        return false;
    }
    if (start && due && *due < *start) {
        Fail("DUE before DTSTART");
        return false;
    }
    f.StartDate = start.value_or(pim::kNoDate);
    f.DueDate = due.value_or(pim::kNoDate);
    icalproperty* priority = icalcomponent_get_first_property(c_, ICAL_PRIORITY_PROPERTY);
    const int level = priority ? icalproperty_get_priority(priority) : 0;
    f.Importance = level >= 1 && level <= 4   ? kImportanceHigh
                   : level >= 6 && level <= 9 ? kImportanceLow
                                              : kImportanceNormal;
    icalproperty* status = icalcomponent_get_first_property(c_, ICAL_STATUS_PROPERTY);
    const std::optional<DATE> completed = TimeOf(ICAL_COMPLETED_PROPERTY, "COMPLETED");
    f.Complete = completed.has_value() ||
                 (status && icalproperty_get_status(status) == ICAL_STATUS_COMPLETED);
    f.DateCompleted = completed.value_or(pim::kNoDate);
    allDay_ = true;
    // A task without dates keeps an alarm at a fixed time; one relative to no date cannot be.
    ReadAlarm(start.value_or(due.value_or(pim::kNoDate)), due.value_or(start.value_or(pim::kNoDate)));
    return true;
}

void Reader::ReadAlarm(DATE start, DATE end)
{
    pim::ItemFields& f = out_.item.fields;
    icalcomponent* alarm = icalcomponent_get_first_component(c_, ICAL_VALARM_COMPONENT);
    f.ReminderSet = false;
    if (alarm == nullptr) {
        return;
    }
    // Further alarms and the alarm's own text and attachment stay in what the item keeps.
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trigger == nullptr) {
        out_.notes.push_back("alarm without TRIGGER left out");
        return;
    }
    const icaltriggertype t = icalproperty_get_trigger(trigger);
    DATE at = start;
    if (!icaltime_is_null_time(t.time)) {
        const std::optional<DATE> absolute = Time(trigger, t.time, "TRIGGER");
        if (!absolute) {
            out_.notes.push_back("alarm with an invalid time left out");
            return;
        }
        at = *absolute;
    } else {
        icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
        const bool fromEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
        if (!IsTaskDate(fromEnd ? end : start)) {
            out_.notes.push_back("an alarm relative to a date the task has not left out");
            return;
        }
        at = AddSeconds(fromEnd ? end : start, icaldurationtype_as_int(t.duration));
    }
    icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
    const bool audio = action && icalproperty_get_action(action) == ICAL_ACTION_AUDIO;
    const std::string options = XProperty(alarm, kReminderOptionsProperty);
    f.ReminderOptions = !options.empty() ? std::atoi(options.c_str())
                                         : (audio ? kReminderSound : kReminderDialog);
    if (icalproperty* attach = icalcomponent_get_first_property(alarm, ICAL_ATTACH_PROPERTY)) {
        icalattach* a = icalproperty_get_attach(attach);
        if (a != nullptr && icalattach_get_is_url(a)) {
            f.ReminderSoundFile = Wide(icalattach_get_url(a));
        }
    }
    f.ReminderSet = true;
    if (out_.item.kind == pim::kTaskKind) {
        f.ReminderTime = at;
        return;
    }
    int32_t minutes = MinutesBetween(at, start);
    if (minutes < 0) {
        out_.notes.push_back("alarm after the start moved to the start");
        minutes = 0;
    }
    f.ReminderMinutesBeforeStart = minutes;
}

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

// The RRULE line as written.
std::string RawRule(const std::string& unfolded)
{
    const size_t at = unfolded.find("\nRRULE");
    return at == std::string::npos ? std::string()
                                   : unfolded.substr(at + 1, unfolded.find('\r', at) - at - 1);
}

// A property libical could not read is dropped with only an X-LIC-ERROR left behind; for the
// values that decide when an item happens that would import something else, so it is refused.
// Counts the lines of the component's own level (not its alarms) that name each such value.
std::string UnreadValue(icalcomponent* c, std::string_view unfolded)
{
    struct Decisive {
        std::string_view name;
        icalproperty_kind kind;
        int lines;
    };
    Decisive decisive[] = {{"DTSTART", ICAL_DTSTART_PROPERTY, 0},
                           {"DTEND", ICAL_DTEND_PROPERTY, 0},
                           {"DUE", ICAL_DUE_PROPERTY, 0},
                           {"DURATION", ICAL_DURATION_PROPERTY, 0},
                           {"RRULE", ICAL_RRULE_PROPERTY, 0},
                           {"EXDATE", ICAL_EXDATE_PROPERTY, 0},
                           {"RDATE", ICAL_RDATE_PROPERTY, 0},
                           {"RECURRENCE-ID", ICAL_RECURRENCEID_PROPERTY, 0}};
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

void Reader::ReadRule(DATE start, int32_t minutes)
{
    icalproperty* rrule = icalcomponent_get_first_property(c_, ICAL_RRULE_PROPERTY);
    const bool rdate = icalcomponent_get_first_property(c_, ICAL_RDATE_PROPERTY) != nullptr;
    if (rrule == nullptr && !rdate) {
        return;
    }
    const icalrecurrencetype rule =
        rrule ? icalproperty_get_rrule(rrule) : icalrecurrencetype{};
    PatternFromRule mapped;
    if (rdate || icalcomponent_get_next_property(c_, ICAL_RRULE_PROPERTY) != nullptr) {
        mapped.problem = rdate ? "unsupported: RDATE" : "unsupported: several RRULEs";
        mapped.unsupported = true;
    } else {
        // A zoned series is mapped in its zone's own days and times.
        icalproperty* dtstart = icalcomponent_get_first_property(c_, ICAL_DTSTART_PROPERTY);
        const std::optional<DATE> first =
            zone_.empty() ? std::optional<DATE>(start) : WallDate(icalproperty_get_dtstart(dtstart));
        std::optional<DATE> until;
        if (!icaltime_is_null_time(rule.until)) {
            until = zone_.empty() || !icaltime_is_utc(rule.until)
                        ? (zone_.empty() ? Time(dtstart, rule.until, "UNTIL") : WallDate(rule.until))
                        : pim::EpochToZone(Wide(zone_.c_str()), icaltime_as_timet(rule.until));
            if (!until) {
                Fail("invalid UNTIL");
                return;
            }
        }
        if (!first) {
            Fail("invalid DTSTART");
            return;
        }
        ReadDeletedDays();
        mapped = RuleToPattern(rule, RawRule(unfolded_), *first, minutes, until,
                               ExcludesStart(start));
        start = *first;
    }
    if (!mapped.pattern) {
        Fail(mapped.problem);
        out_.unsupportedRule = mapped.unsupported;
        if (mapped.unsupported && options_.expandUnsupported && rrule && !rdate &&
            out_.item.kind == pim::kAppointmentKind) {
            Expand(rule, icalcomponent_get_first_property(c_, ICAL_DTSTART_PROPERTY), start,
                   out_.item.fields.End);
        }
        return;
    }
    // Our own export names the day the series began when it lies before its first occurrence.
    const std::string began = XProperty(c_, kSeriesStartProperty);
    if (!began.empty()) {
        const std::optional<DATE> day = LocalDate(icaltime_from_string(began.c_str()), nullptr);
        pim::RecurrenceFields earlier = *mapped.pattern;
        if (day && *day < earlier.PatternStartDate) {
            earlier.PatternStartDate = *day;
            pim::RecurrenceFields open = earlier;
            open.NoEndDate = true;  // a counted end is only found when the store saves it
            if (FirstOccurrenceDay(open) == DayOf(start)) {
                mapped.pattern = earlier;
            }
        }
    }
    // A length in seconds stays in the kept DTEND while the times are not edited.
    pim::ItemFields& f = out_.item.fields;
    if (mapped.startOffRule) {
        if (out_.item.kind != pim::kAppointmentKind) {
            Fail("unsupported: DTSTART is not one of the rule's days");
            return;
        }
        // The start stays where the file has it, as an appointment of its own.
        pim::StoredItem single{pim::kAppointmentKind, f, std::nullopt, {}};
        single.fields.UID += L"/" + DateToKey(f.Start, kTimeStampKey);
        out_.startOccurrence = std::move(single);
        out_.notes.push_back("DTSTART is not one of the rule's days: the series starts on its "
                             "first rule day, DTSTART's occurrence is a single appointment");
    }
    mapped.pattern->Zone = Wide(zone_.c_str());
    out_.item.pattern = mapped.pattern;
    if (out_.item.kind == pim::kAppointmentKind) {
        const DATE firstStart = mapped.pattern->PatternStartDate + (start - std::floor(start));
        f.Start = zone_.empty() ? firstStart
                                : pim::ZoneToLocal(mapped.pattern->Zone, firstStart).value_or(f.Start);
        f.End = f.Start + minutes / kMinutesPerDay;
    }
}

bool Reader::ExcludesStart(DATE localStart) const
{
    return std::any_of(excluded_.begin(), excluded_.end(), [&](const Excluded& x) {
        return x.wholeDay ? DayOf(x.local) == DayOf(localStart)
                          : std::abs(x.local - localStart) * 86400.0 < 0.5;
    });
}

void Reader::ReadDeletedDays()
{
    out_.deletedDays.clear();
    excluded_.clear();
    for (icalproperty* p = icalcomponent_get_first_property(c_, ICAL_EXDATE_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(c_, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype value = icalproperty_get_exdate(p);
        const std::optional<DATE> day = Time(p, value, "EXDATE");
        if (day) {
            out_.deletedDays.push_back(std::floor(*day));
            excluded_.push_back({*day, value.is_date != 0});
        } else {
            out_.notes.push_back("invalid EXDATE left out");
        }
    }
}

// The series as single appointments, by libical's own expansion in the start's zone.
void Reader::Expand(const icalrecurrencetype& rule, icalproperty* dtstart, DATE start, DATE end)
{
    icaltimetype first = icalproperty_get_dtstart(dtstart);
    icaltimezone* zone = nullptr;
    if (icalparameter* tzid = icalproperty_get_first_parameter(dtstart, ICAL_TZID_PARAMETER)) {
        const char* id = icalparameter_get_tzid(tzid);
        zone = zones_.Find(id ? id : "");
    }
    ReadDeletedDays();
    icalrecur_iterator* it = icalrecur_iterator_new(rule, first);
    if (it == nullptr) {
        return;
    }
    const double length = end - start;
    for (icaltimetype t = icalrecur_iterator_next(it);
         !icaltime_is_null_time(t) && static_cast<int>(out_.expanded.size()) < options_.maxExpanded;
         t = icalrecur_iterator_next(it)) {
        const std::optional<DATE> local = LocalDate(t, zone);
        if (!local || *local > options_.expandUntil) {
            break;
        }
        if (std::find(out_.deletedDays.begin(), out_.deletedDays.end(), std::floor(*local)) !=
            out_.deletedDays.end()) {
            continue;
        }
        pim::StoredItem single{pim::kAppointmentKind, out_.item.fields, std::nullopt, {}};
        single.fields.Start = *local;
        single.fields.End = *local + length;
        single.fields.UID += L"/" + DateToKey(*local, kTimeStampKey);
        out_.expanded.push_back(std::move(single));
    }
    icalrecur_iterator_free(it);
    out_.deletedDays.clear();
}

void Reader::Read()
{
    const icalcomponent_kind kind = icalcomponent_isa(c_);
    const bool event = kind == ICAL_VEVENT_COMPONENT;
    if (!event && kind != ICAL_VTODO_COMPONENT) {
        const char* name = icalcomponent_kind_to_string(kind);  // null for unknown kinds
        Fail(std::string("not an appointment or task: ") + (name ? name : "unknown"));
        return;
    }
    unfolded_ = Unfolded(text_);
    ReadCommon();
    if (const std::string unread = UnreadValue(c_, unfolded_); !unread.empty()) {
        Fail(unread);
        return;
    }
    if (!(event ? ReadAppointment() : ReadTask())) {
        return;
    }
    pim::ItemFields& f = out_.item.fields;
    if (icalproperty* id = icalcomponent_get_first_property(c_, ICAL_RECURRENCEID_PROPERTY)) {
        if (!event) {
            Fail("a changed occurrence of a task");
            return;
        }
        if (icalproperty_get_first_parameter(id, ICAL_RANGE_PARAMETER) != nullptr) {
            Fail("unsupported: RECURRENCE-ID with RANGE");
            return;
        }
        const std::optional<DATE> original = Time(id, icalproperty_get_recurrenceid(id),
                                                  "RECURRENCE-ID");
        if (!original) {
            Fail("invalid RECURRENCE-ID");
            return;
        }
        out_.recurrenceDay = std::floor(*original);
        return;
    }
    const DATE start = event ? f.Start : (IsTaskDate(f.StartDate) ? f.StartDate : f.DueDate);
    if (!IsTaskDate(start) && icalcomponent_get_first_property(c_, ICAL_RRULE_PROPERTY)) {
        Fail("a recurring task without dates");
        return;
    }
    ReadRule(start, event ? MinutesBetween(f.Start, f.End) : 0);
    DropDaysWithoutOccurrence();
}

// An EXDATE on a day without an occurrence deletes nothing; the store keeps no such exception.
void Reader::DropDaysWithoutOccurrence()
{
    if (!out_.item.pattern) {
        out_.deletedDays.clear();
        return;
    }
    pim::RecurrenceFields open = *out_.item.pattern;
    open.NoEndDate = true;  // a counted end is only found when the store saves it
    // A timed EXDATE removes only the occurrence starting at that time; a date, the day's.
    out_.deletedDays.clear();
    for (const Excluded& x : excluded_) {
        const int64_t day = DayOf(x.local);
        const std::optional<DATE> start = OccurrenceStartOnDay(open, day);
        if (start && (x.wholeDay || allDay_ || std::abs(*start - x.local) * 86400.0 < 0.5)) {
            out_.deletedDays.push_back(static_cast<DATE>(day));
        }
    }
}

}  // namespace

ReadComponent ReadItemComponent(icalcomponent* component, const std::string& text,
                                const ZoneTable& zones, const ReadOptions& options)
{
    ReadComponent out;
    Reader(component, text, zones, options, out).Read();
    if (out.problem.empty() || !out.expanded.empty()) {
        // Whatever the item is read as, it keeps the whole component it came as.
        const std::string kept = KeptText(text, zones);
        out.item.fields.Kept = kept;
        if (out.startOccurrence) {
            out.startOccurrence->fields.Kept = kept;
        }
        for (pim::StoredItem& single : out.expanded) {
            single.fields.Kept = kept;
        }
    }
    return out;
}

}  // namespace ical
