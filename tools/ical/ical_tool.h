// tamberlo-ical import [--store FILE] [--expand-unsupported] FILE.ics...
// tamberlo-ical export [--store FILE] [-o FILE.ics]
// tamberlo-ical occurrences [--store FILE] --from YYYY-MM-DD --days N
// "-" reads standard input or writes standard output.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Exit codes.
constexpr int kIcalOk = 0;
constexpr int kIcalBadArguments = 1;
constexpr int kIcalStoreFailed = 2;
constexpr int kIcalFileUnreadable = 3; // also a file that holds no calendar

// The arguments without the program name; `in` stands for "-" as an input file.
int RunIcal(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err);
