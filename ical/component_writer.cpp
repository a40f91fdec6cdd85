// Writing VEVENT and VTODO. A series starts (DTSTART) on its first real occurrence, since other
// programs count DTSTART as an occurrence; where the store's pattern began earlier, our own
// property keeps that day so a round trip gives the same pattern back.
#include "ical/component_writer.h"

#include <algorithm>
#include <cmath>

#include "ical/ical_text.h"
#include "ical/ical_time.h"
#include "ical/rule_mapping.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "model/recurrence.h"
#include "model/text_list.h"
#include "platform/pim/zone_time.h"

namespace ical {
namespace {

constexpr double kMinutesPerDay = 1440.0;

icalproperty* TimeProperty(icalproperty_kind kind, DATE local, bool wholeDay,
                           const TimeStyle& style)
{
    icalproperty* p = icalproperty_new(kind);
    if (wholeDay) {
        icalproperty_set_value(p, icalvalue_new_date(WallValue(local, true)));
        return p;
    }
    icaltimetype value = WallValue(local, false);
    if (style.utc && style.zoneWall) {
        value.zone = icaltimezone_get_utc_timezone();
    } else if (style.utc) {
        value = UtcValue(local);
    }
    icalproperty_set_value(p, icalvalue_new_datetime(value));
    if (!style.tzid.empty()) {
        icalproperty_add_parameter(p, icalparameter_new_tzid(style.tzid.c_str()));
    }
    return p;
}

void AddText(icalcomponent* c, icalproperty* (*make)(const char*), const std::wstring& text)
{
    if (!text.empty()) {
        icalcomponent_add_property(c, make(Utf8(WithoutControls(text)).c_str()));
    }
}

void AddMemo(icalcomponent* c, const std::wstring& memo)
{
    if (!memo.empty()) {
        icalcomponent_add_property(
            c, icalproperty_new_description(MemoToIcal(WithoutControls(memo)).c_str()));
    }
}

// Stands for a comma inside one category until ComponentText writes it escaped: libical
// writes a category's commas bare, which every reader takes for two categories. TEXT values
// carry no C0 controls, so it cannot be met otherwise.
constexpr char kCategoryComma = '\x1f';

// One CATEGORIES property per name of the comma list, so other programs see each category.
void AddCategories(icalcomponent* c, const std::wstring& categories)
{
    for (std::wstring name : SplitCommaList(categories)) {
        name.erase(0, name.find_first_not_of(L' '));
        name.erase(name.find_last_not_of(L' ') + 1);
        std::string value = Utf8(WithoutControls(name));
        std::replace(value.begin(), value.end(), ',', kCategoryComma);
        if (!value.empty()) {
            icalcomponent_add_property(c, icalproperty_new_categories(value.c_str()));
        }
    }
}

void AddClass(icalcomponent* c, int32_t sensitivity)
{
    switch (sensitivity) {
    case kSensitivityPersonal:
        // Programs that do not know the value treat it as PRIVATE, which is what it is.
        icalcomponent_add_property(c, icalproperty_new_from_string("CLASS:X-PERSONAL"));
        break;
    case kSensitivityPrivate:
        icalcomponent_add_property(c, icalproperty_new_class(ICAL_CLASS_PRIVATE));
        break;
    case kSensitivityConfidential:
        icalcomponent_add_property(c, icalproperty_new_class(ICAL_CLASS_CONFIDENTIAL));
        break;
    default:
        icalcomponent_add_property(c, icalproperty_new_class(ICAL_CLASS_PUBLIC));
        break;
    }
}

void AddBusy(icalcomponent* c, int32_t busy)
{
    static const char* const kNames[] = {"FREE", "TENTATIVE", "BUSY", "OOF"};
    icalcomponent_add_property(
        c,
        icalproperty_new_transp(busy == kBusyFree ? ICAL_TRANSP_TRANSPARENT : ICAL_TRANSP_OPAQUE));
    AddXProperty(c, kBusyStatusProperty, kNames[busy >= 0 && busy <= 3 ? busy : kBusyBusy]);
}

icalcomponent* NewAlarm(const pim::ItemFields& f)
{
    const bool sound = (f.ReminderOptions & kReminderSound) != 0;
    icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(
        alarm, icalproperty_new_action(sound ? ICAL_ACTION_AUDIO : ICAL_ACTION_DISPLAY));
    if (sound && !f.ReminderSoundFile.empty()) {
        icalattach* file = icalattach_new_from_url(Utf8(f.ReminderSoundFile).c_str());
        icalcomponent_add_property(alarm, icalproperty_new_attach(file));
        icalattach_unref(file);
    }
    if (!sound) {
        icalcomponent_add_property(alarm,
                                   icalproperty_new_description(
                                       Utf8(f.Subject.empty() ? L"Reminder" : f.Subject).c_str()));
    }
    AddXProperty(alarm, kReminderOptionsProperty, std::to_string(f.ReminderOptions));
    return alarm;
}

void AddAppointmentAlarm(icalcomponent* c, const pim::ItemFields& f)
{
    if (!f.ReminderSet) {
        return;
    }
    icalcomponent* alarm = NewAlarm(f);
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-60 * f.ReminderMinutesBeforeStart);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(c, alarm);
}

void AddTaskAlarm(icalcomponent* c, const pim::ItemFields& f)
{
    if (!f.ReminderSet || !IsReminderTimeSet(f.ReminderTime)) {
        return;
    }
    icalcomponent* alarm = NewAlarm(f);
    icaltriggertype trigger{};
    trigger.time = UtcValue(f.ReminderTime);
    trigger.duration = icaldurationtype_null_duration();
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(c, alarm);
}

// Subject, place, memo, categories, class, busy status, times and alarm of an appointment or
// a changed occurrence.
void AddAppointmentFields(icalcomponent* c, const pim::ItemFields& f, DATE start, DATE end,
                          const TimeStyle& style)
{
    AddText(c, icalproperty_new_summary, f.Subject);
    AddText(c, icalproperty_new_location, f.Location);
    AddMemo(c, f.Body);
    AddCategories(c, f.Categories);
    AddClass(c, f.Sensitivity);
    AddBusy(c, f.BusyStatus);
    if (f.AllDayEvent) {
        // Whole days: the end is exclusive, at least the day after the start.
        const int64_t first = DayNumber(start);
        int64_t last = DayNumber(end) + (SecondsOfDay(end) > 0 ? 1 : 0);
        last = std::max(last, first + 1);
        icalcomponent_add_property(c,
                                   TimeProperty(ICAL_DTSTART_PROPERTY, double(first), true, style));
        icalcomponent_add_property(c, TimeProperty(ICAL_DTEND_PROPERTY, double(last), true, style));
    } else {
        icalcomponent_add_property(c, TimeProperty(ICAL_DTSTART_PROPERTY, start, false, style));
        icalcomponent_add_property(
            c, TimeProperty(ICAL_DTEND_PROPERTY, std::max(end, start), false, style));
    }
    AddAppointmentAlarm(c, f);
}

icalcomponent* NewComponent(icalcomponent_kind kind, const std::string& uid, const SYSTEMTIME& now)
{
    icalcomponent* c = icalcomponent_new(kind);
    icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(UtcValue(SystemTimeToVariantTime(now))));
    return c;
}

