// The appointment commands end to end over a real store, through scripted dialogs and boxes.
#include "editors/appointment_editing.h"

#include <QPlainTextEdit>
#include <tuple>

#include "editors/alarm_detail_dlg.h"
#include "editors/appoint_detail_dlg.h"
#include "editors/memo_edit_dlg.h"
#include "editors/recur_confirm_dlg.h"
#include "editors/recur_detail_dlg.h"
#include "model/date_time.h"
#include "model/undo_stack.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "res/string_table.h"
#include "tests/editors/editor_fixture.h"
#include "tests/support/document_changes.h"
#include "tests/support/store_items.h"

namespace {

class AppointmentEditingTest : public EditorFixture {
protected:
    // Daily at 09:00 for an hour from the 7th to the 13th.
    int32_t AddDaily()
    {
        return AddThrough(edits_, DailyValues(L"Standup", At(7, 9), At(7, 10), At(13)));
    }
    int32_t AddPlain()
    {
        Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
            Type(d, kAppointTitle, QStringLiteral("Lunch"));
            Click(d, 1);
        });
        EXPECT_EQ(editing_.Add(MakeSystemTime(2026, 12, 8)), Redraw::kInPlace);
        return std::stoi(doc_.ApptOid(1, 0));
    }
    void Answer(int button)
    {
        Queue<CRecurConfirmDlg>([button](CRecurConfirmDlg& d) { Click(d, button); });
    }
    int ExceptionCount(int32_t oid)
    {
        std::optional<pim::StoredItem> series;
        EXPECT_EQ(edits_.ReadStored(pim::kAppointmentKind, oid, series), EditStatus::kDone);
        return series ? static_cast<int>(series->exceptions.size()) : -1;
    }
    pim::ItemFields Fields(int32_t oid)
    {
        return edits_.Read({pim::kAppointmentKind, oid}).values.fields;
    }

    AppointmentEditing editing_{services_};
};

TEST_F(AppointmentEditingTest, NewAppointmentsStartAtTheNextFullHour)
{
    const struct {
        int hour, minute;
        DATE start, end;
    } cases[] = {{15, 30, At(9, 16), At(9, 17)},
                 {0, 0, At(9, 1), At(9, 2)},
                 {22, 0, At(9, 23), At(10, 0)},
                 {23, 45, At(9, 23), At(10, 0)}};
    for (const auto& c : cases) {
        const auto [start, end] = AppointmentEditing::NewAppointmentTimes(
            MakeSystemTime(2026, 12, 9, 8), MakeSystemTime(2026, 12, 7, c.hour, c.minute));
        EXPECT_NEAR(start, c.start, 1e-9) << c.hour;
        EXPECT_NEAR(end, c.end, 1e-9) << c.hour;
    }
}

TEST_F(AppointmentEditingTest, AddEditAndDeleteAPlainAppointment)
{
    const int32_t oid = AddPlain();
    EXPECT_EQ(settings_.GetLastEditResult(), LastEditResult::kSaved);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        EXPECT_EQ(Text(d, kAppointTitle), QStringLiteral("Lunch"));
        EXPECT_EQ(Text(d, kAppointStartTime), QStringLiteral("16:00"));
        Type(d, kAppointTitle, QStringLiteral("Long lunch"));
        Type(d, kAppointEndTime, QStringLiteral("18:00"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kInPlace);
    EXPECT_EQ(doc_.EndText(1, 0), L"18:00");
    // The Delete key's question cancelled keeps it; the editor's Delete after its question not.
    messages_.QueueAnswer(IDCANCEL);
    EXPECT_EQ(editing_.Delete(1, 0), Redraw::kNothing);
    EXPECT_EQ(LastMessage(), L"Delete Appointment \"Long lunch\". OK?");
    EXPECT_EQ(Fields(oid).Subject, L"Long lunch");
    messages_.QueueAnswer(IDOK);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) { Click(d, kAppointDelete); });
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kInPlace);
    EXPECT_EQ(LastMessage(), L"Delete Appointment. OK?");
    EXPECT_EQ(settings_.GetLastEditResult(), LastEditResult::kDeleted);
    EXPECT_EQ(edits_.Read({pim::kAppointmentKind, oid}).status, EditStatus::kNotFound);
    EXPECT_EQ(doc_.ApptCount(1), 0);
}

