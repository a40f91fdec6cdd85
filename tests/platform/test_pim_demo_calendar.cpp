// The demo calendar: the counts asked for, every recurrence kind, exceptions, and the same
// calendar again from the same seed.
#include "platform/pim/demo_calendar.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/pim/store_database.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields& /*pattern*/, const SYSTEMTIME& /*day*/,
             int32_t /*durationOverride*/)
{
    return 1;
}

struct Demo {
    std::vector<std::wstring> subjects;
    std::set<int> types;
    size_t exceptions = 0;
    size_t tasks = 0;
};

Demo Fill(const std::string& path)
{
    Demo demo;
    EXPECT_EQ(WriteDemoStore(path, EveryDay, MakeSystemTime(2026, 12, 7), 300, 40, 11), 0);
    StoreDatabase db;
    std::vector<StoredItem> appointments;
    std::vector<StoredItem> tasks;
    EXPECT_EQ(db.Open(path), 0);
    EXPECT_EQ(db.Load(kAppointmentKind, 0, appointments), 0);
    EXPECT_EQ(db.Load(kTaskKind, 0, tasks), 0);
    for (const StoredItem& a : appointments) {
        demo.subjects.push_back(a.fields.Subject);
        if (a.pattern) {
            demo.types.insert(a.pattern->RecurrenceType);
            demo.exceptions += a.exceptions.size();
        }
    }
    demo.tasks = tasks.size();
    return demo;
}

} // namespace

TEST(DemoCalendar, FillsARealisticDeterministicCalendar)
{
    TempPaths paths;
    const Demo first = Fill(paths.File("a.sqlite3"));
    EXPECT_EQ(first.subjects.size(), 300U);
    EXPECT_EQ(first.tasks, 40U);
    EXPECT_EQ(first.types, (std::set<int>{0, 1, 2, 3, 5, 6}));
    EXPECT_GT(first.exceptions, 10U);
    EXPECT_EQ(Fill(paths.File("b.sqlite3")).subjects, first.subjects) << "the same seed";
}
