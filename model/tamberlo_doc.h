// The schedule document: a window of 120 consecutive days around the shown period, each holding
// the appointment entries (items, occurrences, holidays) and task entries that touch it, split
// per day, sorted and flagged, so the view draws any day by reading a few fields. Filled from
// the store at every Reload; read and pruned entry by entry through the accessors below.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/calendar_choice.h"
#include "model/day_entry.h"
#include "model/pim_records.h"
#include "platform/pim/store_database.h"
#include "platform/systemtime.h"

class DocumentSettings;
class MessageService;
class PimSession;

class CTamberloDoc {
public:
    static constexpr int kSlotCount = 120;
    static constexpr int kDaysBefore = 33;
    // The most days the view shows at once: the window's days from the first shown day up to
    // the last one on which the holiday rules still compute substitute days.
    static constexpr int kMaxShownDayCount = 66;
    // A slot with this many appointment entries or more reads as an ordinary day.
    static constexpr int kDayKindEntryLimit = 100;

    // A row and an entry position within it, as the span finders answer.
    struct EntryRef {
        int row;
        int position;
    };

    // Places the first shown day from today and the settings, then loads. `messages` (may be
    // null) hears of a store that cannot be opened or read at every load (the window is then
    // empty but usable), and once of a store that is read-only.
    CTamberloDoc(PimSession& session, DocumentSettings& settings,
                 MessageService* messages = nullptr);

    // Empties every day and fills the window again from the store and the holiday rules, the
    // first shown day at slot kDaysBefore.
    void Reload();
    // Moves the shown period; false when it leaves the window and the caller must Reload.
    bool SetShownStart(const SYSTEMTIME& day);
    const SYSTEMTIME& GetShownStart() const { return shownStart_; }
    void SetShownDayCount(int count) { shownDayCount_ = count; }
    int GetShownDayCount() const { return shownDayCount_; }
    int GetSerialCounter() const { return serialCounter_; }
    const SYSTEMTIME& LoadStart() const { return loadStart_; }
    int ShownOffset() const { return shownOffset_; }
    PimSession& Session() { return session_; }
    // The store the tables were last loaded from; empty when none could be opened.
    const pim::StoreDatabase::Identity& LoadedStore() const { return loadedStore_; }

    // The store's calendars as the last load read them, in their order; empty for a store
    // older than calendars.
    const std::vector<pim::Calendar>& Calendars() const { return calendars_; }
    // Whose items the loads enter (default: the shown calendars'); the next Reload applies it.
    void SetCalendarChoice(CalendarChoice choice) { calendarChoice_ = std::move(choice); }
    // The colour an entry's calendar marks it with; none while the store has one calendar
    // (its colour would tell nothing apart), for a holiday row and for an unknown calendar.
    std::optional<uint32_t> CalendarColour(int32_t calendar) const;
    // The calendar name of an entry's item; empty for a holiday row or an unknown calendar.
    std::wstring CalendarName(int32_t calendar) const;

    // Enter one store item's entries (unless the calendar choice leaves its calendar out);
    // storePosition 0 for an item re-added after an edit.
    void AddTask(pim::TaskItem& task, int32_t storePosition);
    void AddAppointment(pim::AppointmentItem& appointment, int32_t storePosition);

    // Slot-addressed table edits; slots outside the window are ignored.
    void AddAppointmentEntry(int slot, int position, AppointmentEntry entry);
    void ReplaceAppointmentEntry(int slot, int position, AppointmentEntry entry);
    void AddTaskEntry(int slot, TaskEntry entry);
    // The first position whose start (hour x 100 + minute) is later than `start`: equal starts
    // go after the entries already there.
    int InsertPosition(int slot, int start) const;

    // Appointment entries by row (0 = first shown day; negative rows reach the days before)
    // and position. Outside the window or past the day's entries they give the guard values.
    int ApptCount(int row) const;
    std::wstring ApptOid(int row, int pos) const;
    std::wstring ApptSerial(int row, int pos) const;
    int ApptStoreIndex(int row, int pos) const;
    int ApptExceptionNo(int row, int pos) const;
    // With a negative position: the whole day's texts, each element ended by U+001F.
    std::wstring ApptSubject(int row, int pos) const;
    std::wstring ApptCategories(int row, int pos) const;
    std::wstring ApptLocation(int row, int pos) const;
    // The kept component of an appointment that is a meeting; empty for any other entry.
    const std::string& ApptMeeting(int row, int pos) const;
    int StartMinutes(int row, int pos) const;
    int EndMinutes(int row, int pos) const;
    std::wstring StartText(int row, int pos) const; // "hh:mm"
    std::wstring EndText(int row, int pos) const;
    bool IsAllDay(int row, int pos) const;
    int EntryState(int row, int pos) const;
    bool IsRecurringEntry(int row, int pos) const;
    int Busy(int row, int pos) const;
    int DayKind(int row, int pos) const;
    int32_t ApptCalendar(int row, int pos) const; // 0 for holiday rows

