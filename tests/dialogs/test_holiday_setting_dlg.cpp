// The holiday dialog: row texts, the list buttons, a refusal with its focus, the rules on OK.
#include <QTreeWidget>

#include "dialog_test_support.h"
#include "dialogs/holiday_setting_dlg.h"

namespace {
class HolidaySettingDlgTest : public DialogTest {
protected:
    void SetRules(const std::vector<std::wstring>& rules)
    {
        for (const std::wstring& rule : rules) {
            settings.AppendListItem(SettingsList::HolidayInfo, rule);
        }
    }
    static std::vector<QString> Rows(const QDialog& dialog)
    {
        std::vector<QString> rows;
        const auto* list = Control<QTreeWidget>(dialog, 1122);
        rows.reserve(list->topLevelItemCount());
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            rows.push_back(list->topLevelItem(i)->text(0));
        }
        return rows;
    }
    static void SelectRow(const QDialog& dialog, int row)
    {
        auto* list = Control<QTreeWidget>(dialog, 1122);
        list->setCurrentItem(list->topLevelItem(row));
    }
    static int SelectedRow(const QDialog& dialog)
    {
        const auto* list = Control<QTreeWidget>(dialog, 1122);
        const auto selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
    }
};

TEST(HolidayMonthDayText, RowTexts)
{
    const std::vector<std::pair<HolidayRule, std::wstring>> cases = {
        {{L"", 5, 1, 15, 0}, L"January 15"},
        {{L"", 6, 5, 5, 2}, L"May Last Monday"},
        {{L"", 6, 12, 1, 64}, L"December 1st Saturday"},
        // Imported fields out of range show as they stand, never as some other text.
        {{L"", 5, 0, 7, 0}, L"0 7"},
    };
    for (const auto& [rule, text] : cases) {
        EXPECT_EQ(HolidayMonthDayText(rule), text);
    }
}

TEST_F(HolidaySettingDlgTest, AnInsertedRuleIsStoredInItsPlace)
{
    SetRules({L"Harbour Day,5,11,03,00", L"Lantern Day,6,01,02,02"});
    dialogs.Queue(AcceptAfter([this](QDialog& dialog) {
        EXPECT_EQ(Rows(dialog), (std::vector<QString>{"Harbour Day", "Lantern Day"}));
        EXPECT_EQ(Control<QLineEdit>(dialog, 1030)->text(), QStringLiteral("Harbour Day"));
        SelectRow(dialog, 1);
        Apply(dialog, {Is(1102, 1), Set(1030, "Spring Fair"), Set(1024, 4), Set(1121, 4),
                       Set(1064, 1), Press(1068)});
        EXPECT_EQ(SelectedRow(dialog), 1);
    }));
    EXPECT_TRUE(RunHolidaySettingDialog(context));
    // The list's round trip through the profile is the settings tests'.
    EXPECT_EQ(Changed(settings), "HolidayInfo=Harbour Day,5,11,03,00|Spring Fair,6,05,05,02|"
                                 "Lantern Day,6,01,02,02|");
}

// The first rule is selected on opening, so Upd and Del act at once.
TEST_F(HolidaySettingDlgTest, OpensWithTheFirstRuleSelected)
{
    SetRules({L"A,5,01,01,00", L"B,5,02,03,00"});
    CHolidaySettingDlg dialog(settings, messages);
    EXPECT_EQ(SelectedRow(dialog), 0);
    Apply(dialog, {Set(1030, "Z"), Press(1065)});
    EXPECT_EQ(Rows(dialog), (std::vector<QString>{"Z", "B"}));
    Click(dialog, 1066);
    EXPECT_EQ(Rows(dialog), (std::vector<QString>{"B"}));
    EXPECT_EQ(SelectedRow(dialog), 0);
}

TEST_F(HolidaySettingDlgTest, RefusedRuleChangesNothingAndFocusesTheField)
{
    CHolidaySettingDlg dialog(settings, messages);
    dialog.show();
    Apply(dialog, {Set(1030, "Leap"), Set(1024, 1), Set(1104, 29), Press(1067)}); // 30 February
    EXPECT_TRUE(Rows(dialog).empty());
    EXPECT_TRUE(FocusIsOn(dialog, 1104));
    EXPECT_EQ(Warnings(), std::vector<std::wstring>{L"Wrong Day"});
}
} // namespace
