// Items for tests over a real store: an appointment or task saved with the fields most tests
// vary, a daily series and a changed or deleted occurrence, so each test file builds its store
// the same way.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/item_values.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/systemtime.h"

inline AppointItem SavedAppointment(PimSession& session, const std::wstring& subject, DATE start,
                                    DATE end, bool allDay = false,
                                    const std::wstring& categories = {},
                                    const std::wstring& location = {})
{
    AppointItem item = session.CreateAppointment();
    EXPECT_NE(item, nullptr);
    item->SetSubject(subject);
    item->SetStart(start);
    item->SetEnd(end);
    item->SetAllDayEvent(allDay);
    item->SetCategories(categories);
    item->SetLocation(location);
    EXPECT_GE(item->Save(), 0);
    return item;
}

inline TaskItem SavedTask(PimSession& session, const std::wstring& subject, DATE start, DATE due,
                          bool complete = false)
{
    TaskItem task = session.CreateTask();
    EXPECT_NE(task, nullptr);
    task->SetSubject(subject);
    task->SetStartDate(start);
    task->SetDueDate(due);
    task->SetComplete(complete);
    EXPECT_GE(task->Save(), 0);
    return task;
}

// Makes the item a series every day from its start's day at its time and length, through `last`
// (without an end when 0), and saves it.
inline void RecurDaily(pim::AppointmentItem& item, DATE last = 0)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    ASSERT_GE(item.GetRecurrencePattern(&pattern), 0);
    pattern->SetRecurrenceType(kRecursDaily);
    pattern->SetDayOfWeekMask(0x7F); // a new pattern is weekly on the start's weekday
    pattern->SetPatternStartDate(std::floor(item.GetStart()));
    pattern->SetNoEndDate(last == 0);
    pattern->SetPatternEndDate(last);
    EXPECT_GE(item.Save(), 0);
}

// Changes the series' occurrence of `day` (or deletes it when subject is empty) and saves it;
// a start of 0 keeps its times.
inline void EditOccurrence(pim::AppointmentItem& series, DATE day, const std::wstring& subject,
                           DATE start = 0, DATE end = 0)
{
    std::shared_ptr<pim::RecurrencePattern> pattern;
    AppointItem occurrence;
    ASSERT_GE(series.GetRecurrencePattern(&pattern), 0);
    ASSERT_GE(pattern->GetOccurrence(day, &occurrence), 0) << day;
    occurrence->SetSubject(subject);
    if (start != 0) {
        occurrence->SetStart(start);
        occurrence->SetEnd(end);
    }
    EXPECT_GE(subject.empty() ? occurrence->Delete() : occurrence->Save(), 0);
}

// An appointment's values as an editor hands them to the change path.
inline ItemValues AppointmentValues(const std::wstring& subject, DATE start, DATE end)
{
    ItemValues v;
    v.fields.Subject = subject;
    v.fields.Start = start;
    v.fields.End = end;
    return v;
}

// A daily series from `start` to `end` through `last` (none when 0), as an editor hands it on.
inline ItemValues DailyValues(const std::wstring& subject, DATE start, DATE end, DATE last = 0)
{
    ItemValues v = AppointmentValues(subject, start, end);
    pim::RecurrenceFields p = pim::RecurrencePattern::WeeklyFrom(
        start, static_cast<int32_t>(std::lround((end - start) * 1440)));
    p.RecurrenceType = kRecursDaily;
    p.DayOfWeekMask = 0;
    p.NoEndDate = last == 0;
    p.PatternEndDate = last;
    v.pattern = p;
    return v;
}
