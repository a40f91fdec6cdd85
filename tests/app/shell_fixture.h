// The program's window over a temporary profile and store, with scripted boxes and dialogs.
#pragma once

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

#include "app/main_frame.h"
#include "app/tamberlo_app.h"
#include "platform/clock.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "tests/support/temp_paths.h"

class ShellTest : public ::testing::Test {
protected:
    // Starts the program on `store` (the temp store by default) with Monday 7 December 2026.
    CTamberloApp& Start(const std::string& profile = {}, const std::string& store = {})
    {
        app = std::make_unique<CTamberloApp>(AppEnvironment{
            profile.empty() ? paths.ProfilePath() : profile,
            store.empty() ? paths.StorePath() : store, &messages, runner, false, arguments});
        EXPECT_TRUE(app->InitInstance());
        return *app;
    }
    QAction* FindCommand(int id)
    {
        return app->MainFrame()->findChild<QAction*>(QString("command%1").arg(id));
    }
    // Runs the update handlers of the menu that holds the action, as opening it does.
    QAction* Opened(int id)
    {
        QAction* action = FindCommand(id);
        for (QMenu* menu : app->MainFrame()->findChildren<QMenu*>()) {
            if (action != nullptr && menu->actions().contains(action)) {
                emit menu->aboutToShow();
            }
        }
        return action;
    }
    QAction* BarButton(int id)
    {
        for (QAction* button : app->MainFrame()->CommandBar()->actions()) {
            if (button->data().toInt() == id) {
                return button;
            }
        }
        return nullptr;
    }
    // Answers the next file dialog with `path`.
    void ChooseFile(const std::string& path)
    {
        dialogs.Queue([path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path));
            return DialogAccepted;
        });
    }
    void TearDown() override
    {
        if (app && app->MainFrame() != nullptr) {
            app->MainFrame()->close();
        }
    }
    const FixedClock clock{MakeSystemTime(2026, 12, 7, 10, 30)};
    const ScopedClock fixedNow{clock};
    TempPaths paths;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    DialogRunner* runner = nullptr; // without it the editors and dialogs stay detached
    std::vector<std::string> arguments;
    std::unique_ptr<CTamberloApp> app;
};
