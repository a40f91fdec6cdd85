// A second start of the program on Xvfb and a private bus maps no window, hands over and ends; two
// starts at once leave one window. The X server's map events are the witness.
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QThread>
#include <gtest/gtest.h>

#include "platform/program_instance.h"
#include "platform/reminder_instance.h"
#include "tests/support/private_display.h"
#include "tests/support/wait.h"

namespace {

constexpr int kStartTime = 20000; // a program's start on a loaded machine, in milliseconds

class SecondStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display_.Up() || !bus_.Up()) {
            GTEST_SKIP() << "Xvfb or dbus-daemon is not available";
        }
        environment_ = ProgramEnvironment(display_, bus_, home_);
        watcher_.setProcessEnvironment(environment_);
        watcher_.start(QStringLiteral("xev"), {QStringLiteral("-root"), QStringLiteral("-event"),
                                               QStringLiteral("substructure")});
        ASSERT_TRUE(watcher_.waitForStarted(5000)) << "xev (x11-utils) is needed";
        bus_.Connect(QStringLiteral("watch"));
    }
    void TearDown() override
    {
        EndOwnerOf(QDBusConnection(QStringLiteral("watch")), ReminderInstance::kBusName);
        for (QProcess* program : {&first_, &second_, &watcher_}) {
            program->kill();
            program->waitForFinished(5000);
        }
    }
    void Start(QProcess& program)
    {
        program.setProcessEnvironment(environment_);
        program.start(QStringLiteral(TAMBERLO_BUILD_DIR "/app/tamberlo"));
        ASSERT_TRUE(program.waitForStarted(5000));
    }
    int MapsSinceLastAsked()
    {
        QCoreApplication::processEvents();
        watcher_.waitForReadyRead(200);
        return static_cast<int>(watcher_.readAllStandardOutput().count("MapNotify event"));
    }
    static bool NameOwned()
    {
        return QDBusConnection(QStringLiteral("watch"))
            .interface()
            ->isServiceRegistered(ProgramInstance::kBusName);
    }
    PrivateDisplay display_;
    PrivateBus bus_;
    QTemporaryDir home_;
    QProcessEnvironment environment_;
    QProcess watcher_, first_, second_;
};

} // namespace

TEST_F(SecondStartTest, MapsNoWindowAndHandsOver)
{
    Start(first_);
    int firstMaps = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            firstMaps += MapsSinceLastAsked();
            return firstMaps > 0 && NameOwned();
        },
        kStartTime));
    QThread::msleep(300);
    firstMaps += MapsSinceLastAsked();
    Start(second_);
    ASSERT_TRUE(second_.waitForFinished(20000) && second_.exitCode() == 0);
    QThread::msleep(300);
    EXPECT_EQ(MapsSinceLastAsked(), 0) << "the second start showed a window";
    EXPECT_EQ(first_.state(), QProcess::Running);
    // Two starts at once: one takes the name before it shows anything, the other hands over.
    first_.kill();
    first_.waitForFinished(5000);
    ASSERT_TRUE(WaitFor([&] { return !NameOwned(); }, kStartTime));
    MapsSinceLastAsked();
    Start(first_);
    Start(second_);
    ASSERT_TRUE(WaitFor(
        [&] {
            return first_.state() == QProcess::NotRunning ||
                   second_.state() == QProcess::NotRunning;
        },
        kStartTime));
    QProcess& ended = first_.state() == QProcess::NotRunning ? first_ : second_;
    QProcess& running = &ended == &first_ ? second_ : first_;
    EXPECT_EQ(ended.exitCode(), 0);
    QThread::msleep(500);
    EXPECT_EQ(running.state(), QProcess::Running);
    EXPECT_EQ(MapsSinceLastAsked(), firstMaps) << "only one window came up";
}
