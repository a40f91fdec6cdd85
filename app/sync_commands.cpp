// The round is put together on the window's thread (the profile's trusted certificates, the
// clock) and run on the worker; only the password may be read there, from the secret store.
#include "app/sync_commands.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <utility>

#include "app/main_frame.h"
#include "dialogs/calendar_accounts_dlg.h"
#include "dialogs/sync_access.h"
#include "dialogs/worker_job.h"
#include "ical/ical_text.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/profile.h"
#include "platform/secret_store.h"
#include "res/command_ids.h"
#include "res/string_table.h"

namespace {

constexpr wchar_t kInterval[] = L"IntervalMinutes";
constexpr int kDefaultIntervalMinutes = 15;
// A drag under way holds the reload back; it is tried again this much later.
constexpr int kFollowRetryMs = 500;

QString Text(int id)
{
    return QString::fromStdWString(res::LoadString(id));
}

} // namespace

std::wstring SyncStatusText(const SyncOutcome& outcome, const SYSTEMTIME& at)
{
    const caldav::RoundReport& report = outcome.report;
    const QString time = QStringLiteral("%1:%2")
                             .arg(at.wHour, 2, 10, QLatin1Char('0'))
                             .arg(at.wMinute, 2, 10, QLatin1Char('0'));
    if (report.error) {
        return Text(res::IDS_SYNC_FAILED)
            .arg(time, QString::fromStdWString(report.error.message))
            .toStdWString();
    }
    QString text = Text(res::IDS_SYNC_DONE)
                       .arg(time)
                       .arg(report.received + report.deletedHere)
                       .arg(report.sent + report.deletedThere);
    if (report.conflicts > 0) {
        text += Text(res::IDS_SYNC_NOTES).arg(report.conflicts);
    }
    if (report.skipped > 0) {
        text += Text(res::IDS_SYNC_NOTES_SKIPPED).arg(report.skipped);
    }
    return text.toStdWString();
}

SyncCommands::SyncCommands(Services services)
    : services_(std::move(services)),
      secrets_(services_.secretStore ? std::make_unique<platform::SecretStore>() : nullptr),
      credentials_(services_.profile, secrets_.get()), subscribing_(std::make_unique<WorkerJob>()),
      scheduler_(std::make_unique<SyncScheduler>(
          [this] { return MakeRound(); },
          [this](const SyncOutcome& outcome) { RoundEnded(outcome); }))
{
    scheduler_->SetIntervalMinutes(
        services_.profile.GetInt(caldav::kSyncSection, kInterval, kDefaultIntervalMinutes));
    // What the server changed while the program was closed comes in soon after the start.
    scheduler_->LocalChange();
}

SyncCommands::~SyncCommands() = default;

void SyncCommands::AddTo(CommandTable& table)
{
    table.Add(cmd::ID_SYNC_NOW, [this] { SyncNow(); });
    table.Add(cmd::ID_CALENDAR_ACCOUNTS, [this] { OpenAccounts(); });
}

QString SyncCommands::Status() const
{
    return status_ != nullptr ? status_->text() : QString();
}

void SyncCommands::SyncNow()
{
    requested_ = true;
    if (!scheduler_->Running()) {
        ShowStatus(Text(res::IDS_SYNC_TALKING));
    }
    scheduler_->RunNow();
}

SyncScheduler::Round SyncCommands::MakeRound()
{
    caldav::RoundOptions options;
    options.now = GetLocalTime();
    // The accounts are read here, on the window's thread, as the profile is the window's: the
    // round's thread gets what it keeps for them. A store that cannot be read gives no account,
    // and the window reports that itself.
    std::vector<pim::SyncAccount> accounts;
    if (WithSyncLedger(services_.storePath, [&accounts](pim::SyncLedger& ledger) {
            return ledger.Accounts(accounts);
        }) < 0) {
        accounts.clear();
    }
    credentials_.ReadPasswordCommands(accounts);
    return [options, accounts = std::move(accounts), trusted = credentials_.TrustedFingerprints(),
            path = services_.storePath, round = services_.network.round,
            refresh = services_.network.refresh,
            credentials = &credentials_](const std::function<bool()>& carryOn) mutable {
        options.carryOn = carryOn;
        SyncOutcome outcome =
            RunAccountRounds(path, accounts, *credentials, trusted, round, options);
        RefreshSubscriptions(outcome, path, trusted, refresh, options);
        return outcome;
    };
}

