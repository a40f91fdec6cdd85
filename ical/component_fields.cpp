// TEXT values come in without the control characters they may not carry (said in a note), and
// a subject or place keeps the blanks around it that libical trims.
#include "ical/component_fields.h"

#include <cstring>

#include "ical/component_scan.h"
#include "ical/ical_text.h"
#include "model/pim_records.h"
#include "model/text_list.h"

namespace ical {
namespace {

// TEXT values carry no control characters but TAB and line breaks; others are dropped, said.
std::wstring Controlled(const std::wstring& text, const char* name, ReadNotes& said)
{
    bool removed = false;
    std::wstring kept = WithoutControls(text, &removed);
    if (removed) {
        said.notes.push_back(std::string("control characters removed from ") + name);
    }
    return kept;
}

// libical trims the blanks around a value; a subject or place keeps those it was written with.
std::wstring Blanked(const std::wstring& value, std::string_view unfolded, std::string_view name)
{
    constexpr const char* kBlanks = " \t";
    const std::string_view raw = RawValue(unfolded, name);
    const size_t first = raw.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return value.empty() ? Wide(std::string(raw).c_str()) : value;
    }
    const size_t kept = value.find_first_not_of(L" \t");
    if (kept == std::wstring::npos) {
        return value; // libical read something else than the line holds: keep its reading
    }
    const std::wstring inner = value.substr(kept, value.find_last_not_of(L" \t") + 1 - kept);
    return Wide(std::string(raw.substr(0, first)).c_str()) + inner +
           Wide(std::string(raw.substr(raw.find_last_not_of(kBlanks) + 1)).c_str());
}

std::wstring Text(icalcomponent* c, icalproperty_kind kind, const char* (*get)(const icalproperty*))
{
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    return p == nullptr ? std::wstring() : Wide(get(p));
}

int32_t SensitivityOf(icalproperty* p)
{
    switch (p != nullptr ? icalproperty_get_class(p) : ICAL_CLASS_PUBLIC) {
    case ICAL_CLASS_PUBLIC:
    case ICAL_CLASS_NONE:
        return kSensitivityNormal;
    case ICAL_CLASS_CONFIDENTIAL:
        return kSensitivityConfidential;
    case ICAL_CLASS_X: {
        const char* value = icalproperty_get_value_as_string(p);
        // Any class a program does not know counts as private.
        return value != nullptr && strcasecmp(value, "X-PERSONAL") == 0 ? kSensitivityPersonal
                                                                        : kSensitivityPrivate;
    }
    default:
        return kSensitivityPrivate;
    }
}

// A component without a UID gets one from its text, so importing the file again finds it.
std::wstring Uid(icalcomponent* c, const std::string& text, ReadNotes& said)
{
    icalproperty* p = icalcomponent_get_first_property(c, ICAL_UID_PROPERTY);
    const char* uid = p != nullptr ? icalproperty_get_uid(p) : nullptr;
    if (uid != nullptr && *uid != '\0') {
        return Wide(uid);
    }
    uint64_t hash = 14695981039346656037ULL; // FNV-1a: the same on every machine
    for (const unsigned char ch : text) {
        hash = (hash ^ ch) * 1099511628211ULL;
    }
    said.notes.push_back("no UID, given one from its contents");
    return L"tamberlo-import-" + std::to_wstring(hash);
}

} // namespace

void ReadCommonFields(icalcomponent* c, const std::string& text, std::string_view unfolded,
                      pim::ItemFields& f, ReadNotes& said)
{
    f.UID = Uid(c, text, said);
    f.Subject = Controlled(
        Blanked(Text(c, ICAL_SUMMARY_PROPERTY, icalproperty_get_summary), unfolded, "SUMMARY"),
        "SUMMARY", said);
    icalproperty* memo = icalcomponent_get_first_property(c, ICAL_DESCRIPTION_PROPERTY);
    f.Body = memo != nullptr
                 ? Controlled(MemoFromIcal(icalproperty_get_description(memo)), "DESCRIPTION", said)
                 : std::wstring();
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY);
         p != nullptr; p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
        const std::wstring category =
            Controlled(Wide(icalproperty_get_categories(p)), "CATEGORIES", said);
        if (!category.empty()) {
            f.Categories += (f.Categories.empty() ? L"" : L",") + CommaListName(category);
        }
    }
    f.Sensitivity = SensitivityOf(icalcomponent_get_first_property(c, ICAL_CLASS_PROPERTY));
}

std::wstring ReadLocation(icalcomponent* c, std::string_view unfolded, ReadNotes& said)
{
    return Controlled(
        Blanked(Text(c, ICAL_LOCATION_PROPERTY, icalproperty_get_location), unfolded, "LOCATION"),
        "LOCATION", said);
}

int32_t BusyOf(icalcomponent* c)
{
    const std::string busy = XProperty(c, kBusyStatusProperty);
    if (strcasecmp(busy.c_str(), "FREE") == 0) {
        return kBusyFree;
    }
    if (strcasecmp(busy.c_str(), "TENTATIVE") == 0) {
        return kBusyTentative;
    }
    if (strcasecmp(busy.c_str(), "OOF") == 0) {
        return kBusyOutOfOffice;
    }
    if (!busy.empty()) {
        return kBusyBusy;
    }
    icalproperty* transp = icalcomponent_get_first_property(c, ICAL_TRANSP_PROPERTY);
    return transp != nullptr && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT
               ? kBusyFree
               : kBusyBusy;
}

int32_t ImportanceOf(icalcomponent* c)
{
    icalproperty* priority = icalcomponent_get_first_property(c, ICAL_PRIORITY_PROPERTY);
    const int level = priority != nullptr ? icalproperty_get_priority(priority) : 0;
    return level >= 1 && level <= 4   ? kImportanceHigh
           : level >= 6 && level <= 9 ? kImportanceLow
                                      : kImportanceNormal;
}

bool StatusCompleted(icalcomponent* c)
{
    icalproperty* status = icalcomponent_get_first_property(c, ICAL_STATUS_PROPERTY);
    return status != nullptr && icalproperty_get_status(status) == ICAL_STATUS_COMPLETED;
}

} // namespace ical
