// Text conversion through QString, which replaces malformed UTF-8 instead of failing.
#include "ical/ical_text.h"

#include <QString>

#include <cstring>

namespace ical {

std::wstring Wide(const char* utf8)
{
    return utf8 == nullptr ? std::wstring() : QString::fromUtf8(utf8).toStdWString();
}

std::string Utf8(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

std::wstring MemoFromIcal(const char* utf8)
{
    const std::wstring text = Wide(utf8);
    std::wstring memo;
    memo.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
            memo += L'\r';
        }
        memo += text[i];
    }
    return memo;
}

std::string MemoToIcal(const std::wstring& memo)
{
    std::wstring text;
    text.reserve(memo.size());
    for (size_t i = 0; i < memo.size(); ++i) {
        if (!(memo[i] == L'\r' && i + 1 < memo.size() && memo[i + 1] == L'\n')) {
            text += memo[i];
        }
    }
    return Utf8(text);
}

std::string XProperty(icalcomponent* component, const char* name)
{
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        const char* x = icalproperty_get_x_name(p);
        if (x != nullptr && strcasecmp(x, name) == 0) {
            const char* value = icalproperty_get_x(p);
            return value == nullptr ? std::string() : value;
        }
    }
    return {};
}

void AddXProperty(icalcomponent* component, const char* name, const std::string& value)
{
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(component, p);
}

}  // namespace ical
