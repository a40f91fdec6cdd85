// Holiday rule texts, their dates, and the walk over the rules that decides which day of the
// window becomes a holiday, which one a substitute, and with which kind. The walk keeps its own
// copy of the day kinds so that each rule sees the days as the earlier rules left them.
#include "settings/holidays.h"

#include <cwchar>

#include "model/date_time.h"
#include "model/recurrence.h"
#include "model/text_list.h"
#include "res/string_table.h"

namespace {

constexpr int kRuleFieldCount = 5;
// Substitute holidays are produced for the first 99 days of the window only.
constexpr int kSubstituteSourceDays = 99;

// The text of field k: from one character after the k-th comma to the next comma or the end.
std::wstring RuleField(const std::wstring& text, size_t begin)
{
    const size_t end = text.find(L',', begin);
    return text.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

// The weekday of a mask with exactly one weekday bit; -1 for any other mask.
int SingleWeekday(int mask)
{
    const bool oneBit = mask > 0 && mask <= 64 && (mask & (mask - 1)) == 0;
    return oneBit ? WeekdayFromMask(mask) : -1;
}

bool NamesACategory(const std::wstring& name)
{
    return name.find_first_not_of(L' ') != std::wstring::npos;
}

bool InCategory(const std::wstring& name, const std::wstring& categories)
{
    return NamesACategory(name) && ListContains(name, categories, L",", true);
}

} // namespace

int ParseHolidayRule(const std::wstring& text, HolidayRule& rule)
{
    int* const numbers[] = {&rule.type, &rule.month, &rule.dayOrWeek, &rule.weekdayMask};
    rule.name = RuleField(text, 0);
    size_t comma = text.find(L',');
    int fields = 1;
    for (int* number : numbers) {
        if (comma == std::wstring::npos) {
            break;
        }
        *number = TextToInt(RuleField(text, comma + 1));
        comma = text.find(L',', comma + 1);
        ++fields;
    }
    return fields;
}

std::wstring FormatHolidayRule(const HolidayRule& rule)
{
    wchar_t numbers[64];
    std::swprintf(numbers, std::size(numbers), L",%.1d,%.2d,%.2d,%.2d", rule.type, rule.month,
                  rule.dayOrWeek, rule.weekdayMask);
    return rule.name + numbers;
}

int HolidayRuleAt(AppSettings& settings, int i)
{
    if (i < 0 || i >= settings.GetListCount(SettingsList::HolidayInfo)) {
        return 0;
    }
    return ParseHolidayRule(settings.GetListItem(SettingsList::HolidayInfo, i),
                            settings.ScratchHolidayRule());
}

std::optional<SYSTEMTIME> HolidayDate(const HolidayRule& rule, int year)
{
    if (year < 1 || year > 9999 || rule.month < 1 || rule.month > 12) {
        return std::nullopt;
    }
    int day = 0;
    if (rule.type == kHolidayMonthDay) {
        day = rule.dayOrWeek <= DaysInMonth(year, rule.month) ? rule.dayOrWeek : 0;
    } else {
        // Every type but the fixed date is read as the nth weekday.
        day = NthWeekdayOfMonth(year, rule.month, rule.dayOrWeek, SingleWeekday(rule.weekdayMask));
    }
    if (day < 1) {
        return std::nullopt;
    }
    return TruncateSystemTime(MakeSystemTime(year, rule.month, day), 3);
}

int CategoryHolidayKind(const AppSettings& settings, const std::wstring& categories, bool allDay)
{
    if (!allDay) {
        return kOrdinaryKind;
    }
    if (InCategory(settings.GetHolidayCategory(), categories)) {
        return kRestdayKind;
    }
    return InCategory(settings.GetMemorialCategory(), categories) ? kMemorialKind : kOrdinaryKind;
}

std::vector<HolidayEntry> EvaluateHolidayRules(AppSettings& settings, const SYSTEMTIME& loadStart,
                                               std::vector<int> firstKinds)
{
    std::vector<HolidayEntry> entries;
    const int dayCount = static_cast<int>(firstKinds.size());
    if (dayCount == 0) {
        return entries;
    }
    // Every year the window touches: its start year, and the next one when it reaches into it.
    const int firstYear = loadStart.wYear;
    const int lastYear = AddDays(loadStart, dayCount - 1).wYear;
    const std::wstring substituteName = res::LoadString(res::IDS_TRANS_HOLIDAY);
    const int restDow = settings.GetRestDow();
    const int ruleCount = settings.GetListCount(SettingsList::HolidayInfo);
    for (int i = 0; i < ruleCount; ++i) {
        // A rule missing fields would take them from the rule read before it.
        if (HolidayRuleAt(settings, i) != kRuleFieldCount) {
            continue;
        }
        const HolidayRule& rule = settings.ScratchHolidayRule();
        for (int year = firstYear; year <= lastYear; ++year) {
            const std::optional<SYSTEMTIME> date = HolidayDate(rule, year);
            if (!date) {
                continue;
            }
            const int d = DaysBetween(loadStart, *date);
            if (d < 0 || d >= dayCount) {
                continue;
            }
            bool substitute = date->wDayOfWeek == restDow;
            const int kind = firstKinds[d];
            if (kind == kOrdinaryKind || kind == kMemorialKind) {
                entries.push_back({i, d, false, kHolidayKind, rule.name});
                firstKinds[d] = kHolidayKind;
            } else {
                entries.push_back({i, d, true, kSecondHolidayKind, rule.name});
                firstKinds[d] = kSecondHolidayKind;
                substitute = true;
            }
            if (substitute && d < kSubstituteSourceDays && d + 1 < dayCount) {
                entries.push_back({i, d + 1, false, kSecondHolidayKind, substituteName});
                firstKinds[d + 1] = kSecondHolidayKind;
            }
        }
    }
    return entries;
}
