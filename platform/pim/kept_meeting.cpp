// Walks the unfolded kept lines of the first component, counting its nesting, and stops at its
// end: the zone definitions after it never count.
#include "platform/pim/kept_meeting.h"

#include "platform/pim/kept_revision.h"

namespace pim {

bool KeptIsMeeting(std::string_view kept)
{
    int depth = 0;
    size_t from = 0;
    while (from < kept.size()) {
        size_t end = kept.find('\n', from);
        end = end == std::string_view::npos ? kept.size() : end;
        const std::string name = KeptPropertyName(kept.substr(from, end - from));
        from = end + 1;
        if (name == "BEGIN") {
            ++depth;
        } else if (name == "END") {
            if (--depth <= 0) {
                return false;
            }
        } else if (depth == 1 && (name == "ORGANIZER" || name == "ATTENDEE")) {
            return true;
        }
    }
    return false;
}

} // namespace pim
