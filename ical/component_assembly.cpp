// A deleted occurrence keeps the series' values at its own day, so it shows what was there.
#include "ical/component_assembly.h"

#include <algorithm>
#include <cmath>

#include "ical/ical_text.h"

namespace ical {

void PutException(std::vector<pim::ExceptionFields>& list, pim::ExceptionFields e)
{
    const auto at =
        std::lower_bound(list.begin(), list.end(), e.OriginalDate,
                         [](const pim::ExceptionFields& x, DATE d) { return x.OriginalDate < d; });
    if (at != list.end() && at->OriginalDate == e.OriginalDate) {
        *at = std::move(e);
    } else {
        list.insert(at, std::move(e));
    }
}

pim::ExceptionFields DeletedOn(const pim::StoredItem& series, DATE day)
{
    pim::ExceptionFields e;
    e.OriginalDate = day;
    e.Deleted = true;
    e.occurrence = series.fields;
    e.occurrence.UID.clear();
    e.occurrence.Kept.clear(); // the series' EXDATE stands for it
    const double time = series.pattern->StartTime - std::floor(series.pattern->StartTime);
    e.occurrence.Start = day + time;
    e.occurrence.End = e.occurrence.Start + series.pattern->Duration / 1440.0;
    return e;
}

std::string ItemName(const std::wstring& subject, const std::string& uid)
{
    constexpr size_t kMaxShown = 60;
    if (subject.find_first_not_of(L" \t\r\n") == std::wstring::npos) {
        return uid.empty() ? std::string("(no summary or UID)") : "UID " + uid;
    }
    std::wstring line = subject.substr(0, kMaxShown);
    const auto breaks = [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; };
    std::replace_if(line.begin(), line.end(), breaks, L' ');
    return "\"" + Utf8(line) + (subject.size() > kMaxShown ? "...\"" : "\"");
}

std::string UidOf(icalcomponent* c)
{
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_UID_PROPERTY);
    const char* uid = p != nullptr ? icalproperty_get_uid(p) : nullptr;
    return uid != nullptr ? uid : "";
}

} // namespace ical
