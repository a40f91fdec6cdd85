// Calendar arithmetic: every day through count and key, steps at the edges, keys, bounds.
#include "model/date_time.h"
#include "model/pim_records.h"

#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/dates.h"

namespace {

struct Ymd {
    int year, month, day;
};

void ExpectDate(const SYSTEMTIME& st, Ymd expected)
{
    const int weekday = DayOfWeek(expected.year, expected.month, expected.day);
    EXPECT_EQ(std::tuple(st.wYear, st.wMonth, st.wDay, st.wDayOfWeek),
              std::tuple(expected.year, expected.month, expected.day, weekday));
}

} // namespace

TEST(DateTime, EveryDayFrom1900To2999AndTheDayHelpersEdges)
{
    int expectedWeekday = 1; // 1900-01-01 was a Monday
    DATE date = 2.0;
    for (int year = 1900; year <= 2999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day, date += 1.0) {
                const SYSTEMTIME st = VariantTimeToSystemTime(date);
                ASSERT_EQ(SystemTimeToVariantTime(st), date);
                ASSERT_EQ(st.wHour + st.wMinute + st.wSecond, 0);
                ASSERT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay,
                          year * 10000 + month * 100 + day);
                ASSERT_EQ(DayOfWeek(year, month, day), expectedWeekday);
                ASSERT_EQ(st.wDayOfWeek, expectedWeekday);
                const std::wstring key = DateToKey(date, kDayKey);
                ASSERT_EQ(std::stoi(key), year * 10000 + month * 100 + day);
                ASSERT_EQ(KeyToDate(key, kDayKey), date) << year << "-" << month << "-" << day;
                ASSERT_EQ(SystemTimeToVariantTime(AddDays(st, 1)), date + 1.0);
                expectedWeekday = (expectedWeekday + 1) % 7;
            }
        }
    }
    EXPECT_EQ(date, SystemTimeToVariantTime(MakeSystemTime(3000, 1, 1)));
    // Weekdays and month lengths of real months are walked for every day above.
    EXPECT_EQ((std::vector{DaysInMonth(2011, 13), DaysInMonth(2011, 0)}), (std::vector{0, 0}));
    EXPECT_TRUE(IsValidMonthDay(2, 29));
    for (const auto& [month, day] : {std::pair{4, 31}, {0, 1}, {13, 1}, {1, 0}}) {
        EXPECT_FALSE(IsValidMonthDay(month, day)) << month << "/" << day;
    }
    EXPECT_EQ((std::vector{WeekdayFromMask(0), WeekdayFromMask(128), WeekdayFromMask(64 | 4),
                           WeekdayFromMask(1)}),
              (std::vector{-1, -1, 2, 0}));
    EXPECT_EQ((std::vector<std::wstring>{WeekdayName(0, false), WeekdayName(6, true),
                                         WeekdayName(7, false), WeekdayName(-1, true)}),
              (std::vector<std::wstring>{L"Sunday", L"Sa", L"", L""}));
    // Read like wide text to long: leading blanks and a sign, clamped at the int range.
    const std::pair<const wchar_t*, int> numbers[] = {
        {L"  42abc", 42},
        {L"-07", -7},
        {L"+3", 3},
        {L"abc", 0},
        {L"", 0},
        {L"99999999999999999999", std::numeric_limits<int>::max()},
        {L"-99999999999999999999", std::numeric_limits<int>::min()}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(TextToInt(text), value) << QString::fromWCharArray(text).toStdString();
    }
}

