// Items for tests over a real store: an appointment or task saved with the fields most tests
// vary, so each test file builds its store the same way.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "model/pim_session.h"
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
