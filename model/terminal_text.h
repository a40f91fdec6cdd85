// Item texts on their way to a terminal. A subject comes from outside (an imported calendar, a
// sync) and may hold control characters that a terminal would obey.
#pragma once

#include <string>

// The text in UTF-8 with every C0 control, DEL and C1 control written as "\xHH" (TAB too, so
// it never passes for a field separator); code points that are not characters become U+FFFD.
std::string TerminalText(const std::wstring& text);
