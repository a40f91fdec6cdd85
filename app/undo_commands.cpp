// Undo and Redo as commands. A step another program overtook is refused with a warning and leaves
// the stack; one the store refused is reported as any other failed change.
#include "app/undo_commands.h"

#include "dialogs/settings_controls.h"
#include "editors/dialog_controls.h"
#include "editors/editor_services.h"
#include "model/undo_stack.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "view/tamberlo_view.h"

std::wstring UndoMenuText(bool redo, const UndoLabel* step)
{
    const QString word = Text(redo ? res::IDS_REDO : res::IDS_UNDO);
    if (step == nullptr) {
        return word.toStdWString();
    }
    const QString action = Text(res::IDS_UNDO_ADD + static_cast<int>(step->action));
    const QString subject = QString::fromStdWString(step->subject);
    if (step->day == 0.0) {
        return Text(res::IDS_UNDO_STEP).arg(word, action, subject).toStdWString();
    }
    const SYSTEMTIME day = VariantTimeToSystemTime(step->day);
    const QString monthDay = QStringLiteral("%1/%2")
                                 .arg(day.wMonth, 2, 10, QLatin1Char('0'))
                                 .arg(day.wDay, 2, 10, QLatin1Char('0'));
    return Text(res::IDS_UNDO_STEP_ON_DAY).arg(word, action, subject, monthDay).toStdWString();
}

UndoCommands::UndoCommands(UndoStack& stack, ScheduleEdits& edits, MessageService& messages,
                           CTamberloView& view)
    : stack_(stack), edits_(edits), messages_(messages), view_(view)
{
}

void UndoCommands::AddTo(CommandTable& table)
{
    table.Add(
        cmd::ID_UNDO, [this] { Run(false); },
        [this](CommandUpdate& u) {
            u.enabled = stack_.CanUndo();
            u.text = UndoMenuText(false, stack_.NextUndo());
        });
    table.Add(
        cmd::ID_REDO, [this] { Run(true); },
        [this](CommandUpdate& u) {
            u.enabled = stack_.CanRedo();
            u.text = UndoMenuText(true, stack_.NextRedo());
        });
}

void UndoCommands::Run(bool redo)
{
    const UndoResult result = redo ? stack_.Redo() : stack_.Undo();
    switch (result.status) {
    case UndoStatus::kDone:
        view_.ItemsChanged();
        break;
    case UndoStatus::kNothing:
        break;
    case UndoStatus::kChangedElsewhere:
        ShowWarning(messages_, res::IDS_UNDO_CHANGED_ELSEWHERE);
        break;
    case UndoStatus::kFailed:
        ReportEditFailure(messages_, edits_, EditStatus::kSaveFailed);
        view_.ItemsChanged(); // the document was read again
        break;
    }
}
