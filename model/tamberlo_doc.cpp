// Filling the document's window: tasks, appointments with their occurrences and exceptions,
// then the holiday rows, each split into per-day entries in the order the view draws them.
#include "model/tamberlo_doc.h"

#include <algorithm>
#include <map>
#include <utility>

#include "model/date_time.h"
#include "model/document_settings.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/pim/exceptions.h"
#include "platform/pim/kept_meeting.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/wait_cursor.h"
#include "res/string_table.h"

namespace {

constexpr int16_t kMidnight = 0;
constexpr int16_t kEndOfDay = 2400;
// A task's span in minutes for the occurrence test: whole days from start to due, plus one.
constexpr int32_t kMinutesPerDay = 1440;

// Hour x 100 + minute of a date's time of day, as the tables write times.
int16_t ClockDigits(DATE date)
{
    const int32_t minutes = SecondsOfDay(date) / 60;
    return static_cast<int16_t>(minutes / 60 * 100 + minutes % 60);
}

int16_t EndOfOccurrence(int16_t endTime)
{
    return endTime == kMidnight ? kEndOfDay : endTime;
}

int32_t DayKey(DATE date)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(date);
    return (st.wYear * 100 + st.wMonth) * 100 + st.wDay;
}

// A changed occurrence that kept no component of its own is a meeting as its series is.
std::shared_ptr<const EntryTexts> TextsOf(const pim::AppointmentItem& item,
                                          const std::wstring& categories,
                                          const std::string& seriesMeeting = {})
{
    std::string kept = item.GetKept();
    std::string meeting = kept.empty()               ? seriesMeeting
                          : pim::KeptIsMeeting(kept) ? std::move(kept)
                                                     : std::string();
    return std::make_shared<const EntryTexts>(
        EntryTexts{item.GetSubject(), categories, item.GetLocation(), std::move(meeting)});
}

// The days after its first that an occurrence of the pattern covers, by the occurrence test's
// own rule: an end at midnight does not reach into that day.
int OccurrenceSpan(const pim::RecurrenceFields& fields)
{
    // A zoned occurrence may reach one local day further than its zone's time of day says.
    return DaysSpanned(fields.StartTime, std::max(fields.Duration, 0), true) +
           (fields.Zone.empty() ? 0 : 1);
}

// The start day of the occurrence the occurrence test reports on a middle or last day: the
// latest start within the span before it, as the test itself picks it.
int64_t StartOfRunningOccurrence(const pim::RecurrenceFields& fields, int64_t day)
{
    const int span = OccurrenceSpan(fields);
    for (int j = 1; j <= span; ++j) {
        const int r = OccurrenceOnDayNumber(fields, day - j, -1);
        if (r == kOneDayStarts || r == kLongerStarts) {
            return day - j;
        }
    }
    return day;
}

} // namespace

CTamberloDoc::CTamberloDoc(PimSession& session, DocumentSettings& settings,
                           MessageService* messages)
    : session_(session), settings_(settings), messages_(messages)
{
    startOffsetDays_ = -settings_.DaysBeforeToday();
    shownStart_ = AddDays(GetLocalTime(), startOffsetDays_);
    const int startDow = settings_.FirstWeekday();
    if (startDow >= 0 && startDow < 7) {
        const int w = shownStart_.wDayOfWeek;
        shownStart_ = AddDays(shownStart_, w < startDow ? startDow - w - 7 : startDow - w);
    }
    Reload();
}

void CTamberloDoc::Reload()
{
    const WaitCursor busy;
    for (DaySlot& slot : slots_) {
        slot.appointments.clear();
        slot.tasks.clear();
    }
    loadStart_ = AddDays(shownStart_, -kDaysBefore);
    loadStartDay_ = DayNumber(loadStart_);
    serialCounter_ = 0;
    LoadStore();
    AddHolidays();
    shownOffset_ = DaysBetween(loadStart_, shownStart_);
}