TEST_F(AppointmentEditingTest, AlarmMemoAndCategoryChoosersWriteIntoTheAppointment)
{
    const int32_t oid = AddPlain();
    Queue<CAppointDetailDlg>([this](CAppointDetailDlg& d) {
        Control<QComboBox>(d, kAppointAlarm)->setCurrentIndex(1);
        Queue<CAlarmDetailDlg>([](CAlarmDetailDlg& alarm) {
            Type(alarm, 1032, QStringLiteral("2"));
            Control<QComboBox>(alarm, 1024)->setCurrentIndex(1); // "Hour Before"
            Click(alarm, 1);
        });
        Click(d, kAppointAlarmDetail);
        Queue<CMemoEditDlg>([](CMemoEditDlg& memo) {
            Control<QPlainTextEdit>(memo, 1029)->setPlainText(QStringLiteral("Bring\nnotes"));
            Click(memo, 1);
        });
        Click(d, kAppointMemo);
        Type(d, kAppointCategory, QStringLiteral("Work"));
        Click(d, 1);
    });
    editing_.Edit(1, 0);
    const pim::ItemFields f = Fields(oid);
    EXPECT_EQ(std::tie(f.ReminderSet, f.ReminderMinutesBeforeStart, f.Body, f.Categories),
              std::tuple(true, 120, std::wstring(L"Bring\r\nnotes"), std::wstring(L"Work")));
}

TEST_F(AppointmentEditingTest, MovingTheStartKeepsTheDurationWhenAskedTo)
{
    const int32_t oid = AddPlain();
    settings_.SetStdtChg(1);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        Control<QDateEdit>(d, kAppointStartDate)->setDate(QDate(2026, 12, 10));
        // "All day" on and off again brings the times back.
        Control<QComboBox>(d, kAppointAllDay)->setCurrentIndex(1);
        Control<QComboBox>(d, kAppointAllDay)->setCurrentIndex(0);
        Click(d, 1);
    });
    editing_.Edit(1, 0);
    const pim::ItemFields moved = Fields(oid);
    EXPECT_EQ(std::tie(moved.Start, moved.End), std::tuple(At(10, 16), At(10, 17)));
}

