// Mnemonics are picked in the menu's own order, so the choice stays the same from run to run:
// first every text that can have its word initial gets it, then the rest, the text with the
// fewest letters left first, so that short texts are not starved by long ones.
#include "app/menu_mnemonics.h"

#include <cwctype>
#include <set>

namespace {

wchar_t Folded(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool Usable(wchar_t c)
{
    return std::iswalnum(static_cast<wint_t>(c)) != 0;
}

std::vector<wchar_t> FreeLetters(const std::wstring& text, const std::set<wchar_t>& taken,
                                 bool initialsOnly)
{
    std::vector<wchar_t> letters;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool initial = i == 0 || text[i - 1] == L' ';
        if ((initial || !initialsOnly) && Usable(text[i]) && !taken.contains(Folded(text[i]))) {
            letters.push_back(Folded(text[i]));
        }
    }
    return letters;
}

} // namespace

std::vector<wchar_t> PickMnemonics(const std::vector<std::wstring>& texts)
{
    std::set<wchar_t> taken;
    std::vector<wchar_t> letters(texts.size(), 0);
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::vector<wchar_t> initials = FreeLetters(texts[i], taken, true);
        if (!initials.empty()) {
            taken.insert(letters[i] = initials.front());
        }
    }
    for (;;) {
        size_t best = texts.size();
        std::vector<wchar_t> bestLetters;
        for (size_t i = 0; i < texts.size(); ++i) {
            if (letters[i] != 0 || texts[i].empty()) {
                continue;
            }
            const std::vector<wchar_t> free = FreeLetters(texts[i], taken, false);
            if (!free.empty() && (best == texts.size() || free.size() < bestLetters.size())) {
                best = i;
                bestLetters = free;
            }
        }
        if (best == texts.size()) {
            return letters;
        }
        taken.insert(letters[best] = bestLetters.front());
    }
}

std::wstring WithMnemonic(const std::wstring& text, wchar_t letter)
{
    std::wstring marked;
    bool placed = letter == 0;
    for (wchar_t c : text) {
        if (!placed && Folded(c) == Folded(letter)) {
            marked += L'&';
            placed = true;
        }
        marked += c;
        if (c == L'&') {
            marked += L'&';
        }
    }
    return marked;
}
