// The .ics files of the command line: each is counted, confirmed and imported into the store the
// program starts on; other arguments are ignored.
#include <gtest/gtest.h>

#include <fstream>

#include "app/tamberlo_app.h"
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

} // namespace

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
