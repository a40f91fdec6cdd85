// Saving and deleting items. An occurrence is never stored on its own: its save or delete
// becomes an exception of its series, and the series is saved with it.
#include "platform/pim/pim_item.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/pim/kept_revision.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/store_database.h"

namespace pim {

PimItem::PimItem(std::shared_ptr<StoreDatabase> db, StoredItem stored)
    : stored_(std::move(stored)), base_(std::make_shared<const StoredItem>(stored_)),
      db_(std::move(db))
{
}

PimItem::PimItem(std::shared_ptr<StoreDatabase> db, std::shared_ptr<const StoredItem> loaded)
    : stored_(*loaded), base_(std::move(loaded)), db_(std::move(db))
{
}

PimItem::PimItem(std::shared_ptr<PimItem> series, const ItemFields& fields, DATE originalDay)
    : PimItem(series->db_, StoredItem{kAppointmentKind, fields, std::nullopt, {}})
{
    stored_.fields.Oid = series->GetOid();
    master_ = std::move(series);
    originalDate_ = originalDay;
}

PimItem::~PimItem() = default;

RecurrenceFields& PimItem::EditablePattern()
{
    if (!stored_.pattern) {
        stored_.pattern = RecurrenceFields{};
    }
    return *stored_.pattern;
}

const OccurrenceRule* PimItem::Rule() const
{
    return db_ && db_->Rule() ? &db_->Rule() : nullptr;
}

int32_t PimItem::GetRecurrencePattern(std::shared_ptr<RecurrencePattern>* out)
{
    if (out == nullptr) {
        return -1;
    }
    if (IsOccurrence()) {
        return master_->GetRecurrencePattern(out);
    }
    if (!stored_.pattern) {
        stored_.pattern = RecurrencePattern::WeeklyFrom(PatternStart(), PatternMinutes());
        stored_.fields.Zone.clear(); // a pattern made here is in local time, as its times are
    }
    *out = std::make_shared<RecurrencePattern>(shared_from_this());
    return 0;
}

int32_t PimItem::ClearRecurrencePattern()
{
    if (IsOccurrence()) {
        return -1;
    }
    stored_.pattern.reset();
    stored_.exceptions.clear();
    return 0;
}

// The exception of the occurrence's original day in its series, created when there is none.
ExceptionFields& PimItem::ExceptionOfOccurrence()
{
    auto& list = master_->stored_.exceptions;
    const auto at =
        std::lower_bound(list.begin(), list.end(), originalDate_,
                         [](const ExceptionFields& e, DATE d) { return e.OriginalDate < d; });
    if (at != list.end() && at->OriginalDate == originalDate_) {
        return *at;
    }
    ExceptionFields created;
    created.OriginalDate = originalDate_;
    return *list.insert(at, created);
}

int32_t PimItem::Save()
{
    if (!db_) {
        return -1;
    }
    if (!IsOccurrence()) {
        if (!(stored_ == *base_)) { // the stamp asks the zone rules: not for an unchanged item
            RenewChangedRevisions(*base_, stored_, UtcStamp(GetLocalTime()));
        }
        const int32_t status = db_->Save(stored_);
        if (status >= 0) {
            base_ = std::make_shared<const StoredItem>(stored_);
        }
        return status;
    }
    ExceptionOfOccurrence().Deleted = false;
    ExceptionOfOccurrence().occurrence = stored_.fields;
    const int32_t status = master_->Save();
    if (status >= 0) {
        stored_.fields = ExceptionOfOccurrence().occurrence; // with its renewed revision
    }
    return status;
}

int32_t PimItem::Delete()
{
    if (!db_) {
        return -1;
    }
    if (!IsOccurrence()) {
        return db_->Delete(GetOid());
    }
    ExceptionFields& e = ExceptionOfOccurrence();
    e.Deleted = true;
    e.occurrence = stored_.fields;
    e.occurrence.Kept.clear(); // a deleted occurrence travels as an EXDATE of its series
    return master_->Save();
}

int32_t PimItem::ReplaceStored(StoredItem stored, KeptRevision revision)
{
    if (IsOccurrence() || stored.kind != stored_.kind) {
        return -1;
    }
    stored.fields.Oid = stored_.fields.Oid;
    stored_ = std::move(stored);
    if (revision == KeptRevision::AsItCame) {
        base_ = std::make_shared<const StoredItem>(stored_);
    }
    return 0;
}

} // namespace pim
