// Driving the item editors by their controls' ids: clicks, typed texts and the settings and
// message boxes every editor test starts from.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <gtest/gtest.h>

#include "platform/message_service.h"
#include "platform/systemtime.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"

// A day of December 2026 at a time of day.
inline DATE At(int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, hour, minute));
}

inline void Click(QDialog& dialog, int id)
{
    Control<QAbstractButton>(dialog, id)->click();
}

inline void Type(QDialog& dialog, int id, const QString& text)
{
    Control<QComboBox>(dialog, id)->setEditText(text);
}

inline QString Text(QDialog& dialog, int id)
{
    return Control<QComboBox>(dialog, id)->currentText();
}

// Settings whose first shown day is today and whose time list holds two usable entries and one
// that the time combos leave out, and the scripted message boxes.
class DialogTest : public ::testing::Test {
protected:
    DialogTest()
    {
        settings_.SetCntFromToday(0);
        settings_.SetList(SettingsList::SelMinuteInfo,
                          L"09:00\x1f"
                          L"09:30\x1f"
                          L"9:5\x1f",
                          3);
    }

    const std::wstring& LastMessage() const { return messages_.shown().back().text; }

    AppSettings settings_;
    ScriptedMessageService messages_;
};
