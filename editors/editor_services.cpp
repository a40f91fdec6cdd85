// The failure messages of the change path, worded as the program words them, and the steps
// the appointment and task editors take alike: closing after a change, categories and the memo.
#include "editors/editor_services.h"

#include <QDialog>

#include "editors/category_sel_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/memo_edit_dlg.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

void ReportEditFailure(EditorServices& services, EditStatus status)
{
    ReportEditFailure(services.messages, services.edits, status);
}

Redraw ReportUnreadItem(EditorServices& services, const ReadResult& read)
{
    ReportEditFailure(services, read.status);
    return read.status == EditStatus::kOtherStore ? Redraw::kReloaded : Redraw::kNothing;
}

void ReportEditFailure(MessageService& messages, const ScheduleEdits& edits, EditStatus status)
{
    switch (status) {
    case EditStatus::kDone:
    case EditStatus::kChangedMeanwhile:
        break;
    case EditStatus::kOtherStore:
        ShowWarning(messages, res::IDS_STORE_REPLACED);
        break;
    case EditStatus::kNotFound:
        ShowWarning(messages, res::IDS_FAIL_GET_DATA);
        break;
    case EditStatus::kNoOccurrence:
        ShowError(messages, res::IDS_FAIL_GET_APPOINT);
        break;
    case EditStatus::kSaveFailed:
        if (edits.StoreError().empty()) {
            ShowWarning(messages, res::IDS_CANT_CHANGE_DATETIME);
        } else {
            messages.MessageBox(edits.StoreError(), res::LoadString(res::IDS_WARNING),
                                MB_OK | MB_ICONEXCLAMATION);
        }
        break;
    }
}

bool ConfirmDelete(MessageService& messages, pim::ItemKind kind,
                   const std::optional<ItemValues>& item)
{
    const bool task = kind == pim::kTaskKind;
    if (!item || item->fields.Subject.empty()) {
        return ConfirmOk(messages, task ? res::IDS_DELETE_TASK : res::IDS_DELETE_APPOINTMENT);
    }
    return ConfirmOkText(messages, res::LoadString(task ? res::IDS_DELETE_TASK_NAMED
                                                        : res::IDS_DELETE_APPOINTMENT_NAMED,
                                                   item->fields.Subject));
}

ical::OwnAddresses OwnAddressesOf(const EditorServices& services)
{
    return services.ownAddresses ? services.ownAddresses() : ical::OwnAddresses();
}

bool ConfirmMeetingTimeChange(MessageService& messages, const std::string& kept,
                              const ical::OwnAddresses& own)
{
    const std::wstring notice = ical::CopyOnlyNotice(kept, own);
    return notice.empty() || ConfirmOkText(messages, notice);
}

bool ConfirmOverwrite(MessageService& messages, const std::wstring& subject)
{
    return ConfirmOkText(messages, res::LoadString(res::IDS_CHANGED_MEANWHILE, subject));
}

bool ConfirmEditorOverwrite(MessageService& messages, const std::wstring& subject)
{
    return messages.MessageBoxNamed(res::LoadString(res::IDS_EDITED_MEANWHILE, subject),
                                    res::LoadString(res::IDS_CONFIRM),
                                    MB_OKCANCEL | MB_ICONQUESTION,
                                    {res::LoadString(res::IDS_SAVE_MINE_OVER_IT),
                                     res::LoadString(res::IDS_MERGE_AND_EDIT_AGAIN)}) == IDOK;
}

EditorChanges::EditorChanges(EditorServices& services, const ReadResult& read, bool isNew)
    : services_(services), shown_(read.values)
{
    if (!isNew) {
        before_ = read.values;
    }
}

bool EditorChanges::NextRound()
{
    if (!shownOnce_) {
        shownOnce_ = true;
        return true;
    }
    if (!taken_) {
        return false;
    }
    if (!opened_) {
        opened_ = before_;
    }
    before_ = taken_->theirs;
    shown_ = taken_->shown;
    taken_.reset();
    return true;
}

// After a merge the store still holds the other program's version; values that would write
// over any of its changes (a field both sides edited) are asked about again.
EditStatus EditorChanges::Save(const ItemRef& item, const ItemValues& values)
{
    ScheduleChange save{ChangeKind::kSave, item};
    save.after = values;
    return Apply(std::move(save));
}

EditStatus EditorChanges::Apply(ScheduleChange change)
{
    if (opened_ && before_ && change.after &&
        MergeEdits(*opened_, *before_, *change.after) != *change.after &&
        !ConfirmEditorOverwrite(services_.messages, before_->fields.Subject)) {
        taken_ = TakenVersion{*before_, *change.after};
        return EditStatus::kChangedMeanwhile;
    }
    change.before = before_;
    const EditResult result = ApplyOrConfirm(services_, std::move(change), &taken_);
    Note(result.redraw);
    return result.status;
}

void EditorChanges::Note(Redraw redraw)
{
    if (static_cast<int>(redraw) > static_cast<int>(redraw_)) {
        redraw_ = redraw;
    }
}

EditResult ApplyOrConfirm(EditorServices& services, ScheduleChange change,
                          std::optional<TakenVersion>* taken)
{
    const std::optional<ItemValues> mine = change.after;
    const std::optional<ItemValues> base = change.before;
    EditResult result =
        services.edits.ApplyOrAsk(std::move(change), [&](const ItemValues& current) {
            return taken != nullptr && mine
                       ? ConfirmEditorOverwrite(services.messages, current.fields.Subject)
                       : ConfirmOverwrite(services.messages, current.fields.Subject);
        });
    if (result.status == EditStatus::kChangedMeanwhile && result.current && taken != nullptr &&
        mine && base) {
        *taken = TakenVersion{*result.current, MergeEdits(*base, *mine, *result.current)};
    }
    return result;
}

void FinishEdit(QDialog& editor, EditorServices& services, EditStatus status, int editResult)
{
    // done() rather than accept(): the editors' accept() is their checking OK.
    if (status == EditStatus::kDone) {
        services.settings.SetLastEditResult(editResult);
        editor.done(QDialog::Accepted);
        return;
    }
    ReportEditFailure(services, status);
    if (status != EditStatus::kSaveFailed) {
        editor.done(QDialog::Rejected);
    }
}

void ChooseCategories(QComboBox& category, EditorServices& services, QWidget* parent)
{
    std::wstring text = ComboText(category);
    if (CCategorySelDlg::Choose(services.dialogs, services.settings, text, parent)) {
        category.setEditText(ToQString(text));
    }
}

void EditMemo(std::wstring& body, EditorServices& services, QWidget* parent)
{
    CMemoEditDlg dialog(body, services.messages, parent);
    if (services.dialogs.Run(dialog) == DialogAccepted) {
        body = dialog.Text();
    }
}
