// A save writes the item's row, its pattern and exceptions, its calendar and its change mark in
// one transaction (a savepoint inside a batch); Find's row follows at once, or at the end of a
// batch, where it is built for every written item in two statements.
#include "platform/pim/store_writes.h"

#include <QRandomGenerator>
#include <QString>
#include <sqlite3.h>

#include <cmath>
#include <limits>

#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_access.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_connection.h"
#include "platform/pim/store_rows.h"
#include "platform/pim/store_schema.h"

namespace pim {
namespace {

// 128 random bits in the form the migration gives: unique across stores, safe in a URL.
std::wstring FreshUid()
{
    QRandomGenerator* random = QRandomGenerator::system();
    return QString::asprintf("%016llx%016llx",
                             static_cast<unsigned long long>(random->generate64()),
                             static_cast<unsigned long long>(random->generate64()))
        .toStdWString();
}

} // namespace

int32_t StoreWriter::Save(StoredItem& item, SyncMark mark)
{
    const bool outermost = !db_.InTransaction();
    if (db_.BeginWrite(outermost) != 0) {
        return -1;
    }
    if (item.pattern) {
        FillCountedEndDate(*item.pattern);
    }
    int32_t oid = item.fields.Oid;
    const bool insert = oid <= 0;
    const std::wstring previousUid = item.fields.UID;
    if (insert && item.fields.UID.empty()) {
        item.fields.UID = FreshUid();
    }
    int32_t calendar = 0;
    int32_t status = PlaceInCalendar(item, mark, calendar);
    status = status < 0 ? status : WriteItem(item, calendar, oid);
    if (status >= 0 && mark == SyncMark::Change) {
        status = MarkChanged(oid, insert);
    }
    status = db_.EndWrite(outermost, status);
    if (status >= 0) {
        item.fields.Oid = oid; // only once the row is really there
        item.calendar = calendar;
    } else {
        item.fields.UID = previousUid;
    }
    return status;
}

// A local change that moves a server's resource to another calendar deletes it there and
// pushes it anew to the collection it went to; the item itself is never without a copy here.
int32_t StoreWriter::PlaceInCalendar(const StoredItem& item, SyncMark mark, int32_t& calendar)
{
    if (const NewPlacement* placed = PlacedBefore(item, mark)) {
        calendar = placed->calendar;
        return 0;
    }
    StoreAccess access(db_, StoreVersions::kCalendarsVersion);
    CalendarPlacement place;
    const int32_t oid = item.fields.Oid;
    if (PlaceItem(access, oid, item.kind, item.calendar, mark == SyncMark::Change, place) != 0) {
        if (!place.refusal.empty()) {
            db_.SetWriteError(place.refusal);
        }
        return -1;
    }
    calendar = place.calendar;
    if (bulk_ && oid <= 0) {
        placed_.push_back({item.kind, item.calendar, mark, db_.SideGeneration(), calendar});
    }
    if (!place.Moved() || mark != SyncMark::Change) {
        return 0;
    }
    return WriteTombstone(oid) == 0 &&
                   db_.Statement("UPDATE sync_links SET calendar = NULL, href = NULL, etag = NULL, "
                                 "pushed = 0 WHERE oid = ?")
                           .Bind(oid)
                           .Step() == SQLITE_DONE
               ? 0
               : -1;
}

// Only a new item's place depends on nothing but the calendars themselves.
const StoreWriter::NewPlacement* StoreWriter::PlacedBefore(const StoredItem& item,
                                                           SyncMark mark) const
{
    if (!bulk_ || item.fields.Oid > 0) {
        return nullptr;
    }
    for (const NewPlacement& p : placed_) {
        if (p.kind == item.kind && p.asked == item.calendar && p.mark == mark &&
            p.generation == db_.SideGeneration()) {
            return &p;
        }
    }
    return nullptr;
}

// An item without a link row counts as change 1, so a replaced one starts at 2: a round that
// read it before this save must see it changed.
int32_t StoreWriter::MarkChanged(int32_t oid, bool inserted)
{
    SqliteStatement& mark =
        db_.Statement("INSERT INTO sync_links (oid, change, pushed, conflict) VALUES (?, ?, 0, 0) "
                      "ON CONFLICT (oid) DO UPDATE SET change = change + 1, conflict = 0");
    return mark.Bind(oid).Bind(int64_t{inserted ? 1 : 2}).Step() == SQLITE_DONE ? 0 : -1;
}

void StoreWriter::FillCountedEndDate(RecurrenceFields& pattern) const
{
    if (pattern.NoEndDate || pattern.Occurrences <= 0 || !rule_ ||
        std::trunc(pattern.PatternEndDate) >= std::trunc(pattern.PatternStartDate)) {
        return;
    }
    // Walk the start days of the open-ended series; a count the supported years cannot hold
    // ends the series on their last day.
    RecurrenceFields open = pattern;
    open.NoEndDate = true;
    const double lastDay = std::trunc(SystemTimeToVariantTime(MakeSystemTime(2999, 12, 31)));
    int32_t found = 0;
    double day = std::trunc(pattern.PatternStartDate);
    for (; day < lastDay; day += 1.0) {
        const int state = rule_(open, VariantTimeToSystemTime(day), -1);
        if ((state == 1 || state == 2) && ++found == pattern.Occurrences) {
            break;
        }
    }
    pattern.PatternEndDate = day;
}

int32_t StoreWriter::WriteItem(const StoredItem& item, int32_t calendar, int32_t& oid)
{
    const bool insert = oid <= 0;
    // Built once: every save of a batch would otherwise build and hash them anew.
    static const std::string kInsert = "INSERT INTO items (kind, uid, zone, kept, calendar, " +
                                       kItemColumns + ") VALUES (?, ?, ?, ?, ?, " +
                                       kItemPlaceholders + ")";
    static const std::string kUpdate =
        "UPDATE items SET (kind, uid, zone, kept, calendar, " + kItemColumns +
        ") = (?, ifnull(nullif(?, ''), uid), ?, ?, ?, " + kItemPlaceholders + ") WHERE oid = ?";
    SqliteStatement& row = db_.Statement(insert ? kInsert : kUpdate);
    BindFields(row.Bind(item.kind)
                   .Bind(item.fields.UID)
                   .Bind(item.fields.Zone)
                   .Bind(item.fields.Kept)
                   .Bind(calendar),
               item.fields);
    if (!insert) {
        row.Bind(oid);
    }
    if (row.Step() != SQLITE_DONE || (!insert && db_.Changes() != 1)) {
        return -1; // also an update of an item deleted meanwhile: never resurrect it
    }
    if (insert) {
        // Object ids are 32-bit; past the last one a save fails instead of wrapping around.
        const int64_t rowid = db_.LastInsertId();
        if (rowid <= 0 || rowid > std::numeric_limits<int32_t>::max()) {
            return -1;
        }
        oid = static_cast<int32_t>(rowid);
    }
    if (WritePattern(oid, item, insert) != 0) {
        return -1;
    }
    if (bulk_) {
        bulk_->Written(oid);
        return 0;
    }
    return WriteFindText(oid);
}

// Find's index follows every save, inside the save's transaction, read back from the rows just
// written (the exceptions included) by the same expression the migration fills it with.
int32_t StoreWriter::WriteFindText(int32_t oid)
{
    if (db_.Statement("DELETE FROM find_text WHERE rowid = ?").Bind(oid).Step() != SQLITE_DONE) {
        return -1;
    }
    static const std::string kInsert = "INSERT INTO find_text (rowid, text) SELECT i.oid, " +
                                       kFoldedText + " FROM items i WHERE i.oid = ?";
    SqliteStatement& row = db_.Statement(kInsert);
    row.Bind(oid);
    return row.Step() == SQLITE_DONE && db_.Changes() == 1 ? 0 : -1;
}

int32_t StoreWriter::WritePattern(int32_t oid, const StoredItem& item, bool inserted)
{
    // A new object id has never been used, so nothing depends on it yet.
    if (!inserted && DeleteDependents(oid) != 0) {
        return -1;
    }
    if (!item.pattern) {
        return 0;
    }
    const RecurrenceFields& p = *item.pattern;
    static const std::string kInsertPattern =
        "INSERT INTO patterns (oid, " + kPatternColumns + ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    static const std::string kInsertException =
        "INSERT INTO exceptions (oid, original_date, deleted, kept, " + kItemColumns +
        ") VALUES (?,?,?,?," + kItemPlaceholders + ")";
    SqliteStatement& pattern = db_.Statement(kInsertPattern);
    BindPattern(pattern.Bind(oid), p);
    if (pattern.Step() != SQLITE_DONE) {
        return -1;
    }
    SqliteStatement& exception = db_.Statement(kInsertException);
    for (const ExceptionFields& e : item.exceptions) {
        exception.Reset();
        BindFields(exception.Bind(oid).Bind(e.OriginalDate).Bind(e.Deleted).Bind(e.occurrence.Kept),
                   e.occurrence);
        if (exception.Step() != SQLITE_DONE) {
            return -1;
        }
    }
    return 0;
}

int32_t StoreWriter::DeleteDependents(int32_t oid)
{
    return db_.Statement("DELETE FROM patterns WHERE oid = ?").Bind(oid).Step() == SQLITE_DONE &&
                   db_.Statement("DELETE FROM exceptions WHERE oid = ?").Bind(oid).Step() ==
                       SQLITE_DONE &&
                   (bulk_
                        ? (bulk_->Note(oid), true)
                        : db_.Statement("DELETE FROM find_text WHERE rowid = ?").Bind(oid).Step() ==
                              SQLITE_DONE)
               ? 0
               : -1;
}

int32_t StoreWriter::Delete(int32_t oid, SyncMark mark)
{
    const bool outermost = !db_.InTransaction();
    if (oid <= 0 || db_.BeginWrite(outermost) != 0) {
        return -1;
    }
    StoredItem gone;
    gone.fields.Oid = oid;
    int32_t calendar = 0;
    const bool deleted =
        PlaceInCalendar(gone, mark, calendar) == 0 &&
        (mark == SyncMark::None || WriteTombstone(oid) == 0) && DeleteDependents(oid) == 0 &&
        db_.Statement("DELETE FROM items WHERE oid = ?").Bind(oid).Step() == SQLITE_DONE &&
        db_.Changes() == 1 &&
        db_.Statement("DELETE FROM sync_links WHERE oid = ?").Bind(oid).Step() == SQLITE_DONE;
    return db_.EndWrite(outermost, deleted ? 0 : -1);
}

// Only a resource the server holds needs deleting there; the newest etag of a href wins.
int32_t StoreWriter::WriteTombstone(int32_t oid)
{
    SqliteStatement& tombstone =
        db_.Statement("INSERT OR REPLACE INTO sync_tombstones (calendar, href, etag, uid) "
                      "SELECT ifnull(l.calendar, ''), l.href, l.etag, i.uid FROM sync_links l JOIN "
                      "items i ON i.oid = l.oid "
                      "WHERE l.oid = ? AND l.href != ''");
    return tombstone.Bind(oid).Step() == SQLITE_DONE ? 0 : -1;
}

int32_t StoreWriter::RunInOneTransaction(const std::function<int32_t()>& work)
{
    if (db_.Writable() && db_.InTransaction()) {
        return work();
    }
    if (db_.BeginWrite(true) != 0) {
        return -1;
    }
    bulk_.emplace(db_.Handle());
    int32_t status = work();
    if (status >= 0 &&
        bulk_->Finish("INSERT INTO find_text (rowid, text) SELECT i.oid, " + kFoldedText +
                      " FROM items i WHERE i.oid IN "
                      "(SELECT oid FROM temp.batch_written)") < 0) {
        status = -1;
    }
    bulk_.reset();
    placed_.clear();
    return db_.EndWrite(true, status);
}

} // namespace pim
