// The view's keys, hardware buttons and wheel: what a key or a notch moves (the period, the
// selected row, the hour window, the detail lines, the key focus) and the least it must repaint
// for it. The view forwards its key and wheel events here.
#pragma once

#include <QPoint>
#include <QRect>
#include <Qt>

#include "view/display_switches.h"
#include "view/key_input.h"
#include "view/navigation.h"
#include "view/period_controls.h"
#include "view/view_editing_host.h"

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

protected:
    ~ViewKeysHost() = default;
};

class ViewKeys {
public:
    explicit ViewKeys(ViewKeysHost& view) : view_(view) {}

    // False when the key is none of the view's, for the widget to pass on.
    bool KeyPress(int qtKey, Qt::KeyboardModifiers modifiers);
    // A notch is one step; a touchpad's small deltas add up to one.
    void Wheel(QPoint angleDelta, QPoint at, Qt::KeyboardModifiers modifiers);

private:
    void RunKey(keys::Action action);
    void ButtonEnter();
    void MoveInBody(nav::BodyKey key, bool keepRow = false);
    void ScrollBodyOnScreen(int periodDays, int oldRow, const SYSTEMTIME& oldFirst);
    int HourKeyStep(bool later) const;

    ViewKeysHost& view_;
    int wheelAccumulator_ = 0;
};
