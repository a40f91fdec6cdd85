// Every change runs inside one store connection (opened here unless the caller holds one), and
// the document is patched only after the store took the change, so a refused change leaves both
// as they were.
#include "model/schedule_edits.h"

#include <cmath>
#include <memory>

#include "model/exception_ops.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/pim/recurrence_pattern.h"

namespace {

AppointItem OccurrenceOf(pim::AppointmentItem& series, DATE day)
{
    AppointItem occurrence;
    const auto pattern = PatternOfRecurring(series);
    if (!pattern || pattern->GetOccurrence(day, &occurrence) < 0) {
        return nullptr;
    }
    return occurrence;
}

EditStatus SaveStatus(int32_t status)
{
    return status < 0 ? EditStatus::kSaveFailed : EditStatus::kDone;
}

// The stored state an undo or redo puts back, kept under the item's own object id.
template <typename Item> EditStatus Restore(const ScheduleChange& change, Item& item)
{
    if (!change.whole || item->ReplaceStored(*change.whole) < 0) {
        return EditStatus::kNoOccurrence;
    }
    return SaveStatus(item->Save());
}

// The whole item as it was found, before a change to an existing one.
template <typename Item> std::optional<pim::StoredItem> StoredBefore(const Item& item, bool isNew)
{
    if (!item || isNew) {
        return std::nullopt;
    }
    return item->Stored();
}

// Saving edited values and deleting are the same for appointments and tasks.
template <typename Item> EditStatus SaveOrDelete(const ScheduleChange& change, Item& item)
{
    if (change.what == ChangeKind::kDelete) {
        return SaveStatus(item->Delete());
    }
    if (!change.after) {
        return EditStatus::kNoOccurrence;
    }
    WriteValues(*change.after, *item);
    return SaveStatus(item->Save());
}

// What every change does around its own step: keep the values before (none for a new item)
// and, once the store took the change, the item's id (a new item has one now) and the values
// after (none when the item itself is gone). A change that says what it started from is
// refused when the stored item no longer holds that; `current` then has what it holds.
template <typename Item, typename Step>
EditStatus KeepBeforeAndAfter(ScheduleChange& change, const Item& owner, const Item& target,
                              bool occurrence, std::optional<ItemValues>& current, const Step& step)
{
    if (change.item.oid != 0) {
        ItemValues stored = ReadValues(*target);
        if (change.before && *change.before != stored) {
            current = std::move(stored);
            return EditStatus::kChangedMeanwhile;
        }
        change.before = std::move(stored);
    }
    const EditStatus status = step();
    if (status != EditStatus::kDone) {
        return status;
    }
    change.item.oid = owner->GetOid();
    if (change.what == ChangeKind::kDelete && !occurrence) {
        change.after.reset();
    } else {
        change.after = ReadValues(*target);
    }
    return status;
}

EditStatus CancelStatus(const std::wstring& done)
{
    if (done == L"9999") {
        return EditStatus::kSaveFailed;
    }
    if (done != L"Fin" && done != L"AllClear") {
        return EditStatus::kNoOccurrence;
    }
    return EditStatus::kDone;
}

// The pattern of series `oid`, for a read of one of its occurrences: the result says kNotFound
// when there is no such series, else kNoOccurrence until an occurrence is read.
std::shared_ptr<pim::RecurrencePattern> SeriesPattern(PimSession& session, int32_t oid,
                                                      ReadResult& result)
{
    result = {EditStatus::kNotFound, {pim::kAppointmentKind, oid, 0.0}, {}};
    const AppointItem series = session.FindAppointment(PimSession::OidField(oid));
    if (!series) {
        return nullptr;
    }
    result.status = EditStatus::kNoOccurrence;
    return PatternOfRecurring(*series);
}

} // namespace

ScheduleEdits::ScheduleEdits(CTamberloDoc& document, PimSession& session)
    : document_(document), session_(session)
{
}

EditStatus ScheduleEdits::CheckStore(Redraw& redraw)
{
    storeError_.clear();
    if (!session_.IsConnected()) {
        storeError_ = session_.ConnectError();
        return EditStatus::kSaveFailed;
    }
    // The tables' object ids name items of the file they came from, and no other.
    const pim::StoreDatabase::Identity& loaded = document_.LoadedStore();
    if (loaded.inode != 0 && session_.StoreIdentity() != loaded) {
        redraw = Redraw::kReloaded;
        return EditStatus::kOtherStore;
    }
    return EditStatus::kDone;
}

// A read of a store that cannot be opened, or of another file than the tables came from (which
// then are reloaded), fails with that status.
bool ScheduleEdits::RefuseRead(ReadResult& result)
{
    Redraw redraw = Redraw::kNothing;
    const EditStatus refused = CheckStore(redraw);
    if (refused == EditStatus::kDone) {
        return false;
    }
    if (redraw == Redraw::kReloaded) {
        document_.Reload();
    }
    result.status = refused;
    return true;
}

