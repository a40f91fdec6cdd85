// Opening, moving and joining the category selection's lists.
#include "editors/category_selection.h"

#include <algorithm>

#include "model/text_list.h"

CategorySelection::CategorySelection(const std::wstring& text,
                                     const std::vector<std::wstring>& editList)
{
    // Empty pieces ("Work,,Home") are skipped, so a doubled comma never ends the list.
    for (const std::wstring& piece : SplitCommaList(text)) {
        const std::size_t first = piece.find_first_not_of(L' ');
        if (first != std::wstring::npos && chosen_.size() < kMaxNames) {
            chosen_.push_back(piece.substr(first));
        }
    }
    for (const std::wstring& name : editList) {
        if (std::find(chosen_.begin(), chosen_.end(), name) == chosen_.end()) {
            available_.push_back(name);
        }
    }
}

bool CategorySelection::Add(int from, int to)
{
    return Move(available_, from, chosen_, to);
}

bool CategorySelection::Remove(int from, int to)
{
    return Move(chosen_, from, available_, to);
}

bool CategorySelection::Move(std::vector<std::wstring>& source, int from,
                             std::vector<std::wstring>& target, int to)
{
    if (from < 0 || from >= static_cast<int>(source.size())) {
        return false;
    }
    std::wstring name = std::move(source[from]);
    source.erase(source.begin() + from);
    const bool inside = to >= 0 && to < static_cast<int>(target.size());
    target.insert(inside ? target.begin() + to : target.end(), std::move(name));
    return true;
}

std::wstring CategorySelection::Text() const
{
    std::wstring text;
    for (std::size_t i = 0; i < chosen_.size(); ++i) {
        text += (i == 0 ? L"" : L", ") + CommaListName(chosen_[i]);
    }
    return text;
}
