// The short ways the import and the store take for speed give what the long ways gave: a
// calendar imported again writes nothing but what changed in it, and the reminders' indexes
// of version 13 come with the first writer of an older store and change no reminder read.
#include <gtest/gtest.h>

#include "platform/pim/demo_calendar.h"
#include "platform/pim/store_database.h"
#include "tests/ical/ical_test_support.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

size_t ChangedOccurrences(const std::vector<pim::StoredItem>& items)
{
    size_t count = 0;
    for (const pim::StoredItem& item : items) {
        for (const pim::ExceptionFields& e : item.exceptions) {
            count += e.Deleted ? 0 : 1;
        }
    }
    return count;
}

// The appointments and tasks whose reminders a plan of those days reads, by object id.
std::vector<int32_t> Reminded(const std::string& path, pim::StoreDatabase::Access access)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(path, access), 0);
    db.SetOccurrenceRule(OccurrenceOnDay);
    const DATE today = SystemTimeToVariantTime(kToday);
    std::vector<int32_t> oids;
    for (const int32_t kind : {pim::kAppointmentKind, pim::kTaskKind}) {
        std::vector<pim::StoredItem> items;
        EXPECT_EQ(
            db.LoadRange(kind, {today - 2, today + 800, pim::ItemSelection::WithReminders}, items),
            0);
        for (const pim::StoredItem& item : items) {
            oids.push_back(item.fields.Oid);
        }
    }
    return oids;
}

} // namespace

TEST(SpeedPaths, AnImportAgainWritesOnlyWhatChanged)
{
    ScopedZone zone("Europe/Berlin");
    TempPaths demo;
    TempPaths paths;
    ASSERT_EQ(pim::WriteDemoStore(demo.StorePath(), OccurrenceOnDay, kToday, 300, 60, 5), 0);
    const std::string text = Export(demo.StorePath());
    const ical::ImportReport first = Import(paths.StorePath(), text);
    const std::vector<pim::StoredItem> imported = StoredItems(paths.StorePath());
    const QByteArray bytes = Bytes(paths.StorePath());
    const QByteArray log = Bytes(paths.StorePath() + "-wal");
    const ical::ImportReport again = Import(paths.StorePath(), text);
    EXPECT_EQ(ical::SummaryLine(again), ical::SummaryLine(first));
    EXPECT_EQ(Bytes(paths.StorePath()), bytes);
    EXPECT_EQ(Bytes(paths.StorePath() + "-wal"), log);
    EXPECT_EQ(StoredItems(paths.StorePath()), imported);

    // A changed occurrence the file no longer has leaves its series, which is otherwise held.
    const size_t at = text.find("RECURRENCE-ID");
    ASSERT_NE(at, std::string::npos);
    const size_t begin = text.rfind("BEGIN:VEVENT", at);
    const size_t end = text.find("END:VEVENT\r\n", at) + 12;
    Import(paths.StorePath(), text.substr(0, begin) + text.substr(end));
    const std::vector<pim::StoredItem> after = StoredItems(paths.StorePath());
    ASSERT_GT(ChangedOccurrences(imported), 0U);
    EXPECT_EQ(ChangedOccurrences(after), ChangedOccurrences(imported) - 1);
    EXPECT_EQ(after.size(), imported.size());
}

TEST(SpeedPaths, TheRemindersIndexesComeWithTheFirstWriterAndChangeNoRead)
{
    TempPaths paths;
    const std::string path = paths.StorePath();
    ASSERT_EQ(pim::WriteDemoStore(path, OccurrenceOnDay, kToday, 400, 80, 7), 0);
    const std::vector<int32_t> indexed = Reminded(path, pim::StoreDatabase::Access::ReadOnly);
    EXPECT_GT(indexed.size(), 50U);
    const std::string count =
        "SELECT count(*) FROM sqlite_master WHERE name GLOB 'items_reminder_*'";
    ASSERT_EQ(SqlNumber(path, count), 2);
    Sql(path, "DROP INDEX items_reminder_times; DROP INDEX items_reminder_spans;"
              "PRAGMA user_version = 12;");
    const QByteArray older = Bytes(path);
    EXPECT_EQ(Reminded(path, pim::StoreDatabase::Access::ReadOnly), indexed);
    EXPECT_EQ(Bytes(path), older) << "a reader writes nothing";
    EXPECT_EQ(Reminded(path, pim::StoreDatabase::Access::ReadWrite), indexed);
    EXPECT_EQ(SqlNumber(path, count), 2);
    EXPECT_EQ(SqlNumber(path, "PRAGMA user_version"), pim::StoreDatabase::kSchemaVersion);
}
