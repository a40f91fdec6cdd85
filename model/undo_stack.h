// Undo and redo of the user's changes. Every change that goes through ScheduleEdits is kept as
// the whole stored item before and after; undo puts the state before back through the same
// change path, in one transaction, and redo the state after. A step that another program
// overtook (the stored item no longer is what the step left) is refused and dropped, so the
// next undo reaches the step before it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/schedule_edits.h"

class PimSession;

// What a step did, for the menu's "Undo Move "Dentist"".
enum class UndoAction { kAdd, kEdit, kMove, kResize, kDelete, kPaste, kComplete, kImport };

struct UndoLabel {
    UndoAction action = UndoAction::kEdit;
    std::wstring subject;
    DATE day = 0.0; // the occurrence's original day; 0 for the item as a whole
};

enum class UndoStatus {
    kDone,
    kNothing,          // no step on that side
    kChangedElsewhere, // another program changed or deleted an item since: nothing done, and
                       // the step is dropped
    kFailed,           // the store could not be opened or refused: nothing done
};

struct UndoResult {
    UndoStatus status = UndoStatus::kNothing;
    Redraw redraw = Redraw::kNothing;
};

class UndoStack {
public:
    static constexpr size_t kMaxSteps = 200;

    // Listens to every change `edits` makes for as long as it lives.
    explicit UndoStack(ScheduleEdits& edits);
    ~UndoStack();
    UndoStack(const UndoStack&) = delete;
    UndoStack& operator=(const UndoStack&) = delete;

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const UndoLabel* NextUndo() const { return undo_.empty() ? nullptr : &undo_.back().label; }
    const UndoLabel* NextRedo() const { return redo_.empty() ? nullptr : &redo_.back().label; }

    UndoResult Undo();
    UndoResult Redo();

    // Changes between BeginStep and the matching EndStep (nested pairs count once) are one
    // step, labelled with `action` or, without one, after its first change.
    void BeginStep(std::optional<UndoAction> action = std::nullopt);
    void EndStep();

    // A step made outside the change path (an import), the whole items before and after.
    void Push(UndoLabel label, std::vector<StoredChange> changes);

    // The object id an item recorded as `oid` has now: items undo brings back get new ids.
    int32_t CurrentOid(int32_t oid) const;

private:
    struct Step {
        UndoLabel label;
        std::vector<StoredChange> changes; // one per item, in the order first changed
    };

    void Record(const StoredChange& change);
    void Keep(Step step);
    // kDone when every item of the step is still as the step left it (undo) or found it (redo).
    UndoStatus Check(const Step& step, bool undo);
    UndoResult Replay(Step& step, bool undo);

    ScheduleEdits& edits_;
    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::optional<Step> open_;
    std::optional<UndoAction> openAction_;
    int openDepth_ = 0;
    bool replaying_ = false;
    std::map<int32_t, int32_t> movedOids_; // recorded id -> the id of the item brought back
};

// Every item of the store, whole (for a step made outside the change path); empty when the
// store cannot be read.
std::vector<pim::StoredItem> StoredItems(PimSession& session);
// What turned `before` into `after` (both as StoredItems gives them), item by item.
std::vector<StoredChange> ChangesBetween(const std::vector<pim::StoredItem>& before,
                                         const std::vector<pim::StoredItem>& after);

// Opens a step for its scope; a null stack keeps nothing.
class UndoStep {
public:
    explicit UndoStep(UndoStack* stack, std::optional<UndoAction> action = std::nullopt)
        : stack_(stack)
    {
        if (stack_ != nullptr) {
            stack_->BeginStep(action);
        }
    }
    ~UndoStep()
    {
        if (stack_ != nullptr) {
            stack_->EndStep();
        }
    }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UndoStack* stack_;
};
