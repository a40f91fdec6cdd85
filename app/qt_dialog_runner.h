// The dialog runner of the running program: Qt's modal loop, each dialog first fitted to the
// screen it opens on.
#pragma once

#include <QRect>

#include "platform/dialog_runner.h"

// The size a window's own area may take on a screen whose available area is `available`: what
// is left beside its title bar and borders.
QSize RoomInside(const QRect& available);

// Keeps `dialog` inside `available` (a screen's available area, title bar and borders
// included): a larger size shrinks to it, and content that cannot shrink that far scrolls
// inside while a closing button box stays in view below it.
void FitToScreen(QDialog& dialog, const QRect& available);

class QtDialogRunner : public DialogRunner {
public:
    int Run(QDialog& dialog) override;
};
