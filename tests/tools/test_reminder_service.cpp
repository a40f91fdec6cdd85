// The reminder service over a real store with the recording notifier at a fixed clock: what is
// shown when, snoozes, restarts that must not repeat, missed reminders after a sleep, and a store
// that goes missing, is replaced or damaged.
#include "tools/reminders/reminder_service.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/recording_notifier.h"
#include "tests/tools/reminder_fixture.h"

namespace {

std::vector<std::wstring> SummariesFrom(const RecordingNotifier& notifier, size_t first)
{
    std::vector<std::wstring> summaries;
    for (size_t i = first; i < notifier.Shown().size(); ++i)
        summaries.push_back(notifier.Shown()[i].summary);
    return summaries;
}

class ReminderServiceTest : public ::testing::Test, public ReminderFixture {
protected:
    // Moves the clock on and wakes the service as its timer would; what it showed then.
    std::vector<std::wstring> WakeAt(ReminderService& service, DATE now)
    {
        const size_t before = notifier_.Shown().size();
        SetNow(now);
        service.Check();
        return SummariesFrom(notifier_, before);
    }

    RecordingNotifier notifier_;
};

using Shown = std::vector<std::wstring>;

} // namespace

TEST_F(ReminderServiceTest, FiresEveryOccurrenceOnceAtItsTimeAndMissedOnesAfterASleep)
{
    reminder_calendar::Fill(paths_.StorePath());
    auto service = StartService(notifier_);
    EXPECT_TRUE(notifier_.Shown().empty());
    EXPECT_TRUE(WakesAt(*service, At(12, 7, 8, 50)));

    struct Step {
        DATE now;
        Shown shown;
        DATE nextWake; // the timer is never set further than an hour ahead
    };
    const Step steps[] = {
        {At(12, 7, 8, 50), {L"Stand-up"}, At(12, 7, 9, 45)},
        {At(12, 7, 8, 50), {}, At(12, 7, 9, 45)},
        {At(12, 7, 9, 45), {L"Dentist"}, At(12, 7, 10, 45)},
        // Asleep from 10:00 to 17:00: the task's reminder comes late, marked as missed.
        {At(12, 7, 17, 0), {L"Missed: Report"}, At(12, 7, 18, 0)},
        {At(12, 8, 12, 50), {L"Stand-up moved"}, At(12, 8, 13, 50)}, // the rest: the plan's tests
    };
    for (const Step& step : steps) {
        EXPECT_EQ(WakeAt(*service, step.now), step.shown)
            << QString::fromStdWString(DateToKey(step.now, kTimeStampKey)).toStdString();
        EXPECT_TRUE(WakesAt(*service, step.nextWake));
    }
}

TEST_F(ReminderServiceTest, RestartNeverRepeatsAndShowsOnlyTheLastDaysMissedReminders)
{
    reminder_calendar::Fill(paths_.StorePath());
    SetNow(At(12, 7, 9, 46));
    auto first = StartService(notifier_);
    EXPECT_EQ(SummariesFrom(notifier_, 0), (Shown{L"Missed: Stand-up", L"Dentist"}));
    first.reset();

    auto second = StartService(notifier_);
    EXPECT_EQ(notifier_.Shown().size(), 2U) << "a restart repeats nothing";
    second.reset();

    // Off from 7 December 09:46 to 10 December 09:00: only the last 24 hours come back.
    SetNow(At(12, 10, 9, 0));
    const size_t before = notifier_.Shown().size();
    auto third = StartService(notifier_);
    EXPECT_EQ(SummariesFrom(notifier_, before), (Shown{L"Missed: Stand-up"}));
}

TEST_F(ReminderServiceTest, SnoozeShowsAgainFiveMinutesLaterEvenAfterARestartAndOpenOpens)
{
    reminder_calendar::Fill(paths_.StorePath());
    SetNow(At(12, 7, 9, 45));
    auto service = StartService(notifier_);
    ASSERT_EQ(notifier_.Shown().size(), 2U); // the stand-up, missed, and the dentist
    notifier_.Invoke(2, "snooze");
    EXPECT_TRUE(WakesAt(*service, At(12, 7, 9, 50)));
    EXPECT_EQ(WakeAt(*service, At(12, 7, 9, 49)), Shown{});
    service.reset();

    SetNow(At(12, 7, 9, 50));
    const size_t before = notifier_.Shown().size();
    service = StartService(notifier_);
    EXPECT_EQ(SummariesFrom(notifier_, before), Shown{L"Dentist"});
    EXPECT_EQ(WakeAt(*service, At(12, 7, 9, 56)), Shown{}) << "a snooze fires once";

    notifier_.Invoke(static_cast<uint32_t>(notifier_.Shown().size()), "open");
    notifier_.Invoke(999, "open");
    ASSERT_EQ(opened_.size(), 1U);
    EXPECT_GT(opened_.front(), 0);
}

