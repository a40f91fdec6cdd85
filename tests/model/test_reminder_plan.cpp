// The reminder plan over a real store: reminders due in a stretch and the next one, to the second.
#include "model/reminder_plan.h"

#include <QString>

#include "tests/support/reminder_calendar.h"
#include "tests/support/temp_paths.h"

using reminder_calendar::At;

static std::string Listed(const std::vector<Reminder>& reminders)
{
    std::wstring text;
    for (const Reminder& r : reminders) {
        text += DateToKey(r.fireAt, kTimeStampKey) + L" " + r.subject + L";";
    }
    return QString::fromStdWString(text).toStdString();
}

TEST(ReminderPlan, DueNextAndOnlyTheMonthsAhead)
{
    TempPaths paths;
    reminder_calendar::Fill(paths.StorePath());
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    {
        // A series without a reminder whose changed occurrence has one must still count.
        ScopedConnection connection(session);
        AppointItem yoga =
            reminder_calendar::Appointment(session, L"Yoga", At(12, 10, 18), 60, 0, 4, false);
        std::shared_ptr<pim::AppointmentItem> occurrence;
        ASSERT_GE(reminder_calendar::Recur(yoga, kRecursDaily, At(12, 10))
                      ->GetOccurrence(At(12, 11), &occurrence),
                  0);
        occurrence->SetReminderSet(true);
        ASSERT_GE(occurrence->Save(), 0);
    }
    ReminderPlan plan;
    ASSERT_EQ(plan.Load(session, At(12, 7)), 0);
    struct Case {
        DATE from, until; // until 0: ask for the next reminder from `from` on
        std::string expected;
    };
    // Whole days of the calendar fire as the reminder service's tests walk them.
    const Case cases[] = {
        {At(12, 7, 9, 45), At(12, 7, 9, 46), "20261207094500 Dentist;"},
        {At(2, 28, 12, 0, 2027), At(2, 28, 14, 0, 2027), "20270228130000 Review;"},
        {At(12, 7, 16), 0, "20261207160000 Report;"},
        {At(12, 8), 0, "20261208125000 Stand-up moved;"},
        {At(12, 9), 0, "20261210085000 Stand-up;"},
        {At(12, 11, 8, 51), At(12, 11, 23), "20261211180000 Yoga;"},
        {At(12, 31, 8, 51), 0, "20261231130000 Review;"},
    };
    for (const Case& c : cases) {
        const std::optional<Reminder> next = plan.Next(c.from);
        const std::string got = c.until != 0
                                    ? Listed(plan.Due(c.from, c.until))
                                    : Listed(next ? std::vector{*next} : std::vector<Reminder>{});
        EXPECT_EQ(got, c.expected) << QString::fromStdWString(DateToKey(c.from, 0)).toStdString();
    }
    const std::optional<Reminder> dentist = plan.Next(At(12, 7, 9));
    ASSERT_TRUE(dentist.has_value());
    EXPECT_EQ(dentist->Key(), L"A" + std::to_wstring(dentist->oid) + L"@20261207094500");
    EXPECT_DOUBLE_EQ(dentist->end, At(12, 7, 11));
    // The plan reads the months ahead only, and says when it must be read again.
    TempPaths later;
    PimSession laterSession(later.StorePath(), OccurrenceOnDay);
    {
        ScopedConnection laterConnection(laterSession);
        reminder_calendar::Appointment(laterSession, L"Soon", At(12, 20, 9), 60, 10);
        reminder_calendar::Appointment(laterSession, L"Far", At(3, 1, 9, 0, 2029), 60, 10);
        // Its lead of a year puts its reminder within the months ahead.
        reminder_calendar::Appointment(laterSession, L"Long lead", At(6, 1, 9, 0, 2028), 60,
                                       366 * 1440);
        reminder_calendar::Appointment(laterSession, L"Past", At(12, 1, 9), 60, 10);
    }
    ReminderPlan laterPlan;
    ASSERT_EQ(laterPlan.Load(laterSession, At(12, 7, 8)), 0);
    EXPECT_EQ(Listed(laterPlan.Due(At(1, 1, 0, 0, 2000), At(1, 1, 0, 0, 2100))),
              "20261220085000 Soon;20270601090000 Long lead;");
    EXPECT_TRUE(laterPlan.Covers(At(12, 30, 8)));
    EXPECT_FALSE(laterPlan.Covers(At(1, 10, 0, 0, 2027)));
    EXPECT_FALSE(laterPlan.Covers(At(12, 1, 8)));
    ASSERT_EQ(laterPlan.Load(laterSession, At(1, 15, 8, 0, 2029)), 0);
    EXPECT_EQ(Listed(laterPlan.Due(At(1, 1, 0, 0, 2000), At(1, 1, 0, 0, 2100))),
              "20290301085000 Far;");
}
