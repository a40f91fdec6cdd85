// The reminder service over a real store at a fixed clock, with the recording notifier and on a
// private session bus with a recording notification server.
#include "tools/reminders/reminder_service.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QMetaObject>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "platform/clock.h"
#include "platform/dbus_notifier.h"
#include "platform/notifier.h"
#include "platform/program_instance.h"
#include "platform/recording_notifier.h"
#include "platform/reminder_instance.h"
#include "tests/support/private_bus.h"
#include "tests/support/reminder_calendar.h"
#include "tests/support/temp_paths.h"
#include "tests/support/wait.h"
#include "tests/tools/notification_server.h"
#include "tools/reminders/program_opener.h"

using reminder_calendar::At;

class ReminderFixture {
public:
    ReminderFixture() : clock_(MakeSystemTime(2026, 12, 7, 8, 0)) {}
    std::unique_ptr<ReminderService> StartService(Notifier& notifier)
    {
        auto service = std::make_unique<ReminderService>(
            ReminderServiceSetup{paths_.StorePath(),
                                 QString::fromStdString(paths_.File("state/reminders.json")),
                                 [this](const Reminder& r) { opened_.push_back(r.oid); }},
            notifier, clock_, err_);
        service->Start();
        return service;
    }
    void SetNow(DATE now) { clock_.Set(VariantTimeToSystemTime(now)); }
    static bool WakesAt(const ReminderService& service, DATE at)
    {
        return std::abs(*service.NextWake() - at) < 1e-9;
    }
    TempPaths paths_;
    FixedClock clock_;
    std::ostringstream err_;
    std::vector<int32_t> opened_;
};

namespace {

using Shown = std::vector<std::wstring>;

Shown SummariesFrom(const RecordingNotifier& notifier, size_t first)
{
    Shown summaries;
    for (size_t i = first; i < notifier.Shown().size(); ++i) {
        summaries.push_back(notifier.Shown()[i].summary);
    }
    return summaries;
}

class ReminderServiceTest : public ::testing::Test, public ReminderFixture {
protected:
    // Moves the clock on and wakes the service as its timer would; what it showed then.
    Shown WakeAt(ReminderService& service, DATE now)
    {
        const size_t before = notifier_.Shown().size();
        SetNow(now);
        service.Check();
        return SummariesFrom(notifier_, before);
    }
    RecordingNotifier notifier_;
};

} // namespace

TEST_F(ReminderServiceTest, FiresEveryOccurrenceOnceAtItsTimeAndMissedOnesAfterASleep)
{
    reminder_calendar::Fill(paths_.StorePath());
    auto service = StartService(notifier_);
    EXPECT_TRUE(notifier_.Shown().empty() && WakesAt(*service, At(12, 7, 8, 50)));
    // When it wakes, what it shows, when it plans to wake next (never more than an hour ahead).
    const std::tuple<DATE, Shown, DATE> steps[] = {
        {At(12, 7, 8, 50), {L"Stand-up"}, At(12, 7, 9, 45)},
        {At(12, 7, 8, 50), {}, At(12, 7, 9, 45)},
        {At(12, 7, 9, 45), {L"Dentist"}, At(12, 7, 10, 45)},
        // Asleep from 10:00 to 17:00: the task's reminder comes late, marked as missed.
        {At(12, 7, 17, 0), {L"Missed: Report"}, At(12, 7, 18, 0)},
        {At(12, 8, 12, 50), {L"Stand-up moved"}, At(12, 8, 13, 50)}, // the rest: the plan's tests
    };
    for (const auto& [now, shown, next] : steps) {
        EXPECT_EQ(WakeAt(*service, now), shown)
            << QString::fromStdWString(DateToKey(now, kTimeStampKey)).toStdString();
        EXPECT_TRUE(WakesAt(*service, next));
    }
}

TEST_F(ReminderServiceTest, RestartNeverRepeatsAndShowsOnlyTheLastDaysMissedReminders)
{
    reminder_calendar::Fill(paths_.StorePath());
    SetNow(At(12, 7, 9, 46));
    StartService(notifier_);
    EXPECT_EQ(SummariesFrom(notifier_, 0), (Shown{L"Missed: Stand-up", L"Dentist"}));
    StartService(notifier_);
    EXPECT_EQ(notifier_.Shown().size(), 2U) << "a restart repeats nothing";
    // Off from 7 December 09:46 to 10 December 09:00: only the last 24 hours come back.
    SetNow(At(12, 10, 9, 0));
    const size_t before = notifier_.Shown().size();
    StartService(notifier_);
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
    EXPECT_TRUE(opened_.size() == 1U && opened_.front() > 0);
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
    for (const DATE now : {At(12, 7, 10), At(12, 7, 22), At(12, 8), At(12, 8, 12)}) {
        WakeAt(*service, now);
    }
    // Summary, body, then what it asks for: s sound, t transient, p persistent, and the actions.
    Shown shown;
    for (const Notification& n : notifier_.Shown()) {
        std::wstring text = n.summary + L"|" + n.body + L"|" + (n.sound ? L"s" : L"") +
                            (n.transient ? L"t" : L"") + (n.persistent ? L"p" : L"") + L"|" +
                            n.soundFile;
        for (const auto& [key, label] : n.actions) {
            text += L"|" + std::wstring(key.begin(), key.end()) + L"=" + label;
        }
        shown.push_back(text);
    }
    const std::wstring actions = L"|snooze=Snooze 5 minutes|open=Open";
    EXPECT_EQ(shown, (Shown{
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
    EXPECT_EQ(err_.str(), "No calendar store yet: " + paths_.StorePath() + "\n") << "once";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(paths_.StorePath()))) << "never created";
    EXPECT_TRUE(WakesAt(*service, At(12, 7, 8, 1))) << "and tried again in a minute";
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
    paths_.Write("store.sqlite3", "garbage");
    const size_t reported = err_.str().size();
    service->ReloadStore();
    service->ReloadStore();
    const std::string after = err_.str().substr(reported);
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 1) << after;
    EXPECT_EQ(WakeAt(*service, At(12, 7, 8, 30)), Shown{L"Early call"});
}