std::string DayText(int64_t day)
{
    return Utf8(DateToKey(static_cast<DATE>(day), kDayKey));
}

// RRULE with its end: COUNT while the stored count still matches the end day, else UNTIL.
std::string RuleWithEnd(const pim::RecurrenceFields& p, bool wholeDay, const TimeStyle& style)
{
    std::string rule = PatternToRule(p);
    if (p.NoEndDate) {
        return rule;
    }
    if (p.Occurrences > 0 && CountFillsPattern(p, p.Occurrences)) {
        return rule + ";COUNT=" + std::to_string(p.Occurrences);
    }
    const DATE lastStart = std::floor(p.PatternEndDate) + (p.StartTime - std::floor(p.StartTime));
    if (wholeDay) {
        return rule + ";UNTIL=" + DayText(DayNumber(p.PatternEndDate));
    }
    const DATE localLast =
        style.zoneWall ? pim::ZoneToLocal(p.Zone, lastStart).value_or(lastStart) : lastStart;
    const icaltimetype until =
        style.utc || !style.tzid.empty() ? UtcValue(localLast) : WallValue(lastStart, false);
    return rule + ";UNTIL=" + icaltime_as_ical_string(until);
}

class Writer {
public:
    Writer(const pim::StoredItem& item, const TimeStyle& style, const SYSTEMTIME& now,
           std::vector<std::string>& notes)
        : item_(item), f_(item.fields), style_(ItemZoneStyle(item.fields).value_or(style)),
          now_(now), notes_(notes), uid_(ExportUid(item.fields))
    {
    }

