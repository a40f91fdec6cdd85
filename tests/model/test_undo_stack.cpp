// The undo stack over a real store: every kind of change, refusals and a seeded walk.
#include "model/undo_stack.h"

#include <algorithm>
#include <random>
#include <tuple>

#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/document_changes.h"
#include "tests/support/store_file.h"
#include "tests/support/store_items.h"
#include "tests/support/temp_paths.h"

namespace {

DATE At(int day, int hour)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, 12, day, hour));
}

// From 10:00 to 11:00 on a December day, or daily from that day.
ItemValues Appointment(const std::wstring& subject, int day, bool daily = false)
{
    return daily ? DailyValues(subject, At(day, 10), At(day, 11))
                 : AppointmentValues(subject, At(day, 10), At(day, 11));
}

// From and due Tuesday the 8th, or weekly on Tuesdays.
ItemValues Task(const std::wstring& subject, bool weekly)
{
    ItemValues v;
    v.fields.Subject = subject;
    v.fields.StartDate = v.fields.DueDate = At(8, 0);
    if (weekly) {
        v.pattern = pim::RecurrencePattern::WeeklyFrom(At(8, 0), 0);
    }
    return v;
}

ScheduleChange Change(ChangeKind kind, const ItemRef& ref, std::optional<ItemValues> after = {},
                      int32_t exceptionNo = 0)
{
    ScheduleChange change{kind, ref};
    change.after = std::move(after);
    change.exceptionNo = exceptionNo;
    return change;
}

// The store's items without their object ids, in an order that ids do not decide.
using Snapshot = std::vector<pim::StoredItem>;

class UndoTest : public ::testing::Test {
protected:
    Snapshot Store()
    {
        Snapshot all = StoredItems(session);
        for (pim::StoredItem& item : all) {
            item.fields.Oid = 0;
            for (pim::ExceptionFields& e : item.exceptions) {
                e.occurrence.Oid = 0;
            }
        }
        std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
            return std::tie(a.kind, a.fields.Subject, a.fields.Start, a.fields.StartDate) <
                   std::tie(b.kind, b.fields.Subject, b.fields.Start, b.fields.StartDate);
        });
        return all;
    }

    int32_t Add(pim::ItemKind kind, const ItemValues& values)
    {
        return AddThrough(edits, values, kind);
    }

    EditStatus Save(const ItemRef& ref, const ItemValues& values)
    {
        return edits.Apply(SaveChange(ref, values)).status;
    }

    FixedClock clock{MakeSystemTime(2026, 12, 7, 15, 30)};
    ScopedClock useClock{clock};
    TempPaths paths;
    StubSettings settings;
    PimSession session{paths.StorePath(), OccurrenceOnDay};
    CTamberloDoc doc{session, settings};
    ScheduleEdits edits{doc, session};
    UndoStack stack{edits};
};

