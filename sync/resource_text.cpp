// The resource mapping is the iCalendar bridge's; this adds the checks that make a resource
// safe to hold: exactly one item, nothing skipped, and a text that reads back to itself.
#include "sync/resource_text.h"

#include <libical/ical.h>

#include <set>
#include <vector>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "ical/ical_text.h"
#include "ical/kept_component.h"

namespace caldav {
namespace {

// Object ids are the store's own; a resource never carries them.
pim::StoredItem WithoutOids(pim::StoredItem item)
{
    item.fields.Oid = 0;
    for (pim::ExceptionFields& e : item.exceptions) {
        e.occurrence.Oid = 0;
    }
    return item;
}

// The reader makes a series whose DTSTART is off its rule into the series and an appointment
// of its own for DTSTART, named after the series.
bool SeriesAndItsStart(const std::vector<pim::StoredItem>& items)
{
    return items.size() == 2 && items[0].pattern &&
           items[1].fields.UID.rfind(items[0].fields.UID + L"/", 0) == 0;
}

std::optional<pim::StoredItem> ReadBack(const std::string& text, std::wstring* reason)
{
    std::vector<std::string> notes;
    std::vector<pim::StoredItem> items = ical::ReadCalendarItems(text, notes);
    if (!notes.empty()) {
        if (reason != nullptr) {
            *reason = ical::Wide(notes.front().c_str());
        }
        return std::nullopt;
    }
    if (items.size() != 1) {
        if (reason != nullptr) {
            *reason = items.empty()              ? L"no appointment or task in it"
                      : SeriesAndItsStart(items) ? L"DTSTART is not one of the rule's days"
                                                 : L"more than one item in one resource";
        }
        return std::nullopt;
    }
    return WithoutOids(std::move(items.front()));
}

// The UIDs of the resource's events and tasks, and how many are changed occurrences: the
// reader drops an occurrence whose series is not there without a note.
struct Components {
    std::set<std::string> uids;
    size_t changedOccurrences = 0;
};

Components ComponentsOf(const std::string& text)
{
    Components out;
    icalcomponent* root = icalparser_parse_string(text.c_str());
    if (root == nullptr) {
        return out;
    }
    for (const icalcomponent_kind kind : {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT}) {
        for (icalcomponent* c = icalcomponent_get_first_component(root, kind); c != nullptr;
             c = icalcomponent_get_next_component(root, kind)) {
            const char* uid = icalcomponent_get_uid(c);
            out.uids.insert(uid != nullptr ? uid : "");
            if (icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
                ++out.changedOccurrences;
            }
        }
    }
    icalcomponent_free(root);
    return out;
}

// A resource in floating time reads as local time, and local time is written in the machine's
// zone: the same moments here, so the zone that appears is no loss.
pim::StoredItem WithFloatingKept(const pim::StoredItem& read, pim::StoredItem again)
{
    const auto keep = [](const std::wstring& first, std::wstring& second) {
        if (first.empty()) {
            second.clear();
        }
    };
    keep(read.fields.Zone, again.fields.Zone);
    if (read.pattern && again.pattern) {
        keep(read.pattern->Zone, again.pattern->Zone);
    }
    for (size_t i = 0; i < read.exceptions.size() && i < again.exceptions.size(); ++i) {
        keep(read.exceptions[i].occurrence.Zone, again.exceptions[i].occurrence.Zone);
    }
    return again;
}

size_t ChangedOccurrences(const pim::StoredItem& item)
{
    size_t count = 0;
    for (const pim::ExceptionFields& e : item.exceptions) {
        count += e.Deleted ? 0 : 1;
    }
    return count;
}

} // namespace

QByteArray ResourceText(const pim::StoredItem& item, const SYSTEMTIME& now)
{
    return QByteArray::fromStdString(ical::ItemCalendarText(item, {now}));
}

ResourceItem ReadResource(const QByteArray& calendarData, const SYSTEMTIME& now)
{
    ResourceItem out;
    const std::string text = calendarData.toStdString();
    std::optional<pim::StoredItem> item = ReadBack(text, &out.reason);
    if (!item) {
        return out;
    }
    const Components components = ComponentsOf(text);
    if (components.uids.size() != 1) {
        out.reason = L"components with different UIDs in one resource";
        return out;
    }
    if (components.changedOccurrences != ChangedOccurrences(*item)) {
        out.reason = L"a changed occurrence the series does not hold";
        return out;
    }
    const std::optional<pim::StoredItem> again =
        ReadBack(ResourceText(*item, now).toStdString(), nullptr);
    if (!again || WithFloatingKept(*item, *again) != *item) {
        out.reason = L"the store cannot hold it exactly";
        return out;
    }
    out.item = std::move(item);
    return out;
}

namespace {

// Two sides that made the same change stamp it differently, and a server keeps its own order.
std::optional<pim::StoredItem> ContentOf(const pim::StoredItem& item, const SYSTEMTIME& now)
{
    std::optional<pim::StoredItem> read = ReadBack(ResourceText(item, now).toStdString(), nullptr);
    if (read) {
        read->fields.Kept = ical::KeptContent(read->fields.Kept);
        for (pim::ExceptionFields& e : read->exceptions) {
            e.occurrence.Kept = ical::KeptContent(e.occurrence.Kept);
        }
    }
    return read;
}

} // namespace

bool SameResource(const pim::StoredItem& a, const pim::StoredItem& b, const SYSTEMTIME& now)
{
    const std::optional<pim::StoredItem> first = ContentOf(a, now);
    return first && first == ContentOf(b, now);
}

} // namespace caldav
