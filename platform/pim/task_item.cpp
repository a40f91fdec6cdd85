// Completing and copying tasks.
#include "platform/pim/task_item.h"

#include "platform/clock.h"

namespace pim {

void TaskItem::SetComplete(bool v)
{
    stored_.fields.Complete = v;
    stored_.fields.DateCompleted = v ? SystemTimeToVariantTime(GetLocalTime()) : kNoDate;
}

} // namespace pim
