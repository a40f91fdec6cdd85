// The setting values the painters read, under their profile key names. The view copies them from
// AppSettings before a paint, so the painters and their tests need no settings block.
#pragma once

#include <cstdint>
#include <string>

struct DrawSettings {
    // Day colours 0x00BBGGRR, Sunday first, then holiday, rest day and memorial day.
    uint32_t ColorSunday = 0xFFC8FF;
    uint32_t ColorMonday = 0xFFFFFF;
    uint32_t ColorTuesday = 0xFFFFFF;
    uint32_t ColorWednesday = 0xFFFFFF;
    uint32_t ColorThursday = 0xFFFFFF;
    uint32_t ColorFriday = 0xFFFFFF;
    uint32_t ColorSaturday = 0xFFFFC8;
    uint32_t ColorHoliday = 0xFFC8FF;
    uint32_t ColorRestday = 0xFFC8FF;
    uint32_t ColorMemorialday = 0xC4FFC4;
    uint32_t ColorSelday = 0xB45050;
    int BrightReduceRate = 90;

    std::wstring MainFontName = L"system";
    std::wstring DetailFontName = L"system";
    int MainFontSize = 12;
    int DetailFontSize = 16;

    std::wstring AppHideCharL = L"<<";
    std::wstring AppHideCharR = L">>";
    std::wstring TaskStartChar = L">>";
    std::wstring TaskDueChar = L"^";
    int DispTextLen = 5;
    int DispNoDue = 0;

    std::wstring HolidayCategory;
    std::wstring MemorialCategory;
    int CategoryFilterType = 0;        // CategoryCtr Type: 0 none, 1 only shared, 2 hide shared
    std::wstring CategoryFilterTarget; // CategoryCtr Target, a comma list
};
