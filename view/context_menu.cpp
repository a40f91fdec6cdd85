// Entries are enabled from the command table at the moment the menu opens, as the main menu's.
#include "view/context_menu.h"

#include <QAction>
#include <QMenu>

#include "platform/command_table.h"
#include "res/menus.h"

int RunContextMenu(QWidget& parent, const CommandTable& commands, const QPoint& global)
{
    QMenu menu(&parent);
    for (const res::MenuItem& item : res::LoadMenu(res::IDM_CONTEXT)) {
        if (item.IsSeparator()) {
            menu.addSeparator();
            continue;
        }
        CommandUpdate update;
        commands.Update(item.id, update);
        QAction* action = menu.addAction(QString::fromStdWString(item.text));
        action->setEnabled(update.enabled);
        action->setData(item.id);
    }
    const QAction* chosen = menu.exec(global);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}
