// The view's input events handed to its key controls and tooltips, the focus areas, the repaints
// the controls ask for, and the detail list's line map and scrolling. The rest of the view is in
// tamberlo_view.cpp.
#include "view/tamberlo_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "model/date_time.h"
#include "view/gantt_geometry.h"
#include "view/item_tooltip.h"
#include "view/keyboard_editing.h"
#include "view/paint_reach.h"
#include "view/schedule_source.h"
#include "view/task_detail_painter.h"

bool CTamberloView::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            return MoveFocusArea(key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier);
        }
    }
    // The Menu key opened the menu at its press already; the desktop may follow it with this.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        return true;
    }
    // A desktop turning dark or light redraws with the matching colours.
    if (event->type() == QEvent::PaletteChange) {
        SettingsChanged();
    }
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::wstring text = ToolTipText(help->pos());
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdWString(text), this);
        }
        return true;
    }
    return QWidget::event(event);
}

std::wstring CTamberloView::ToolTipText(QPoint at)
{
    Relayout();
    return ToolTipAt(editing_->Input(), schedule_, settings_.draw, at.x(), at.y(),
                     state_.detailScroll, CurrentDetailLines().total);
}

bool CTamberloView::MoveFocusArea(bool forward)
{
    editing_->CancelDrag();
    state_.keyFocusArea =
        keys::NextFocusArea(state_.keyFocusArea, forward, switches_.InfoAreaVisible);
    update();
    AfterAction();
    return true;
}

void CTamberloView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CTamberloView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CTamberloView::keyPressEvent(QKeyEvent* event)
{
    if (!keys_.KeyPress(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
    }
}

void CTamberloView::wheelEvent(QWheelEvent* event)
{
    keys_.Wheel(event->angleDelta(), event->position().toPoint(), event->modifiers());
}

bool CTamberloView::KeyboardEdit(int qtKey, Qt::KeyboardModifiers modifiers)
{
    return KeyboardEditing(*this, *editing_).KeyPress(qtKey, modifiers);
}

bool CTamberloView::CancelDrag()
{
    return editing_->CancelDrag();
}

void CTamberloView::MoveHourWindow(int firstHour)
{
    if (firstHour == hours_.firstHour) {
        return;
    }
    hours_.firstHour = firstHour;
    update();
}

void CTamberloView::UpdateRow(int row)
{
    if (row < 0 || row >= layout_.dayRowCount) {
        return;
    }
    update(reach::FramedRow(layout_, row));
}

void CTamberloView::UpdateFramesAndDetail()
{
    update(reach::Header(layout_));
    UpdateDetail();
}

// The frame's reach only when no line is or was framed: the wider one would take every row of the
// chart's right edge column to repaint.
void CTamberloView::UpdateDetail()
{
    update(reach::Detail(layout_, detailLineFramed_ || state_.selection.line >= 0));
}

void CTamberloView::ScrollDetail(int lines)
{
    const DetailLines& shown = CurrentDetailLines();
    const int last = std::max(0, shown.total - layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll + lines, 0, last);
    if (scroll == state_.detailScroll) {
        return;
    }
    state_.detailScroll = scroll;
    UpdateDetail();
}

bool CTamberloView::DetailLinesKey::operator==(const DetailLinesKey& other) const
{
    return DaysBetween(first, other.first) == 0 && row == other.row && scroll == other.scroll;
}

CTamberloView::DetailLinesKey CTamberloView::CurrentDetailKey() const
{
    return {schedule_.GetShownStart(), SelectedRow(), state_.detailScroll};
}

void CTamberloView::ReloadSchedule()
{
    schedule_.Reload();
    detailLinesFor_.reset();
}

// The line map of the last paint when it shows the same period, day and scroll; otherwise the
// detail pass runs again without drawing anything visible.
const DetailLines& CTamberloView::CurrentDetailLines()
{
    const DetailLinesKey wanted = CurrentDetailKey();
    if (detailLinesFor_ == wanted) {
        return detailLines_;
    }
    Relayout();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const TextSink quiet;
    const GanttGeometry geometry(layout_);
    detailLines_ = TaskDetailPainter(::MakePaintContext(painter, geometry, Picture(quiet)))
                       .PaintDetail(wanted.row, wanted.scroll, -1);
    detailLinesFor_ = wanted;
    return detailLines_;
}

bool CTamberloView::ScrollDetailToLine(int line)
{
    const int visible = std::max(1, layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll, line - visible + 1, line);
    if (scroll == state_.detailScroll) {
        return false;
    }
    state_.detailScroll = scroll;
    return true;
}

// The line map depends on the scroll (lines a category hides count only outside the shown
// window), so the selection is read from the map of the scroll it is shown at.
void CTamberloView::SelectDetailLine(int line)
{
    const DetailLines& lines = CurrentDetailLines();
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines) {
        return;
    }
    state_.keyFocusArea = keys::kDetail;
    ScrollDetailToLine(line);
    state_.selection =
        SelectionOfLine(CurrentDetailLines(), line, SelectedRow(), schedule_, state_.selectedDate);
    UpdateDetail();
    emit CommandStateChanged();
}

bool CTamberloView::SelectItem(ItemKind kind, const std::wstring& oid)
{
    ClearItemSelection();
    if (SelectEntry(kind, oid, -1)) {
        state_.keyFocusArea = keys::kDetail;
    }
    update();
    emit CommandStateChanged();
    return state_.selection.HasItem();
}
