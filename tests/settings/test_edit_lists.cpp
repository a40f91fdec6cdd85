// Edit lists: their settings lists, and editing a list as lines.
#include "settings/edit_lists.h"

#include <gtest/gtest.h>

#include "model/text_list.h"

namespace {

struct LinesCase {
    std::wstring text;
    std::vector<std::wstring> expected;
};

TEST(EditListsTest, ReplaceFromLinesKeepsNonEmptyLinesAsTyped)
{
    const LinesCase cases[] = {
        {L"Office\r\nHome\r\n", {L"Office", L"Home"}},
        {L"A\r\n\r\n\r\nB\r\n", {L"A", L"B"}},
        {L"A\r\n \r\n", {L"A", L" "}},
        {L"A\r\nNew entry", {L"A", L"New entry"}},
        {L"", {}},
        {L"\r\n\r\n", {}},
        {L"  spaced  \r\nsame\r\nsame", {L"  spaced  ", L"same", L"same"}},
        {L"Split\x1fnot\r\n", {L"Splitnot"}},
    };
    for (const LinesCase& c : cases) {
        AppSettings settings;
        settings.SetList(SettingsList::PlaceInfo, L"Old" + FieldSeparator(), 1);
        ReplaceListFromLines(settings, EditList::AppointPlace, c.text);
        EXPECT_EQ(EditListItems(settings, EditList::AppointPlace), c.expected) << c.text;
        EXPECT_EQ(settings.GetListCount(SettingsList::PlaceInfo),
                  static_cast<int>(c.expected.size()));
    }
}

TEST(EditListsTest, LinesRoundTripAndSettingsLists)
{
    AppSettings settings;
    ReplaceListFromLines(settings, EditList::Category, L"Work\r\nHome");
    EXPECT_EQ(ListToLines(settings, EditList::Category), L"Work\r\nHome\r\n");
    ReplaceListFromLines(settings, EditList::Category, L"Work\r\n");
    EXPECT_EQ(ListToLines(settings, EditList::Category), L"Work\r\n");

    const std::pair<EditList, SettingsList> lists[] = {
        {EditList::AppointTitle, SettingsList::SubjectInfo},
        {EditList::AppointPlace, SettingsList::PlaceInfo},
        {EditList::TaskTitle, SettingsList::TaskSubjectInfo},
        {EditList::Category, SettingsList::CategoryInfo},
        {EditList::TimeList, SettingsList::SelMinuteInfo},
        {EditList::AlarmTimeList, SettingsList::SelAlartMinuteInfo},
    };
    for (const auto& [edit, list] : lists) {
        EXPECT_EQ(ListOf(edit), list);
    }
}

} // namespace
