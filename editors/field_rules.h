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

// Longest single-line field (subject, place, category, sound file) and longest memo.
constexpr std::size_t kMaxLineLength = 4096;
constexpr std::size_t kMaxMemoLength = 32767;

// Refuses text longer than maxLength, or holding control characters: a single line may hold
// none (the day tables separate fields with U+001F), a memo only tab, CR and LF.
Verdict CheckLineText(const std::wstring& text, int controlId);
Verdict CheckMemoText(const std::wstring& text, int controlId);

// Minutes after midnight of a strict "hh:mm" text (00:00 .. 23:59, or 24:00 when allowed);
// empty for anything else ("9:5", "25:99", "12:3x").
std::optional<int> TimeTextMinutes(const std::wstring& text, bool allowEndOfDay = false);

// "hh:mm" of a time of day.
std::wstring TimeText(int hour, int minute);
