// Only BEGIN, END and UID lines are looked at here, and the length of each content line;
// continuation lines travel with their component, and libical unfolds them when it parses it.
#include "ical/component_stream.h"

#include <algorithm>
#include <cctype>

namespace ical {
namespace {

bool StartsWithNoCase(const std::string& line, const char* prefix)
{
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= line.size() || std::toupper(static_cast<unsigned char>(line[i])) != prefix[i]) {
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

} // namespace

void ComponentStream::Drop(const char* why)
{
    dropped_.push_back({uid_, summary_, why});
    uid_.clear();
    summary_.clear();
}

bool ComponentStream::Next(std::string& component)
{
    component.clear();
    uid_.clear();
    summary_.clear();
    int depth = 0;                  // nesting inside the component being collected
    const char* tooLarge = nullptr; // why the component is being skipped
    size_t logicalLine = 0;         // octets of the current content line, unfolded
    std::string line;
    while (std::getline(in_, line)) {
        consumed_ += line.size() + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const bool continuation = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        logicalLine = continuation ? logicalLine + line.size() - 1 : line.size();
        const bool begin = !continuation && StartsWithNoCase(line, "BEGIN:");
        const bool end = !continuation && StartsWithNoCase(line, "END:");
        const bool calendar = begin && NameAfter(line, 6) == "VCALENDAR";
        if (calendar && depth > 0) {
            Drop("an unfinished component"); // a calendar starting inside it cut it off
            depth = 0;
            component.clear();
            tooLarge = nullptr;
        }
        if (depth == 0) {
            if (calendar) {
                sawCalendar_ = true;
                continue; // its own properties are skipped; only its components matter
            }
            if (!begin) {
                continue;
            }
            sawCalendar_ = true;
        }
        depth += begin ? 1 : 0;
        depth -= end ? 1 : 0;
        if (depth == 1 && uid_.empty() && StartsWithNoCase(line, "UID:")) {
            uid_ = line.substr(4, 200);
        }
        if (depth == 1 && summary_.empty() && StartsWithNoCase(line, "SUMMARY") &&
            line.find(':') != std::string::npos) {
            summary_ = line.substr(line.find(':') + 1, 200); // names a dropped component
        }
        if (tooLarge == nullptr) {
            component.append(line).append("\r\n");
            tooLarge = component.size() > kMaxComponentBytes ? "a component over 16 MB"
                       : logicalLine > kMaxLineBytes         ? "a line over 2 MB"
                                                             : nullptr;
            if (tooLarge != nullptr) {
                component.clear();
                component.shrink_to_fit();
            }
        }
        if (depth == 0) {
            if (tooLarge == nullptr) {
                return true;
            }
            Drop(tooLarge);
            tooLarge = nullptr;
        }
    }
    if (depth > 0) {
        Drop("an unfinished component"); // truncated: never half an item
    }
    component.clear();
    return false;
}

} // namespace ical
