// The alarm editor's lead-time units and checks.
#include <gtest/gtest.h>

#include "editors/alarm_rules.h"
#include "model/date_time.h"
#include "res/string_table.h"

TEST(AlarmRules, LeadTimeShowsInTheLargestExactUnit)
{
    const struct {
        int32_t minutes;
        LeadTime shown;
    } cases[] = {
        {0, {0, kWeeksBefore}},     {15, {15, kMinutesBefore}}, {90, {90, kMinutesBefore}},
        {120, {2, kHoursBefore}},   {1440, {1, kDaysBefore}},   {2880, {2, kDaysBefore}},
        {20160, {2, kWeeksBefore}}, {1500, {25, kHoursBefore}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLeadMinutes(c.minutes), c.shown) << c.minutes;
}

TEST(AlarmRules, LeadTimeIsReadBackFromNumberAndUnit)
{
    const struct {
        const wchar_t* number;
        int unit;
        int32_t minutes; // -1: refused
    } cases[] = {
        {L"1", kHoursBefore, 60},    {L"2", kWeeksBefore, 20160},        {L"abc", kDaysBefore, 0},
        {L"15", kMinutesBefore, 15}, {L"52", kWeeksBefore, 524160},      {L"53", kWeeksBefore, -1},
        {L"-5", kMinutesBefore, -1}, {L"99999999999", kWeeksBefore, -1}, {L"3", -1, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LeadMinutes(c.number, c.unit).value_or(-1), c.minutes) << c.number;
}

TEST(AlarmRules, RefusedFieldsNameTheirControl)
{
    AlarmFields task;
    task.taskMode = true;
    task.date = MakeSystemTime(2026, 5, 3);
    task.time = L"09:30";
    EXPECT_EQ(CheckAlarmFields(task), std::nullopt);
    EXPECT_EQ(TaskReminderTime(task), SystemTimeToVariantTime(MakeSystemTime(2026, 5, 3, 9, 30)));
    task.date = MakeSystemTime(2028, 2, 29);
    task.time = L"24:00";
    EXPECT_EQ(CheckAlarmFields(task), std::nullopt);
    EXPECT_EQ(TaskReminderTime(task), SystemTimeToVariantTime(MakeSystemTime(2028, 3, 1)));

    AlarmFields appointment;
    appointment.number = L"10";
    const auto with = [](AlarmFields fields, auto change) {
        change(fields);
        return CheckAlarmFields(fields);
    };
    const struct {
        Verdict verdict;
        Refusal expected;
    } cases[] = {
        {with(task, [](AlarmFields& f) { f.time = L"25:99"; }), {1128, res::IDS_BAD_TIME_TEXT}},
        {with(task, [](AlarmFields& f) { f.time = L"9:5"; }), {1128, res::IDS_BAD_TIME_TEXT}},
        {with(task, [](AlarmFields& f) { f.date.wYear = 1899; }),
         {1095, res::IDS_START_AFTER_1900}},
        {with(task, [](AlarmFields& f) { f.date.wYear = 3000; }), {1095, res::IDS_END_BEFORE_3000}},
        {with(appointment, [](AlarmFields& f) { f.number = L"-1"; }),
         {1032, res::IDS_ALARM_LEAD_RANGE}},
        {with(appointment, [](AlarmFields& f) { f.soundFile = L"a\x1f"; }),
         {1040, res::IDS_CONTROL_CHARACTERS}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.verdict, c.expected) << c.expected.controlId;
}
