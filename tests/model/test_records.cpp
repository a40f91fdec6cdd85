// Copy and shift of appointment and task records, through a real store so that what reaches
// the file is what the program meant.
#include "model/pim_records.h"

#include <gtest/gtest.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int year, int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute));
}

}  // namespace

TEST(Records, TaskDateAndReminderBounds)
{
    const struct {
        DATE date;
        bool isTaskDate;
    } dates[] = {
        {At(1899, 12, 31), false}, {At(1900, 1, 1), true}, {At(4000, 12, 31, 23, 59), true},
        {At(4001, 1, 1), false},   {0.0, false},           {1e300, false},
        {At(1900, 1, 1) - 1e-11, true},  // rounds to its second, 1 January 1900
    };
    for (const auto& entry : dates)
        EXPECT_EQ(IsTaskDate(entry.date), entry.isTaskDate) << entry.date;

    EXPECT_FALSE(IsReminderTimeSet(0.0));
    EXPECT_FALSE(IsReminderTimeSet(-1.0));
    EXPECT_TRUE(IsReminderTimeSet(0.5));
    EXPECT_TRUE(IsReminderTimeSet(899999.9));
    EXPECT_FALSE(IsReminderTimeSet(900000.0));
}

// Shifts land on whole seconds: a stored value a hair off its second, or a distance that is no
// exact binary fraction of a day, must not leave the item a hair below midnight.
TEST(Records, AppointmentShiftByModeLandsOnWholeSeconds)
{
    const DATE hairBelow10th = At(2026, 12, 10) - 7e-12;
    const struct {
        int mode;
        DATE start, end;
        SYSTEMTIME from, to;
        DATE shiftedStart, shiftedEnd;
    } cases[] = {
        {kShiftStart, At(2024, 2, 28, 22), At(2024, 2, 29, 1), MakeSystemTime(2024, 2, 28, 22),
         MakeSystemTime(2024, 2, 29, 23, 30), At(2024, 2, 29, 23, 30), At(2024, 2, 29, 1)},
        {kShiftEnd, At(2024, 2, 28, 22), At(2024, 2, 29, 1), MakeSystemTime(2024, 2, 28, 22),
         MakeSystemTime(2024, 2, 29, 23, 30), At(2024, 2, 28, 22), At(2024, 3, 1, 2, 30)},
        {7, At(2024, 2, 28, 22), At(2024, 2, 29, 1), MakeSystemTime(2024, 2, 28, 22),
         MakeSystemTime(2024, 2, 29, 23, 30), At(2024, 2, 28, 22), At(2024, 2, 29, 1)},
        {kShiftBoth, At(2026, 12, 10), At(2026, 12, 10, 1), MakeSystemTime(2026, 12, 10),
         MakeSystemTime(2026, 12, 9, 23, 30), At(2026, 12, 9, 23, 30), At(2026, 12, 10, 0, 30)},
        {kShiftBoth, At(2026, 12, 10, 23), hairBelow10th + 1, MakeSystemTime(2026, 12, 10, 23, 10),
         MakeSystemTime(2026, 12, 10, 23, 20), At(2026, 12, 10, 23, 10), At(2026, 12, 11, 0, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        pim::AppointmentItem item(nullptr, {});
        item.SetStart(c.start);
        item.SetEnd(c.end);
        ShiftAppointment(item, c.from, c.to, c.mode);
        EXPECT_EQ(item.GetStart(), c.shiftedStart);
        EXPECT_EQ(item.GetEnd(), c.shiftedEnd);
    }
}

TEST(Records, TaskShiftKeepsNoDate)
{
    const DATE noDate = At(4501, 1, 1);
    const SYSTEMTIME from = MakeSystemTime(2024, 1, 31);
    const SYSTEMTIME to = MakeSystemTime(2024, 2, 2);
    pim::TaskItem task(nullptr, {});
    task.SetStartDate(At(2024, 1, 31));
    task.SetDueDate(noDate);
    ShiftTask(task, from, to, kShiftBoth);
    EXPECT_EQ(task.GetStartDate(), At(2024, 2, 2));
    EXPECT_EQ(task.GetDueDate(), noDate);

    task.SetDueDate(At(2024, 2, 5));
    ShiftTask(task, from, to, kShiftEnd);
    EXPECT_EQ(task.GetStartDate(), At(2024, 2, 2));
    EXPECT_EQ(task.GetDueDate(), At(2024, 2, 7));
}

TEST(Records, CopiesRoundTripThroughTheStoreWithoutRecurrence)
{
    const FixedClock clock(MakeSystemTime(2024, 6, 2, 12));
    const ScopedClock useClock(clock);
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    AppointItem source = session.CreateAppointment();
    source->SetSubject(L"Konzert \u00e9t\u00e9");
    source->SetLocation(L"Hall");
    source->SetStart(At(2024, 6, 1, 19));
    source->SetEnd(At(2024, 6, 1, 22));
    source->SetAllDayEvent(false);
    source->SetReminderSet(true);
    source->SetCategories(L"Music,Family");
    source->SetBusyStatus(kBusyOutOfOffice);
    source->SetSensitivity(kSensitivityPrivate);
    source->SetBody(L"Row 4\r\nSeat 12");
    source->SetReminderMinutesBeforeStart(45);
    source->SetReminderOptions(kReminderSound | kReminderDialog);
    source->SetReminderSoundFile(L"/sounds/bell.wav");
    std::shared_ptr<pim::RecurrencePattern> pattern;
    ASSERT_GE(source->GetRecurrencePattern(&pattern), 0);
    pattern->SetRecurrenceType(1);
    pattern->SetDayOfWeekMask(64);
    ASSERT_GE(source->Save(), 0);

    AppointItem copy = session.CreateAppointment();
    CopyAppointment(*source, *copy);
    ASSERT_GE(copy->Save(), 0);
    const std::wstring oid = PimSession::OidField(copy->GetOid());
    session.Disconnect();
    session.Connect();
    copy = session.FindAppointment(oid);
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->GetIsRecurring());
    EXPECT_EQ(copy->GetSubject(), L"Konzert \u00e9t\u00e9");
    EXPECT_EQ(copy->GetLocation(), L"Hall");
    EXPECT_EQ(copy->GetStart(), At(2024, 6, 1, 19));
    EXPECT_EQ(copy->GetEnd(), At(2024, 6, 1, 22));
    EXPECT_TRUE(copy->GetReminderSet());
    EXPECT_EQ(copy->GetCategories(), L"Music,Family");
    EXPECT_EQ(copy->GetBusyStatus(), kBusyOutOfOffice);
    EXPECT_EQ(copy->GetSensitivity(), kSensitivityPrivate);
    EXPECT_EQ(copy->GetBody(), L"Row 4\r\nSeat 12");
    EXPECT_EQ(copy->GetReminderMinutesBeforeStart(), 45);
    EXPECT_EQ(copy->GetReminderOptions(), kReminderSound | kReminderDialog);
    EXPECT_EQ(copy->GetReminderSoundFile(), L"/sounds/bell.wav");

    TaskItem task = session.CreateTask();
    task->SetSubject(L"Report");
    task->SetImportance(kImportanceHigh);
    task->SetStartDate(At(2024, 6, 3));
    task->SetDueDate(At(2024, 6, 7));
    task->SetComplete(true);
    task->SetReminderSet(true);
    task->SetReminderTime(At(2024, 6, 6, 8));
    task->SetReminderOptions(kReminderLed);
    task->SetReminderSoundFile(L"chime.wav");
    task->SetCategories(L"Work");
    task->SetBody(L"Q2");
    task->SetSensitivity(kSensitivityConfidential);
    TaskItem taskCopy = session.CreateTask();
    CopyTask(*task, *taskCopy);
    ASSERT_GE(taskCopy->Save(), 0);
    const std::wstring taskOid = PimSession::OidField(taskCopy->GetOid());
    session.Disconnect();
    session.Connect();
    taskCopy = session.FindTask(taskOid);
    ASSERT_NE(taskCopy, nullptr);
    EXPECT_EQ(taskCopy->GetSubject(), L"Report");
    EXPECT_EQ(taskCopy->GetImportance(), kImportanceHigh);
    EXPECT_EQ(taskCopy->GetStartDate(), At(2024, 6, 3));
    EXPECT_EQ(taskCopy->GetDueDate(), At(2024, 6, 7));
    EXPECT_TRUE(taskCopy->GetComplete());
    EXPECT_EQ(taskCopy->GetReminderTime(), At(2024, 6, 6, 8));
    EXPECT_EQ(taskCopy->GetReminderOptions(), kReminderLed);
    EXPECT_EQ(taskCopy->GetReminderSoundFile(), L"chime.wav");
    EXPECT_EQ(taskCopy->GetCategories(), L"Work");
    EXPECT_EQ(taskCopy->GetBody(), L"Q2");
    EXPECT_EQ(taskCopy->GetSensitivity(), kSensitivityConfidential);
    EXPECT_FALSE(taskCopy->GetIsRecurring());
}
