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

std::wstring WithoutControls(const std::wstring& text, bool* removed)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool lineBreak =
            c == L'\n' || (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n');
        if (c == L'\t' || lineBreak || (c >= 0x20 && c != 0x7F)) {
            out += c;
        }
    }
    if (removed != nullptr) {
        *removed = out.size() != text.size();
    }
    return out;
}

namespace {

// The octets of the UTF-8 sequence a lead byte starts (1 for a stray byte).
size_t SequenceOctets(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

} // namespace

std::string Refolded(const std::string& text)
{
    constexpr size_t kMaxOctets = 75;
    std::string out;
    out.reserve(text.size() + text.size() / 64);
    size_t lineOctets = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            // A run of breaks followed by a blank continues the line (whatever bytes the
            // folding came as); any other run ends it.
            size_t j = i;
            while (j < text.size() && (text[j] == '\r' || text[j] == '\n')) {
                ++j;
            }
            if (j < text.size() && text[j] == ' ') {
                i = j;
            } else {
                out += "\r\n";
                lineOctets = 0;
                i = j - 1;
            }
            continue;
        }
        if ((c & 0xC0) != 0x80 && lineOctets + SequenceOctets(c) > kMaxOctets) {
            out += "\r\n ";
            lineOctets = 1;
        }
        out += static_cast<char>(c);
        ++lineOctets;
    }
    return out;
}

std::string Counted(int count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
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

} // namespace ical
