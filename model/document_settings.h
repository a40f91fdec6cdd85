// What the schedule document needs of the settings: where the first shown day falls, the
// holiday category test and the holiday rows of a window. The settings block provides it
// through an adapter, so the document builds and tests without the settings.
#pragma once

#include <string>
#include <vector>

#include "model/day_kind.h"
#include "platform/systemtime.h"

class DocumentSettings {
public:
    virtual ~DocumentSettings() = default;

    // Days the first shown day lies before today (CntFromToday), within a year either way.
    virtual int DaysBeforeToday() const = 0;
    // The weekday (0 Sunday .. 6) the first shown day falls back to; 7 for none (StartDow).
    virtual int FirstWeekday() const = 0;
    // The text holiday rows carry as their category (HolidayCategory).
    virtual std::wstring HolidayCategory() const = 0;
    // kRestdayKind, kMemorialKind or kOrdinaryKind for an all-day appointment's categories.
    virtual int CategoryKind(const std::wstring& categories) const = 0;
    // Each rule takes one serial number, whether or not it adds a row.
    virtual int HolidayRuleCount() const = 0;
    // The holiday rows of the window from loadStart; firstKinds holds the kind of each day's
    // first entry (0 for an empty day) and gives the window's length.
    virtual std::vector<HolidayEntry> HolidayRows(const SYSTEMTIME& loadStart,
                                                  const std::vector<int>& firstKinds) = 0;
};