// Typed times survive a "Recur" switch; a new series starts from them, not from the clock.
TEST_F(AppointmentEditingTest, RecurSwitchKeepsTypedTimesAndANewSeriesStartsFromThem)
{
    Queue<CAppointDetailDlg>([this](CAppointDetailDlg& d) {
        Type(d, kAppointTitle, QStringLiteral("Class"));
        Type(d, kAppointStartTime, QStringLiteral("11:00"));
        Type(d, kAppointEndTime, QStringLiteral("12:00"));
        auto* recur = Control<QComboBox>(d, kAppointRecur);
        recur->setCurrentIndex(1);
        recur->setCurrentIndex(0);
        EXPECT_EQ(Text(d, kAppointStartTime), QStringLiteral("11:00"));
        EXPECT_EQ(Text(d, kAppointEndTime), QStringLiteral("12:00"));
        recur->setCurrentIndex(1);
        Queue<CRecurDetailDlg>([](CRecurDetailDlg& r) {
            EXPECT_EQ(Text(r, kRecurStartTime), QStringLiteral("11:00"));
            EXPECT_EQ(Text(r, kRecurEndTime), QStringLiteral("12:00"));
            EXPECT_TRUE(Control<QAbstractButton>(r, 1066)->isChecked()); // Tuesday
            EXPECT_FALSE(Control<QAbstractButton>(r, 1065)->isChecked());
            Click(r, 1);
        });
        Click(d, kAppointRecurDetail);
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Add(MakeSystemTime(2026, 12, 8)), Redraw::kInPlace);
    const ItemValues stored =
        edits_.Read({pim::kAppointmentKind, std::stoi(doc_.ApptOid(1, 0))}).values;
    ASSERT_TRUE(stored.pattern.has_value());
    EXPECT_EQ(std::tie(stored.pattern->Duration, stored.pattern->DayOfWeekMask), std::tuple(60, 4));
    EXPECT_EQ(ClockText(stored.pattern->StartTime), L"11:00");
}

// Imported text no one could type (a tab, a form feed, 20 000 characters) is saved as it is.
TEST_F(AppointmentEditingTest, ImportedTextIsKeptAsItIs)
{
    ItemValues v = AppointmentValues(L"Tab\there" + std::wstring(20000, L'x'), At(8, 9), At(8, 10));
    v.fields.Body = L"page\fbreak";
    const int32_t oid = AddThrough(edits_, v);
    doc_.Reload();
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        Type(d, kAppointEndTime, QStringLiteral("11:00"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kInPlace);
    EXPECT_TRUE(messages_.shown().empty());
    const pim::ItemFields f = Fields(oid);
    EXPECT_EQ(std::tie(f.Subject, f.Body, f.End),
              std::tuple(v.fields.Subject, v.fields.Body, At(8, 11)));
}

TEST_F(AppointmentEditingTest, RecurringChangesAsExceptionsOrForAll)
{
    const int32_t oid = AddDaily();
    // Cancel in the question: no editor, nothing changes.
    Answer(2);
    EXPECT_EQ(editing_.Edit(3, 0), Redraw::kNothing);
    // "Excep" on the 10th: a new exception, the series' own controls locked.
    Answer(1096);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        for (int locked : {kAppointRecur, kAppointAlarm, kAppointAlarmDetail, kAppointSensitive,
                           kAppointRecurDetail}) {
            EXPECT_FALSE(Control<QWidget>(d, locked)->isEnabled()) << locked;
        }
        Type(d, kAppointTitle, QStringLiteral("Late standup"));
        Type(d, kAppointStartTime, QStringLiteral("16:00"));
        Type(d, kAppointEndTime, QStringLiteral("17:00"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(3, 0), Redraw::kInPlace);
    EXPECT_EQ(ExceptionCount(oid), 1);
    EXPECT_EQ(doc_.EntryState(3, 0), 3);
    EXPECT_EQ(doc_.ApptSubject(3, 1), L"Late standup");
    // "All": the series, its dates and times fixed by the pattern.
    Answer(1065);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        EXPECT_FALSE(Control<QWidget>(d, kAppointStartDate)->isEnabled());
        Type(d, kAppointTitle, QStringLiteral("Daily standup"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(4, 0), Redraw::kInPlace);
    EXPECT_EQ(Fields(oid).Subject, L"Daily standup");
    EXPECT_EQ(ExceptionCount(oid), 1);
    // "Excep" on the changed occurrence, then "Cancel Excep." restores it.
    Answer(1096);
    messages_.QueueAnswer(IDOK);
    Queue<CAppointDetailDlg>([](CAppointDetailDlg& d) {
        EXPECT_EQ(Control<QAbstractButton>(d, kAppointRecurDetail)->text(),
                  QStringLiteral("Cancel Excep."));
        Click(d, kAppointRecurDetail);
    });
    EXPECT_EQ(editing_.Edit(3, 1), Redraw::kInPlace);
    EXPECT_EQ(LastMessage(), L"Cancel Exception you see\nOK?");
    EXPECT_EQ(ExceptionCount(oid), 0);
}

TEST_F(AppointmentEditingTest, DeletedOccurrencesAreRecoveredAndExceptionsCleared)
{
    const int32_t oid = AddDaily();
    Answer(1096);
    messages_.QueueAnswer(IDOK);
    EXPECT_EQ(editing_.Delete(2, 0), Redraw::kInPlace);
    Answer(1096);
    messages_.QueueAnswer(IDOK);
    EXPECT_EQ(editing_.Delete(4, 0), Redraw::kInPlace);
    EXPECT_EQ(ExceptionCount(oid), 2);
    // The deleted 9th: the question, then its exception goes and the occurrence is back.
    Queue<CRecurConfirmDlg>([](CRecurConfirmDlg& d) {
        EXPECT_EQ(Control<QWidget>(d, 1131)->property("text").toString(),
                  QStringLiteral("(cancel exception)"));
        Click(d, 1096);
    });
    messages_.QueueAnswer(IDOK);
    EXPECT_EQ(editing_.Edit(2, 0), Redraw::kInPlace);
    EXPECT_EQ(LastMessage(), L"Recover Deleted Exception Appoint?");
    EXPECT_EQ(ExceptionCount(oid), 1);
    // "Clear all exception": asked once more; Cancel keeps the question open, OK clears.
    Queue<CRecurConfirmDlg>([this](CRecurConfirmDlg& d) {
        messages_.QueueAnswer(IDCANCEL);
        Click(d, 1066);
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(LastMessage(), L"Clear all exception appointment\nOk?");
        messages_.QueueAnswer(IDOK);
        Click(d, 1066);
    });
    EXPECT_EQ(editing_.Edit(5, 0), Redraw::kInPlace);
    EXPECT_EQ(settings_.GetLastEditResult(), LastEditResult::kClearAllExceptions);
    EXPECT_EQ(ExceptionCount(oid), 0);
}

// Refused input, or a store held by another writer at OK: the message, the dialog keeps the
// typing (the focus on a refused field), and OK again saves.
TEST_F(AppointmentEditingTest, RefusalsAndStoreFailuresKeepWhatWasTyped)
{
    const int32_t oid = AddPlain();
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        Type(d, kAppointEndTime, QStringLiteral("15:00"));
        Click(d, 1);
        EXPECT_EQ(d.result(), QDialog::Rejected) << "stays open";
        EXPECT_EQ(LastMessage(), L"Please set start date before End date.");
        EXPECT_TRUE(FocusIsOn(d, kAppointEndDate));
        EXPECT_EQ(Text(d, kAppointEndTime), QStringLiteral("15:00")) << "the typed text stays";
        Type(d, kAppointEndTime, QStringLiteral("17:00"));
        Type(d, kAppointTitle, QStringLiteral("Typed"));
        Elsewhere("BEGIN IMMEDIATE");
        Click(d, 1);
        Elsewhere("ROLLBACK");
        EXPECT_NE(LastMessage().find(L" is in use by another program"), std::wstring::npos);
        EXPECT_EQ(Text(d, kAppointTitle), QStringLiteral("Typed"));
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kInPlace);
    EXPECT_EQ(Fields(oid).Subject, L"Typed");
    // A holiday row or an entry the store no longer has.
    Elsewhere("DELETE FROM items");
    doc_.Reload();
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kNothing);
    EXPECT_EQ(LastMessage(), L"Fail at get data.");
}

// Another program's change under the editor: Cancel merges and asks at each OK; OK overwrites.
TEST_F(AppointmentEditingTest, AnotherProgramsChangeIsNeverLost)
{
    const int32_t oid = AddPlain();
    for (int answer : {IDCANCEL, IDCANCEL, IDOK}) {
        messages_.QueueAnswer(answer);
    }
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        Type(d, kAppointTitle, QStringLiteral("Mine"));
        Elsewhere("UPDATE items SET subject = 'Theirs', categories = 'Far'");
        Click(d, 1);
        EXPECT_EQ(messages_.shown().back().buttons,
                  (std::vector<std::wstring>{L"Save Mine Over It", L"Merge and Edit Again"}));
        EXPECT_EQ(LastMessage().substr(0, 60),
                  L"\"Theirs\" was changed by another program while you edited it.");
    });
    for (int round = 0; round < 2; ++round) {
        Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
            EXPECT_EQ(Text(d, kAppointTitle), QStringLiteral("Mine"));
            Click(d, 1);
        });
    }
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kReloaded);
    EXPECT_EQ(messages_.shown().size(), 3U);
    EXPECT_EQ(Fields(oid).Subject + L"/" + Fields(oid).Categories, L"Mine/Far");
    // A merge that writes over none of their changes saves at the next OK unasked.
    messages_.QueueAnswer(IDCANCEL);
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        Type(d, kAppointTitle, QStringLiteral("Mine again"));
        Elsewhere("UPDATE items SET categories = 'Near'");
        Click(d, 1);
    });
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) { Click(d, 1); });
    editing_.Edit(1, 0);
    EXPECT_EQ(messages_.shown().size(), 4U);
    EXPECT_EQ(Fields(oid).Subject + L"/" + Fields(oid).Categories, L"Mine again/Near");
}

} // namespace

