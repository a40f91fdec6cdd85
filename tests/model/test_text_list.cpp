// Delimited lists at their boundaries, the list tests and colour scaling.
#include "model/text_list.h"

#include <gtest/gtest.h>

#include <algorithm>

// Writes a delimited list with '|' standing for the separator, for readable tables.
static std::wstring Listed(std::wstring list)
{
    std::replace(list.begin(), list.end(), L'|', L'\x1F');
    return list;
}

TEST(TextList, DelimitedListsMatchesCommaListNamesAndScaleColor)
{
    struct Case {
        std::wstring list;
        int position;
        std::wstring inserted, replaced, deleted, got;
    };
    const Case cases[] = {
        {L"", 0, L"v|", L"", L"", L""},
        {L"", 1, L"v|", L"", L"", L""},
        {L"a|b|", 0, L"v|a|b|", L"v|b|", L"b|", L"a"},
        {L"a|b|", 1, L"a|v|b|", L"a|v|", L"a|", L"b"},
        {L"a|b|", 2, L"a|b|v|", L"a|b|", L"a|b|", L""}, // count appends, past the end: no change
        {L"a|b|", -1, L"a|b|", L"a|b|", L"a|b|", L""},
        {L"a||c|", 1, L"a|v||c|", L"a|v|c|", L"a|c|", L""},     // an empty element
        {L"a|tail", 1, L"a|v|tail", L"a|tail", L"a|tail", L""}, // unterminated tail unseen
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.position);
        EXPECT_EQ(InsertDelimited(Listed(c.list), L"v", c.position), Listed(c.inserted));
        EXPECT_EQ(ReplaceDelimited(Listed(c.list), L"v", c.position), Listed(c.replaced));
        EXPECT_EQ(DeleteDelimited(Listed(c.list), c.position), Listed(c.deleted));
        EXPECT_EQ(GetDelimited(Listed(c.list), c.position), c.got);
    }
    EXPECT_EQ(GetField(L"ab::cd::", 1, L"::"), L"cd");
    EXPECT_EQ(GetField(L"ab::cd", 1, L"::"), L"");
    // Trimmed, case-sensitive whole names, as the day painter asks.
    EXPECT_TRUE(ListMatches(L"C, B", L"A,B", L",", true, false));
    EXPECT_FALSE(ListMatches(L"C", L"A,B", L",", true, false));
    // A category's own comma is escaped: "Meeting, John" is one name, not "Meeting" and "John".
    EXPECT_TRUE(ListMatches(L"Meeting\\, John", L"Work, Meeting\\, John", L",", true, false));
    EXPECT_FALSE(ListMatches(L"John", L"Meeting\\, John", L",", true, false));
    const std::vector<std::wstring> names = {L"Meeting, John", L"C:\\", L"a\\b", L"\\,",
                                             L"\\\\",          L"",     L"plain"};
    std::wstring list;
    for (const std::wstring& name : names) {
        list += (list.empty() ? L"" : L",") + CommaListName(name);
    }
    EXPECT_EQ(list, L"Meeting\\, John,C:\\\\,a\\b,\\\\\\,,\\\\\\\\,,plain");
    EXPECT_EQ(SplitCommaList(list), names);
    // Text typed by hand keeps its lone backslashes.
    EXPECT_EQ(SplitCommaList(L"C:\\Temp, Work"),
              (std::vector<std::wstring>{L"C:\\Temp", L" Work"}));
    // 90 and 100 per cent show in the painted day colours.
    EXPECT_EQ(ScaleColor(0xFFC8FF, 0), 0U);
    EXPECT_EQ(ScaleColor(0xFF123456, 100), 0x123456U); // the fourth byte is dropped
    EXPECT_EQ(ScaleColor(0x808080, 300), 0xFFFFFFU);   // channels saturate, never bleed over
    EXPECT_EQ(ScaleColor(0xFFFFFF, 0x7FFFFFFF), 0xFFFFFFU);
}
