// The task editor's date rules and OK checks, without widgets.
#include <gtest/gtest.h>

#include "editors/task_rules.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/string_table.h"

using namespace res;

namespace {

SYSTEMTIME Day(int year, int month, int day)
{
    return MakeSystemTime(year, month, day);
}
DATE DayDate(int year, int month, int day)
{
    return SystemTimeToVariantTime(Day(year, month, day));
}

} // namespace

TEST(TaskRules, PickersSpansAndOkChecksInOrder)
{
    const SYSTEMTIME today = Day(2026, 12, 7);
    const struct {
        DATE date;
        bool checked;
        SYSTEMTIME shown;
    } pickers[] = {
        {DayDate(2026, 5, 3), true, Day(2026, 5, 3)},
        {DayDate(1899, 12, 7), false, today}, // "no start" of a new task
        {DayDate(4000, 12, 7), true, today},  // "no due" of a new task: checked, shows today
        {pim::kNoDate, false, today},
    };
    for (const auto& c : pickers) {
        EXPECT_EQ(IsCheckedTaskDate(c.date), c.checked) << c.date;
        EXPECT_EQ(SystemTimeToVariantTime(PickerDay(c.date, today)),
                  SystemTimeToVariantTime(c.shown))
            << c.date;
    }
    EXPECT_EQ(TaskSpanDays(Day(2026, 12, 7), Day(2026, 12, 10)), 3);
    EXPECT_EQ(TaskSpanDays(Day(2026, 12, 7), Day(2026, 12, 1)), 0);
    EXPECT_EQ(TaskSpanDays(Day(1899, 12, 7), Day(2026, 12, 1)), 1);
    TaskForm base;
    base.title = L"Report";
    base.hasStart = base.hasDue = true;
    base.start = Day(2026, 12, 7);
    base.due = Day(2026, 12, 9);
    const auto with = [&base](auto change) {
        TaskForm form = base;
        change(form);
        return form;
    };
    const struct {
        TaskForm form;
        bool hasPattern;
        int control, message; // 0, 0: accepted
    } cases[] = {
        {base, false, 0, 0},
        {with([](TaskForm& f) { f.hasStart = false; }), false, 0, 0},
        {with([](TaskForm& f) { f.hasStart = f.hasDue = false; }), false, 0, 0},
        {with([](TaskForm& f) { f.start.wYear = 1899; }), false, kTaskStart, IDS_START_AFTER_1900},
        {with([](TaskForm& f) { f.due = Day(2026, 12, 6); }), false, kTaskDue,
         IDS_START_BEFORE_DUE},
        {with([](TaskForm& f) { f.hasDue = false; }), false, kTaskDue, IDS_ONLY_START_DATE},
        {with([](TaskForm& f) { f.due.wYear = 3000; }), false, kTaskDue, IDS_END_BEFORE_3000},
        {with([](TaskForm& f) { f.title = L"a\x1f-"; }), false, kTaskTitle, IDS_CONTROL_CHARACTERS},
        {with([](TaskForm& f) { f.start.wYear = f.due.wYear = 3000; }), false, kTaskStart,
         IDS_START_BEFORE_3000},
        {with([](TaskForm& f) { f.recurring = true; }), false, kTaskRecurDetail,
         IDS_RECURRENCE_NOT_SET},
        {with([](TaskForm& f) { f.recurring = true; }), true, 0, 0},
        {with([](TaskForm& f) { f.recurring = true, f.hasDue = false; }), true, 0, 0},
        {with([](TaskForm& f) { f.recurring = true, f.start.wYear = 1899; }), true, kTaskStart,
         IDS_START_AFTER_1900},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        ItemValues values;
        values.fields.Subject = L"before";
        if (c.hasPattern) {
            values.pattern = pim::RecurrencePattern::WeeklyFrom(DayDate(2026, 12, 7), 0);
        }
        const Verdict check = CheckTaskForm(c.form, values);
        EXPECT_EQ(check.value_or(Refusal{0, 0}), (Refusal{c.control, c.message}));
        if (check) {
            EXPECT_EQ(values.fields.Subject, L"before") << "a refused form writes nothing";
            continue;
        }
        const bool recurring = c.form.recurring;
        EXPECT_EQ(values.pattern.has_value(), recurring);
        EXPECT_EQ(values.fields.StartDate, c.form.hasStart || recurring
                                               ? SystemTimeToVariantTime(c.form.start)
                                               : pim::kNoDate);
        EXPECT_EQ(values.fields.DueDate,
                  c.form.hasDue || recurring ? SystemTimeToVariantTime(c.form.due) : pim::kNoDate);
    }
}
