// The view's appointment commands in one call each: Add Appoint, Edit Appoint (with the
// recurring-change question, its "All", "Excep" and "Clear all exception" outcomes and the
// recovery of a deleted occurrence) and the Delete key. Each ends in the change path and says
// what the view redraws.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "editors/editor_services.h"
#include "platform/systemtime.h"

class AppointmentEditing {
public:
    explicit AppointmentEditing(EditorServices& services) : services_(services) {}

    // The one-hour slot a new appointment on `day` starts with: from the hour after `now`, or
    // 23:00 to 00:00 of the next day when it is 22:00 or later.
    static std::pair<DATE, DATE> NewAppointmentTimes(const SYSTEMTIME& day, const SYSTEMTIME& now);

    // Add Appoint on the selected day at the current local time's next hour.
    Redraw Add(const SYSTEMTIME& day);
    // A new appointment between two times in either order (a sweep over empty hours).
    Redraw AddBetween(DATE first, DATE second);
    // Edit Appoint on the document's appointment entry (row, position).
    Redraw Edit(int row, int position);
    // The Delete key on that entry, after the editor's own confirmation.
    Redraw Delete(int row, int position);
    // The user's answer (a PARTSTAT) to the meeting of that entry, for the series and each
    // changed occurrence: only the user's own attendee lines change. A meeting that does not
    // invite the user is told so.
    Redraw Answer(int row, int position, const std::string& partstat);

private:
    struct Entry;
    // A stored series and the change that answers it (none when it holds that answer already).
    struct AnswerRead {
        EditStatus status = EditStatus::kDone;
        bool invited = false;
        std::optional<ScheduleChange> change;
    };

    AnswerRead ReadAnswer(int32_t oid, const std::string& partstat);

    Entry EntryAt(int row, int position) const;
    bool AskRecurringChange(const Entry& entry, int* outcome);
    Redraw Open(const ReadResult& read, bool isNew, bool exceptionMode, bool newException,
                int exceptionNo);
    Redraw ApplyChange(ScheduleChange change);
    Redraw RecoverDeleted(const Entry& entry);
    ReadResult ReadOccurrence(const Entry& entry);

    EditorServices& services_;
};
