// What the editors accept as text: length limits, no control characters (a field separator in a
// subject would split the lists it ends up in) and times of day written "hh:mm".
#pragma once

#include <string>

constexpr std::size_t kMaxLineTextLength = 1024;
constexpr std::size_t kMaxMemoLength = 32767;

// 0 when the one-line text (title, place, category) is acceptable, else the message id.
int LineTextProblem(const std::wstring& text);
// The same for a memo, which may hold tabs and line breaks.
int MemoTextProblem(const std::wstring& text);

// Exactly two digits, a colon and two digits, from "00:00" to "24:00".
bool IsTimeText(const std::wstring& text);
// Hours x 60 + minutes of a time text IsTimeText accepts.
int TimeTextMinutes(const std::wstring& text);
// "%.2d:%.2d" of the time of day of a date.
std::wstring TimeTextOf(double date);
