// Delimited lists, and the check that what a load gave comes back from a save and a second load.
#pragma once

#include <gtest/gtest.h>
#include <string>

#include "platform/profile.h"
#include "settings/app_settings.h"
#include "settings/settings_persistence.h"
#include "tests/support/temp_paths.h"

inline std::wstring Elements(std::initializer_list<std::wstring> elements)
{
    std::wstring text;
    for (const std::wstring& element : elements) {
        text += element + L'\x1F';
    }
    return text;
}

// Every value of `saved` comes back from the profile a save wrote.
inline void ExpectSaveAndLoadKeep(const AppSettings& saved, const std::string& profilePath)
{
    {
        Profile profile(profilePath);
        ASSERT_TRUE(SaveSettings(saved, profile));
    }
    AppSettings again;
    LoadSettings(again, Profile(profilePath));
    for (int i = 0; i < kIntSettingCount; ++i) {
        EXPECT_EQ(again.Get(IntSetting(i)), saved.Get(IntSetting(i))) << "integer " << i;
    }
    for (int i = 0; i < kTextSettingCount; ++i) {
        EXPECT_EQ(again.Get(TextSetting(i)), saved.Get(TextSetting(i))) << "text " << i;
    }
    for (int i = 0; i < kSettingsListCount; ++i) {
        const auto list = SettingsList(i);
        EXPECT_EQ(again.GetListCount(list), saved.GetListCount(list)) << "list " << i;
        for (int n = 0; n < saved.GetListCount(list); ++n) {
            EXPECT_EQ(again.GetListItem(list, n), saved.GetListItem(list, n));
        }
    }
}