    std::vector<icalcomponent*> Appointment();
    std::vector<icalcomponent*> Task();

private:
    bool AddRule(icalcomponent* c, int64_t firstDay, bool wholeDay);
    std::vector<icalcomponent*> Series();
    DATE Out(DATE local) const;
    DATE OriginalStart(const pim::RecurrenceFields& p, DATE originalDay) const;

    const pim::StoredItem& item_;
    const pim::ItemFields& f_;
    const TimeStyle style_;
    const SYSTEMTIME& now_;
    std::vector<std::string>& notes_;
    std::string uid_;
};

bool Writer::AddRule(icalcomponent* c, int64_t firstDay, bool wholeDay)
{
    const pim::RecurrenceFields& p = *item_.pattern;
    const std::string rule = RuleWithEnd(p, wholeDay, style_);
    icalcomponent_add_property(
        c, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.c_str())));
    if (DayNumber(p.PatternStartDate) != firstDay) {
        AddXProperty(c, kSeriesStartProperty, DayText(DayNumber(p.PatternStartDate)));
    }
    return true;
}

// A local time as the item's time: its zone's wall time when it keeps one.
DATE Writer::Out(DATE local) const
{
    return style_.zoneWall ? pim::LocalToZone(f_.Zone, local).value_or(local) : local;
}

// The original start of an exception's occurrence in the pattern's own time.
DATE Writer::OriginalStart(const pim::RecurrenceFields& p, DATE originalDay) const
{
    const DATE planned = std::floor(originalDay) + (p.StartTime - std::floor(p.StartTime));
    if (!style_.zoneWall) {
        return planned;
    }
    const std::optional<DATE> local = OccurrenceStartOnDay(p, DayNumber(originalDay));
    return local ? Out(*local) : planned;
}

std::vector<icalcomponent*> Writer::Series()
{
    // The pattern's days and times are its zone's: the rule is written and its first day found
    // in them.
    pim::RecurrenceFields p = *item_.pattern;
    p.Zone.clear();
    if (PatternToRule(p).empty()) {
        notes_.push_back(uid_ + ": its pattern names no day on which it could occur; left out");
        return {};
    }
    // A series that ends before its first day still travels: its start, excluded.
    const std::optional<int64_t> occurs = FirstOccurrenceDay(p);
    const int64_t first = occurs.value_or(DayNumber(p.PatternStartDate));
    const DATE timeOfDay = p.StartTime - std::floor(p.StartTime);
    const DATE start = static_cast<DATE>(first) + timeOfDay;
    const DATE end = start + std::max(p.Duration, 0) / kMinutesPerDay;
    if (!f_.AllDayEvent && !style_.tzid.empty() && !style_.zoneWall &&
        std::abs(LocalDateOfUtc(icaltime_as_timet(UtcValue(start))) - start) > 1e-6) {
        notes_.push_back(uid_ + ": starts at a time the local zone skips for daylight saving; "
                                "other programs may show its occurrences an hour later");
    }
    icalcomponent* master = NewComponent(ICAL_VEVENT_COMPONENT, uid_, now_);
    AddAppointmentFields(master, f_, start, end, style_);
    AddRule(master, first, f_.AllDayEvent);
    if (!occurs) {
        icalcomponent_add_property(
            master, TimeProperty(ICAL_EXDATE_PROPERTY, start, f_.AllDayEvent, style_));
    }
    std::vector<icalcomponent*> out{master};
    for (const pim::ExceptionFields& e : item_.exceptions) {
        const DATE original = f_.AllDayEvent ? std::floor(e.OriginalDate)
                                             : OriginalStart(*item_.pattern, e.OriginalDate);
        if (e.Deleted) {
            icalcomponent_add_property(
                master, TimeProperty(ICAL_EXDATE_PROPERTY, original, f_.AllDayEvent, style_));
            continue;
        }
        icalcomponent* changed = NewComponent(ICAL_VEVENT_COMPONENT, uid_, now_);
        icalcomponent_add_property(
            changed, TimeProperty(ICAL_RECURRENCEID_PROPERTY, original, f_.AllDayEvent, style_));
        AddAppointmentFields(changed, e.occurrence, Out(e.occurrence.Start), Out(e.occurrence.End),
                             style_);
        out.push_back(changed);
    }
    return out;
}