namespace {

class ReminderBusTest : public ::testing::Test, public ReminderFixture {
protected:
    void SetUp() override { ASSERT_TRUE(bus_.Up()) << "dbus-daemon did not start"; }
    // The server lives in its own thread with its own connection, as another program would.
    void StartServer()
    {
        QDBusConnection connection = bus_.Connect(QStringLiteral("server"));
        ASSERT_TRUE(connection.registerObject(
            QStringLiteral("/org/freedesktop/Notifications"), &server_,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        server_.moveToThread(&thread_);
        thread_.start();
        ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }
    // The server comes back before its thread ends, to be destroyed where it was made.
    void TearDown() override
    {
        if (!thread_.isRunning()) {
            return;
        }
        QDBusConnection(QStringLiteral("server"))
            .unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QThread* home = QThread::currentThread();
        QMetaObject::invokeMethod(
            &server_, [this, home] { server_.moveToThread(home); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait(5000);
    }
    PrivateBus bus_;
    NotificationServer server_;
    QThread thread_;
};

} // namespace

TEST_F(ReminderBusTest, NotificationsReachTheServerAndSnoozeComesBack)
{
    StartServer();
    reminder_calendar::Fill(paths_.StorePath());
    DBusNotifier notifier(bus_.Connect(QStringLiteral("reminders")), QStringLiteral("Tamberlo"),
                          QStringLiteral("tamberlo"));
    SetNow(At(12, 7, 9, 45));
    auto service = StartService(notifier);
    const QList<ReceivedNotification> received = server_.Received();
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[1].summary + '|' + received[1].body, "Dentist|2026/12/07 10:00 - 11:00");
    QMetaObject::invokeMethod(&server_, "Click", Qt::QueuedConnection, Q_ARG(uint, 2U),
                              Q_ARG(QString, QStringLiteral("snooze")));
    EXPECT_TRUE(WaitFor([&] { return WakesAt(*service, At(12, 7, 9, 50)); }));
    EXPECT_TRUE(WaitFor([&] { return server_.Closed() == QList<uint>{2U}; }));
}

TEST_F(ReminderBusTest, OneInstancePerBusAndNoServerMeansNoNotification)
{
    QDBusConnection first = bus_.Connect(QStringLiteral("first"));
    QDBusConnection second = bus_.Connect(QStringLiteral("second"));
    EXPECT_FALSE(ReminderInstance::IsRunning(second));
    EXPECT_TRUE(ReminderInstance::Claim(first) && !ReminderInstance::Claim(second));
    EXPECT_TRUE(ReminderInstance::IsRunning(second));
    EXPECT_FALSE(ReminderInstance::StartIfNotRunning(second, QStringLiteral("/bin/false"), {}))
        << "nothing is started while an instance runs";
    DBusNotifier notifier(second, QStringLiteral("Tamberlo"), QStringLiteral("tamberlo"));
    EXPECT_EQ(notifier.Notify({L"Dentist", L"", false, L"", false, false, {}}), 0U);
}

// "Open" with no program running starts one and asks once its name appears. Malformed or far-off
// days from the bus are dropped by the program.
TEST_F(ReminderBusTest, OpenStartsTheProgramAndShowsTheDay)
{
    std::vector<std::string> shown;
    ProgramInstance program([&](const SYSTEMTIME& day) {
        shown.push_back(QString::fromStdWString(DateToKey(SystemTimeToVariantTime(day), kDayKey))
                            .toStdString());
    });
    QDBusConnection programBus = bus_.Connect(QStringLiteral("program"));
    int starts = 0;
    ProgramOpener opener(bus_.Connect(QStringLiteral("opener")), [&] {
        ++starts;
        QTimer::singleShot(50, [&] { program.Claim(programBus); });
        return true;
    });
    opener.Open(MakeSystemTime(2027, 3, 15));
    opener.Open(MakeSystemTime(2027, 3, 16)); // while it starts: only the day changes
    ASSERT_TRUE(WaitFor([&] { return !shown.empty(); }));
    EXPECT_TRUE(starts == 1 && shown == std::vector<std::string>{"20270316"});
    for (const char* day : {"2027-02-30", "1899-12-31", "3000-01-01", "tomorrow", ""}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            ProgramInstance::kBusName, ProgramInstance::kObjectPath,
            QStringLiteral("org.velloran.Tamberlo"), QStringLiteral("ShowDay"));
        call << QString::fromLatin1(day);
        bus_.Connect(QStringLiteral("caller")).send(call);
    }
    ProgramInstance::AskToShow(bus_.Connect(QStringLiteral("caller")),
                               MakeSystemTime(2999, 12, 31));
    ASSERT_TRUE(WaitFor([&] { return shown.size() > 1; }));
    EXPECT_EQ(shown, (std::vector<std::string>{"20270316", "29991231"}));
}
