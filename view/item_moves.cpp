// Each change reads the item's current values, changes only the times or dates, and saves them
// through the change path, so a refused save or a vanished item leaves store and tables alone.
#include "view/item_moves.h"

#include <cmath>

#include "ical/meeting_reply.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "model/pim_session.h"
#include "model/tamberlo_doc.h"

namespace {

constexpr int64_t kSecondsPerMinute = 60;
constexpr int kMinutesPerDay = 24 * 60;

int32_t OidOf(const ItemSelection& item)
{
    return TextToInt(item.oid);
}

MoveResult::Status StatusOf(EditStatus status)
{
    switch (status) {
    case EditStatus::kDone:
        return MoveResult::Status::kDone;
    case EditStatus::kSaveFailed:
        return MoveResult::Status::kRefused;
    case EditStatus::kChangedMeanwhile:
        return MoveResult::Status::kTookOther;
    case EditStatus::kOtherStore:
        return MoveResult::Status::kOtherStore;
    default:
        return MoveResult::Status::kGone;
    }
}

// A fresh single item of the user's: no object id, no pattern, no calendar id of its own yet,
// and none of the original's meeting (a copy invites nobody and answers no one).
void MakeNew(ItemValues& values)
{
    values.fields.Oid = 0;
    values.fields.UID.clear();
    values.fields.Kept = ical::WithoutScheduling(values.fields.Kept);
    values.pattern.reset();
}

void ShiftTaskDates(pim::ItemFields& f, int days)
{
    const int64_t seconds = int64_t{days} * kMinutesPerDay * kSecondsPerMinute;
    if (IsTaskDate(f.StartDate)) {
        f.StartDate = AddSeconds(f.StartDate, seconds);
    }
    if (IsTaskDate(f.DueDate)) {
        f.DueDate = AddSeconds(f.DueDate, seconds);
    }
}

} // namespace

ReadResult ItemMoves::ReadAppointment(const ItemSelection& item)
{
    const int32_t oid = OidOf(item);
    if (item.exceptionNo > 0) {
        return edits_.ReadException(oid, item.exceptionNo);
    }
    if (item.recurring) {
        return edits_.ReadOccurrenceCovering(oid, SystemTimeToVariantTime(item.date));
    }
    return edits_.Read({pim::kAppointmentKind, oid});
}

MoveResult ItemMoves::Save(const ItemRef& ref, const ItemValues& after,
                           std::optional<ItemValues> before)
{
    ScheduleChange change(ChangeKind::kSave, ref);
    change.after = after;
    change.before = std::move(before);
    const EditResult result = edits_.ApplyOrAsk(change, [this](const ItemValues& current) {
        return overwrite_ && overwrite_(current.fields.Subject);
    });
    return {StatusOf(result.status), result.redraw};
}

MoveResult ItemMoves::MoveAppointment(const ItemSelection& item, DragMode mode, int minutes)
{
    const ScopedConnection open(edits_.Document().Session());
    ReadResult read = ReadAppointment(item);
    if (read.status != EditStatus::kDone) {
        return {StatusOf(read.status)};
    }
    const ItemValues before = read.values;
    pim::ItemFields& f = read.values.fields;
    if (meeting_ && !meeting_(f.Kept)) {
        return {MoveResult::Status::kKeptAsItWas};
    }
    const TimeRange moved = DraggedTimes({f.Start, f.End}, mode, minutes);
    f.Start = moved.start;
    f.End = moved.end;
    MoveResult result = Save(read.item, read.values, before);
    if (result.status == MoveResult::Status::kDone && read.item.occurrenceDay != 0.0) {
        result.exceptionNo = ExceptionNumberOf(read.item.oid, read.item.occurrenceDay);
    }
    return result;
}

// A saved occurrence is an exception of its original day; its number lets the next move find
// it wherever it lies now.
int32_t ItemMoves::ExceptionNumberOf(int32_t oid, DATE originalDay)
{
    for (int32_t n = 1;; ++n) {
        const ReadResult read = edits_.ReadException(oid, n);
        if (read.item.occurrenceDay == 0.0) {
            return 0;
        }
        if (read.status == EditStatus::kDone &&
            std::floor(read.item.occurrenceDay) == std::floor(originalDay)) {
            return n;
        }
    }
}

MoveResult ItemMoves::MoveTask(const ItemSelection& item, int days)
{
    const ScopedConnection open(edits_.Document().Session());
    ReadResult read = edits_.Read({pim::kTaskKind, OidOf(item)});
    if (read.status != EditStatus::kDone) {
        return {StatusOf(read.status)};
    }
    if (read.values.pattern) {
        return {MoveResult::Status::kRecurringTask};
    }
    const ItemValues before = read.values;
    ShiftTaskDates(read.values.fields, days);
    return Save(read.item, read.values, before);
}

MoveResult ItemMoves::CopyAppointment(const ItemSelection& item, int minutes)
{
    const ScopedConnection open(edits_.Document().Session());
    ReadResult read = ReadAppointment(item);
    if (read.status != EditStatus::kDone) {
        return {StatusOf(read.status)};
    }
    MakeNew(read.values);
    pim::ItemFields& f = read.values.fields;
    f.Start = AddSeconds(f.Start, minutes * kSecondsPerMinute);
    f.End = AddSeconds(f.End, minutes * kSecondsPerMinute);
    return Save({pim::kAppointmentKind, 0}, read.values);
}

MoveResult ItemMoves::CopyTask(const ItemSelection& item, int days, const SYSTEMTIME& target)
{
    const ScopedConnection open(edits_.Document().Session());
    ReadResult read = edits_.Read({pim::kTaskKind, OidOf(item)});
    if (read.status != EditStatus::kDone) {
        return {StatusOf(read.status)};
    }
    pim::ItemFields& f = read.values.fields;
    if (read.values.pattern) {
        f.StartDate = f.DueDate = SystemTimeToVariantTime(TruncateSystemTime(target, 3));
    } else {
        ShiftTaskDates(f, days);
    }
    MakeNew(read.values);
    f.Complete = false;
    f.DateCompleted = pim::kNoDate;
    return Save({pim::kTaskKind, 0}, read.values);
}

MoveResult ItemMoves::AddShifted(const pim::StoredItem& item, int minutes)
{
    ItemValues values{item.fields, std::nullopt};
    MakeNew(values);
    pim::ItemFields& f = values.fields;
    const bool task = item.kind == pim::kTaskKind;
    if (task) {
        ShiftTaskDates(f, minutes / kMinutesPerDay);
    } else {
        f.Start = AddSeconds(f.Start, minutes * kSecondsPerMinute);
        f.End = AddSeconds(f.End, minutes * kSecondsPerMinute);
    }
    return Save({task ? pim::kTaskKind : pim::kAppointmentKind, 0}, values);
}