std::vector<icalcomponent*> Writer::Appointment()
{
    if (item_.pattern) {
        return Series();
    }
    icalcomponent* c = NewComponent(ICAL_VEVENT_COMPONENT, uid_, now_);
    AddAppointmentFields(c, f_, Out(f_.Start), Out(f_.End), style_);
    return {c};
}

std::vector<icalcomponent*> Writer::Task()
{
    icalcomponent* c = NewComponent(ICAL_VTODO_COMPONENT, uid_, now_);
    AddText(c, icalproperty_new_summary, f_.Subject);
    AddMemo(c, f_.Body);
    AddCategories(c, f_.Categories);
    AddClass(c, f_.Sensitivity);
    static const int kPriorities[] = {9, 5, 1};
    icalcomponent_add_property(
        c, icalproperty_new_priority(
               kPriorities[f_.Importance >= 0 && f_.Importance <= 2 ? f_.Importance : 1]));
    const auto addDate = [&](icalproperty_kind kind, DATE date) {
        if (IsTaskDate(date)) {
            icalcomponent_add_property(c,
                                       TimeProperty(kind, date, SecondsOfDay(date) == 0, style_));
        }
    };
    addDate(ICAL_DTSTART_PROPERTY, f_.StartDate);
    addDate(ICAL_DUE_PROPERTY, f_.DueDate);
    icalcomponent_add_property(
        c, icalproperty_new_status(f_.Complete ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
    if (f_.Complete && IsTaskDate(f_.DateCompleted)) {
        icalcomponent_add_property(c, icalproperty_new_completed(UtcValue(f_.DateCompleted)));
    }
    AddTaskAlarm(c, f_);
    if (item_.pattern) {
        const DATE start = IsTaskDate(f_.StartDate) ? f_.StartDate : f_.DueDate;
        if (!IsTaskDate(start) || PatternToRule(*item_.pattern).empty()) {
            notes_.push_back(uid_ + ": a recurring task without dates or days, written once");
        } else {
            AddRule(c, DayNumber(start), SecondsOfDay(start) == 0);
        }
    }
    return {c};
}

} // namespace

std::optional<TimeStyle> ItemZoneStyle(const pim::ItemFields& fields)
{
    if (fields.Zone.empty() || !pim::IsKnownZone(fields.Zone)) {
        return std::nullopt;
    }
    TimeStyle style;
    style.utc = fields.Zone == L"UTC";
    style.tzid = style.utc ? std::string() : Utf8(fields.Zone);
    style.zoneWall = true;
    return style;
}

std::string ExportUid(const pim::ItemFields& fields)
{
    return fields.UID.empty() ? "tamberlo-oid-" + std::to_string(fields.Oid) : Utf8(fields.UID);
}

std::vector<icalcomponent*> WriteItemComponents(const pim::StoredItem& item, const TimeStyle& style,
                                                const SYSTEMTIME& now,
                                                std::vector<std::string>& notes)
{
    Writer writer(item, style, now, notes);
    return item.kind == pim::kTaskKind ? writer.Task() : writer.Appointment();
}

std::string ComponentText(icalcomponent* component)
{
    char* text = icalcomponent_as_ical_string_r(component);
    std::string out = text;
    free(text);
    size_t at = 0;
    while ((at = out.find(kCategoryComma, at)) != std::string::npos) {
        out.replace(at, 1, "\\,");
        at += 2;
    }
    // libical's own folding can break a line in two (a value of 73 octets after its name
    // ends in a bare CR), so every line is folded again.
    return Refolded(out);
}

} // namespace ical
