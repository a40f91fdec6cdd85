// The store file: every property through a save and a reopen, stable object ids, the strict
// restriction, occurrences recorded as exceptions, files it must not touch, and a kill in the
// middle of saves.
#include "platform/pim/application.h"
#include "platform/pim/recurrence_pattern.h"
#include "platform/pim/store_database.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "platform/clock.h"
#include "tests/support/temp_paths.h"

namespace {

using namespace pim;

DATE Day(int y, int m, int d, int h = 0, int mi = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(y, m, d, h, mi));
}

// Every Monday: enough of a rule to see the store ask it.
int MondaysOnly(const RecurrenceFields&, const SYSTEMTIME& day, int32_t)
{
    return day.wDayOfWeek == 1 ? 1 : 0;
}

std::shared_ptr<Items> Open(Application& app, const std::string& path, int32_t folder)
{
    EXPECT_EQ(app.Logon(path, MondaysOnly), 0) << QString::fromStdWString(app.LastError()).toStdString();
    std::shared_ptr<Folder> f;
    EXPECT_EQ(app.GetDefaultFolder(folder, &f), 0);
    std::shared_ptr<Items> items;
    EXPECT_EQ(f->GetItems(&items), 0);
    return items;
}

QByteArray Bytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(PimStore, EveryPropertyRoundTripsAndOidsStay)
{
    TempPaths paths;
    Application app;
    Open(app, paths.StorePath(), kCalendarFolder);
    std::shared_ptr<AppointmentItem> a;
    ASSERT_EQ(app.CreateItem(kAppointmentKind, &a), 0);
    a->SetSubject(L"Review \x65E5\x672C \x1F600");
    a->SetLocation(L"Room 2");
    a->SetCategories(L"Work,Team");
    a->SetBody(L"line 1\r\nline 2\x1F");
    a->SetStart(Day(2026, 12, 7, 22));
    a->SetEnd(Day(2026, 12, 8, 1, 30));
    a->SetAllDayEvent(true);
    a->SetBusyStatus(3);
    a->SetSensitivity(2);
    a->SetReminderSet(true);
    a->SetReminderMinutesBeforeStart(1440);
    a->SetReminderOptions(31);
    a->SetReminderSoundFile(L"/usr/share/sounds/bell.wav");
    std::shared_ptr<RecurrencePattern> p;
    ASSERT_EQ(a->GetRecurrencePattern(&p), 0);
    p->SetRecurrenceType(3);
    p->SetInterval(0);  // out of range values are stored as given
    p->SetDayOfMonth(40);
    p->SetInstance(9);
    p->SetDayOfWeekMask(0x7F);
    p->SetMonthOfYear(13);
    p->SetPatternStartDate(Day(2026, 12, 7));
    p->SetPatternEndDate(Day(2027, 1, 1));
    p->SetNoEndDate(false);
    p->SetOccurrences(7);
    p->SetStartTime(Day(1899, 12, 30, 22));
    p->SetDuration(210);
    ASSERT_EQ(a->Save(), 0);
    const int32_t first = a->GetOid();
    EXPECT_GT(first, 0);

    std::shared_ptr<TaskItem> t;
    ASSERT_EQ(app.CreateItem(kTaskKind, &t), 0);
    t->SetSubject(L"Expense report");
    t->SetStartDate(Day(2026, 12, 1));
    t->SetDueDate(Day(2026, 12, 31));
    t->SetImportance(2);
    t->SetReminderTime(Day(2026, 12, 30, 9));
    {
        const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30));
        const ScopedClock installed(clock);
        t->SetComplete(true);
    }
    ASSERT_EQ(t->Save(), 0);
    EXPECT_GT(t->GetOid(), first);
    app.Logoff();

    Application reopened;
    const auto items = Open(reopened, paths.StorePath(), kCalendarFolder);
    ASSERT_EQ(items->Count(), 1);
    std::shared_ptr<AppointmentItem> b;
    ASSERT_EQ(items->Item(1, &b), 0);
    EXPECT_EQ(b->GetOid(), first);
    EXPECT_EQ(b->GetSubject(), a->GetSubject());
    EXPECT_EQ(b->GetLocation(), L"Room 2");
    EXPECT_EQ(b->GetCategories(), L"Work,Team");
    EXPECT_EQ(b->GetBody(), L"line 1\r\nline 2\x1F");
    EXPECT_EQ(b->GetStart(), a->GetStart());
    EXPECT_EQ(b->GetEnd(), a->GetEnd());
    EXPECT_TRUE(b->GetAllDayEvent());
    EXPECT_EQ(b->GetBusyStatus(), 3);
    EXPECT_EQ(b->GetSensitivity(), 2);
    EXPECT_TRUE(b->GetReminderSet());
    EXPECT_EQ(b->GetReminderMinutesBeforeStart(), 1440);
    EXPECT_EQ(b->GetReminderOptions(), 31);
    EXPECT_EQ(b->GetReminderSoundFile(), L"/usr/share/sounds/bell.wav");
    EXPECT_TRUE(b->GetIsRecurring());
    std::shared_ptr<RecurrencePattern> q;
    ASSERT_EQ(b->GetRecurrencePattern(&q), 0);
    EXPECT_EQ(q->GetRecurrenceType(), 3);
    EXPECT_EQ(q->GetInterval(), 0);
    EXPECT_EQ(q->GetDayOfMonth(), 40);
    EXPECT_EQ(q->GetInstance(), 9);
    EXPECT_EQ(q->GetDayOfWeekMask(), 0x7F);
    EXPECT_EQ(q->GetMonthOfYear(), 13);
    EXPECT_EQ(q->GetPatternStartDate(), Day(2026, 12, 7));
    EXPECT_EQ(q->GetPatternEndDate(), Day(2027, 1, 1));
    EXPECT_FALSE(q->GetNoEndDate());
    EXPECT_EQ(q->GetOccurrences(), 7);
    EXPECT_EQ(q->GetDuration(), 210);
    EXPECT_NEAR(q->GetEndTime(), Day(1899, 12, 30, 1, 30), 1e-9) << "duration moves the end time of day";

    std::shared_ptr<Folder> tasks;
    ASSERT_EQ(reopened.GetDefaultFolder(kTasksFolder, &tasks), 0);
    std::shared_ptr<Items> taskItems;
    ASSERT_EQ(tasks->GetItems(&taskItems), 0);
    std::shared_ptr<TaskItem> u;
    ASSERT_EQ(taskItems->Item(1, &u), 0);
    EXPECT_EQ(u->GetSubject(), L"Expense report");
    EXPECT_EQ(u->GetStartDate(), Day(2026, 12, 1));
    EXPECT_EQ(u->GetDueDate(), Day(2026, 12, 31));
    EXPECT_EQ(u->GetImportance(), 2);
    EXPECT_EQ(u->GetReminderTime(), Day(2026, 12, 30, 9));
    EXPECT_TRUE(u->GetComplete());
    EXPECT_EQ(u->GetDateCompleted(), Day(2026, 12, 7, 10, 30));
    EXPECT_FALSE(u->GetIsRecurring());
    EXPECT_NE(taskItems->Item(1, &b), 0) << "a task is not an appointment";

    // A deleted item's id is never handed out again.
    ASSERT_EQ(u->Delete(), 0);
    std::shared_ptr<TaskItem> next;
    ASSERT_EQ(reopened.CreateItem(kTaskKind, &next), 0);
    ASSERT_EQ(next->Save(), 0);
    EXPECT_GT(next->GetOid(), u->GetOid());
    std::shared_ptr<AppointmentItem> copy = b->Copy();
    EXPECT_EQ(copy->GetOid(), 0);
    EXPECT_FALSE(copy->GetIsRecurring());
    EXPECT_EQ(copy->GetSubject(), b->GetSubject());
}

