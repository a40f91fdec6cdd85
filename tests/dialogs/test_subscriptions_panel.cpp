// The subscriptions of Calendar Accounts over a real store: each listed with how its last refresh
// went, and unsubscribed only after a question that names it and its items.
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "dialogs/calendar_accounts_dlg.h"
#include "dialogs/sync_access.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "platform/pim/store_database.h"
#include "platform/pim/store_subscriptions.h"
#include "platform/profile.h"
#include "tests/support/temp_paths.h"

namespace {

int32_t Subscribed(const std::string& store, const wchar_t* name, const wchar_t* url, int items)
{
    pim::StoreDatabase db;
    EXPECT_EQ(db.Open(store), 0);
    pim::Calendar calendar{.name = name, .url = url};
    std::vector<pim::StoredItem> held(static_cast<size_t>(items));
    for (int i = 0; i < items; ++i) {
        held[static_cast<size_t>(i)].fields.UID = name + std::to_wstring(i);
        held[static_cast<size_t>(i)].fields.Subject = L"day";
        held[static_cast<size_t>(i)].fields.Start = 46380.0 + i;
        held[static_cast<size_t>(i)].fields.End = 46381.0 + i;
    }
    pim::SubscriptionChange change;
    EXPECT_EQ(pim::SubscriptionLedger(db).Subscribe(calendar, held, {}, change), 0);
    return calendar.id;
}

QStringList Lines(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts << list.item(i)->text();
    }
    return texts;
}

TEST(SubscriptionsPanelTest, ListsAndUnsubscribesAfterAsking)
{
    TempPaths paths;
    const std::string store = paths.StorePath();
    const int32_t holidays = Subscribed(store, L"Holidays", L"https://example.org/h.ics", 2);
    const int32_t team = Subscribed(store, L"Team", L"https://example.org/team.ics", 3);
    Profile profile{paths.ProfilePath()};
    SyncCredentials credentials{profile, nullptr};
    ScriptedMessageService messages;
    ScriptedDialogRunner dialogs;
    const std::map<int32_t, SubscriptionRead> reads{
        {holidays, {MakeSystemTime(2026, 12, 7, 9, 5), L""}},
        {team,
         {MakeSystemTime(2026, 12, 7, 9, 5), L"The server example.org answered with the "
                                             L"error 500."}}};
    dialogs.Queue([&](QDialog& shown) {
        auto& dialog = static_cast<CCalendarAccountsDlg&>(shown);
        QListWidget* list = dialog.findChild<QListWidget*>("subscriptionList");
        const auto button = [&dialog](const char* name) {
            return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
        };
        EXPECT_EQ(Lines(*list),
                  QStringList({"Holidays <https://example.org/h.ics>, read at 09:05",
                               "Team <https://example.org/team.ics>, not refreshed: The server "
                               "example.org answered with the error 500."}));
        EXPECT_FALSE(button("unsubscribe")->isEnabled()) << "none chosen";
        list->setCurrentRow(1);
        messages.QueueAnswer(IDCANCEL);
        button("unsubscribe")->click();
        EXPECT_EQ(list->count(), 2) << "cancelled";
        messages.QueueAnswer(IDOK);
        button("unsubscribe")->click();
        EXPECT_EQ(Lines(*list),
                  QStringList({"Holidays <https://example.org/h.ics>, read at 09:05"}));
        return DialogRejected;
    });
    // The store's side of unsubscribing is the sync tests'.
    EXPECT_TRUE(
        CCalendarAccountsDlg::Run(dialogs, store, credentials, messages, {}, nullptr, {}, reads));
    EXPECT_TRUE(dialogs.Exhausted());
    ASSERT_EQ(messages.shown().size(), 2U);
    EXPECT_EQ(messages.shown()[1].text,
              L"Unsubscribe from \"Team\" and delete its 3 items here? The calendar at "
              L"https://example.org/team.ics stays as it is.");
}

} // namespace