TEST_F(UndoTest, EveryKindOfStepUndoesAndRedoesExactly)
{
    const int32_t single = Add(pim::kAppointmentKind, Appointment(L"Dentist", 9));
    const int32_t series = Add(pim::kAppointmentKind, Appointment(L"Standup", 8, true));
    const int32_t task = Add(pim::kTaskKind, Task(L"Report", false));
    const int32_t weekly = Add(pim::kTaskKind, Task(L"Bins", true));
    const ItemRef seriesRef{pim::kAppointmentKind, series};
    const auto save = [](int32_t oid, DATE day, const wchar_t* subject, int at) {
        return Change(ChangeKind::kSave, {pim::kAppointmentKind, oid, day},
                      Appointment(subject, at));
    };
    const auto drop = [](int32_t oid, DATE day) {
        return Change(ChangeKind::kDelete, {pim::kAppointmentKind, oid, day});
    };
    const auto complete = [](int32_t oid) {
        return Change(ChangeKind::kCompleteTask, {pim::kTaskKind, oid});
    };
    const auto cancel = [&](int32_t number) {
        return Change(ChangeKind::kCancelException, seriesRef, {}, number);
    };
    using enum UndoAction;
    const struct {
        const char* name;
        ScheduleChange change;
        UndoLabel label;
    } cases[] = {
        {"add", save(0, 0, L"Lunch", 11), {kAdd, L"Lunch"}},
        {"edit", save(single, 0, L"Dentist", 10), {kEdit, L"Dentist"}},
        {"exception", save(series, At(9, 0), L"Standup late", 9), {kEdit, L"Standup", At(9, 0)}},
        {"delete occurrence", drop(series, At(10, 0)), {kDelete, L"Standup", At(10, 0)}},
        {"cancel one exception", cancel(1), {kEdit, L"Standup"}},
        {"clear all exceptions", cancel(-1), {kEdit, L"Standup"}},
        {"complete", complete(task), {kComplete, L"Report"}},
        {"recurring task moves on", complete(weekly), {kComplete, L"Bins"}},
        {"delete series with its exceptions", drop(series, 0), {kDelete, L"Standup"}},
        {"paste of two as one step", {}, {kPaste, L"Copy 1"}},
    };
    // Each case starts where the one before left off, so cancels and the delete meet exceptions.
    Save({pim::kAppointmentKind, series, At(12, 0)}, Appointment(L"Standup moved", 12));
    for (const auto& c : cases) {
        const Snapshot before = Store();
        if (c.label.action == kPaste) {
            const UndoStep step(&stack, kPaste);
            Add(pim::kAppointmentKind, Appointment(L"Copy 1", 14));
            Add(pim::kTaskKind, Task(L"Copy 2", false));
        } else {
            edits.Apply(c.change);
        }
        const Snapshot after = Store();
        ASSERT_NE(before, after) << c.name;
        const UndoLabel* next = stack.NextUndo();
        ASSERT_TRUE(next) << c.name;
        EXPECT_EQ(std::tie(next->action, next->subject, next->day),
                  std::tie(c.label.action, c.label.subject, c.label.day))
            << c.name;
        EXPECT_EQ(stack.Undo().status, UndoStatus::kDone) << c.name;
        EXPECT_EQ(Store(), before) << c.name;
        EXPECT_EQ(stack.Redo().status, UndoStatus::kDone) << c.name;
        EXPECT_EQ(Store(), after) << c.name;
        EXPECT_FALSE(stack.CanRedo());
    }
    // The series brought back has a new id; the steps recorded for the old one follow it.
    for (int step = 0; step < 5; ++step) {
        EXPECT_EQ(stack.Undo().status, UndoStatus::kDone) << step;
    }
    const int32_t back = stack.CurrentOid(series);
    EXPECT_GT(back, weekly);
    std::optional<pim::StoredItem> restored;
    ASSERT_EQ(edits.ReadStored(pim::kAppointmentKind, back, restored), EditStatus::kDone);
    EXPECT_EQ(restored->exceptions.size(), 2U);
    EXPECT_EQ(restored->fields.Subject, L"Standup");
}

TEST_F(UndoTest, DropsAStepAnotherProgramOvertookAndReachesTheOneBefore)
{
    const int32_t oid = Add(pim::kAppointmentKind, Appointment(L"Dentist", 9));
    Save({pim::kAppointmentKind, oid}, Appointment(L"Dentist", 10));
    OtherProgram other(paths.StorePath());
    const int32_t report = Add(pim::kTaskKind, Task(L"Report", false));
    Save({pim::kTaskKind, report}, Task(L"Report v2", false));
    ASSERT_TRUE(other.Run("UPDATE items SET subject = 'Report (by sync)' WHERE oid = " +
                          std::to_string(report)));
    // The overtaken step is dropped; the one before is refused too, then the Dentist's is undone.
    const Snapshot before = Store();
    EXPECT_EQ(stack.Undo().status, UndoStatus::kChangedElsewhere);
    EXPECT_EQ(Store(), before);
    EXPECT_EQ(stack.NextUndo()->action, UndoAction::kAdd);
    EXPECT_EQ(stack.NextUndo()->subject, L"Report");
    EXPECT_EQ(stack.Undo().status, UndoStatus::kChangedElsewhere);
    EXPECT_EQ(stack.NextUndo()->subject, L"Dentist");
    EXPECT_EQ(stack.Undo().status, UndoStatus::kDone);
    EXPECT_TRUE(stack.CanRedo());
    std::optional<pim::StoredItem> dentist;
    ASSERT_EQ(edits.ReadStored(pim::kAppointmentKind, oid, dentist), EditStatus::kDone);
    EXPECT_EQ(dentist->fields.Start, At(9, 10));
    // The same for a redo that another program overtook: refused, dropped, nothing written.
    for (const char* sql :
         {"UPDATE items SET subject = 'Dentist (moved by sync)'", "DELETE FROM items"}) {
        ASSERT_TRUE(other.Run(sql));
        const Snapshot now = Store();
        const bool pending = stack.CanRedo();
        EXPECT_EQ(stack.Redo().status,
                  pending ? UndoStatus::kChangedElsewhere : UndoStatus::kNothing)
            << sql;
        EXPECT_EQ(Store(), now) << sql;
        EXPECT_FALSE(stack.CanRedo());
    }
}

