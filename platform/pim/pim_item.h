// Appointment and task items: in-memory snapshots of a stored item. Setters change only the
// object; Save writes the whole item, its pattern and its exceptions in one transaction.
#pragma once

#include <memory>

#include "platform/pim/item_fields.h"

namespace pim {

class RecurrencePattern;
class StoreDatabase;

class PimItem : public std::enable_shared_from_this<PimItem> {
public:
    PimItem(std::shared_ptr<StoreDatabase> db, StoredItem stored);
    virtual ~PimItem();

    int32_t GetOid() const { return stored_.fields.Oid; }
    bool GetIsRecurring() const { return stored_.pattern.has_value() && !IsOccurrence(); }
    std::wstring GetSubject() const { return stored_.fields.Subject; }
    void SetSubject(const std::wstring& v) { stored_.fields.Subject = v; }
    std::wstring GetCategories() const { return stored_.fields.Categories; }
    void SetCategories(const std::wstring& v) { stored_.fields.Categories = v; }
    std::wstring GetBody() const { return stored_.fields.Body; }
    void SetBody(const std::wstring& v) { stored_.fields.Body = v; }
    int32_t GetSensitivity() const { return stored_.fields.Sensitivity; }
    void SetSensitivity(int32_t v) { stored_.fields.Sensitivity = v; }
    bool GetReminderSet() const { return stored_.fields.ReminderSet; }
    void SetReminderSet(bool v) { stored_.fields.ReminderSet = v; }
    int32_t GetReminderOptions() const { return stored_.fields.ReminderOptions; }
    void SetReminderOptions(int32_t v) { stored_.fields.ReminderOptions = v; }
    std::wstring GetReminderSoundFile() const { return stored_.fields.ReminderSoundFile; }
    void SetReminderSoundFile(const std::wstring& v) { stored_.fields.ReminderSoundFile = v; }

    // The pattern of a recurring item; a new default one (weekly from the item's start) when
    // there is none. Fails on an occurrence.
    int32_t GetRecurrencePattern(std::shared_ptr<RecurrencePattern>* out);
    // Drops the pattern and its exceptions at the next save.
    int32_t ClearRecurrencePattern();
    int32_t Save();
    int32_t Delete();

    // Whether this item is one occurrence of a recurring appointment.
    bool IsOccurrence() const { return master_ != nullptr; }
    const StoredItem& Stored() const { return stored_; }

protected:
    friend class RecurrencePattern;
    StoredItem stored_;
    std::shared_ptr<StoreDatabase> db_;
    // For an occurrence: the series it belongs to and the day it originally fell on.
    std::shared_ptr<PimItem> master_;
    DATE originalDate_ = 0.0;

private:
    virtual DATE PatternAnchor() const = 0;
};

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
    int32_t GetBusyStatus() const { return stored_.fields.BusyStatus; }
    void SetBusyStatus(int32_t v) { stored_.fields.BusyStatus = v; }
    int32_t GetReminderMinutesBeforeStart() const { return stored_.fields.ReminderMinutesBeforeStart; }
    void SetReminderMinutesBeforeStart(int32_t v) { stored_.fields.ReminderMinutesBeforeStart = v; }

    // A new unsaved single appointment with this item's fields (never its recurrence).
    std::shared_ptr<AppointmentItem> Copy() const;

private:
    DATE PatternAnchor() const override { return stored_.fields.Start; }
};

class TaskItem : public PimItem {
public:
    using PimItem::PimItem;
    DATE GetStartDate() const { return stored_.fields.StartDate; }
    void SetStartDate(DATE v) { stored_.fields.StartDate = v; }
    DATE GetDueDate() const { return stored_.fields.DueDate; }
    void SetDueDate(DATE v) { stored_.fields.DueDate = v; }
    DATE GetDateCompleted() const { return stored_.fields.DateCompleted; }
    DATE GetReminderTime() const { return stored_.fields.ReminderTime; }
    void SetReminderTime(DATE v) { stored_.fields.ReminderTime = v; }
    int32_t GetImportance() const { return stored_.fields.Importance; }
    void SetImportance(int32_t v) { stored_.fields.Importance = v; }
    bool GetComplete() const { return stored_.fields.Complete; }
    // Completing stamps the completion date with the current time, as a calendar store does.
    void SetComplete(bool v);

    std::shared_ptr<TaskItem> Copy() const;

private:
    DATE PatternAnchor() const override { return stored_.fields.StartDate; }
};

}  // namespace pim
