// The rows of the "Keys and Mouse" help as data: the view makes them, the help dialog and the
// README's table show them.
#pragma once

#include <string>
#include <vector>

namespace res {

struct HelpRow {
    std::wstring keys; // the key or gesture; a button's keys, empty when it has none
    std::wstring does;
    int button = -1; // the picture button the row stands for, -1 for keys and gestures
};

struct HelpSection {
    std::wstring title;
    std::vector<HelpRow> rows;
};

} // namespace res
