// The underlined letters of a menu: Alt+letter opens a menu, a letter picks an item. The texts
// keep their words; only an "&" is put before the chosen letter.
#pragma once

#include <string>
#include <vector>

// One letter per text, unique within the menu: a word's first letter where one is free, else
// another letter or digit of the text; 0 when none is left (or for an empty text).
std::vector<wchar_t> PickMnemonics(const std::vector<std::wstring>& texts);
// `text` with "&" before the first `letter` (either case) and any "&" of its own doubled; the
// text unchanged apart from that when it holds no such letter.
std::wstring WithMnemonic(const std::wstring& text, wchar_t letter);
