// Forwards the document's questions to the holiday rules and the settings block.
#include "settings/app_settings_document.h"

#include "settings/holidays.h"

int AppSettingsDocument::CategoryKind(const std::wstring& categories) const
{
    return CategoryHolidayKind(settings_, categories, true);
}

int AppSettingsDocument::HolidayRuleCount() const
{
    return settings_.GetListCount(SettingsList::HolidayInfo);
}

std::vector<HolidayEntry> AppSettingsDocument::HolidayRows(const SYSTEMTIME& loadStart,
                                                           const std::vector<int>& firstKinds)
{
    return EvaluateHolidayRules(settings_, loadStart, firstKinds);
}
