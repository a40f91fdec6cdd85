// The entry points of the settings dialogs.
#include "dialogs/settings_commands.h"

#include "dialogs/about_dlg.h"
#include "dialogs/char_set_dlg.h"
#include "dialogs/day_sel_dlg.h"
#include "dialogs/environment_dlg.h"
#include "dialogs/func_key_dlg.h"
#include "dialogs/holiday_setting_dlg.h"
#include "dialogs/week_color_dlg.h"
#include "platform/dialog_runner.h"

bool RunEnvironmentDialog(const SettingsDialogContext& context, SettingsFileChooser& files)
{
    CEnvironmentDlg dialog(context.settings, context.messages, context.dialogs, files,
                           context.parent);
    return context.dialogs.Run(dialog) == DialogAccepted;
}

bool RunWeekColorDialog(const SettingsDialogContext& context)
{
    CWeekColorDlg dialog(context.settings, context.messages, context.dialogs, context.parent);
    return context.dialogs.Run(dialog) == DialogAccepted;
}

bool RunHolidaySettingDialog(const SettingsDialogContext& context)
{
    CHolidaySettingDlg dialog(context.settings, context.messages, context.parent);
    return context.dialogs.Run(dialog) == DialogAccepted;
}

bool RunCharSetDialog(const SettingsDialogContext& context)
{
    CCharSetDlg dialog(context.settings, context.messages, context.parent);
    return context.dialogs.Run(dialog) == DialogAccepted;
}

bool RunFuncKeyDialog(const SettingsDialogContext& context)
{
    CFuncKeyDlg dialog(context.settings, context.messages, context.parent);
    return context.dialogs.Run(dialog) == DialogAccepted;
}

std::optional<SYSTEMTIME> RunDaySelDialog(const SettingsDialogContext& context,
                                          const SYSTEMTIME& current)
{
    CDaySelDlg dialog(current, context.messages, context.parent);
    if (context.dialogs.Run(dialog) != DialogAccepted) {
        return std::nullopt;
    }
    return dialog.Date();
}

void RunAboutDialog(const SettingsDialogContext& context)
{
    CAboutDlg dialog(context.parent);
    context.dialogs.Run(dialog);
}