TEST(PimStore, FindAcceptsOnlyTheOidRestriction)
{
    TempPaths paths;
    Application app;
    Open(app, paths.StorePath(), kCalendarFolder);
    std::vector<int32_t> oids;
    for (int i = 0; i < 3; ++i) {
        std::shared_ptr<AppointmentItem> a;
        app.CreateItem(kAppointmentKind, &a);
        a->SetSubject(L"item " + std::to_wstring(i));
        ASSERT_EQ(a->Save(), 0);
        oids.push_back(a->GetOid());
    }
    std::shared_ptr<Folder> folder;
    app.GetDefaultFolder(kCalendarFolder, &folder);
    std::shared_ptr<Items> items;
    folder->GetItems(&items);
    std::shared_ptr<AppointmentItem> found;
    wchar_t padded[40];
    std::swprintf(padded, 40, L"[Oid]=%20d", oids[1]);
    ASSERT_EQ(items->Find(padded, &found), 0);
    EXPECT_EQ(found->GetSubject(), L"item 1");
    EXPECT_EQ(items->Find(L"[Oid]=" + std::to_wstring(oids[2]), &found), 0);
    EXPECT_EQ(found->GetSubject(), L"item 2");

    const std::wstring bad[] = {L"",
                                L"[Oid]=",
                                L"[Oid]=   ",
                                L"[oid]=1",
                                L"[Oid] = 1",
                                L"[Oid]=1 OR 1=1",
                                L"[Oid]=1; DROP TABLE items",
                                L"'; DROP TABLE items; --",
                                L"[Oid]=-1",
                                L"[Oid]=+1",
                                L"[Oid]=0",
                                L"[Oid]=99999999999999999999",
                                L"[Oid]=2147483648",
                                L"[Oid]=1x",
                                L"[Subject]=item 1"};
    for (const std::wstring& text : bad) {
        std::shared_ptr<AppointmentItem> none;
        EXPECT_LT(items->Find(text, &none), 0) << QString::fromStdWString(text).toStdString();
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_LT(items->Find(L"[Oid]=987654", &found), 0) << "an id that does not exist";
    std::shared_ptr<Items> again;
    folder->GetItems(&again);
    EXPECT_EQ(again->Count(), 3) << "nothing was dropped";
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
    series->SetStart(Day(2026, 12, 7, 9));  // a Monday
    series->SetEnd(Day(2026, 12, 7, 9, 15));
    std::shared_ptr<RecurrencePattern> pattern;
    ASSERT_EQ(series->GetRecurrencePattern(&pattern), 0);
    EXPECT_EQ(pattern->GetDuration(), 15);
    ASSERT_EQ(series->Save(), 0);

    std::shared_ptr<AppointmentItem> occurrence;
    EXPECT_LT(pattern->GetOccurrence(Day(2026, 12, 8), &occurrence), 0) << "no Tuesday";
    ASSERT_EQ(pattern->GetOccurrence(Day(2026, 12, 14, 15), &occurrence), 0);
    EXPECT_EQ(occurrence->GetStart(), Day(2026, 12, 14, 9));
    EXPECT_EQ(occurrence->GetEnd(), Day(2026, 12, 14, 9, 15));
    EXPECT_EQ(occurrence->GetSubject(), L"Standup");
    occurrence->SetSubject(L"Standup (moved)");
    occurrence->SetStart(Day(2026, 12, 15, 10));
    occurrence->SetEnd(Day(2026, 12, 15, 10, 30));
    ASSERT_EQ(occurrence->Save(), 0);
    ASSERT_EQ(pattern->GetOccurrence(Day(2026, 12, 21), &occurrence), 0);
    ASSERT_EQ(occurrence->Delete(), 0);

    Application reopened;
    const auto items = Open(reopened, paths.StorePath(), kCalendarFolder);
    std::shared_ptr<AppointmentItem> stored;
    ASSERT_EQ(items->Item(1, &stored), 0);
    ASSERT_EQ(stored->GetRecurrencePattern(&pattern), 0);
    std::shared_ptr<Exceptions> exceptions;
    ASSERT_EQ(pattern->GetExceptions(&exceptions), 0);
    ASSERT_EQ(exceptions->Count(), 2);
    std::shared_ptr<Exception> changed;
    std::shared_ptr<Exception> deleted;
    ASSERT_EQ(exceptions->Item(1, &changed), 0);
    ASSERT_EQ(exceptions->Item(2, &deleted), 0);
    EXPECT_LT(exceptions->Item(3, &deleted), 0);
    EXPECT_EQ(changed->GetOriginalDate(), Day(2026, 12, 14));
    EXPECT_FALSE(changed->GetDeleted());
    std::shared_ptr<AppointmentItem> changedItem;
    ASSERT_EQ(changed->GetAppointmentItem(&changedItem), 0);
    EXPECT_EQ(changedItem->GetSubject(), L"Standup (moved)");
    EXPECT_EQ(changedItem->GetStart(), Day(2026, 12, 15, 10));
    EXPECT_EQ(changedItem->GetLocation(), L"Room 1");
    EXPECT_EQ(deleted->GetOriginalDate(), Day(2026, 12, 21));
    EXPECT_TRUE(deleted->GetDeleted());
    EXPECT_LT(deleted->GetAppointmentItem(&changedItem), 0);
    EXPECT_LT(pattern->GetOccurrence(Day(2026, 12, 21), &occurrence), 0) << "deleted";
    ASSERT_EQ(pattern->GetOccurrence(Day(2026, 12, 14), &occurrence), 0);
    EXPECT_EQ(occurrence->GetSubject(), L"Standup (moved)") << "the exception's item";

    // Clearing the pattern drops the exceptions with it at the next save.
    ASSERT_EQ(stored->ClearRecurrencePattern(), 0);
    ASSERT_EQ(stored->Save(), 0);
    Application third;
    std::shared_ptr<AppointmentItem> plain;
    ASSERT_EQ(Open(third, paths.StorePath(), kCalendarFolder)->Item(1, &plain), 0);
    EXPECT_FALSE(plain->GetIsRecurring());
}

namespace {

QByteArray Sha256(const std::string& path)
{
    return QCryptographicHash::hash(Bytes(path), QCryptographicHash::Sha256);
}

void Write(const std::string& path, const QByteArray& bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void Sql(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

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
            a->SetStart(Day(2026, 12, 1 + i % 28, 9));
            a->SetEnd(Day(2026, 12, 1 + i % 28, 10));
            if (a->Save() < 0) {
                return -1;
            }
        }
        return 0;
    });
}

