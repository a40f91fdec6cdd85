// The demo calendar: the counts asked for, every recurrence kind, exceptions, dated and
// undated tasks, and the same calendar again from the same seed.
#include "platform/pim/demo_calendar.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/pim/application.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

int EveryDay(const RecurrenceFields&, const SYSTEMTIME&, int32_t) { return 1; }

std::vector<std::wstring> Subjects(const std::string& path, std::set<int>* types, int* exceptions,
                                   int* undatedTasks)
{
    Application app;
    EXPECT_EQ(app.Logon(path, EveryDay), 0);
    EXPECT_EQ(FillDemoCalendar(app, MakeSystemTime(2026, 12, 7), 300, 40, 11), 0);
    std::shared_ptr<Folder> calendar;
    std::shared_ptr<Items> items;
    app.GetDefaultFolder(kCalendarFolder, &calendar);
    calendar->GetItems(&items);
    EXPECT_EQ(items->Count(), 300);
    std::vector<std::wstring> subjects;
    for (int n = 1; n <= items->Count(); ++n) {
        std::shared_ptr<AppointmentItem> a;
        items->Item(n, &a);
        subjects.push_back(a->GetSubject());
        if (a->GetIsRecurring()) {
            std::shared_ptr<RecurrencePattern> p;
            std::shared_ptr<Exceptions> e;
            a->GetRecurrencePattern(&p);
            p->GetExceptions(&e);
            types->insert(p->GetRecurrenceType());
            *exceptions += e->Count();
        }
    }
    std::shared_ptr<Folder> taskFolder;
    std::shared_ptr<Items> tasks;
    app.GetDefaultFolder(kTasksFolder, &taskFolder);
    taskFolder->GetItems(&tasks);
    EXPECT_EQ(tasks->Count(), 40);
    for (int n = 1; n <= tasks->Count(); ++n) {
        std::shared_ptr<TaskItem> t;
        tasks->Item(n, &t);
        *undatedTasks += t->GetDueDate() == kNoDate ? 1 : 0;
    }
    return subjects;
}

}  // namespace

TEST(DemoCalendar, FillsARealisticDeterministicCalendar)
{
    TempPaths paths;
    std::set<int> types;
    int exceptions = 0;
    int undated = 0;
    const auto first = Subjects(paths.File("a.sqlite3"), &types, &exceptions, &undated);
    EXPECT_EQ(types, (std::set<int>{0, 1, 2, 3, 5, 6}));
    EXPECT_GT(exceptions, 10);
    EXPECT_EQ(undated, 10);
    std::set<int> again;
    int e2 = 0;
    int u2 = 0;
    EXPECT_EQ(Subjects(paths.File("b.sqlite3"), &again, &e2, &u2), first);
}
