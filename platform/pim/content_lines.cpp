// One way to split a component's text, so that the kept text and the revision renewed in it
// agree on what a line is.
#include "platform/pim/content_lines.h"

namespace pim {

std::vector<std::string> UnfoldedLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            lines.back() += line.substr(1);
        } else if (!line.empty()) {
            lines.push_back(std::move(line));
        }
        from = end + 1;
    }
    return lines;
}

} // namespace pim