ReadResult ScheduleEdits::Read(const ItemRef& item)
{
    const ScopedConnection open(session_);
    ReadResult result{EditStatus::kNotFound, item, {}};
    if (RefuseRead(result)) {
        return result;
    }
    const std::wstring oid = PimSession::OidField(item.oid);
    if (item.kind == pim::kTaskKind) {
        if (const TaskItem task = session_.FindTask(oid)) {
            result.values = ReadValues(*task);
            result.status = EditStatus::kDone;
        }
        return result;
    }
    AppointItem found = session_.FindAppointment(oid);
    if (found && item.occurrenceDay != 0.0) {
        found = OccurrenceOf(*found, item.occurrenceDay);
        result.status = EditStatus::kNoOccurrence;
    }
    if (found) {
        result.values = ReadValues(*found);
        result.status = EditStatus::kDone;
    }
    return result;
}

// The pattern of series `oid` for a read of one of its occurrences, null when the store is
// refused or holds no such series (the result says which).
std::shared_ptr<pim::RecurrencePattern> ScheduleEdits::ReadableSeries(int32_t oid,
                                                                      ReadResult& result)
{
    result.item = {pim::kAppointmentKind, oid, 0.0};
    return RefuseRead(result) ? nullptr : SeriesPattern(session_, oid, result);
}

ReadResult ScheduleEdits::ReadOccurrenceCovering(int32_t oid, DATE day)
{
    const ScopedConnection open(session_);
    ReadResult result;
    const auto pattern = ReadableSeries(oid, result);
    if (!pattern) {
        return result;
    }
    // An occurrence lasting several days is listed on each of them but starts on the first.
    const int span = DaysSpanned(pattern->GetStartTime(), pattern->GetDuration(), false);
    for (int back = 0; back <= span; ++back) {
        const DATE start = std::floor(day) - back;
        AppointItem occurrence;
        if (pattern->GetOccurrence(start, &occurrence) >= 0 && occurrence) {
            result = {
                EditStatus::kDone, {pim::kAppointmentKind, oid, start}, ReadValues(*occurrence)};
            return result;
        }
    }
    return result;
}

ReadResult ScheduleEdits::ReadException(int32_t oid, int32_t n)
{
    const ScopedConnection open(session_);
    ReadResult result;
    const auto pattern = ReadableSeries(oid, result);
    std::shared_ptr<pim::Exceptions> exceptions;
    std::shared_ptr<pim::Exception> exception;
    if (!pattern || pattern->GetExceptions(&exceptions) < 0 || !exceptions ||
        exceptions->Item(n, &exception) < 0 || !exception) {
        return result;
    }
    result.item.occurrenceDay = exception->GetOriginalDate();
    AppointItem occurrence;
    if (exception->GetDeleted() || exception->GetAppointmentItem(&occurrence) < 0 || !occurrence) {
        return result;
    }
    result.status = EditStatus::kDone;
    result.values = ReadValues(*occurrence);
    return result;
}

EditResult ScheduleEdits::Apply(ScheduleChange change)
{
    EditResult result;
    {
        const ScopedConnection open(session_);
        // A store that cannot be opened now (locked, unreadable) refuses the change; it says
        // nothing about the item, so the tables stay as they are.
        result.status = CheckStore(result.redraw);
        if (result.status == EditStatus::kDone) {
            ApplyInStore(change, result);
        }
        // An item gone from the store must not linger in the tables either, nor one that
        // another program changed show as it was.
        if ((result.status == EditStatus::kNotFound && change.item.oid != 0) ||
            result.status == EditStatus::kChangedMeanwhile) {
            result.redraw = Redraw::kReloaded;
        }
    }
    if (result.redraw == Redraw::kReloaded) {
        document_.Reload();
    }
    result.change = std::move(change);
    return result;
}

EditResult
ScheduleEdits::ApplyOrAsk(ScheduleChange change,
                          const std::function<bool(const ItemValues& current)>& overwrite)
{
    for (;;) {
        EditResult result = Apply(change);
        if (result.status != EditStatus::kChangedMeanwhile || !result.current || !overwrite ||
            !overwrite(*result.current)) {
            return result;
        }
        change.before = result.current; // overwriting starts from what the store holds now
    }
}

// The find, the comparison with the values the change started from and the save run in one
// write transaction, so no other program can write in between; the tables are patched only
// once it is committed.
void ScheduleEdits::ApplyInStore(ScheduleChange& change, EditResult& result)
{
    const std::wstring oid = PimSession::OidField(change.item.oid);
    const bool isNew = change.item.oid == 0;
    TaskItem task;
    AppointItem series;
    std::optional<pim::StoredItem> before;
    result.status = EditStatus::kSaveFailed; // unless the transaction runs
    const int32_t written = session_.RunInOneTransaction([&] {
        if (change.item.kind == pim::kTaskKind) {
            task = isNew ? session_.CreateTask() : session_.FindTask(oid);
            before = StoredBefore(task, isNew);
            result.status =
                task ? ApplyToTask(change, task, result.current) : EditStatus::kNotFound;
        } else {
            series = isNew ? session_.CreateAppointment() : session_.FindAppointment(oid);
            before = StoredBefore(series, isNew);
            result.status =
                series ? ApplyToAppointment(change, series, result.current) : EditStatus::kNotFound;
        }
        return result.status == EditStatus::kDone ? 0 : -1;
    });
    if (written < 0 && result.status == EditStatus::kDone) {
        result.status = EditStatus::kSaveFailed; // the commit itself failed
    }
    if (result.status == EditStatus::kSaveFailed) {
        storeError_ = session_.LastWriteError();
    }
    if (result.status == EditStatus::kDone) {
        Patch(change, series.get(), task.get(), result);
        Tell(change, std::move(before));
    }
}