// The "Calendar" field offers writable appointment calendars; a move at OK is one undo step.
TEST_F(AppointmentEditingTest, TheCalendarFieldPlacesAndMovesTheItemInOneUndoStep)
{
    int32_t work = 0;
    {
        pim::StoreDatabase db;
        ASSERT_EQ(db.Open(paths_.StorePath()), 0);
        for (auto [name, events] : {std::tuple{L"Work", true}, std::tuple{L"Chores", false}}) {
            pim::Calendar c{.name = name, .events = events};
            ASSERT_EQ(pim::CalendarList(db).Save(c), 0);
            work = work == 0 ? c.id : work;
        }
    }
    UndoStack undo(edits_);
    const auto calendarOf = [&](int32_t oid) {
        return edits_.Read({pim::kAppointmentKind, oid}).values.calendar;
    };
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        auto* combo = Control<QComboBox>(d, kCalendarControl);
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(1) + ':' + combo->currentText(), "Work:Personal");
        Type(d, kAppointTitle, QStringLiteral("Review"));
        combo->setCurrentIndex(1);
        Click(d, 1);
    });
    editing_.Add(MakeSystemTime(2026, 12, 8));
    const int32_t oid = std::stoi(doc_.ApptOid(1, 0));
    EXPECT_EQ(calendarOf(oid), work);
    Queue<CAppointDetailDlg>([&](CAppointDetailDlg& d) {
        Control<QComboBox>(d, kCalendarControl)->setCurrentIndex(0);
        Click(d, 1);
    });
    EXPECT_EQ(editing_.Edit(1, 0), Redraw::kInPlace);
    EXPECT_EQ(calendarOf(oid), 1);
    EXPECT_EQ(undo.Undo().status, UndoStatus::kDone);
    EXPECT_EQ(calendarOf(oid), work);
    EXPECT_EQ(undo.NextUndo()->action, UndoAction::kAdd) << "the move was one step";
}
