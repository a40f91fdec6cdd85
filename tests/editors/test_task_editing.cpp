// The task commands end to end over a real store, through scripted dialogs and message boxes.
#include "editors/task_editing.h"

#include <QCheckBox>

#include "editors/alarm_detail_dlg.h"
#include "editors/recur_detail_dlg.h"
#include "editors/task_detail_dlg.h"
#include "tests/editors/editor_fixture.h"

namespace {

class TaskEditingTest : public EditorFixture {
protected:
    // Adds a task through the editor, due today (row 0), and answers its object id.
    int32_t AddReport(const std::function<void(CTaskDetailDlg&)>& check = [](CTaskDetailDlg&) {})
    {
        Queue<CTaskDetailDlg>([check](CTaskDetailDlg& d) {
            check(d);
            Type(d, kTaskTitle, QStringLiteral("Report"));
            Click(d, 1);
        });
        EXPECT_EQ(editing_.Add(), Redraw::kInPlace);
        EXPECT_EQ(doc_.TaskCount(0), 1);
        return std::stoi(doc_.TaskOid(0, 0));
    }
    ItemValues Stored(int32_t oid)
    {
        const ReadResult read = edits_.Read({pim::kTaskKind, oid});
        EXPECT_EQ(read.status, EditStatus::kDone);
        return read.values;
    }

    TaskEditing editing_{services_};
};

} // namespace

