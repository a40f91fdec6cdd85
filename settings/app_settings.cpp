// The settings block's key table: section, profile key and default of every setting, in one
// place so that the defaults, the profile load and save and the settings file agree.
#include "settings/app_settings.h"

#include "model/text_list.h"
#include "res/string_table.h"

namespace {

constexpr const wchar_t* kEnvironment = L"Envirorment";
constexpr const wchar_t* kKeyEnvironment = L"KeyEnvirorment";

// In the order of IntSetting. The first hardware key is read back under "KeyToTOday" by the
// case-insensitive profile, so one spelling serves both ways.
constexpr std::array<AppSettings::IntInfo, kIntSettingCount> kIntInfo{{
    {L"CategoryCtr", L"Type", 0},
    {kEnvironment, L"DispNoDue", 0},
    {kEnvironment, L"DispTextLen", 5},
    {kEnvironment, L"TaskAreaWidth", 96},
    {kEnvironment, L"InfoAreaHeight", 96},
    {kEnvironment, L"InfoAreaWidth", 200},
    {kEnvironment, L"StdtChg", 0},
    {kEnvironment, L"CntFromToday", 3},
    {kEnvironment, L"DefaultStartHour", 9},
    {kEnvironment, L"MainFontSize", 12},
    {kEnvironment, L"DetailFontSize", 16},
    {kEnvironment, L"DispWeekCount", 5},
    {kEnvironment, L"StartDow", 7},
    {kEnvironment, L"RestDow", 0},
    {kEnvironment, L"ColorSunday", 0xFFC8FF},
    {kEnvironment, L"ColorMonday", 0xFFFFFF},
    {kEnvironment, L"ColorTuesday", 0xFFFFFF},
    {kEnvironment, L"ColorWednesday", 0xFFFFFF},
    {kEnvironment, L"ColorThursday", 0xFFFFFF},
    {kEnvironment, L"ColorFriday", 0xFFFFFF},
    {kEnvironment, L"ColorSaturday", 0xFFFFC8},
    {kEnvironment, L"ColorHoliday", 0xFFC8FF},
    {kEnvironment, L"ColorRestday", 0xFFC8FF},
    {kEnvironment, L"ColorMemorialday", 0xC4FFC4},
    {kEnvironment, L"ColorSelday", 0xB45050},
    {kEnvironment, L"BrightReduceRate", 90},
    {kEnvironment, L"UsePopup", 1},
    {kEnvironment, L"OneHourPixel", 36},
    {kEnvironment, L"CalendarType", 1},
    {kEnvironment, L"TaskAreaVisible", 1},
    {kEnvironment, L"CalendarAreaVisible", 1},
    {kEnvironment, L"InfoAreaVisible", 1},
    {kEnvironment, L"InfoAreaFixBottom", 0},
    {kKeyEnvironment, L"KeyToToday", 0x35},
    {kKeyEnvironment, L"KeyCalendarGantt", 0x34},
    {kKeyEnvironment, L"KeyToTool", 0x31},
    {kKeyEnvironment, L"KeyToMain", 0x32},
    {kKeyEnvironment, L"KeyToDetail", 0x33},
    // A fresh profile fits the day to the window, so a wide window is not left half empty.
    {kEnvironment, L"FitHoursToWidth", 1},
    {kEnvironment, L"LastCalendar", 0},
}};

// In the order of TextSetting.
constexpr std::array<AppSettings::TextInfo, kTextSettingCount> kTextInfo{{
    {L"HolidayInfo", L"HolidayCategory", 0, L""},
    {L"MemorialInfo", L"MemorialCategory", 0, L""},
    {L"CategoryCtr", L"Target", 0, L""},
    {kEnvironment, L"MainFontName", 0, L"system"},
    {kEnvironment, L"DetailFontName", 0, L"system"},
    {kEnvironment, L"TaskStartChar", res::IDS_TASK_START_CHAR, L""},
    {kEnvironment, L"TaskDueChar", res::IDS_TASK_DUE_CHAR, L""},
    {kEnvironment, L"AppHideCharL", res::IDS_HIDE_CHAR_LEFT, L""},
    {kEnvironment, L"AppHideCharR", res::IDS_HIDE_CHAR_RIGHT, L""},
}};

constexpr std::array<const wchar_t*, kSettingsListCount> kListSections{{
    L"CategoryInfo",
    L"PlaceInfo",
    L"SubjectInfo",
    L"TaskSubjectInfo",
    L"SelMinuteInfo",
    L"SelAlartMinuteInfo",
    L"HolidayInfo",
}};

} // namespace

const AppSettings::IntInfo& AppSettings::Info(IntSetting setting)
{
    return kIntInfo[Index(setting)];
}

const AppSettings::TextInfo& AppSettings::Info(TextSetting setting)
{
    return kTextInfo[Index(setting)];
}

const wchar_t* AppSettings::Section(SettingsList list)
{
    return kListSections[Index(list)];
}

std::wstring AppSettings::DefaultText(TextSetting setting)
{
    const TextInfo& info = Info(setting);
    return info.defaultStringId != 0 ? res::LoadString(info.defaultStringId) : info.defaultText;
}

AppSettings::AppSettings()
{
    LoadDefaults();
}

void AppSettings::LoadDefaults()
{
    for (int i = 0; i < kIntSettingCount; ++i) {
        ints_[i] = kIntInfo[i].defaultValue;
    }
    for (int i = 0; i < kTextSettingCount; ++i) {
        texts_[i] = DefaultText(static_cast<TextSetting>(i));
    }
    lists_.fill(ListValue{});
    scratchRule_ = HolidayRuleFields{};
}

std::wstring AppSettings::GetListItem(SettingsList list, int i) const
{
    const ListValue& value = lists_[Index(list)];
    return i < value.count ? GetDelimited(value.text, i) : std::wstring();
}

void AppSettings::SetList(SettingsList list, const std::wstring& text, int count)
{
    lists_[Index(list)] = ListValue{ListCount(count), text};
}

void AppSettings::AppendListItem(SettingsList list, const std::wstring& element)
{
    ListValue& value = lists_[Index(list)];
    if (value.count >= kMaxListElements) {
        return;
    }
    value.text += element + FieldSeparator();
    ++value.count;
}