// A deleted item whose UID another program reused meanwhile is not brought back.
TEST_F(UndoTest, RefusesToBringBackAUidTheStoreNowHolds)
{
    const int32_t oid = Add(pim::kAppointmentKind, Appointment(L"Dentist", 9));
    std::optional<pim::StoredItem> stored;
    ASSERT_EQ(edits.ReadStored(pim::kAppointmentKind, oid, stored), EditStatus::kDone);
    const std::wstring uid = stored->fields.UID;
    ASSERT_FALSE(uid.empty());
    ASSERT_EQ(edits.Apply({ChangeKind::kDelete, {pim::kAppointmentKind, oid}}).status,
              EditStatus::kDone);
    { // another program imports an item of that UID
        PimSession other(paths.StorePath(), OccurrenceOnDay);
        ASSERT_GE(other.Connect(), 0);
        AppointItem item = other.CreateAppointment();
        item->SetSubject(L"Dentist (imported)");
        item->SetUID(uid);
        ASSERT_GE(item->Save(), 0);
    }
    const Snapshot before = Store();
    EXPECT_EQ(stack.Undo().status, UndoStatus::kChangedElsewhere);
    EXPECT_EQ(Store(), before);
    EXPECT_EQ(stack.NextUndo()->action, UndoAction::kAdd) << "the refused step left the stack";
}

// The expected store: whole-store snapshots with a cursor that changes, undos and redos move.
TEST_F(UndoTest, RandomChangesUndosAndRedosFollowTheHistory)
{
    std::mt19937 random(27);
    Add(pim::kAppointmentKind, Appointment(L"Series", 8, true));
    Add(pim::kTaskKind, Task(L"Weekly", true));
    std::vector<Snapshot> history{Store()};
    size_t cursor = 0;
    for (int step = 0; step < 400; ++step) {
        const int what = static_cast<int>(random() % 10);
        const int day = 8 + static_cast<int>(random() % 14);
        const std::wstring subject = L"S" + std::to_wstring(step);
        if (what < 2) {
            const bool undone = stack.Undo().status == UndoStatus::kDone;
            ASSERT_EQ(undone, cursor > 0) << step;
            cursor -= undone ? 1 : 0;
        } else if (what < 3) {
            const bool redone = stack.Redo().status == UndoStatus::kDone;
            ASSERT_EQ(redone, cursor + 1 < history.size()) << step;
            cursor += redone ? 1 : 0;
        } else {
            const Snapshot before = Store();
            const std::vector<pim::StoredItem> items = StoredItems(session);
            const pim::StoredItem& a = items[random() % items.size()]; // never empty: tasks stay
            const auto kind = static_cast<pim::ItemKind>(a.kind);
            const ItemRef item{kind, a.fields.Oid};
            if (what == 3) {
                Add(pim::kAppointmentKind, Appointment(subject, day, random() % 2 == 0));
            } else if (kind == pim::kTaskKind) {
                edits.Apply({ChangeKind::kCompleteTask, item});
            } else if (what == 4) {
                Save(item, Appointment(subject, day));
            } else if (what == 5 && a.pattern) {
                Save({kind, a.fields.Oid, At(day, 0)}, Appointment(subject, day));
            } else if (what == 6 && a.pattern) {
                edits.Apply(Change(ChangeKind::kDelete, {kind, a.fields.Oid, At(day, 0)}));
            } else if (what == 7) {
                edits.Apply(Change(ChangeKind::kCancelException, item, {}, -1));
            } else if (what == 8) {
                edits.Apply({ChangeKind::kDelete, item});
            }
            Snapshot after = Store();
            if (after == before) {
                continue; // nothing changed, so nothing was kept
            }
            history.resize(cursor + 1);
            history.push_back(std::move(after));
            ++cursor;
        }
        ASSERT_EQ(Store(), history[cursor]) << step;
    }
}

} // namespace
