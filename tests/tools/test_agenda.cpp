// The terminal agenda run in-process over a real store and profile: arguments, stores it must
// not touch, the exact lines it prints, escaped subjects, odd profiles and older stores.
#include "tools/agenda/agenda.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/profile.h"
#include "settings/app_settings.h"
#include "settings/settings_persistence.h"
#include "tests/support/calendar_items.h"
#include "tests/support/reminder_calendar.h"
#include "tests/support/store_file.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

using reminder_calendar::At;

// The lines of the days from `from` on (dates as "YYYY-MM-DD" compare as text) before `until`.
std::string LinesOfDays(const std::string& out, const std::string& from, const std::string& until)
{
    std::istringstream lines(out);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        const std::string date = line.substr(0, 10);
        if (date >= from && date < until) {
            kept += line + '\n';
        }
    }
    return kept;
}

struct AgendaRun {
    int status;
    std::string out, err;
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
    explicit AgendaTest(const std::vector<std::wstring>& rules = {L"Lantern Day,5,12,13,00"})
        : session_(paths_.StorePath(), OccurrenceOnDay)
    {
        AppSettings settings;
        settings.SetHolidayCategory(L"Rest");
        settings.SetRestDow(0);
        for (const std::wstring& rule : rules) {
            settings.AppendListItem(SettingsList::HolidayInfo, rule);
        }
        Profile profile(paths_.ProfilePath());
        EXPECT_TRUE(SaveSettings(settings, profile));
        session_.Connect();
    }
    AppointItem Appointment(const std::wstring& subject, DATE start, DATE end, bool allDay = false,
                            const std::wstring& categories = {})
    {
        return SavedAppointment(session_, subject, start, end, allDay, categories);
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

} // namespace

TEST(Agenda, BadArgumentsAndStoresItMustNotTouch)
{
    TempPaths paths;
    const std::string store = paths.StorePath();
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{}, "usage: tamberlo-agenda"},
        {{"--from", "2026-02-29", "--days", "3"}, "bad date"},
        {{"--from", "2026-12-7", "--days", "3"}, "bad date"},
        {{"--from", " 2026-1-01", "--days", "3"}, "bad date"},
        {{"--from", "2026-+1-01", "--days", "3"}, "bad date"},
        {{"--from", "2026-12-07", "--days", "0"}, "bad day count: 0"},
        {{"--from", "2026-12-07", "--days", "99999999999"}, "bad day count"},
        {{"--from", "2999-12-30", "--days", "3"}, "the range ends after the year 2999"},
        {{"--colour", "red"}, "unknown argument: --colour"},
        {{"--store"}, "missing value after --store"},
        {{"--find", "x", "--days", "3"}, "usage: tamberlo-agenda"},
    };
    for (const auto& [args, message] : bad) {
        const AgendaRun run = Agenda(args);
        EXPECT_TRUE(run.status == 1 && run.out.empty()) << message;
        EXPECT_NE(run.err.find("tamberlo-agenda: " + message), std::string::npos) << run.err;
    }
    const std::vector<std::string> range = {
        "--store", store, "--profile", paths.ProfilePath(), "--from", "2026-12-07", "--days", "3"};
    AgendaRun run = Agenda(range);
    EXPECT_EQ(std::make_pair(run.status, run.err),
              std::make_pair(2, "tamberlo-agenda: There is no calendar store at " + store + ".\n"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(store))) << "a read must not create a store";
    paths.Write("store.sqlite3", "not a calendar, but somebody's notes\n");
    run = Agenda(range);
    EXPECT_TRUE(run.status == 2 && run.out.empty());
    EXPECT_EQ(Bytes(store), "not a calendar, but somebody's notes\n");
}

TEST_F(AgendaTest, FindPrintsTheMatchesOfTheWholeStore)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 15, 30));
    const ScopedClock useClock(clock);
    Appointment(L"Zahnärztin", At(12, 9, 10), At(12, 9, 11));
    Appointment(L"Lunch", At(12, 8, 12), At(12, 8, 13), true, L"Arzt");
    SavedTask(session_, L"Pay the ARZT", pim::kNoDate, pim::kNoDate);
    session_.Disconnect();
    const AgendaRun run = Agenda({"--store", paths_.StorePath(), "--find", "arzt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2026-12-08\t\tA\tLunch\tPersonal\n"
                       "2026-12-09\t10:00\tA\tZahnärztin\tPersonal\n"
                       "\t\tT\tPay the ARZT\tPersonal\n");
}

