// The schedule as a screen reader reads it over AT-SPI (the window on Xvfb, a pyatspi script):
// every item by name, the focus following the keys, an item the keys move told by its new name.
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "tests/support/dates.h"
#include "tests/support/private_display.h"
#include "tests/support/program_run.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

QString Read(const QProcessEnvironment& environment, const QStringList& keys)
{
    return RunProgram(QStringLiteral("/usr/bin/python3"),
                      QStringList{TAMBERLO_SOURCE_DIR "/tests/tools/read_schedule_atspi.py"} + keys,
                      environment, false, 40000)
        .out;
}

} // namespace

TEST(ScreenReader, ReadsEveryItemOfThePeriodAndFollowsTheKeys)
{
    PrivateDisplay display;
    PrivateBus bus;
    QTemporaryDir home;
    if (!display.Up() || !bus.Up()) {
        GTEST_SKIP() << "Xvfb or dbus-daemon is not available";
    }
    TempPaths paths;
    {
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        ASSERT_GE(session.Connect(), 0);
        SavedAppointment(session, L"Dentist", At(2026, 12, 8, 10), At(2026, 12, 8, 11), false, {},
                         L"Room 4");
        SavedAppointment(session, L"Standup", At(2026, 12, 8, 9), At(2026, 12, 8, 9, 15));
        SavedAppointment(session, L"Lunch", At(2026, 12, 9, 12), At(2026, 12, 9, 13));
    }
    QProcessEnvironment environment = ProgramEnvironment(display, bus, home);
    environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    QProcess accessibilityBus;
    accessibilityBus.setProcessEnvironment(environment);
    accessibilityBus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                           {QStringLiteral("--launch-immediately")});
    if (!accessibilityBus.waitForStarted(5000)) {
        GTEST_SKIP() << "at-spi2-core is not installed";
    }
    QThread::msleep(500);
    QProcess window;
    window.setProcessEnvironment(environment);
    window.start(QStringLiteral(TAMBERLO_BUILD_DIR "/tools/snapshot/snapshot"),
                 {QStringLiteral("--store"), QString::fromStdString(paths.StorePath()),
                  QStringLiteral("--size"), QStringLiteral("1000x700"), QStringLiteral("--now"),
                  QStringLiteral("2026-12-08T08:30"), QStringLiteral("--show")});
    ASSERT_TRUE(window.waitForStarted(5000));
    QString tree;
    QElapsedTimer waited;
    waited.start();
    while (!tree.contains(QStringLiteral("day: ")) && waited.elapsed() < 20000) {
        QThread::msleep(300);
        tree = Read(environment, {});
    }
    EXPECT_TRUE(tree.contains(QStringLiteral("day: Tuesday 8 December\n"))) << tree.toStdString();
    for (const char* item :
         {"item: Standup, 09:00 to 09:15\n", "item: Dentist, 10:00 to 11:00, Room 4\n",
          "item: Lunch, 12:00 to 13:00\n"}) {
        EXPECT_TRUE(tree.contains(QString::fromLatin1(item))) << item;
    }
    // The detail area's key (3), then Down twice: each line reached is announced.
    const QString focus = Read(environment, {"3", "Down", "Down"});
    const QString followed = focus.mid(focus.indexOf(QStringLiteral("focus: ")));
    EXPECT_EQ(followed.toStdString(), "focus: Details\n"
                                      "focus: Standup, 09:00 to 09:15\n"
                                      "focus: Dentist, 10:00 to 11:00, Room 4\n");
    // Moved half an hour it keeps its line, renamed; moved a day it is the next day's first.
    const QString moved = Read(environment, {"alt+Right", "alt+Down"});
    EXPECT_EQ(moved.mid(moved.indexOf(QStringLiteral("name: "))).toStdString(),
              "name: Dentist, 10:30 to 11:30, Room 4\n"
              "focus: Dentist, 10:30 to 11:30, Room 4\n");
    window.kill();
    accessibilityBus.terminate();
    window.waitForFinished(5000);
    accessibilityBus.waitForFinished(5000);
}