TEST_F(ReminderServiceTest, NotificationCarriesTimesPlaceAndTheOptionsItAsksFor)
{
    PimSession session(paths_.StorePath(), OccurrenceOnDay);
    ASSERT_GE(session.Connect(), 0);
    AppointItem placed =
        reminder_calendar::Appointment(session, L"Timed", At(12, 7, 10), 90, 0, 4 | 16);
    placed->SetLocation(L"Board room");
    ASSERT_GE(placed->Save(), 0);
    reminder_calendar::Appointment(session, L"Overnight", At(12, 7, 22), 600, 0, 8);
    AppointItem trip =
        reminder_calendar::Appointment(session, L"Trip", At(12, 8), 3 * 1440, 0, 4 | 8);
    trip->SetAllDayEvent(true);
    trip->SetReminderSoundFile(L"/sounds/bell.wav");
    ASSERT_GE(trip->Save(), 0);
    reminder_calendar::Appointment(session, L"No options", At(12, 8, 12), 30, 0, 1 | 2);
    session.Disconnect();
    auto service = StartService(notifier_);
    for (const DATE now : {At(12, 7, 10), At(12, 7, 22), At(12, 8), At(12, 8, 12)})
        WakeAt(*service, now);

    // Summary, body, then what it asks for: s sound, t transient, p persistent, and the actions.
    std::vector<std::wstring> shown;
    for (const Notification& n : notifier_.Shown()) {
        std::wstring text = n.summary + L"|" + n.body + L"|" + (n.sound ? L"s" : L"") +
                            (n.transient ? L"t" : L"") + (n.persistent ? L"p" : L"") + L"|" +
                            n.soundFile;
        for (const auto& [key, label] : n.actions)
            text += L"|" + std::wstring(key.begin(), key.end()) + L"=" + label;
        shown.push_back(text);
    }
    const std::wstring actions = L"|snooze=Snooze 5 minutes|open=Open";
    EXPECT_EQ(shown, (std::vector<std::wstring>{
                         L"Timed|2026/12/07 10:00 - 11:30\nBoard room|p|" + actions,
                         L"Overnight|2026/12/07 22:00 - 2026/12/08 08:00|st|" + actions,
                         L"Trip|2026/12/08 - 2026/12/10|s|/sounds/bell.wav" + actions,
                         L"No options|2026/12/08 12:00 - 12:30||" + actions,
                     }));

    // Without a notification service the reminder goes to stderr and the service keeps going.
    notifier_.SetAvailable(false);
    session.Connect();
    reminder_calendar::Appointment(session, L"Call", At(12, 8, 14), 30, 0);
    session.Disconnect();
    service->ReloadStore();
    WakeAt(*service, At(12, 8, 14));
    EXPECT_NE(err_.str().find("Call: 2026/12/08 14:00 - 14:30\n"), std::string::npos) << err_.str();
}

TEST_F(ReminderServiceTest, StoreMissingReplacedOrDamagedIsReportedOnceAndRead)
{
    auto service = StartService(notifier_);
    service->ReloadStore();
    const std::string missing = "No calendar store yet: " + paths_.StorePath() + "\n";
    EXPECT_EQ(err_.str(), missing) << "reported once";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(paths_.StorePath())))
        << "the reminders never create a store";
    EXPECT_TRUE(WakesAt(*service, At(12, 7, 8, 1))) << "and try again in a minute";

    // A store written elsewhere and moved into place; the watcher notices it.
    const std::string other = paths_.File("other.sqlite3");
    reminder_calendar::Fill(other);
    ASSERT_TRUE(
        QFile::rename(QString::fromStdString(other), QString::fromStdString(paths_.StorePath())));
    ASSERT_TRUE(WaitFor([&] { return WakesAt(*service, At(12, 7, 8, 50)); }));

    // A change by the program (a new appointment) is seen through the store file or its log.
    PimSession session(paths_.StorePath(), OccurrenceOnDay);
    ASSERT_GE(session.Connect(), 0);
    reminder_calendar::Appointment(session, L"Early call", At(12, 7, 8, 30), 30, 0);
    session.Disconnect();
    ASSERT_TRUE(WaitFor([&] { return WakesAt(*service, At(12, 7, 8, 30)); }));

    // Damaged: reported once, the plan read before still fires.
    QFile store(QString::fromStdString(paths_.StorePath()));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly | QIODevice::Truncate));
    store.write("garbage");
    store.close();
    const size_t reported = err_.str().size();
    service->ReloadStore();
    service->ReloadStore();
    const std::string after = err_.str().substr(reported);
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 1) << after;
    EXPECT_EQ(WakeAt(*service, At(12, 7, 8, 30)), Shown{L"Early call"});
}
