// AppSettings: the one block of user settings (layout, fonts, markers, day colours, weekdays,
// hardware keys, edit lists, holiday rules, category filter) with one getter and one setter per
// profile key. Values are kept as they stand; readers that size or divide go through usable::.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "settings/last_edit_result.h"

// The integer settings (colours and flags included), named after their profile keys.
enum class IntSetting {
    CategoryCtrType,
    DispNoDue,
    DispTextLen,
    TaskAreaWidth,
    InfoAreaHeight,
    InfoAreaWidth,
    StdtChg,
    CntFromToday,
    DefaultStartHour,
    MainFontSize,
    DetailFontSize,
    DispWeekCount,
    StartDow,
    RestDow,
    ColorSunday,
    ColorMonday,
    ColorTuesday,
    ColorWednesday,
    ColorThursday,
    ColorFriday,
    ColorSaturday,
    ColorHoliday,
    ColorRestday,
    ColorMemorialday,
    ColorSelday,
    BrightReduceRate,
    UsePopup,
    OneHourPixel,
    CalendarType,
    TaskAreaVisible,
    CalendarAreaVisible,
    InfoAreaVisible,
    InfoAreaFixBottom,
    KeyToToday,
    KeyCalendarGantt,
    KeyToTool,
    KeyToMain,
    KeyToDetail,
    FitHoursToWidth,
    LastCalendar,
};
constexpr int kIntSettingCount = static_cast<int>(IntSetting::LastCalendar) + 1;

// The text settings.
enum class TextSetting {
    HolidayCategory,
    MemorialCategory,
    CategoryCtrTarget,
    MainFontName,
    DetailFontName,
    TaskStartChar,
    TaskDueChar,
    AppHideCharL,
    AppHideCharR,
};
constexpr int kTextSettingCount = static_cast<int>(TextSetting::AppHideCharR) + 1;

// The six edit lists and the holiday rule list, named after their profile sections.
enum class SettingsList {
    CategoryInfo,
    PlaceInfo,
    SubjectInfo,
    TaskSubjectInfo,
    SelMinuteInfo,
    SelAlartMinuteInfo,
    HolidayInfo,
};
constexpr int kSettingsListCount = static_cast<int>(SettingsList::HolidayInfo) + 1;

class AppSettings {
public:
    // Where an integer setting lives in the profile and its value when the key is absent.
    struct IntInfo {
        const wchar_t* section;
        const wchar_t* key;
        int defaultValue;
    };
    // The same for a text setting; a default marker text comes from the string table.
    struct TextInfo {
        const wchar_t* section;
        const wchar_t* key;
        int defaultStringId; // 0: defaultText is the default
        const wchar_t* defaultText;
    };
    // The one holiday rule that the holiday evaluation parses into before reading it.
    struct HolidayRuleFields {
        std::wstring name;
        int type = 0;
        int month = 0;
        int dayOrWeek = 0;
        int weekdayMask = 0;
    };

    static const IntInfo& Info(IntSetting setting);
    static const TextInfo& Info(TextSetting setting);
    static const wchar_t* Section(SettingsList list);
    static std::wstring DefaultText(TextSetting setting);

    // Starts with every default, as an empty profile gives.
    AppSettings();
    // Every setting to its default, every list empty, the scratch rule cleared.
    void LoadDefaults();

    int Get(IntSetting setting) const { return ints_[Index(setting)]; }
    void Set(IntSetting setting, int value) { ints_[Index(setting)] = value; }
    std::wstring Get(TextSetting setting) const { return texts_[Index(setting)]; }
    void Set(TextSetting setting, const std::wstring& value) { texts_[Index(setting)] = value; }

    // Elements a list keeps, far beyond what an editor's list shows: the profile names its
    // elements with three digits (Name000 to Name999). Elements past it are ignored.
    static constexpr int kMaxListElements = 1000;

    // A list is a count and a delimited text; only elements below the count are ever read.
    int GetListCount(SettingsList list) const { return lists_[Index(list)].count; }
    std::wstring GetListText(SettingsList list) const { return lists_[Index(list)].text; }
    void SetListText(SettingsList list, const std::wstring& text)
    {
        lists_[Index(list)].text = text;
    }
    // Element i, empty text for an index outside the count or missing from the text.
    std::wstring GetListItem(SettingsList list, int i) const;
    // Replaces a list as a whole, its text and count together.
    void SetList(SettingsList list, const std::wstring& text, int count);
    void AppendListItem(SettingsList list, const std::wstring& element);

    HolidayRuleFields& ScratchHolidayRule() { return scratchRule_; }
    const HolidayRuleFields& ScratchHolidayRule() const { return scratchRule_; }

    int GetLastEditResult() const { return lastEditResult_.Get(); }
    void SetLastEditResult(int value) { lastEditResult_.Set(value); }

