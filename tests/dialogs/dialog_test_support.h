// Drives the settings dialogs through their named controls, with the settings, the scripted
// message boxes and the scripted dialog runner a test needs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "dialogs/dialog_controls.h"
#include "dialogs/settings_commands.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"

template <typename Widget = QWidget> Widget* Control(const QWidget& dialog, int id)
{
    auto* control = dialog.findChild<Widget*>(ControlName(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

inline void Click(const QWidget& dialog, int id) { Control<QAbstractButton>(dialog, id)->click(); }
inline void Type(const QWidget& dialog, int id, const QString& text)
{
    if (auto* combo = dialog.findChild<QComboBox*>(ControlName(id))) {
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
    // The control that has (or will get) the keyboard focus.
    static int FocusedControl(const QDialog& dialog)
    {
        const QWidget* focus = dialog.focusWidget();
        while (focus && focus->objectName().isEmpty()) {
            focus = focus->parentWidget();
        }
        return focus ? focus->objectName().toInt() : 0;
    }

    AppSettings settings;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    SettingsDialogContext context{settings, messages, dialogs};
};
