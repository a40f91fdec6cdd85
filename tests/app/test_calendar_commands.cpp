// The iCalendar commands: the .ics files of the command line (each counted, confirmed and
// imported; other arguments ignored) and the Tool menu's Import and Export through their file
// dialogs, with a large import cancelled from its progress dialog.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/main_frame.h"
#include "app/tamberlo_app.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "res/command_ids.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "tests/support/temp_paths.h"

namespace {

const char* const kCalendar =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
    "BEGIN:VEVENT\r\nUID:a1\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261208T090000\r\n"
    "DTEND:20261208T100000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:a2\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261209T090000\r\n"
    "DTEND:20261209T100000\r\nSUMMARY:Review\r\nEND:VEVENT\r\n"
    "BEGIN:VTODO\r\nUID:t1\r\nDTSTAMP:20261201T000000Z\r\nDUE;VALUE=DATE:20261210\r\n"
    "SUMMARY:Report\r\nEND:VTODO\r\nEND:VCALENDAR\r\n";

std::string WriteFile(const TempPaths& paths, const std::string& name)
{
    const std::string path = paths.File(name);
    std::ofstream(path, std::ios::binary) << kCalendar;
    return path;
}

// Answers the next file dialog with `path`.
void ChooseFile(ScriptedDialogRunner& dialogs, const std::string& path)
{
    dialogs.Queue([path](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(path));
        return DialogAccepted;
    });
}

// About 1 MB: enough events for the import to show its progress dialog.
std::string WriteLargeCalendar(const TempPaths& paths)
{
    std::ostringstream text;
    text << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
    for (int i = 0; i < 4000; ++i) {
        text << "BEGIN:VEVENT\r\nUID:big" << i << "\r\nDTSTAMP:20261201T000000Z\r\n"
             << "DTSTART:20270105T090000\r\nDTEND:20270105T100000\r\nSUMMARY:Item " << i
             << "\r\nDESCRIPTION:" << std::string(160, 'x') << "\r\nEND:VEVENT\r\n";
    }
    text << "END:VCALENDAR\r\n";
    const std::string path = paths.File("large.ics");
    std::ofstream(path, std::ios::binary) << text.str();
    return path;
}

int StoredAppointments(const std::string& storePath)
{
    PimSession session(storePath, OccurrenceOnDay);
    return session.Connect() < 0 ? -1 : session.AppointmentCount();
}

}  // namespace

TEST(CommandLineImport, AsksPerCalendarFileAndImportsOnlyAfterOk)
{
    TempPaths paths;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    const std::string declined = WriteFile(paths, "declined.ics");
    const std::string accepted = WriteFile(paths, "accepted.ICS");
    messages.QueueAnswer(IDCANCEL);
    messages.QueueAnswer(IDOK);
    AppEnvironment environment{paths.ProfilePath(), paths.StorePath(), &messages, &dialogs};
    environment.arguments = {declined, "--verbose", accepted, WriteFile(paths, "notes.txt")};
    CTamberloApp app(environment);
    ASSERT_TRUE(app.InitInstance());

    const auto& shown = messages.shown();
    ASSERT_EQ(shown.size(), 3u);
    for (int i : {0, 1}) {
        EXPECT_EQ(shown[i].text, L"Import 2 appointments and 1 tasks into your calendar?");
        EXPECT_EQ(shown[i].caption, L"Confirm");
        EXPECT_EQ(shown[i].flags & 0xF, unsigned{MB_OKCANCEL});
    }
    EXPECT_EQ(shown[2].caption, L"Import");
    EXPECT_EQ(shown[2].text, L"imported 2 appointments, 1 tasks, 0 skipped");
    EXPECT_EQ(shown[2].flags, unsigned{MB_OK | MB_ICONINFORMATION});
}

TEST(CalendarCommands, MenuImportCancelsWholeAndExportReportsUnwritableFiles)
{
    TempPaths paths;
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    CTamberloApp app(AppEnvironment{paths.ProfilePath(), paths.StorePath(), &messages, &dialogs});
    ASSERT_TRUE(app.InitInstance());
    auto command = [&](int id) {
        app.MainFrame()->findChild<QAction*>(QString("command%1").arg(id))->trigger();
    };
    const std::string large = WriteLargeCalendar(paths);

    // Cancel as soon as the progress dialog runs the events; the store stays empty.
    ChooseFile(dialogs, large);
    int progressShown = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            ++progressShown;
            EXPECT_EQ(progress->labelText(), "Importing large.ics...");
            progress->cancel();
        }
    });
    cancel.start(0);
    command(cmd::ID_IMPORT_ICALENDAR);
    cancel.stop();
    EXPECT_EQ(progressShown, 1);
    EXPECT_EQ(StoredAppointments(paths.StorePath()), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, L"The import was cancelled; the calendar is as it was.");

    ChooseFile(dialogs, large);
    command(cmd::ID_IMPORT_ICALENDAR);
    EXPECT_EQ(messages.shown().back().text, L"imported 4000 appointments, 0 tasks, 0 skipped");
    EXPECT_EQ(StoredAppointments(paths.StorePath()), 4000);

    const std::string unwritable = paths.File("missing-folder/out.ics");
    ChooseFile(dialogs, unwritable);
    command(cmd::ID_EXPORT_ICALENDAR);
    EXPECT_EQ(messages.shown().back().text, L"Cannot write " + QString::fromStdString(unwritable)
                                                                   .toStdWString() + L".");
    EXPECT_EQ(messages.shown().back().caption, L"Warning");
    const size_t before = messages.shown().size();
    const std::string exported = paths.File("out.ics");
    ChooseFile(dialogs, exported);
    command(cmd::ID_EXPORT_ICALENDAR);
    EXPECT_EQ(messages.shown().size(), before) << "a good export says nothing";
    std::ifstream in(exported);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    size_t events = 0;
    for (size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos;
         at = text.find("BEGIN:VEVENT", at + 1))
        ++events;
    EXPECT_EQ(events, 4000u);
}
