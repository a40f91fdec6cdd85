// Text between libical's UTF-8 and the program's wide strings, and the names of our own
// extension properties.
#pragma once

#include <libical/ical.h>

#include <string>

namespace ical {

// Our own properties: where a series began before its first occurrence, and the reminder
// option bits that VALARM has no words for.
inline constexpr const char* kSeriesStartProperty = "X-TAMBERLO-SERIES-START";
inline constexpr const char* kReminderOptionsProperty = "X-TAMBERLO-REMINDER-OPTIONS";
// The busy status most calendar programs exchange beside TRANSP.
inline constexpr const char* kBusyStatusProperty = "X-MICROSOFT-CDO-BUSYSTATUS";

std::wstring Wide(const char* utf8);
std::string Utf8(const std::wstring& text);

// Memo line breaks: the program's memos break lines with CR LF, iCalendar text with "\n".
std::wstring MemoFromIcal(const char* utf8);
std::string MemoToIcal(const std::wstring& memo);

// Text without the control characters a TEXT value may not carry (all of C0 and DEL but TAB
// and line feed; a carriage return before a line feed goes with it). `removed` tells whether
// anything was taken out.
std::wstring WithoutControls(const std::wstring& text, bool* removed = nullptr);

// Serialised components with every content line folded to at most 75 octets (RFC 5545 3.1),
// never inside a UTF-8 sequence, whatever folding the text came with.
std::string Refolded(const std::string& text);

// "1 appointment", "2 appointments": a count with its noun in the right number.
std::string Counted(int count, const std::string& noun);

// The value of the first x-property of that name, or empty.
std::string XProperty(icalcomponent* component, const char* name);
void AddXProperty(icalcomponent* component, const char* name, const std::string& value);

} // namespace ical
