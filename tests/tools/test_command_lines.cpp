// Every program of the suite, run as a person runs it: -h, --help and --version print and exit 0
// without a display or a store; an unknown option of the program is one line and exit code 2.
// The program and the reminders find each other in the build tree.
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/reminder_instance.h"
#include "tests/support/program_run.h"

namespace {

ProgramRun Start(const QString& program, const QStringList& args)
{
    // No display at all: the options must be answered before any window system is asked for.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return RunProgram(QStringLiteral(TAMBERLO_BUILD_DIR "/") + program, args, environment);
}

} // namespace

TEST(CommandLines, EveryProgramAnswersHelpAndVersion)
{
    const std::pair<const char*, const char*> programs[] = {
        {"app/tamberlo", "tamberlo"},
        {"tools/agenda/tamberlo-agenda", "tamberlo-agenda"},
        {"tools/ical/tamberlo-ical", "tamberlo-ical"},
        {"tools/reminders/tamberlo-reminders", "tamberlo-reminders"},
        {"tools/sync/tamberlo-sync", "tamberlo-sync"},
        {"tools/snapshot/snapshot", "snapshot"}};
    for (const auto& [path, name] : programs) {
        SCOPED_TRACE(name);
        for (const char* help : {"-h", "--help"}) {
            const ProgramRun run = Start(path, {help});
            EXPECT_EQ(run.exitCode, 0) << help;
            EXPECT_TRUE(run.out.contains(QStringLiteral("sage: ") + name)) << run.out.toStdString();
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        }
        const ProgramRun version = Start(path, {"--version"});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_TRUE(version.out.startsWith(QStringLiteral("%1 2.02a (build ").arg(name)))
            << version.out.toStdString();
    }
    const ProgramRun unknown = Start("app/tamberlo", {"--bogus"});
    EXPECT_EQ(unknown.exitCode, 2);
    // Qt may have a word of its own on standard error first (no runtime folder, say).
    EXPECT_TRUE(unknown.err.endsWith("\ntamberlo: unknown option '--bogus' (see --help)\n") ||
                unknown.err == "tamberlo: unknown option '--bogus' (see --help)\n")
        << unknown.err.toStdString();
    EXPECT_TRUE(unknown.out.isEmpty());
}

// This test runs from tests/tools of the build tree; the program and the reminders look in the
// folders the build tree puts the other in before they ask the PATH.
TEST(CommandLines, ProgramsFindEachOtherInTheBuildTree)
{
    const QString reminders =
        QStringLiteral(TAMBERLO_BUILD_DIR "/tools/reminders/tamberlo-reminders");
    EXPECT_EQ(ReminderInstance::ProgramBeside("tamberlo-reminders", "../../tools/reminders"),
              QFileInfo(reminders).absoluteFilePath());
    EXPECT_EQ(ReminderInstance::ProgramBeside("tamberlo-reminders", "../nowhere"),
              "tamberlo-reminders")
        << "else the PATH's";
    EXPECT_EQ(ReminderInstance::ProgramBeside("reminders", "../../tools"), "reminders")
        << "a folder is not a program";
    // The folders the program and the reminders name, from their own folders.
    EXPECT_TRUE(
        QFileInfo(TAMBERLO_BUILD_DIR "/app/../tools/reminders/tamberlo-reminders").isExecutable());
    EXPECT_TRUE(QFileInfo(TAMBERLO_BUILD_DIR "/tools/reminders/../../app/tamberlo").isExecutable());
}

// The README's keys tables are what the program's own tables print, row for row, so a key the
// window gains is never missing there.
TEST(CommandLines, TheReadmeKeysTablesAreTheProgramsOwn)
{
    const ProgramRun run = Start(QStringLiteral("tools/snapshot/snapshot"), {"--keys-table"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile readme(QStringLiteral(TAMBERLO_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QStringList documented = QString::fromUtf8(readme.readAll()).split(QLatin1Char('\n'));
    int rows = 0;
    for (const QString& line : run.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("| ")) && line != QLatin1String("| key | does |")) {
            ++rows;
            EXPECT_TRUE(documented.contains(line)) << line.toStdString();
        }
    }
    EXPECT_GT(rows, 40);
}
