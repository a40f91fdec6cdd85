// The account the calendar-move tests share: alice's over a fault proxy, with the server's Work
// calendar for events and tasks and its Family calendar beside it.
#pragma once

#include <gtest/gtest.h>

#include <QUrl>
#include <string>

#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "tests/sync/fault_proxy.h"

// Saves the account into the store at `store`; answers it with its id.
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
