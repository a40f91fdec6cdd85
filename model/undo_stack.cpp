// A step is checked whole before anything is written: every item must still be as the step left
// it. The check and the putting back run inside one transaction, so a failure halfway leaves the
// store as it was (and the document is reloaded to match).
#include "model/undo_stack.h"

#include <algorithm>
#include <utility>

#include "model/pim_session.h"
#include "model/tamberlo_doc.h"

namespace {

UndoAction ActionOf(const StoredChange& change)
{
    switch (change.what) {
    case ChangeKind::kSave:
        return change.before ? UndoAction::kEdit : UndoAction::kAdd;
    case ChangeKind::kDelete:
        return UndoAction::kDelete;
    case ChangeKind::kCompleteTask:
        return UndoAction::kComplete;
    case ChangeKind::kCancelException:
    case ChangeKind::kRestore:
        break;
    }
    return UndoAction::kEdit;
}

UndoLabel LabelOf(const StoredChange& change, std::optional<UndoAction> action)
{
    const pim::StoredItem& item = change.after ? *change.after : *change.before;
    return {action.value_or(ActionOf(change)), item.fields.Subject, change.item.occurrenceDay};
}

// Object ids say nothing about the item's state: a re-created item has a new one.
pim::StoredItem WithoutIds(pim::StoredItem item)
{
    item.fields.Oid = 0;
    for (pim::ExceptionFields& e : item.exceptions) {
        e.occurrence.Oid = 0;
    }
    return item;
}

bool SameState(const std::optional<pim::StoredItem>& a, const std::optional<pim::StoredItem>& b)
{
    if (!a || !b) {
        return a.has_value() == b.has_value();
    }
    return WithoutIds(*a) == WithoutIds(*b);
}

Redraw Larger(Redraw a, Redraw b)
{
    return static_cast<int>(a) > static_cast<int>(b) ? a : b;
}

} // namespace

UndoStack::UndoStack(ScheduleEdits& edits) : edits_(edits)
{
    edits_.SetWatcher([this](const StoredChange& change) { Record(change); });
}

UndoStack::~UndoStack()
{
    edits_.SetWatcher({});
}

void UndoStack::BeginStep(std::optional<UndoAction> action)
{
    if (openDepth_++ == 0) {
        openAction_ = action;
    }
}

void UndoStack::EndStep()
{
    if (openDepth_ == 0 || --openDepth_ > 0) {
        return;
    }
    if (open_) {
        Keep(std::move(*open_));
    }
    open_.reset();
}

void UndoStack::Push(UndoLabel label, std::vector<StoredChange> changes)
{
    if (!changes.empty()) {
        Keep({std::move(label), std::move(changes)});
    }
}

int32_t UndoStack::CurrentOid(int32_t oid) const
{
    for (auto moved = movedOids_.find(oid); moved != movedOids_.end();
         moved = movedOids_.find(oid)) {
        oid = moved->second;
    }
    return oid;
}

// A change that left the item as it was is no step. A second change to an item within one
// step keeps the first state before and the last after.
void UndoStack::Record(const StoredChange& change)
{
    if (replaying_ || SameState(change.before, change.after)) {
        return;
    }
    if (openDepth_ == 0) {
        Keep({LabelOf(change, std::nullopt), {change}});
        return;
    }
    if (!open_) {
        open_ = Step{LabelOf(change, openAction_), {}};
    }
    auto same =
        std::find_if(open_->changes.begin(), open_->changes.end(), [&](const StoredChange& kept) {
            return kept.item.kind == change.item.kind && kept.item.oid == change.item.oid;
        });
    if (same == open_->changes.end()) {
        open_->changes.push_back(change);
    } else {
        same->after = change.after;
    }
}

void UndoStack::Keep(Step step)
{
    redo_.clear();
    undo_.push_back(std::move(step));
    if (undo_.size() > kMaxSteps) {
        undo_.pop_front();
    }
}

UndoResult UndoStack::Undo()
{
    if (undo_.empty()) {
        return {};
    }
    const UndoResult result = Replay(undo_.back(), true);
    if (result.status == UndoStatus::kDone) {
        redo_.push_back(std::move(undo_.back()));
    }
    // A step another program overtook can never be taken back; kept, it would block every
    // step before it.
    if (result.status == UndoStatus::kDone || result.status == UndoStatus::kChangedElsewhere) {
        undo_.pop_back();
    }
    return result;
}

UndoResult UndoStack::Redo()
{
    if (redo_.empty()) {
        return {};
    }
    const UndoResult result = Replay(redo_.back(), false);
    if (result.status == UndoStatus::kDone) {
        undo_.push_back(std::move(redo_.back()));
    }
    if (result.status == UndoStatus::kDone || result.status == UndoStatus::kChangedElsewhere) {
        redo_.pop_back();
    }
    return result;
}

