// What the sync tests share around real DAV servers: items saved and read back on either side,
// and tamberlo-sync run in-process or as a process killed at a request of the proxy.
#pragma once

#include <QProcess>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "model/recurrence.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "sync/calendar_collection.h"
#include "sync/resource_text.h"
#include "tests/support/ical_builder.h"
#include "tests/sync/dav_server.h"
#include "tests/sync/fault_proxy.h"
#include "tools/sync/sync_tool.h"

// The "now" of every round and tool run of the sync tests.
inline const SYSTEMTIME kRoundNow = MakeSystemTime(2026, 12, 7, 9, 30);

// Subject -> how often a side holds it.
using Counts = std::map<std::wstring, int>;

// An hour's appointment from `start` in `calendar` (0: the default local one), not yet saved.
inline pim::StoredItem Appointment(const std::wstring& subject, DATE start, int32_t calendar = 0)
{
    pim::StoredItem item;
    item.fields.Subject = subject;
    item.fields.Start = start;
    item.fields.End = start + 1.0 / 24;
    item.calendar = calendar;
    return item;
}

// Saves the item as the program does; the store's status.
inline int32_t Save(const std::string& store, pim::StoredItem& item)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0) << store;
    db.SetOccurrenceRule(OccurrenceOnDay);
    return db.Save(item);
}
inline int32_t Save(const std::string& store, pim::StoredItem&& item)
{
    return Save(store, item);
}

inline void Delete(const std::string& store, int32_t oid)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0) << store;
    EXPECT_EQ(db.Delete(oid), 0) << oid;
}

// Every item of the store, appointments then tasks, conflict copies included.
inline std::vector<pim::StoredItem> Items(const std::string& store)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0) << store;
    std::vector<pim::StoredItem> all;
    std::vector<pim::StoredItem> tasks;
    db.Load(pim::kAppointmentKind, 0, all);
    db.Load(pim::kTaskKind, 0, tasks);
    all.insert(all.end(), tasks.begin(), tasks.end());
    return all;
}

// The store's first item of that subject, or an empty one.
inline pim::StoredItem Named(const std::string& store, const std::wstring& subject)
{
    for (const pim::StoredItem& item : Items(store)) {
        if (item.fields.Subject == subject) {
            return item;
        }
    }
    return {};
}

// As the editor's Calendar field does: every item of that subject saved into `calendar`.
inline void MoveTo(const std::string& store, const std::wstring& subject, int32_t calendar)
{
    for (pim::StoredItem& item : Items(store)) {
        if (item.fields.Subject == subject) {
            item.calendar = calendar;
            ASSERT_EQ(Save(store, item), 0);
        }
    }
}

inline int32_t CalendarNamed(const std::string& store, const wchar_t* name)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::Calendar c;
    EXPECT_EQ(pim::CalendarList(db).Named(name, c), 0) << name;
    return c.id;
}

// The items a collection holds, as read from their resources.
inline std::vector<pim::StoredItem> ItemsThere(const caldav::Connection& connection,
                                               const QUrl& calendar)
{
    caldav::DavClient client(connection);
    const caldav::CollectionListing listing = caldav::ListResources(client, calendar);
    EXPECT_FALSE(listing.error);
    std::vector<QString> hrefs;
    for (const caldav::ResourceState& r : listing.resources) {
        hrefs.push_back(r.href);
    }
    caldav::SyncError error;
    std::vector<pim::StoredItem> items;
    for (const caldav::Resource& r : caldav::FetchResources(client, calendar, hrefs, error)) {
        if (caldav::ResourceItem read = caldav::ReadResource(r.calendarData, kRoundNow);
            read.item) {
            items.push_back(std::move(*read.item));
        }
    }
    EXPECT_FALSE(error);
    return items;
}

inline Counts SubjectsThere(const DavServer& server, const QUrl& calendar)
{
    Counts subjects;
    for (const pim::StoredItem& item : ItemsThere(server.Account(), calendar)) {
        ++subjects[item.fields.Subject];
    }
    return subjects;
}

// One event as another client writes it: UID and SUMMARY `uid`, a DTSTAMP, then `lines`.
inline QByteArray EventText(const std::string& uid, const std::string& lines)
{
    return QByteArray::fromStdString(Calendar(Event(uid, "DTSTAMP:20261201T000000Z\r\n" + lines)));
}

// alice's account over `proxy` saved into `store`: Work for events and tasks, Family beside it.
inline pim::SyncAccount SaveWorkAndFamily(const std::string& store, const FaultProxy& proxy,
                                          const QUrl& work, const QUrl& family)
{
    pim::SyncAccount account;
    account.server = proxy.Url().toString().toStdWString();
    account.user = L"alice";
    account.eventCalendar = account.taskCalendar = proxy.Url(work.path()).toString().toStdWString();
    account.eventCalendarName = account.taskCalendarName = L"Work";
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::SyncLedger ledger(db);
    EXPECT_EQ(ledger.SaveAccount(account), 0);
    pim::Calendar c;
    c.name = L"Family";
    c.url = proxy.Url(family.path()).toString().toStdWString();
    EXPECT_EQ(ledger.AddCalendar(account.id, c), 0);
    return account;
}

struct ToolRun {
    int code = -1;
    std::string out, err;
};

// tamberlo-sync in-process at kRoundNow.
inline ToolRun Tool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunSync(args, kRoundNow, out, err);
    return {code, out.str(), err.str()};
}

// tamberlo-sync's rounds on `store` as a process runs them, alice's password given by command.
inline QStringList ToolRoundArguments(const std::string& store, const std::string& profile)
{
    return QStringList{"--password-command", "echo secret", "--store"}
           << QString::fromStdString(store) << "--profile" << QString::fromStdString(profile);
}

// tamberlo-sync's round as a process, killed with SIGKILL when the proxy's `at`-th request from
// now arrives (`answered`: once answered, before it is relayed); true when it was killed.
inline bool KilledToolRound(FaultProxy& proxy, const std::string& store, const std::string& profile,
                            int at, bool answered)
{
    std::atomic<qint64> child{0};
    const int killAt = proxy.Requests() + at;
    const auto kill = [&child, killAt](int request) {
        if (request == killAt && child.load() > 0) {
            ::kill(static_cast<pid_t>(child.load()), SIGKILL);
        }
    };
    answered ? proxy.On({}, kill) : proxy.On(kill);
    QProcess process;
    process.start(QStringLiteral(TAMBERLO_SYNC_PROGRAM), ToolRoundArguments(store, profile));
    EXPECT_TRUE(process.waitForStarted(10000));
    child = process.processId();
    EXPECT_TRUE(process.waitForFinished(60000));
    child = 0;
    proxy.On({});
    return process.exitStatus() == QProcess::CrashExit;
}
