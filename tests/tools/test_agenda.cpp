// The terminal agenda run in-process over a real store and profile: its arguments, stores it
// must not touch, and the exact lines of a small calendar with a holiday rule.
#include "tools/agenda/agenda.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sstream>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/profile.h"
#include "settings/app_settings.h"
#include "settings/settings_persistence.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, month, day, hour, minute));
}

struct AgendaRun {
    int status;
    std::string out;
    std::string err;
};

AgendaRun Agenda(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunAgenda(args, out, err);
    return {status, out.str(), err.str()};
}

class AgendaTest : public ::testing::Test {
protected:
    AgendaTest() : session_(paths_.StorePath(), OccurrenceOnDay)
    {
        AppSettings settings;
        settings.SetHolidayCategory(L"Rest");
        settings.SetRestDow(0);
        settings.AppendListItem(SettingsList::HolidayInfo, L"Lantern Day,5,12,13,00");
        Profile profile(paths_.ProfilePath());
        EXPECT_TRUE(SaveSettings(settings, profile));
        session_.Connect();
    }

    AppointItem Appointment(const std::wstring& subject, DATE start, DATE end, bool allDay = false,
                            const std::wstring& categories = {})
    {
        AppointItem item = session_.CreateAppointment();
        item->SetSubject(subject);
        item->SetStart(start);
        item->SetEnd(end);
        item->SetAllDayEvent(allDay);
        item->SetCategories(categories);
        item->SetBusyStatus(2);
        EXPECT_GE(item->Save(), 0);
        return item;
    }

    AgendaRun Range(const std::string& from, int days)
    {
        session_.Disconnect();
        return Agenda({"--store", paths_.StorePath(), "--profile", paths_.ProfilePath(), "--from",
                       from, "--days", std::to_string(days)});
    }

    TempPaths paths_;
    PimSession session_;
};

}  // namespace

TEST(Agenda, BadArgumentsAndStoresItMustNotTouch)
{
    TempPaths paths;
    const std::string store = paths.StorePath();
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{}, "usage: tamberlo-agenda"},
        {{"--from", "2026-12-07"}, "usage: tamberlo-agenda"},
        {{"--from", "2026-02-29", "--days", "3"}, "bad date"},
        {{"--from", "1899-12-31", "--days", "3"}, "bad date"},
        {{"--from", "2026-12-7", "--days", "3"}, "bad date"},
        {{"--from", " 2026-1-01", "--days", "3"}, "bad date"},
        {{"--from", "2026-+1-01", "--days", "3"}, "bad date"},
        {{"--from", "2026-01-+1", "--days", "3"}, "bad date"},
        {{"--from", "2026- 1- 1", "--days", "3"}, "bad date"},
        {{"--from", "2026/01/01", "--days", "3"}, "bad date"},
        {{"--from", "2026-12-07", "--days", "0"}, "bad day count: 0"},
        {{"--from", "2026-12-07", "--days", "-4"}, "bad day count: -4"},
        {{"--from", "2026-12-07", "--days", "99999999999"}, "bad day count"},
        {{"--from", "2999-12-30", "--days", "3"}, "the range ends after the year 2999"},
        {{"--colour", "red"}, "unknown argument: --colour"},
        {{"--store"}, "missing value after --store"},
    };
    for (const auto& [args, message] : bad) {
        const AgendaRun run = Agenda(args);
        EXPECT_EQ(run.status, 1) << message;
        EXPECT_NE(run.err.find("tamberlo-agenda: " + message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }

    const std::vector<std::string> range = {"--store", store, "--profile", paths.ProfilePath(),
                                            "--from", "2026-12-07", "--days", "3"};
    AgendaRun run = Agenda(range);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tamberlo-agenda: There is no calendar store at " + store + ".\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(store))) << "a read must not create a store";

    QFile junk(QString::fromStdString(store));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a calendar, but somebody's notes\n");
    junk.close();
    run = Agenda(range);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    ASSERT_TRUE(junk.open(QIODevice::ReadOnly));
    EXPECT_EQ(junk.readAll(), "not a calendar, but somebody's notes\n");
}

