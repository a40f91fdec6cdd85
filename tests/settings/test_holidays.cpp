// Holiday rules: the rule text, its date in a year, the category test, and the walk over the
// rules deciding holiday, second-holiday and substitute rows in a window.
#include "settings/holidays.h"

#include <gtest/gtest.h>

#include "model/date_time.h"

namespace {
constexpr int kWindow = 120;

SYSTEMTIME Date(int year, int month, int day)
{
    return MakeSystemTime(year, month, day);
}

// "day kind overwrite name" per row, so a failing case shows every row at once.
std::vector<std::wstring> Rows(const std::vector<HolidayEntry>& entries)
{
    std::vector<std::wstring> out;
    out.reserve(entries.size());
    for (const HolidayEntry& e : entries) {
        out.push_back(std::to_wstring(e.rule) + L" " + std::to_wstring(e.day) + L" " +
                      std::to_wstring(e.kind) + (e.overwrite ? L" over " : L" new ") + e.name);
    }
    return out;
}

class HolidayTest : public ::testing::Test {
protected:
    void Rules(std::initializer_list<const wchar_t*> rules)
    {
        settings_.SetList(SettingsList::HolidayInfo, L"", 0);
        for (const wchar_t* rule : rules) {
            settings_.AppendListItem(SettingsList::HolidayInfo, rule);
        }
    }
    std::vector<std::wstring> Evaluate(const SYSTEMTIME& start, std::vector<int> kinds = {})
    {
        kinds.resize(kWindow, kOrdinaryKind);
        return Rows(EvaluateHolidayRules(settings_, start, kinds));
    }
    AppSettings settings_;
};

using Lines = std::vector<std::wstring>;
} // namespace

// Stored rule texts round-trip through the holiday dialog's tests; here a hand-typed rule.
TEST(HolidayRule, TextReadsAnyDecimalAndKeepsWhatIsMissing)
{
    HolidayRule rule;
    EXPECT_EQ(ParseHolidayRule(L"Spring Day, 5,3,021,0", rule), 5);
    EXPECT_EQ(FormatHolidayRule(rule), L"Spring Day,5,03,21,00");
    // Missing fields keep what the rule held before and are counted as missing.
    EXPECT_EQ(ParseHolidayRule(L"Harbour", rule), 1);
    EXPECT_EQ(rule.name, L"Harbour");
    EXPECT_EQ(rule.month, 3);
    EXPECT_EQ(ParseHolidayRule(L"Half,6,5", rule), 3);
    EXPECT_EQ(rule.dayOrWeek, 21);
}

TEST(HolidayRule, DateInAYearOrNone)
{
    // {type, month, day or week, weekday mask, year, month * 100 + day or 0 for none}
    const int cases[][6] = {{5, 11, 3, 0, 2026, 1103},
                            {5, 2, 29, 0, 2028, 229},
                            {5, 2, 29, 0, 2027, 0},
                            {5, 4, 2147483647, 0, 2026, 0},
                            {6, 5, 5, 2, 2026, 525}, // last Monday of May
                            {6, 5, 4, 2, 2026, 525}, // fourth Monday: May 2026 has four
                            {6, 1, 2, 0, 2026, 0} /* no weekday */,
                            {6, 1, 2, 6, 2026, 0} /* two weekdays */,
                            {6, 1, 2, 128, 2026, 0} /* no such weekday */};
    for (const auto& c : cases) {
        const std::optional<SYSTEMTIME> date = HolidayDate({L"x", c[0], c[1], c[2], c[3]}, c[4]);
        EXPECT_EQ(date ? date->wMonth * 100 + date->wDay : 0, c[5])
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
    }
    EXPECT_EQ(HolidayDate({L"x", 5, 11, 3, 0}, 2026)->wDayOfWeek, 2);
}

