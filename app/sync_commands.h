// "Sync Now" (F5) and "Calendar Accounts...": the program's side of sync. Rounds run on a worker
// thread with a store connection of their own; the window reloads what they changed, keeping
// its selection, and its status bar says how the last one went. A password nobody knew is
// asked for only in a round the user asked for; a certificate to trust is asked about once per
// run unless the user asked for the round.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/sync_rounds.h"
#include "app/sync_scheduler.h"
#include "dialogs/sync_access.h"
#include "platform/command_table.h"
#include "platform/systemtime.h"

class CMainFrame;
class DialogRunner;
class MessageService;
class Profile;
class QLabel;
class QUrl;
class WorkerJob;
namespace platform {
class SecretStore;
}

// The status line after a round that had an account: the time and the counts, or the failure.
std::wstring SyncStatusText(const SyncOutcome& outcome, const SYSTEMTIME& at);

class SyncCommands {
public:
    struct Services {
        std::string storePath;
        Profile& profile;
        MessageService& messages;
        DialogRunner& dialogs;
        CMainFrame& frame;
        // Reloads the window keeping its selection; false when it cannot now (a drag).
        std::function<bool()> followStore;
        SyncNetwork network;
        bool secretStore = false; // keep passwords in the desktop's secret store
    };

    explicit SyncCommands(Services services);
    ~SyncCommands();

    void AddTo(CommandTable& table);
    // A change made in this window: a round follows once the user pauses.
    void LocalChange() { scheduler_->LocalChange(); }
    SyncScheduler& Scheduler() const { return *scheduler_; }
    // What the status bar says; empty until there was something to say.
    QString Status() const;
    // An address given as a file: asks whether to subscribe to it, then does on a worker thread
    // and says how it went.
    void OfferSubscription(const QString& address);

private:
    SyncScheduler::Round MakeRound();
    void RoundEnded(const SyncOutcome& outcome);
    // True when the user gave what the round lacked and it should run again.
    bool AskPassword(const pim::SyncAccount& account, bool requested);
    bool AskTrust(const caldav::SyncError& error, bool requested);
    void FollowStore();
    void ShowStatus(const QString& text);
    void SyncNow();
    void OpenAccounts();
    void Subscribe(const QUrl& address);
    void SubscriptionEnded(const caldav::SubscriptionReport& report, const QUrl& address);

    Services services_;
    std::unique_ptr<platform::SecretStore> secrets_;
    SyncCredentials credentials_;
    std::set<QString> asked_;                        // fingerprints asked about in this run
    std::map<int32_t, std::wstring> failedAccounts_; // by the last round, for the accounts list
    std::map<int32_t, SubscriptionRead> subscriptionReads_; // by calendar id, for the same
    bool requested_ = false;   // the user asked for the coming or running round
    QLabel* status_ = nullptr; // in the frame's status bar, made at the first word to say
    std::unique_ptr<WorkerJob> subscribing_;   // an offered subscription being read
    std::unique_ptr<SyncScheduler> scheduler_; // last: its round uses the members above
};
