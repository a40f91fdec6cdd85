// The editing keys on the real view over a real store: Alt+arrows move the selected item through
// the drag's change path and undo, Alt+Shift+arrows change its length, Shift+arrows the selected
// hour, the menu keys open the context menu; the keys the tables already use keep their meaning.
// "Today" is Monday 7 December 2026, the first shown day (row 0).
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "document_harness.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/command_ids.h"
#include "view/keyboard_editing.h"
#include "view/selected_hour.h"

namespace {

using Harness = DocumentHarness;
using keyedit::KeyEdit;

void Key(Harness& h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&h.view, key, modifiers);
}

} // namespace

TEST(KeyboardEditing, KeysAndWhatTheyEdit)
{
    using Kind = KeyEdit::Kind;
    const Qt::KeyboardModifiers alt = Qt::AltModifier, shift = Qt::ShiftModifier;
    // clang-format off
    struct Case { int key; Qt::KeyboardModifiers modifiers; bool grid; KeyEdit edit; };
    const Case cases[] = {
        {Qt::Key_Right, alt, false, {Kind::kMove, 30, 0}},
        {Qt::Key_Left, alt | Qt::KeypadModifier, false, {Kind::kMove, -30, 0}},
        {Qt::Key_Down, alt, false, {Kind::kMove, 0, 1}},
        {Qt::Key_Up, alt, true, {Kind::kMove, 0, -7}},
        {Qt::Key_Right, alt, true, {Kind::kMove, 0, 1}},
        {Qt::Key_Right, alt | shift, false, {Kind::kResize, 30, 0}},
        {Qt::Key_Left, alt | shift, true, {Kind::kResize, -30, 0}},
        {Qt::Key_Right, shift, false, {Kind::kHour, 0, 0, 1}},
        {Qt::Key_Right, shift, true, {}},  // the grid's plain Right
        {Qt::Key_F10, shift, false, {Kind::kContextMenu}},
        {Qt::Key_Menu, {}, true, {Kind::kContextMenu}},
        {Qt::Key_F10, {}, false, {}}, {Qt::Key_Right, {}, false, {}},
        {Qt::Key_N, Qt::ControlModifier, false, {}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(keyedit::KeyEditOf(c.key, c.modifiers, c.grid, true), c.edit) << c.key;
    EXPECT_EQ(keyedit::KeyEditOf(Qt::Key_Right, shift, false, false), KeyEdit{})
        << "the hour keys belong to the body";

    ViewLayout l;
    l.firstHour = 8;
    l.lastHour = 20;
    l.hourCount = 12;
    EXPECT_EQ(SteppedHour(std::nullopt, 1, 10, l), 10) << "the first step shows the hour";
    EXPECT_EQ(SteppedHour(std::nullopt, 1, 22, l), 8);
    EXPECT_EQ(SteppedHour(23, 1, 10, l), 23);
    EXPECT_EQ(FirstHourShowing(21, 8, 12), 10);
    EXPECT_EQ(FirstHourShowing(5, 8, 12), 5);
    EXPECT_EQ(FirstHourShowing(12, 8, 12), 8);
}

TEST(KeyboardEditing, AltArrowsMoveAndResizeThroughTheChangePathAndUndo)
{
    Harness h;
    UndoStack undo(h.edits);
    h.view.Editing().SetServices({&h.edits, &h.messages, {}, {}, &undo});
    const int32_t oid = h.AddAppointment(9, 10);
    h.Click(h.Point(2, 615));
    Key(h, Qt::Key_Right, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 10, 30), 1e-6);
    EXPECT_NEAR(h.Stored(oid).End, At(9, 11, 30), 1e-6);
    EXPECT_EQ(undo.NextUndo()->action, UndoAction::kMove);
    EXPECT_EQ(undo.Undo().status, UndoStatus::kDone);
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 10), 1e-6);
    h.view.ItemsChanged();

    // The selection follows the item, so the keys go on moving it; the key focus stays.
    h.Click(h.Point(2, 615));
    Key(h, Qt::Key_Down, Qt::AltModifier);
    Key(h, Qt::Key_Down, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(11, 10), 1e-6);
    EXPECT_EQ(h.view.SelectedRow(), 4);
    EXPECT_EQ(TextToInt(h.view.Selection().oid), oid);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kBody);
    Key(h, Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(11, 10), 1e-6);
    EXPECT_NEAR(h.Stored(oid).End, At(11, 11, 30), 1e-6);
    EXPECT_EQ(undo.NextUndo()->action, UndoAction::kResize);
    for (int i = 0; i < 4; ++i) // never shorter than half an hour
        Key(h, Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_NEAR(h.Stored(oid).End, At(11, 10, 30), 1e-6);

    // An occurrence moved twice is one exception; a task moves by days.
    ItemValues daily;
    daily.fields.Subject = L"Standup";
    daily.fields.Start = At(7, 9);
    daily.fields.End = At(7, 9, 30);
    pim::RecurrenceFields p = pim::RecurrencePattern::WeeklyFrom(At(7, 9), 30);
    p.RecurrenceType = kRecursDaily;
    p.DayOfWeekMask = 0;
    daily.pattern = p;
    const int32_t series = h.Add(daily);
    h.Click(h.Point(1, 9 * 60 + 10));
    Key(h, Qt::Key_Down, Qt::AltModifier);
    Key(h, Qt::Key_Right, Qt::AltModifier);
    const ReadResult moved = h.edits.ReadException(series, 1);
    EXPECT_NEAR(moved.item.occurrenceDay, At(8), 1e-6);
    EXPECT_NEAR(moved.values.fields.Start, At(9, 9, 30), 1e-6);
    EXPECT_EQ(h.edits.ReadException(series, 2).item.occurrenceDay, 0.0) << "one exception only";
    ItemValues task;
    task.fields.Subject = L"Report";
    task.fields.StartDate = task.fields.DueDate = At(8);
    const int32_t report = h.Add(task, pim::kTaskKind);
    h.Click(h.Point(1));
    Key(h, Qt::Key_Right, Qt::AltModifier); // a task has no times
    Key(h, Qt::Key_Down, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(report, pim::kTaskKind).DueDate, At(9), 1e-6);
    EXPECT_TRUE(h.messages.shown().empty());
}

