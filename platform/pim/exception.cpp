// The exception object handed out by a pattern's exception list.
#include "platform/pim/exception.h"

namespace pim {

Exception::Exception(const ExceptionFields& fields, std::shared_ptr<AppointmentItem> item)
    : originalDate_(fields.OriginalDate), deleted_(fields.Deleted), item_(std::move(item))
{
}

int32_t Exception::GetAppointmentItem(std::shared_ptr<AppointmentItem>* out) const
{
    if (out == nullptr || item_ == nullptr) {
        return -1;
    }
    *out = item_;
    return 0;
}

} // namespace pim
