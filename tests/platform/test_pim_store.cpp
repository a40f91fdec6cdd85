// The store file: properties, ids, the restriction, exceptions, foreign files and a kill.
#include "platform/pim/application.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/store_database.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "tests/support/dates.h"
#include "tests/support/item_text.h"
#include "tests/support/scoped_zone.h"
#include "tests/support/store_file.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

// Every Monday: enough of a rule to see the store ask it.
int MondaysOnly(const RecurrenceFields& /*pattern*/, const SYSTEMTIME& day,
                int32_t /*durationOverride*/)
{
    return day.wDayOfWeek == 1 ? 1 : 0;
}

std::shared_ptr<Items> Open(Application& app, const std::string& path, int32_t folder,
                            StoreDatabase::Access access = StoreDatabase::Access::ReadWrite)
{
    EXPECT_EQ(app.Logon(path, MondaysOnly, access), 0)
        << QString::fromStdWString(app.LastError()).toStdString();
    std::shared_ptr<Folder> f;
    EXPECT_EQ(app.GetDefaultFolder(folder, &f), 0);
    std::shared_ptr<Items> items;
    EXPECT_EQ(f->GetItems(&items), 0);
    return items;
}

template <typename ItemType>
std::shared_ptr<ItemType> Reopened(Application& app, const std::string& path, int32_t folder,
                                   StoreDatabase::Access access = StoreDatabase::Access::ReadWrite)
{
    std::shared_ptr<ItemType> item;
    EXPECT_EQ(Open(app, path, folder, access)->Item(1, &item), 0);
    return item;
}

std::wstring StoreSentence(const std::string& path, const std::wstring& sentence)
{
    return L"The calendar store " + QString::fromStdString(path).toStdWString() + sentence;
}

} // namespace

TEST(PimStore, EveryPropertyRoundTripsAndOidsStay)
{
    TempPaths paths;
    Application app;
    Open(app, paths.StorePath(), kCalendarFolder);
    std::shared_ptr<AppointmentItem> a;
    ASSERT_EQ(app.CreateItem(kAppointmentKind, &a), 0);
    SetEveryField(*a);
    std::shared_ptr<RecurrencePattern> p;
    ASSERT_EQ(a->GetRecurrencePattern(&p), 0);
    p->SetRecurrenceType(3);
    p->SetInterval(0); // out of range values are stored as given
    p->SetDayOfMonth(40);
    p->SetInstance(9);
    p->SetDayOfWeekMask(0x7F);
    p->SetMonthOfYear(13);
    p->SetPatternStartDate(At(2026, 12, 7));
    p->SetPatternEndDate(At(2027, 1, 1));
    p->SetNoEndDate(false);
    p->SetOccurrences(7);
    p->SetStartTime(At(1899, 12, 30, 22));
    p->SetDuration(210); // moves the end time of day to 01:30
    ASSERT_EQ(a->Save(), 0);
    std::shared_ptr<TaskItem> t;
    ASSERT_EQ(app.CreateItem(kTaskKind, &t), 0);
    SetEveryField(*t);
    ASSERT_EQ(t->Save(), 0);
    EXPECT_GT(t->GetOid(), a->GetOid());
    app.Logoff();
    Application reopened;
    const auto items = Open(reopened, paths.StorePath(), kCalendarFolder);
    ASSERT_EQ(items->Count(), 1);
    std::shared_ptr<AppointmentItem> b;
    ASSERT_EQ(items->Item(1, &b), 0);
    EXPECT_EQ(FieldsText(b->Stored().fields), FieldsText(a->Stored().fields));
    ASSERT_TRUE(b->Stored().pattern.has_value());
    EXPECT_EQ(PatternText(*b->Stored().pattern),
              "3|46363|0.91666666666666663|0.0625|46388|0|7|0|127|40|9|210|13");
    std::shared_ptr<TaskItem> u;
    ASSERT_EQ(Open(reopened, paths.StorePath(), kTasksFolder)->Item(1, &u), 0);
    EXPECT_EQ(FieldsText(u->Stored().fields), FieldsText(t->Stored().fields));
    // A deleted item's id is never handed out again.
    ASSERT_EQ(u->Delete(), 0);
    std::shared_ptr<TaskItem> next;
    ASSERT_EQ(reopened.CreateItem(kTaskKind, &next), 0);
    ASSERT_EQ(next->Save(), 0);
    EXPECT_GT(next->GetOid(), u->GetOid());
}

