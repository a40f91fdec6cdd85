// One call per settings dialog for the command handlers: each builds its dialog over the
// settings, runs it through the dialog runner and says what the caller must refresh.
#pragma once

#include <optional>

#include "platform/systemtime.h"

class AppSettings;
class DialogRunner;
class MessageService;
class QWidget;
class SettingsFileChooser;

// What every settings dialog needs: the settings it edits, whom it asks, how it is shown.
struct SettingsDialogContext {
    AppSettings& settings;
    MessageService& messages;
    DialogRunner& dialogs;
    QWidget* parent = nullptr;
};

// "Environment". True after OK: the caller recreates its fonts, lays out and redraws. Lists
// edited and settings files read while it was open stay even after Cancel.
bool RunEnvironmentDialog(const SettingsDialogContext& context, SettingsFileChooser& files);

// "Week and Color Set". True after OK. Either way the caller recreates its day brushes, lays out
// and redraws, since a cancelled dialog still ends with a redraw.
bool RunWeekColorDialog(const SettingsDialogContext& context);

// "Holiday Set". True after OK, when the rule list changed; the rules apply from the next load.
bool RunHolidaySettingDialog(const SettingsDialogContext& context);

// "Character Set". True after OK: the caller recreates its fonts and redraws.
bool RunCharSetDialog(const SettingsDialogContext& context);

// "Func Key Set". True after OK; the caller has its view read the new keys.
bool RunFuncKeyDialog(const SettingsDialogContext& context);

// "Jump to the day": the chosen date after OK, nothing after Cancel.
std::optional<SYSTEMTIME> RunDaySelDialog(const SettingsDialogContext& context,
                                          const SYSTEMTIME& current);

// "Version Info".
void RunAboutDialog(const SettingsDialogContext& context);
