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
    void SetShownDayCount(int /*count*/) override {}
    std::wstring ApptOid(int /*row*/, int /*pos*/) const override { return {}; }
    int ApptStoreIndex(int /*row*/, int /*pos*/) const override { return -1; }
    int ApptExceptionNo(int /*row*/, int /*pos*/) const override { return 0; }
    std::wstring TaskOid(int /*row*/, int /*pos*/) const override { return {}; }
    int TaskStoreIndex(int /*row*/, int /*pos*/) const override { return -1; }

    int ApptCount(int /*row*/) const override { return 0; }
    int StartMinutes(int /*row*/, int /*pos*/) const override { return 0; }
    int EndMinutes(int /*row*/, int /*pos*/) const override { return 0; }
    std::wstring StartText(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring EndText(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring ApptSubject(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring ApptCategories(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring ApptLocation(int /*row*/, int /*pos*/) const override { return {}; }
    bool IsAllDay(int /*row*/, int /*pos*/) const override { return false; }
    int EntryState(int /*row*/, int /*pos*/) const override { return 0; }
    int Busy(int /*row*/, int /*pos*/) const override { return 0; }
    int DayKind(int /*row*/, int /*pos*/) const override { return 0; }
    int TaskCount(int /*row*/) const override { return 0; }
    std::wstring TaskSubject(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring TaskCategories(int /*row*/, int /*pos*/) const override { return {}; }
    std::wstring TaskDueText(int /*row*/, int /*pos*/) const override { return {}; }
    bool TaskRecurring(int /*row*/, int /*pos*/) const override { return false; }
    bool TaskStartsHere(int /*row*/, int /*pos*/) const override { return false; }
    bool TaskDueHere(int /*row*/, int /*pos*/) const override { return false; }
    bool TaskComplete(int /*row*/, int /*pos*/) const override { return false; }
    bool TaskHasDue(int /*row*/, int /*pos*/) const override { return false; }
    bool TaskOverdue(int /*row*/, int /*pos*/) const override { return false; }

private:
    SYSTEMTIME start_ = TruncateSystemTime(GetLocalTime(), 3);
};
