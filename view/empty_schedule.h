// A schedule without items, starting today: what the view shows before a document is attached.
#pragma once

#include "model/date_time.h"
#include "platform/clock.h"
#include "view/schedule_source.h"

class EmptySchedule : public ScheduleSource {
public:
    SYSTEMTIME GetShownStart() const override { return start_; }
    bool SetShownStart(const SYSTEMTIME& firstDay) override
    {
        start_ = firstDay;
        return true;
    }
    void Reload() override {}
    void SetShownDayCount(int) override {}
    std::wstring ApptOid(int, int) const override { return {}; }
    int ApptStoreIndex(int, int) const override { return -1; }
    int ApptExceptionNo(int, int) const override { return 0; }
    std::wstring TaskOid(int, int) const override { return {}; }
    int TaskStoreIndex(int, int) const override { return -1; }

    int ApptCount(int) const override { return 0; }
    int StartMinutes(int, int) const override { return 0; }
    int EndMinutes(int, int) const override { return 0; }
    std::wstring StartText(int, int) const override { return {}; }
    std::wstring EndText(int, int) const override { return {}; }
    std::wstring ApptSubject(int, int) const override { return {}; }
    std::wstring ApptCategories(int, int) const override { return {}; }
    std::wstring ApptLocation(int, int) const override { return {}; }
    bool IsAllDay(int, int) const override { return false; }
    int EntryState(int, int) const override { return 0; }
    int Busy(int, int) const override { return 0; }
    int DayKind(int, int) const override { return 0; }
    int TaskCount(int) const override { return 0; }
    std::wstring TaskSubject(int, int) const override { return {}; }
    std::wstring TaskCategories(int, int) const override { return {}; }
    std::wstring TaskDueText(int, int) const override { return {}; }
    bool TaskRecurring(int, int) const override { return false; }
    bool TaskStartsHere(int, int) const override { return false; }
    bool TaskDueHere(int, int) const override { return false; }
    bool TaskComplete(int, int) const override { return false; }
    bool TaskHasDue(int, int) const override { return false; }
    bool TaskOverdue(int, int) const override { return false; }

private:
    SYSTEMTIME start_ = TruncateSystemTime(GetLocalTime(), 3);
};