// An item brought back keeps its UID; another item that took that UID meanwhile (an import,
// a sync) would make two of one, so that counts as a change made elsewhere too.
UndoStatus UndoStack::Check(const Step& step, bool undo)
{
    PimSession& session = edits_.Document().Session();
    for (const StoredChange& change : step.changes) {
        std::optional<pim::StoredItem> now;
        const EditStatus read =
            edits_.ReadStored(change.item.kind, CurrentOid(change.item.oid), now);
        if (read == EditStatus::kSaveFailed) {
            return UndoStatus::kFailed;
        }
        if (!SameState(now, undo ? change.after : change.before)) {
            return UndoStatus::kChangedElsewhere;
        }
        const std::optional<pim::StoredItem>& target = undo ? change.before : change.after;
        if (now || !target) {
            continue;
        }
        const int32_t taken = session.HoldsUid(target->fields.UID);
        if (taken < 0) {
            return UndoStatus::kFailed;
        }
        if (taken > 0) {
            return UndoStatus::kChangedElsewhere;
        }
    }
    return UndoStatus::kDone;
}

// The check and the writes share one write transaction, so no other program can slip a change
// in between them.
UndoResult UndoStack::Replay(Step& step, bool undo)
{
    PimSession& session = edits_.Document().Session();
    UndoResult result{UndoStatus::kDone, Redraw::kNothing};
    std::map<int32_t, int32_t> created;
    bool wrote = false;
    const auto putBack = [&](const StoredChange& change) {
        const std::optional<pim::StoredItem>& target = undo ? change.before : change.after;
        const bool present = (undo ? change.after : change.before).has_value();
        const int32_t oid = CurrentOid(change.item.oid);
        ScheduleChange put(target ? ChangeKind::kRestore : ChangeKind::kDelete,
                           {change.item.kind, present ? oid : 0});
        put.whole = target;
        const EditResult done = edits_.Apply(std::move(put));
        result.redraw = Larger(result.redraw, done.redraw);
        if (!present) {
            created[oid] = done.change.item.oid;
        }
        return done.status == EditStatus::kDone;
    };
    {
        const ScopedConnection open(session);
        replaying_ = true;
        const int32_t status = session.RunInOneTransaction([&] {
            result.status = Check(step, undo);
            if (result.status != UndoStatus::kDone) {
                return -1;
            }
            wrote = true;
            if (undo) {
                return std::all_of(step.changes.rbegin(), step.changes.rend(), putBack) ? 0 : -1;
            }
            return std::all_of(step.changes.begin(), step.changes.end(), putBack) ? 0 : -1;
        });
        replaying_ = false;
        if (status < 0 && result.status == UndoStatus::kDone) {
            result.status = UndoStatus::kFailed;
        }
    }
    if (result.status != UndoStatus::kDone) {
        // Rolled back: the document was patched for writes the store no longer holds.
        if (wrote) {
            edits_.Document().Reload();
            result.redraw = Redraw::kReloaded;
        }
        return result;
    }
    for (const auto& [from, to] : created) {
        movedOids_[from] = to;
    }
    return result;
}

std::vector<pim::StoredItem> StoredItems(PimSession& session)
{
    std::vector<pim::StoredItem> items;
    const ScopedConnection open(session, pim::ItemSelection::All);
    for (int32_t n = 1; n <= session.AppointmentCount(); ++n) {
        if (const AppointItem item = session.FetchAppointment(n)) {
            items.push_back(item->Stored());
        }
    }
    for (int32_t n = 1; n <= session.TaskCount(); ++n) {
        if (const TaskItem task = session.FetchTask(n)) {
            items.push_back(task->Stored());
        }
    }
    return items;
}

std::vector<StoredChange> ChangesBetween(const std::vector<pim::StoredItem>& before,
                                         const std::vector<pim::StoredItem>& after)
{
    using Key = std::pair<int32_t, int32_t>;
    std::map<Key, const pim::StoredItem*> was;
    for (const pim::StoredItem& item : before) {
        was[{item.kind, item.fields.Oid}] = &item;
    }
    std::vector<StoredChange> changes;
    const auto change = [&](const pim::StoredItem& item, const pim::StoredItem* old,
                            const pim::StoredItem* now) {
        StoredChange c;
        c.item = {static_cast<pim::ItemKind>(item.kind), item.fields.Oid};
        if (old != nullptr) {
            c.before = *old;
        }
        if (now != nullptr) {
            c.after = *now;
        }
        changes.push_back(std::move(c));
    };
    for (const pim::StoredItem& item : after) {
        const auto found = was.find({item.kind, item.fields.Oid});
        const pim::StoredItem* old = found == was.end() ? nullptr : found->second;
        if (old == nullptr || !(*old == item)) {
            change(item, old, &item);
        }
        if (old != nullptr) {
            was.erase(found);
        }
    }
    for (const auto& [key, gone] : was) {
        change(*gone, gone, nullptr);
    }
    return changes;
}
