// A small calendar with reminders, shared by the reminder plan and reminder program tests:
// Dentist at 10:00 on 7 December 2026 (15 minutes ahead), a silent lunch, a daily stand-up from
// that day at 09:00 (10 minutes ahead) whose 8th moved to 13:00 and whose 9th was deleted, a
// review on day 31 of every month at 14:00 (an hour ahead), and three tasks of which only the
// open one with a reminder time fires, at 16:00.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/store_items.h"

namespace reminder_calendar {

constexpr double kMinute = 1.0 / 1440.0;

inline DATE At(int month, int day, int hour = 0, int minute = 0, int year = 2026)
{
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute));
}

// options: ReminderOptions, the dialog bit unless said otherwise.
inline AppointItem Appointment(PimSession& session, const std::wstring& subject, DATE start,
                               int minutes, int lead, int options = 4, bool reminder = true)
{
    AppointItem item = session.CreateAppointment();
    item->SetSubject(subject);
    item->SetStart(start);
    item->SetEnd(start + minutes * kMinute);
    item->SetReminderSet(reminder);
    item->SetReminderMinutesBeforeStart(lead);
    item->SetReminderOptions(options);
    EXPECT_GE(item->Save(), 0);
    return item;
}

inline std::shared_ptr<pim::RecurrencePattern> Recur(const AppointItem& item, int32_t type,
                                                     DATE first, int dayOfMonth = 0)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
    pattern->SetRecurrenceType(type);
    pattern->SetPatternStartDate(std::floor(first));
    pattern->SetDayOfWeekMask(0); // every day, not just the start's weekday
    pattern->SetDayOfMonth(dayOfMonth);
    EXPECT_GE(item->Save(), 0);
    return pattern;
}

inline void Task(PimSession& session, const std::wstring& subject, DATE reminderTime, bool complete)
{
    TaskItem task = session.CreateTask();
    task->SetSubject(subject);
    task->SetDueDate(At(12, 9));
    task->SetReminderSet(true);
    task->SetReminderTime(reminderTime);
    task->SetReminderOptions(4);
    task->SetComplete(complete);
    EXPECT_GE(task->Save(), 0);
}

inline void Fill(const std::string& path)
{
    PimSession session(path, OccurrenceOnDay);
    ASSERT_GE(session.Connect(), 0);
    Appointment(session, L"Dentist", At(12, 7, 10), 60, 15);
    Appointment(session, L"Lunch", At(12, 7, 12), 60, 15, 4, false);
    AppointItem standup = Appointment(session, L"Stand-up", At(12, 7, 9), 30, 10);
    Recur(standup, kRecursDaily, At(12, 7));
    EditOccurrence(*standup, At(12, 8), L"Stand-up moved", At(12, 8, 13), At(12, 8, 13, 30));
    EditOccurrence(*standup, At(12, 9), L"");
    Recur(Appointment(session, L"Review", At(11, 30, 14), 60, 60), kRecursMonthly, At(11, 30), 31);
    Task(session, L"Report", At(12, 7, 16), false);
    Task(session, L"Done already", At(12, 7, 17), true);
    Task(session, L"No time", pim::kNoDate, false);
}

} // namespace reminder_calendar
