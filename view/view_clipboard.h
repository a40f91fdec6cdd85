// The view's clipboard: the record naming the copied or cut item, where a paste lands, and the
// forms the item takes on the desktop clipboard (text/calendar and plain text) so other
// programs can take it and the view can take theirs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/schedule_edits.h"
#include "platform/pim/item_fields.h"
#include "view/item_selection.h"
#include "view/view_layout.h"

class QMimeData;

struct ClipRecord {
    enum Operation : int { kEmpty = -1, kCopy = 0, kCut = 1 };
    int operation = kEmpty;
    ItemSelection item; // kind, index, object id, recurrence, exception number, source date
    int sourceRow = -1;
    std::wstring startText; // appointments: "hh:mm" as the document lists it
    bool allDay = false;    // an all-day appointment, moved by whole days like a task

    bool HoldsItem() const { return operation != kEmpty; }
};

// The date and time a pasted item is moved from and to. The source time is the listed start
// rounded down to the half hour (00:00 for `wholeDays`: a task or an all-day appointment); the
// target is the menu point's row and half hour in the Gantt rows, else the selected day at the
// source time.
SYSTEMTIME PasteSourceTime(const SYSTEMTIME& day, const std::wstring& startText, bool wholeDays);
SYSTEMTIME PasteTargetTime(const SYSTEMTIME& source, bool wholeDays, const ViewLayout& layout,
                           const std::optional<PixelPoint>& menuPoint, const SYSTEMTIME& firstShown,
                           const SYSTEMTIME& selectedDate);

// The selected item as a copy would create it: a task, a changed occurrence, the occurrence
// the selection's day falls in, or a single appointment, read from the store now.
ReadResult ReadSelectedItem(ScheduleEdits& edits, const ItemSelection& item);

// "yyyy/mm/dd hh:mm - hh:mm Subject [Place]" for an appointment, "yyyy/mm/dd Subject" for a
// task (its due date, else its start date, else no date).
std::wstring ClipPlainText(const pim::StoredItem& item);

// The desktop clipboard's forms of one item; the marker tells the view its own copy apart.
void FillDesktopClip(QMimeData& data, const pim::StoredItem& item, const SYSTEMTIME& now);
bool IsOwnDesktopClip(const QMimeData& data);
bool HasForeignCalendar(const QMimeData& data);
// The appointments and tasks of a foreign text/calendar, each a single item (series and their
// changed occurrences are taken as the first occurrence only); empty when none can be read.
std::vector<pim::StoredItem> ForeignCalendarItems(const QMimeData& data);
