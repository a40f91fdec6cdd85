// A zoned series is mapped in its zone's own days and times; EXDATEs are compared with the
// occurrences the pattern gives, since the store keeps only exceptions of real occurrences.
#include "ical/component_series.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ical/component_times.h"
#include "ical/ical_text.h"
#include "ical/ical_time.h"
#include "ical/rule_mapping.h"
#include "ical/zone_table.h"
#include "model/date_time.h"
#include "model/recurrence.h"
#include "platform/pim/zone_time.h"

namespace ical {
namespace {

struct Excluded {
    DATE local;
    bool wholeDay;
};

std::vector<Excluded> ExcludedTimes(icalcomponent* c, const ZoneTable& zones, ReadNotes& said)
{
    std::vector<Excluded> excluded;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype value = icalproperty_get_exdate(p);
        const std::optional<DATE> day = PropertyTime(p, value, "EXDATE", zones, said);
        if (day) {
            excluded.push_back({*day, value.is_date != 0});
        } else {
            said.notes.push_back("invalid EXDATE left out");
        }
    }
    return excluded;
}

bool ExcludesStart(const std::vector<Excluded>& excluded, DATE localStart)
{
    return std::any_of(excluded.begin(), excluded.end(), [&](const Excluded& x) {
        return x.wholeDay ? DayOf(x.local) == DayOf(localStart)
                          : std::abs(x.local - localStart) * 86400.0 < 0.5;
    });
}

// An EXDATE on a day without an occurrence deletes nothing; the store keeps no such exception.
// A timed EXDATE removes only the occurrence starting at that time; a date, the day's.
std::vector<DATE> DeletedDays(const pim::RecurrenceFields& pattern,
                              const std::vector<Excluded>& excluded, bool allDay)
{
    pim::RecurrenceFields open = pattern;
    open.NoEndDate = true; // a counted end is only found when the store saves it
    std::vector<DATE> days;
    for (const Excluded& x : excluded) {
        const int64_t day = DayOf(x.local);
        const std::optional<DATE> start = OccurrenceStartOnDay(open, day);
        if (start && (x.wholeDay || allDay || std::abs(*start - x.local) * 86400.0 < 0.5)) {
            days.push_back(static_cast<DATE>(day));
        }
    }
    return days;
}

// The series as single appointments, by libical's own expansion in the start's zone.
void Expand(const icalrecurrencetype& rule, icalproperty* dtstart,
            const std::vector<Excluded>& excluded, const ZoneTable& zones,
            const ReadOptions& options, ReadComponent& out)
{
    icaltimetype first = icalproperty_get_dtstart(dtstart);
    icaltimezone* zone = nullptr;
    if (icalparameter* tzid = icalproperty_get_first_parameter(dtstart, ICAL_TZID_PARAMETER)) {
        const char* id = icalparameter_get_tzid(tzid);
        zone = zones.Find(id != nullptr ? id : "");
    }
    std::vector<DATE> deleted;
    deleted.reserve(excluded.size());
    for (const Excluded& x : excluded) {
        deleted.push_back(std::floor(x.local));
    }
    icalrecur_iterator* it = icalrecur_iterator_new(rule, first);
    if (it == nullptr) {
        return;
    }
    // Both local: a zoned start's wall time would lengthen or shorten every occurrence.
    const double length = out.item.fields.End - out.item.fields.Start;
    for (icaltimetype t = icalrecur_iterator_next(it);
         icaltime_is_null_time(t) == 0 &&
         static_cast<int>(out.expanded.size()) < options.maxExpanded;
         t = icalrecur_iterator_next(it)) {
        const std::optional<DATE> local = LocalDate(t, zone);
        if (!local || *local > options.expandUntil) {
            break;
        }
        if (std::find(deleted.begin(), deleted.end(), std::floor(*local)) != deleted.end()) {
            continue;
        }
        pim::StoredItem single{pim::kAppointmentKind, out.item.fields, std::nullopt, {}};
        single.fields.Start = *local;
        single.fields.End = *local + length;
        single.fields.UID += L"/" + DateToKey(*local, kTimeStampKey);
        out.expanded.push_back(std::move(single));
    }
    icalrecur_iterator_free(it);
}

// Our own export names the day the series began when it lies before its first occurrence.
void MoveToSeriesStart(icalcomponent* c, DATE start, pim::RecurrenceFields& pattern)
{
    const std::string began = XProperty(c, kSeriesStartProperty);
    if (began.empty()) {
        return;
    }
    const std::optional<DATE> day = LocalDate(icaltime_from_string(began.c_str()), nullptr);
    pim::RecurrenceFields earlier = pattern;
    if (day && *day < earlier.PatternStartDate) {
        earlier.PatternStartDate = *day;
        pim::RecurrenceFields open = earlier;
        open.NoEndDate = true; // a counted end is only found when the store saves it
        if (FirstOccurrenceDay(open) == DayOf(start)) {
            pattern = earlier;
        }
    }
}

// The rule's end as a local (or, for a zoned series, the zone's wall) date; empty when it
// has none, nullopt inside when it is invalid.
std::optional<std::optional<DATE>> Until(const icalrecurrencetype& rule, icalproperty* dtstart,
                                         const std::string& zone, const ZoneTable& zones,
                                         ReadNotes& said)
{
    if (icaltime_is_null_time(rule.until) != 0) {
        return std::optional<DATE>();
    }
    const std::optional<DATE> until =
        zone.empty() || (icaltime_is_utc(rule.until) == 0)
            ? (zone.empty() ? PropertyTime(dtstart, rule.until, "UNTIL", zones, said)
                            : WallDate(rule.until))
            : pim::EpochToZone(Wide(zone.c_str()), icaltime_as_timet(rule.until));
    return until ? std::optional<std::optional<DATE>>(until) : std::nullopt;
}

} // namespace