TEST_F(AgendaTest, AStoreThatCannotBeReadInFullPrintsNothing)
{
    for (int i = 0; i < 40; ++i) {
        Appointment(std::wstring(400, L'x'), At(12, 8, 9), At(12, 8, 10));
    }
    session_.Disconnect();
    QFile file(QString::fromStdString(paths_.StorePath())); // the last page's header
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(file.size() - 4096);
    file.write(QByteArray(100, '\x77'));
    file.close();
    const AgendaRun run = Range("2026-12-07", 3);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tamberlo-agenda: The calendar store " + paths_.StorePath() +
                           " is damaged and could not be read in full.\n");
    EXPECT_TRUE(run.out.empty());
}

TEST_F(AgendaTest, PrintsEachDayInTheDocumentsOrder)
{
    Appointment(L"Dentist", At(12, 7, 9), At(12, 7, 10, 30));
    Appointment(L"Night shift", At(12, 8, 22), At(12, 9, 6));
    Appointment(L"Day off", At(12, 10), At(12, 11), true, L"Rest");
    Appointment(L"Breakfast", At(12, 9, 7, 15), At(12, 9, 8));
    TaskItem task = session_.CreateTask();
    task->SetSubject(L"Report");
    task->SetStartDate(At(12, 8));
    task->SetDueDate(At(12, 10));
    ASSERT_GE(task->Save(), 0);

    const AgendaRun run = Range("2026-12-07", 8);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2026-12-07\tA\t0900\t1030\t0\t0\t0\t2\tDentist\n"
                       "2026-12-08\tA\t2200\t2400\t0\t0\t0\t2\tNight shift\n"
                       "2026-12-08\tT\t20261210\t1\t0\t0\t0\t0\tReport\n"
                       "2026-12-09\tA\t0000\t0600\t0\t0\t0\t2\tNight shift\n"
                       "2026-12-09\tA\t0715\t0800\t0\t0\t0\t2\tBreakfast\n"
                       "2026-12-09\tT\t20261210\t0\t1\t0\t0\t0\tReport\n"
                       "2026-12-10\tA\t0000\t2400\t1\t0\t3\t2\tDay off\n"
                       "2026-12-10\tT\t20261210\t0\t0\t1\t0\t0\tReport\n"
                       "2026-12-13\tA\t0000\t2400\t1\t0\t1\t0\tLantern Day\n"
                       "2026-12-14\tA\t0000\t2400\t1\t0\t2\t0\tTrans Holiday\n");
}

TEST_F(AgendaTest, LongRangesPrintEveryDayOnceAcrossWindows)
{
    AppointItem series = Appointment(L"Walk", At(12, 7, 7), At(12, 7, 8));
    std::shared_ptr<pim::RecurrencePattern> pattern;
    ASSERT_GE(series->GetRecurrencePattern(&pattern), 0);
    pattern->SetRecurrenceType(kRecursDaily);
    pattern->SetDayOfWeekMask(0x7F);
    pattern->SetPatternStartDate(At(12, 7));
    pattern->SetStartTime(At(12, 7, 7));
    pattern->SetDuration(60);
    ASSERT_GE(series->Save(), 0);

    const AgendaRun run = Range("2026-12-07", 400);
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int walks = 0;
    SYSTEMTIME expected = MakeSystemTime(2026, 12, 7);
    while (std::getline(lines, line)) {
        if (line.find("\tWalk") == std::string::npos) {
            continue;
        }
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", expected.wYear, expected.wMonth,
                      expected.wDay);
        ASSERT_EQ(line.substr(0, 10), date) << "walk " << walks;
        expected = AddDays(expected, 1);
        ++walks;
    }
    EXPECT_EQ(walks, 400);
}
