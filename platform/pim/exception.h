// One changed or deleted occurrence of a recurring appointment, keyed by the day it
// originally fell on.
#pragma once

#include <memory>

#include "platform/pim/item_fields.h"

namespace pim {

class AppointmentItem;

class Exception {
public:
    Exception(const ExceptionFields& fields, std::shared_ptr<AppointmentItem> item);

    // The original start day, without time of day.
    DATE GetOriginalDate() const { return originalDate_; }
    bool GetDeleted() const { return deleted_; }
    // The changed occurrence, which saves back into this exception; fails for a deleted one.
    int32_t GetAppointmentItem(std::shared_ptr<AppointmentItem>* out) const;

private:
    DATE originalDate_;
    bool deleted_;
    std::shared_ptr<AppointmentItem> item_;
};

} // namespace pim
