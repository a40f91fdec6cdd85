// One entry of a day in the schedule document: an appointment, an occurrence or a holiday row,
// or a task. Entries are records, so no number can overflow into its neighbour; the texts the
// document hands out keep their fixed forms ("%.5d" serials, "%.4d" store positions, four-digit
// times), growing wider only for values that need more digits.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Shared by every entry of one item, so a series with many occurrences holds its texts once.
struct EntryTexts {
    std::wstring subject;
    std::wstring categories;
    std::wstring location; // appointments only
    std::string meeting;   // the component a meeting kept (see ItemFields::Kept); else empty
};

// apptState values.
enum AppointmentState : int8_t {
    kSingleState = 0,
    kOccurrenceState = 1,
    kChangedState = 2,    // a changed occurrence at its own times
    kPlannedDayState = 3, // the day a changed occurrence was planned for
    kDeletedState = 4,
};

constexpr int32_t kHolidayStoreIndex = -1;

struct AppointmentEntry {
    int32_t oid = 0; // 0 for holiday rows
    int32_t serial = 0;
    int32_t storeIndex = 0; // kHolidayStoreIndex for holiday rows, 0 when re-added after an edit
    int32_t exceptionNo = 0;
    std::shared_ptr<const EntryTexts> texts;
    int16_t start = 0;  // hour x 100 + minute on this day; 0 when it started before
    int16_t end = 2400; // likewise; 2400 when it ends after this day
    bool allDay = false;
    int8_t state = kSingleState;
    int8_t dayKind = 0;
    int8_t busy = 0;
    int32_t calendar = 0; // the item's calendar (an occurrence's is its series'); 0 for holidays
};

struct TaskEntry {
    int32_t oid = 0;
    int32_t storeIndex = 0;
    std::shared_ptr<const EntryTexts> texts;
    int32_t dueKey = 0; // year x 10000 + month x 100 + day; 0 without due date
    bool startsHere = false;
    bool middle = false;
    bool dueHere = false;
    bool complete = false;
    bool recurring = false;
    bool hasDue = false;
    int32_t calendar = 0;
};
