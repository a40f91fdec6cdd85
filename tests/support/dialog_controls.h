// Finding a dialog's controls by their ids and asking where the focus went, for the widget
// tests of the editors and the settings dialogs.
#pragma once

#include <QDialog>
#include <gtest/gtest.h>

#include "editors/editor_controls.h"

template <typename Widget = QWidget> Widget* Control(const QWidget& dialog, int id)
{
    auto* widget = dialog.findChild<Widget*>(ControlName(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

// True when the dialog's focus is on the control or inside it (an editable combo's field).
inline bool FocusIsOn(const QWidget& dialog, int id)
{
    const QWidget* control = Control<QWidget>(dialog, id);
    const QWidget* focus = dialog.focusWidget();
    return control && focus && (focus == control || control->isAncestorOf(focus));
}
