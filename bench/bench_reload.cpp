// The 120-day load from stores of 1,000 to 200,000 appointments (a fifth recurring, some with
// changed, moved or deleted occurrences; past 10,000 they span more years, as a long-kept
// calendar does) and 2,000 tasks, beside the same calendar written as
// iCalendar text, parsed and expanded over the same window by libical, for a sense of scale.
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libical/ical.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/pim/application.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/recurrence_pattern.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"

namespace {

constexpr int kTaskCount = 2000;
constexpr uint32_t kSeed = 1;
constexpr double kMinute = 1.0 / 1440.0;
constexpr time_t kSecondsPerDay = 86400;
constexpr double kLastSecondOfDay = 1.0 - 1.0 / 86400.0;

SYSTEMTIME Today()
{
    return MakeSystemTime(2026, 12, 7, 9, 0);
}

// One generated store per appointment count, built at first use and kept for the whole run.
struct DemoStore {
    QTemporaryDir dir;
    std::string path;
    std::string calendarText; // written at first use by the libical benchmark
    bool ready = false;
};

DemoStore& StoreWith(int appointmentCount)
{
    static std::map<int, std::unique_ptr<DemoStore>> stores;
    std::unique_ptr<DemoStore>& store = stores[appointmentCount];
    if (!store) {
        store = std::make_unique<DemoStore>();
        store->path = store->dir.filePath(QStringLiteral("bench.sqlite3")).toStdString();
        store->ready = pim::WriteDemoStore(store->path, OccurrenceOnDay, Today(), appointmentCount,
                                           kTaskCount, kSeed) >= 0;
    }
    return *store;
}

// Every appointment and task entry of the window, the days before the shown period included.
int64_t EntriesLoaded(const CTamberloDoc& doc)
{
    int64_t entries = 0;
    for (int row = -doc.ShownOffset(); row < CTamberloDoc::kSlotCount - doc.ShownOffset(); ++row) {
        entries += doc.ApptCount(row) + doc.TaskCount(row);
    }
    return entries;
}

void BM_Reload(benchmark::State& state)
{
    const DemoStore& store = StoreWith(static_cast<int>(state.range(0)));
    if (!store.ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    const FixedClock clock(Today());
    const ScopedClock fixedNow(clock);
    AppSettings settings;
    AppSettingsDocument documentSettings(settings);
    PimSession session(store.path, OccurrenceOnDay);
    CTamberloDoc doc(session, documentSettings);
    for (auto _ : state) {
        doc.Reload();
    }
    state.counters["entries"] = static_cast<double>(EntriesLoaded(doc));
}
// Read the CPU column (thread CPU time): the load's own cost, whatever else the machine runs.
BENCHMARK(BM_Reload)->Arg(1000)->Arg(10000)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

std::string Utf8(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

// A TEXT value: backslash, semicolon and comma escaped, line breaks as "\n".
std::string EscapedText(const std::wstring& text)
{
    std::string escaped;
    for (const char c : Utf8(text)) {
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            escaped += "\\n";
            continue;
        }
        if (c == '\\' || c == ';' || c == ',') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

// Floating local time ("20261207T093000"), or the day alone for all-day items.
std::string TimeValue(DATE date, bool allDay)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(date);
    char text[40]; // room for any field values, so no format can be cut
    if (allDay) {
        std::snprintf(text, sizeof text, "%.4d%.2d%.2d", st.wYear, st.wMonth, st.wDay);
    } else {
        std::snprintf(text, sizeof text, "%.4d%.2d%.2dT%.2d%.2d%.2d", st.wYear, st.wMonth, st.wDay,
                      st.wHour, st.wMinute, st.wSecond);
    }
    return text;
}

std::string TimeProperty(const char* name, DATE date, bool allDay)
{
    return std::string(name) + (allDay ? ";VALUE=DATE:" : ":") + TimeValue(date, allDay) + "\r\n";
}

std::string WeekdayList(int mask)
{
    static const char* const codes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    std::string list;
    for (int weekday = 0; weekday < 7; ++weekday) {
        if (IsWeekdayInMask(weekday, mask)) {
            list += (list.empty() ? "" : ",") + std::string(codes[weekday]);
        }
    }
    return list;
}

// The nth weekday of the month types, the fifth instance being the last.
std::string NthWeekday(const pim::RecurrenceFields& pattern)
{
    const int instance = pattern.Instance == 5 ? -1 : pattern.Instance;
    const int weekday = std::max(WeekdayFromMask(pattern.DayOfWeekMask), 0);
    return ";BYDAY=" + std::to_string(instance) + WeekdayList(1 << weekday);
}

// The store lowers a day of month to a short month's last day, where BYMONTHDAY alone would
// skip the month: days from the 29th take the latest of the 28th up to the day.
std::string MonthDay(int day)
{
    if (day < 29) {
        return ";BYMONTHDAY=" + std::to_string(day);
    }
    std::string days = "28";
    for (int d = 29; d <= day; ++d) {
        days += "," + std::to_string(d);
    }
    return ";BYMONTHDAY=" + days + ";BYSETPOS=-1";
}

std::string Frequency(const pim::RecurrenceFields& pattern)
{
    const std::string interval = ";INTERVAL=" + std::to_string(std::max(pattern.Interval, 1));
    const std::string month = ";BYMONTH=" + std::to_string(pattern.MonthOfYear);
    switch (pattern.RecurrenceType) {
    case kRecursDaily:
        // The store's daily type with interval 1 may keep to the weekdays of its mask.
        return pattern.Interval < 2 && pattern.DayOfWeekMask != 0
                   ? "FREQ=DAILY;BYDAY=" + WeekdayList(pattern.DayOfWeekMask)
                   : "FREQ=DAILY" + interval;
    case kRecursWeekly:
        return "FREQ=WEEKLY;WKST=SU" + interval + ";BYDAY=" + WeekdayList(pattern.DayOfWeekMask);
    case kRecursMonthly:
        return "FREQ=MONTHLY" + interval + MonthDay(pattern.DayOfMonth);
    case kRecursMonthNth:
        return "FREQ=MONTHLY" + interval + NthWeekday(pattern);
    case kRecursYearly:
        return "FREQ=YEARLY" + month + MonthDay(pattern.DayOfMonth);
    default:
        return "FREQ=YEARLY" + month + NthWeekday(pattern);
    }
}

std::string RecurrenceRule(const pim::RecurrenceFields& pattern, bool allDay)
{
    std::string rule = "RRULE:" + Frequency(pattern);
    if (!pattern.NoEndDate && pattern.Occurrences > 0) {
        rule += ";COUNT=" + std::to_string(pattern.Occurrences);
    } else if (!pattern.NoEndDate) {
        // The end date is the last day a series may start on, to its last second.
        const DATE until = std::floor(pattern.PatternEndDate) + kLastSecondOfDay;
        rule += ";UNTIL=" + TimeValue(until, allDay);
    }
    return rule + "\r\n";
}

std::string EventHead(const pim::AppointmentItem& item, const std::wstring& subject)
{
    return "BEGIN:VEVENT\r\nUID:" + std::to_string(item.GetOid()) +
           "@tamberlo\r\nDTSTAMP:20261207T090000Z\r\nSUMMARY:" + EscapedText(subject) + "\r\n";
}

std::string SingleEvent(const pim::AppointmentItem& item)
{
    const bool allDay = item.GetAllDayEvent();
    return EventHead(item, item.GetSubject()) + TimeProperty("DTSTART", item.GetStart(), allDay) +
           TimeProperty("DTEND", item.GetEnd(), allDay) + "END:VEVENT\r\n";
}

// The series, its deleted occurrences as EXDATE, then one RECURRENCE-ID event per changed one.
std::string SeriesEvents(pim::AppointmentItem& item)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    std::shared_ptr<pim::Exceptions> exceptions;
    if (item.GetRecurrencePattern(&pattern) < 0 || pattern->GetExceptions(&exceptions) < 0) {
        return {};
    }
    const pim::RecurrenceFields& fields = pattern->Fields();
    const bool allDay = item.GetAllDayEvent();
    const double timeOfDay = fields.StartTime - std::floor(fields.StartTime);
    const DATE start = std::floor(fields.PatternStartDate) + timeOfDay;
    std::string master = EventHead(item, item.GetSubject()) +
                         TimeProperty("DTSTART", start, allDay) +
                         TimeProperty("DTEND", start + fields.Duration * kMinute, allDay) +
                         RecurrenceRule(fields, allDay);
    std::string changed;
    for (int32_t k = 1; k <= exceptions->Count(); ++k) {
        std::shared_ptr<pim::Exception> exception;
        std::shared_ptr<pim::AppointmentItem> occurrence;
        if (exceptions->Item(k, &exception) < 0) {
            continue;
        }
        const DATE planned = std::floor(exception->GetOriginalDate()) + timeOfDay;
        if (exception->GetDeleted()) {
            master += TimeProperty("EXDATE", planned, allDay);
        } else if (exception->GetAppointmentItem(&occurrence) >= 0) {
            changed += EventHead(item, occurrence->GetSubject()) +
                       TimeProperty("RECURRENCE-ID", planned, allDay) +
                       TimeProperty("DTSTART", occurrence->GetStart(), allDay) +
                       TimeProperty("DTEND", occurrence->GetEnd(), allDay) + "END:VEVENT\r\n";
        }
    }
    return master + "END:VEVENT\r\n" + changed;
}

// The store's appointments as one VCALENDAR, read through the collection as a load reads them.
std::string CalendarText(const std::string& storePath)
{
    pim::Application app;
    std::shared_ptr<pim::Folder> calendar;
    std::shared_ptr<pim::Items> items;
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tamberlo//bench//EN\r\n";
    if (app.Logon(storePath, OccurrenceOnDay) >= 0 &&
        app.GetDefaultFolder(pim::kCalendarFolder, &calendar) >= 0 &&
        calendar->GetItems(&items) >= 0) {
        for (int32_t n = 1; n <= items->Count(); ++n) {
            std::shared_ptr<pim::AppointmentItem> item;
            if (items->Item(n, &item) >= 0) {
                text += item->GetIsRecurring() ? SeriesEvents(*item) : SingleEvent(*item);
            }
        }
    }
    return text + "END:VCALENDAR\r\n";
}

// Seconds of a date or floating time, read as UTC: enough to compare and measure lengths.
time_t Seconds(const icaltimetype& time)
{
    return icaltime_as_timet(time);
}

struct Window {
    time_t start;
    time_t end;
    bool Overlaps(time_t from, time_t to) const { return from < end && to > start; }
};

Window WindowOf(const SYSTEMTIME& loadStart)
{
    icaltimetype first = icaltime_null_date();
    first.year = loadStart.wYear;
    first.month = loadStart.wMonth;
    first.day = loadStart.wDay;
    const time_t start = Seconds(first);
    return {start, start + CTamberloDoc::kSlotCount * kSecondsPerDay};
}

std::string UidOf(icalcomponent* event)
{
    const char* uid = icalcomponent_get_uid(event);
    return uid != nullptr ? uid : "";
}

bool IsOverride(icalcomponent* event)
{
    return icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
}

// The starts a series must skip: its EXDATEs and the RECURRENCE-IDs of its changed occurrences.
std::vector<time_t> SkippedStarts(icalcomponent* event, std::vector<time_t> overridden)
{
    for (icalproperty* exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
         exdate != nullptr; exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        overridden.push_back(Seconds(icalproperty_get_exdate(exdate)));
    }
    return overridden;
}

int64_t SeriesInstances(icalcomponent* event, const icalproperty* rule, const Window& window,
                        const std::vector<time_t>& skipped)
{
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const time_t length = Seconds(icalcomponent_get_dtend(event)) - Seconds(start);
    icalrecur_iterator* iterator = icalrecur_iterator_new(icalproperty_get_rrule(rule), start);
    if (iterator == nullptr) {
        return 0;
    }
    int64_t instances = 0;
    for (icaltimetype next = icalrecur_iterator_next(iterator); icaltime_is_null_time(next) == 0;
         next = icalrecur_iterator_next(iterator)) {
        const time_t from = Seconds(next);
        if (from >= window.end) {
            break;
        }
        if (window.Overlaps(from, from + length) &&
            std::find(skipped.begin(), skipped.end(), from) == skipped.end()) {
            ++instances;
        }
    }
    icalrecur_iterator_free(iterator);
    return instances;
}

int64_t SingleInstance(icalcomponent* event, const Window& window)
{
    return window.Overlaps(Seconds(icalcomponent_get_dtstart(event)),
                           Seconds(icalcomponent_get_dtend(event)))
               ? 1
               : 0;
}

// Instances touching the window: changed occurrences first (their series must skip them), then
// every series expanded and every single event tested.
int64_t ExpandCalendar(icalcomponent* calendar, const Window& window)
{
    std::unordered_map<std::string, std::vector<time_t>> overridden;
    int64_t instances = 0;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        if (IsOverride(event)) {
            overridden[UidOf(event)].push_back(Seconds(icalcomponent_get_recurrenceid(event)));
            instances += SingleInstance(event, window);
        }
    }
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event != nullptr;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (IsOverride(event)) {
            continue;
        }
        if (rule == nullptr) {
            instances += SingleInstance(event, window);
            continue;
        }
        const auto found = overridden.find(UidOf(event));
        instances +=
            SeriesInstances(event, rule, window,
                            SkippedStarts(event, found == overridden.end() ? std::vector<time_t>{}
                                                                           : found->second));
    }
    return instances;
}

void BM_LibicalExpand(benchmark::State& state)
{
    DemoStore& store = StoreWith(static_cast<int>(state.range(0)));
    if (!store.ready) {
        state.SkipWithError("cannot build the demo store");
        return;
    }
    if (store.calendarText.empty()) {
        store.calendarText = CalendarText(store.path);
    }
    const FixedClock clock(Today());
    const ScopedClock fixedNow(clock);
    AppSettings settings;
    AppSettingsDocument documentSettings(settings);
    PimSession session(store.path, OccurrenceOnDay);
    const Window window = WindowOf(CTamberloDoc(session, documentSettings).LoadStart());
    int64_t instances = 0;
    for (auto _ : state) {
        icalcomponent* calendar = icalparser_parse_string(store.calendarText.c_str());
        if (calendar == nullptr) {
            state.SkipWithError("libical cannot parse the calendar");
            break;
        }
        instances = ExpandCalendar(calendar, window);
        icalcomponent_free(calendar);
    }
    state.counters["instances"] = static_cast<double>(instances);
    state.counters["bytes"] = static_cast<double>(store.calendarText.size());
}
BENCHMARK(BM_LibicalExpand)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
