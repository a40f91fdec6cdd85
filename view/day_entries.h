// What the painters read of the schedule: the document's per-day entries, addressed by day row
// (0 = first shown day) and entry position. The view passes the document through an adapter;
// tests pass a small table of their own, so drawing is tested without a store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/systemtime.h"

// EntryState values of an appointment entry.
enum EntryKind : int {
    kPlainEntry = 0,
    kOccurrenceEntry = 1,
    kChangedOccurrenceEntry = 2,
    kMovedOccurrenceEntry = 3,
    kDeletedOccurrenceEntry = 4,
};

// Moved and deleted occurrences are listed in the detail area only and never conflict.
inline bool IsMovedOrDeleted(int state)
{
    return state == kMovedOccurrenceEntry || state == kDeletedOccurrenceEntry;
}

class DayEntries {
public:
    virtual ~DayEntries() = default;

    virtual SYSTEMTIME GetShownStart() const = 0;

    virtual int ApptCount(int row) const = 0;
    virtual int StartMinutes(int row, int pos) const = 0;
    virtual int EndMinutes(int row, int pos) const = 0;
    virtual std::wstring StartText(int row, int pos) const = 0;
    virtual std::wstring EndText(int row, int pos) const = 0;
    virtual std::wstring ApptSubject(int row, int pos) const = 0;
    virtual std::wstring ApptCategories(int row, int pos) const = 0;
    virtual std::wstring ApptLocation(int row, int pos) const = 0;
    virtual bool IsAllDay(int row, int pos) const = 0;
    virtual int EntryState(int row, int pos) const = 0; // 0 plain .. 4 deleted occurrence
    virtual int Busy(int row, int pos) const = 0;       // 0 free .. 3 out of office
    virtual int DayKind(int row, int pos) const = 0;    // 0 none, 1-2 holiday, 3 rest, 4 memorial
    // The kept component of a meeting (ical::MeetingOf reads it); empty for any other entry.
    virtual std::string ApptMeeting(int row, int pos) const
    {
        (void)row;
        (void)pos;
        return {};
    }

    // The colour (0x00BBGGRR) of the calendar an entry's item belongs to, where items are
    // marked by their calendar; none where they are not.
    virtual std::optional<uint32_t> ApptCalendarColour(int row, int pos) const
    {
        (void)row;
        (void)pos;
        return std::nullopt;
    }
    virtual std::optional<uint32_t> TaskCalendarColour(int row, int pos) const
    {
        (void)row;
        (void)pos;
        return std::nullopt;
    }

    virtual int TaskCount(int row) const = 0;
    virtual std::wstring TaskSubject(int row, int pos) const = 0;
    virtual std::wstring TaskCategories(int row, int pos) const = 0;
    virtual std::wstring TaskDueText(int row, int pos) const = 0;
    virtual bool TaskRecurring(int row, int pos) const = 0;
    virtual bool TaskStartsHere(int row, int pos) const = 0;
    virtual bool TaskDueHere(int row, int pos) const = 0;
    virtual bool TaskComplete(int row, int pos) const = 0;
    virtual bool TaskHasDue(int row, int pos) const = 0;
    virtual bool TaskOverdue(int row, int pos) const = 0;
};
