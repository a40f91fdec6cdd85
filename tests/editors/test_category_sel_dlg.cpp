// The category selection dialog: its lists, the Add button and the result through the runner.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "editors/category_sel_dlg.h"
#include "platform/dialog_runner.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"

namespace {

QStringList Texts(const QDialog& dialog, int id)
{
    QStringList texts;
    auto* list = Control<QListWidget>(dialog, id);
    for (int i = 0; list && i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

}  // namespace

TEST(CCategorySelDlg, AddMovesTheSelectedNameAndOkReturnsTheJoinedText)
{
    AppSettings settings;
    for (const wchar_t* name : {L"Work", L"Home", L"Gym"})
        settings.AppendListItem(SettingsList::CategoryInfo, name);
    ScriptedDialogRunner runner;
    runner.Queue([](QDialog& dialog) {
        EXPECT_EQ(Texts(dialog, 1166), QStringList({"Work", "Travel"}));
        EXPECT_EQ(Texts(dialog, 1177), QStringList({"Home", "Gym"}));
        auto* add = Control<QPushButton>(dialog, 1067);
        Control<QListWidget>(dialog, 1177)->setCurrentRow(1);
        add->click();
        Control<QListWidget>(dialog, 1177)->setCurrentRow(0);
        add->click();
        EXPECT_EQ(Texts(dialog, 1177), QStringList());
        return DialogAccepted;
    });
    runner.Queue([](QDialog&) { return DialogRejected; });

    std::wstring text = L"Work, Travel";
    EXPECT_TRUE(CCategorySelDlg::Choose(runner, settings, text));
    EXPECT_EQ(text, L"Work, Travel, Gym, Home");
    EXPECT_FALSE(CCategorySelDlg::Choose(runner, settings, text));
    EXPECT_EQ(text, L"Work, Travel, Gym, Home") << "Cancel leaves the text alone";
}
