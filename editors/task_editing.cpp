// The task commands: the editor over the change path, completion with its question, and the
// failures each step reports.
#include "editors/task_editing.h"

#include <algorithm>

#include "editors/dialog_controls.h"
#include "editors/task_detail_dlg.h"
#include "model/date_time.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"

Redraw TaskEditing::Add()
{
    // Today's month and day in 1899 and 4000 tell the editor "no start" and "due today".
    const SYSTEMTIME today = GetLocalTime();
    return AddBetween(SystemTimeToVariantTime(MakeSystemTime(1899, today.wMonth, today.wDay)),
                      SystemTimeToVariantTime(MakeSystemTime(4000, today.wMonth, today.wDay)));
}

Redraw TaskEditing::AddBetween(DATE first, DATE second)
{
    ReadResult fresh;
    fresh.item.kind = pim::kTaskKind;
    fresh.values.fields.StartDate = std::min(first, second);
    fresh.values.fields.DueDate = std::max(first, second);
    return Open(fresh, true);
}

int32_t TaskEditing::OidAt(int row, int position)
{
    const CTamberloDoc& doc = services_.edits.Document();
    const int32_t oid = TextToInt(doc.TaskOid(row, position));
    if (oid <= 0 || doc.TaskStoreIndex(row, position) < 0) {
        ShowWarning(services_.messages, res::IDS_FAIL_GET_DATA);
        return 0;
    }
    return oid;
}

Redraw TaskEditing::Edit(int row, int position)
{
    const int32_t oid = OidAt(row, position);
    return oid != 0 ? Open(services_.edits.Read({pim::kTaskKind, oid}), false) : Redraw::kNothing;
}

Redraw TaskEditing::Complete(int row, int position)
{
    const int32_t oid = OidAt(row, position);
    if (oid == 0) {
        return Redraw::kNothing;
    }
    ScheduleChange complete{ChangeKind::kCompleteTask, {pim::kTaskKind, oid}};
    complete.keepSimple = true;
    // Completed is the task as read now, not another program's change made while asking.
    const ReadResult read = services_.edits.Read({pim::kTaskKind, oid});
    if (read.status == EditStatus::kDone) {
        complete.before = read.values;
    }
    if (services_.edits.Document().TaskRecurring(row, position)) {
        const int answer = services_.messages.MessageBox(
            res::LoadString(res::IDS_RECUR_TASK_QUESTION), res::LoadString(res::IDS_CONFIRM),
            MB_YESNOCANCEL | MB_ICONINFORMATION);
        if (answer != IDYES && answer != IDNO) {
            return Redraw::kNothing;
        }
        complete.keepSimple = answer == IDYES;
    }
    const EditResult result = ApplyOrConfirm(services_, complete, nullptr);
    if (result.status == EditStatus::kNotFound) {
        ShowError(services_.messages, res::IDS_FAIL_GET_TASK);
    } else {
        ReportEditFailure(services_, result.status);
    }
    return result.redraw;
}

Redraw TaskEditing::Delete(int row, int position)
{
    const int32_t oid = OidAt(row, position);
    if (oid == 0) {
        return Redraw::kNothing;
    }
    ScheduleChange change{ChangeKind::kDelete, {pim::kTaskKind, oid}};
    const ReadResult read = services_.edits.Read(change.item);
    if (read.status == EditStatus::kDone) {
        change.before = read.values;
    }
    if (!ConfirmDelete(services_.messages, pim::kTaskKind, change.before)) {
        return Redraw::kNothing;
    }
    return ApplyChange(change);
}

Redraw TaskEditing::ApplyChange(ScheduleChange change)
{
    const EditResult result = ApplyOrConfirm(services_, std::move(change), nullptr);
    ReportEditFailure(services_, result.status);
    return result.redraw;
}

Redraw TaskEditing::Open(const ReadResult& read, bool isNew)
{
    if (read.status != EditStatus::kDone) {
        return ReportUnreadItem(services_, read);
    }
    EditorChanges changes(services_, read, isNew);
    ItemRef item = read.item;
    item.kind = pim::kTaskKind;
    while (changes.NextRound()) {
        CTaskDetailDlg::Commits commits;
        commits.save = [&](const ItemValues& values) { return changes.Save(item, values); };
        commits.remove = [&] { return changes.Apply({ChangeKind::kDelete, item}); };
        CTaskDetailDlg dialog(changes.Shown(), isNew, std::move(commits), services_);
        services_.dialogs.Run(dialog);
    }
    return changes.Result();
}
