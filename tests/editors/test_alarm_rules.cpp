// The alarm editor's lead-time units and checks.
#include <gtest/gtest.h>

#include "editors/alarm_rules.h"
#include "model/date_time.h"
#include "res/string_table.h"

using namespace res;

TEST(AlarmRules, LeadTimesAndFormsAcceptedOrRefused)
{
    const struct {
        int32_t minutes;
        LeadTime shown;
    } cases[] = {
        {0, {0, kWeeksBefore}},   {90, {90, kMinutesBefore}}, {120, {2, kHoursBefore}},
        {2880, {2, kDaysBefore}}, {20160, {2, kWeeksBefore}}, {1500, {25, kHoursBefore}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLeadMinutes(c.minutes), c.shown) << c.minutes;
    }
    const struct {
        const wchar_t* number;
        int unit;
        int32_t minutes; // -1: refused
    } readBack[] = {
        {L"1", kHoursBefore, 60},    {L"2", kWeeksBefore, 20160},        {L"abc", kDaysBefore, 0},
        {L"15", kMinutesBefore, 15}, {L"52", kWeeksBefore, 524160},      {L"53", kWeeksBefore, -1},
        {L"-5", kMinutesBefore, -1}, {L"99999999999", kWeeksBefore, -1}, {L"3", -1, -1},
    };
    for (const auto& c : readBack) {
        EXPECT_EQ(LeadMinutes(c.number, c.unit).value_or(-1), c.minutes) << c.number;
    }
    AlarmForm task;
    task.taskMode = true;
    task.date = MakeSystemTime(2028, 2, 29);
    task.options = 1 | 16;
    const struct {
        const wchar_t* time;
        DATE reminder;
    } accepted[] = {
        {L"09:30", SystemTimeToVariantTime(MakeSystemTime(2028, 2, 29, 9, 30))},
        {L"24:00", SystemTimeToVariantTime(MakeSystemTime(2028, 3, 1))},
    };
    for (const auto& c : accepted) {
        pim::ItemFields fields;
        task.time = c.time;
        EXPECT_EQ(CheckAlarmForm(task, fields), std::nullopt) << c.time;
        EXPECT_EQ(fields.ReminderTime, c.reminder) << c.time;
        EXPECT_EQ(fields.ReminderOptions, 17);
        EXPECT_EQ(fields.ReminderMinutesBeforeStart, pim::ItemFields{}.ReminderMinutesBeforeStart);
    }

    task.time = L"09:30";
    AlarmForm appointment;
    appointment.number = L"10";
    const auto refused = [](AlarmForm form, auto change) {
        change(form);
        pim::ItemFields fields;
        const Verdict check = CheckAlarmForm(form, fields);
        EXPECT_EQ(fields.ReminderOptions, 0) << "a refused form writes nothing";
        return check;
    };
    const struct {
        Verdict check;
        int control, message;
    } refusals[] = {
        {refused(task, [](AlarmForm& f) { f.date.wYear = 1899; }), 1095, IDS_START_AFTER_1900},
        {refused(task, [](AlarmForm& f) { f.date.wYear = 3000; }), 1095, IDS_END_BEFORE_3000},
        {refused(appointment, [](AlarmForm& f) { f.number = L"-1"; }), 1032, IDS_ALARM_LEAD_RANGE},
        {refused(appointment, [](AlarmForm& f) { f.soundFile = L"a\x1f"; }), 1040,
         IDS_CONTROL_CHARACTERS},
    };
    for (const auto& c : refusals) {
        EXPECT_EQ(c.check, (Refusal{c.control, c.message})) << c.control;
    }
}