TEST_F(AgendaTest, AStoreThatCannotBeReadInFullPrintsNothing)
{
    for (int i = 0; i < 40; ++i) {
        Appointment(std::wstring(400, L'x'), At(12, 8, 9), At(12, 8, 10));
    }
    session_.Disconnect();
    // The header of the items' root page (the file's last pages hold Find's index).
    const int64_t page = OtherProgram(paths_.StorePath())
                             .Number("SELECT rootpage FROM sqlite_master WHERE name = 'items'");
    QFile file(QString::fromStdString(paths_.StorePath()));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(int64_t{page - 1} * 4096);
    file.write(QByteArray(100, '\x77'));
    file.close();
    const AgendaRun run = Range("2026-12-07", 3);
    EXPECT_TRUE(run.status == 2 && run.out.empty());
    EXPECT_EQ(run.err, "tamberlo-agenda: The calendar store " + paths_.StorePath() +
                           " is damaged and could not be read in full.\n");
}

TEST_F(AgendaTest, PrintsEachDayInTheDocumentsOrder)
{
    Appointment(L"Dentist", At(12, 7, 9), At(12, 7, 10, 30));
    Appointment(L"Night shift", At(12, 8, 22), At(12, 9, 6));
    Appointment(L"Day off", At(12, 10), At(12, 11), true, L"Rest");
    Appointment(L"Breakfast", At(12, 9, 7, 15), At(12, 9, 8));
    SavedTask(session_, L"Report", At(12, 8), At(12, 10));
    EXPECT_EQ(Range("2026-12-07", 8).out,
              "2026-12-07\tA\t0900\t1030\t0\t0\t0\t2\tDentist\tPersonal\n"
              "2026-12-08\tA\t2200\t2400\t0\t0\t0\t2\tNight shift\tPersonal\n"
              "2026-12-08\tT\t20261210\t1\t0\t0\t0\t0\tReport\tPersonal\n"
              "2026-12-09\tA\t0000\t0600\t0\t0\t0\t2\tNight shift\tPersonal\n"
              "2026-12-09\tA\t0715\t0800\t0\t0\t0\t2\tBreakfast\tPersonal\n"
              "2026-12-09\tT\t20261210\t0\t1\t0\t0\t0\tReport\tPersonal\n"
              "2026-12-10\tA\t0000\t2400\t1\t0\t3\t2\tDay off\tPersonal\n"
              "2026-12-10\tT\t20261210\t0\t0\t1\t0\t0\tReport\tPersonal\n"
              "2026-12-13\tA\t0000\t2400\t1\t0\t1\t0\tLantern Day\t\n"
              "2026-12-14\tA\t0000\t2400\t1\t0\t2\t0\tTrans Holiday\t\n");
}

// A day prints the same lines whatever day the range starts on, though substitute holidays arise
// only near a load's start: 11 February 2024 (two rules on a Sunday) lies 72 days into the whole
// range, so a load printing more than 66 days would lose its substitute.
class AgendaRangesTest : public AgendaTest {
protected:
    AgendaRangesTest()
        : AgendaTest({L"Founders Day,5,02,11,00", L"Flower Day,6,05,01,01", L"Year End,5,12,31,00",
                      L"New Year,5,01,01,00", L"Leap Day,5,02,29,00", L"Charter Day,5,02,11,00"})
    {
    }
};

