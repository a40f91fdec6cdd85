// The document as the view reads it: every call passes straight to CTamberloDoc, so the view
// stays testable over small tables of its own while the program paints the real window.
#pragma once

#include "model/tamberlo_doc.h"
#include "view/schedule_source.h"

class DocumentSchedule : public ScheduleSource {
public:
    explicit DocumentSchedule(CTamberloDoc& doc) : doc_(doc) {}

    CTamberloDoc& Document() const { return doc_; }

    SYSTEMTIME GetShownStart() const override { return doc_.GetShownStart(); }
    bool SetShownStart(const SYSTEMTIME& firstDay) override { return doc_.SetShownStart(firstDay); }
    void Reload() override { doc_.Reload(); }
    void SetShownDayCount(int count) override { doc_.SetShownDayCount(count); }
    std::wstring ApptOid(int row, int pos) const override { return doc_.ApptOid(row, pos); }
    int ApptStoreIndex(int row, int pos) const override { return doc_.ApptStoreIndex(row, pos); }
    int ApptExceptionNo(int row, int pos) const override { return doc_.ApptExceptionNo(row, pos); }
    std::wstring TaskOid(int row, int pos) const override { return doc_.TaskOid(row, pos); }
    int TaskStoreIndex(int row, int pos) const override { return doc_.TaskStoreIndex(row, pos); }
    ItemSpan AppointmentSpan(int row, int pos) const override
    {
        const CTamberloDoc::EntryRef first = doc_.FindSpanFirst(row, pos);
        const CTamberloDoc::EntryRef last = doc_.FindSpanLast(row, pos);
        return {first.row, last.row, doc_.StartMinutes(first.row, first.position),
                doc_.EndMinutes(last.row, last.position), doc_.IsAllDay(row, pos)};
    }

    int ApptCount(int row) const override { return doc_.ApptCount(row); }
    int StartMinutes(int row, int pos) const override { return doc_.StartMinutes(row, pos); }
    int EndMinutes(int row, int pos) const override { return doc_.EndMinutes(row, pos); }
    std::wstring StartText(int row, int pos) const override { return doc_.StartText(row, pos); }
    std::wstring EndText(int row, int pos) const override { return doc_.EndText(row, pos); }
    std::wstring ApptSubject(int row, int pos) const override { return doc_.ApptSubject(row, pos); }
    std::wstring ApptCategories(int row, int pos) const override
    {
        return doc_.ApptCategories(row, pos);
    }
    std::wstring ApptLocation(int row, int pos) const override
    {
        return doc_.ApptLocation(row, pos);
    }
    bool IsAllDay(int row, int pos) const override { return doc_.IsAllDay(row, pos); }
    int EntryState(int row, int pos) const override { return doc_.EntryState(row, pos); }
    int Busy(int row, int pos) const override { return doc_.Busy(row, pos); }
    int DayKind(int row, int pos) const override { return doc_.DayKind(row, pos); }
    std::string ApptMeeting(int row, int pos) const override { return doc_.ApptMeeting(row, pos); }
    std::optional<uint32_t> ApptCalendarColour(int row, int pos) const override
    {
        return doc_.CalendarColour(doc_.ApptCalendar(row, pos));
    }
    std::optional<uint32_t> TaskCalendarColour(int row, int pos) const override
    {
        return doc_.CalendarColour(doc_.TaskCalendar(row, pos));
    }

    int TaskCount(int row) const override { return doc_.TaskCount(row); }
    std::wstring TaskSubject(int row, int pos) const override { return doc_.TaskSubject(row, pos); }
    std::wstring TaskCategories(int row, int pos) const override
    {
        return doc_.TaskCategories(row, pos);
    }
    std::wstring TaskDueText(int row, int pos) const override { return doc_.TaskDueText(row, pos); }
    bool TaskRecurring(int row, int pos) const override { return doc_.TaskRecurring(row, pos); }
    bool TaskStartsHere(int row, int pos) const override { return doc_.TaskStartsHere(row, pos); }
    bool TaskDueHere(int row, int pos) const override { return doc_.TaskDueHere(row, pos); }
    bool TaskComplete(int row, int pos) const override { return doc_.TaskComplete(row, pos); }
    bool TaskHasDue(int row, int pos) const override { return doc_.TaskHasDue(row, pos); }
    bool TaskOverdue(int row, int pos) const override { return doc_.TaskOverdue(row, pos); }

private:
    CTamberloDoc& doc_;
};
