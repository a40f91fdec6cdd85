// The editing keys on the real view over a real store: moves, lengths, the selected hour, and
// the menu keys.
#include <gtest/gtest.h>

#include "document_harness.h"
#include "res/command_ids.h"
#include "view/keyboard_editing.h"

namespace {
void Key(DocumentHarness& h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&h.view, key, modifiers);
}
} // namespace

TEST(KeyboardEditing, KeysAndWhatTheyEdit)
{
    using keyedit::KeyEdit;
    using Kind = KeyEdit::Kind;
    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    // clang-format off
    struct Case { int key; Qt::KeyboardModifiers modifiers; bool grid; KeyEdit edit; };
    const Case cases[] = {
        {Qt::Key_Left, alt | Qt::KeypadModifier, false, {Kind::kMove, -30, 0}},
        {Qt::Key_Down, alt, false, {Kind::kMove, 0, 1}}, {Qt::Key_Up, alt, true, {Kind::kMove, 0, -7}},
        {Qt::Key_Right, alt, true, {Kind::kMove, 0, 1}},
        {Qt::Key_Right, alt | shift, false, {Kind::kResize, 30, 0}},
        {Qt::Key_Right, shift, false, {Kind::kHour, 0, 0, 1}},
        {Qt::Key_Right, shift, true, {}}, // the grid's plain Right
        {Qt::Key_F10, shift, false, {Kind::kContextMenu}}, {Qt::Key_Menu, {}, true, {Kind::kContextMenu}},
        {Qt::Key_F10, {}, false, {}}, {Qt::Key_N, Qt::ControlModifier, false, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(keyedit::KeyEditOf(c.key, c.modifiers, c.grid, true), c.edit) << c.key;
    }
}

TEST(KeyboardEditing, AltArrowsMoveAndResizeThroughTheChangePath)
{
    DocumentHarness h;
    const int32_t oid = h.AddAppointment(9, 10);
    h.Click(h.Point(2, 615));
    Key(h, Qt::Key_Right, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).End, At(9, 11, 30), 1e-6);
    // The selection (and the key focus) stays with the item, so the keys go on moving it.
    Key(h, Qt::Key_Left, Qt::AltModifier);
    Key(h, Qt::Key_Down, Qt::AltModifier);
    Key(h, Qt::Key_Down, Qt::AltModifier);
    EXPECT_NEAR(h.Stored(oid).Start, At(11, 10), 1e-6);
    EXPECT_EQ(h.view.SelectedRow(), 4);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kBody);
    Key(h, Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier); // the end only
    EXPECT_NEAR(h.Stored(oid).Start, At(11, 10), 1e-6);
    EXPECT_NEAR(h.Stored(oid).End, At(11, 11, 30), 1e-6);
}

TEST(KeyboardEditing, MenuKeysAndTheSelectedHour)
{
    DocumentHarness h;
    std::vector<QPoint> menus;
    h.view.Editing().SetMenuRunner([&](const QPoint& global) {
        menus.push_back(h.view.mapFromGlobal(global));
        return h.menuChoice;
    });
    h.AddAppointment(9, 10, L"Review");
    h.Run(h.Point(2, 630), cmd::ID_COPY);
    Key(h, Qt::Key_F10, Qt::ShiftModifier);
    Key(h, Qt::Key_Menu);
    EXPECT_EQ(menus, (std::vector<QPoint>(2, {h.Point(2, 600).x(), h.Point(2).y()})))
        << "just inside the bar's start";
    // A click on empty time selects its hour; Shift+Right steps it, drawn; the paste lands there.
    h.Click(h.Point(3, 14 * 60 + 20));
    EXPECT_EQ(h.view.SelectedHour(), 14);
    Key(h, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(h.view.SelectedHour(), 15);
    const QImage shown = h.view.grab().toImage();
    EXPECT_NE(shown.pixel(h.Point(3, 15 * 60 + 30)), shown.pixel(h.Point(3, 17 * 60 + 30)));
    EXPECT_EQ(shown.pixel(h.Point(4, 15 * 60 + 30)), shown.pixel(h.Point(4, 17 * 60 + 30)));
    h.menuChoice = cmd::ID_CONTEXT_PASTE;
    Key(h, Qt::Key_Menu);
    ASSERT_EQ(h.doc.ApptCount(3), 1);
    EXPECT_EQ(h.doc.StartText(3, 0), L"15:00");
}
