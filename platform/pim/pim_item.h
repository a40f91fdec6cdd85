// What appointments and tasks share: an in-memory snapshot of one stored item. Setters change
// only the object; Save writes the whole item, its pattern and its exceptions in one transaction.
#pragma once

#include <memory>

#include "platform/pim/item_fields.h"

namespace pim {

// Whether a whole item handed over is a local change (its kept revision is renewed at the save)
// or the item as it came from outside, revision and all.
enum class KeptRevision { Renew, AsItCame };

class RecurrencePattern;
class StoreDatabase;

class PimItem : public std::enable_shared_from_this<PimItem> {
public:
    PimItem(std::shared_ptr<StoreDatabase> db, StoredItem stored);
    // An item of a loaded collection: its values are measured against the collection's own
    // copy, so handing out every item of a large store copies each once.
    PimItem(std::shared_ptr<StoreDatabase> db, std::shared_ptr<const StoredItem> loaded);
    // An occurrence of `series` with values of its own, on the day it originally fell.
    PimItem(std::shared_ptr<PimItem> series, const ItemFields& fields, DATE originalDay);
    virtual ~PimItem();
    PimItem(const PimItem&) = delete;
    PimItem& operator=(const PimItem&) = delete;

    // 0 until the first save; an occurrence answers the id of its series.
    int32_t GetOid() const { return stored_.fields.Oid; }
    // True for an item with a pattern and for an occurrence of one.
    bool GetIsRecurring() const { return IsOccurrence() || stored_.pattern.has_value(); }

    // The id calendars exchange the item by; an occurrence answers the UID of its series.
    std::wstring GetUID() const { return IsOccurrence() ? master_->GetUID() : stored_.fields.UID; }
    void SetUID(const std::wstring& v) { stored_.fields.UID = v; }

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
    // The id of the item's calendar (0 for a new item: its save takes the default local one);
    // an occurrence is in its series' calendar, which only the series moves.
    int32_t GetCalendar() const
    {
        return IsOccurrence() ? master_->GetCalendar() : stored_.calendar;
    }
    void SetCalendar(int32_t v)
    {
        if (!IsOccurrence()) {
            stored_.calendar = v;
        }
    }
    // The component the item came as (see ItemFields::Kept).
    std::string GetKept() const { return stored_.fields.Kept; }
    void SetKept(const std::string& v) { stored_.fields.Kept = v; }

    // The item's pattern; a new weekly one from the item's start when it has none yet. An
    // occurrence answers the pattern of its series.
    int32_t GetRecurrencePattern(std::shared_ptr<RecurrencePattern>* out);
    // Drops the pattern and all exceptions at the next save. Fails on an occurrence.
    int32_t ClearRecurrencePattern();
    // A new item gets its Oid here. An occurrence is saved as an exception of its series. What
    // changed since the item was read is a new revision of what it kept (the clock's "now").
    int32_t Save();
    // An occurrence is recorded as a deleted exception of its series.
    int32_t Delete();

    bool IsOccurrence() const { return master_ != nullptr; }

    // Every value, the pattern and the exceptions at once, for exchange formats that read or
    // write whole items. Replacing keeps the item's object id and kind; Save writes it.
    const StoredItem& Stored() const { return stored_; }
    int32_t ReplaceStored(StoredItem stored, KeptRevision revision = KeptRevision::Renew);
    // The pattern for its RecurrencePattern to change, made empty when the item has none.
    RecurrenceFields& EditablePattern();
    // The occurrence rule of the item's store; none for an item without one.
    const OccurrenceRule* Rule() const;

protected:
    StoredItem stored_;
    // The item as last read or saved: what a save's changes are measured against.
    std::shared_ptr<const StoredItem> base_;
    std::shared_ptr<StoreDatabase> db_;
    // For an occurrence: the series it belongs to and the day it originally fell on.
    std::shared_ptr<PimItem> master_;
    DATE originalDate_ = 0.0;

private:
    // Where a new default pattern starts and how long its occurrences last.
    virtual DATE PatternStart() const = 0;
    virtual int32_t PatternMinutes() const = 0;
    ExceptionFields& ExceptionOfOccurrence();
};

} // namespace pim
