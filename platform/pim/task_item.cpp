// Completing and copying tasks.
#include "platform/pim/task_item.h"

#include "platform/clock.h"

namespace pim {

void TaskItem::SetComplete(bool v)
{
    stored_.fields.Complete = v;
    stored_.fields.DateCompleted = v ? SystemTimeToVariantTime(GetLocalTime()) : kNoDate;
}

std::shared_ptr<TaskItem> TaskItem::Copy() const
{
    return std::make_shared<TaskItem>(db_, CopiedFields());
}

}  // namespace pim
