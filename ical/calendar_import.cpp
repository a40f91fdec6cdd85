// The import walks the stream component by component. Series and single items are saved as
// they come; changed occurrences wait until the stream ends, since they may come before their
// series, and are then saved into it. A component the store holds exactly as it comes is known
// by its text and not read at all.
#include "ical/calendar_import.h"

#include <algorithm>
#include <optional>
#include <ranges>
#include <set>
#include <span>
#include <unordered_map>

#include "ical/component_assembly.h"
#include "ical/component_reader.h"
#include "ical/component_stream.h"
#include "ical/ical_text.h"
#include "ical/kept_component.h"
#include "ical/kept_index.h"
#include "ical/zone_table.h"
#include "model/date_time.h"

namespace ical {
namespace {

constexpr int kExpandYears = 2;

struct Override {
    std::wstring uid;
    DATE day;
    pim::ItemFields fields;
};

struct Stored {
    int32_t kind;
    int32_t oid;
    // Its position in the collection read at connect while that still holds it as stored;
    // 0 once this import saved it.
    int32_t position = 0;
};

// Whether the store holds the item as its component gives it. A series' changed occurrences
// come after the stream has ended and are compared then, so the stored ones are left aside.
bool HeldAsItComes(const pim::StoredItem& incoming, const pim::StoredItem& stored)
{
    const auto deleted = [](const pim::ExceptionFields& e) { return e.Deleted; };
    return incoming.kind == stored.kind && incoming.fields == stored.fields &&
           incoming.pattern == stored.pattern && incoming.calendar == stored.calendar &&
           std::ranges::equal(incoming.exceptions, stored.exceptions | std::views::filter(deleted));
}

bool HasChangedOccurrences(const pim::StoredItem& item)
{
    return std::ranges::any_of(item.exceptions,
                               [](const pim::ExceptionFields& e) { return !e.Deleted; });
}

class Importer {
public:
    Importer(PimSession& session, const ImportOptions& options, ImportReport& report)
        : session_(session), options_(options), report_(report)
    {
        readOptions_.expandUnsupported = options.expandUnsupported;
        SYSTEMTIME until = options.today;
        until.wYear = static_cast<uint16_t>(until.wYear + kExpandYears);
        until = TruncateSystemTime(AddMonths(until, 0), 3);
        readOptions_.expandUntil = SystemTimeToVariantTime(until) + 1.0;
    }

    int32_t Run(std::istream& in);

private:
    void IndexStore();
    void Take(const std::string& text, bool last);
    bool TakeUnchanged(const std::string& text);
    bool TakeHeld(const pim::StoredItem& stored, const KeptIndex::Holder& holder,
                  const std::string& kept);
    void Skip(const std::string& name, const std::string& why);
    // `revision` is the component's: an older one than the stored item's is not saved.
    int32_t Save(pim::StoredItem item, const std::optional<Revision>& revision = std::nullopt);
    int32_t SaveOverrides();
    int32_t SaveOccurrences(const std::wstring& uid, std::span<const Override> changed);
    int32_t SaveAsSingles(const std::wstring& uid, std::span<const Override> changed);
    void Note(const std::string& name, const std::string& what);

