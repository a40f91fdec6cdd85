// Reading a whole calendar text without a store, for pasting, subscriptions and synced
// resources: each component is parsed once, and changed occurrences join their series at the
// end, since they may come before it.
#include <algorithm>
#include <sstream>

#include "ical/calendar_import.h"
#include "ical/component_assembly.h"
#include "ical/component_reader.h"
#include "ical/component_scan.h"
#include "ical/component_stream.h"
#include "ical/ical_text.h"
#include "ical/zone_table.h"

namespace ical {
namespace {

// TEXT escapes undone (RFC 5545 3.3.11), a line break read as a blank.
std::string Unescaped(std::string_view value)
{
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] != '\\' || next == '\0') {
            text += value[i];
            continue;
        }
        text += next == 'n' || next == 'N' ? ' ' : next;
        ++i;
    }
    return text;
}

// The name the calendar gives itself on its own lines, before its first component.
std::wstring CalendarName(const std::string& text)
{
    constexpr size_t kMaxName = 200;
    const size_t first = text.find("BEGIN:");
    const size_t inner = first == std::string::npos ? first : text.find("BEGIN:", first + 6);
    const std::string head = Unfolded(text.substr(0, inner));
    std::wstring name = WithoutControls(Wide(Unescaped(RawValue(head, "X-WR-CALNAME")).c_str()));
    std::replace(name.begin(), name.end(), L'\n', L' ');
    std::replace(name.begin(), name.end(), L'\t', L' ');
    const size_t from = name.find_first_not_of(L' ');
    const size_t to = name.find_last_not_of(L' ');
    return from == std::wstring::npos ? std::wstring()
                                      : name.substr(from, std::min(to - from + 1, kMaxName));
}

} // namespace

CalendarFile ReadCalendarFile(const std::string& text)
{
    CalendarFile file;
    std::vector<std::string>& notes = file.notes;
    icalerror_set_errors_are_fatal(0);
    std::istringstream in(text);
    ComponentStream stream(in);
    ZoneTable zones;
    std::vector<pim::StoredItem>& items = file.items;
    std::vector<ReadComponent> changed;
    std::string component;
    while (stream.Next(component)) {
        icalcomponent* c = icalparser_parse_string(component.c_str());
        if (c == nullptr) {
            ++file.unreadable;
            continue;
        }
        const icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind == ICAL_VTIMEZONE_COMPONENT) {
            zones.Add(c);
            continue;
        }
        if (kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT) {
            file.uids.insert(UidOf(c));
            const bool occurrence =
                icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY) != nullptr;
            file.changedOccurrences += occurrence ? 1 : 0;
        }
        ReadComponent read = ReadItemComponent(c, component, zones, ReadOptions{});
        icalcomponent_free(c);
        if (!read.problem.empty()) {
            notes.push_back(ItemName(read.item.fields.Subject, Utf8(read.item.fields.UID)) +
                            ": skipped, " + read.problem);
        } else if (read.recurrenceDay) {
            changed.push_back(std::move(read));
        } else {
            for (const DATE day : read.deletedDays) {
                PutException(read.item.exceptions, DeletedOn(read.item, day));
            }
            items.push_back(std::move(read.item));
            if (read.startOccurrence) {
                items.push_back(std::move(*read.startOccurrence));
            }
        }
    }
    for (ReadComponent& c : changed) {
        const auto series = std::find_if(items.begin(), items.end(), [&](const pim::StoredItem& s) {
            return s.pattern && s.fields.UID == c.item.fields.UID;
        });
        if (series != items.end()) {
            pim::ExceptionFields e{*c.recurrenceDay, false, c.item.fields};
            e.occurrence.UID.clear();
            PutException(series->exceptions, std::move(e));
        }
    }
    file.sawCalendar = stream.SawCalendar();
    file.unreadable += stream.Dropped().size();
    file.name = CalendarName(text);
    return file;
}

std::vector<pim::StoredItem> ReadCalendarItems(const std::string& text,
                                               std::vector<std::string>& notes)
{
    CalendarFile file = ReadCalendarFile(text);
    notes.insert(notes.end(), file.notes.begin(), file.notes.end());
    return std::move(file.items);
}

} // namespace ical
