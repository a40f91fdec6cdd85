// The changes a drag or a paste makes to one item, as values handed to the change path: move or
// resize an appointment (an occurrence of a series becomes an exception), move a task by days,
// and copy either onto another day. The item is read from the store again each time.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/schedule_edits.h"
#include "view/drag_edit.h"
#include "view/item_selection.h"

struct MoveResult {
    enum class Status {
        kDone,
        kGone,          // the item or its occurrence is no longer in the store
        kRefused,       // the store did not take the change
        kRecurringTask, // a recurring task is never moved
        kTookOther,     // another program changed the item meanwhile; its version was kept
        kOtherStore,    // the store file was replaced: nothing saved, the window reloaded
        kKeptAsItWas,   // the user chose not to move someone else's meeting
    };
    Status status = Status::kDone;
    Redraw redraw = Redraw::kNothing;
    int32_t exceptionNo = 0; // a moved occurrence of a series: the number of its exception now
};

class ItemMoves {
public:
    // Asked with the item's subject whether to overwrite another program's change of it.
    using OverwriteQuestion = std::function<bool(const std::wstring& subject)>;

    // Asked with a meeting's kept component before its time changes; false keeps it as it was.
    using MeetingQuestion = std::function<bool(const std::string& kept)>;

    explicit ItemMoves(ScheduleEdits& edits, OverwriteQuestion overwrite = {},
                       MeetingQuestion meeting = {})
        : edits_(edits), overwrite_(std::move(overwrite)), meeting_(std::move(meeting))
    {
    }

    // Moves the grabbed ends (all of it, the start or the end) by `minutes`.
    MoveResult MoveAppointment(const ItemSelection& item, DragMode mode, int minutes);
    MoveResult MoveTask(const ItemSelection& item, int days);
    // A new, single appointment with the item's (or occurrence's) fields, `minutes` later.
    MoveResult CopyAppointment(const ItemSelection& item, int minutes);
    // A new task: a plain one moved by `days`, a recurring one set to start and fall due on
    // `target` alone.
    MoveResult CopyTask(const ItemSelection& item, int days, const SYSTEMTIME& target);
    // A new item from outside (the desktop clipboard) whose start moves by `minutes`.
    MoveResult AddShifted(const pim::StoredItem& item, int minutes);

private:
    ReadResult ReadAppointment(const ItemSelection& item);
    int32_t ExceptionNumberOf(int32_t oid, DATE originalDay);
    MoveResult Save(const ItemRef& ref, const ItemValues& after,
                    std::optional<ItemValues> before = std::nullopt);

    ScheduleEdits& edits_;
    OverwriteQuestion overwrite_;
    MeetingQuestion meeting_;
};
