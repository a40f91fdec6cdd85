// Copy, Cut and Paste of the view. The record names the item by its selection; the paste reads
// and writes it through the change path, so what is pasted is the item as the store holds it now.
#include "view/clipboard_editing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/string_table.h"
#include "view/schedule_source.h"
#include "view/view_editing_host.h"

namespace {

constexpr int64_t kSecondsPerMinute = 60;

} // namespace

ClipboardEditing::ClipboardEditing(ViewEditingHost& view, EditFeedback& feedback,
                                   const ViewEditServices& services)
    : view_(view), feedback_(feedback), services_(services)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        desktopNewer_ = (data == nullptr) || !IsOwnDesktopClip(*data);
    });
}

bool ClipboardEditing::HoldsItem() const
{
    return record_.HoldsItem() || ForeignClipNewer();
}

// A calendar from another program is pasted when the record is empty or older than it.
bool ClipboardEditing::ForeignClipNewer() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return (data != nullptr) && HasForeignCalendar(*data) &&
           (!record_.HoldsItem() || desktopNewer_);
}

bool ClipboardEditing::FillRecord(int operation)
{
    const ItemSelection& item = view_.State().selection;
    // A holiday line is no store item: refused now rather than at the paste.
    if (!item.IsStoreItem()) {
        record_.operation = ClipRecord::kEmpty;
        feedback_.Warn(res::IDS_FAIL_GET_DATA);
        return false;
    }
    record_.operation = operation;
    desktopNewer_ = false;
    record_.item = item;
    record_.sourceRow = view_.SelectedRow();
    const bool appointment = item.kind == ItemKind::Appointment;
    record_.startText = appointment
                            ? view_.EditedSchedule().StartText(record_.sourceRow, item.index)
                            : std::wstring();
    record_.allDay = appointment && view_.EditedSchedule().IsAllDay(record_.sourceRow, item.index);
    PutOnDesktop();
    view_.AfterAction();
    return true;
}

void ClipboardEditing::Copy()
{
    FillRecord(ClipRecord::kCopy);
}

void ClipboardEditing::Cut()
{
    if (view_.State().selection.kind == ItemKind::Task && view_.State().selection.recurring) {
        feedback_.Warn(res::IDS_CANT_CUT_RECURRING_TASK);
        return;
    }
    FillRecord(ClipRecord::kCut);
}

// The item as a copy would create it goes to the desktop; a failure to read it only leaves the
// desktop clipboard as it was.
void ClipboardEditing::PutOnDesktop() const
{
    if (services_.edits == nullptr) {
        return;
    }
    const ReadResult read = ReadSelectedItem(*services_.edits, record_.item);
    if (read.status != EditStatus::kDone) {
        return;
    }
    pim::StoredItem stored;
    stored.kind = record_.item.kind == ItemKind::Task ? pim::kTaskKind : pim::kAppointmentKind;
    stored.fields = read.values.fields;
    auto* data = new QMimeData;
    FillDesktopClip(*data, stored, GetLocalTime());
    QGuiApplication::clipboard()->setMimeData(data);
}

void ClipboardEditing::Paste(const std::optional<PixelPoint>& menuPoint)
{
    if (ForeignClipNewer()) {
        PasteForeign(ForeignCalendarItems(*QGuiApplication::clipboard()->mimeData()), menuPoint);
        return;
    }
    if (!record_.HoldsItem()) {
        feedback_.Warn(res::IDS_FAIL_GET_DATA);
        return;
    }
    if (services_.edits == nullptr) {
        return;
    }
    const bool task = record_.item.kind == ItemKind::Task;
    const bool wholeDays = task || record_.allDay;
    const SYSTEMTIME source = PasteSourceTime(record_.item.date, record_.startText, wholeDays);
    const SYSTEMTIME target = PasteTarget(source, wholeDays, menuPoint);
    const int minutes = static_cast<int>(SecondsBetween(source, target) / kSecondsPerMinute);
    const int days = DaysBetween(source, target);
    ItemMoves moves = feedback_.Moves();
    const bool cut = record_.operation == ClipRecord::kCut;
    const MoveResult result = feedback_.AsStep(cut ? UndoAction::kMove : UndoAction::kPaste, [&] {
        if (cut) {
            return task ? moves.MoveTask(record_.item, days)
                        : moves.MoveAppointment(record_.item, kDragMove, minutes);
        }
        return task ? moves.CopyTask(record_.item, days, target)
                    : moves.CopyAppointment(record_.item, minutes);
    });
    if (record_.operation == ClipRecord::kCut && result.status == MoveResult::Status::kDone) {
        FollowMovedItem(target, result);
    }
    feedback_.AfterChange(result);
}

SYSTEMTIME ClipboardEditing::PasteTarget(const SYSTEMTIME& source, bool wholeDays,
                                         const std::optional<PixelPoint>& menuPoint) const
{
    return PasteTargetTime(source, wholeDays, view_.Layout(), menuPoint,
                           view_.EditedSchedule().GetShownStart(), view_.State().selectedDate);
}

// After a cut-paste the record names the item where it lies now: its day, its start and, for an
// occurrence, its exception, so the next paste moves it again.
void ClipboardEditing::FollowMovedItem(const SYSTEMTIME& target, const MoveResult& moved)
{
    ClipRecord& r = record_;
    r.item.date = TruncateSystemTime(target, 3);
    if (r.item.kind != ItemKind::Appointment) {
        return;
    }
    if (moved.exceptionNo > 0) {
        r.item.exceptionNo = moved.exceptionNo;
    }
    // The target is the start rounded down to the half hour, moved; the minutes past it stay.
    if (!r.allDay && r.startText.size() >= 5) {
        const int pastHalfHour = TextToInt(r.startText.substr(3, 2)) % 30;
        r.startText = ClockText(
            AddSeconds(SystemTimeToVariantTime(target), int64_t{pastHalfHour} * kSecondsPerMinute));
    }
}

// Items from another program land on the target day as copies, each keeping its own time
// unless the menu point names one.
void ClipboardEditing::PasteForeign(const std::vector<pim::StoredItem>& items,
                                    const std::optional<PixelPoint>& menuPoint)
{
    if (items.empty()) {
        feedback_.Warn(res::IDS_CLIPBOARD_UNREADABLE);
        return;
    }
    if (services_.edits == nullptr) {
        return;
    }
    ItemMoves moves = feedback_.Moves();
    const auto pasteAll = [&] {
        MoveResult result;
        for (const pim::StoredItem& item : items) {
            const bool task = item.kind == pim::kTaskKind;
            const pim::ItemFields& f = item.fields;
            const DATE at = !task ? f.Start : IsTaskDate(f.DueDate) ? f.DueDate : f.StartDate;
            int minutes = 0;
            if (!task || IsTaskDate(at)) {
                const SYSTEMTIME start = VariantTimeToSystemTime(at);
                const bool wholeDays = task || f.AllDayEvent;
                const SYSTEMTIME source = PasteSourceTime(start, ClockText(start), wholeDays);
                const SYSTEMTIME target = PasteTarget(source, wholeDays, menuPoint);
                minutes = static_cast<int>(SecondsBetween(source, target) / kSecondsPerMinute);
            }
            result = moves.AddShifted(item, minutes);
            if (result.status != MoveResult::Status::kDone) {
                break;
            }
        }
        return result;
    };
    const MoveResult result =
        feedback_.AsStep(UndoAction::kPaste, pasteAll); // all of them are one step
    feedback_.AfterChange(result);
}
