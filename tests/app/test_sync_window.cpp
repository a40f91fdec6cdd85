// The program's side of sync, with rounds of the tests' own: one round at a time, the interval,
// the status line, the password question and a round after a change made in the window.
#include <QLabel>
#include <QLineEdit>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>

#include "app/sync_commands.h"
#include "app/sync_scheduler.h"
#include "dialogs/sync_access.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/dates.h"
#include "tests/support/store_items.h"
#include "view/tamberlo_view.h"

namespace {
int32_t AddAppointment(const std::string& store, const std::wstring& subject, int day, int hour)
{
    PimSession session(store, OccurrenceOnDay);
    session.Connect();
    return SavedAppointment(session, subject, At(2026, 12, day, hour), At(2026, 12, day, hour + 1))
        ->GetOid();
}

QTimer* Timer(const SyncScheduler& scheduler, const char* name)
{
    return scheduler.findChild<QTimer*>(QString::fromLatin1(name));
}

TEST(SyncScheduler, OneRoundAtATimeAndOneMoreAfterARequestDuringIt)
{
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    std::atomic<int> started{0};
    QSemaphore release;
    int finished = 0;
    SyncScheduler scheduler(
        [&]() -> SyncScheduler::Round {
            return [&](const std::function<bool()>& carryOn) {
                most = std::max(most.load(), ++running);
                ++started;
                release.acquire();
                EXPECT_TRUE(carryOn());
                --running;
                return SyncOutcome{};
            };
        },
        [&](const SyncOutcome&) { ++finished; });
    scheduler.RunNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started == 1; }, 10000));
    scheduler.RunNow();
    scheduler.RunNow();
    EXPECT_TRUE(scheduler.Running());
    release.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started == 2; }, 10000));
    EXPECT_EQ(finished, 1);
    release.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished == 2; }, 10000));
    EXPECT_EQ(std::pair(most.load(), started.load()), std::pair(1, 2));
    EXPECT_FALSE(scheduler.Running());
    // Quitting tells a running round to stop where it is, and waits only for that.
    std::atomic<bool> stopped{false};
    auto closing = std::make_unique<SyncScheduler>(
        [&]() -> SyncScheduler::Round {
            return [&](const std::function<bool()>& carryOn) {
                ++started;
                while (carryOn()) {
                    QThread::msleep(5);
                }
                stopped = true;
                return SyncOutcome{};
            };
        },
        [](const SyncOutcome&) {});
    closing->RunNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started == 3; }, 10000));
    closing.reset();
    EXPECT_TRUE(stopped);
}

TEST(SyncScheduler, TheIntervalIsClamped)
{
    const std::pair<int, int> minutes[] = {{-5, 0}, {1, 1}, {1440, 1440}, {INT_MAX, 1440}};
    for (const auto& [stored, usable] : minutes) {
        EXPECT_EQ(UsableSyncInterval(stored), usable) << stored;
    }
    SyncScheduler scheduler([] { return SyncScheduler::Round(); }, {});
    scheduler.SetIntervalMinutes(INT_MAX);
    EXPECT_EQ(Timer(scheduler, "syncInterval")->interval(), 1440 * 60 * 1000);
    scheduler.SetIntervalMinutes(0);
    EXPECT_FALSE(Timer(scheduler, "syncInterval")->isActive());
}

TEST(SyncStatus, CountsAndFailuresInPlainWords)
{
    SyncOutcome outcome;
    outcome.anyAccount = true;
    outcome.report.received = 2;
    outcome.report.deletedHere = outcome.report.sent = 1;
    const SYSTEMTIME at = MakeSystemTime(2026, 12, 7, 9, 5);
    EXPECT_EQ(SyncStatusText(outcome, at), L"Synced at 09:05: 3 received, 1 sent.");
    outcome.report.conflicts = 1;
    outcome.report.skipped = 2;
    EXPECT_EQ(SyncStatusText(outcome, at),
              L"Synced at 09:05: 3 received, 1 sent. Conflicts kept as copies here: 1. Server "
              L"items left alone, as this calendar cannot hold them: 2.");
    outcome.report.error = {
        caldav::Failure::WrongPassword, L"dav.example.org refused the user name or password.", {}};
    EXPECT_EQ(SyncStatusText(outcome, at),
              L"Sync failed at 09:05: dav.example.org refused the user name or password.");
}

