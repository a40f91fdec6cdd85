// Edit lists are ordinary settings lists; editing one replaces it as a whole, so the count and
// the delimited text can never disagree.
#include "settings/edit_lists.h"

#include "model/text_list.h"

namespace {

constexpr std::array<SettingsList, kEditListCount> kLists = {
    SettingsList::SubjectInfo,  SettingsList::PlaceInfo,     SettingsList::TaskSubjectInfo,
    SettingsList::CategoryInfo, SettingsList::SelMinuteInfo, SettingsList::SelAlartMinuteInfo,
};

const std::wstring kLineBreak = L"\r\n";

// A separator typed into a line would split it into two elements behind the count's back.
std::wstring WithoutSeparators(std::wstring line)
{
    std::erase(line, FieldSeparator()[0]);
    return line;
}

} // namespace

SettingsList ListOf(EditList list)
{
    return kLists[static_cast<std::size_t>(list)];
}

std::vector<std::wstring> EditListItems(const AppSettings& settings, EditList list)
{
    std::vector<std::wstring> items;
    const int count = settings.GetListCount(ListOf(list));
    items.reserve(count);

    for (int i = 0; i < count; ++i) {
        items.push_back(settings.GetListItem(ListOf(list), i));
    }
    return items;
}

std::wstring ListToLines(const AppSettings& settings, EditList list)
{
    std::wstring lines;
    for (const std::wstring& item : EditListItems(settings, list)) {
        lines += item + kLineBreak;
    }
    return lines;
}

void ReplaceListFromLines(AppSettings& settings, EditList list, const std::wstring& text)
{
    std::wstring elements;
    int count = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find(kLineBreak, from);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        if (end > from) {
            elements += WithoutSeparators(text.substr(from, end - from)) + FieldSeparator();
            ++count;
        }
        from = end + kLineBreak.size();
    }
    settings.SetList(ListOf(list), elements, count);
}
