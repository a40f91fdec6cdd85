// The one path every change the user makes takes to the store: find the item by its object id,
// apply the change, save, patch the document (the item's stale entries out, the item in again
// while the serial counter allows, else a reload) and say what to redraw. Each change is a value
// holding the item's values before and after, so changes can be kept and replayed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/item_values.h"
#include "model/pim_records.h"
#include "platform/pim/store_calendars.h"

class CTamberloDoc;
class PimSession;

enum class ChangeKind {
    kSave,            // a new or edited item, or an occurrence saved as an exception
    kDelete,          // an item, or an occurrence (recorded as a deleted exception)
    kCancelException, // one exception of a series, or all of them
    kCompleteTask,
    kRestore, // puts back an item's whole stored state (undo and redo); oid 0 re-creates it
};

// Which item a change is for.
struct ItemRef {
    ItemRef() = default;
    ItemRef(pim::ItemKind itemKind, int32_t id, DATE day = 0.0)
        : kind(itemKind), oid(id), occurrenceDay(day)
    {
    }

    pim::ItemKind kind = pim::kAppointmentKind;
    int32_t oid = 0;          // 0 for an item not saved yet
    DATE occurrenceDay = 0.0; // the original day of an occurrence; 0 for the item itself
};

struct ScheduleChange {
    ScheduleChange() = default;
    ScheduleChange(ChangeKind kind, const ItemRef& ref) : what(kind), item(ref) {}

    ChangeKind what = ChangeKind::kSave;
    ItemRef item;
    // The values the change started from: when given, the change is written only while the
    // stored item still holds them. Filled in by Apply otherwise; none for a new item.
    std::optional<ItemValues> before;
    std::optional<ItemValues> after;      // kSave: the values to store; filled in otherwise
    int32_t exceptionNo = 0;              // kCancelException: from 1, or -1 for all
    bool keepSimple = false;              // kCompleteTask: mark complete instead of moving on
    std::optional<pim::StoredItem> whole; // kRestore: values, pattern and exceptions to store
};

// What a change that went through did to the whole stored item (the series, for a change to
// an occurrence): none before for a new item, none after for a deleted one.
struct StoredChange {
    ChangeKind what = ChangeKind::kSave;
    ItemRef item; // with the object id the item has after the change
    std::optional<pim::StoredItem> before;
    std::optional<pim::StoredItem> after;
};

enum class EditStatus {
    kDone,
    kNotFound,         // no item has the object id (deleted meanwhile): the document was reloaded
    kNoOccurrence,     // the series has no such occurrence or exception
    kSaveFailed,       // the store refused; nothing changed (StoreError() says why when it knows)
    kChangedMeanwhile, // the stored item no longer holds `before`: nothing written
    kOtherStore,       // the file is another store than the tables came from: reloaded, not written
};

enum class Redraw { kNothing, kInPlace, kReloaded };

struct EditResult {
    EditStatus status = EditStatus::kDone;
    Redraw redraw = Redraw::kNothing;
    ScheduleChange change;
    std::optional<ItemValues> current; // kChangedMeanwhile: the values the store holds now
};

// An item's values as the store holds them, for an editor to start from.
struct ReadResult {
    EditStatus status = EditStatus::kDone;
    ItemRef item; // with the occurrence's original day when one was asked for
    ItemValues values;
};

class ScheduleEdits {
public:
    // Above this serial count the document is reloaded rather than patched.
    static constexpr int32_t kSerialLimit = 99999;

    ScheduleEdits(CTamberloDoc& document, PimSession& session);

    // The item itself, or its occurrence that starts on item.occurrenceDay.
    ReadResult Read(const ItemRef& item);
    // The occurrence of an appointment series that covers `day` (it may have started on an
    // earlier day); kNoOccurrence when none does or it was deleted.
    ReadResult ReadOccurrenceCovering(int32_t oid, DATE day);
    // Exception n (from 1) of an appointment series; kNoOccurrence for a deleted one.
    ReadResult ReadException(int32_t oid, int32_t n);

    EditResult Apply(ScheduleChange change);
    // Apply, and when another program changed the item meanwhile, ask `overwrite` (handed what
    // the store holds now) whether to write over that change; asked again should the item
    // change once more before the write.
    EditResult ApplyOrAsk(ScheduleChange change,
                          const std::function<bool(const ItemValues& current)>& overwrite);

    // Why the last read or change failed when the store itself gave the reason (it could not be
    // opened, is in use, full or read-only): one sentence naming the file; else empty.
    const std::wstring& StoreError() const { return storeError_; }

    // The whole stored item: kDone with it, kNotFound when there is none, kSaveFailed when the
    // store cannot be opened.
    EditStatus ReadStored(pim::ItemKind kind, int32_t oid, std::optional<pim::StoredItem>& out);
    // The store's calendars in their order; empty when the store cannot be read.
    std::vector<pim::Calendar> Calendars();
    // Told of every change Apply made, inside the change's connection (the undo stack listens).
    using Watcher = std::function<void(const StoredChange&)>;
    void SetWatcher(Watcher watcher) { watcher_ = std::move(watcher); }

    CTamberloDoc& Document() { return document_; }

private:
    // A store that cannot be opened or is another file than the tables came from: the status
    // to refuse with, else kDone.
    EditStatus CheckStore(Redraw& redraw);
    bool RefuseRead(ReadResult& result);
    std::shared_ptr<pim::RecurrencePattern> ReadableSeries(int32_t oid, ReadResult& result);
    void ApplyInStore(ScheduleChange& change, EditResult& result);
    static EditStatus ApplyToAppointment(ScheduleChange& change, AppointItem& series,
                                         std::optional<ItemValues>& current);
    static EditStatus ApplyToTask(ScheduleChange& change, TaskItem& task,
                                  std::optional<ItemValues>& current);
    void Patch(const ScheduleChange& change, pim::AppointmentItem* series, pim::TaskItem* task,
               EditResult& result);
    void Tell(const ScheduleChange& change, std::optional<pim::StoredItem> before);

    CTamberloDoc& document_;
    PimSession& session_;
    Watcher watcher_;
    std::wstring storeError_;
};