    PimSession& session_;
    const ImportOptions& options_;
    ImportReport& report_;
    ReadOptions readOptions_;
    ZoneTable zones_;
    std::unordered_map<std::wstring, Stored> byUid_;
    // The revision of each series and single item of this stream, by UID; of one taken
    // unchanged without reading it, its text, read only when the UID comes again.
    struct Seen {
        std::optional<Revision> revision;
        std::string kept;
    };
    std::unordered_map<std::wstring, Seen> seen_;
    KeptIndex kept_;
    std::vector<Override> overrides_;
    // Series the store holds as they came but for their changed occurrences, which the
    // stream's replace once it has ended.
    std::set<std::wstring> unchangedSeries_;
    // Components naming a zone no VTIMEZONE seen so far defines: read again at the end, as
    // the definition may follow them.
    std::vector<std::string> waiting_;
    int32_t status_ = 0;
};

void Importer::IndexStore()
{
    for (int32_t n = 1; n <= session_.AppointmentCount(); ++n) {
        if (const AppointItem item = session_.FetchAppointment(n);
            item && !item->GetUID().empty()) {
            byUid_[item->GetUID()] = {pim::kAppointmentKind, item->GetOid(), n};
            kept_.Add(item->Stored(), n);
        }
    }
    for (int32_t n = 1; n <= session_.TaskCount(); ++n) {
        if (const TaskItem item = session_.FetchTask(n); item && !item->GetUID().empty()) {
            byUid_[item->GetUID()] = {pim::kTaskKind, item->GetOid(), n};
            kept_.Add(item->Stored(), n);
        }
    }
    session_.ReleaseAppointment();
    session_.ReleaseTask();
}

void Importer::Note(const std::string& name, const std::string& what)
{
    report_.notes.push_back(name + ": " + what);
}

void Importer::Skip(const std::string& name, const std::string& why)
{
    ++report_.skipped;
    Note(name, "skipped, " + why);
}

// A component the store holds exactly as it comes, found by its text before it is read: what
// the store holds of it stands for what reading it gives. False when it has to be read.
bool Importer::TakeUnchanged(const std::string& text)
{
    if (kept_.Empty()) {
        return false;
    }
    const std::string kept = KeptText(text, zones_);
    const std::optional<KeptIndex::Holder> holder = kept_.Find(kept);
    if (!holder) {
        return false;
    }
    const bool task = holder->kind == pim::kTaskKind;
    const std::shared_ptr<pim::PimItem> item =
        task ? std::shared_ptr<pim::PimItem>(session_.FetchTask(holder->position))
             : std::shared_ptr<pim::PimItem>(session_.FetchAppointment(holder->position));
    const bool taken = item && TakeHeld(item->Stored(), *holder, kept);
    session_.ReleaseAppointment();
    session_.ReleaseTask();
    return taken;
}

bool Importer::TakeHeld(const pim::StoredItem& stored, const KeptIndex::Holder& holder,
                        const std::string& kept)
{
    const std::wstring& uid = stored.fields.UID;
    const auto known = byUid_.find(uid);
    // One this import saved already is read as usual.
    if (known == byUid_.end() || known->second.position != holder.position ||
        known->second.kind != holder.kind) {
        return false;
    }
    if (holder.change) {
        const auto e = std::ranges::find_if(stored.exceptions, [&](const pim::ExceptionFields& x) {
            return !x.Deleted && x.OriginalDate == *holder.change;
        });
        if (e == stored.exceptions.end() || e->occurrence.Kept != kept) {
            return false;
        }
        overrides_.push_back({uid, *holder.change, e->occurrence});
        return true;
    }
    // A UID that comes twice is read, to weigh the revisions.
    if (stored.fields.Kept != kept || seen_.contains(uid)) {
        return false;
    }
    seen_[uid] = {std::nullopt, kept};
    if (HasChangedOccurrences(stored)) {
        unchangedSeries_.insert(uid);
    }
    ++(holder.kind == pim::kTaskKind ? report_.tasks : report_.appointments);
    return true;
}

void Importer::Take(const std::string& text, bool last)
{
    if (!last && TakeUnchanged(text)) {
        return;
    }
    icalcomponent* c = icalparser_parse_string(text.c_str());
    if (c == nullptr) {
        Skip(ItemName({}, {}), "not a readable component");
        return;
    }
    if (icalcomponent_isa(c) == ICAL_VTIMEZONE_COMPONENT) {
        if (!zones_.Add(c)) {
            report_.notes.push_back("a VTIMEZONE without TZID left out");
        }
        return;
    }
    ReadComponent read = ReadItemComponent(c, text, zones_, readOptions_);
    // A UID the import made up means nothing to the reader.
    const std::string uid = UidOf(c);
    // Named only for a note: most components need none.
    const auto name = [&] { return ItemName(read.item.fields.Subject, uid); };
    const Revision revision = RevisionOf(c);
    icalcomponent_free(c);
    if (read.unknownZone && !last) {
        waiting_.push_back(text);
        return;
    }
    const std::wstring& id = read.item.fields.UID;
    if (!read.expanded.empty()) {
        Note(name(), read.problem + "; imported as " +
                         Counted(static_cast<int>(read.expanded.size()), "single appointment"));
        for (pim::StoredItem& single : read.expanded) {
            status_ = std::min(status_, Save(std::move(single), revision));
        }
        return;
    }
    if (!read.problem.empty()) {
        Skip(name(), read.problem);
        return;
    }
    for (const std::string& note : read.notes) {
        Note(name(), note);
    }
    if (read.recurrenceDay) {
        overrides_.push_back({id, *read.recurrenceDay, read.item.fields});
        return;
    }
    if (const auto earlier = seen_.find(id); earlier != seen_.end()) {
        Seen& first = earlier->second;
        if (!first.revision) {
            first.revision = KeptRevisionOf(first.kept);
        }
        if (revision <= *first.revision) {
            Skip(name(), "a second component with the same UID");
            return;
        }
        // A newer revision replaces the one already saved (Save finds it by its UID).
        Skip(name(), "replaced by a newer component with the same UID");
        --(read.item.kind == pim::kTaskKind ? report_.tasks : report_.appointments);
    }
    seen_[id] = {revision, {}};
    for (const DATE day : read.deletedDays) {
        PutException(read.item.exceptions, DeletedOn(read.item, day));
    }
    status_ = std::min(status_, Save(std::move(read.item), revision));
    if (read.startOccurrence) {
        status_ = std::min(status_, Save(std::move(*read.startOccurrence), revision));
    }
}

// A new item, or the item of the same UID replaced whole, unless the store holds a newer
// revision of it (changed here, or imported from a newer copy).
int32_t Importer::Save(pim::StoredItem item, const std::optional<Revision>& revision)
{
    const std::wstring uid = item.fields.UID;
    const auto name = [&item, &uid] { return ItemName(item.fields.Subject, Utf8(uid)); };
    const bool task = item.kind == pim::kTaskKind;
    const auto known = byUid_.find(uid);
    if (known != byUid_.end() && known->second.kind != item.kind) {
        Skip(name(), "the store holds this UID as another kind of item");
        return 0;
    }
    std::shared_ptr<pim::PimItem> target;
    if (known != byUid_.end() && known->second.position > 0) {
        const int32_t n = known->second.position;
        target = task ? std::shared_ptr<pim::PimItem>(session_.FetchTask(n))
                      : std::shared_ptr<pim::PimItem>(session_.FetchAppointment(n));
    } else if (known != byUid_.end()) {
        const std::wstring field = PimSession::OidField(known->second.oid);
        target = task ? std::shared_ptr<pim::PimItem>(session_.FindTask(field))
                      : std::shared_ptr<pim::PimItem>(session_.FindAppointment(field));
    } else {
        target = task ? std::shared_ptr<pim::PimItem>(session_.CreateTask())
                      : std::shared_ptr<pim::PimItem>(session_.CreateAppointment());
        item.calendar = options_.calendar;
    }
    item.fields.Oid = target ? target->GetOid() : 0;
    for (pim::ExceptionFields& e : item.exceptions) {
        // As the store reads it back: an occurrence is held in local time.
        e.occurrence.Oid = item.fields.Oid;
        e.occurrence.Zone.clear();
    }
    if (target && known != byUid_.end()) {
        item.calendar = target->Stored().calendar; // items held already stay in theirs
    }
    // Importing the same file again writes nothing and leaves the sync nothing to send. An
    // item held exactly as it comes holds the same revision too, so that is asked first: the
    // stored revision is read by parsing the kept component again.
    const bool unchanged = target && known != byUid_.end() && HeldAsItComes(item, target->Stored());
    if (unchanged && HasChangedOccurrences(target->Stored())) {
        unchangedSeries_.insert(uid);
    }
    const bool older = !unchanged && target && revision && known != byUid_.end() &&
                       *revision < KeptRevisionOf(target->GetKept());
    if (unchanged || older) {
        if (older) {
            Skip(name(), "kept the newer version here");
        } else {
            ++(task ? report_.tasks : report_.appointments);
        }
        session_.ReleaseAppointment();
        session_.ReleaseTask();
        return 0;
    }
    if (!target || target->ReplaceStored(std::move(item), pim::KeptRevision::AsItCame) < 0 ||
        target->Save() < 0) {
        Note(target ? ItemName(target->GetSubject(), Utf8(uid)) : name(),
             "the store could not save it");
        return -1;
    }
    byUid_[uid] = {task ? pim::kTaskKind : pim::kAppointmentKind, target->GetOid()};
    ++(task ? report_.tasks : report_.appointments);
    session_.ReleaseAppointment();
    session_.ReleaseTask();
    return 0;
}

int32_t Importer::SaveOverrides()
{
    std::stable_sort(overrides_.begin(), overrides_.end(),
                     [](const Override& a, const Override& b) { return a.uid < b.uid; });
    const std::span<const Override> all(overrides_);
    for (size_t i = 0; i < all.size();) {
        size_t j = i;
        while (j < all.size() && all[j].uid == all[i].uid) {
            ++j;
        }
        if (SaveOccurrences(all[i].uid, all.subspan(i, j - i)) < 0) {
            return -1;
        }
        i = j;
    }
    // Series whose changed occurrences the stream no longer has.
    for (const std::wstring& uid : std::set<std::wstring>(unchangedSeries_)) {
        if (SaveOccurrences(uid, {}) < 0) {
            return -1;
        }
    }
    session_.ReleaseAppointment();
    return 0;
}

// The series gets the stream's changed occurrences; one held unchanged drops those it had
// first (a series saved from the stream has none left). Nothing is written when that is what
// the store holds.
int32_t Importer::SaveOccurrences(const std::wstring& uid, std::span<const Override> changed)
{
    const auto known = byUid_.find(uid);
    AppointItem series;
    if (known != byUid_.end() && known->second.kind == pim::kAppointmentKind) {
        series = session_.FindAppointment(PimSession::OidField(known->second.oid));
    }
    if (!series || !series->Stored().pattern) {
        series.reset();
        session_.ReleaseAppointment();
        return SaveAsSingles(uid, changed);
    }
    pim::StoredItem whole = series->Stored();
    if (unchangedSeries_.erase(uid) > 0) {
        std::erase_if(whole.exceptions, [](const pim::ExceptionFields& e) { return !e.Deleted; });
    }
    for (const Override& o : changed) {
        pim::ExceptionFields e;
        e.OriginalDate = o.day;
        e.occurrence = o.fields;
        e.occurrence.Oid = whole.fields.Oid; // as the store reads it back
        e.occurrence.UID.clear();
        e.occurrence.Zone.clear(); // an occurrence is held in local time
        PutException(whole.exceptions, std::move(e));
    }
    if (whole == series->Stored()) {
        return 0;
    }
    if (series->ReplaceStored(std::move(whole), pim::KeptRevision::AsItCame) < 0 ||
        series->Save() < 0) {
        Note(ItemName(series->GetSubject(), Utf8(uid)), "the store could not save it");
        return -1;
    }
    return 0;
}

// An invitation to one occurrence of a series that is not here: kept on its own, under a UID
// of its own day so that importing it again finds it.
int32_t Importer::SaveAsSingles(const std::wstring& uid, std::span<const Override> changed)
{
    for (const Override& o : changed) {
        pim::StoredItem single{pim::kAppointmentKind, o.fields, std::nullopt, {}};
        single.fields.UID += L"/" + DateToKey(o.day, kDayKey);
        Note(ItemName(single.fields.Subject, Utf8(uid)),
             "a changed occurrence of a series not in the calendar, "
             "imported as a single appointment");
        if (Save(std::move(single)) < 0) {
            return -1;
        }
    }
    return 0;
}

int32_t Importer::Run(std::istream& in)
{
    IndexStore();
    return session_.RunInOneTransaction([&] {
        ComponentStream stream(in);
        std::string text;
        while (status_ >= 0 && stream.Next(text)) {
            Take(text, false);
            if (options_.carryOn && !options_.carryOn(stream.Consumed())) {
                report_.cancelled = true;
                return -1;
            }
        }
        for (const std::string& waiting : waiting_) {
            Take(waiting, true);
        }
        report_.sawCalendar = stream.SawCalendar();
        for (const ComponentStream::DroppedComponent& dropped : stream.Dropped()) {
            Skip(ItemName(Wide(dropped.summary.c_str()), dropped.uid), dropped.why);
        }
        return status_ < 0 ? status_ : SaveOverrides();
    });
}

} // namespace

ImportReport ImportCalendar(std::istream& in, PimSession& session, const ImportOptions& options)
{
    icalerror_set_errors_are_fatal(0);
    ImportReport report;
    const bool connected = session.IsConnected();
    if (!connected && session.Connect() < 0) {
        report.status = -1;
        report.notes.push_back(Utf8(session.ConnectError()));
        return report;
    }
    report.status = Importer(session, options, report).Run(in);
    if (report.status < 0) {
        report.appointments = report.tasks = 0; // rolled back: nothing of the stream is there
    }
    if (!connected) {
        session.Disconnect();
    }
    return report;
}

std::string SummaryLine(const ImportReport& report)
{
    return "imported " + Counted(report.appointments, "appointment") + ", " +
           Counted(report.tasks, "task") + ", " + std::to_string(report.skipped) + " skipped";
}

} // namespace ical
