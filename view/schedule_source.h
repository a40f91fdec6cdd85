// The schedule as the view uses it: the day entries it paints, plus moving the shown period and
// telling how many days are shown. The document provides it through an adapter.
#pragma once

#include "view/day_entries.h"
#include "view/drag_edit.h"

class ScheduleSource : public DayEntries {
public:
    // Moves the first shown day; false when the new period is not held and must be reloaded.
    virtual bool SetShownStart(const SYSTEMTIME& firstDay) = 0;
    virtual void Reload() = 0;
    virtual void SetShownDayCount(int count) = 0;

    // What a selection keeps of an entry to find its item in the store again.
    virtual std::wstring ApptOid(int row, int pos) const = 0;
    virtual int ApptStoreIndex(int row, int pos) const = 0; // -1: not a store item (holiday)
    virtual int ApptExceptionNo(int row, int pos) const = 0;
    virtual std::wstring TaskOid(int row, int pos) const = 0;
    virtual int TaskStoreIndex(int row, int pos) const = 0;
    // The rows an appointment entry's occurrence is listed on, with its start on the first and
    // its end on the last; a table without multi-day spans lists each entry on its row alone.
    virtual ItemSpan AppointmentSpan(int row, int pos) const
    {
        return {row, row, StartMinutes(row, pos), EndMinutes(row, pos), IsAllDay(row, pos)};
    }
};
