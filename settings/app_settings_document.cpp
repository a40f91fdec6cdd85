// Forwards the document's questions to the holiday rules and the settings block.
#include "settings/app_settings_document.h"

#include "settings/holidays.h"
#include "settings/usable_range.h"

// The same range as the view's "Show today", so both place the first shown day alike.
int AppSettingsDocument::DaysBeforeToday() const
{
    return usable::CntFromToday(settings_.GetCntFromToday());
}

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
