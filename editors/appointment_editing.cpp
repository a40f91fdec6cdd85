// The appointment commands: which item or occurrence an entry stands for, the recurring-change
// question, the editor over the change path, and the failures each step reports.
#include "editors/appointment_editing.h"

#include "editors/appoint_detail_dlg.h"
#include "editors/dialog_controls.h"
#include "editors/recur_confirm_dlg.h"
#include "ical/meeting_reply.h"
#include "model/date_time.h"
#include "model/tamberlo_doc.h"
#include "model/undo_stack.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

// What an appointment entry of the document says about its item.
struct AppointmentEditing::Entry {
    int32_t oid = 0;
    int state = 0; // 0 single, 1 occurrence, 2 changed, 3 planned day, 4 deleted
    int exceptionNo = 0;
    DATE day = 0.0;
    bool holiday = false;
};

std::pair<DATE, DATE> AppointmentEditing::NewAppointmentTimes(const SYSTEMTIME& day,
                                                              const SYSTEMTIME& now)
{
    const DATE date = SystemTimeToVariantTime(TruncateSystemTime(day, 3));
    const int hour = now.wHour >= 22 ? 23 : now.wHour + 1;
    const DATE start = date + hour / 24.0;
    return {start, start + 1.0 / 24.0};
}

Redraw AppointmentEditing::Add(const SYSTEMTIME& day)
{
    const auto [start, end] = NewAppointmentTimes(day, GetLocalTime());
    return AddBetween(start, end);
}

Redraw AppointmentEditing::AddBetween(DATE first, DATE second)
{
    ReadResult fresh;
    fresh.values.fields.Start = std::min(first, second);
    fresh.values.fields.End = std::max(first, second);
    return Open(fresh, true, false, false, -1);
}

AppointmentEditing::Entry AppointmentEditing::EntryAt(int row, int position) const
{
    const CTamberloDoc& doc = services_.edits.Document();
    Entry entry;
    entry.oid = TextToInt(doc.ApptOid(row, position));
    entry.holiday = doc.ApptStoreIndex(row, position) < 0 || entry.oid <= 0;
    entry.state = doc.EntryState(row, position);
    entry.exceptionNo = doc.ApptExceptionNo(row, position);
    entry.day = SystemTimeToVariantTime(TruncateSystemTime(AddDays(doc.GetShownStart(), row), 3));
    return entry;
}

bool AppointmentEditing::AskRecurringChange(const Entry& entry, int* outcome)
{
    *outcome = LastEditResult::kSaved;
    if (entry.state == 0) {
        return true;
    }
    CRecurConfirmDlg confirm(entry.state, services_.settings, services_.messages, services_.parent);
    if (services_.dialogs.Run(confirm) != DialogAccepted) {
        return false;
    }
    *outcome = services_.settings.GetLastEditResult();
    return true;
}

ReadResult AppointmentEditing::ReadOccurrence(const Entry& entry)
{
    if (entry.state == 1) {
        return services_.edits.ReadOccurrenceCovering(entry.oid, entry.day);
    }
    return services_.edits.ReadException(entry.oid, entry.exceptionNo);
}

Redraw AppointmentEditing::Edit(int row, int position)
{
    const Entry entry = EntryAt(row, position);
    if (entry.holiday) {
        ShowWarning(services_.messages, res::IDS_FAIL_GET_DATA);
        return Redraw::kNothing;
    }
    int outcome = 0;
    if (!AskRecurringChange(entry, &outcome)) {
        return Redraw::kNothing;
    }
    if (outcome == LastEditResult::kClearAllExceptions) {
        ScheduleChange clear{ChangeKind::kCancelException, {pim::kAppointmentKind, entry.oid, 0.0}};
        clear.exceptionNo = -1;
        return ApplyChange(clear);
    }
    if (outcome != LastEditResult::kDeleted) {
        const ReadResult series = services_.edits.Read({pim::kAppointmentKind, entry.oid, 0.0});
        return Open(series, false, false, false, -1);
    }
    if (entry.state == 4) {
        return RecoverDeleted(entry);
    }
    const ReadResult occurrence = ReadOccurrence(entry);
    return Open(occurrence, false, true, entry.state == 1,
                entry.state == 1 ? -1 : entry.exceptionNo);
}

Redraw AppointmentEditing::RecoverDeleted(const Entry& entry)
{
    if (entry.exceptionNo < 1) {
        ShowError(services_.messages, res::IDS_FAIL_GET_APPOINT);
        return Redraw::kNothing;
    }
    if (!ConfirmOk(services_.messages, res::IDS_RECOVER_DELETED)) {
        return Redraw::kNothing;
    }
    ScheduleChange recover{ChangeKind::kCancelException, {pim::kAppointmentKind, entry.oid, 0.0}};
    recover.exceptionNo = entry.exceptionNo;
    return ApplyChange(recover);
}

