// The view's pointer input and the changes it makes to items: a press selects (and may start a
// drag), moves draw the ghost over the rows, a release saves through the change path; double
// clicks edit, the right button and press-and-hold open the context menu; Copy, Cut and Paste go
// to its clipboard editing. It works on the view through its editing host.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <optional>

#include "model/schedule_edits.h"
#include "model/undo_stack.h"
#include "view/clipboard_editing.h"
#include "view/drag_edit.h"
#include "view/edit_feedback.h"
#include "view/item_moves.h"
#include "view/pointer_input.h"
#include "view/view_editing_host.h"

class QMouseEvent;
class QPainter;
class QWidget;

class ViewEditing : public QObject {
public:
    // Shows the context menu at a global point and answers the chosen command (0: none).
    using MenuRunner = std::function<int(const QPoint& global)>;

    // A child of `widget`, the view's own, which `view` is the host of.
    ViewEditing(ViewEditingHost& view, QWidget& widget);

    void SetServices(ViewEditServices services) { services_ = std::move(services); }
    void SetMenuRunner(MenuRunner runner) { menuRunner_ = std::move(runner); }

    void Press(QMouseEvent* event);
    void Move(QMouseEvent* event);
    void Release(QMouseEvent* event);
    void DoubleClick(QMouseEvent* event);
    // A key ends a drag; true when one was cancelled (nothing is saved).
    bool CancelDrag();
    void PaintOverlay(QPainter& painter) const;
    bool Dragging() const { return mode_ != kNoDrag; }

    void Copy() { clipboard_.Copy(); }
    void Cut() { clipboard_.Cut(); }
    // From the context menu the target is the point the menu was opened at.
    void Paste(bool atMenuPoint) { clipboard_.Paste(atMenuPoint ? menuPoint_ : std::nullopt); }
    void EditSelected();
    // Moves the grabbed ends of the selected appointment (all of it, its start or its end) by
    // `minutes`, or the selected task by `days`: one undo step through the change path, its
    // failures told. A drag's release and the editing keys both end here.
    MoveResult MoveSelectedAppointment(DragMode mode, int minutes);
    MoveResult MoveSelectedTask(int days);
    // The context menu at a point of the view; none outside the chart or with the menu off.
    void OpenContextMenu(QPoint at);
    bool ClipboardHoldsItem() const { return clipboard_.HoldsItem(); }
    const ClipRecord& Record() const { return clipboard_.Record(); }

    // The hit tests over the view as drawn now (tooltips ask them too).
    PointerInput Input() const;

private:
    void SelectHitItem(const PressHit& hit);
    void PressBody(const PressHit& hit, PixelPoint at);
    void PressOutside(const PressHit& hit);
    std::optional<Ghost> GhostFor(PixelPoint now) const;
    void SetGhost(std::optional<Ghost> ghost);
    void UpdateGhostRows(const Ghost& ghost);
    void ApplyRelease(const DragOutcome& outcome, DragMode mode);
    void UpdateCursor(PixelPoint at);
    DATE RowDateTime(int minutes) const;

    ViewEditingHost& view_;
    QWidget& widget_;
    ViewEditServices services_;
    EditFeedback feedback_{view_, services_};
    MenuRunner menuRunner_;
    QTimer holdTimer_;
    quint64 downTimestamp_ = 0; // the press event's own time, in milliseconds

    DragMode mode_ = kNoDrag;
    Release::Hit hit_ = Release::Hit::kNone;
    bool fromMouse_ = true;
    bool moved_ = false;
    bool pressSelectedItem_ = false; // the last press took an item itself
    PixelPoint down_;
    PixelPoint last_;
    ItemSpan span_;
    std::optional<Ghost> ghost_;

    ClipboardEditing clipboard_{view_, feedback_, services_};
    std::optional<PixelPoint> menuPoint_; // where the context menu was last opened
};
