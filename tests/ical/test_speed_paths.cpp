// The short way an import takes for speed gives what the long way gave: a calendar imported
// again writes nothing but what changed in it.
#include <gtest/gtest.h>

#include "platform/pim/demo_calendar.h"
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
