// The store session over a real store file: counts, fetch bounds, find by id, unopenable stores.
#include "model/pim_session.h"

#include <QDir>

#include "tests/support/dates.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

TEST(PimSession, CountsFindByOidAndAnUnopenableStore)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    ASSERT_GE(session.Connect(), 0);
    EXPECT_EQ(session.FetchAppointment(1), nullptr) << "an empty store";
    const DATE nine = At(2024, 3, 1, 9);
    const int32_t first = SavedAppointment(session, L"Dentist", nine, nine + 1 / 24.0)->GetOid();
    const int32_t second = SavedAppointment(session, L"Gym", nine, nine + 1 / 24.0)->GetOid();
    TaskItem task = session.CreateTask();
    ASSERT_GE(task->Save(), 0);
    EXPECT_EQ(session.AppointmentCount(), 0); // read at connect, not live
    session.Disconnect();
    session.Connect();
    ASSERT_EQ(session.AppointmentCount(), 2);
    EXPECT_EQ(session.TaskCount(), 1);
    AppointItem item = session.FetchAppointment(2);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetSubject(), L"Gym");
    EXPECT_EQ(session.FetchAppointment(3), nullptr);
    EXPECT_EQ(session.FetchAppointment(0), nullptr);
    item = session.FindAppointment(PimSession::OidField(first));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetSubject(), L"Dentist");
    ASSERT_GE(item->Delete(), 0);
    session.Disconnect();
    session.Connect(pim::ItemSelection::None); // as an edit connects: finds only
    EXPECT_EQ(session.AppointmentCount() + session.TaskCount(), 0);
    ASSERT_NE(session.FindAppointment(PimSession::OidField(second)), nullptr);
    EXPECT_EQ(session.FindAppointment(PimSession::OidField(first)), nullptr);
    // The restriction's field: blank-padded to twenty characters.
    EXPECT_EQ(PimSession::OidField(42), std::wstring(18, L' ') + L"42");
    EXPECT_EQ(PimSession::OidField(2147483647).size(), 20U);
    // Every kind of file that is no store is the store's own table; a folder stands for them.
    TempPaths folder;
    QDir().mkpath(QString::fromStdString(folder.File("folder.sqlite3")));
    PimSession broken(folder.File("folder.sqlite3"), OccurrenceOnDay);
    EXPECT_LT(broken.Connect(), 0);
    EXPECT_FALSE(broken.IsConnected());
    EXPECT_FALSE(broken.ConnectError().empty());
    EXPECT_EQ(broken.FetchAppointment(1), nullptr);
    EXPECT_EQ(broken.CreateAppointment(), nullptr);
    broken.Disconnect();
}

// A counted series without an end date ends on its last occurrence; a user's end date is kept.
TEST(PimSession, ACountedSeriesWithoutEndDateEndsOnItsLastOccurrence)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    const struct {
        int32_t type;
        DATE start;
        int32_t occurrences;
        DATE endDate, expected;
    } cases[] = {
        {kRecursWeekly, At(2026, 12, 7), 3, 0.0, At(2026, 12, 21)},
        {kRecursWeekly, At(2026, 12, 7), 3, At(2027, 1, 25), At(2027, 1, 25)},
        {kRecursYearly, At(2990, 12, 7), 5000, 0.0, At(2999, 12, 31)},
    };
    std::vector<std::wstring> oids;
    for (const auto& c : cases) {
        AppointItem item =
            SavedAppointment(session, L"Series", At(2024, 3, 1, 9), At(2024, 3, 1, 10));
        std::shared_ptr<pim::RecurrencePattern> pattern;
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        pattern->SetRecurrenceType(c.type);
        pattern->SetDayOfWeekMask(0x02); // Monday
        pattern->SetDayOfMonth(7);
        pattern->SetMonthOfYear(12);
        pattern->SetPatternStartDate(c.start);
        pattern->SetNoEndDate(false);
        pattern->SetOccurrences(c.occurrences);
        pattern->SetPatternEndDate(c.endDate);
        EXPECT_GE(item->Save(), 0);
        oids.push_back(PimSession::OidField(item->GetOid()));
    }
    session.Disconnect();
    session.Connect();
    for (size_t i = 0; i < oids.size(); ++i) {
        std::shared_ptr<pim::RecurrencePattern> pattern;
        AppointItem item = session.FindAppointment(oids[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        EXPECT_EQ(pattern->GetPatternEndDate(), cases[i].expected) << i;
    }
}
