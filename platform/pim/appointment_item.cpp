// Copying an appointment and the length its default pattern takes over.
#include "platform/pim/appointment_item.h"

#include <algorithm>
#include <cmath>

namespace pim {

int32_t AppointmentItem::PatternMinutes() const
{
    const double minutes = std::round((stored_.fields.End - stored_.fields.Start) * 1440.0);
    return static_cast<int32_t>(std::clamp(minutes, 0.0, 1440.0 * 366));
}

} // namespace pim
