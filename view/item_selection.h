// The selected item of the view: which detail line, which entry of the selected day, and what
// the editors need to find it in the store (object id, kind, store index, exception number).
#pragma once

#include <string>

#include "platform/systemtime.h"

class ScheduleSource;
struct DetailLines;

enum class ItemKind { None, Task, Appointment };

struct ItemSelection {
    int line = -1;  // detail line, -1 none
    int index = -1; // entry position within the selected day
    ItemKind kind = ItemKind::None;
    std::wstring oid;
    bool recurring = false;
    bool completed = false; // tasks only
    int storeIndex = -1;    // -1 for entries that are not store items (holidays)
    int exceptionNo = 0;    // appointments only
    bool meeting = false;   // an appointment with an organizer or attendees
    SYSTEMTIME date{};      // the day the item was selected on

    bool HasItem() const { return line >= 0 && index >= 0; }
    // An item the store holds: what edit, copy and delete act on.
    bool IsStoreItem() const { return HasItem() && storeIndex >= 0; }
};

// The item on detail line `line` of day row `row` (selected on `date`); no item when the pass
// has no such line.
ItemSelection SelectionOfLine(const DetailLines& lines, int line, int row,
                              const ScheduleSource& schedule, const SYSTEMTIME& date);
// The detail line that lists the entry of `kind` with object id `oid` on day row `row`; -1
// when the pass lists none. An `exceptionNo` of 0 or more asks for the appointment entry of that
// exception (0: none), never a moved or deleted occurrence's place on its original day.
int LineOfItem(const DetailLines& lines, ItemKind kind, const std::wstring& oid, int row,
               const ScheduleSource& schedule, int exceptionNo = -1);
