// The editors' shared checks: time texts, overlong text and control characters.
#include <gtest/gtest.h>

#include "editors/field_rules.h"
#include "res/string_table.h"

TEST(FieldRules, TimeTextsAreStrictAndTypedTextLimitsHold)
{
    const struct {
        const wchar_t* text;
        bool endOfDay;
        int minutes; // -1: refused
    } cases[] = {
        {L"00:00", false, 0},   {L"23:59", false, 1439}, {L"24:00", false, -1},
        {L"24:00", true, 1440}, {L"24:01", true, -1},    {L"9:5", false, -1},
        {L"0930", false, -1},   {L"12:3x", false, -1},   {L"-1:00", false, -1},
        {L"", false, -1},       {L"12:60", false, -1},   {L" 9:30", false, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeTextMinutes(c.text, c.endOfDay).value_or(-1), c.minutes) << c.text;
    }
    EXPECT_EQ(TimeText(7, 5), L"07:05");
    // The limits hold for typed text only: a stored text left as it was is saved as it is.
    const std::wstring longLine(kMaxLineLength + 1, L'a');
    const std::wstring imported = std::wstring(20000, L'x') + L"\t\f";
    const struct {
        std::wstring shown, stored;
        TextKind kind;
        int message; // 0: accepted
        std::wstring saved;
    } texts[] = {
        {longLine.substr(1), L"", TextKind::kLine, 0, longLine.substr(1)},
        {longLine, L"", TextKind::kLine, res::IDS_TEXT_TOO_LONG, L""},
        {std::wstring(kMaxMemoLength + 1, L'x'), L"", TextKind::kMemo, res::IDS_TEXT_TOO_LONG, L""},
        {imported, imported, TextKind::kLine, 0, imported},
        {imported.substr(1), imported, TextKind::kLine, 0, imported.substr(1, 19999) + L" \f"},
        {imported + L"y", imported, TextKind::kLine, res::IDS_TEXT_TOO_LONG, imported},
        {L"a\x1f-", L"", TextKind::kLine, res::IDS_CONTROL_CHARACTERS, L""},
        {std::wstring(L"nul\0", 4), L"", TextKind::kMemo, res::IDS_CONTROL_CHARACTERS, L""},
        {L"two\nlines\tand\ftab", L"", TextKind::kLine, 0, L"two\nlines and\ftab"},
        {L"two\r\nlines\tand\fbell\a", L"", TextKind::kMemo, 0, L"two\r\nlines\tand\fbell\a"},
    };
    for (const auto& c : texts) {
        std::wstring field = c.stored;
        EXPECT_EQ(TakeText(c.shown, field, c.kind, 7),
                  c.message ? Verdict(Refusal{7, c.message}) : std::nullopt)
            << &c - texts;
        EXPECT_EQ(field, c.saved) << &c - texts;
    }
    EXPECT_EQ(CheckTimeText(L"24:00", false, 3), (Refusal{3, res::IDS_BAD_START_TIME_TEXT}));
    EXPECT_EQ(CheckTimeText(L"24:01", true, 3), (Refusal{3, res::IDS_BAD_TIME_TEXT}));
    EXPECT_EQ(CheckTimeText(L"24:00", true, 3), std::nullopt);
}
