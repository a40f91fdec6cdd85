// The failure messages of the change path, worded as the program words them.
#include "editors/editor_services.h"

#include "editors/dialog_controls.h"
#include "res/string_table.h"

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
