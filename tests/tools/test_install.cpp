// `cmake --install` into a temporary prefix: the program and its tools, the desktop entries
// pointing at the installed binaries and passing desktop-file-validate, the icon at every size
// and as SVG, and a man page per command-line tool.
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/support/program_run.h"

namespace {

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(Install, PutsProgramsEntriesIconsAndManPagesIntoThePrefix)
{
    QTemporaryDir prefix;
    const ProgramRun install =
        RunProgram(TAMBERLO_CMAKE, {"--install", TAMBERLO_BUILD_DIR, "--prefix", prefix.path()},
                   QProcessEnvironment::systemEnvironment(), true);
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString();
    const QString root = prefix.path() + "/";

    for (const char* program :
         {"tamberlo", "tamberlo-agenda", "tamberlo-ical", "tamberlo-reminders", "tamberlo-sync"}) {
        EXPECT_TRUE(QFileInfo(root + "bin/" + program).isExecutable()) << program;
    }
    for (const char* page : {"tamberlo.1", "tamberlo-agenda.1", "tamberlo-ical.1",
                             "tamberlo-reminders.1", "tamberlo-sync.1"}) {
        EXPECT_TRUE(Read(root + "share/man/man1/" + page).startsWith(".TH ")) << page;
    }
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString icon =
            root + QStringLiteral("share/icons/hicolor/%1x%1/apps/tamberlo.png").arg(size);
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    EXPECT_TRUE(Read(root + "share/icons/hicolor/scalable/apps/tamberlo.svg").contains("<svg"));

    struct Entry {
        QString path;
        QStringList lines;
    };
    const Entry entries[] = {
        {root + "share/applications/tamberlo.desktop",
         {"Name=Tamberlo", "GenericName=Calendar", "Categories=Office;Calendar;",
          "MimeType=text/calendar;", "Icon=tamberlo", "Exec=" + root + "bin/tamberlo %f"}},
        {root + "etc/xdg/autostart/tamberlo-reminders.desktop",
         {"Exec=" + root + "bin/tamberlo-reminders", "NoDisplay=true"}},
    };
    for (const Entry& entry : entries) {
        const QStringList lines = Read(entry.path).split('\n');
        for (const QString& line : entry.lines) {
            EXPECT_TRUE(lines.contains(line))
                << entry.path.toStdString() << ": " << line.toStdString();
        }
        const ProgramRun validate =
            RunProgram(QStringLiteral("desktop-file-validate"), {entry.path},
                       QProcessEnvironment::systemEnvironment(), true);
        EXPECT_EQ(validate.exitCode, 0) << validate.out.toStdString();
        EXPECT_TRUE(validate.out.isEmpty()) << validate.out.toStdString();
    }
}
