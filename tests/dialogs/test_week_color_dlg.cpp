// The week-and-colour dialog: Cancel writes nothing even after a picked colour and "Initialize".
#include "dialog_test_support.h"
#include "dialogs/week_color_dlg.h"

namespace {
class WeekColorDlgTest : public DialogTest {};

TEST_F(WeekColorDlgTest, CancelKeepsEverythingAfterPickingAndInitializing)
{
    settings.SetColorSunday(0x123456);
    settings.SetStartDow(2);
    const AppSettings before = settings;
    dialogs.Queue([](QDialog& week) {
        Apply(week, {Press(1176), Press(1065), Is(1164, 7)}); // Sunday's picker, "Initialize"
        EXPECT_EQ(static_cast<CWeekColorDlg&>(week).WorkingColor(0), 0xFFC8FFU);
        return static_cast<int>(DialogRejected);
    });
    dialogs.Queue(AcceptAfter([](QDialog& p) { Apply(p, {Set(1149, 9), Set(1153, 9)}); }));
    EXPECT_FALSE(RunWeekColorDialog(context));
    EXPECT_TRUE(dialogs.Exhausted());
    EXPECT_EQ(Changed(settings), Changed(before));
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, L"Initialize color setting. OK?");
    EXPECT_EQ(messages.shown()[0].caption, L"Confirm");
    EXPECT_EQ(messages.shown()[0].flags, MB_OKCANCEL | MB_ICONINFORMATION);
}
} // namespace
