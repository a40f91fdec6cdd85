// Only BEGIN and END lines are looked at here; continuation lines simply travel with their
// component, and libical unfolds them when the component is parsed.
#include "ical/component_stream.h"

#include <algorithm>
#include <cctype>

namespace ical {
namespace {

bool StartsWithNoCase(const std::string& line, const char* prefix)
{
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= line.size() ||
            std::toupper(static_cast<unsigned char>(line[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::string NameAfter(const std::string& line, size_t at)
{
    std::string name = line.substr(at);
    name.erase(std::remove_if(name.begin(), name.end(),
                              [](unsigned char c) { return std::isspace(c) != 0; }),
               name.end());
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

}  // namespace

bool ComponentStream::Next(std::string& component)
{
    component.clear();
    int depth = 0;  // nesting inside the component being collected
    bool tooLarge = false;
    std::string line;
    while (std::getline(in_, line)) {
        consumed_ += line.size() + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const bool begin = StartsWithNoCase(line, "BEGIN:");
        const bool end = StartsWithNoCase(line, "END:");
        const bool calendar = begin && NameAfter(line, 6) == "VCALENDAR";
        if (calendar && depth > 0) {
            ++dropped_;  // a calendar starting inside a component: that one was cut off
            depth = 0;
            component.clear();
            tooLarge = false;
        }
        if (depth == 0) {
            if (calendar) {
                sawCalendar_ = true;
                continue;  // its own properties are skipped; only its components matter
            }
            if (!begin) {
                continue;
            }
            sawCalendar_ = true;
        }
        depth += begin ? 1 : 0;
        depth -= end ? 1 : 0;
        if (!tooLarge) {
            component.append(line).append("\r\n");
            tooLarge = component.size() > kMaxComponentBytes;
            if (tooLarge) {
                component.clear();
                component.shrink_to_fit();
            }
        }
        if (depth == 0) {
            if (!tooLarge) {
                return true;
            }
            ++dropped_;
            tooLarge = false;
        }
    }
    if (depth > 0) {
        ++dropped_;  // truncated: never half an item
    }
    component.clear();
    return false;
}

}  // namespace ical
