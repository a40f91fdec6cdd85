// Cancelling exceptions of a recurring appointment and completing tasks, on a real store file.
#include "model/exception_ops.h"

#include "tests/support/item_text.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int day, int hour, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2024, 3, day, hour, minute));
}

class ExceptionOpsTest : public ::testing::Test {
protected:
    ExceptionOpsTest() : useClock_(clock_), session_(paths_.StorePath(), OccurrenceOnDay)
    {
        session_.Connect();
    }

    // Daily at 09:00 for an hour, 4 to 13 March 2024.
    std::wstring DailyAppointment()
    {
        AppointItem item = SavedAppointment(session_, L"Standup", At(4, 9), At(4, 10));
        RecurDaily(*item, At(13, 0));
        return PimSession::OidField(item->GetOid());
    }

    AppointItem Find(const std::wstring& oid)
    {
        session_.Disconnect();
        session_.Connect();
        AppointItem item = session_.FindAppointment(oid);
        EXPECT_NE(item, nullptr);
        return item;
    }

    static std::shared_ptr<pim::RecurrencePattern> PatternOf(const AppointItem& item)
    {
        std::shared_ptr<pim::RecurrencePattern> pattern;
        EXPECT_GE(item->GetRecurrencePattern(&pattern), 0);
        return pattern;
    }

    // Every field of the occurrence on `day` changes, its times to `start`..`end`.
    static void Change(const AppointItem& item, int day, const std::wstring& subject, DATE start,
                       DATE end)
    {
        AppointItem occurrence;
        ASSERT_GE(PatternOf(item)->GetOccurrence(At(day, 0), &occurrence), 0);
        SetEveryField(*occurrence);
        occurrence->SetUID(L""); // an occurrence has its series' id
        occurrence->SetSubject(subject);
        occurrence->SetStart(start);
        occurrence->SetEnd(end);
        ASSERT_GE(occurrence->Save(), 0);
    }

    static std::string OccurrenceText(const AppointItem& item, int day)
    {
        AppointItem occurrence;
        EXPECT_GE(PatternOf(item)->GetOccurrence(At(day, 0), &occurrence), 0);
        return occurrence ? FieldsText(occurrence->Stored().fields) : "none";
    }

    static int ExceptionCount(const AppointItem& item)
    {
        std::shared_ptr<pim::Exceptions> exceptions;
        return PatternOf(item)->GetExceptions(&exceptions) >= 0 ? exceptions->Count() : -1;
    }

    FixedClock clock_{MakeSystemTime(2024, 3, 6, 12)};
    ScopedClock useClock_;
    TempPaths paths_;
    PimSession session_;
};

} // namespace

// Cancelling one exception keeps the others; cancelling all restores every occurrence, no more.
TEST_F(ExceptionOpsTest, CancelOneOrAllRestoresOccurrencesAndAMissingNumberChangesNothing)
{
    const std::wstring oid = DailyAppointment();
    Change(Find(oid), 5, L"Moved", At(5, 14), At(5, 15, 30));
    Change(Find(oid), 7, L"Cancelled", At(7, 9), At(7, 10));
    EditOccurrence(*Find(oid), At(8, 0), L"");
    Change(Find(oid), 9, L"Offsite", At(9, 0), At(10, 0));
    AppointItem item = Find(oid);
    ASSERT_EQ(ExceptionCount(item), 4);
    const std::string moved = OccurrenceText(item, 5);
    const std::string offsite = OccurrenceText(item, 9);
    EXPECT_EQ(CancelException(*item, 2), L"Fin");
    ASSERT_GE(item->Save(), 0);
    item = Find(oid);
    EXPECT_EQ(ExceptionCount(item), 3);
    EXPECT_EQ(OccurrenceText(item, 5), moved);
    EXPECT_EQ(OccurrenceText(item, 9), offsite);
    AppointItem occurrence;
    EXPECT_LT(PatternOf(item)->GetOccurrence(At(8, 0), &occurrence), 0) << "still deleted";
    EXPECT_EQ(CancelException(*item, -1), L"AllClear");
    item->Save();
    item = Find(oid);
    EXPECT_EQ(ExceptionCount(item), 0);
    for (int day = 4; day <= 13; ++day) {
        ASSERT_GE(PatternOf(item)->GetOccurrence(At(day, 0), &occurrence), 0) << day;
        EXPECT_EQ(occurrence->GetStart(), At(day, 9));
        EXPECT_EQ(occurrence->GetSubject(), L"Standup");
    }
    EXPECT_LT(PatternOf(item)->GetOccurrence(At(14, 0), &occurrence), 0);
    const std::wstring other = DailyAppointment();
    Change(Find(other), 5, L"Moved", At(5, 14), At(5, 15, 30));
    AppointItem single = Find(other);
    EXPECT_EQ(CancelException(*single, 2), L"1");
    EXPECT_EQ(CancelException(*single, -2), L"1");
    EXPECT_EQ(ExceptionCount(Find(other)), 1);
    EXPECT_EQ(CancelException(*SavedAppointment(session_, L"", At(4, 9), At(4, 10)), -1), L"0");
}

TEST_F(ExceptionOpsTest, CompleteTask)
{
    const struct {
        const char* name;
        bool recurring;
        DATE patternEnd; // 0: no end date
        DATE due;
        bool complete;
        DATE start;
        DATE dueAfter;
    } cases[] = {
        {"pattern ended", true, At(10, 0), At(6, 0), true, At(4, 0), At(6, 0)},
        {"ends on the next day", true, At(11, 0), At(6, 0), false, At(11, 0), At(13, 0)},
        {"no due date stays", true, 0.0, 0.0, false, At(11, 0), 0.0},
        {"single task", false, 0.0, At(6, 0), true, At(4, 0), At(6, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TaskItem task = session_.CreateTask();
        task->SetSubject(L"Timesheet");
        task->SetStartDate(At(4, 0)); // a Monday
        task->SetDueDate(c.due);
        if (c.recurring) {
            std::shared_ptr<pim::RecurrencePattern> pattern;
            ASSERT_GE(task->GetRecurrencePattern(&pattern), 0);
            pattern->SetRecurrenceType(kRecursWeekly);
            pattern->SetPatternStartDate(At(4, 0));
            pattern->SetDayOfWeekMask(2);
            pattern->SetNoEndDate(c.patternEnd == 0.0);
            pattern->SetPatternEndDate(c.patternEnd);
        }
        ASSERT_GE(task->Save(), 0);
        const std::wstring oid = PimSession::OidField(task->GetOid());
        CompleteTask(*task, false);
        ASSERT_GE(task->Save(), 0);
        session_.Disconnect();
        session_.Connect();
        task = session_.FindTask(oid);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(std::tuple(task->GetComplete(), task->GetDateCompleted(), task->GetStartDate(),
                             task->GetDueDate(), task->GetIsRecurring()),
                  std::tuple(c.complete, c.complete ? At(6, 12) : pim::kNoDate, c.start, c.dueAfter,
                             c.recurring));
    }
}