void CTamberloDoc::LoadStore()
{
    // Only what can touch the window is read, so a load costs the same over a decade of items.
    const auto windowStart = static_cast<DATE>(loadStartDay_);
    const bool connected =
        session_.Connect(pim::DayRange{windowStart, windowStart + kSlotCount}) >= 0;
    loadedStore_ = session_.StoreIdentity();
    if (!connected) {
        // One warning per failure: a store that stays unreadable is not reported at every reload.
        if (!storeFailureReported_) {
            Warn(session_.ConnectError());
        }
        storeFailureReported_ = true;
        calendars_.clear();
        session_.Disconnect();
        return;
    }
    storeFailureReported_ = false;
    // A read-only store still shows; saying so once is enough.
    if (!session_.ConnectError().empty() && !readOnlyReported_) {
        readOnlyReported_ = true;
        Warn(session_.ConnectError());
    }
    LoadCalendars();
    for (int32_t n = 1;; ++n) {
        const TaskItem task = session_.FetchTask(n);
        if (!task) {
            break;
        }
        AddTask(*task, n);
        session_.ReleaseTask();
    }
    serialCounter_ = 0;
    for (int32_t n = 1;; ++n) {
        const AppointItem appointment = session_.FetchAppointment(n);
        if (!appointment) {
            break;
        }
        AddAppointment(*appointment, n);
        session_.ReleaseAppointment();
    }
    session_.Disconnect();
}

