// Every program run as a person runs it without a display or a store: command line in, exit code
// and first line out; the installation, the programs finding each other, the README's keys.
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/reminder_instance.h"
#include "tests/support/program_run.h"
#include "tests/support/store_file.h"

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

// The first line of standard output, else the last of standard error (Qt may speak first).
QString SaidLine(const ProgramRun& run)
{
    return run.out.isEmpty() ? run.err.trimmed().section(QLatin1Char('\n'), -1)
                             : run.out.section(QLatin1Char('\n'), 0, 0);
}

} // namespace

TEST(CommandLines, EveryProgramAnswersItsCommandLine)
{
    const struct {
        const char* program;
        QStringList args;
        int exitCode;
        QString line; // what the line starts with
    } runs[] = {
        {"app/tamberlo", {"-h"}, 0, "Usage: tamberlo [FILE.ics...]"},
        {"app/tamberlo", {"--version"}, 0, "tamberlo 2.02a (build "},
        {"app/tamberlo", {"--bogus"}, 2, "tamberlo: unknown option '--bogus' (see --help)"},
        {"tools/agenda/tamberlo-agenda", {"--help"}, 0, "usage: tamberlo-agenda [--store FILE]"},
        {"tools/ical/tamberlo-ical", {"-h"}, 0, "usage: tamberlo-ical import [--store FILE]"},
        {"tools/reminders/tamberlo-reminders", {"--help"}, 0, "Usage: tamberlo-reminders "},
        {"tools/sync/tamberlo-sync", {"-h"}, 0, "usage: tamberlo-sync [--store FILE]"},
        {"tools/sync/tamberlo-sync", {"--version"}, 0, "tamberlo-sync 2.02a (build "},
        {"tools/snapshot/snapshot", {"--help"}, 0, "usage: snapshot (--store FILE | --demo "},
    };
    for (const auto& run : runs) {
        const ProgramRun ran = Start(run.program, run.args);
        SCOPED_TRACE(QString(run.program + run.args.join(' ')).toStdString());
        EXPECT_EQ(ran.exitCode, run.exitCode);
        EXPECT_TRUE(SaidLine(ran).startsWith(run.line)) << SaidLine(ran).toStdString();
        EXPECT_TRUE(run.exitCode == 0 ? ran.err.isEmpty() : ran.out.isEmpty())
            << ran.out.toStdString() << ran.err.toStdString();
    }
}

TEST(CommandLines, InstallPutsTheProgramsAndTheDesktopEntryIntoThePrefix)
{
    QTemporaryDir prefix;
    const ProgramRun install =
        RunProgram(TAMBERLO_CMAKE, {"--install", TAMBERLO_BUILD_DIR, "--prefix", prefix.path()},
                   QProcessEnvironment::systemEnvironment(), true);
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString();
    const QStringList installed =
        QString::fromUtf8(Bytes(TAMBERLO_BUILD_DIR "/install_manifest.txt")).split('\n');
    for (const char* file :
         {"bin/tamberlo", "bin/tamberlo-agenda", "bin/tamberlo-ical", "bin/tamberlo-reminders",
          "bin/tamberlo-sync", "share/applications/tamberlo.desktop"}) {
        EXPECT_TRUE(installed.contains(prefix.path() + "/" + file)) << file;
    }
}

// The program and the reminders look for each other where the build tree puts them, then PATH.
TEST(CommandLines, ProgramsFindEachOtherInTheBuildTree)
{
    EXPECT_EQ(
        ReminderInstance::ProgramBeside("tamberlo-reminders", "../../tools/reminders"),
        QFileInfo(TAMBERLO_BUILD_DIR "/tools/reminders/tamberlo-reminders").absoluteFilePath());
    EXPECT_EQ(ReminderInstance::ProgramBeside("tamberlo-reminders", "../nowhere"),
              "tamberlo-reminders"); // the PATH's
    EXPECT_EQ(ReminderInstance::ProgramBeside("reminders", "../../tools"), "reminders")
        << "a folder is not a program";
    // The folders the program and the reminders name, from their own folders.
    EXPECT_TRUE(
        QFileInfo(TAMBERLO_BUILD_DIR "/app/../tools/reminders/tamberlo-reminders").isExecutable());
    EXPECT_TRUE(QFileInfo(TAMBERLO_BUILD_DIR "/tools/reminders/../../app/tamberlo").isExecutable());
}

// The README's keys tables are the program's own, row for row: no key the window gains is missed.
TEST(CommandLines, TheReadmeKeysTablesAreTheProgramsOwn)
{
    const ProgramRun run = Start(QStringLiteral("tools/snapshot/snapshot"), {"--keys-table"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList documented =
        QString::fromUtf8(Bytes(TAMBERLO_SOURCE_DIR "/README.md")).split(QLatin1Char('\n'));
    int rows = 0;
    for (const QString& line : run.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("| ")) && line != QLatin1String("| key | does |")) {
            ++rows;
            EXPECT_TRUE(documented.contains(line)) << line.toStdString();
        }
    }
    EXPECT_GT(rows, 40);
}