void ReadSeries(icalcomponent* c, const std::string& rawRule, const SeriesStart& series,
                const ZoneTable& zones, const ReadOptions& options, ReadComponent& out)
{
    icalproperty* rrule = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY);
    const bool rdate = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) != nullptr;
    if (rrule == nullptr && !rdate) {
        return;
    }
    const icalrecurrencetype rule =
        rrule != nullptr ? icalproperty_get_rrule(rrule) : icalrecurrencetype{};
    const bool severalRules = icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY) > 1;
    icalproperty* dtstart = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
    DATE start = series.start;
    std::optional<std::vector<Excluded>> excluded;
    PatternFromRule mapped;
    if (rdate || severalRules) {
        mapped.problem = rdate ? "unsupported: RDATE" : "unsupported: several RRULEs";
        mapped.unsupported = true;
    } else {
        const std::optional<DATE> first = series.zone.empty()
                                              ? std::optional<DATE>(start)
                                              : WallDate(icalproperty_get_dtstart(dtstart));
        const std::optional<std::optional<DATE>> until =
            Until(rule, dtstart, series.zone, zones, out);
        if (!until) {
            out.problem = "invalid UNTIL";
            return;
        }
        if (!first) {
            out.problem = "invalid DTSTART";
            return;
        }
        excluded = ExcludedTimes(c, zones, out);
        mapped = RuleToPattern(rule, rawRule, *first, series.minutes, *until,
                               ExcludesStart(*excluded, start));
        start = *first;
    }
    if (!mapped.pattern) {
        out.problem = mapped.problem;
        out.unsupportedRule = mapped.unsupported;
        if (mapped.unsupported && options.expandUnsupported && rrule != nullptr && !rdate &&
            out.item.kind == pim::kAppointmentKind) {
            if (!excluded) {
                excluded = ExcludedTimes(c, zones, out);
            }
            Expand(rule, dtstart, *excluded, zones, options, out);
        }
        return;
    }
    MoveToSeriesStart(c, start, *mapped.pattern);
    pim::ItemFields& f = out.item.fields;
    if (mapped.startOffRule) {
        if (out.item.kind != pim::kAppointmentKind) {
            out.problem = "unsupported: DTSTART is not one of the rule's days";
            return;
        }
        // The start stays where the file has it, as an appointment of its own.
        pim::StoredItem single{pim::kAppointmentKind, f, std::nullopt, {}};
        single.fields.UID += L"/" + DateToKey(f.Start, kTimeStampKey);
        out.startOccurrence = std::move(single);
        out.notes.push_back("DTSTART is not one of the rule's days: the series starts on its "
                            "first rule day, DTSTART's occurrence is a single appointment");
    }
    mapped.pattern->Zone = Wide(series.zone.c_str());
    out.item.pattern = mapped.pattern;
    out.deletedDays = DeletedDays(*mapped.pattern, *excluded, series.allDay);
    if (out.item.kind == pim::kAppointmentKind) {
        const DATE firstStart = mapped.pattern->PatternStartDate + (start - std::floor(start));
        f.Start = series.zone.empty()
                      ? firstStart
                      : pim::ZoneToLocal(mapped.pattern->Zone, firstStart).value_or(f.Start);
        // A length in seconds stays in the kept DTEND while the times are not edited.
        f.End = f.Start + series.minutes / kMinutesPerDay;
    }
}

bool ReadChangedOccurrence(icalproperty* id, bool event, const ZoneTable& zones, ReadComponent& out)
{
    if (!event) {
        out.problem = "a changed occurrence of a task";
        return false;
    }
    if (icalproperty_get_first_parameter(id, ICAL_RANGE_PARAMETER) != nullptr) {
        out.problem = "unsupported: RECURRENCE-ID with RANGE";
        return false;
    }
    const std::optional<DATE> original =
        PropertyTime(id, icalproperty_get_recurrenceid(id), "RECURRENCE-ID", zones, out);
    if (!original) {
        out.problem = "invalid RECURRENCE-ID";
        return false;
    }
    out.recurrenceDay = std::floor(*original);
    return true;
}

} // namespace ical
