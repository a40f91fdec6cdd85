// Reads an iCalendar stream one top-level component at a time (each VEVENT, VTODO, VTIMEZONE
// inside the VCALENDAR), so memory holds one component, never the whole file.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace ical {

class ComponentStream {
public:
    explicit ComponentStream(std::istream& in) : in_(in) {}

    // The text of the next complete component, BEGIN to END; false at the end of the input.
    // A component left open at the end, larger than kMaxComponentBytes or holding a content
    // line (unfolded) longer than kMaxLineBytes is not returned but listed in Dropped().
    bool Next(std::string& component);

    struct DroppedComponent {
        std::string uid;     // empty when none was seen
        std::string summary; // as written, escapes and all; empty when none was seen
        std::string why;
    };
    const std::vector<DroppedComponent>& Dropped() const { return dropped_; }
    // Bytes of the input read so far, for a progress bar.
    uint64_t Consumed() const { return consumed_; }
    // Whether a VCALENDAR (or a bare component) was seen at all.
    bool SawCalendar() const { return sawCalendar_; }

    static constexpr size_t kMaxComponentBytes = size_t{16} << 20;
    // libical's time grows with the square of a line's length; longer lines are refused.
    static constexpr size_t kMaxLineBytes = size_t{2} << 20;

private:
    void Drop(const char* why);

    std::istream& in_;
    std::vector<DroppedComponent> dropped_;
    std::string uid_; // of the component being collected
    std::string summary_;
    uint64_t consumed_ = 0;
    bool sawCalendar_ = false;
};

} // namespace ical
