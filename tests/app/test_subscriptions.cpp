// Subscriptions in the real window over a loopback server of calendar files: an address given
// as a file is offered as a subscription, Calendar Accounts subscribes through its own dialog,
// and Sync Now reads every subscription again, saying in the status bar how it went.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/sync_commands.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "res/command_ids.h"
#include "tests/app/shell_fixture.h"
#include "tests/sync/ics_server.h"

namespace {

const QByteArray kHolidays = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//tests//EN\r\n"
                             "X-WR-CALNAME:Public holidays\r\nBEGIN:VEVENT\r\nUID:xmas\r\n"
                             "DTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20261225\r\n"
                             "SUMMARY:Christmas\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

class SubscriptionWindowTest : public ShellTest {
protected:
    void StartWithNetwork()
    {
        AppEnvironment environment{
            paths.ProfilePath(), paths.StorePath(), &messages, &dialogs, false, arguments};
        environment.network = CalDavNetwork();
        app = std::make_unique<CTamberloApp>(std::move(environment));
        ASSERT_TRUE(app->InitInstance());
    }
    std::vector<std::wstring> Subscriptions()
    {
        pim::StoreDatabase db;
        db.Open(paths.StorePath());
        std::vector<pim::Calendar> all;
        pim::CalendarList(db).All(all);
        std::vector<std::wstring> names;
        for (const pim::Calendar& c : all) {
            if (c.kind == pim::CalendarKind::Subscription) {
                names.push_back(c.name + L" <" + c.url + L">");
            }
        }
        return names;
    }
    QString SyncNow()
    {
        const int before = web.Heads().size();
        FindCommand(cmd::ID_SYNC_NOW)->trigger();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return web.Heads().size() > before && !app->Sync()->Scheduler().Running(); },
            20000));
        return app->Sync()->Status();
    }

    IcsServer web;
};

TEST_F(SubscriptionWindowTest, AddressesAreOfferedAsSubscriptionsAndSyncNowReadsThemAgain)
{
    web.Serve(kHolidays);
    const std::wstring declined = web.Url("/declined.ics").toString().toStdWString();
    const std::wstring taken = web.Url("/holidays").toString().toStdWString();
    arguments = {QString::fromStdWString(declined).toStdString(),
                 QString::fromStdWString(taken).toStdString()};
    messages.QueueAnswer(IDNO);
    messages.QueueAnswer(IDYES);
    StartWithNetwork();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.shown().size() == 3; }, 20000));
    const auto& shown = messages.shown();
    EXPECT_EQ(shown[0].text, L"Subscribe to the calendar at " + declined +
                                 L"? It becomes a read-only calendar, read again at every sync.");
    EXPECT_EQ(shown[0].flags, unsigned{MB_YESNO | MB_ICONQUESTION});
    EXPECT_EQ(shown[2].text, L"Subscribed to \"Public holidays\": 1 item.");
    EXPECT_EQ(Subscriptions(), std::vector<std::wstring>{L"Public holidays <" + taken + L">"});

    // Calendar Accounts > Subscribe...: a bad address is said in the dialog, a good one kept.
    dialogs.Queue([](QDialog& accounts) {
        accounts.findChild<QPushButton*>("subscribe")->click();
        return DialogRejected;
    });
    QString refusal;
    dialogs.Queue([&](QDialog& dialog) {
        auto* address = dialog.findChild<QLineEdit*>("address");
        QSignalSpy finished(&dialog, SIGNAL(SubscribeFinished()));
        address->setText("ftp://example.org/team.ics");
        dialog.findChild<QPushButton*>("subscribe")->click();
        refusal = dialog.findChild<QLabel*>("subscribeStatus")->text();
        address->setText(web.Url("/team.ics").toString());
        dialog.findChild<QLineEdit*>("name")->setText("Team");
        dialog.findChild<QPushButton*>("subscribe")->click();
        EXPECT_TRUE(finished.wait(20000));
        return dialog.result();
    });
    FindCommand(cmd::ID_CALENDAR_ACCOUNTS)->trigger();
    EXPECT_TRUE(dialogs.Exhausted());
    EXPECT_EQ(refusal, "Not the address of a calendar: give an https:// or webcal:// address.");
    EXPECT_EQ(Subscriptions().size(), 2U);
    EXPECT_EQ(Subscriptions().back(),
              L"Team <" + web.Url("/team.ics").toString().toStdWString() + L">");

    // The file unchanged, changed, then no calendar: the status says each as a round's.
    EXPECT_EQ(SyncNow().toStdString(), "Synced at 10:30: 0 received, 0 sent.");
    EXPECT_TRUE(web.Heads().back().contains("If-None-Match:"));
    web.Serve(QByteArray(kHolidays).replace("Christmas", "Christmas Day"));
    EXPECT_EQ(SyncNow().toStdString(), "Synced at 10:30: 2 received, 0 sent.");
    web.Serve("<html></html>");
    EXPECT_EQ(SyncNow().toStdString(),
              "Sync failed at 10:30: The subscription \"Public holidays\" was not refreshed: " +
                  QString::fromStdWString(taken).toStdString() + " holds no calendar.");

    // Calendar Accounts lists each subscription with how the last round's refresh went.
    QStringList listed;
    dialogs.Queue([&listed](QDialog& accounts) {
        const QListWidget* list = accounts.findChild<QListWidget*>("subscriptionList");
        for (int i = 0; i < list->count(); ++i) {
            listed << list->item(i)->text();
        }
        return DialogRejected;
    });
    FindCommand(cmd::ID_CALENDAR_ACCOUNTS)->trigger();
    const QString team = web.Url("/team.ics").toString();
    EXPECT_EQ(
        listed,
        QStringList({QStringLiteral("Public holidays <%1>, not refreshed: %1 holds "
                                    "no calendar.")
                         .arg(QString::fromStdWString(taken)),
                     QStringLiteral("Team <%1>, not refreshed: %1 holds no calendar.").arg(team)}));
}

} // namespace