// Someone else's meeting asks first, as a drag does; Cancel leaves it where it was.
TEST(KeyboardEditing, MeetingsAskBeforeTheKeysMoveThem)
{
    Harness h;
    h.view.Editing().SetServices({&h.edits, &h.messages, {}, {}, nullptr,
                                  [&h](const std::string&) {
                                      return h.messages.MessageBox(L"copy only", L"Confirm",
                                                                   MB_OKCANCEL) == IDOK;
                                  }});
    ItemValues meeting;
    meeting.fields.Subject = L"Budget";
    meeting.fields.Start = At(9, 10);
    meeting.fields.End = At(9, 11);
    meeting.fields.Kept = "BEGIN:VEVENT\r\nUID:budget\r\nORGANIZER:mailto:ann@example.com\r\n"
                          "END:VEVENT\r\n";
    const int32_t oid = h.Add(meeting);
    h.Click(h.Point(2, 615));
    h.messages.QueueAnswer(IDCANCEL);
    Key(h, Qt::Key_Right, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 10), 1e-6);
    h.messages.QueueAnswer(IDOK);
    Key(h, Qt::Key_Right, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 10, 30), 1e-6);
    EXPECT_EQ(h.messages.shown().size(), 2u);
}

TEST(KeyboardEditing, MenuKeysSelectedHourAndTheKeysTheTablesUse)
{
    Harness h;
    std::vector<QPoint> menus;
    h.view.Editing().SetMenuRunner([&](const QPoint& global) {
        menus.push_back(h.view.mapFromGlobal(global));
        return h.menuChoice;
    });
    h.AddAppointment(9, 10, L"Review");
    h.Click(h.Point(2, 630));
    Key(h, Qt::Key_F10, Qt::ShiftModifier);
    Key(h, Qt::Key_Menu);
    ASSERT_EQ(menus.size(), 2u);
    EXPECT_EQ(menus[0], menus[1]);
    EXPECT_EQ(menus[0].x(), h.Point(2, 600).x()) << "just inside the bar's start";

    // A click on empty time selects its hour; Shift+Right steps it, drawn in the day's row.
    h.Click(h.Point(3, 14 * 60 + 20));
    EXPECT_EQ(h.view.SelectedHour(), 14);
    Key(h, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(h.view.SelectedHour(), 15);
    const QImage shown = h.view.grab().toImage();
    EXPECT_NE(shown.pixel(h.Point(3, 15 * 60 + 30)), shown.pixel(h.Point(3, 17 * 60 + 30)));
    EXPECT_EQ(shown.pixel(h.Point(4, 15 * 60 + 30)), shown.pixel(h.Point(4, 17 * 60 + 30)));
    // Copied, the item pastes from the menu at the selected hour.
    h.Run(h.Point(2, 630), cmd::ID_COPY);
    h.Click(h.Point(3, 15 * 60 + 10));
    h.menuChoice = cmd::ID_CONTEXT_PASTE;
    Key(h, Qt::Key_Menu);
    ASSERT_EQ(h.doc.ApptCount(3), 1);
    EXPECT_EQ(h.doc.StartText(3, 0), L"15:00");

    // Plain Left still moves the hour window and leaves the item; digit 5 still selects today.
    h.Click(h.Point(2, 630));
    const int firstHour = h.view.Layout().firstHour;
    Key(h, Qt::Key_Left);
    h.view.LayOut(h.view.size());
    EXPECT_LT(h.view.Layout().firstHour, firstHour);
    EXPECT_EQ(h.doc.StartText(2, 0), L"10:00");
    Key(h, Qt::Key_5);
    EXPECT_EQ(h.view.SelectedRow(), 0);
    EXPECT_TRUE(h.messages.shown().empty());
}
