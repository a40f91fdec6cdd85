// tamberlo-agenda [--store FILE] [--profile FILE] --from YYYY-MM-DD --days N  (or --help)
// Prints, for each day of the range that has entries, one tab-separated line per entry in the
// document's order: appointments "DATE A START END ALLDAY STATE KIND BUSY SUBJECT", then tasks
// "DATE T DUE STARTSHERE MIDDLE DUEHERE COMPLETE RECURRING SUBJECT".
// tamberlo-agenda [--store FILE] --find TEXT prints Find's matches over the whole store in date
// order, "DATE TIME A|T SUBJECT" each (a series once, at its next or last occurrence).
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The arguments without the program name; 0 on success, 1 for a bad argument, 2 for a store
// that cannot be opened, with a one-line message on `err`.
int RunAgenda(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
