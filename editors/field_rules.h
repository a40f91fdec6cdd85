// Checks the editors share before anything is written into an item: the shape of a refusal
// (which control, which message), text that the store and the day tables can hold, and
// "hh:mm" time texts. Plain functions, so every rule is tested without a widget.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The first field a dialog refuses: the control that gets the focus back and the message shown
// under the caption "Warning".
struct Refusal {
    int controlId;
    int messageId;
    bool operator==(const Refusal&) const = default;
};
using Verdict = std::optional<Refusal>;

// Longest single-line field (subject, place, category, sound file) and longest memo the user
// may type.
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxMemoLength = 32767;

enum class TextKind { kLine, kMemo };

// Takes the text a field shows into `field`, which holds the stored text. The limits are the
// user's: text left as it was stored is kept exactly, whatever it holds. Typed text may not
// hold what the store and the day tables cannot (NUL, the field separator U+001F) nor grow past
// the kind's longest length (a longer stored text may be shortened); in a line a tab becomes a
// blank. On a refusal `field` is left alone.
Verdict TakeText(const std::wstring& shown, std::wstring& field, TextKind kind, int controlId);

// Minutes after midnight of a strict "hh:mm" text (00:00 .. 23:59, or 24:00 when allowed);
// empty for anything else ("9:5", "25:99", "12:3x").
std::optional<int> TimeTextMinutes(const std::wstring& text, bool allowEndOfDay = false);

// Refuses a time text the field does not take, saying what it does take: a start runs from
// 00:00 to 23:59, an end (endOfDay) to 24:00.
Verdict CheckTimeText(const std::wstring& text, bool endOfDay, int controlId);

// "hh:mm" of a time of day.
std::wstring TimeText(int hour, int minute);
