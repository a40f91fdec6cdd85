// The view's keys, hardware buttons and wheel: what a key or a notch moves (the period, the
// selected row, the hour window, the detail lines, the key focus) and the least it must repaint
// for it. The view forwards its key and wheel events here.
#pragma once

#include <QPoint>
#include <Qt>

#include "view/key_input.h"
#include "view/navigation.h"
#include "view/view_keys_host.h"

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
