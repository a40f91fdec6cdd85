// What the pointer's and the clipboard's changes tell the user and the view afterwards: the
// undo step they make, the warnings of a change that did not go through, and the redraw.
#include "view/edit_feedback.h"

#include "platform/message_service.h"
#include "res/string_table.h"
#include "view/schedule_source.h"
#include "view/view_editing_host.h"

// The step is kept before the view updates its commands, so Undo is enabled at once.
MoveResult EditFeedback::AsStep(UndoAction action, const std::function<MoveResult()>& change) const
{
    const UndoStep step(services_.undo, action);
    return change();
}

void EditFeedback::Warn(int textId) const
{
    WarnText(res::LoadString(textId));
}

void EditFeedback::WarnText(const std::wstring& text) const
{
    if (services_.messages != nullptr) {
        services_.messages->MessageBox(text, res::LoadString(res::IDS_WARNING),
                                       MB_OK | MB_ICONEXCLAMATION);
    }
}

// A change another program got in first is written over only when the user says so.
ItemMoves EditFeedback::Moves() const
{
    return ItemMoves(
        *services_.edits,
        [this](const std::wstring& subject) {
            return (services_.messages != nullptr) &&
                   services_.messages->MessageBox(
                       res::LoadString(res::IDS_CHANGED_MEANWHILE, subject),
                       res::LoadString(res::IDS_CONFIRM), MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
        },
        services_.confirmMeetingMove);
}

// The moved item's entries changed places; the selection would name another entry.
void EditFeedback::AfterChange(const MoveResult& result)
{
    switch (result.status) {
    case MoveResult::Status::kDone:
        break;
    case MoveResult::Status::kGone:
        // Deleted by another program: its stale entries leave the window too.
        Warn(res::IDS_FAIL_GET_DATA);
        view_.EditedSchedule().Reload();
        break;
    case MoveResult::Status::kRefused:
        // The store's own reason (in use, full, read-only) when it gave one.
        if ((services_.edits != nullptr) && !services_.edits->StoreError().empty()) {
            WarnText(services_.edits->StoreError());
        } else {
            Warn(res::IDS_CANT_CHANGE_DATETIME);
        }
        break;
    case MoveResult::Status::kOtherStore:
        Warn(res::IDS_STORE_REPLACED);
        break;
    case MoveResult::Status::kTookOther:
    case MoveResult::Status::kKeptAsItWas:
        break;
    case MoveResult::Status::kRecurringTask:
        Warn(res::IDS_CANT_CUT_RECURRING_TASK);
        return;
    }
    if (result.redraw != Redraw::kNothing || result.status == MoveResult::Status::kGone ||
        result.status == MoveResult::Status::kOtherStore) {
        view_.ClearItemSelection();
        view_.OnUpdate();
        view_.AfterAction();
    }
}