void CTamberloDoc::Warn(const std::wstring& text)
{
    if (messages_ != nullptr) {
        messages_->MessageBox(text, res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }
}

int CTamberloDoc::SlotOf(DATE date) const
{
    const int64_t slot = DayNumber(date) - loadStartDay_;
    // Far-off dates only need to compare as outside the window.
    return static_cast<int>(std::clamp<int64_t>(slot, -1'000'000, 1'000'000));
}

void CTamberloDoc::AddTask(pim::TaskItem& task, int32_t storePosition)
{
    if (!calendarChoice_.Holds(calendars_, task.Stored().calendar)) {
        return;
    }
    TaskEntry base;
    base.calendar = task.Stored().calendar;
    base.oid = task.GetOid();
    base.storeIndex = storePosition;
    base.texts = std::make_shared<const EntryTexts>(
        EntryTexts{task.GetSubject(), task.GetCategories(), {}, {}});
    base.complete = task.GetComplete();
    base.recurring = task.GetIsRecurring();
    const DATE startDate = task.GetStartDate();
    const DATE dueDate = task.GetDueDate();
    const bool hasStart = IsTaskDate(startDate);
    base.hasDue = IsTaskDate(dueDate);
    base.dueKey = base.hasDue ? DayKey(dueDate) : 0;

    if (base.recurring) {
        std::shared_ptr<pim::RecurrencePattern> pattern;
        if (task.GetRecurrencePattern(&pattern) < 0 || !pattern) {
            return;
        }
        // Without both dates the task counts as one day long, so a missing date cannot make
        // the occurrence test scan centuries.
        const int64_t days =
            hasStart && base.hasDue
                ? std::clamp<int64_t>(DayNumber(dueDate) - DayNumber(startDate), 0, kSlotCount)
                : 0;
        const auto minutes = static_cast<int32_t>(days * kMinutesPerDay + 1);
        TaskEntry entry = base;
        entry.complete = false;
        entry.hasDue = true;
        for (int k = 0; k < kSlotCount; ++k) {
            if (OccurrenceOnDayNumber(pattern->Fields(), loadStartDay_ + k, minutes) != 0) {
                AddTaskEntry(k, entry);
            }
        }
        return;
    }
    const int s = hasStart ? SlotOf(startDate) : -1;
    const int e = base.hasDue ? SlotOf(dueDate) : 99999;
    if (s >= kSlotCount || e < 0) {
        return;
    }
    AddTaskSpan(base, std::max(s, 0), std::min(e, kSlotCount - 1), s >= 0, e < kSlotCount);
}

void CTamberloDoc::AddTaskSpan(const TaskEntry& base, int first, int last, bool startsFlag,
                               bool dueFlag)
{
    auto entryWith = [&base](bool startsHere, bool middle, bool dueHere) {
        TaskEntry entry = base;
        entry.startsHere = startsHere;
        entry.middle = middle;
        entry.dueHere = dueHere;
        return entry;
    };
    // A window edge is not the task's start or due day, even when it is the only day shown.
    if (first == last) {
        AddTaskEntry(first, entryWith(startsFlag, false, dueFlag));
        return;
    }
    AddTaskEntry(first, entryWith(startsFlag, false, false));
    AddTaskEntry(last, entryWith(false, false, dueFlag));
    for (int d = first + 1; d < last; ++d) {
        AddTaskEntry(d, entryWith(false, true, false));
    }
}

void CTamberloDoc::AddAppointment(pim::AppointmentItem& appointment, int32_t storePosition)
{
    if (!calendarChoice_.Holds(calendars_, appointment.Stored().calendar)) {
        return;
    }
    const std::wstring categories = appointment.GetCategories();
    AppointmentEntry base;
    base.calendar = appointment.Stored().calendar;
    base.oid = appointment.GetOid();
    base.storeIndex = storePosition;
    base.allDay = appointment.GetAllDayEvent();
    base.busy = static_cast<int8_t>(appointment.GetBusyStatus());
    base.dayKind =
        static_cast<int8_t>(base.allDay ? settings_.CategoryKind(categories) : kOrdinaryKind);
    base.texts = TextsOf(appointment, categories);
    const bool pinned = base.dayKind == kRestdayKind || base.dayKind == kMemorialKind;

    // Like a changed occurrence, an item takes a serial only when the window shows it, so the
    // tables do not depend on the items outside the window.
    if (!appointment.GetIsRecurring()) {
        base.serial = serialCounter_ + 1;
        base.state = kSingleState;
        if (PlaceSpan(base, appointment.GetStart(), appointment.GetEnd(), pinned)) {
            ++serialCounter_;
        }
        return;
    }
    AddRecurringAppointment(appointment, base, pinned);
}

bool CTamberloDoc::PlaceSpan(AppointmentEntry entry, DATE start, DATE end, bool pinned)
{
    const int s = SlotOf(start);
    const int e = SlotOf(end);
    if (s >= kSlotCount || e < 0) {
        return false;
    }
    const int16_t startDigits = ClockDigits(start);
    const int16_t endDigits = ClockDigits(end);
    const int first = std::max(s, 0);
    const int last = std::min(e, kSlotCount - 1);
    bool placed = false;
    for (int d = first; d <= last; ++d) {
        // An end at midnight does not reach into its day, unless the item starts there too.
        if (d == e && e > s && endDigits == kMidnight) {
            continue;
        }
        placed = true;
        entry.start = !entry.allDay && d == s ? startDigits : kMidnight;
        entry.end = !entry.allDay && d == e ? endDigits : kEndOfDay;
        AddAppointmentEntry(d, pinned ? 0 : InsertPosition(d, entry.start), entry);
    }
    return placed;
}

void CTamberloDoc::AddRecurringAppointment(pim::AppointmentItem& appointment,
                                           const AppointmentEntry& base, bool pinned)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    if (appointment.GetRecurrencePattern(&pattern) < 0 || !pattern) {
        return;
    }
    const PlannedStarts planned = AddChangedOccurrences(*pattern, base, pinned);
    const pim::RecurrenceFields& fields = pattern->Fields();
    // A pattern that ends before the window (the tail of its last occurrence aside) or starts
    // after it has nothing to show; skipping it saves the day-by-day test.
    const int64_t lastDay = loadStartDay_ + kSlotCount - 1;
    if (DayNumber(fields.PatternStartDate) <= lastDay &&
        (fields.NoEndDate ||
         DayNumber(fields.PatternEndDate) + OccurrenceSpan(fields) >= loadStartDay_)) {
        AddOccurrences(fields, base, pinned, planned);
    }
}

