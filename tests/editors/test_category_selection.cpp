// The category selection: opening a text against the edit list, moving names, the dialog over it.
#include <QListWidget>
#include <QPushButton>

#include "editors/category_sel_dlg.h"
#include "editors/category_selection.h"
#include "platform/dialog_runner.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"

using Names = std::vector<std::wstring>;

TEST(CategorySelection, OpeningOffersTheRestOfTheEditListAndUnchangedTextComesBack)
{
    const Names editList = {L"Work", L"Home", L"Holiday", L"Work"};
    const struct {
        std::wstring text;
        Names chosen;
        Names available;
    } cases[] = {
        {L"", {}, editList},
        {L"Work, Home", {L"Work", L"Home"}, {L"Holiday"}},
        {L"Travel", {L"Travel"}, editList}, // not in the edit list, still chosen
        {L"  Home,Gym", {L"Home", L"Gym"}, {L"Work", L"Holiday", L"Work"}},
        {L"Work,,Home", {L"Work", L"Home"}, {L"Holiday"}}, // an empty name is skipped
        {L",Gym,", {L"Gym"}, editList},
        {L"Home, ,Gym", {L"Home", L"Gym"}, {L"Work", L"Holiday", L"Work"}},
        {L"Home ", {L"Home "}, editList}, // names compare exactly
        {L"Meeting\\, John,Work", {L"Meeting, John", L"Work"}, {L"Home", L"Holiday"}},
    };
    for (const auto& c : cases) {
        const CategorySelection selection(c.text, editList);
        EXPECT_EQ(selection.Chosen(), c.chosen) << c.text;
        EXPECT_EQ(selection.Available(), c.available) << c.text;
    }
    // A name's own comma is joined escaped, so the text opens as the same names again.
    EXPECT_EQ(CategorySelection(L"Meeting\\, John,Work", {}).Text(), L"Meeting\\, John, Work");
    EXPECT_EQ(CategorySelection(L"Work, Home", {L"Home", L"Gym"}).Text(), L"Work, Home");
    EXPECT_EQ(CategorySelection(L"Work,Home", {}).Text(), L"Work, Home");
    std::wstring text;
    for (int i = 0; i < 150; ++i) {
        text += L"c" + std::to_wstring(i) + L",";
    }
    const CategorySelection selection(text, {});
    ASSERT_EQ(selection.Chosen().size(), 101U);
    EXPECT_EQ(selection.Chosen().back(), L"c100");
}

TEST(CategorySelection, MovesInsertAtTheTargetRowOrAppend)
{
    CategorySelection selection(L"A, B", {L"X", L"Y", L"Z"});
    EXPECT_FALSE(selection.Add(-1, 0)); // nothing selected: nothing happens
    EXPECT_FALSE(selection.Add(3, 0));
    EXPECT_TRUE(selection.Add(1, -1)); // Y appended
    EXPECT_TRUE(selection.Add(0, 1));  // X before B
    EXPECT_EQ(selection.Chosen(), (Names{L"A", L"X", L"B", L"Y"}));
    EXPECT_TRUE(selection.Remove(0, 0));  // A before Z
    EXPECT_TRUE(selection.Remove(2, 99)); // Y appended
    EXPECT_EQ(selection.Available(), (Names{L"A", L"Z", L"Y"}));
    EXPECT_EQ(selection.Text(), L"X, B");
    EXPECT_TRUE(selection.Remove(0, -1));
    EXPECT_TRUE(selection.Remove(0, -1));
    EXPECT_FALSE(selection.Remove(0, -1));
    EXPECT_EQ(selection.Text(), L"");
}

// The chooser over the runner: OK joins the moved name on, Cancel leaves the text alone.
TEST(CCategorySelDlg, OkReturnsTheJoinedTextAndCancelLeavesItAlone)
{
    AppSettings settings;
    for (const wchar_t* name : {L"Work", L"Home", L"Gym"}) {
        settings.AppendListItem(SettingsList::CategoryInfo, name);
    }
    ScriptedDialogRunner runner;
    runner.Queue([](QDialog& dialog) {
        Control<QListWidget>(dialog, 1177)->setCurrentRow(1);
        Control<QPushButton>(dialog, 1067)->click();
        return DialogAccepted;
    });
    runner.Queue([](QDialog&) { return DialogRejected; });
    std::wstring text = L"Work, Travel";
    EXPECT_TRUE(CCategorySelDlg::Choose(runner, settings, text));
    EXPECT_EQ(text, L"Work, Travel, Gym");
    EXPECT_FALSE(CCategorySelDlg::Choose(runner, settings, text));
    EXPECT_EQ(text, L"Work, Travel, Gym");
}
