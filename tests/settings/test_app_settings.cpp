// The settings block: the list accessors, what loading the defaults resets and the boolean
// flags; editing a list as lines.
#include <climits>

#include "model/text_list.h"
#include "settings/app_settings_document.h"
#include "settings/edit_lists.h"
#include "tests/settings/settings_files.h"

namespace {
TEST(AppSettings, ListsShowOnlyCountedElements)
{
    AppSettings s;
    s.SetList(SettingsList::PlaceInfo, Elements({L"Office", L"", L"Home"}), 2);
    EXPECT_EQ(s.GetListItem(SettingsList::PlaceInfo, 0), L"Office");
    EXPECT_EQ(s.GetListItem(SettingsList::PlaceInfo, 2), L""); // beyond the count
    s.AppendListItem(SettingsList::HolidayInfo, L"Harbour Day,5,11,03,00");
    s.SetList(SettingsList::PlaceInfo, L"", -3);
    EXPECT_EQ(s.GetListCount(SettingsList::PlaceInfo), 0);
    s.ScratchHolidayRule().month = 11;
    s.SetLastEditResult(LastEditResult::kClearAllExceptions);
    s.LoadDefaults();
    EXPECT_EQ(s.GetListCount(SettingsList::HolidayInfo), 0);
    EXPECT_EQ(s.ScratchHolidayRule().month, 0);
    EXPECT_EQ(s.GetLastEditResult(), 999); // not a setting: defaults leave it alone
}

// Flags treat any non-zero as true; the document starts its window where the view's "Show
// today" does: at most a year either way.
TEST(AppSettings, FlagsAndTheDocumentsCntFromTodayRange)
{
    AppSettings s;
    s.Set(IntSetting::TaskAreaVisible, -1);
    EXPECT_TRUE(s.GetTaskAreaVisible());
    const std::pair<int, int> cases[] = {{INT_MIN, -366}, {-367, -366}, {-366, -366}, {3, 3},
                                         {366, 366},      {367, 366},   {100000, 366}};
    const AppSettingsDocument document(s);
    for (const auto& [stored, used] : cases) {
        s.SetCntFromToday(stored);
        EXPECT_EQ(document.DaysBeforeToday(), used) << stored;
    }
}

TEST(EditListsTest, ReplaceFromLinesKeepsNonEmptyLinesAsTyped)
{
    const struct {
        std::wstring text;
        std::vector<std::wstring> expected;
    } cases[] = {
        {L"A\r\n\r\n\r\nB\r\n", {L"A", L"B"}},
        {L"A\r\n \r\n", {L"A", L" "}},
        {L"  spaced  \r\nsame\r\nsame", {L"  spaced  ", L"same", L"same"}},
        {L"Split\x1fnot\r\n", {L"Splitnot"}},
    };
    for (const auto& c : cases) {
        AppSettings settings;
        settings.SetList(SettingsList::PlaceInfo, L"Old" + FieldSeparator(), 1);
        ReplaceListFromLines(settings, EditList::AppointPlace, c.text);
        EXPECT_EQ(EditListItems(settings, EditList::AppointPlace), c.expected) << c.text;
        EXPECT_EQ(settings.GetListCount(SettingsList::PlaceInfo), int(c.expected.size()));
    }
    // As lines again, each ended; a shorter text replaces the whole list.
    AppSettings settings;
    ReplaceListFromLines(settings, EditList::Category, L"Work\r\nHome");
    EXPECT_EQ(ListToLines(settings, EditList::Category), L"Work\r\nHome\r\n");
    ReplaceListFromLines(settings, EditList::Category, L"Work\r\n");
    EXPECT_EQ(ListToLines(settings, EditList::Category), L"Work\r\n");
}
} // namespace