TEST_F(TaskEditingTest, AddEditAndDeleteATask)
{
    const int32_t oid = AddReport([](CTaskDetailDlg& d) {
        // A new task has no start and is due today, importance "Normal".
        EXPECT_FALSE(Control<QCheckBox>(d, kTaskHasStart)->isChecked());
        EXPECT_EQ(Control<QDateEdit>(d, kTaskDue)->date(), QDate(2026, 12, 7));
        EXPECT_EQ(Text(d, kTaskImportance), "Normal");
    });
    EXPECT_EQ(Stored(oid).fields.DueDate, At(7));
    Queue<CTaskDetailDlg>([](CTaskDetailDlg& d) {
        EXPECT_EQ(Text(d, kTaskTitle), "Report");
        Click(d, kTaskHasStart);
        Control<QDateEdit>(d, kTaskStart)->setDate(QDate(2026, 12, 5));
        Control<QComboBox>(d, kTaskImportance)->setCurrentIndex(2);
        Type(d, kTaskCategory, QStringLiteral("Work"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(0, 0), Redraw::kInPlace);
    EXPECT_EQ(settings_.GetLastEditResult(), LastEditResult::kSaved);
    const pim::ItemFields edited = Stored(oid).fields;
    EXPECT_EQ(std::tie(edited.StartDate, edited.Importance, edited.Categories),
              std::tuple(At(5), 2, std::wstring(L"Work")));
    Queue<CTaskDetailDlg>([](CTaskDetailDlg& d) { Click(d, kTaskDelete); });
    EXPECT_EQ(editing_.Edit(0, 0), Redraw::kInPlace);
    EXPECT_EQ(LastMessage(), L"Delete Task. OK?");
    EXPECT_EQ(settings_.GetLastEditResult(), LastEditResult::kDeleted);
    EXPECT_EQ(doc_.TaskCount(0), 0);
    EXPECT_EQ(edits_.Read({pim::kTaskKind, oid}).status, EditStatus::kNotFound);
}

// The alarm editor starts from the due date on screen, or today at the current time without one.
TEST_F(TaskEditingTest, ANewTasksAlarmStartsFromTheDueDateShown)
{
    int32_t oid = 0; // a fresh store numbers its items from 1
    const auto alarmAt = [&, this](const std::function<void(CTaskDetailDlg&)>& dates, QDate day,
                                   const QString& time) {
        Queue<CTaskDetailDlg>([=, this](CTaskDetailDlg& d) {
            dates(d);
            Control<QComboBox>(d, kTaskAlarm)->setCurrentIndex(1);
            Queue<CAlarmDetailDlg>([=](CAlarmDetailDlg& alarm) {
                EXPECT_EQ(Control<QDateEdit>(alarm, 1095)->date(), day);
                EXPECT_EQ(Text(alarm, 1128), time);
                Click(alarm, 1);
            });
            Click(d, kTaskAlarmDetail);
            Click(d, 1);
        });
        editing_.Add();
        return Stored(++oid).fields.ReminderTime;
    };
    EXPECT_EQ(alarmAt([](CTaskDetailDlg& d) { Click(d, kTaskHasDue); }, QDate(2026, 12, 7),
                      QStringLiteral("15:30")),
              At(7, 15, 30));
    EXPECT_EQ(alarmAt(
                  [](CTaskDetailDlg& d) {
                      Control<QDateEdit>(d, kTaskDue)->setDate(QDate(2026, 12, 20));
                  },
                  QDate(2026, 12, 20), QStringLiteral("00:00")),
              At(20));
}

TEST_F(TaskEditingTest, SweptDaysOpenANewTaskFromTheEarlierDayToTheLater)
{
    Queue<CTaskDetailDlg>([](CTaskDetailDlg& d) {
        EXPECT_TRUE(Control<QCheckBox>(d, kTaskHasStart)->isChecked());
        EXPECT_EQ(Control<QDateEdit>(d, kTaskStart)->date(), QDate(2026, 12, 8));
        EXPECT_EQ(Control<QDateEdit>(d, kTaskDue)->date(), QDate(2026, 12, 10));
        EXPECT_FALSE(Control<QWidget>(d, kTaskDelete)->isEnabled());
        Type(d, kTaskTitle, QStringLiteral("Sweep"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.AddBetween(At(10), At(8)), Redraw::kInPlace);
    ASSERT_EQ(doc_.TaskCount(1), 1); // on its start day, the 8th
    const pim::ItemFields stored = Stored(std::stoi(doc_.TaskOid(1, 0))).fields;
    EXPECT_EQ(std::tie(stored.StartDate, stored.DueDate, stored.Subject),
              std::tuple(At(8), At(10), std::wstring(L"Sweep")));
}

TEST_F(TaskEditingTest, RecurringTaskFromTheRecurrenceEditorIsCompletedBothWays)
{
    const int32_t oid = AddReport();
    Queue<CTaskDetailDlg>([](CTaskDetailDlg& d) {
        Control<QComboBox>(d, kTaskRecur)->setCurrentIndex(1);
        EXPECT_FALSE(Control<QCheckBox>(d, kTaskHasDue)->isChecked());
        Click(d, kTaskRecurDetail);
        Click(d, 1);
    });
    Queue<CRecurDetailDlg>([](CRecurDetailDlg& d) { Click(d, 1); }); // weekly on Mondays
    EXPECT_EQ(editing_.Edit(0, 0), Redraw::kInPlace);
    // "No" moves the task and its pattern on to the next Monday (how: the exception ops).
    messages_.QueueAnswer(IDNO);
    EXPECT_EQ(editing_.Complete(0, 0), Redraw::kInPlace);
    EXPECT_EQ(messages_.shown().back().flags & MB_YESNOCANCEL, unsigned{MB_YESNOCANCEL});
    // Cancel leaves it; "Yes" marks it complete and reloads the window.
    ASSERT_EQ(std::stoi(doc_.TaskOid(7, 0)), oid); // now on the 14th
    messages_.QueueAnswer(IDCANCEL);
    EXPECT_EQ(editing_.Complete(7, 0), Redraw::kNothing);
    messages_.QueueAnswer(IDYES);
    EXPECT_EQ(editing_.Complete(7, 0), Redraw::kReloaded);
    EXPECT_EQ(std::pair(Stored(oid).fields.Complete, Stored(oid).fields.StartDate),
              std::pair(true, At(14)));
}

// Completing a task that vanished from the store reports it as the command's error.
TEST_F(TaskEditingTest, AGoneTaskIsReportedByComplete)
{
    AddReport();
    Elsewhere("DELETE FROM items");
    EXPECT_EQ(editing_.Complete(0, 0), Redraw::kReloaded);
    EXPECT_EQ(LastMessage() + L"|" + messages_.shown().back().caption,
              L"Fail at get Task Information.|Error");
    EXPECT_EQ(messages_.shown().back().flags & MB_ICONSTOP, unsigned{MB_ICONSTOP});
}
