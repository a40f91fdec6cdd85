// Reads an iCalendar stream one top-level component at a time (each VEVENT, VTODO, VTIMEZONE
// inside the VCALENDAR), so memory holds one component, never the whole file.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace ical {

class ComponentStream {
public:
    explicit ComponentStream(std::istream& in) : in_(in) {}

    // The text of the next complete component, BEGIN to END; false at the end of the input.
    // A component left open at the end, or larger than kMaxComponentBytes, is counted in
    // Dropped() and not returned.
    bool Next(std::string& component);

    int Dropped() const { return dropped_; }
    // Bytes of the input read so far, for a progress bar.
    uint64_t Consumed() const { return consumed_; }
    // Whether a VCALENDAR (or a bare component) was seen at all.
    bool SawCalendar() const { return sawCalendar_; }

    static constexpr size_t kMaxComponentBytes = size_t{16} << 20;

private:
    std::istream& in_;
    int dropped_ = 0;
    uint64_t consumed_ = 0;
    bool sawCalendar_ = false;
};

}  // namespace ical
