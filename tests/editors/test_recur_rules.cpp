// The recurrence editor's OK checks and type layouts, without widgets.
#include "editors/recur_rules.h"

#include <gtest/gtest.h>

#include "model/recurrence.h"
#include "platform/pim/item_fields.h"
#include "res/string_table.h"

namespace {

// Weekly on Monday 7 December 2026, 10:00 to 11:00, no end.
RecurForm Weekly()
{
    RecurForm form;
    form.startDate = MakeSystemTime(2026, 12, 7);
    form.endDate = MakeSystemTime(2026, 12, 31);
    form.startTime = L"10:00";
    form.endTime = L"11:00";
    form.daysAfter = L"0";
    form.interval = L"1";
    form.typeIndex = 1;
    form.weekdayMask = 2;
    return form;
}

TEST(RecurRulesTest, RefusedFormsNameTheirControlAndMessage)
{
    const struct {
        const char* what;
        void (*change)(RecurForm&);
        bool allDay;
        bool appointment;
        int control;
        int messageId;
    } cases[] = {
        {"start 1899", [](RecurForm& f) { f.startDate.wYear = 1899; }, false, true, kRecurStartDate,
         res::IDS_START_AFTER_1900},
        {"end 3000",
         [](RecurForm& f) {
             f.noEnd = false;
             f.endDate.wYear = 3000;
         },
         false, true, kRecurEndDate, res::IDS_END_BEFORE_3000},
        {"end first",
         [](RecurForm& f) {
             f.noEnd = false;
             f.endDate.wDay = 6;
         },
         false, true, kRecurEndDate, res::IDS_START_BEFORE_END},
        {"times", [](RecurForm& f) { f.endTime = L"09:00"; }, false, true, kRecurEndTime,
         res::IDS_START_TIME_BEFORE_END},
        {"25:99", [](RecurForm& f) { f.startTime = L"25:99"; }, false, true, kRecurStartTime,
         res::IDS_BAD_TIME_TEXT},
        {"all-day no span", [](RecurForm&) {}, true, true, kRecurDaysAfter, res::IDS_NO_DAY_SPAN},
        {"days text", [](RecurForm& f) { f.daysAfter = L"x"; }, false, true, kRecurDaysAfter,
         res::IDS_BAD_DAY_COUNT},
        {"interval 0", [](RecurForm& f) { f.interval = L"0"; }, false, true, kRecurInterval,
         res::IDS_BAD_INTERVAL},
        {"interval empty", [](RecurForm& f) { f.interval.clear(); }, false, true, kRecurInterval,
         res::IDS_BAD_INTERVAL},
        {"no weekday", [](RecurForm& f) { f.weekdayMask = 0; }, false, true, kRecurSunday,
         res::IDS_SELECT_WEEKDAY},
        {"two weekdays nth",
         [](RecurForm& f) {
             f.typeIndex = 2;
             f.dayRadio = false;
             f.weekdayMask = 6;
         },
         false, true, kRecurSunday, res::IDS_ONE_WEEKDAY_ONLY},
        {"30 February",
         [](RecurForm& f) {
             f.typeIndex = 3;
             f.month = 1;
             f.day = 29;
         },
         false, true, kRecurDay, res::IDS_WRONG_DAY},
    };
    for (const auto& c : cases) {
        RecurForm form = Weekly();
        c.change(form);
        pim::RecurrenceFields pattern;
        pattern.Interval = 7;
        EXPECT_EQ(CheckRecurForm(form, c.allDay, c.appointment, pattern),
                  (Refusal{c.control, c.messageId}))
            << c.what;
        EXPECT_EQ(pattern.Interval, 7) << c.what << ": a refused form writes nothing";
    }
}

TEST(RecurRulesTest, AcceptedFormsWriteThePattern)
{
    const struct {
        const char* what;
        void (*change)(RecurForm&);
        bool allDay;
        bool appointment;
        int32_t type;
        int32_t duration;
        int32_t interval;
        int32_t mask;
        int32_t dayOfMonth;
        int32_t instance;
        int32_t month;
    } cases[] = {
        {"weekly", [](RecurForm&) {}, false, true, 1, 60, 1, 2, 0, 0, 0},
        {"22:00 to 01:00 next day",
         [](RecurForm& f) {
             f.startTime = L"22:00";
             f.endTime = L"01:00";
             f.daysAfter = L"1";
         },
         false, true, 1, 180, 1, 2, 0, 0, 0},
        {"daily every 2nd day drops weekdays",
         [](RecurForm& f) {
             f.typeIndex = 0;
             f.interval = L"2";
             f.weekdayMask = 127;
         },
         false, true, 0, 60, 2, 0, 0, 0, 0},
        {"daily without weekdays",
         [](RecurForm& f) {
             f.typeIndex = 0;
             f.weekdayMask = 0;
         },
         false, true, 0, 60, 1, 0, 0, 0, 0},
        {"monthly on the 31st",
         [](RecurForm& f) {
             f.typeIndex = 2;
             f.day = 30;
         },
         false, true, 2, 60, 1, 0, 31, 0, 0},
        {"last Friday monthly",
         [](RecurForm& f) {
             f.typeIndex = 2;
             f.dayRadio = false;
             f.instance = 4;
             f.weekdayMask = 32;
         },
         false, true, 3, 60, 1, 32, 0, 5, 0},
        {"every year keeps the interval",
         [](RecurForm& f) {
             f.typeIndex = 3;
             f.interval.clear();
             f.month = 1;
             f.day = 28;
         },
         false, true, 5, 60, 7, 0, 29, 0, 2},
        {"yearly nth",
         [](RecurForm& f) {
             f.typeIndex = 3;
             f.dayRadio = false;
             f.month = 10;
         },
         false, true, 6, 60, 7, 2, 0, 1, 11},
        {"all-day appointment, two days", [](RecurForm& f) { f.daysAfter = L"2"; }, true, true, 1,
         2880, 1, 2, 0, 0, 0},
        {"task without span", [](RecurForm&) {}, true, false, 1, 0, 1, 2, 0, 0, 0},
    };
    for (const auto& c : cases) {
        RecurForm form = Weekly();
        c.change(form);
        pim::RecurrenceFields pattern;
        pattern.Interval = 7;
        ASSERT_EQ(CheckRecurForm(form, c.allDay, c.appointment, pattern).has_value(), false)
            << c.what;
        EXPECT_EQ(pattern.RecurrenceType, c.type) << c.what;
        EXPECT_EQ(pattern.Duration, c.duration) << c.what;
        EXPECT_EQ(pattern.Interval, c.interval) << c.what;
        EXPECT_EQ(pattern.DayOfWeekMask, c.mask) << c.what;
        EXPECT_EQ(pattern.DayOfMonth, c.dayOfMonth) << c.what;
        EXPECT_EQ(pattern.Instance, c.instance) << c.what;
        EXPECT_EQ(pattern.MonthOfYear, c.month) << c.what;
        EXPECT_TRUE(pattern.NoEndDate) << c.what;
        EXPECT_EQ(pattern.PatternEndDate, pim::kNoDate) << c.what;
    }

    RecurForm ending = Weekly();
    ending.noEnd = false;
    pim::RecurrenceFields pattern;
    ASSERT_EQ(CheckRecurForm(ending, false, true, pattern).has_value(), false);
    EXPECT_FALSE(pattern.NoEndDate);
    EXPECT_EQ(pattern.PatternEndDate, SystemTimeToVariantTime(MakeSystemTime(2026, 12, 31)));
    EXPECT_EQ(pattern.StartTime, SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 10)));
    EXPECT_NEAR(pattern.EndTime, 11.0 / 24, 1e-9);
}

TEST(RecurRulesTest, TypesAndLayouts)
{
    const struct {
        int typeIndex;
        bool day;
        int32_t type;
        RecurLayout layout;
    } cases[] = {
        {0, true, 0, {true, false, false, false, false, true}},
        {1, false, 1, {true, false, false, false, false, true}},
        {2, true, 2, {true, true, false, true, false, false}},
        {2, false, 3, {true, true, false, false, true, true}},
        {3, true, 5, {false, true, true, true, false, false}},
        {3, false, 6, {false, true, true, false, true, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecurrenceTypeOf(c.typeIndex, c.day), c.type);
        EXPECT_EQ(TypeIndexOf(c.type), c.typeIndex);
        const RecurLayout l = LayoutOf(c.type);
        EXPECT_EQ(std::tie(l.interval, l.dayWeekRadios, l.month, l.day, l.instance, l.weekdays),
                  std::tie(c.layout.interval, c.layout.dayWeekRadios, c.layout.month, c.layout.day,
                           c.layout.instance, c.layout.weekdays))
            << c.type;
    }
}

} // namespace
