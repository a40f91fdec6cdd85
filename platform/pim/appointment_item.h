// One appointment, or one occurrence of a recurring appointment, with the properties the
// schedule reads and writes.
#pragma once

#include "platform/pim/pim_item.h"

namespace pim {

class AppointmentItem : public PimItem {
public:
    using PimItem::PimItem;

    std::wstring GetLocation() const { return stored_.fields.Location; }
    void SetLocation(const std::wstring& v) { stored_.fields.Location = v; }
    DATE GetStart() const { return stored_.fields.Start; }
    void SetStart(DATE v) { stored_.fields.Start = v; }
    DATE GetEnd() const { return stored_.fields.End; }
    void SetEnd(DATE v) { stored_.fields.End = v; }
    bool GetAllDayEvent() const { return stored_.fields.AllDayEvent; }
    void SetAllDayEvent(bool v) { stored_.fields.AllDayEvent = v; }
    // 0 free, 1 tentative, 2 busy, 3 out of office.
    int32_t GetBusyStatus() const { return stored_.fields.BusyStatus; }
    void SetBusyStatus(int32_t v) { stored_.fields.BusyStatus = v; }
    int32_t GetReminderMinutesBeforeStart() const
    {
        return stored_.fields.ReminderMinutesBeforeStart;
    }
    void SetReminderMinutesBeforeStart(int32_t v) { stored_.fields.ReminderMinutesBeforeStart = v; }

private:
    DATE PatternStart() const override { return stored_.fields.Start; }
    int32_t PatternMinutes() const override;
};

} // namespace pim
