// tamberlo-agenda [--store FILE] [--profile FILE] [--calendar NAME]... --from YYYY-MM-DD --days N
// Prints, for each day of the range that has entries, one tab-separated line per entry in the
// document's order: appointments "DATE A START END ALLDAY STATE KIND BUSY SUBJECT CALENDAR",
// then tasks "DATE T DUE STARTSHERE MIDDLE DUEHERE COMPLETE RECURRING SUBJECT CALENDAR".
// tamberlo-agenda [--store FILE] [--calendar NAME]... --find TEXT prints Find's matches over the
// whole store in date order, "DATE TIME A|T SUBJECT CALENDAR" each (a series once, at its next
// or last occurrence). Without --calendar the calendars the window shows are listed; with it,
// the calendars named alone, shown or hidden. A name no calendar has is a bad argument.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The arguments without the program name; 0 on success, 1 for a bad argument, 2 for a store
// that cannot be opened, with a one-line message on `err`.
int RunAgenda(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