    // The column texts of an entry, as the tables write them ("%.5d", "%.4d", "2200", ...).
    std::wstring ApptStartField(int row, int pos) const;
    std::wstring ApptEndField(int row, int pos) const;

    int TaskCount(int row) const;
    std::wstring TaskOid(int row, int pos) const;
    int TaskStoreIndex(int row, int pos) const;
    std::wstring TaskSubject(int row, int pos) const;
    std::wstring TaskCategories(int row, int pos) const;
    std::wstring TaskDueKey(int row, int pos) const; // "yyyymmdd", "00000000" without due
    bool TaskStartsHere(int row, int pos) const;
    bool TaskMiddle(int row, int pos) const;
    bool TaskDueHere(int row, int pos) const;
    bool TaskComplete(int row, int pos) const;
    bool TaskRecurring(int row, int pos) const;
    bool TaskHasDue(int row, int pos) const;
    int32_t TaskCalendar(int row, int pos) const;
    // Due before today's local date.
    bool TaskOverdue(int row, int pos) const;
    // "November 6", or "Month 11" and the day when the string table asks for month numbers.
    std::wstring TaskDueText(int row, int pos) const;

    // Removal after an edit, before the item is added again or the window reloaded.
    void RemoveAppointmentEntry(int slot, int position);
    void RemoveTaskEntry(int slot, int position);
    void RemoveAppointmentEverywhere(const std::wstring& oid);
    void RemoveTaskEverywhere(const std::wstring& oid);
    // The entries of one occurrence over all its days; planned-day and deleted entries stay.
    void RemoveOccurrenceSpan(int row, int pos);
    // The first (from row 0 on) and last day of the occurrence of entry (row, pos).
    EntryRef FindSpanFirst(int row, int pos) const;
    EntryRef FindSpanLast(int row, int pos) const;

private:
    struct DaySlot {
        std::vector<AppointmentEntry> appointments;
        std::vector<TaskEntry> tasks;
    };

    void LoadStore();
    void LoadCalendars();
    const pim::Calendar* CalendarOf(int32_t calendar) const;
    void Warn(const std::wstring& text);
    void AddHolidays();
    // Enters an item's entries on the days from start to end; false when none lies in the window.
    bool PlaceSpan(AppointmentEntry entry, DATE start, DATE end, bool pinned);
    // A series' exceptions by the day their occurrence was planned to start: the exception
    // number (from 1) and whether it was deleted. The first exception of a day wins.
    struct PlannedOccurrence {
        int32_t number;
        bool deleted;
    };
    using PlannedStarts = std::map<int64_t, PlannedOccurrence>;

    void AddRecurringAppointment(pim::AppointmentItem& appointment, const AppointmentEntry& base,
                                 bool pinned);
    // Places the changed occurrences, each as its own span, and lists every exception.
    PlannedStarts AddChangedOccurrences(pim::RecurrencePattern& pattern,
                                        const AppointmentEntry& base, bool pinned);
    void AddOccurrences(const pim::RecurrenceFields& fields, const AppointmentEntry& base,
                        bool pinned, const PlannedStarts& planned);
    void AddTaskSpan(const TaskEntry& base, int first, int last, bool startsFlag, bool dueFlag);
    int SlotOf(DATE date) const;
    // The kind of a slot's first entry: 0 for an empty slot or one of kDayKindEntryLimit
    // entries or more.
    int FirstEntryKind(int slot) const;

    const AppointmentEntry* Appointment(int row, int pos) const;
    const TaskEntry* Task(int row, int pos) const;
    const DaySlot* SlotAt(int row) const;
    std::wstring JoinedTexts(int row, std::wstring EntryTexts::*field) const;
    // A task entry's flag; false outside the window or past the day's tasks.
    bool TaskFlag(int row, int pos, bool TaskEntry::*flag) const;
    // Removes, on one row, the first entry of the occurrence (oid, serial) not in state 3 or 4;
    // false when the row has none.
    bool RemoveOccurrenceEntry(int row, int32_t oid, int32_t serial);
    int FindOccurrenceEntry(int row, int32_t oid, int32_t serial) const;

    PimSession& session_;
    pim::StoreDatabase::Identity loadedStore_;
    DocumentSettings& settings_;
    MessageService* messages_;
    bool storeFailureReported_ = false; // since the last load that reached the store
    bool readOnlyReported_ = false;
    int shownDayCount_ = 33;
    int shownOffset_ = kDaysBefore;
    int startOffsetDays_ = 0;
    SYSTEMTIME loadStart_{};
    int64_t loadStartDay_ = 0; // day number of slot 0
    int32_t serialCounter_ = 0;
    SYSTEMTIME shownStart_{};
    std::array<DaySlot, kSlotCount> slots_;
    std::vector<pim::Calendar> calendars_;
    CalendarChoice calendarChoice_;
};
