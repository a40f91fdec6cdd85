// The reminder plan over a real store: which reminders fall due in a stretch of time and which
// comes next, for single items, a series with a moved and a deleted occurrence, a monthly series
// on day 31, and tasks, each at exact times.
#include "model/reminder_plan.h"

#include <QFile>
#include <gtest/gtest.h>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "tests/support/temp_paths.h"

namespace {

constexpr double kMinute = 1.0 / 1440.0;

DATE At(int year, int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute));
}

std::string Stamp(DATE date) { return QString::fromStdWString(DateToKey(date, kTimeStampKey)).toStdString(); }

class ReminderPlanTest : public ::testing::Test {
protected:
    ReminderPlanTest() : session_(paths_.StorePath(), OccurrenceOnDay) { session_.Connect(); }

    AppointItem Appointment(const std::wstring& subject, DATE start, int minutes, bool reminder,
                            int lead)
    {
        AppointItem item = session_.CreateAppointment();
        item->SetSubject(subject);
        item->SetStart(start);
        item->SetEnd(start + minutes * kMinute);
        item->SetReminderSet(reminder);
        item->SetReminderMinutesBeforeStart(lead);
        EXPECT_GE(item->Save(), 0);
        return item;
    }

    std::shared_ptr<pim::RecurrencePattern> Recur(const AppointItem& item, int32_t type)
    {
        std::shared_ptr<pim::RecurrencePattern> pattern;
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        pattern->SetRecurrenceType(type);
        return pattern;
    }

    void Task(const std::wstring& subject, DATE reminderTime, bool complete)
    {
        TaskItem task = session_.CreateTask();
        task->SetSubject(subject);
        task->SetReminderSet(true);
        task->SetReminderTime(reminderTime);
        task->SetComplete(complete);
        EXPECT_GE(task->Save(), 0);
    }

    // Dentist once; a daily stand-up until 12 December with the 8th moved to 13:00 (its own
    // 5-minute lead) and the 9th deleted; a monthly review on day 31; three tasks, one open.
    void FillCalendar()
    {
        Appointment(L"Dentist", At(2026, 12, 7, 10), 60, true, 15);
        Appointment(L"Silent", At(2026, 12, 7, 11), 60, false, 15);
        AppointItem standup = Appointment(L"Stand-up", At(2026, 12, 1, 9), 30, true, 10);
        auto daily = Recur(standup, kRecursDaily);
        daily->SetPatternStartDate(At(2026, 12, 1));
        daily->SetStartTime(9 * 60 * kMinute);
        daily->SetDuration(30);
        daily->SetDayOfWeekMask(0);  // every day, not just the start's weekday
        daily->SetNoEndDate(false);
        daily->SetPatternEndDate(At(2026, 12, 12));
        ASSERT_GE(standup->Save(), 0);
        std::shared_ptr<pim::AppointmentItem> occurrence;
        ASSERT_GE(daily->GetOccurrence(At(2026, 12, 8), &occurrence), 0);
        occurrence->SetSubject(L"Stand-up moved");
        occurrence->SetStart(At(2026, 12, 8, 13));
        occurrence->SetEnd(At(2026, 12, 8, 13, 30));
        occurrence->SetReminderMinutesBeforeStart(5);
        ASSERT_GE(occurrence->Save(), 0);
        ASSERT_GE(daily->GetOccurrence(At(2026, 12, 9), &occurrence), 0);
        ASSERT_GE(occurrence->Delete(), 0);

        AppointItem review = Appointment(L"Review", At(2026, 11, 30, 14), 60, true, 60);
        auto monthly = Recur(review, kRecursMonthly);
        monthly->SetPatternStartDate(At(2026, 11, 30));
        monthly->SetStartTime(14 * 60 * kMinute);
        monthly->SetDuration(60);
        monthly->SetDayOfMonth(31);
        ASSERT_GE(review->Save(), 0);

        Task(L"Report", At(2026, 12, 7, 16), false);
        Task(L"Done already", At(2026, 12, 7, 17), true);
        Task(L"No time", pim::kNoDate, false);
        session_.Disconnect();
    }

