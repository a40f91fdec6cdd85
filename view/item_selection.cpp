// Reading a selected detail line's item out of the day's entries.
#include "view/item_selection.h"

#include "view/schedule_source.h"
#include "view/task_detail_painter.h"

ItemSelection SelectionOfLine(const DetailLines& lines, int line, int row,
                              const ScheduleSource& schedule, const SYSTEMTIME& date)
{
    ItemSelection item;
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines) {
        return item;
    }
    item.line = line;
    item.index = lines.ItemOf(line);
    item.date = date;
    if (line < lines.taskLines) {
        item.kind = ItemKind::Task;
        item.oid = schedule.TaskOid(row, item.index);
        item.recurring = schedule.TaskRecurring(row, item.index);
        item.completed = schedule.TaskComplete(row, item.index);
        item.storeIndex = schedule.TaskStoreIndex(row, item.index);
    } else {
        item.kind = ItemKind::Appointment;
        item.oid = schedule.ApptOid(row, item.index);
        item.recurring = schedule.EntryState(row, item.index) != kPlainEntry;
        item.storeIndex = schedule.ApptStoreIndex(row, item.index);
        item.exceptionNo = schedule.ApptExceptionNo(row, item.index);
        item.meeting = !schedule.ApptMeeting(row, item.index).empty();
    }
    return item;
}

int LineOfItem(const DetailLines& lines, ItemKind kind, const std::wstring& oid, int row,
               const ScheduleSource& schedule, int exceptionNo)
{
    const auto sameEntry = [&](int pos) {
        return exceptionNo < 0 || (schedule.ApptExceptionNo(row, pos) == exceptionNo &&
                                   !IsMovedOrDeleted(schedule.EntryState(row, pos)));
    };
    const bool task = kind == ItemKind::Task;
    const int first = task ? 0 : lines.taskLines;
    const int end = task ? lines.taskLines : lines.taskLines + lines.appointmentLines;
    for (int line = first; line < end; ++line) {
        const int pos = lines.ItemOf(line);
        if (task ? schedule.TaskOid(row, pos) == oid
                 : schedule.ApptOid(row, pos) == oid && sameEntry(pos)) {
            return line;
        }
    }
    return -1;
}
