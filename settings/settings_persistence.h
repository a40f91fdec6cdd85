// Moving AppSettings to and from the application profile, and reading a settings file that
// replaces parts of the settings at once.
#pragma once

#include <string>

class AppSettings;
class Profile;

// Every setting from the profile, the default for each absent value. A list's Count is believed
// only as far as the profile could hold that many values and up to
// AppSettings::kMaxListElements, so a hand-edited huge count cannot make the load run away.
// A profile opened where no file stood (the first start) shows whole subjects.
void LoadSettings(AppSettings& settings, const Profile& profile);

// Every setting into the profile; false when the profile could not be written.
bool SaveSettings(const AppSettings& settings, Profile& profile);

// What reading a settings file did: whether it was read to its end, and how many of its value
// lines set a setting (list elements, category texts and listed keys).
struct SettingsFileRead {
    bool complete = false;
    int settingsRead = 0;
};

// Reads a settings file (UTF-8, Latin-1 where a byte is not valid UTF-8) into `settings`, line
// by line as it goes, in bounded memory whatever the file's size.
SettingsFileRead ReadSettingsFile(AppSettings& settings, const std::string& path);
// The same, 1 when the file was read to its end, 0 when it could not be opened or read.
int ImportSettingsFile(AppSettings& settings, const std::string& path);
