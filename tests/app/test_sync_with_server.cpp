// The real window against a real Radicale: an account added through Calendar Accounts (its
// calendars found by the real discovery), then the round that follows brings the phone's event
// in and leaves the local calendar's here, and one made in the server's calendar is sent.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/sync_commands.h"
#include "dialogs/calendar_accounts_dlg.h"
#include "editors/appoint_rules.h"
#include "editors/calendar_field.h"
#include "editors/editor_controls.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "sync/calendar_collection.h"
#include "sync/dav_client.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/dates.h"
#include "tests/support/ical_builder.h"
#include "tests/support/store_items.h"
#include "tests/sync/dav_server.h"
#include "view/tamberlo_view.h"

namespace {

const QByteArray kPhoneEvent = QByteArray::fromStdString(
    Calendar(Event("phone-1", "DTSTAMP:20261207T080000Z\r\nDTSTART:20261209T080000Z\r\n"
                              "DTEND:20261209T083000Z\r\n")));

class ServerWindowTest : public ShellTest {};

TEST_F(ServerWindowTest, AnAccountAddedInTheWindowPullsAndLeavesLocalItemsHere)
{
    DavServer server(DavServer::Kind::Radicale);
    ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
    const QUrl calendar = server.MakeCalendar("cal", "Calendar");
    caldav::DavClient phone(server.Account());
    ASSERT_EQ(phone.Put(server.Url(calendar.path() + "phone.ics"), kPhoneEvent,
                        caldav::Precondition::IfNoneMatch)
                      .status /
                  100,
              2);
    {
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        session.Connect();
        SavedAppointment(session, L"Dentist", At(2026, 12, 9, 10), At(2026, 12, 9, 11));
    }
    AppEnvironment environment{paths.ProfilePath(), paths.StorePath(), &messages, &dialogs};
    environment.network = CalDavNetwork();
    app = std::make_unique<CTamberloApp>(std::move(environment));
    ASSERT_TRUE(app->InitInstance());

    dialogs.Queue([&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("server")->setText(server.Base().toString());
        dialog.findChild<QLineEdit*>("user")->setText("alice");
        dialog.findChild<QLineEdit*>("password")->setText("secret");
        QSignalSpy tested(&dialog, SIGNAL(TestFinished()));
        dialog.findChild<QPushButton*>("test")->click();
        EXPECT_TRUE(tested.wait(20000));
        dialog.findChild<QPushButton*>("add")->click(); // every calendar found comes ticked
        return DialogRejected;
    });
    FindCommand(cmd::ID_CALENDAR_ACCOUNTS)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->Sync()->Status().startsWith("Sync"); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->Sync()->Scheduler().Running(); }, 60000));
    EXPECT_EQ(app->Sync()->Status().toStdString(), "Synced at 10:30: 1 received, 0 sent.");
    CTamberloView& view = *app->MainFrame()->View();
    view.JumpTo(MakeSystemTime(2026, 12, 9));
    EXPECT_EQ(app->Document()->ApptCount(view.SelectedRow()), 2);
    caldav::CollectionListing there = caldav::ListResources(phone, calendar);
    EXPECT_FALSE(there.error);
    // The dentist was made before the account, in the local calendar, which stays here.
    EXPECT_EQ(there.resources.size(), 1u);

    // A new appointment put into the server's calendar in the editor goes there at Sync Now.
    dialogs.Queue([&](QDialog& editor) {
        auto* title = editor.findChild<QComboBox*>(ControlName(kAppointTitle));
        auto* calendars = editor.findChild<QComboBox*>(ControlName(kCalendarControl));
        title->setEditText("Review");
        calendars->setCurrentIndex(calendars->findText("Calendar"));
        editor.accept();
        return editor.result() == QDialog::Accepted ? DialogAccepted : DialogRejected;
    });
    FindCommand(cmd::ID_ADD_APPOINT)->trigger();
    FindCommand(cmd::ID_SYNC_NOW)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->Sync()->Scheduler().Running(); }, 60000));
    EXPECT_EQ(app->Sync()->Status().toStdString(), "Synced at 10:30: 0 received, 1 sent.");
    EXPECT_EQ(caldav::ListResources(phone, calendar).resources.size(), 2u);
    EXPECT_TRUE(messages.shown().empty());
}

} // namespace
