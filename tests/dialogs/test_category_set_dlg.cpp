// The category dialog shows the four settings, "..." composes the target and OK stores them.
#include <QListWidget>

#include "dialog_test_support.h"
#include "dialogs/category_set_dlg.h"

namespace {
class CategorySetDlgTest : public DialogTest {
protected:
    CategorySetDlgTest()
    {
        for (const wchar_t* name : {L"Rest", L"Memorial", L"Work"}) {
            settings.AppendListItem(SettingsList::CategoryInfo, name);
        }
        settings.SetHolidayCategory(L"Rest");
        settings.SetMemorialCategory(L"Memorial");
        settings.SetCategoryCtrType(2);
        settings.SetCategoryCtrTarget(L"Work");
    }
};
} // namespace

TEST_F(CategorySetDlgTest, ShowsTheSettingsAndOkStoresThemWithTheComposedTarget)
{
    dialogs.Queue(AcceptAfter([](QDialog& dialog) {
        Apply(dialog, {Is(1102, "Rest"), Is(1104, "Memorial"), Is(1024, "Hide Target"),
                       Set(1102, "Off day"), Set(1024, 1), Press(1181), Is(1180, "Work, Rest")});
    }));
    dialogs.Queue([](QDialog& selection) { // the "..." chooser: adds the first offered name
        Control<QListWidget>(selection, 1177)->setCurrentRow(0);
        Click(selection, 1067);
        return DialogAccepted;
    });
    EXPECT_TRUE(CCategorySetDlg::Run(settings, dialogs, messages));
    EXPECT_EQ(Changed(settings), "Type=1 HolidayCategory=Off day MemorialCategory=Memorial "
                                 "Target=Work, Rest CategoryInfo=Rest|Memorial|Work|");
}