Redraw AppointmentEditing::Delete(int row, int position)
{
    const Entry entry = EntryAt(row, position);
    int outcome = 0;
    if (entry.holiday || !AskRecurringChange(entry, &outcome)) {
        return Redraw::kNothing;
    }
    ScheduleChange change{ChangeKind::kDelete, {pim::kAppointmentKind, entry.oid, 0.0}};
    if (outcome == LastEditResult::kClearAllExceptions) {
        change.what = ChangeKind::kCancelException;
        change.exceptionNo = -1;
        return ApplyChange(change);
    }
    if (outcome == LastEditResult::kDeleted) {
        if (entry.state == 4) {
            return Redraw::kNothing; // that occurrence is deleted already
        }
        const ReadResult occurrence = ReadOccurrence(entry);
        if (occurrence.status != EditStatus::kDone) {
            ReportEditFailure(services_, occurrence.status);
            return Redraw::kNothing;
        }
        change.item = occurrence.item;
        change.before = occurrence.values;
    } else if (const ReadResult series = services_.edits.Read(change.item);
               series.status == EditStatus::kDone) {
        change.before = series.values;
    }
    // What the user agrees to delete is the item as read now: a change another program makes
    // while the question is open is not deleted unasked.
    if (!ConfirmDelete(services_.messages, pim::kAppointmentKind, change.before)) {
        return Redraw::kNothing;
    }
    return ApplyChange(change);
}

Redraw AppointmentEditing::Answer(int row, int position, const std::string& partstat)
{
    const Entry entry = EntryAt(row, position);
    if (entry.holiday) {
        return Redraw::kNothing;
    }
    AnswerRead answer = ReadAnswer(entry.oid, partstat);
    if (answer.status != EditStatus::kDone) {
        ReportEditFailure(services_, answer.status);
        return Redraw::kNothing;
    }
    if (!answer.invited) {
        ShowWarning(services_.messages, res::IDS_MEETING_NOT_INVITED);
        return Redraw::kNothing;
    }
    return answer.change ? ApplyChange(std::move(*answer.change)) : Redraw::kNothing;
}

AppointmentEditing::AnswerRead AppointmentEditing::ReadAnswer(int32_t oid,
                                                              const std::string& partstat)
{
    AnswerRead answer;
    std::optional<pim::StoredItem> stored;
    answer.status = services_.edits.ReadStored(pim::kAppointmentKind, oid, stored);
    if (answer.status != EditStatus::kDone) {
        return answer;
    }
    std::optional<pim::StoredItem> answered =
        ical::AnsweredItem(*stored, OwnAddressesOf(services_), partstat);
    answer.invited = answered.has_value();
    if (answered && *answered != *stored) {
        answer.change.emplace(ChangeKind::kRestore, ItemRef{pim::kAppointmentKind, oid, 0.0});
        answer.change->whole = std::move(answered);
    }
    return answer;
}

Redraw AppointmentEditing::ApplyChange(ScheduleChange change)
{
    const EditResult result = ApplyOrConfirm(services_, std::move(change), nullptr);
    ReportEditFailure(services_, result.status);
    return result.redraw;
}

Redraw AppointmentEditing::Open(const ReadResult& read, bool isNew, bool exceptionMode,
                                bool newException, int exceptionNo)
{
    if (read.status != EditStatus::kDone) {
        return ReportUnreadItem(services_, read);
    }
    EditorChanges changes(services_, read, isNew);
    ItemRef item = read.item;
    item.kind = pim::kAppointmentKind;
    while (changes.NextRound()) {
        CAppointDetailDlg::Commits commits;
        const auto save = [&](const ItemValues& values) { return changes.Save(item, values); };
        commits.save = save;
        // The form with the answer, then the changed occurrences: one step to undo.
        commits.answer = [&](const ItemValues& values, const std::string& partstat) {
            const UndoStep step(services_.undo, UndoAction::kEdit);
            const EditStatus saved = save(values);
            if (saved != EditStatus::kDone) {
                return saved;
            }
            AnswerRead occurrences = ReadAnswer(item.oid, partstat);
            if (!occurrences.change) {
                return occurrences.status;
            }
            const EditResult result = services_.edits.Apply(std::move(*occurrences.change));
            changes.Note(result.redraw);
            return result.status;
        };
        commits.remove = [&] { return changes.Apply({ChangeKind::kDelete, item}); };
        commits.cancelException = [&] {
            ScheduleChange cancel{ChangeKind::kCancelException,
                                  {pim::kAppointmentKind, item.oid, 0.0}};
            cancel.exceptionNo = exceptionNo;
            // Its values are the series', not the occurrence's the editor was opened on.
            const EditResult result = services_.edits.Apply(cancel);
            changes.Note(result.redraw);
            return result.status;
        };
        CAppointDetailDlg::Setup setup{isNew, exceptionMode, newException, exceptionNo};
        CAppointDetailDlg dialog(changes.Shown(), setup, std::move(commits), services_);
        services_.dialogs.Run(dialog);
    }
    return changes.Result();
}
