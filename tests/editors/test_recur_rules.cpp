// The recurrence editor's OK checks and type layouts, without widgets.
#include "editors/recur_rules.h"

#include <gtest/gtest.h>

#include "model/recurrence.h"
#include "platform/pim/item_fields.h"
#include "res/string_table.h"

using namespace res;

using Change = void (*)(RecurForm&);

// Weekly on Monday 7 December 2026, 10:00 to 11:00, no end, changed by `change`.
static RecurForm Weekly(Change change)
{
    RecurForm form{.startDate = MakeSystemTime(2026, 12, 7),
                   .endDate = MakeSystemTime(2026, 12, 31),
                   .startTime = L"10:00",
                   .endTime = L"11:00",
                   .daysAfter = L"0",
                   .interval = L"1",
                   .weekdayMask = 2};
    change(form);
    return form;
}

static void Same(RecurForm& /*form*/)
{
}

TEST(RecurRulesTest, FormsRefusedOrWrittenAndTheTypesLayouts)
{
    const struct {
        Change change;
        int control, messageId;
    } cases[] = {
        {[](RecurForm& f) { f.startDate.wYear = 1899; }, kRecurStartDate, IDS_START_AFTER_1900},
        {[](RecurForm& f) { f.noEnd = false, f.endDate.wYear = 3000; }, kRecurEndDate,
         IDS_END_BEFORE_3000},
        {[](RecurForm& f) { f.noEnd = false, f.endDate.wDay = 6; }, kRecurEndDate,
         IDS_START_BEFORE_END},
        {[](RecurForm& f) { f.endTime = L"09:00"; }, kRecurEndTime, IDS_START_TIME_BEFORE_END},
        {[](RecurForm& f) { f.startDate.wYear = 3000; }, kRecurStartDate, IDS_START_BEFORE_3000},
        {[](RecurForm& f) { f.startTime = L"24:00"; }, kRecurStartTime, IDS_BAD_START_TIME_TEXT},
        {[](RecurForm& f) { f.daysAfter = L"355000"; }, kRecurDaysAfter, IDS_BAD_DAY_COUNT},
        {[](RecurForm& f) { f.interval = L"0"; }, kRecurInterval, IDS_BAD_INTERVAL},
        {[](RecurForm& f) { f.weekdayMask = 0; }, kRecurSunday, IDS_SELECT_WEEKDAY},
        {[](RecurForm& f) { f.typeIndex = 2, f.dayRadio = false, f.weekdayMask = 6; }, kRecurSunday,
         IDS_ONE_WEEKDAY_ONLY},
        {[](RecurForm& f) { f.typeIndex = 3, f.month = 1, f.day = 29; }, kRecurDay,
         IDS_WRONG_DAY}, // 30 February
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        pim::RecurrenceFields pattern;
        pattern.Interval = 7;
        EXPECT_EQ(CheckRecurForm(Weekly(c.change), false, true, pattern),
                  (Refusal{c.control, c.messageId}));
        EXPECT_EQ(pattern.Interval, 7) << "a refused form writes nothing";
    }
    const struct {
        Change change;
        bool allDay, appointment;
        int32_t type, duration, interval, mask, dayOfMonth, instance, month;
    } accepted[] = {
        {Same, false, true, 1, 60, 1, 2, 0, 0, 0},
        {[](RecurForm& f) { f.startTime = L"22:00", f.endTime = L"01:00", f.daysAfter = L"1"; },
         false, true, 1, 180, 1, 2, 0, 0, 0},
        // Every second day drops the weekdays; every year keeps the interval.
        {[](RecurForm& f) { f.typeIndex = 0, f.interval = L"2", f.weekdayMask = 127; }, false, true,
         0, 60, 2, 0, 0, 0, 0},
        {[](RecurForm& f) { f.typeIndex = 2, f.day = 30; }, false, true, 2, 60, 1, 0, 31, 0, 0},
        {[](RecurForm& f) {
             f.typeIndex = 2, f.dayRadio = false, f.instance = 4, f.weekdayMask = 32;
         },
         false, true, 3, 60, 1, 32, 0, 5, 0},
        {[](RecurForm& f) { f.typeIndex = 3, f.interval.clear(), f.month = 1, f.day = 28; }, false,
         true, 5, 60, 7, 0, 29, 0, 2},
        {[](RecurForm& f) { f.typeIndex = 3, f.dayRadio = false, f.month = 10; }, false, true, 6,
         60, 7, 2, 0, 1, 11},
        {[](RecurForm& f) { f.daysAfter = L"2"; }, true, true, 1, 2880, 1, 2, 0, 0, 0},
        {Same, true, false, 1, 0, 1, 2, 0, 0, 0}, // a task without span
    };
    for (const auto& c : accepted) {
        SCOPED_TRACE(&c - accepted);
        pim::RecurrenceFields p;
        p.Interval = 7;
        ASSERT_EQ(CheckRecurForm(Weekly(c.change), c.allDay, c.appointment, p), std::nullopt);
        EXPECT_EQ(
            std::tie(p.RecurrenceType, p.Duration, p.Interval, p.DayOfWeekMask, p.DayOfMonth,
                     p.Instance, p.MonthOfYear),
            std::tie(c.type, c.duration, c.interval, c.mask, c.dayOfMonth, c.instance, c.month));
        EXPECT_TRUE(p.NoEndDate);
        EXPECT_EQ(p.PatternEndDate, pim::kNoDate);
    }

    pim::RecurrenceFields p;
    ASSERT_EQ(CheckRecurForm(Weekly([](RecurForm& f) { f.noEnd = false; }), false, true, p),
              std::nullopt);
    EXPECT_FALSE(p.NoEndDate);
    EXPECT_EQ(p.PatternEndDate, SystemTimeToVariantTime(MakeSystemTime(2026, 12, 31)));
    EXPECT_EQ(p.StartTime, SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 10)));
    EXPECT_NEAR(p.EndTime, 11.0 / 24, 1e-9);
    const struct {
        int typeIndex;
        bool day;
        int32_t type;
        RecurLayout layout;
    } types[] = {
        {0, true, 0, {true, false, false, false, false, true}},
        {1, false, 1, {true, false, false, false, false, true}},
        {2, true, 2, {true, true, false, true, false, false}},
        {2, false, 3, {true, true, false, false, true, true}},
        {3, true, 5, {false, true, true, true, false, false}},
        {3, false, 6, {false, true, true, false, true, true}},
    };
    for (const auto& c : types) {
        EXPECT_EQ(RecurrenceTypeOf(c.typeIndex, c.day), c.type);
        EXPECT_EQ(TypeIndexOf(c.type), c.typeIndex);
        const RecurLayout l = LayoutOf(c.type);
        EXPECT_EQ(std::tie(l.interval, l.dayWeekRadios, l.month, l.day, l.instance, l.weekdays),
                  std::tie(c.layout.interval, c.layout.dayWeekRadios, c.layout.month, c.layout.day,
                           c.layout.instance, c.layout.weekdays))
            << c.type;
    }
}
