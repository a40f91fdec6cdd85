// The view's context menu: the entries of the context menu resource, each enabled as its
// command is now, shown at a point of the screen.
#pragma once

#include <QPoint>

class CommandTable;
class QWidget;

// Shows the menu over `parent` at `global` and answers the chosen command (0: none).
int RunContextMenu(QWidget& parent, const CommandTable& commands, const QPoint& global);
