// The reminders on a private session bus started by the test itself: notifications reach a
// recording server with their texts, actions and hints, a click on "Snooze 5 minutes" comes back,
// only one instance may hold the name, without a server nothing hangs, and "Open" reaches the
// program.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/dbus_notifier.h"
#include "platform/program_instance.h"
#include "platform/reminder_instance.h"
#include "tests/support/private_bus.h"
#include "tests/tools/notification_server.h"
#include "tests/tools/reminder_fixture.h"
#include "tools/reminders/program_opener.h"

namespace {

class ReminderBusTest : public ::testing::Test, public ReminderFixture {
protected:
    void SetUp() override
    {
        if (!bus_.Up())
            GTEST_FAIL() << "dbus-daemon did not start";
    }

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

    // The server comes back to the test's thread before its own thread ends, so it is destroyed
    // where it was made.
    void TearDown() override
    {
        if (!thread_.isRunning())
            return;
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
    const ReceivedNotification& dentist = received[1];
    EXPECT_EQ(dentist.appName, QStringLiteral("Tamberlo"));
    EXPECT_EQ(dentist.summary, QStringLiteral("Dentist"));
    EXPECT_EQ(dentist.body, QStringLiteral("2026/12/07 10:00 - 11:00"));
    EXPECT_EQ(dentist.actions, (QStringList{"snooze", "Snooze 5 minutes", "open", "Open"}));
    EXPECT_EQ(dentist.hints.value("suppress-sound").toBool(), true);
    EXPECT_EQ(dentist.expireTimeout, -1);

    QMetaObject::invokeMethod(&server_, "Click", Qt::QueuedConnection, Q_ARG(uint, 2u),
                              Q_ARG(QString, QStringLiteral("snooze")));
    // The click arrived when the service plans to wake for the snooze; what it shows then is
    // the service tests' concern.
    EXPECT_TRUE(WaitFor([&] { return WakesAt(*service, At(12, 7, 9, 50)); }));
    EXPECT_TRUE(WaitFor([&] { return server_.Closed() == QList<uint>{2u}; }))
        << "the snoozed notification leaves the screen";
    QMetaObject::invokeMethod(&server_, "Click", Qt::QueuedConnection, Q_ARG(uint, 7u),
                              Q_ARG(QString, QStringLiteral("open")));
    EXPECT_FALSE(WaitFor([&] { return server_.Closed().size() > 1; }, 300))
        << "another program's notification is left alone";
}

TEST_F(ReminderBusTest, OneInstancePerBusAndNoServerMeansNoNotification)
{
    QDBusConnection first = bus_.Connect(QStringLiteral("first"));
    QDBusConnection second = bus_.Connect(QStringLiteral("second"));
    EXPECT_FALSE(ReminderInstance::IsRunning(second));
    EXPECT_TRUE(ReminderInstance::Claim(first));
    EXPECT_FALSE(ReminderInstance::Claim(second));
    EXPECT_TRUE(ReminderInstance::IsRunning(second));
    EXPECT_FALSE(ReminderInstance::StartIfNotRunning(second, QStringLiteral("/bin/false"), {}))
        << "nothing is started while an instance runs";

    DBusNotifier notifier(second, QStringLiteral("Tamberlo"), QStringLiteral("tamberlo"));
    EXPECT_EQ(notifier.Notify({L"Dentist", L"", false, L"", false, false, {}}), 0U);
}

// "Open" asks the running program for the day; with none running it starts one and asks once its
// name appears. Malformed or far-off days from the bus are dropped by the program.
TEST_F(ReminderBusTest, OpenShowsTheDayInTheRunningOrStartedProgram)
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
    EXPECT_EQ(starts, 1);
    opener.Open(MakeSystemTime(2028, 2, 29));
    ASSERT_TRUE(WaitFor([&] { return shown.size() == 2; }));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"20270316", "20280229"}));

    EXPECT_FALSE(ProgramInstance(nullptr).Claim(bus_.Connect(QStringLiteral("second copy"))));
    for (const char* day : {"2027-02-30", "1899-12-31", "3000-01-01", "tomorrow", ""}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            ProgramInstance::kBusName, ProgramInstance::kObjectPath,
            QStringLiteral("org.velloran.Tamberlo"), QStringLiteral("ShowDay"));
        call << QString::fromLatin1(day);
        bus_.Connect(QStringLiteral("caller")).send(call);
    }
    ProgramInstance::AskToShow(bus_.Connect(QStringLiteral("caller")),
                               MakeSystemTime(2999, 12, 31));
    ASSERT_TRUE(WaitFor([&] { return shown.size() > 2; }));
    EXPECT_EQ(shown.back(), "29991231");
    EXPECT_EQ(shown.size(), 3U);
}
