// Range checks of the settings dialogs. Besides the program's own limits, values the view sizes
// or divides with are held to the ranges it can use (settings/usable_range.h), so a dialog never
// stores a value the view would only have to bend.
#include "dialogs/settings_checks.h"

#include "model/date_time.h"
#include "res/string_table.h"
#include "settings/usable_range.h"

namespace {

// A refusal naming the range when `value` lies outside low..high.
std::optional<RangeRefusal> OutsideRange(int field, int value, int low, int high)
{
    if (value >= low && value <= high) {
        return std::nullopt;
    }
    return RangeRefusal{field, res::IDS_SET_BETWEEN, low, high};
}

// The largest values the view uses as they stand.
constexpr int kMaxFontSize = usable::FontSize(1 << 30);
constexpr int kMaxAreaSize = usable::AreaSize(1 << 30);
constexpr int kMaxDaysBefore = usable::CntFromToday(1 << 30);

std::optional<RangeRefusal> CheckFontSize(int field, int size)
{
    if (size < 6) {
        return RangeRefusal{field, res::IDS_FONT_SIZE_OVER_6};
    }
    return OutsideRange(field, size, 6, kMaxFontSize);
}

} // namespace

std::wstring RefusalText(const RangeRefusal& refusal)
{
    std::wstring text = res::LoadString(refusal.messageId);
    for (const int value : {refusal.low, refusal.high}) {
        const std::size_t at = text.find(L"%d");
        if (at == std::wstring::npos) {
            break;
        }
        text.replace(at, 2, std::to_wstring(value));
    }
    return text;
}

std::optional<RangeRefusal> CheckEnvironment(const EnvironmentFields& fields)
{
    if (auto refusal = OutsideRange(1034, fields.cntFromToday, -kMaxDaysBefore, kMaxDaysBefore)) {
        return refusal;
    }
    if (fields.startHour < 0 || fields.startHour > 23) {
        return RangeRefusal{1035, res::IDS_WRONG_TIME};
    }
    const std::array<std::pair<int, int>, 3> areas = {{{1031, fields.taskAreaWidth},
                                                       {1032, fields.infoAreaWidth},
                                                       {1033, fields.infoAreaHeight}}};
    for (const auto& [field, size] : areas) {
        if (auto refusal = OutsideRange(field, size, 0, kMaxAreaSize)) {
            return refusal;
        }
    }
    return std::nullopt;
}

std::optional<RangeRefusal> CheckBrightRate(int rate)
{
    return OutsideRange(1183, rate, 1, 100);
}

std::optional<RangeRefusal> CheckFontSizes(int mainSize, int detailSize)
{
    if (auto refusal = CheckFontSize(1115, mainSize)) {
        return refusal;
    }
    return CheckFontSize(1116, detailSize);
}

std::optional<RangeRefusal> CheckFuncKeys(const std::array<int, 5>& indexes)
{
    for (std::size_t i = 1; i < indexes.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (indexes[i] != 0 && indexes[i] == indexes[j]) {
                return RangeRefusal{kFuncKeyControls[i], res::IDS_SAME_SETTING};
            }
        }
    }
    return std::nullopt;
}

std::optional<RangeRefusal> CheckDaySelection(const SYSTEMTIME& date)
{
    if (date.wYear < 1900) {
        return RangeRefusal{1140, res::IDS_BEFORE_YEAR_1900};
    }
    if (date.wYear >= 3000) {
        return RangeRefusal{1140, res::IDS_AFTER_YEAR_3000};
    }
    return std::nullopt;
}

// A comma in the name would shift every field after it when the rule is read back.
std::optional<RangeRefusal> CheckHolidayRule(const HolidayRule& rule)
{
    if (rule.name.find(L',') != std::wstring::npos) {
        return RangeRefusal{1030, res::IDS_COMMA_IN_HOLIDAY_NAME};
    }
    if (!IsValidMonthDay(rule.month, 1)) {
        return RangeRefusal{1024, res::IDS_WRONG_MONTH};
    }
    if (rule.type == kHolidayMonthDay && !IsValidMonthDay(rule.month, rule.dayOrWeek)) {
        return RangeRefusal{1104, res::IDS_WRONG_DAY};
    }
    return std::nullopt;
}
