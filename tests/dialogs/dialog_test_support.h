// Drives the settings dialogs through their named controls, with the settings, the scripted
// message boxes and the scripted dialog runner a test needs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "dialogs/settings_commands.h"
#include "dialogs/settings_controls.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"

inline void Click(const QWidget& dialog, int id)
{
    Control<QAbstractButton>(dialog, id)->click();
}
inline void Type(const QWidget& dialog, int id, const QString& text)
{
    if (auto* combo = qobject_cast<QComboBox*>(FindControl(dialog, id))) {
        combo->setEditText(text);
    } else {
        Control<QLineEdit>(dialog, id)->setText(text);
    }
}
inline void Select(const QWidget& dialog, int id, int index)
{
    Control<QComboBox>(dialog, id)->setCurrentIndex(index);
}
inline int Selected(const QWidget& dialog, int id)
{
    return Control<QComboBox>(dialog, id)->currentIndex();
}

// Every setting of `actual` equals the one of `expected`; names the first that differs.
inline void ExpectSameSettings(const AppSettings& actual, const AppSettings& expected)
{
    for (int i = 0; i < kIntSettingCount; ++i) {
        const auto setting = static_cast<IntSetting>(i);
        EXPECT_EQ(actual.Get(setting), expected.Get(setting)) << "int setting " << i;
    }
    for (int i = 0; i < kTextSettingCount; ++i) {
        const auto setting = static_cast<TextSetting>(i);
        EXPECT_EQ(actual.Get(setting), expected.Get(setting)) << "text setting " << i;
    }
    for (int i = 0; i < kSettingsListCount; ++i) {
        const auto list = static_cast<SettingsList>(i);
        EXPECT_EQ(actual.GetListCount(list), expected.GetListCount(list)) << "list " << i;
        EXPECT_EQ(actual.GetListText(list), expected.GetListText(list)) << "list " << i;
    }
}

// A runner step that accepts the dialog after `fill` drove its controls.
inline ScriptedDialogRunner::Step AcceptAfter(std::function<void(QDialog&)> fill)
{
    return [fill](QDialog& dialog) {
        fill(dialog);
        dialog.accept();
        return dialog.result() == QDialog::Accepted ? DialogAccepted : DialogRejected;
    };
}

class DialogTest : public ::testing::Test {
protected:
    // The warnings shown so far, in order.
    std::vector<std::wstring> Warnings() const
    {
        std::vector<std::wstring> texts;
        for (const auto& shown : messages.shown()) {
            EXPECT_EQ(shown.caption, res::LoadString(res::IDS_WARNING));
            EXPECT_EQ(shown.flags, MB_OK | MB_ICONEXCLAMATION);
            texts.push_back(shown.text);
        }
        return texts;
    }
    // Presses OK on a shown dialog; true when it closed.
    static bool PressOk(QDialog& dialog)
    {
        dialog.show();
        Click(dialog, 1);
        return dialog.result() == QDialog::Accepted;
    }

    AppSettings settings;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    SettingsDialogContext context{settings, messages, dialogs};
};
