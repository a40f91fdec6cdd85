// The settings as the schedule document reads them: the first shown day, the holiday category
// test and the holiday rows of a window, all from one AppSettings block.
#pragma once

#include "model/document_settings.h"
#include "settings/app_settings.h"

class AppSettingsDocument : public DocumentSettings {
public:
    explicit AppSettingsDocument(AppSettings& settings) : settings_(settings) {}

    int DaysBeforeToday() const override;
    int FirstWeekday() const override { return settings_.GetStartDow(); }
    std::wstring HolidayCategory() const override { return settings_.GetHolidayCategory(); }
    int CategoryKind(const std::wstring& categories) const override;
    int HolidayRuleCount() const override;
    std::vector<HolidayEntry> HolidayRows(const SYSTEMTIME& loadStart,
                                          const std::vector<int>& firstKinds) override;

private:
    AppSettings& settings_;
};
