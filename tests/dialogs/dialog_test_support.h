// Drives the settings dialogs through their named controls, with scripted boxes and runner.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMetaProperty>
#include <algorithm>
#include <gtest/gtest.h>

#include "dialogs/settings_commands.h"
#include "dialogs/settings_controls.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"

// Sets a control's value or (`expect`) checks it; a number on a combo is its index, else the
// control's own value (text, date, slider); a null value presses the button.
struct Step {
    int id;
    QVariant value;
    bool expect = false;
};

// The settings that differ from the defaults as "Key=value" in their order, lists joined by "|".
inline std::string Changed(const AppSettings& settings)
{
    const AppSettings defaults;
    std::wstring out;
    const auto add = [&out](const wchar_t* key, const std::wstring& value) {
        out += (out.empty() ? L"" : L" ") + std::wstring(key) + L"=" + value;
    };
    for (int i = 0; i < kIntSettingCount; ++i) {
        if (settings.Get(IntSetting(i)) != defaults.Get(IntSetting(i))) {
            add(AppSettings::Info(IntSetting(i)).key, std::to_wstring(settings.Get(IntSetting(i))));
        }
    }
    for (int i = 0; i < kTextSettingCount; ++i) {
        if (settings.Get(TextSetting(i)) != defaults.Get(TextSetting(i))) {
            add(AppSettings::Info(TextSetting(i)).key, settings.Get(TextSetting(i)));
        }
    }
    for (int i = 0; i < kSettingsListCount; ++i) {
        std::wstring items = settings.GetListText(SettingsList(i));
        std::replace(items.begin(), items.end(), L'\x1f', L'|');
        if (!items.empty() || settings.GetListCount(SettingsList(i)) != 0) {
            add(AppSettings::Section(SettingsList(i)), items);
        }
    }
    return QString::fromStdWString(out).toStdString();
}

// A runner step that accepts the dialog after `fill` drove its controls.
inline ScriptedDialogRunner::Step AcceptAfter(const std::function<void(QDialog&)>& fill)
{
    return [fill](QDialog& dialog) {
        fill(dialog);
        dialog.accept();
        return dialog.result() == QDialog::Accepted ? DialogAccepted : DialogRejected;
    };
}

class DialogTest : public ::testing::Test {
protected:
    static Step Set(int id, QVariant value) { return {id, std::move(value)}; }
    static Step Is(int id, QVariant value) { return {id, std::move(value), true}; }
    static Step Press(int id) { return {id, QVariant()}; }
    static void Click(const QWidget& d, int id) { Control<QAbstractButton>(d, id)->click(); }
    static void Apply(const QWidget& dialog, const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            QWidget* control = Control(dialog, step.id);
            if (!step.value.isValid()) {
                qobject_cast<QAbstractButton*>(control)->click();
                continue;
            }
            const QMetaObject& meta = *control->metaObject();
            const bool index = qobject_cast<QComboBox*>(control) != nullptr &&
                               step.value.typeId() == QMetaType::Int;
            const QMetaProperty property =
                index ? meta.property(meta.indexOfProperty("currentIndex")) : meta.userProperty();
            if (step.expect) {
                EXPECT_EQ(property.read(control).toString().toStdString(),
                          step.value.toString().toStdString())
                    << "control " << step.id;
            } else {
                property.write(control, step.value);
            }
        }
    }
    // The warnings shown so far (from the `first` on), in order.
    std::vector<std::wstring> Warnings(size_t first = 0) const
    {
        std::vector<std::wstring> texts;
        for (size_t i = first; i < messages.shown().size(); ++i) {
            const auto& shown = messages.shown()[i];
            EXPECT_EQ(shown.caption, res::LoadString(res::IDS_WARNING));
            EXPECT_EQ(shown.flags, MB_OK | MB_ICONEXCLAMATION);
            texts.push_back(shown.text);
        }
        return texts;
    }
    AppSettings settings;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    SettingsDialogContext context{settings, messages, dialogs};
};
