// The two lists of the category selection: the names chosen for a category text and the names
// of the category edit list still available, with the moves between them. Kept apart from the
// dialog so the opening, moving and joining rules are tested without widgets.
#pragma once

#include <string>
#include <vector>

class CategorySelection {
public:
    // At most this many names are taken from a category text.
    static constexpr int kMaxNames = 101;

    // Chosen: the names of text, split at "," ("\," is a comma inside a name), leading blanks
    // removed, in their order; an empty name or one of blanks only is skipped. Available: the
    // edit list's names not chosen already.
    CategorySelection(const std::wstring& text, const std::vector<std::wstring>& editList);

    const std::vector<std::wstring>& Chosen() const { return chosen_; }
    const std::vector<std::wstring>& Available() const { return available_; }

    // Moves available[from] into the chosen list before position `to`, or to its end when `to`
    // is outside it; false, changing nothing, when `from` names no entry.
    bool Add(int from, int to);
    // The same from the chosen list back to the available list.
    bool Remove(int from, int to);

    // The chosen names joined by ", ", their own commas escaped; empty when none is chosen.
    std::wstring Text() const;

private:
    static bool Move(std::vector<std::wstring>& source, int from, std::vector<std::wstring>& target,
                     int to);

    std::vector<std::wstring> chosen_;
    std::vector<std::wstring> available_;
};