CTamberloDoc::PlannedStarts CTamberloDoc::AddChangedOccurrences(pim::RecurrencePattern& pattern,
                                                                const AppointmentEntry& base,
                                                                bool pinned)
{
    PlannedStarts planned;
    std::shared_ptr<pim::Exceptions> exceptions;
    if (pattern.GetExceptions(&exceptions) < 0 || !exceptions) {
        return planned;
    }
    for (int32_t k = 1; k <= exceptions->Count(); ++k) {
        std::shared_ptr<pim::Exception> exception;
        if (exceptions->Item(k, &exception) < 0 || !exception) {
            continue;
        }
        planned.emplace(DayNumber(exception->GetOriginalDate()),
                        PlannedOccurrence{k, exception->GetDeleted()});
        std::shared_ptr<pim::AppointmentItem> changed;
        if (exception->GetDeleted() || exception->GetAppointmentItem(&changed) < 0 || !changed) {
            continue;
        }
        // Each changed occurrence is a span of its own, apart from its neighbours; only those
        // the window shows use up a serial.
        AppointmentEntry entry = base;
        entry.serial = serialCounter_ + 1;
        entry.exceptionNo = k;
        entry.state = kChangedState;
        entry.allDay = changed->GetAllDayEvent();
        entry.busy = static_cast<int8_t>(changed->GetBusyStatus());
        entry.texts = TextsOf(*changed, base.texts->categories, base.texts->meeting);
        if (PlaceSpan(entry, changed->GetStart(), changed->GetEnd(), pinned)) {
            ++serialCounter_;
        }
    }
    return planned;
}

// An occurrence's entries take the state of the exception for the day it started on, so an
// exception marks exactly the days its own occurrence shows on and never the next occurrence.
void CTamberloDoc::AddOccurrences(const pim::RecurrenceFields& fields, const AppointmentEntry& base,
                                  bool pinned, const PlannedStarts& planned)
{
    int16_t startTime = ClockDigits(fields.StartTime);
    int16_t endTime = ClockDigits(fields.EndTime);
    AppointmentEntry entry = base;
    bool running = false;
    int64_t occurrenceStart = 0;
    for (int k = 0; k < kSlotCount; ++k) {
        const int64_t day = loadStartDay_ + k;
        const int r = OccurrenceOnDayNumber(fields, day, -1);
        if (r == kNoOccurrence) {
            running = false;
            continue;
        }
        const bool starts = r == kOneDayStarts || r == kLongerStarts;
        // A new occurrence starts here, or one that started before the window runs on.
        if (starts || !running) {
            ++serialCounter_;
            occurrenceStart = starts ? day : StartOfRunningOccurrence(fields, day);
            // A zoned series keeps its zone's time of day, so each occurrence has its own
            // local one.
            const std::optional<DATE> at =
                fields.Zone.empty() ? std::nullopt : OccurrenceStartOnDay(fields, occurrenceStart);
            if (at) {
                startTime = ClockDigits(*at);
                endTime = ClockDigits(*at + fields.Duration / 1440.0);
            }
        }
        running = true;
        entry.serial = serialCounter_;
        const auto exception = planned.find(occurrenceStart);
        if (exception == planned.end()) {
            entry.state = kOccurrenceState;
            entry.exceptionNo = 0;
        } else {
            entry.state = exception->second.deleted ? kDeletedState : kPlannedDayState;
            entry.exceptionNo = exception->second.number;
        }
        if (base.allDay) {
            entry.start = kMidnight;
            entry.end = kEndOfDay;
        } else {
            const bool ends = r == kOneDayStarts || r == kLastDay;
            entry.start = starts ? startTime : kMidnight;
            entry.end = ends ? EndOfOccurrence(endTime) : kEndOfDay;
        }
        AddAppointmentEntry(k, base.allDay && pinned ? 0 : InsertPosition(k, entry.start), entry);
    }
}

// Every rule gets the next serial, shared by all its rows, whether or not it adds any.
void CTamberloDoc::AddHolidays()
{
    std::vector<int> firstKinds(kSlotCount);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        firstKinds[slot] = FirstEntryKind(slot);
    }
    const std::wstring category = settings_.HolidayCategory();
    const int32_t serialBase = serialCounter_;
    for (const HolidayEntry& holiday : settings_.HolidayRows(loadStart_, firstKinds)) {
        AppointmentEntry row;
        row.serial = serialBase + holiday.rule + 1;
        row.storeIndex = kHolidayStoreIndex;
        row.texts = std::make_shared<const EntryTexts>(EntryTexts{holiday.name, category, {}, {}});
        row.allDay = true;
        row.dayKind = static_cast<int8_t>(holiday.kind);
        if (holiday.overwrite) {
            ReplaceAppointmentEntry(holiday.day, 0, row);
        } else {
            AddAppointmentEntry(holiday.day, 0, row);
        }
    }
    serialCounter_ = serialBase + settings_.HolidayRuleCount();
}
