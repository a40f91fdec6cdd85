// The failure messages of the change path, worded as the program words them, and the steps
// the appointment and task editors take alike: closing after a change, categories and the memo.
#include "editors/editor_services.h"

#include <QDialog>

#include "editors/category_sel_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/memo_edit_dlg.h"
#include "platform/dialog_runner.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

void ReportEditFailure(MessageService& messages, EditStatus status)
{
    switch (status) {
    case EditStatus::kDone:
        break;
    case EditStatus::kNotFound:
        ShowWarning(messages, res::IDS_FAIL_GET_DATA);
        break;
    case EditStatus::kNoOccurrence:
        ShowError(messages, res::IDS_FAIL_GET_APPOINT);
        break;
    case EditStatus::kSaveFailed:
        ShowWarning(messages, res::IDS_CANT_CHANGE_DATETIME);
        break;
    }
}

void FinishEdit(QDialog& editor, EditorServices& services, EditStatus status, int editResult)
{
    // done() rather than accept(): the editors' accept() is their checking OK.
    if (status == EditStatus::kDone) {
        services.settings.SetLastEditResult(editResult);
        editor.done(QDialog::Accepted);
        return;
    }
    ReportEditFailure(services.messages, status);
    if (status != EditStatus::kSaveFailed)
        editor.done(QDialog::Rejected);
}

void ChooseCategories(QComboBox& category, EditorServices& services, QWidget* parent)
{
    std::wstring text = ComboText(category);
    if (CCategorySelDlg::Choose(services.dialogs, services.settings, text, parent))
        category.setEditText(ToQString(text));
}

void EditMemo(std::wstring& body, EditorServices& services, QWidget* parent)
{
    CMemoEditDlg dialog(body, services.messages, parent);
    if (services.dialogs.Run(dialog) == DialogAccepted)
        body = dialog.Text();
}
