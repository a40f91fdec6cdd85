// What the keys, the hardware buttons and the wheel work on besides what the pointer handling
// does: the parts of the view they move and the repaints that follow. The view implements it.
#pragma once

#include <QRect>
#include <QSignalBlocker>
#include <Qt>
#include <string>

#include "view/display_switches.h"
#include "view/item_selection.h"
#include "view/view_editing_host.h"
#include "view/view_state.h"

// What the keys work on besides what the pointer handling does.
class ViewKeysHost : public ViewEditingHost {
public:
    virtual const DisplaySwitches& Switches() const = 0;
    virtual const HourWindow& Hours() const = 0;
    virtual void MoveHourWindow(int firstHour) = 0;
    virtual void ScrollDetail(int lines) = 0;
    virtual void UpdateRow(int row) = 0;
    virtual void Repaint(const QRect& area) = 0;
    virtual void RepaintAll() = 0;
    // Moves the pixels of `area` by `dy`, exposing what has to be painted anew.
    virtual void ScrollPixels(int dy, const QRect& area) = 0;
    virtual void ReloadSchedule() = 0;
    // The keyboard's item edits (see KeyboardEditing); true when the key was one of them.
    virtual bool KeyboardEdit(int qtKey, Qt::KeyboardModifiers modifiers) = 0;
    // Ends a drag without saving; true when there was one.
    virtual bool CancelDrag() = 0;
    // Selects `hour` (0..23) of the selected day, the hour window moved to show it.
    virtual void SelectHour(int hour) = 0;
    // After a change moved an item: its new day selected and on it the entry of `kind` with
    // `oid` and exception number `exceptionNo` (-1: any).
    virtual void FollowItem(const SYSTEMTIME& date, ItemKind kind, const std::wstring& oid,
                            int exceptionNo) = 0;
    // The selection or the switches changed: enable states and a screen reader follow.
    virtual void TellCommandStateChanged() = 0;
    // Holds the view's signals back while it lives, so a change that clears the selection and
    // brings it back is heard as one step.
    virtual QSignalBlocker HoldSignals() = 0;

protected:
    ~ViewKeysHost() = default;
};
