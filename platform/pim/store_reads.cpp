// A load reads items, patterns and exceptions in three queries over one restriction; a range
// load first finds the ids that can touch its days through the range indexes, then reads them.
// The queries are the connection's cached statements: a batch finds one item after another.
#include "platform/pim/store_reads.h"

#include <sqlite3.h>

#include <algorithm>
#include <tuple>

#include "platform/pim/find_text.h"
#include "platform/pim/sqlite_statement.h"
#include "platform/pim/store_connection.h"
#include "platform/pim/store_rows.h"
#include "platform/pim/store_schema.h"

namespace pim {
namespace {

// The loaded item of an oid; the list is in ascending oid order.
StoredItem* ItemOf(std::vector<StoredItem>& items, int32_t oid)
{
    const auto at =
        std::lower_bound(items.begin(), items.end(), oid,
                         [](const StoredItem& s, int32_t key) { return s.fields.Oid < key; });
    return at != items.end() && at->fields.Oid == oid ? &*at : nullptr;
}

// Restricts a query on the joined items row `i` to one kind and, when oid > 0, one item. The
// two forms are separate statements so that a find goes straight to its row.
// A series whose own reminder is off still counts when one of its changed occurrences has one.
// "+i.kind": the rows are read in oid order straight from the table; through an index on the
// kind they would be looked up one by one and then sorted.
const std::string kHasReminder = "(i.reminder_set != 0 OR EXISTS (SELECT 1 FROM exceptions x"
                                 " WHERE x.oid = i.oid AND x.reminder_set != 0))";

std::string WhereKindAndOid(int32_t oid, ItemSelection selection)
{
    std::string where = oid > 0 ? " WHERE +i.kind = ? AND i.oid = ?" : " WHERE +i.kind = ?";
    if (selection == ItemSelection::None) {
        where += " AND 0";
    }
    if (selection == ItemSelection::WithReminders) {
        where += " AND " + kHasReminder;
    }
    return where;
}

void BindKindAndOid(SqliteStatement& s, int32_t kind, int32_t oid)
{
    s.Bind(kind);
    if (oid > 0) {
        s.Bind(oid);
    }
}

// Slack on a range's ends: before 1899-12-30 a DATE's fraction counts forward from its day, so
// a stored value there lies up to two days off the time line.
constexpr double kDateSlackDays = 2.0;

// Rows of a table with start_at and end_at whose span touches the range ?2 .. ?3 (the slack
// included): spans up to 40 days long through the start index, longer ones through the length
// index. A span that ends before it starts counts from its start, as placing it does; a start
// that is not a number reads as day 0, so such rows all come along.
std::string SpansTouching(const std::string& table, const std::string& kindTerm)
{
    const std::string rows = "SELECT oid FROM " + table + " WHERE " + kindTerm;
    return rows + "start_at >= ?2 - 41 AND start_at < ?3 AND (end_at >= ?2 OR start_at >= ?2)" +
           " UNION " + rows + kSpanLength + " > 40 AND +start_at < ?3 AND end_at >= ?2" +
           " UNION " + rows + "start_at IS NULL";
}

// Tasks whose start lies before the range's end and whose due day lies in or after it; a
// missing date (before 1900, after 4000 or none) leaves that side open. Each due side is a
// range of the due index, so tasks due before the range are never read.
std::string TasksTouching()
{
    const std::string rows = "SELECT oid FROM items WHERE kind = ?1 AND ";
    const std::string starts = " AND (start_date < ?3 OR start_date < 2.0 OR start_date >= "
                               "767377.0 OR start_date IS NULL)";
    return rows + "due_date >= ?2" + starts + " UNION " + rows + "due_date < 2.0" + starts +
           " UNION " + rows + "due_date IS NULL" + starts;
}

// Series from their first day up to their end plus their occurrences' length (held to a year
// as loads hold it) and the day the start time can add. A task's occurrences last from its
// start to its due date instead, which the document holds to its window of 120 days. Short
// series come through the start index, long ones through the length index, as spans do.
std::string SeriesReaching(int32_t kind)
{
    const std::string margin = kind == kAppointmentKind ? "1" : "122";
    const std::string rows = "SELECT p.oid FROM patterns p JOIN items i ON i.oid = p.oid "
                             "WHERE +i.kind = ?1 AND ";
    const std::string reaches = " AND " + kSeriesReach + " >= ?2 - " + margin;
    return rows + "pattern_start >= ?2 - 401 - " + margin + " AND pattern_start < ?3" + reaches +
           " UNION " + rows + kSeriesLength + " > 400 AND pattern_start < ?3" + reaches +
           " UNION " + rows + "pattern_start IS NULL";
}

// Tasks whose reminder fires in the range ?2 .. ?3, as `reminded`.
std::string TaskRemindersFiring()
{
    return "WITH reminded(oid) AS (SELECT oid FROM items WHERE kind = ?1 AND reminder_set != 0 "
           "AND reminder_time >= ?2 AND reminder_time < ?3) ";
}

// Appointments with a reminder that can touch the range ?2 .. ?3, as `reminded`: single spans
// straight from the index of reminded items, series and changed occurrences by their reach and
// then by whether they or an occurrence remind. (An item whose own span touches but whose
// series does not reach the range has no occurrence there to remind of.)
std::string AppointmentRemindersTouching()
{
    return "WITH wanted(oid) AS (" + SeriesReaching(kAppointmentKind) + " UNION " +
           SpansTouching("exceptions", "") + "), reminded(oid) AS (" +
           SpansTouching("items", "kind = ?1 AND reminder_set != 0 AND ") +
           " UNION SELECT w.oid FROM wanted w JOIN items i ON i.oid = w.oid WHERE " + kHasReminder +
           ") ";
}

// The object ids a range load reads, with kind ?1 and the range ?2 .. ?3.
std::string RangeCandidates(int32_t kind)
{
    const std::string singles =
        kind == kAppointmentKind ? SpansTouching("items", "kind = ?1 AND ") : TasksTouching();
    return "WITH wanted(oid) AS (" + singles + " UNION " + SeriesReaching(kind) + " UNION " +
           SpansTouching("exceptions", "") + ") ";
}

} // namespace

// What one load reads: a condition on the joined items row `i` for the items and one for their
// patterns and exceptions, and the values they bind.
struct StoreReader::Restriction {
    std::string items;
    std::string dependents;
    std::function<void(SqliteStatement&)> bind;
    std::function<int32_t()> prepare = [] { return 0; }; // runs first, in the transaction
    // False: `dependents` is not applied and patterns and exceptions are read whole.
    bool joined = true;
};

int32_t StoreReader::Load(int32_t kind, int32_t oid, std::vector<StoredItem>& out,
                          ItemSelection selection)
{
    // Patterns and exceptions of items the selection left out are read and skipped: filtering
    // them again in SQL costs more than it saves. A load of every item of a kind reads them
    // without a join to their items at all and skips those of the other kind.
    const auto bind = [kind, oid](SqliteStatement& s) { BindKindAndOid(s, kind, oid); };
    Restriction restriction{WhereKindAndOid(oid, selection),
                            WhereKindAndOid(oid, ItemSelection::All), bind};
    restriction.joined = oid > 0;
    return LoadRestricted(kind, restriction, out);
}

int32_t StoreReader::LoadRange(int32_t kind, const DayRange& range, std::vector<StoredItem>& out)
{
    const bool reminders = range.selection == ItemSelection::WithReminders;
    const std::string candidates = !reminders          ? RangeCandidates(kind)
                                   : kind == kTaskKind ? TaskRemindersFiring()
                                                       : AppointmentRemindersTouching();
    return LoadWanted(
        kind,
        candidates + "INSERT INTO temp.wanted_ids SELECT oid FROM " +
            (reminders ? "reminded" : "wanted"),
        [kind, range](SqliteStatement& s) {
            s.Bind(kind).Bind(range.from - kDateSlackDays).Bind(range.until + kDateSlackDays);
        },
        out);
}

int32_t StoreReader::LoadWanted(int32_t kind, const std::string& insertIds,
                                const std::function<void(SqliteStatement&)>& bindIds,
                                std::vector<StoredItem>& out)
{
    // The ids are found once into a table of this connection's own, which even a read-only
    // connection may write, and the three queries read them from there. "+i.kind": the ids
    // lead, each looked up by its oid, instead of every item of the kind being tested.
    const std::string wanted = " WHERE +i.kind = ? AND i.oid IN (SELECT oid FROM temp.wanted_ids)";
    const auto find = [this, &insertIds, &bindIds] {
        if (db_.Exec("CREATE TEMP TABLE IF NOT EXISTS wanted_ids (oid INTEGER PRIMARY KEY);"
                     "DELETE FROM temp.wanted_ids") != 0) {
            return -1;
        }
        SqliteStatement& ids = db_.Statement(insertIds);
        bindIds(ids);
        return ids.Step() == SQLITE_DONE ? 0 : -1;
    };
    const Restriction restriction{wanted, wanted, [kind](SqliteStatement& s) { s.Bind(kind); },
                                  find};
    return LoadRestricted(kind, restriction, out);
}

int32_t StoreReader::LoadRestricted(int32_t kind, const Restriction& restriction,
                                    std::vector<StoredItem>& out)
{
    out.clear();
    const int32_t status = ReadConsistently([&] {
        int32_t step = restriction.prepare();
        step = step < 0 ? step : LoadItems(kind, restriction, out);
        step = step < 0 ? step : LoadPatterns(restriction, out);
        return step < 0 ? step : LoadExceptions(restriction, out);
    });
    if (status < 0) {
        out.clear();
    }
    return status;
}

int32_t StoreReader::ReadConsistently(const std::function<int32_t()>& read)
{
    // One read transaction, so the queries see the same state of the file; inside a batch of
    // saves they read what the batch has written so far.
    const bool outermost = db_.IsOpen() && !db_.InTransaction();
    if (!db_.IsOpen() || (outermost && db_.Exec("BEGIN") != 0)) {
        return -1;
    }
    const int32_t status = read();
    if (outermost) {
        db_.Exec("COMMIT");
    }
    if (status < 0) {
        // A store that fails to read is not written through this connection any more.
        db_.SetReadOnly(true);
        db_.SetLastError(
            db_.Sentence(L"The calendar store ", L" is damaged and could not be read in full."));
    }
    return status;
}

// A statement of its own, finalized at once, so no read stays open after it.
int32_t StoreReader::HoldsUid(const std::wstring& uid)
{
    if (!db_.IsOpen()) {
        return -1;
    }
    if (uid.empty() || db_.Version() < 2) {
        return 0;
    }
    SqliteStatement s(db_.Handle(), "SELECT 1 FROM items WHERE uid = ? LIMIT 1");
    const int step = s.Bind(uid).Step();
    return step == SQLITE_ROW ? 1 : step == SQLITE_DONE ? 0 : -1;
}

int32_t StoreReader::FindMatches(const std::wstring& text, std::vector<FindMatch>& out)
{
    out.clear();
    const std::wstring folded = FoldForFind(text);
    if (folded.empty()) {
        return 0;
    }
    // Trigrams need three characters; a shorter text is looked for in every item's index row,
    // and in a store older than the index (opened read-only) in every item's folded text.
    const bool indexed = db_.Version() >= StoreVersions::kFindVersion;
    const bool phrase = indexed && folded.size() >= 3;
    std::wstring match = folded;
    if (phrase) {
        match.clear();
        for (const wchar_t c : folded) {
            match += c == L'"' ? L"\"\"" : std::wstring(1, c);
        }
        match = L'"' + match + L'"';
    }
    // An index without the changed occurrences' texts (read-only, older) is helped by folding
    // them here.
    const bool exceptionsIndexed = db_.Version() >= StoreVersions::kExceptionFindVersion;
    const std::string inIndex = phrase ? "SELECT rowid FROM find_text WHERE find_text MATCH ?"
                                       : "SELECT rowid FROM find_text WHERE instr(text, ?) > 0";
    const std::string folding = "SELECT oid FROM items i WHERE instr(";
    const std::string matching =
        !indexed            ? folding + kFoldedText + ", ?) > 0"
        : exceptionsIndexed ? inIndex
                            : inIndex + " UNION " + folding + kFoldedExceptionTexts + ", ?) > 0";
    const auto bind = [&](SqliteStatement& s) {
        if (indexed) {
            s.Bind(match);
        }
        if (!exceptionsIndexed) {
            s.Bind(folded);
        }
    };
    const int32_t status = ReadConsistently([&] { return ReadMatches(matching, bind, out); });
    if (status < 0) {
        out.clear();
    }
    return status;
}

// Find reads a few columns of each match in one query and the deleted days of its series in
// another: a find over a fifth of a large store then costs less than half of loading those
// items whole.
int32_t StoreReader::ReadMatches(const std::string& matching,
                                 const std::function<void(SqliteStatement&)>& bind,
                                 std::vector<FindMatch>& out)
{
    SqliteStatement s(
        db_.Handle(),
        std::string("SELECT i.oid, i.kind, i.subject, i.start_at, i.all_day, "
                    "i.start_date, i.due_date, ") +
            (db_.Version() >= StoreVersions::kZoneVersion ? "i.zone, " : "NULL, ") +
            (db_.Version() >= StoreVersions::kCalendarsVersion ? "i.calendar, " : "0, ") +
            "p.oid, " + Qualified(kPatternColumns, "p.") +
            " FROM items i LEFT JOIN patterns p ON p.oid = i.oid"
            " WHERE i.oid IN (" +
            matching + ") AND +i.kind IN (?, ?)");
    bind(s);
    s.Bind(int32_t{kAppointmentKind}).Bind(int32_t{kTaskKind});
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        FindMatch m;
        m.oid = s.Int(0);
        m.kind = s.Int(1);
        m.subject = s.Text(2);
        m.calendar = s.Int(8);
        if (m.kind == kAppointmentKind) {
            m.start = StoredDate(s, 3);
            m.allDay = s.Int(4) != 0;
            if (s.Int(9) != 0) { // the joined pattern's oid; NULL reads as 0
                m.pattern = ReadPattern(s, 10);
                m.pattern->Zone = s.Text(7);
            }
        } else {
            m.startDate = StoredDate(s, 5);
            m.dueDate = StoredDate(s, 6);
        }
        out.push_back(std::move(m));
    }
    if (rc != SQLITE_DONE) {
        return -1;
    }
    // Sorted here: SQLite's sorter would carry every column and cost more than the read.
    std::sort(out.begin(), out.end(), [](const FindMatch& a, const FindMatch& b) {
        return std::tie(a.kind, a.oid) < std::tie(b.kind, b.oid);
    });
    SqliteStatement deleted(db_.Handle(),
                            "SELECT oid, original_date FROM exceptions WHERE deleted != 0"
                            " AND oid IN (" +
                                matching + ") ORDER BY oid, original_date");
    bind(deleted);
    // Only appointments are series; they lead the matches, by oid.
    const auto appointments = std::partition_point(
        out.begin(), out.end(), [](const FindMatch& m) { return m.kind == kAppointmentKind; });
    while ((rc = deleted.Step()) == SQLITE_ROW) {
        const int32_t oid = deleted.Int(0);
        const auto series =
            std::lower_bound(out.begin(), appointments, oid,
                             [](const FindMatch& m, int32_t key) { return m.oid < key; });
        if (series != appointments && series->oid == oid && series->pattern) {
            series->deletedDays.push_back(StoredDate(deleted, 1));
        }
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreReader::LoadItems(int32_t kind, const Restriction& restriction,
                               std::vector<StoredItem>& out)
{
    // A store older than the UIDs or zones is read as it is, without them.
    SqliteStatement& s =
        db_.Statement(std::string("SELECT oid, ") + (db_.Version() >= 2 ? "uid, " : "NULL, ") +
                      (db_.Version() >= StoreVersions::kZoneVersion ? "zone, " : "NULL, ") +
                      (db_.Version() >= StoreVersions::kKeptVersion ? "kept, " : "NULL, ") +
                      (db_.Version() >= StoreVersions::kCalendarsVersion ? "calendar, " : "0, ") +
                      LoadedColumns(kind) + " FROM items i" + restriction.items + " ORDER BY oid");
    restriction.bind(s);
    if (!restriction.joined) {
        // Every item of the kind: counted first through the kind's index, so the list is not
        // moved as it grows.
        SqliteStatement& count = db_.Statement("SELECT count(*) FROM items WHERE kind = ?");
        if (count.Bind(kind).Step() == SQLITE_ROW) {
            out.reserve(out.size() + static_cast<size_t>(std::max<int64_t>(count.Int64(0), 0)));
        }
        count.Reset();
    }
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem& item = out.emplace_back();
        item.kind = kind;
        item.fields = ReadFields(s, 5, kind);
        item.fields.Oid = s.Int(0);
        item.fields.UID = s.Text(1);
        item.fields.Zone = s.Text(2);
        item.fields.Kept = s.Utf8Text(3);
        item.calendar = s.Int(4);
    }
    s.Reset(); // no read stays open between loads
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreReader::LoadPatterns(const Restriction& restriction, std::vector<StoredItem>& out)
{
    SqliteStatement& s = db_.Statement(
        "SELECT p.oid, " + kPatternColumns + " FROM patterns p" +
        (restriction.joined ? " JOIN items i ON i.oid = p.oid" + restriction.dependents
                            : std::string()));
    if (restriction.joined) {
        restriction.bind(s);
    }
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        if (StoredItem* item = ItemOf(out, s.Int(0))) {
            item->pattern = ReadPattern(s, 1);
            item->pattern->Zone = item->fields.Zone; // a series is held in its item's zone
        }
    }
    s.Reset(); // no read stays open between loads
    return rc == SQLITE_DONE ? 0 : -1;
}

int32_t StoreReader::LoadExceptions(const Restriction& restriction, std::vector<StoredItem>& out)
{
    SqliteStatement& s = db_.Statement(
        std::string("SELECT e.oid, e.original_date, e.deleted, ") +
        (db_.Version() >= StoreVersions::kKeptVersion ? "e.kept, " : "NULL, ") +
        Qualified(LoadedColumns(kAppointmentKind), "e.") + " FROM exceptions e" +
        (restriction.joined ? " JOIN items i ON i.oid = e.oid" + restriction.dependents
                            : std::string()) +
        " ORDER BY e.oid, e.original_date");
    if (restriction.joined) {
        restriction.bind(s);
    }
    int rc = 0;
    while ((rc = s.Step()) == SQLITE_ROW) {
        StoredItem* item = ItemOf(out, s.Int(0));
        if (item == nullptr || !item->pattern) {
            continue;
        }
        ExceptionFields e;
        e.OriginalDate = StoredDate(s, 1);
        e.Deleted = s.Int(2) != 0;
        e.occurrence = ReadFields(s, 4, kAppointmentKind);
        e.occurrence.Oid = item->fields.Oid;
        e.occurrence.Kept = s.Utf8Text(3);
        item->exceptions.push_back(std::move(e));
    }
    s.Reset(); // no read stays open between loads
    return rc == SQLITE_DONE ? 0 : -1;
}

} // namespace pim
