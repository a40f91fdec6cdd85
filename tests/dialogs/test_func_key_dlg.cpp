// The function key dialog: stored key codes shown and written back, clashes refused.
#include "dialog_test_support.h"
#include "dialogs/func_key_dlg.h"

namespace {

class FuncKeyDlgTest : public DialogTest {};

TEST_F(FuncKeyDlgTest, AssignmentsAreStoredAsKeyCodes)
{
    settings.SetKeyToMain(99); // no digit: shown as "----", stored back as 0
    dialogs.Queue(AcceptAfter([](QDialog& dialog) {
        EXPECT_EQ(Selected(dialog, 1102), 6);
        EXPECT_EQ(Selected(dialog, 1106), 5);
        EXPECT_EQ(Selected(dialog, 1103), 0);
        EXPECT_EQ(Control<QComboBox>(dialog, 1104)->itemText(10), QStringLiteral("9 Button"));
        Select(dialog, 1102, 10);
        Select(dialog, 1105, 0);
        Select(dialog, 1104, 0);
    }));
    EXPECT_TRUE(RunFuncKeyDialog(context));
    AppSettings expected;
    expected.SetKeyToToday('9');
    expected.SetKeyToMain(0);
    expected.SetKeyToDetail(0);
    expected.SetKeyToTool(0);
    ExpectSameSettings(settings, expected);
}

TEST_F(FuncKeyDlgTest, TheSameButtonTwiceIsRefused)
{
    CFuncKeyDlg dialog(settings, messages);
    Select(dialog, 1102, 4);
    Select(dialog, 1105, 4);
    EXPECT_FALSE(PressOk(dialog));
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"There are same setting"});
    ExpectSameSettings(settings, AppSettings());
}

}  // namespace
