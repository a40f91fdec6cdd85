// One task with the properties the task strip and the task editor use. A date the task does
// not have is held as kNoDate.
#pragma once

#include "platform/pim/pim_item.h"

namespace pim {

class TaskItem : public PimItem {
public:
    using PimItem::PimItem;

    DATE GetStartDate() const { return stored_.fields.StartDate; }
    void SetStartDate(DATE v) { stored_.fields.StartDate = v; }
    DATE GetDueDate() const { return stored_.fields.DueDate; }
    void SetDueDate(DATE v) { stored_.fields.DueDate = v; }
    DATE GetDateCompleted() const { return stored_.fields.DateCompleted; }
    // For imports that bring their own completion date; SetComplete stamps the current time.
    void SetDateCompleted(DATE v) { stored_.fields.DateCompleted = v; }
    DATE GetReminderTime() const { return stored_.fields.ReminderTime; }
    void SetReminderTime(DATE v) { stored_.fields.ReminderTime = v; }
    // 0 low, 1 normal, 2 high.
    int32_t GetImportance() const { return stored_.fields.Importance; }
    void SetImportance(int32_t v) { stored_.fields.Importance = v; }
    bool GetComplete() const { return stored_.fields.Complete; }
    // Completing stamps the completion date with the current local time; reopening clears it.
    void SetComplete(bool v);

private:
    DATE PatternStart() const override { return stored_.fields.StartDate; }
    int32_t PatternMinutes() const override { return 0; }
};

} // namespace pim
