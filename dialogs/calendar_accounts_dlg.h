// "Calendar Accounts...": the CalDAV accounts kept in the store. Add one from a server address,
// a user and a password; Test finds its calendars (on a worker thread, the window keeps
// answering) and lists each with a check box and its colour, and Add keeps the ticked ones (Add
// again on a kept account adds calendars to it); Remove drops an account with its sync state,
// the items staying. The addresses the server names as the user's
// are kept with the account; a line below takes the user's own addresses for local calendars.
// Below it the subscriptions are listed, to subscribe, rename, recolour and unsubscribe.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/subscriptions_panel.h"
#include "platform/pim/sync_ledger.h"
#include "sync/calendar_collection.h"

class DialogRunner;
class MessageService;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class SyncCredentials;
class WorkerJob;

// The dialog's fields as typed and chosen, for the check below.
struct AccountFields {
    std::wstring server;
    std::vector<std::wstring> calendars; // the ticked collections' URLs, kept ones among them
};
enum class AccountField { Server, Calendars };
struct AccountRefusal {
    AccountField field;
    int messageId;
};
// The first field Add must refuse; nothing when the account can be kept.
std::optional<AccountRefusal> CheckAccount(const AccountFields& fields);

// Asks for the account's password through `dialogs`; nothing when the user cancels.
std::optional<QString> AskPassword(DialogRunner& dialogs, const pim::SyncAccount& account,
                                   QWidget* parent = nullptr);

class CCalendarAccountsDlg : public QDialog {
    Q_OBJECT
public:
    using Discoverer = std::function<caldav::Discovery(const caldav::Connection&)>;

    CCalendarAccountsDlg(std::string storePath, SyncCredentials& credentials,
                         MessageService& messages, Discoverer discover, QWidget* parent = nullptr);
    // Waits for a Test under way (its requests are bounded in time).
    ~CCalendarAccountsDlg() override;

    // The "Calendar Accounts..." command; true when an account was added or removed.
    // `failed`: the accounts whose last round failed, by id, with why; the list marks them.
    // `reads`: how each subscription's last refresh went, by calendar id.
    static bool Run(DialogRunner& dialogs, std::string storePath, SyncCredentials& credentials,
                    MessageService& messages, Discoverer discover, QWidget* parent = nullptr,
                    std::map<int32_t, std::wstring> failed = {},
                    std::map<int32_t, SubscriptionRead> reads = {});

    void ShowFailures(std::map<int32_t, std::wstring> failed);

    const std::vector<pim::SyncAccount>& Accounts() const { return accounts_; }
    SubscriptionsPanel& Subscriptions() const { return *subscriptions_; }
    bool Changed() const { return changed_; }

signals:
    // A Test has ended and its answer is shown.
    void TestFinished();

private:
    QPushButton* Button(const char* name, int textId);
    void Reload();
    // The kept account of the typed server and user, if there is one.
    const pim::SyncAccount* TypedKeptAccount() const;
    // Add says Update when it would change a kept account.
    void NameAddButton();
    void ShowSelected();
    void TypedAddressChanged();
    void Test();
    void ShowDiscovery(const caldav::Discovery& found);
    void FillCalendars(const std::vector<caldav::RemoteCalendar>& calendars);
    // One line of the calendar list; a calendar the account syncs already is ticked for good.
    void AddCalendarLine(const QString& name, uint32_t colour, const QString& url, bool events,
                         bool tasks, bool readOnly, bool kept);
    std::vector<std::wstring> TickedUrls() const;
    // The ticked calendars the last Test found that the account does not sync yet.
    std::vector<const caldav::RemoteCalendar*> NewlyTicked() const;
    void Add();
    void Remove();
    // "Subscribe...": a calendar file on the web, in a dialog of its own.
    void Subscribe();
    pim::SyncAccount TypedAccount() const;
    void Refuse(int messageId, QWidget* field);
    void ReportStoreFailure();

    std::string storePath_;
    SyncCredentials& credentials_;
    MessageService& messages_;
    Discoverer discover_;
    WorkerJob* testing_;
    std::vector<pim::SyncAccount> accounts_;
    std::vector<pim::Calendar> storeCalendars_; // of every account, as the store keeps them
    std::vector<caldav::RemoteCalendar> discovered_;
    std::map<int32_t, std::wstring> failed_;
    bool changed_ = false;
    QListWidget* list_;
    QLineEdit* server_;
    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* test_;
    QLabel* status_;
    QListWidget* calendars_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* subscribe_;
    SubscriptionsPanel* subscriptions_;
    DialogRunner* dialogs_ = nullptr; // how Run shows the subscription's dialog
    // The user's own addresses for the local calendars, and those the last Test found.
    QLineEdit* ownAddresses_;
    QStringList foundAddresses_;
};
