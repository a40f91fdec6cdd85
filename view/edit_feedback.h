// What the pointer's and the clipboard's changes share: the services they save through, the
// undo step each change is, and what the user and the view are told afterwards.
#pragma once

#include <functional>
#include <string>

#include "model/schedule_edits.h"
#include "model/undo_stack.h"
#include "view/item_moves.h"

class MessageService;
class ViewEditingHost;

// What the view's own changes need from the program; without a change path nothing is saved.
struct ViewEditServices {
    ScheduleEdits* edits = nullptr;
    MessageService* messages = nullptr;
    // The add editors on a swept range (the two times in either order).
    std::function<Redraw(DATE, DATE)> addAppointment;
    std::function<Redraw(DATE, DATE)> addTask;
    UndoStack* undo = nullptr; // names the steps of drags and pastes
    // Asked before a drag or a cut and paste moves a meeting (its kept component); false keeps
    // the item as it was. None: moved unasked.
    std::function<bool(const std::string& kept)> confirmMeetingMove = nullptr;
};

class EditFeedback {
public:
    EditFeedback(ViewEditingHost& view, const ViewEditServices& services)
        : view_(view), services_(services)
    {
    }

    // Runs `change` as one undo step named `action`.
    MoveResult AsStep(UndoAction action, const std::function<MoveResult()>& change) const;
    // The moves over the change path, asking before writing over another program's change.
    ItemMoves Moves() const;
    // Tells what a change that did not go through means; the view is redrawn after any that
    // changed the document, its stale selection dropped.
    void AfterChange(const MoveResult& result);
    void Warn(int textId) const;
    void WarnText(const std::wstring& text) const;

private:
    ViewEditingHost& view_;
    const ViewEditServices& services_;
};