// How a file given as the store must come out of a log-on and a load.
enum class Outcome { Refused, ReadFails, OpensReadOnly, Opens };

struct UnusableCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    Outcome outcome;
    const char* sentence; // the message after the file's name
    bool asText = false;  // the message starts "The file", not "The calendar store"
};

} // namespace

// Every file that is not a usable store of ours is reported in one sentence naming it, and not
// a byte of it changes: not at log-on, not at a load, not at a refused save.
TEST(PimStore, FilesItCannotUseAreReportedAndLeftUntouched)
{
    std::mt19937 random(7);
    QByteArray garbage;
    for (int i = 0; i < 8192; ++i) {
        garbage.append(static_cast<char>(random()));
    }
    const auto damageLastPage = [&random](const std::string& path) {
        MakeStore(path);
        QByteArray bytes = Bytes(path);
        for (int i = 0; i < 100; ++i) {
            bytes[bytes.size() - 4096 + static_cast<int>(random() % 4096)] =
                static_cast<char>(random());
        }
        Write(path, bytes);
    };
    const auto rollbackStore = [](const std::string& path) {
        MakeStore(path);
        Sql(path, "PRAGMA journal_mode = DELETE");
    };
    const std::vector<UnusableCase> cases{
        {"zero bytes", [](const std::string& p) { Write(p, ""); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"a line end", [](const std::string& p) { Write(p, "\n"); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"one letter", [](const std::string& p) { Write(p, "x"); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"one NUL", [](const std::string& p) { Write(p, QByteArray(1, '\0')); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"random bytes", [&](const std::string& p) { Write(p, garbage); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"a calendar text", [](const std::string& p) { Write(p, "BEGIN:VCALENDAR\r\n"); },
         Outcome::Refused, " is not a calendar store.", true},
        {"another program's tables",
         [](const std::string& p) { Sql(p, "CREATE TABLE notes(body TEXT)"); }, Outcome::Refused,
         " is not a calendar store.", true},
        {"our table names with other columns",
         [](const std::string& p) {
             Sql(p, "CREATE TABLE items(oid INTEGER PRIMARY KEY, title TEXT);"
                    "CREATE TABLE patterns(oid, rule); CREATE TABLE exceptions(oid, day);"
                    "INSERT INTO items(title) VALUES ('keep me'); PRAGMA user_version = 1");
         },
         Outcome::Refused, " is not a calendar store.", true},
        {"a newer store",
         [](const std::string& p) { Sql(p, "CREATE TABLE x(a); PRAGMA user_version = 99"); },
         Outcome::Refused, " was written by a newer version of Tamberlo."},
        {"a damaged last page", damageLastPage, Outcome::ReadFails,
         " is damaged and could not be read in full."},
        {"a store cut at a page boundary",
         [](const std::string& p) {
             MakeStore(p);
             Write(p, Bytes(p).left(Bytes(p).size() - 3 * 4096));
         },
         Outcome::Refused, " is damaged."},
        {"a rollback-journal store", rollbackStore, Outcome::Opens, ""},
        {"a read-only store",
         [](const std::string& p) {
             MakeStore(p);
             QFile::setPermissions(QString::fromStdString(p), QFile::ReadOwner | QFile::ReadGroup);
         },
         Outcome::OpensReadOnly, " is read-only."},
    };
    for (const UnusableCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempPaths paths;
        const std::string path = paths.StorePath();
        c.make(path);
        const QByteArray before = Sha256(path);
        const std::wstring expected = (c.asText ? L"The file " : L"The calendar store ") +
                                      QString::fromStdString(path).toStdWString() +
                                      QString(c.sentence).toStdWString();
        Application app;
        const int32_t logon = app.Logon(path, MondaysOnly);
        std::shared_ptr<Folder> folder;
        std::shared_ptr<Items> items;
        const bool read = logon == 0 && app.GetDefaultFolder(kCalendarFolder, &folder) == 0 &&
                          folder->GetItems(&items) == 0;
        const QByteArray afterRead = Sha256(path);
        std::shared_ptr<AppointmentItem> item;
        const bool saved = app.CreateItem(kAppointmentKind, &item) == 0 && item->Save() == 0;
        switch (c.outcome) {
        case Outcome::Refused:
            EXPECT_LT(logon, 0);
            EXPECT_EQ(app.LastError(), expected);
            break;
        case Outcome::ReadFails:
            EXPECT_FALSE(read);
            EXPECT_EQ(app.LastError(), expected);
            break;
        case Outcome::OpensReadOnly:
            EXPECT_TRUE(read);
            EXPECT_EQ(items->Count(), 300);
            EXPECT_TRUE(app.IsReadOnly());
            EXPECT_FALSE(saved);
            EXPECT_EQ(app.LastError(), expected);
            break;
        case Outcome::Opens:
            EXPECT_TRUE(read);
            EXPECT_EQ(items->Count(), 300);
            EXPECT_TRUE(app.LastError().empty());
            EXPECT_TRUE(saved);
            EXPECT_EQ(afterRead, before);
            EXPECT_EQ(Bytes(path)[18], 1) << "the journal mode is kept";
            break;
        }
        if (c.outcome != Outcome::Opens) {
            app.Logoff();
            EXPECT_EQ(Sha256(path), before);
        }
    }
}

// Stores it opens but may not write, a store being written by another program, and paths that
// are no store at all.
TEST(PimStore, WriteAccessFollowsModeBitsAndLocksFailFast)
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
        EXPECT_EQ(app.LastError(), L"The calendar store " +
                                       QString::fromStdString(store).toStdWString() +
                                       L" cannot be written (its folder is read-only).");
    }
    QFile::setPermissions(folder, folderMode);

    // A rollback-journal store under an exclusive lock cannot even be read; a WAL store that
    // another program is writing still loads, and a save fails fast instead of waiting.
    const std::string rollback = paths.File("rollback.sqlite3");
    MakeStore(rollback);
    Sql(rollback, "PRAGMA journal_mode = DELETE");
    for (const std::string& path : {rollback, store}) {
        sqlite3* locker = nullptr;
        sqlite3_open(path.c_str(), &locker);
        ASSERT_EQ(sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        Application blocked;
        const int32_t logon = blocked.Logon(path, MondaysOnly);
        std::shared_ptr<AppointmentItem> item;
        if (path == rollback) {
            EXPECT_LT(logon, 0);
            EXPECT_EQ(blocked.LastError(), L"The calendar store " +
                                               QString::fromStdString(path).toStdWString() +
                                               L" is in use by another program.");
        } else {
            ASSERT_EQ(logon, 0);
            ASSERT_EQ(blocked.CreateItem(kAppointmentKind, &item), 0);
            EXPECT_LT(item->Save(), 0);
        }
        sqlite3_exec(locker, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(locker);
    }

    const std::string missing = paths.File("missing.sqlite3");
    Application reader;
    EXPECT_LT(reader.Logon(missing, MondaysOnly, StoreDatabase::Access::ReadOnly), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(missing)));
    Application directory;
    EXPECT_LT(directory.Logon(paths.File(""), MondaysOnly), 0);
}

TEST(PimStore, AKillDuringSavesLeavesEveryItemWhole)
{
    TempPaths paths;
    {
        Application app;
        Open(app, paths.StorePath(), kCalendarFolder);
        for (int i = 0; i < 20; ++i) {
            std::shared_ptr<AppointmentItem> a;
            app.CreateItem(kAppointmentKind, &a);
            a->SetSubject(L"0");
            ASSERT_EQ(a->Save(), 0);
        }
    }
    std::mt19937 random(42);
    int saved = 0;
    for (int round = 0; round < 5; ++round) {
        int firstSave[2];  // the child says when it has saved once, however busy the machine
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
                a->SetLocation(mark);
                a->SetBody(mark);
                a->SetBusyStatus(counter);
                std::shared_ptr<RecurrencePattern> p;
                a->GetRecurrencePattern(&p);
                p->SetOccurrences(counter);
                if (a->Save() == 0 && counter == 1) {
                    (void)!write(firstSave[1], "s", 1);
                }
            }
        }
        char saidSaved = 0;
        ASSERT_EQ(read(firstSave[0], &saidSaved, 1), 1);
        close(firstSave[0]);
        close(firstSave[1]);
        usleep(random() % 80000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        Application app;
        const auto items = Open(app, paths.StorePath(), kCalendarFolder);
        ASSERT_EQ(items->Count(), 20);
        for (int n = 1; n <= items->Count(); ++n) {
            std::shared_ptr<AppointmentItem> a;
            ASSERT_EQ(items->Item(n, &a), 0);
            const std::wstring mark = a->GetSubject();
            EXPECT_EQ(a->GetLocation(), mark == L"0" ? L"" : mark);
            EXPECT_EQ(a->GetBody(), mark == L"0" ? L"" : mark);
            if (mark != L"0") {
                ++saved;
                std::shared_ptr<RecurrencePattern> p;
                a->GetRecurrencePattern(&p);
                EXPECT_EQ(std::to_wstring(p->GetOccurrences()), mark);
                EXPECT_EQ(std::to_wstring(a->GetBusyStatus()), mark);
            }
        }
    }
    EXPECT_GT(saved, 0) << "the child must have saved before it was killed";
}

TEST(PimStore, AStoreOfTheFormerVersionGainsUidsInPlace)
{
    TempPaths paths;
    {
        // The version-1 layout: items without a uid column.
        sqlite3* db = nullptr;
        sqlite3_open(paths.StorePath().c_str(), &db);
        const std::string fields =
            "subject TEXT, location TEXT, categories TEXT, body TEXT, start_at REAL, end_at "
            "REAL, all_day INTEGER, busy INTEGER, sensitivity INTEGER, reminder_set INTEGER, "
            "reminder_minutes INTEGER, reminder_options INTEGER, reminder_sound TEXT, start_date "
            "REAL, due_date REAL, date_completed REAL, reminder_time REAL, importance INTEGER, "
            "complete INTEGER";
        const std::string schema =
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
            "VALUES (1, 'Kept', 45000.5, 45000.6); PRAGMA user_version = 1;";
        ASSERT_EQ(sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    Application app;
    std::shared_ptr<AppointmentItem> kept;
    ASSERT_EQ(Open(app, paths.StorePath(), kCalendarFolder)->Item(1, &kept), 0);
    EXPECT_EQ(kept->GetSubject(), L"Kept");
    EXPECT_EQ(kept->GetUID(), L"");
    kept->SetUID(L"a1b2@example.org");
    ASSERT_EQ(kept->Save(), 0);
    EXPECT_EQ(kept->Copy()->GetUID(), L"");
    app.Logoff();

    std::shared_ptr<AppointmentItem> again;
    ASSERT_EQ(Open(app, paths.StorePath(), kCalendarFolder)->Item(1, &again), 0);
    EXPECT_EQ(again->GetUID(), L"a1b2@example.org");
    app.Logoff();
    sqlite3* db = nullptr;
    sqlite3_open(paths.StorePath().c_str(), &db);
    sqlite3_stmt* version = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    ASSERT_EQ(sqlite3_step(version), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(version, 0), StoreDatabase::kSchemaVersion);
    sqlite3_finalize(version);
    sqlite3_close(db);
}

TEST(PimStore, ReusedWriteStatementsRecoverFromFailuresAndReopens)
{
    TempPaths paths;
    StoreDatabase db;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(db.Open(paths.StorePath()), 0);
        StoredItem gone;
        gone.fields.Oid = 9999;  // an update of a missing row fails without leaving a bad state
        EXPECT_LT(db.Save(gone), 0);
        for (int n = 0; n < 3; ++n) {
            StoredItem item;
            item.fields.Subject = std::to_wstring(round) + L"-" + std::to_wstring(n);
            ASSERT_EQ(db.Save(item), 0);
            EXPECT_EQ(db.Delete(item.fields.Oid), 0);
            EXPECT_LT(db.Delete(item.fields.Oid), 0);
            item.fields.Oid = 0;
            ASSERT_EQ(db.Save(item), 0);
        }
        db.Close();  // finalizes the kept statements; the next round prepares them afresh
    }
    ASSERT_EQ(db.Open(paths.StorePath()), 0);
    std::vector<StoredItem> loaded;
    ASSERT_EQ(db.Load(kAppointmentKind, 0, loaded), 0);
    ASSERT_EQ(loaded.size(), 6u);
    EXPECT_EQ(loaded.back().fields.Subject, L"1-2");
}