    // The view's category filter (section CategoryCtr, keys Type and Target): 0 none, 1 only
    // items sharing a Target category, 2 hide those items.
    int GetCategoryCtrType() const { return Get(IntSetting::CategoryCtrType); }
    void SetCategoryCtrType(int value) { Set(IntSetting::CategoryCtrType, value); }
    int GetDispNoDue() const { return Get(IntSetting::DispNoDue); }
    void SetDispNoDue(int value) { Set(IntSetting::DispNoDue, value); }
    int GetDispTextLen() const { return Get(IntSetting::DispTextLen); }
    void SetDispTextLen(int value) { Set(IntSetting::DispTextLen, value); }
    int GetTaskAreaWidth() const { return Get(IntSetting::TaskAreaWidth); }
    void SetTaskAreaWidth(int value) { Set(IntSetting::TaskAreaWidth, value); }
    int GetInfoAreaHeight() const { return Get(IntSetting::InfoAreaHeight); }
    void SetInfoAreaHeight(int value) { Set(IntSetting::InfoAreaHeight, value); }
    int GetInfoAreaWidth() const { return Get(IntSetting::InfoAreaWidth); }
    void SetInfoAreaWidth(int value) { Set(IntSetting::InfoAreaWidth, value); }
    int GetStdtChg() const { return Get(IntSetting::StdtChg); }
    void SetStdtChg(int value) { Set(IntSetting::StdtChg, value); }
    int GetCntFromToday() const { return Get(IntSetting::CntFromToday); }
    void SetCntFromToday(int value) { Set(IntSetting::CntFromToday, value); }
    int GetDefaultStartHour() const { return Get(IntSetting::DefaultStartHour); }
    void SetDefaultStartHour(int value) { Set(IntSetting::DefaultStartHour, value); }
    int GetMainFontSize() const { return Get(IntSetting::MainFontSize); }
    void SetMainFontSize(int value) { Set(IntSetting::MainFontSize, value); }
    int GetDetailFontSize() const { return Get(IntSetting::DetailFontSize); }
    void SetDetailFontSize(int value) { Set(IntSetting::DetailFontSize, value); }
    int GetDispWeekCount() const { return Get(IntSetting::DispWeekCount); }
    void SetDispWeekCount(int value) { Set(IntSetting::DispWeekCount, value); }
    int GetStartDow() const { return Get(IntSetting::StartDow); }
    void SetStartDow(int value) { Set(IntSetting::StartDow, value); }
    int GetRestDow() const { return Get(IntSetting::RestDow); }
    void SetRestDow(int value) { Set(IntSetting::RestDow, value); }
    int GetBrightReduceRate() const { return Get(IntSetting::BrightReduceRate); }
    void SetBrightReduceRate(int value) { Set(IntSetting::BrightReduceRate, value); }
    int GetUsePopup() const { return Get(IntSetting::UsePopup); }
    void SetUsePopup(int value) { Set(IntSetting::UsePopup, value); }
    int GetOneHourPixel() const { return Get(IntSetting::OneHourPixel); }
    void SetOneHourPixel(int value) { Set(IntSetting::OneHourPixel, value); }
    int GetCalendarType() const { return Get(IntSetting::CalendarType); }
    void SetCalendarType(int value) { Set(IntSetting::CalendarType, value); }
    int GetKeyToToday() const { return Get(IntSetting::KeyToToday); }
    void SetKeyToToday(int value) { Set(IntSetting::KeyToToday, value); }
    int GetKeyCalendarGantt() const { return Get(IntSetting::KeyCalendarGantt); }
    void SetKeyCalendarGantt(int value) { Set(IntSetting::KeyCalendarGantt, value); }
    int GetKeyToTool() const { return Get(IntSetting::KeyToTool); }
    void SetKeyToTool(int value) { Set(IntSetting::KeyToTool, value); }
    int GetKeyToMain() const { return Get(IntSetting::KeyToMain); }
    void SetKeyToMain(int value) { Set(IntSetting::KeyToMain, value); }
    int GetKeyToDetail() const { return Get(IntSetting::KeyToDetail); }
    void SetKeyToDetail(int value) { Set(IntSetting::KeyToDetail, value); }
    int GetFitHoursToWidth() const { return Get(IntSetting::FitHoursToWidth); }
    void SetFitHoursToWidth(int value) { Set(IntSetting::FitHoursToWidth, value); }
    // The calendar (its id in the store) last chosen in an editor, where new items go; 0: none.
    int GetLastCalendar() const { return Get(IntSetting::LastCalendar); }
    void SetLastCalendar(int value) { Set(IntSetting::LastCalendar, value); }
    uint32_t GetColorSunday() const { return GetColor(IntSetting::ColorSunday); }
    void SetColorSunday(uint32_t value) { SetColor(IntSetting::ColorSunday, value); }
    uint32_t GetColorMonday() const { return GetColor(IntSetting::ColorMonday); }
    void SetColorMonday(uint32_t value) { SetColor(IntSetting::ColorMonday, value); }
    uint32_t GetColorTuesday() const { return GetColor(IntSetting::ColorTuesday); }
    void SetColorTuesday(uint32_t value) { SetColor(IntSetting::ColorTuesday, value); }
    uint32_t GetColorWednesday() const { return GetColor(IntSetting::ColorWednesday); }
    void SetColorWednesday(uint32_t value) { SetColor(IntSetting::ColorWednesday, value); }
    uint32_t GetColorThursday() const { return GetColor(IntSetting::ColorThursday); }
    void SetColorThursday(uint32_t value) { SetColor(IntSetting::ColorThursday, value); }
    uint32_t GetColorFriday() const { return GetColor(IntSetting::ColorFriday); }
    void SetColorFriday(uint32_t value) { SetColor(IntSetting::ColorFriday, value); }
    uint32_t GetColorSaturday() const { return GetColor(IntSetting::ColorSaturday); }
    void SetColorSaturday(uint32_t value) { SetColor(IntSetting::ColorSaturday, value); }
    uint32_t GetColorHoliday() const { return GetColor(IntSetting::ColorHoliday); }
    void SetColorHoliday(uint32_t value) { SetColor(IntSetting::ColorHoliday, value); }
    uint32_t GetColorRestday() const { return GetColor(IntSetting::ColorRestday); }
    void SetColorRestday(uint32_t value) { SetColor(IntSetting::ColorRestday, value); }
    uint32_t GetColorMemorialday() const { return GetColor(IntSetting::ColorMemorialday); }
    void SetColorMemorialday(uint32_t value) { SetColor(IntSetting::ColorMemorialday, value); }
    uint32_t GetColorSelday() const { return GetColor(IntSetting::ColorSelday); }
    void SetColorSelday(uint32_t value) { SetColor(IntSetting::ColorSelday, value); }
    bool GetTaskAreaVisible() const { return GetFlag(IntSetting::TaskAreaVisible); }
    void SetTaskAreaVisible(bool value) { SetFlag(IntSetting::TaskAreaVisible, value); }
    bool GetCalendarAreaVisible() const { return GetFlag(IntSetting::CalendarAreaVisible); }
    void SetCalendarAreaVisible(bool value) { SetFlag(IntSetting::CalendarAreaVisible, value); }
    bool GetInfoAreaVisible() const { return GetFlag(IntSetting::InfoAreaVisible); }
    void SetInfoAreaVisible(bool value) { SetFlag(IntSetting::InfoAreaVisible, value); }
    bool GetInfoAreaFixBottom() const { return GetFlag(IntSetting::InfoAreaFixBottom); }
    void SetInfoAreaFixBottom(bool value) { SetFlag(IntSetting::InfoAreaFixBottom, value); }
    std::wstring GetHolidayCategory() const { return Get(TextSetting::HolidayCategory); }
    void SetHolidayCategory(const std::wstring& value) { Set(TextSetting::HolidayCategory, value); }
    std::wstring GetMemorialCategory() const { return Get(TextSetting::MemorialCategory); }
    void SetMemorialCategory(const std::wstring& value)
    {
        Set(TextSetting::MemorialCategory, value);
    }
    std::wstring GetCategoryCtrTarget() const { return Get(TextSetting::CategoryCtrTarget); }
    void SetCategoryCtrTarget(const std::wstring& value)
    {
        Set(TextSetting::CategoryCtrTarget, value);
    }
    std::wstring GetMainFontName() const { return Get(TextSetting::MainFontName); }
    void SetMainFontName(const std::wstring& value) { Set(TextSetting::MainFontName, value); }
    std::wstring GetDetailFontName() const { return Get(TextSetting::DetailFontName); }
    void SetDetailFontName(const std::wstring& value) { Set(TextSetting::DetailFontName, value); }
    std::wstring GetTaskStartChar() const { return Get(TextSetting::TaskStartChar); }
    void SetTaskStartChar(const std::wstring& value) { Set(TextSetting::TaskStartChar, value); }
    std::wstring GetTaskDueChar() const { return Get(TextSetting::TaskDueChar); }
    void SetTaskDueChar(const std::wstring& value) { Set(TextSetting::TaskDueChar, value); }
    std::wstring GetAppHideCharL() const { return Get(TextSetting::AppHideCharL); }
    void SetAppHideCharL(const std::wstring& value) { Set(TextSetting::AppHideCharL, value); }
    std::wstring GetAppHideCharR() const { return Get(TextSetting::AppHideCharR); }
    void SetAppHideCharR(const std::wstring& value) { Set(TextSetting::AppHideCharR, value); }

private:
    struct ListValue {
        int count = 0;
        std::wstring text;
    };

    static int ListCount(int count) { return std::clamp(count, 0, kMaxListElements); }
    template <typename Enum> static constexpr std::size_t Index(Enum value)
    {
        return static_cast<std::size_t>(value);
    }
    uint32_t GetColor(IntSetting setting) const { return static_cast<uint32_t>(Get(setting)); }
    void SetColor(IntSetting setting, uint32_t value) { Set(setting, static_cast<int>(value)); }
    // Any non-zero stored value is true; the setter stores 1 or 0.
    bool GetFlag(IntSetting setting) const { return Get(setting) != 0; }
    void SetFlag(IntSetting setting, bool value) { Set(setting, value ? 1 : 0); }

    std::array<int, kIntSettingCount> ints_{};
    std::array<std::wstring, kTextSettingCount> texts_;
    std::array<ListValue, kSettingsListCount> lists_;
    HolidayRuleFields scratchRule_;
    LastEditResult lastEditResult_;
};
