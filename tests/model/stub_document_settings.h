// Document settings of a test's choosing; the category test is "Rest" -> 3, "Memo" -> 4.
#pragma once

#include <string>
#include <vector>

#include "model/document_settings.h"

class StubSettings : public DocumentSettings {
public:
    int DaysBeforeToday() const override { return daysBefore; }
    int FirstWeekday() const override { return firstWeekday; }
    std::wstring HolidayCategory() const override { return L"Rest"; }
    int CategoryKind(const std::wstring& categories) const override
    {
        return categories == L"Rest" ? kRestdayKind
                                     : (categories == L"Memo" ? kMemorialKind : kOrdinaryKind);
    }
    int HolidayRuleCount() const override { return ruleCount; }
    std::vector<HolidayEntry> HolidayRows(const SYSTEMTIME& /*loadStart*/,
                                          const std::vector<int>& kinds) override
    {
        seenKinds = kinds;
        return rows;
    }

    int daysBefore = 0;
    int firstWeekday = 7;
    int ruleCount = 0;
    std::vector<HolidayEntry> rows;
    std::vector<int> seenKinds;
};