TEST(DateTime, SteppingAtEdgesKeysBadKeysTaskDatesAndReminderBounds)
{
    struct Case {
        Ymd from;
        int months;
        Ymd expected;
    };
    const Case monthCases[] = {
        {{2011, 1, 31}, 1, {2011, 2, 28}},
        {{2012, 1, 31}, 1, {2012, 2, 29}},
        {{2012, 2, 29}, 12, {2013, 2, 28}},
        {{1900, 1, 31}, -1, {1900, 1, 1}},
        {{2999, 12, 31}, 1, {3000, 1, 31}},
        {{2011, 5, 31}, std::numeric_limits<int>::min(), {1900, 1, 1}},
    };
    for (const Case& c : monthCases) {
        SCOPED_TRACE(c.months);
        const SYSTEMTIME result =
            AddMonths(MakeSystemTime(c.from.year, c.from.month, c.from.day, 13, 45, 10), c.months);
        ExpectDate(result, c.expected);
        EXPECT_EQ(result.wHour * 10000 + result.wMinute * 100 + result.wSecond, 134510);
    }
    EXPECT_GE(AddMonths(MakeSystemTime(2011, 5, 31), std::numeric_limits<int>::max()).wYear, 3000);
    // Single steps forward are walked for every day above.
    const Case dayCases[] = {{{1900, 1, 1}, -1, {1900, 1, 1}},
                             {{2012, 3, 1}, -1, {2012, 2, 29}},
                             {{2011, 11, 6}, -45000, {1900, 1, 1}}};
    for (const Case& c : dayCases) {
        SCOPED_TRACE(c.months);
        const SYSTEMTIME result =
            AddDays(MakeSystemTime(c.from.year, c.from.month, c.from.day, 22, 30), c.months);
        ExpectDate(result, c.expected);
        EXPECT_EQ(result.wHour * 100 + result.wMinute, 2230);
    }
    // Huge steps stay within four-digit years instead of wrapping the 16-bit year.
    EXPECT_EQ(AddDays(MakeSystemTime(2011, 1, 1), std::numeric_limits<int>::max()).wYear, 9999);
    EXPECT_EQ(AddDays(MakeSystemTime(2011, 1, 1), std::numeric_limits<int>::min()).wYear, 1900);
    const DATE date = SystemTimeToVariantTime(MakeSystemTime(2011, 11, 6, 9, 5, 7));
    // Dates no real key can hold keep the width instead of growing or wrapping.
    const struct {
        DATE date;
        int kind;
        const wchar_t* key;
    } keys[] = {{date, kTimeStampKey, L"20111106090507"},
                {date, kDayKey, L"20111106"},
                {date, 2, L""},
                {0.0, kDayKey, L"18991230"},
                {1e9, kTimeStampKey, L"99991231235959"},
                {std::nan(""), kDayKey, L"18991230"},
                {-1e9, kDayKey, L"00010101"},
                {2958465.0, kDayKey, L"99991231"}};
    for (const auto& k : keys) {
        EXPECT_EQ(DateToKey(k.date, k.kind), k.key) << k.date << " " << k.kind;
    }
    EXPECT_EQ(KeyToDate(L"20111106090507", kTimeStampKey), date);
    EXPECT_EQ(KeyToDate(L"20111106090507", kDayKey), std::trunc(date));
    EXPECT_EQ(KeyToDate(L"20111106", 2), 0.0);
    const wchar_t* badDayKeys[] = {L"",         L"2011110",  L"2011ab06", L"20111306",
                                   L"20110231", L"00001106", L"-2011110"};
    for (const wchar_t* key : badDayKeys) {
        EXPECT_EQ(KeyToDate(key, kDayKey), 0.0) << key;
        EXPECT_EQ(KeyToDate(key, kTimeStampKey), 0.0) << key;
    }
    for (const wchar_t* key : {L"20111106", L"2011110609050", L"20111106240000", L"20111106096000",
                               L"20111106090560", L"2011110609:507"}) {
        EXPECT_EQ(KeyToDate(key, kTimeStampKey), 0.0) << key;
    }
    const struct {
        DATE date;
        bool isTaskDate;
    } dates[] = {
        {At(1899, 12, 31), false},      {At(1900, 1, 1), true}, {At(4000, 12, 31, 23, 59), true},
        {At(4001, 1, 1), false},        {0.0, false},           {1e300, false},
        {At(1900, 1, 1) - 1e-11, true}, // rounds to its second, 1 January 1900
    };
    for (const auto& entry : dates) {
        EXPECT_EQ(IsTaskDate(entry.date), entry.isTaskDate) << entry.date;
    }

    EXPECT_EQ((std::vector{IsReminderTimeSet(0.0), IsReminderTimeSet(-1.0), IsReminderTimeSet(0.5),
                           IsReminderTimeSet(899999.9), IsReminderTimeSet(900000.0)}),
              (std::vector{false, false, true, true, false}));
}