    TempPaths paths_;
    PimSession session_;
};

std::vector<std::string> Listed(const std::vector<Reminder>& reminders)
{
    std::vector<std::string> lines;
    for (const Reminder& r : reminders) {
        lines.push_back(Stamp(r.fireAt) + " " + QString::fromStdWString(r.subject).toStdString());
    }
    return lines;
}

}  // namespace

TEST_F(ReminderPlanTest, DueAndNextFollowTheSeriesItsExceptionsAndTheTasks)
{
    FillCalendar();
    ReminderPlan plan;
    ASSERT_EQ(plan.Load(session_), 0);

    struct DueCase {
        DATE from, until;
        std::vector<std::string> expected;
    };
    const DueCase dues[] = {
        {At(2026, 12, 7), At(2026, 12, 8),
         {"20261207085000 Stand-up", "20261207094500 Dentist", "20261207160000 Report"}},
        {At(2026, 12, 8), At(2026, 12, 10), {"20261208125500 Stand-up moved"}},
        {At(2026, 12, 7, 9, 45), At(2026, 12, 7, 9, 46), {"20261207094500 Dentist"}},
        {At(2026, 12, 7, 9, 46), At(2026, 12, 7, 15), {}},
        {At(2026, 12, 12, 9), At(2027, 1, 1), {"20261231130000 Review"}},
    };
    for (const DueCase& c : dues) {
        EXPECT_EQ(Listed(plan.Due(c.from, c.until)), c.expected) << Stamp(c.from);
    }

    struct NextCase {
        DATE after;
        std::string expected;
    };
    const NextCase nexts[] = {
        {At(2026, 12, 7, 9), "20261207094500 Dentist"},
        {At(2026, 12, 7, 16, 0), "20261207160000 Report"},
        {At(2026, 12, 8), "20261208125500 Stand-up moved"},
        {At(2026, 12, 9), "20261210085000 Stand-up"},
        {At(2026, 12, 12, 8, 51), "20261231130000 Review"},
        {At(2027, 1, 31, 13, 0) + kMinute, "20270228130000 Review"},
    };
    for (const NextCase& c : nexts) {
        const std::optional<Reminder> next = plan.Next(c.after);
        ASSERT_TRUE(next.has_value()) << Stamp(c.after);
        EXPECT_EQ(Listed({*next}).front(), c.expected) << Stamp(c.after);
    }
}

TEST_F(ReminderPlanTest, ReminderCarriesWhatTheNotificationShowsAndAKeyPerFiring)
{
    AppointItem item = Appointment(L"Dentist", At(2026, 12, 7, 10), 60, true, 90);
    item->SetLocation(L"12 Main Street");
    item->SetReminderOptions(kReminderDialog | kReminderSound);
    item->SetReminderSoundFile(L"/sounds/bell.wav");
    ASSERT_GE(item->Save(), 0);
    session_.Disconnect();
    ReminderPlan plan;
    ASSERT_EQ(plan.Load(session_), 0);
    const std::optional<Reminder> r = plan.Next(At(2026, 12, 1));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->kind, pim::kAppointmentKind);
    EXPECT_EQ(r->location, L"12 Main Street");
    EXPECT_EQ(r->options, kReminderDialog | kReminderSound);
    EXPECT_EQ(r->soundFile, L"/sounds/bell.wav");
    EXPECT_DOUBLE_EQ(r->end, At(2026, 12, 7, 11));
    EXPECT_EQ(r->Key(), L"A" + std::to_wstring(item->GetOid()) + L"@20261207083000");
    EXPECT_FALSE(plan.Next(At(2026, 12, 7, 8, 31)).has_value());
}

TEST(ReminderPlan, StoreThatCannotBeReadGivesAnEmptyPlan)
{
    TempPaths paths;
    QFile junk(QString::fromStdString(paths.StorePath()));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a calendar\n");
    junk.close();
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    ReminderPlan plan;
    EXPECT_LT(plan.Load(session), 0);
    EXPECT_TRUE(plan.Empty());
    EXPECT_FALSE(plan.Next(At(2026, 12, 7)).has_value());
}