class SyncWindowTest : public ShellTest {
protected:
    void StartWithRounds()
    {
        AppEnvironment environment{paths.ProfilePath(), paths.StorePath(), &messages, &dialogs};
        environment.network.round = [this](const std::string& store, const pim::SyncAccount&,
                                           const caldav::Connection& connection,
                                           const caldav::RoundOptions&) {
            return Round(store, connection);
        };
        app = std::make_unique<CTamberloApp>(std::move(environment));
        ASSERT_TRUE(app->InitInstance());
    }
    // Runs on the worker: what a server would send, through a connection of its own.
    caldav::RoundReport Round(const std::string& store, const caldav::Connection& connection)
    {
        passwords.push_back(connection.password);
        caldav::RoundReport report;
        if (connection.password.isEmpty()) {
            report.error = {caldav::Failure::WrongPassword, L"dav.example.org said no.", {}};
            return report;
        }
        AddAppointment(store, L"Standup", 9, 8);
        report.received = 1;
        report.storeChanged = true;
        return report;
    }
    void AddAccount()
    {
        pim::SyncAccount account{0,   L"https://dav.example.org", L"alice", L"/a/", L"/a/", L"A",
                                 L"A"};
        ASSERT_GE(WithSyncLedger(paths.StorePath(),
                                 [&](pim::SyncLedger& l) { return l.SaveAccount(account); }),
                  0);
    }
    // Sync Now, and the round (or rounds) it leads to over.
    void SyncNow()
    {
        FindCommand(cmd::ID_SYNC_NOW)->trigger();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app->Sync()->Scheduler().Running(); }, 10000));
    }
    std::vector<QString> passwords;
};

TEST_F(SyncWindowTest, WithoutAnAccountSyncNowSaysSo)
{
    StartWithRounds();
    EXPECT_TRUE(Opened(cmd::ID_CALENDAR_ACCOUNTS)->isEnabled());
    SyncNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown().empty(); }, 10000));
    EXPECT_EQ(messages.shown()[0].text, res::LoadString(res::IDS_SYNC_NO_ACCOUNT));
    EXPECT_TRUE(passwords.empty());
    EXPECT_EQ(app->Sync()->Status(), "");
}

// Only Sync Now asks for a password (a round of its own never does); Cancel says none was given.
TEST_F(SyncWindowTest, OnlySyncNowAsksForThePasswordAndTheWindowKeepsItsSelection)
{
    const int32_t dentist = AddAppointment(paths.StorePath(), L"Dentist", 9, 10);
    AddAccount();
    StartWithRounds();
    CTamberloView& view = *app->MainFrame()->View();
    view.JumpTo(MakeSystemTime(2026, 12, 9));
    view.SelectDetailLine(0);
    ASSERT_EQ(view.Selection().oid, PimSession::OidField(dentist));
    const QString noPassword = "No password was given for alice@dav.example.org.";
    QTimer* afterChange = Timer(app->Sync()->Scheduler(), "syncAfterChange");
    afterChange->stop();
    QMetaObject::invokeMethod(afterChange, "timeout");
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Sync()->Status() == noPassword; }, 10000));
    EXPECT_EQ(dialogs.RunCount(), 0);
    SyncNow(); // the question cancelled
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.RunCount() == 1; }, 10000));
    EXPECT_EQ(app->Sync()->Status(), noPassword);
    passwords.clear();
    dialogs.Queue([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>()->setText("secret");
        return DialogAccepted;
    });
    SyncNow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return passwords.size() == 2; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->Sync()->Scheduler().Running(); }, 10000));
    EXPECT_EQ(passwords, (std::vector<QString>{"", "secret"}));
    EXPECT_EQ(app->Sync()->Status(), "Synced at 10:30: 1 received, 0 sent.");
    EXPECT_EQ(app->MainFrame()->findChild<QLabel*>("SyncStatus")->text(), app->Sync()->Status());
    EXPECT_EQ(app->Document()->ApptCount(view.SelectedRow()), 2);
    EXPECT_EQ(view.Selection().oid, PimSession::OidField(dentist));
    EXPECT_EQ(view.Selection().line, 1); // the early Standup now comes first
}

TEST_F(SyncWindowTest, AChangeInTheWindowLeadsToARound)
{
    AddAppointment(paths.StorePath(), L"Dentist", 9, 10);
    StartWithRounds();
    QTimer* afterChange = Timer(app->Sync()->Scheduler(), "syncAfterChange");
    afterChange->stop(); // the round soon after the start
    CTamberloView& view = *app->MainFrame()->View();
    view.JumpTo(MakeSystemTime(2026, 12, 9));
    view.SelectDetailLine(0);
    EXPECT_FALSE(afterChange->isActive()); // reading is no change
    messages.QueueAnswer(IDOK);
    Opened(cmd::ID_DELETE_ITEM)->trigger();
    EXPECT_TRUE(afterChange->isActive());
}
} // namespace
