// The main window: the menu bar "Function"/"Tool", the command bar with its tooltips, and the
// schedule view in the middle. Every menu command goes through the command router.
#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "platform/command_table.h"
#include "platform/systemtime.h"
#include "res/menus.h"

class CTamberloView;
class QRect;
class QSize;
class QMenu;
class QToolBar;

// The default window size fitted into `available` (a screen's area without panels), centred.
QRect FittedWindowRect(QSize wanted, const QRect& available);

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // saveSettings runs at "Exit" and when the window closes; quit ends the event loop.
    CMainFrame(std::function<void()> saveSettings, std::function<void()> quit);
    ~CMainFrame() override;

    // The frame's place in the command chain: after the view and the document.
    const CommandTable& Commands() const { return commands_; }
    // Makes the view the central widget and sets the chain the menus dispatch through.
    void SetView(CTamberloView* view, const CommandRouter* router);
    // Puts `bar` between the menu and the view (the find bar); it shows and hides itself.
    void AddBarAboveView(QWidget* bar);
    CTamberloView* View() const { return view_; }
    // Shows `day` in the view and brings the window up (a reminder's "Open").
    void ShowDay(const SYSTEMTIME& day);
    // Un-minimised, raised and active.
    void ComeToFront();

    // Brings every command's enable state, check mark and text in step with the update
    // handlers: the menus, the command bar and the keys (after a selection or an action).
    void UpdateCommands();

    // The window's place and size as Qt saves them, in base64 for the profile.
    std::string SavedGeometry() const;
    // Restores `saved`; on a first start, or when `saved` is unusable, the window takes its
    // default size, made to fit the available area of its screen and centred there.
    void PlaceWindow(const std::string& saved);
    // Which docks are open, where and how wide, as Qt saves them, in base64 for the profile.
    std::string SavedDocks() const;
    // Restores `saved`; an empty or unusable value leaves the docks as they were made.
    void PlaceDocks(const std::string& saved);

    const std::vector<std::wstring>& toolTipTexts() const { return toolTipTexts_; }
    QToolBar* CommandBar() const { return commandBar_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenuBar();
    void AddMenuItems(QMenu* menu, const std::vector<res::MenuItem>& items);
    // The shown text of an action: `text` with the action's underlined letter.
    static QString ShownText(const QAction* action, const std::wstring& text);
    void BuildCommandBar();
    void AttachKeys();
    void UpdateMenu(QMenu* menu);
    void UpdateActions(const QList<QAction*>& actions);
    void Dispatch(int id);

    std::function<void()> saveSettings_;
    std::function<void()> quit_;
    CommandTable commands_;
    const CommandRouter* router_ = nullptr;
    CTamberloView* view_ = nullptr;
    QToolBar* commandBar_ = nullptr;
    std::vector<std::wstring> toolTipTexts_;
    // Every action that stands for a command: menu items, command bar buttons, key-only ones.
    QList<QAction*> commandActions_;
};
