// The resource mapping is the iCalendar bridge's; this adds the checks that make a resource
// safe to hold: exactly one item, nothing skipped or unread, and a text that reads back to
// itself.
#include "sync/resource_text.h"

#include <algorithm>
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

// The one item of a calendar read without a note, or why there is none.
std::optional<pim::StoredItem> OneItem(ical::CalendarFile& file, std::wstring* reason)
{
    if (!file.notes.empty()) {
        if (reason != nullptr) {
            *reason = ical::Wide(file.notes.front().c_str());
        }
        return std::nullopt;
    }
    if (file.items.size() != 1) {
        if (reason != nullptr) {
            *reason = file.items.empty()              ? L"no appointment or task in it"
                      : SeriesAndItsStart(file.items) ? L"DTSTART is not one of the rule's days"
                                                      : L"more than one item in one resource";
        }
        return std::nullopt;
    }
    return WithoutOids(std::move(file.items.front()));
}

std::optional<pim::StoredItem> ReadBack(const std::string& text, std::wstring* reason)
{
    ical::CalendarFile file = ical::ReadCalendarFile(text);
    return OneItem(file, reason);
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
    return static_cast<size_t>(
        std::count_if(item.exceptions.begin(), item.exceptions.end(),
                      [](const pim::ExceptionFields& e) { return !e.Deleted; }));
}

// Whether the item comes back the same from its own text. Mostly that text is the resource's
// own components again, which read as the item by the same reader: only another text is
// written and read back.
bool HeldExactly(const pim::StoredItem& item, const SYSTEMTIME& now)
{
    if (ical::WritesBackAsKept(item, {now})) {
        return true;
    }
    const std::optional<pim::StoredItem> again =
        ReadBack(ResourceText(item, now).toStdString(), nullptr);
    return again && WithFloatingKept(item, *again) == item;
}

} // namespace

QByteArray ResourceText(const pim::StoredItem& item, const SYSTEMTIME& now)
{
    return QByteArray::fromStdString(ical::ItemCalendarText(item, {now}));
}

// Each component is parsed once, by the reader; what the checks need comes with its reading.
ResourceItem ReadResource(const QByteArray& calendarData, const SYSTEMTIME& now)
{
    ResourceItem out;
    ical::CalendarFile file = ical::ReadCalendarFile(calendarData.toStdString());
    std::optional<pim::StoredItem> item = OneItem(file, &out.reason);
    if (!item) {
        return out;
    }
    if (file.unreadable > 0) {
        out.reason = L"a component that cannot be read";
    } else if (file.uids.size() != 1) {
        out.reason = L"components with different UIDs in one resource";
    } else if (file.changedOccurrences != ChangedOccurrences(*item)) {
        out.reason = L"a changed occurrence the series does not hold";
    } else if (!HeldExactly(*item, now)) {
        out.reason = L"the store cannot hold it exactly";
    } else {
        out.item = std::move(item);
    }
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
