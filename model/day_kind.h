// The holiday kind stored with every appointment entry of a day (the first entry's kind is the
// day's), and the holiday rows the rule evaluation asks the document to enter.
#pragma once

#include <string>

constexpr int kOrdinaryKind = 0;
constexpr int kHolidayKind = 1;       // a rule holiday on a day that held none
constexpr int kSecondHolidayKind = 2; // a rule holiday on a day that held one, or a substitute
constexpr int kRestdayKind = 3;       // all-day appointment of the HolidayCategory
constexpr int kMemorialKind = 4;      // all-day appointment of the MemorialCategory

// Insert as the first entry of a day, or overwrite the day's first entry: an all-day holiday
// row with this kind and name.
struct HolidayEntry {
    int rule; // index of the rule in the list; all rows of one rule share a serial
    int day;  // index in the loaded window
    bool overwrite;
    int kind;
    std::wstring name;
};