void SyncCommands::RoundEnded(const SyncOutcome& outcome)
{
    const bool requested = std::exchange(requested_, false);
    if (!outcome.anyAccount && !outcome.anySubscription) {
        if (requested) {
            ShowStatus({});
            services_.messages.MessageBox(res::LoadString(res::IDS_SYNC_NO_ACCOUNT),
                                          res::LoadString(res::IDS_WARNING),
                                          MB_OK | MB_ICONINFORMATION);
        }
        return;
    }
    failedAccounts_ = outcome.failedAccounts;
    for (const auto& [calendar, failure] : outcome.subscriptions) {
        subscriptionReads_[calendar] = {GetLocalTime(), failure};
    }
    if (outcome.report.storeChanged) {
        FollowStore();
    }
    ShowStatus(QString::fromStdWString(SyncStatusText(outcome, GetLocalTime())));
    const bool again = outcome.needsPassword ? AskPassword(*outcome.needsPassword, requested)
                                             : AskTrust(outcome.report.error, requested);
    if (again) {
        requested_ = requested;
        scheduler_->RunNow();
    }
}

// A round of its own never asks: a prompt nobody asked for would appear out of nowhere.
bool SyncCommands::AskPassword(const pim::SyncAccount& account, bool requested)
{
    const std::optional<QString> password =
        requested ? ::AskPassword(services_.dialogs, account, &services_.frame) : std::nullopt;
    if (!password) {
        const QUrl server(QString::fromStdWString(account.server));
        ShowStatus(Text(res::IDS_SYNC_NO_PASSWORD)
                       .arg(QString::fromStdWString(account.user) + QLatin1Char('@') +
                            (server.host().isEmpty() ? server.toString() : server.host())));
        return false;
    }
    credentials_.KeepPassword(account, *password);
    return true;
}

bool SyncCommands::AskTrust(const caldav::SyncError& error, bool requested)
{
    if (error.failure != caldav::Failure::CertificateRefused || error.fingerprint.isEmpty()) {
        return false;
    }
    if (!asked_.insert(QString::fromLatin1(error.fingerprint)).second && !requested) {
        return false;
    }
    const QString question =
        Text(res::IDS_TRUST_CERTIFICATE)
            .arg(QString::fromStdWString(error.message), QString::fromLatin1(error.fingerprint));
    if (services_.messages.MessageBox(question.toStdWString(), res::LoadString(res::IDS_CONFIRM),
                                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    credentials_.Trust(error);
    return true;
}

// The store watch would see the round's writes too, within half a second; asking here shows
// them together with the round's status line.
void SyncCommands::FollowStore()
{
    if (!services_.followStore || services_.followStore()) {
        return;
    }
    QTimer::singleShot(kFollowRetryMs, scheduler_.get(), [this] { FollowStore(); });
}

void SyncCommands::ShowStatus(const QString& text)
{
    if (status_ == nullptr) {
        if (text.isEmpty()) {
            return;
        }
        status_ = new QLabel;
        status_->setObjectName(QStringLiteral("SyncStatus"));
        services_.frame.statusBar()->addWidget(status_, 1);
    }
    status_->setText(text);
}

void SyncCommands::OpenAccounts()
{
    if (CCalendarAccountsDlg::Run(services_.dialogs, services_.storePath, credentials_,
                                  services_.messages, services_.network.discover, &services_.frame,
                                  failedAccounts_, subscriptionReads_)) {
        scheduler_->RunNow();
    }
}

void SyncCommands::OfferSubscription(const QString& address)
{
    const QUrl url = caldav::SubscriptionAddress(address);
    const QString question = Text(res::IDS_SUBSCRIBE_QUESTION).arg(url.toString());
    if (!subscribing_->Busy() &&
        services_.messages.MessageBox(question.toStdWString(), res::LoadString(res::IDS_CONFIRM),
                                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        Subscribe(url);
    }
}

void SyncCommands::Subscribe(const QUrl& address)
{
    caldav::Connection limits;
    limits.trustedFingerprints = credentials_.TrustedFingerprints();
    auto report = std::make_shared<caldav::SubscriptionReport>();
    subscribing_->Start([report, path = services_.storePath, address,
                         limits] { *report = caldav::Subscribe(path, address, {}, limits); },
                        [this, report, address] { SubscriptionEnded(*report, address); });
}

void SyncCommands::SubscriptionEnded(const caldav::SubscriptionReport& report, const QUrl& address)
{
    if (AskTrust(report.error, true)) {
        Subscribe(address);
        return;
    }
    if (report.error) {
        services_.messages.MessageBox(report.error.message, res::LoadString(res::IDS_WARNING),
                                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FollowStore();
    const QString done =
        Text(res::IDS_SUBSCRIBED)
            .arg(QString::fromStdWString(report.calendar.name))
            .arg(QString::fromStdString(ical::Counted(report.change.written, "item")));
    services_.messages.MessageBox(done.toStdWString(), res::LoadString(res::IDS_SUBSCRIBE_TITLE),
                                  MB_OK | MB_ICONINFORMATION);
}