TEST(PimStore, FindAcceptsOnlyTheOidRestriction)
{
    TempPaths paths;
    Application app;
    std::shared_ptr<Items> items = Open(app, paths.StorePath(), kCalendarFolder);
    std::vector<int32_t> oids;
    for (int i = 0; i < 2; ++i) {
        std::shared_ptr<AppointmentItem> a;
        app.CreateItem(kAppointmentKind, &a);
        a->SetSubject(L"item " + std::to_wstring(i));
        ASSERT_EQ(a->Save(), 0);
        oids.push_back(a->GetOid());
    }
    std::shared_ptr<AppointmentItem> found;
    wchar_t padded[40];
    std::swprintf(padded, 40, L"[Oid]=%20d", oids[1]);
    ASSERT_EQ(items->Find(padded, &found), 0) << "Find sees items saved since the read";
    EXPECT_EQ(found->GetSubject(), L"item 1");
    EXPECT_EQ(items->Find(L"[Oid]=" + std::to_wstring(oids[0]), &found), 0);
    // The last names no item.
    const std::wstring bad[] = {L"[Oid]=   ", L"[Oid]=1 OR 1=1",   L"'; DROP TABLE items; --",
                                L"[Oid]=0",   L"[Oid]=2147483648", L"[Oid]=987654"};
    for (const std::wstring& text : bad) {
        std::shared_ptr<AppointmentItem> none;
        EXPECT_LT(items->Find(text, &none), 0) << QString::fromStdWString(text).toStdString();
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_EQ(Open(app, paths.StorePath(), kCalendarFolder)->Count(), 2) << "nothing was dropped";
}

TEST(PimStore, OccurrenceSavesAndDeletesBecomeExceptions)
{
    TempPaths paths;
    Application app;
    Open(app, paths.StorePath(), kCalendarFolder);
    std::shared_ptr<AppointmentItem> series;
    app.CreateItem(kAppointmentKind, &series);
    series->SetSubject(L"Standup");
    series->SetLocation(L"Room 1");
    series->SetStart(At(2026, 12, 7, 9)); // a Monday
    series->SetEnd(At(2026, 12, 7, 9, 15));
    std::shared_ptr<RecurrencePattern> pattern;
    ASSERT_EQ(series->GetRecurrencePattern(&pattern), 0);
    ASSERT_EQ(series->Save(), 0);
    std::shared_ptr<AppointmentItem> occurrence;
    ASSERT_EQ(pattern->GetOccurrence(At(2026, 12, 14, 15), &occurrence), 0);
    occurrence->SetSubject(L"Standup (moved)");
    occurrence->SetStart(At(2026, 12, 15, 10));
    occurrence->SetEnd(At(2026, 12, 15, 10, 30));
    ASSERT_EQ(occurrence->Save(), 0);
    ASSERT_EQ(pattern->GetOccurrence(At(2026, 12, 21), &occurrence), 0);
    ASSERT_EQ(occurrence->Delete(), 0);
    Application reopened;
    const auto stored = Reopened<AppointmentItem>(reopened, paths.StorePath(), kCalendarFolder);
    ASSERT_EQ(stored->GetRecurrencePattern(&pattern), 0);
    std::shared_ptr<Exceptions> exceptions;
    ASSERT_EQ(pattern->GetExceptions(&exceptions), 0);
    ASSERT_EQ(exceptions->Count(), 2);
    std::shared_ptr<Exception> changed;
    std::shared_ptr<Exception> deleted;
    std::shared_ptr<AppointmentItem> changedItem;
    ASSERT_EQ(exceptions->Item(1, &changed) + exceptions->Item(2, &deleted), 0);
    EXPECT_LT(deleted->GetAppointmentItem(&changedItem), 0);
    ASSERT_EQ(changed->GetAppointmentItem(&changedItem), 0);
    EXPECT_EQ(std::tuple(changed->GetOriginalDate(), changed->GetDeleted(), changedItem->GetStart(),
                         changedItem->GetLocation(), deleted->GetOriginalDate(),
                         deleted->GetDeleted()),
              std::tuple(At(2026, 12, 14), false, At(2026, 12, 15, 10), std::wstring(L"Room 1"),
                         At(2026, 12, 21), true));
}

namespace {

// A store of ours over several pages, closed (and so checkpointed).
void MakeStore(const std::string& path)
{
    Application app;
    Open(app, path, kCalendarFolder);
    app.RunInOneTransaction([&app] {
        for (int i = 0; i < 300; ++i) {
            std::shared_ptr<AppointmentItem> a;
            app.CreateItem(kAppointmentKind, &a);
            a->SetSubject(std::wstring(200, static_cast<wchar_t>(L'a' + i % 26)));
            a->SetStart(At(2026, 12, 1 + i % 28, 9));
            a->SetEnd(At(2026, 12, 1 + i % 28, 10));
            if (a->Save() < 0) {
                return -1;
            }
        }
        return 0;
    });
}

// How a file given as the store must come out of a log-on and a load.
enum class Outcome { Refused, ReadFails, OpensReadOnly, Opens };

// Each maker leaves the file at the folder's StorePath().
using MakeFile = std::function<void(const TempPaths& paths)>;

MakeFile Content(const QByteArray& bytes)
{
    return [bytes](const TempPaths& t) { t.Write("store.sqlite3", bytes); };
}

MakeFile Statements(const std::string& sql)
{
    return [sql](const TempPaths& t) { Sql(t.StorePath(), sql); };
}

MakeFile StoreThen(const MakeFile& change)
{
    return [change](const TempPaths& t) {
        MakeStore(t.StorePath());
        change(t);
    };
}

constexpr const wchar_t* kNotAStore = L" is not a calendar store.";
constexpr qsizetype kPage = 4096; // the store's page size

} // namespace

// A file that is no usable store is named in one sentence, and not a byte of it changes.
TEST(PimStore, FilesItCannotUseAreReportedAndLeftUntouched)
{
    const struct {
        const char* name;
        MakeFile make;
        Outcome outcome;
        const wchar_t* sentence; // after the file's name
    } cases[] = {
        {"zero bytes", Content(""), Outcome::Refused, kNotAStore},
        {"our table names with other columns",
         Statements("CREATE TABLE items(oid INTEGER PRIMARY KEY, title TEXT);"
                    "CREATE TABLE patterns(oid, rule); CREATE TABLE exceptions(oid, day);"
                    "INSERT INTO items(title) VALUES ('keep me'); PRAGMA user_version = 1"),
         Outcome::Refused, kNotAStore},
        {"a newer store", Statements("CREATE TABLE x(a); PRAGMA user_version = 99"),
         Outcome::Refused, L" was written by a newer version of Tamberlo."},
        {"a damaged page of the items", StoreThen([](const TempPaths& t) {
             QByteArray bytes = Bytes(t.StorePath());
             // The table's root page; the file's last pages hold Find's index.
             const qsizetype page = SqlNumber(
                 t.StorePath(), "SELECT rootpage FROM sqlite_master WHERE name = 'items'");
             for (int i = 0; i < 100; ++i) {
                 bytes[(page - 1) * kPage + i] = static_cast<char>(i * 37);
             }
             t.Write("store.sqlite3", bytes);
         }),
         Outcome::ReadFails, L" is damaged and could not be read in full."},
        {"a store cut at a page boundary", StoreThen([](const TempPaths& t) {
             t.Write("store.sqlite3", Bytes(t.StorePath()).chopped(3 * kPage));
         }),
         Outcome::Refused, L" is damaged."},
        // Copied while a program had it open: the log is whole, the file stopped midway.
        {"a copy cut short beside its write-ahead log", StoreThen([](const TempPaths& t) {
             sqlite3* db = nullptr;
             sqlite3_open(t.StorePath().c_str(), &db);
             sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
             sqlite3_exec(db, "UPDATE items SET subject = 'x' WHERE oid = 1", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
             t.Write("store.sqlite3", Bytes(t.StorePath()).chopped(10 * kPage));
         }),
         Outcome::Refused, L" is damaged."},
        {"a rollback-journal store", StoreThen(Statements("PRAGMA journal_mode = DELETE")),
         Outcome::Opens, L""},
        {"a read-only store", StoreThen([](const TempPaths& t) {
             QFile::setPermissions(QString::fromStdString(t.StorePath()),
                                   QFile::ReadOwner | QFile::ReadGroup);
         }),
         Outcome::OpensReadOnly, L" is read-only."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempPaths paths;
        const std::string path = paths.StorePath();
        c.make(paths);
        const QByteArray before = Bytes(path);
        // A file that is no store of ours is not called a calendar store.
        const std::wstring expected =
            (c.sentence == kNotAStore ? L"The file " : L"The calendar store ") +
            QString::fromStdString(path).toStdWString() + c.sentence;
        Application app;
        const int32_t logon = app.Logon(path, MondaysOnly);
        std::shared_ptr<Folder> folder;
        std::shared_ptr<Items> items;
        const bool read = logon == 0 && app.GetDefaultFolder(kCalendarFolder, &folder) == 0 &&
                          folder->GetItems(&items) == 0;
        const QByteArray afterRead = Bytes(path);
        std::shared_ptr<AppointmentItem> item;
        const bool saved = app.CreateItem(kAppointmentKind, &item) == 0 && item->Save() == 0;
        EXPECT_EQ(std::tuple(logon < 0, read, saved),
                  std::tuple(c.outcome == Outcome::Refused, c.outcome >= Outcome::OpensReadOnly,
                             c.outcome == Outcome::Opens));
        EXPECT_EQ(app.LastError(), c.outcome == Outcome::Opens ? L"" : expected);
        if (read) {
            EXPECT_EQ(items->Count(), 300);
            EXPECT_EQ(app.IsReadOnly(), c.outcome == Outcome::OpensReadOnly);
        }
        if (c.outcome == Outcome::Opens) {
            EXPECT_TRUE(afterRead == before);
            EXPECT_EQ(Bytes(path)[18], 1) << "the journal mode is kept";
        } else {
            app.Logoff();
            EXPECT_TRUE(Bytes(path) == before);
        }
    }
}

// Stores it opens but may not write, and a store being written by another program.
TEST(PimStore, WriteAccessFollowsModeBitsAndALockedStoreIsNamed)
{
    TempPaths paths;
    const std::string store = paths.StorePath();
    MakeStore(store);
    const QString folder = QString::fromStdString(paths.File(""));
    const auto folderMode = QFile::permissions(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    {
        Application app;
        EXPECT_EQ(app.Logon(store, MondaysOnly), 0);
        EXPECT_TRUE(app.IsReadOnly());
        EXPECT_EQ(app.LastError(),
                  StoreSentence(store, L" cannot be written (its folder is read-only)."));
    }
    QFile::setPermissions(folder, folderMode);
    // A rollback-journal store under an exclusive lock cannot even be read.
    const std::string rollback = paths.File("rollback.sqlite3");
    MakeStore(rollback);
    Sql(rollback, "PRAGMA journal_mode = DELETE");
    OtherProgram locker(rollback);
    ASSERT_TRUE(locker.Run("BEGIN EXCLUSIVE"));
    Application blocked;
    EXPECT_LT(blocked.Logon(rollback, MondaysOnly), 0);
    EXPECT_EQ(blocked.LastError(),
              StoreSentence(rollback, L" is in use by another program; try again."));
}

TEST(PimStore, AKillDuringSavesLeavesEveryItemWhole)
{
    TempPaths paths;
    MakeStore(paths.StorePath());
    std::mt19937 random(42);
    int saved = 0;
    for (int round = 0; round < 3; ++round) {
        int firstSave[2]; // the child says when it has saved once, however busy the machine
        ASSERT_EQ(pipe(firstSave), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Application app;
            auto items = Open(app, paths.StorePath(), kCalendarFolder);
            for (int counter = 1;; ++counter) {
                std::shared_ptr<AppointmentItem> a;
                items->Item(1 + counter % items->Count(), &a);
                const std::wstring mark = std::to_wstring(counter);
                a->SetSubject(mark);
                a->SetBody(mark);
                std::shared_ptr<RecurrencePattern> p;
                a->GetRecurrencePattern(&p);
                p->SetOccurrences(counter);
                if (a->Save() == 0 && counter == 1 && write(firstSave[1], "s", 1) != 1) {
                    _exit(1); // the parent reads the end of the pipe and fails, not waits
                }
            }
        }
        close(firstSave[1]); // only the child writes: a child that dies unheard ends the read
        char saidSaved = 0;
        const ssize_t heard = read(firstSave[0], &saidSaved, 1);
        close(firstSave[0]);
        usleep(random() % 80000);
        kill(child, SIGKILL); // also when it never said so: it must not outlive the test
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_EQ(heard, 1);
        Application app;
        const auto items = Open(app, paths.StorePath(), kCalendarFolder);
        ASSERT_EQ(items->Count(), 300);
        for (int n = 1; n <= items->Count(); ++n) {
            std::shared_ptr<AppointmentItem> a;
            ASSERT_EQ(items->Item(n, &a), 0);
            const ItemFields& f = a->Stored().fields;
            if (!f.Body.empty()) { // one save wrote the same mark into the item and its pattern
                ++saved;
                EXPECT_EQ(f.Body + L"|" + std::to_wstring(a->Stored().pattern->Occurrences),
                          f.Subject + L"|" + f.Subject);
            }
        }
    }
    EXPECT_GT(saved, 0) << "the child must have saved before it was killed";
}

TEST(PimStore, AnOlderStoreIsReadAsItIsAndBroughtUpToDateOnlyByAWriter)
{
    TempPaths paths;
    // The version-1 layout: items without a uid column.
    const std::string fields =
        "subject TEXT, location TEXT, categories TEXT, body TEXT, start_at REAL, end_at "
        "REAL, all_day INTEGER, busy INTEGER, sensitivity INTEGER, reminder_set INTEGER, "
        "reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT, start_date "
        "REAL, due_date REAL, date_completed REAL, reminder_time REAL, importance INTEGER, "
        "complete INTEGER";
    Sql(paths.StorePath(),
        "CREATE TABLE items (oid INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, " +
            fields +
            ");CREATE TABLE patterns (oid INTEGER PRIMARY KEY, type INTEGER, pattern_start REAL, "
            "start_time REAL, end_time REAL, pattern_end REAL, no_end INTEGER, occurrences "
            "INTEGER, interval_count INTEGER, day_mask INTEGER, day_of_month INTEGER, instance "
            "INTEGER, duration INTEGER, month_of_year INTEGER);"
            "CREATE TABLE exceptions (oid INTEGER NOT NULL, original_date REAL NOT NULL, "
            "deleted INTEGER, " +
            fields +
            ");INSERT INTO items (kind, subject, start_at, end_at) "
            "VALUES (1, 'Kept', 45000.5, 45000.6); PRAGMA user_version = 1;");
    const QByteArray before = Bytes(paths.StorePath());
    {
        Application reader;
        EXPECT_EQ(Reopened<AppointmentItem>(reader, paths.StorePath(), kCalendarFolder,
                                            StoreDatabase::Access::ReadOnly)
                      ->GetSubject(),
                  L"Kept");
        std::vector<FindMatch> found; // no index yet: the texts are folded as they are read
        EXPECT_EQ(reader.FindMatches(L"KEP", found), 0);
        EXPECT_EQ(found.size(), 1U);
    }
    EXPECT_TRUE(Bytes(paths.StorePath()) == before);
    Application app;
    auto kept = Reopened<AppointmentItem>(app, paths.StorePath(), kCalendarFolder);
    EXPECT_EQ(app.StoreIdentity().id.size(), 32U);
    // The UID its exports have always carried.
    EXPECT_EQ(kept->GetSubject() + L"," + kept->GetUID(), L"Kept,tamberlo-oid-1");
    kept->SetUID(L"a1b2@example.org");
    ASSERT_EQ(kept->Save(), 0);
    app.Logoff();
    kept = Reopened<AppointmentItem>(app, paths.StorePath(), kCalendarFolder);
    EXPECT_EQ(kept->GetUID(), L"a1b2@example.org"); // a second migration would refuse the file
}

// A full file system as SQLite meets it: SQLITE_FULL, and a shared-memory index that cannot grow.
class FullDisk {
public:
    FullDisk()
    {
        real_ = sqlite3_vfs_find(nullptr);
        shim_ = *real_;
        shim_.zName = "full-disk";
        shim_.xOpen = [](sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* out) {
            const int rc = real_->xOpen(real_, name, f, flags, out);
            if (rc == SQLITE_OK && f->pMethods != nullptr && ((flags & SQLITE_OPEN_MAIN_DB) != 0)) {
                Files<0>::Wrap(f);
            } else if (rc == SQLITE_OK && f->pMethods != nullptr &&
                       ((flags & SQLITE_OPEN_WAL) != 0)) {
                Files<1>::Wrap(f);
            }
            return rc;
        };
        sqlite3_vfs_register(&shim_, 1);
    }
    ~FullDisk()
    {
        sqlite3_vfs_unregister(&shim_);
        sqlite3_vfs_register(real_, 1);
        full_ = false;
    }
    static void SetFull(bool full) { full_ = full; }

private:
    template <int Kind> struct Files {
        static void Wrap(sqlite3_file* f)
        {
            real = f->pMethods;
            shim = *real;
            shim.xWrite = [](sqlite3_file* g, const void* b, int n, sqlite3_int64 at) {
                return full_ ? SQLITE_FULL : real->xWrite(g, b, n, at);
            };
            shim.xShmMap = [](sqlite3_file* g, int page, int size, int grow, void volatile** p) {
                return full_ ? SQLITE_IOERR_SHMSIZE : real->xShmMap(g, page, size, grow, p);
            };
            f->pMethods = &shim;
        }
        static inline const sqlite3_io_methods* real = nullptr;
        static inline sqlite3_io_methods shim{};
    };
    static inline sqlite3_vfs* real_ = nullptr;
    static inline bool full_ = false;
    sqlite3_vfs shim_{};
};

// A full disk is never taken for a damaged store, and nothing of a refused save is kept.
TEST(PimStore, AFullDiskSaysSoAndChangesNothing)
{
    TempPaths paths;
    const FullDisk disk;
    const std::wstring noSpace = L"There is no space left to save to " +
                                 QString::fromStdString(paths.StorePath()).toStdWString() + L".";
    Application app;
    Open(app, paths.StorePath(), kCalendarFolder);
    std::shared_ptr<AppointmentItem> a;
    ASSERT_EQ(app.CreateItem(kAppointmentKind, &a), 0);
    a->SetSubject(L"Kept");
    ASSERT_EQ(a->Save(), 0);
    a->SetSubject(L"Lost");
    FullDisk::SetFull(true);
    EXPECT_LT(a->Save(), 0);
    EXPECT_EQ(app.LastWriteError(), noSpace);
    app.Logoff();
    Application full;
    EXPECT_LT(full.Logon(paths.StorePath(), MondaysOnly), 0);
    EXPECT_EQ(full.LastError(), noSpace);
    FullDisk::SetFull(false);
    EXPECT_EQ(Reopened<AppointmentItem>(full, paths.StorePath(), kCalendarFolder)->GetSubject(),
              L"Kept");
}

// exFAT has no hard links nor a rename that refuses to replace. Needs root and FUSE's exFAT.
TEST(PimStore, AStoreIsMadeOnAnExfatStick)
{
    TempPaths paths;
    const std::string image = paths.File("stick.img");
    const std::string mount = paths.File("stick");
    const std::string loop = paths.File("loop");
    const auto run = [](const std::string& command) { return std::system(command.c_str()) == 0; };
    if (::geteuid() != 0 ||
        !run("truncate -s 16M " + image + " && mkfs.exfat " + image + " >/dev/null 2>&1 && mkdir " +
             mount + " && losetup -f --show " + image + " > " + loop + " 2>/dev/null")) {
        GTEST_SKIP() << "needs root, exfatprogs and a loop device";
    }
    const std::string device = Bytes(loop).trimmed().toStdString();
    if (!run("mount.exfat-fuse -o nonempty " + device + " " + mount + " >/dev/null 2>&1")) {
        run("losetup -d " + device);
        GTEST_SKIP() << "needs exfat-fuse";
    }
    // Unmounted however the test ends, so a failure leaves no mount or loop device behind.
    const std::unique_ptr<void, std::function<void(void*)>> unmount(
        &paths, [&](void*) { run("umount " + mount + "; losetup -d " + device); });
    const std::string path = mount + "/Tamberlo/store.sqlite3";
    {
        Application app;
        ASSERT_EQ(app.Logon(path, MondaysOnly), 0)
            << QString::fromStdWString(app.LastError()).toStdString();
        std::shared_ptr<AppointmentItem> item;
        ASSERT_EQ(app.CreateItem(kAppointmentKind, &item), 0);
        item->SetSubject(L"On the stick");
        EXPECT_EQ(item->Save(), 0);
    }
    Application again;
    std::shared_ptr<AppointmentItem> read = Reopened<AppointmentItem>(again, path, kCalendarFolder);
    EXPECT_EQ(read ? read->GetSubject() : L"", L"On the stick");
    again.Logoff();
}