TEST_F(HolidayTest, CategoryKindPrefersTheRestdayAndMatchesWholeNames)
{
    settings_.SetHolidayCategory(L"Rest");
    settings_.SetMemorialCategory(L"Memo");
    EXPECT_EQ(CategoryHolidayKind(settings_, L"Work, Rest ,Memo", true), kRestdayKind);
    EXPECT_EQ(CategoryHolidayKind(settings_, L"Memo", true), kMemorialKind);
    EXPECT_EQ(CategoryHolidayKind(settings_, L"rest", true), kOrdinaryKind);
    EXPECT_EQ(CategoryHolidayKind(settings_, L"Rest", false), kOrdinaryKind);
    settings_.SetMemorialCategory(L"");
    EXPECT_EQ(CategoryHolidayKind(settings_, L"Work,", true), kOrdinaryKind) << "an empty name";
}

// From Monday 30 November 2026: 6 December (day 6) and 3 January (day 34) are Sundays.
TEST_F(HolidayTest, SubstitutesOnTheRestDayAndSecondHolidays)
{
    const SYSTEMTIME start = Date(2026, 11, 30);
    settings_.SetRestDow(0);
    Rules({L"Harbour Day,5,12,06,00", L"Lantern Day,5,12,06,00", L"Quiet Day,5,12,09,00"});
    EXPECT_EQ(Evaluate(start), (Lines{L"0 6 1 new Harbour Day", L"0 7 2 new Trans Holiday",
                                      L"1 6 2 over Lantern Day", L"1 7 2 new Trans Holiday",
                                      L"2 9 1 new Quiet Day"}));
    settings_.SetRestDow(7); // no rest day: no substitutes for a lone holiday
    Rules({L"Harbour Day,5,12,06,00"});
    EXPECT_EQ(Evaluate(start), Lines{L"0 6 1 new Harbour Day"});
    // A rest-day appointment or memorial day already there.
    std::vector<int> kinds(kWindow, kOrdinaryKind);
    kinds[9] = kRestdayKind;
    kinds[12] = kMemorialKind;
    Rules({L"Quiet Day,5,12,09,00", L"Memory Day,5,12,12,00"});
    EXPECT_EQ(Evaluate(start, kinds), (Lines{L"0 9 2 over Quiet Day", L"0 10 2 new Trans Holiday",
                                             L"1 12 1 new Memory Day"}));
}

TEST_F(HolidayTest, WindowEdges)
{
    settings_.SetRestDow(0);
    // A Sunday holiday before day 99 gets its substitute, on day 99 or later not; none before.
    const SYSTEMTIME sunday = Date(2026, 8, 30); // day 98 is Sunday 6 December
    Rules({L"Late,5,12,06,00", L"Last,5,12,27,00", L"Early,5,08,29,00", L"Edge,5,08,30,00"});
    EXPECT_EQ(Evaluate(sunday),
              (Lines{L"0 98 1 new Late", L"0 99 2 new Trans Holiday", L"1 119 1 new Last",
                     L"3 0 1 new Edge", L"3 1 2 new Trans Holiday"}));
}

TEST_F(HolidayTest, BrokenRulesAddNothingAndTheOthersStillApply)
{
    settings_.SetRestDow(7);
    Rules({L"Harbour", L"Half,5,12", L"Month 13,5,13,01,00", L"Day 0,5,12,00,00",
           L"31 Feb,5,02,31,00", L"Huge,5,12,99999999999,00", L"No weekday,6,12,01,00",
           L"Two weekdays,6,12,01,06", L"Week 9,6,12,09,02", L"Good,5,12,08,00", L""});
    EXPECT_EQ(Evaluate(Date(2026, 11, 30)), Lines{L"9 8 1 new Good"});
    settings_.SetList(SettingsList::HolidayInfo, L"", 5); // a count beyond the text
    EXPECT_TRUE(Evaluate(Date(2026, 11, 30)).empty());
    EXPECT_TRUE(EvaluateHolidayRules(settings_, Date(2026, 11, 30), {}).empty());
    // A window at the end of the last supported year.
    Rules({L"Year End,5,12,31,00", L"New Year,5,01,01,00"});
    EXPECT_EQ(Evaluate(Date(2999, 10, 1)), (Lines{L"0 91 1 new Year End", L"1 92 1 new New Year"}));
}