TEST_F(AgendaRangesTest, EveryDayPrintsTheSameWhateverTheRangeStartsOn)
{
    RecurDaily(*Appointment(L"Walk", At(1, 1, 7, 0, 2022), At(1, 1, 8, 0, 2022)));
    // A rule landing on a rest-day appointment replaces it and brings a substitute.
    Appointment(L"Day off", At(2, 11, 0, 0, 2025), At(2, 12, 0, 0, 2025), true, L"Rest");
    SavedTask(session_, L"Thesis", At(3, 1, 0, 0, 2024), At(9, 30, 0, 0, 2024));
    constexpr int kDays = 456; // 2023-12-01 to 2025-02-28
    const AgendaRun whole = Range("2023-12-01", kDays);
    ASSERT_EQ(whole.status, 0) << whole.err;
    for (const std::string day : {"2024-02-12", "2025-02-12"}) {
        EXPECT_NE(whole.out.find(day + "\tA\t0000\t2400\t1\t0\t2\t0\tTrans Holiday\t\n"),
                  std::string::npos);
    }
    const std::tuple<const char*, int, const char*> ranges[] = {
        {"2024-02-12", 1, "2024-02-13"},
        {"2023-12-20", 200, "2024-07-07"},
        {"2024-12-30", 61, "2025-03-01"},
    };
    for (const auto& [from, days, until] : ranges) {
        EXPECT_EQ(Range(from, days).out, LinesOfDays(whole.out, from, until)) << from;
    }
}

// What comes from outside never drives the terminal, and neither a FIFO in place of the
// profile nor a store of an older version keeps the agenda from printing (or is written).
TEST_F(AgendaTest, EscapesControlsAndReadsOddProfilesAndOlderStores)
{
    Appointment(L"Evil\x1b[2J\tTab\x9b", At(12, 7, 9), At(12, 7, 10));
    session_.Disconnect();
    Sql(paths_.StorePath(), "DROP TABLE store_identity; PRAGMA user_version = 2;");
    const std::string fifo = paths_.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const AgendaRun run = Agenda(
        {"--store", paths_.StorePath(), "--profile", fifo, "--from", "2026-12-07", "--days", "1"});
    EXPECT_EQ(run.out, "2026-12-07\tA\t0900\t1000\t0\t0\t0\t2\tEvil\\x1b[2J\\x09Tab\\x9b\t\n");
    EXPECT_EQ(run.err, "tamberlo-agenda: The profile " + fifo +
                           " is not a regular file of a sane size; Tamberlo starts with the "
                           "default settings and leaves it as it is.\n");
    EXPECT_EQ(OtherProgram(paths_.StorePath()).Number("PRAGMA user_version"), 2);
}

// A hidden calendar is left out as the window leaves it out; --calendar chooses calendars by
// name, shown or hidden, and a name the store does not have is refused before anything prints.
TEST_F(AgendaTest, CalendarsChooseTheLinesAndEndThem)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 8));
    const ScopedClock useClock(clock);
    Appointment(L"Dentist", At(12, 7, 9), At(12, 7, 10));
    session_.Disconnect();
    const std::string store = paths_.StorePath();
    const int32_t work = AddedCalendar(store, L"Work", 0x0050A050, false);
    SavedIn(store, work, L"Standup", At(12, 7, 11));
    const auto day = [&](const std::vector<std::string>& calendars) {
        std::vector<std::string> args = {"--store", store,        "--profile", paths_.ProfilePath(),
                                         "--from",  "2026-12-07", "--days",    "1"};
        for (const std::string& name : calendars) {
            args.insert(args.end(), {"--calendar", name});
        }
        return Agenda(args);
    };
    const std::string dentist = "2026-12-07\tA\t0900\t1000\t0\t0\t0\t2\tDentist\tPersonal\n";
    const std::string standup = "2026-12-07\tA\t1100\t1200\t0\t0\t0\t2\tStandup\tWork\n";
    EXPECT_EQ(day({}).out, dentist);
    EXPECT_EQ(day({"work"}).out, standup);
    EXPECT_EQ(day({"Work", "Personal"}).out, dentist + standup);
    const AgendaRun unknown = day({"Work", "Holidays"});
    EXPECT_TRUE(unknown.status == 1 && unknown.out.empty());
    EXPECT_EQ(unknown.err, "tamberlo-agenda: the store has no calendar named \"Holidays\"\n");
    EXPECT_EQ(Agenda({"--store", store, "--find", "d"}).out,
              "2026-12-07\t09:00\tA\tDentist\tPersonal\n");
    EXPECT_EQ(Agenda({"--store", store, "--calendar", "Work", "--find", "d"}).out,
              "2026-12-07\t11:00\tA\tStandup\tWork\n");
}
