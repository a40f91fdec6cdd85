// The store session over a real store file in a temporary folder: counts, fetch bounds, find by
// object id, create, and stores that cannot be opened.
#include "model/pim_session.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "model/recurrence.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/temp_paths.h"

namespace {

AppointItem SavedAppointment(PimSession& session, const std::wstring& subject)
{
    AppointItem item = session.CreateAppointment();
    EXPECT_NE(item, nullptr);
    item->SetSubject(subject);
    item->SetStart(SystemTimeToVariantTime(MakeSystemTime(2024, 3, 1, 9)));
    item->SetEnd(SystemTimeToVariantTime(MakeSystemTime(2024, 3, 1, 10)));
    EXPECT_GE(item->Save(), 0);
    return item;
}

}  // namespace

TEST(PimSession, EmptyStoreFetchFailsAtOnce)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    EXPECT_GE(session.Connect(), 0);
    EXPECT_EQ(session.AppointmentCount(), 0);
    EXPECT_EQ(session.TaskCount(), 0);
    EXPECT_EQ(session.FetchAppointment(1), nullptr);
    EXPECT_EQ(session.FetchTask(1), nullptr);
    EXPECT_EQ(session.FetchAppointment(0), nullptr);
    EXPECT_EQ(session.CurrentAppointment(), nullptr);
}

TEST(PimSession, CountsAreReadAtConnectAndFindGoesByOid)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    const int32_t first = SavedAppointment(session, L"Dentist")->GetOid();
    const int32_t second = SavedAppointment(session, L"Gym")->GetOid();
    EXPECT_EQ(session.AppointmentCount(), 0);  // read at connect, not live
    session.Disconnect();

    session.Connect();
    ASSERT_EQ(session.AppointmentCount(), 2);
    AppointItem item = session.FetchAppointment(2);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetSubject(), L"Gym");
    EXPECT_EQ(session.CurrentAppointment(), item);
    EXPECT_EQ(session.FetchAppointment(3), nullptr);

    item = session.FindAppointment(PimSession::OidField(first));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetSubject(), L"Dentist");
    EXPECT_TRUE(session.AppointmentFound());

    ASSERT_GE(item->Delete(), 0);
    session.Disconnect();
    session.Connect();
    ASSERT_NE(session.FindAppointment(PimSession::OidField(second)), nullptr);
    EXPECT_EQ(session.FindAppointment(PimSession::OidField(first)), nullptr);
    EXPECT_FALSE(session.AppointmentFound());
    EXPECT_EQ(session.CurrentAppointment(), nullptr);
    EXPECT_LT(session.LastStatus(), 0);
}

TEST(PimSession, OidFieldIsBlankPaddedToTwentyCharacters)
{
    EXPECT_EQ(PimSession::OidField(42), std::wstring(18, L' ') + L"42");
    EXPECT_EQ(PimSession::OidField(2147483647).size(), 20u);
}

TEST(PimSession, CreatedTaskRoundTrips)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    TaskItem task = session.CreateTask();
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(session.CurrentTask(), task);
    task->SetSubject(L"Taxes");
    ASSERT_GE(task->Save(), 0);
    const std::wstring oid = PimSession::OidField(task->GetOid());
    session.Disconnect();
    EXPECT_EQ(session.CurrentTask(), nullptr);

    session.Connect();
    EXPECT_EQ(session.TaskCount(), 1);
    TaskItem found = session.FindTask(oid);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetSubject(), L"Taxes");
    EXPECT_TRUE(session.TaskFound());
}

TEST(PimSession, UnopenableStoreFailsCleanly)
{
    TempPaths paths;
    QDir().mkpath(QString::fromStdString(paths.File("folder.sqlite3")));
    QFile garbage(QString::fromStdString(paths.File("garbage.sqlite3")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, '\x5a'));
    garbage.close();

    for (const char* name : {"folder.sqlite3", "garbage.sqlite3"}) {
        SCOPED_TRACE(name);
        PimSession session(paths.File(name), OccurrenceOnDay);
        EXPECT_LT(session.Connect(), 0);
        EXPECT_FALSE(session.IsConnected());
        EXPECT_FALSE(session.ConnectError().empty());
        EXPECT_EQ(session.AppointmentCount(), 0);
        EXPECT_EQ(session.FetchAppointment(1), nullptr);
        EXPECT_EQ(session.FindTask(PimSession::OidField(1)), nullptr);
        EXPECT_EQ(session.CreateAppointment(), nullptr);
        EXPECT_EQ(session.CreateTask(), nullptr);
        session.Disconnect();
    }
    ASSERT_TRUE(garbage.open(QIODevice::ReadOnly));
    EXPECT_EQ(garbage.readAll(), QByteArray(4096, '\x5a'));
}

TEST(PimSession, ACountedSeriesWithoutEndDateEndsOnItsLastOccurrence)
{
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    const auto day = [](int year, int month, int date) {
        return SystemTimeToVariantTime(MakeSystemTime(year, month, date));
    };
    const auto counted = [&](int32_t type, DATE start, int32_t occurrences, DATE endDate) {
        AppointItem item = SavedAppointment(session, L"Series");
        std::shared_ptr<pim::RecurrencePattern> pattern;
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        pattern->SetRecurrenceType(type);
        pattern->SetDayOfWeekMask(0x02);  // Monday
        pattern->SetDayOfMonth(7);
        pattern->SetMonthOfYear(12);
        pattern->SetPatternStartDate(start);
        pattern->SetStartTime(start + 9.0 / 24);
        pattern->SetDuration(60);
        pattern->SetNoEndDate(false);
        pattern->SetOccurrences(occurrences);
        pattern->SetPatternEndDate(endDate);
        EXPECT_GE(item->Save(), 0);
        return PimSession::OidField(item->GetOid());
    };
    const std::wstring weekly = counted(kRecursWeekly, day(2026, 12, 7), 3, 0.0);
    const std::wstring chosen = counted(kRecursWeekly, day(2026, 12, 7), 3, day(2027, 1, 25));
    const std::wstring beyond = counted(kRecursYearly, day(2990, 12, 7), 5000, 0.0);
    session.Disconnect();

    session.Connect();
    const auto endOf = [&](const std::wstring& oid) {
        std::shared_ptr<pim::RecurrencePattern> pattern;
        AppointItem item = session.FindAppointment(oid);
        EXPECT_NE(item, nullptr);
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        return pattern->GetPatternEndDate();
    };
    EXPECT_EQ(endOf(weekly), day(2026, 12, 21));
    EXPECT_EQ(endOf(chosen), day(2027, 1, 25));  // an end date of the user's own is kept
    EXPECT_EQ(endOf(beyond), day(2999, 12, 31));
}