EditStatus ScheduleEdits::ApplyToAppointment(ScheduleChange& change, AppointItem& series,
                                             std::optional<ItemValues>& current)
{
    AppointItem target = series;
    const bool occurrence = change.item.occurrenceDay != 0.0;
    if (occurrence && change.what != ChangeKind::kCancelException &&
        change.what != ChangeKind::kRestore) {
        target = OccurrenceOf(*series, change.item.occurrenceDay);
        if (!target) {
            return EditStatus::kNoOccurrence;
        }
    }
    return KeepBeforeAndAfter(change, series, target, occurrence, current, [&] {
        switch (change.what) {
        case ChangeKind::kSave:
        case ChangeKind::kDelete:
            return SaveOrDelete(change, target);
        case ChangeKind::kCancelException:
            return CancelStatus(CancelException(*series, change.exceptionNo));
        case ChangeKind::kRestore:
            return Restore(change, target);
        case ChangeKind::kCompleteTask:
            break;
        }
        return EditStatus::kNoOccurrence;
    });
}

EditStatus ScheduleEdits::ApplyToTask(ScheduleChange& change, TaskItem& task,
                                      std::optional<ItemValues>& current)
{
    return KeepBeforeAndAfter(change, task, task, false, current, [&] {
        switch (change.what) {
        case ChangeKind::kSave:
        case ChangeKind::kDelete:
            return SaveOrDelete(change, task);
        case ChangeKind::kCompleteTask:
            CompleteTask(*task, change.keepSimple);
            return SaveStatus(task->Save());
        case ChangeKind::kRestore:
            return Restore(change, task);
        case ChangeKind::kCancelException:
            break;
        }
        return EditStatus::kNoOccurrence;
    });
}

void ScheduleEdits::Patch(const ScheduleChange& change, pim::AppointmentItem* series,
                          pim::TaskItem* task, EditResult& result)
{
    const std::wstring oid = PimSession::OidField(change.item.oid);
    const bool wasNew = !change.before.has_value();
    const bool removed = change.what == ChangeKind::kDelete && change.item.occurrenceDay == 0.0;
    // A recurring task marked complete is reloaded whole; so is any re-add past the serial limit.
    const bool reload =
        (change.what == ChangeKind::kCompleteTask && change.keepSimple && change.before &&
         change.before->pattern) ||
        (series != nullptr && !removed && document_.GetSerialCounter() >= kSerialLimit);
    if (reload) {
        result.redraw = Redraw::kReloaded;
        return;
    }
    result.redraw = Redraw::kInPlace;
    if (series != nullptr) {
        if (!wasNew) {
            document_.RemoveAppointmentEverywhere(oid);
        }
        if (!removed) {
            document_.AddAppointment(*series, 0);
        }
        return;
    }
    if (!wasNew) {
        document_.RemoveTaskEverywhere(oid);
    }
    if (!removed) {
        document_.AddTask(*task, 0);
    }
}

EditStatus ScheduleEdits::ReadStored(pim::ItemKind kind, int32_t oid,
                                     std::optional<pim::StoredItem>& out)
{
    const ScopedConnection open(session_);
    out.reset();
    if (!session_.IsConnected()) {
        return EditStatus::kSaveFailed;
    }
    const std::wstring field = PimSession::OidField(oid);
    if (kind == pim::kTaskKind) {
        if (const TaskItem task = session_.FindTask(field)) {
            out = task->Stored();
        }
    } else if (const AppointItem series = session_.FindAppointment(field)) {
        out = series->Stored();
    }
    return out ? EditStatus::kDone : EditStatus::kNotFound;
}

std::vector<pim::Calendar> ScheduleEdits::Calendars()
{
    const ScopedConnection open(session_);
    std::vector<pim::Calendar> out;
    if (session_.Calendars().All(out) != 0) {
        out.clear();
    }
    return out;
}

// The state after is read back from the store, so it compares equal to any later read of an
// item nobody changed since.
void ScheduleEdits::Tell(const ScheduleChange& change, std::optional<pim::StoredItem> before)
{
    if (!watcher_) {
        return;
    }
    StoredChange told{change.what, change.item, std::move(before), std::nullopt};
    ReadStored(change.item.kind, change.item.oid, told.after);
    watcher_(told);
}
