// The accounts dialog writes each Add and Remove to the store at once (the tool sees them too),
// so it closes with a single Close button rather than OK/Cancel.
#include "dialogs/calendar_accounts_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "dialogs/settings_controls.h"
#include "dialogs/subscribe_dlg.h"
#include "dialogs/sync_access.h"
#include "dialogs/worker_job.h"
#include "editors/calendar_field.h"
#include "editors/dialog_controls.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "sync/account_calendars.h"

namespace {

QString Filled(int textId, const std::wstring& first, const std::wstring& second)
{
    return Text(textId).arg(ToQString(first), ToQString(second));
}

// "alice @ https://dav.example.org/ (Home, Work)": the calendars the account syncs.
QString AccountLine(const pim::SyncAccount& account, const std::vector<pim::Calendar>& calendars)
{
    QStringList names;
    for (const pim::Calendar& c : calendars) {
        if (c.account == account.id) {
            names << ToQString(c.name);
        }
    }
    return QStringLiteral("%1 @ %2 (%3)")
        .arg(ToQString(account.user), ToQString(account.server), names.join(QStringLiteral(", ")));
}

// "Home (Appointments, Tasks; read-only)"
QString CalendarLineText(const QString& name, bool events, bool tasks, bool readOnly)
{
    QStringList kinds;
    if (events) {
        kinds << Text(res::IDS_ACCOUNT_APPOINTMENTS);
    }
    if (tasks) {
        kinds << Text(res::IDS_ACCOUNT_TASKS);
    }
    QString text = kinds.join(QStringLiteral(", "));
    if (readOnly) {
        text += QStringLiteral("; ") + Text(res::IDS_ACCOUNT_READ_ONLY);
    }
    return QStringLiteral("%1 (%2)").arg(name, text);
}

constexpr int kUrlRole = Qt::UserRole;

} // namespace

std::optional<AccountRefusal> CheckAccount(const AccountFields& fields)
{
    if (CheckedServerAddress(fields.server).isEmpty()) {
        return AccountRefusal{AccountField::Server, res::IDS_ACCOUNT_NO_SERVER};
    }
    if (fields.calendars.empty()) {
        return AccountRefusal{AccountField::Calendars, res::IDS_ACCOUNT_NO_CALENDARS};
    }
    return std::nullopt;
}

std::optional<QString> AskPassword(DialogRunner& dialogs, const pim::SyncAccount& account,
                                   QWidget* parent)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PasswordDialog"));
    dialog.setWindowTitle(Text(res::IDS_ACCOUNT_PASSWORD));
    dialog.setLabelText(Filled(res::IDS_PASSWORD_OF, account.user, account.server));
    dialog.setTextEchoMode(QLineEdit::Password);
    if (dialogs.Run(dialog) != DialogAccepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

CCalendarAccountsDlg::CCalendarAccountsDlg(std::string storePath, SyncCredentials& credentials,
                                           MessageService& messages, Discoverer discover,
                                           QWidget* parent)
    : QDialog(parent), storePath_(std::move(storePath)), credentials_(credentials),
      messages_(messages), discover_(std::move(discover)), testing_(new WorkerJob(this)),
      list_(new QListWidget), server_(new QLineEdit), user_(new QLineEdit),
      password_(new QLineEdit), test_(Button("test", res::IDS_ACCOUNT_TEST)), status_(new QLabel),
      calendars_(new QListWidget), add_(Button("add", res::IDS_ACCOUNT_ADD)),
      remove_(Button("remove", res::IDS_ACCOUNT_REMOVE)),
      subscribe_(Button("subscribe", res::IDS_SUBSCRIBE_BUTTON)),
      subscriptions_(new SubscriptionsPanel(storePath_, messages_, subscribe_)),
      ownAddresses_(new QLineEdit)
{
    setObjectName(QStringLiteral("CalendarAccountsDlg"));
    setWindowTitle(Text(res::IDS_CALENDAR_ACCOUNTS));
    list_->setObjectName(QStringLiteral("accountList"));
    server_->setObjectName(QStringLiteral("server"));
    server_->setPlaceholderText(QStringLiteral("https://example.org/dav"));
    user_->setObjectName(QStringLiteral("user"));
    password_->setObjectName(QStringLiteral("password"));
    password_->setEchoMode(QLineEdit::Password);
    status_->setObjectName(QStringLiteral("discoveryStatus"));
    status_->setWordWrap(true);
    calendars_->setObjectName(QStringLiteral("calendarList"));

    auto* testRow = new QHBoxLayout;
    testRow->addWidget(test_);
    testRow->addWidget(status_, 1);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(Text(res::IDS_ACCOUNT_SERVER), server_);
    form->addRow(Text(res::IDS_ACCOUNT_USER), user_);
    form->addRow(Text(res::IDS_ACCOUNT_PASSWORD), password_);
    form->addRow(QString(), testRow);
    form->addRow(Text(res::IDS_ACCOUNT_CALENDARS), calendars_);
    ownAddresses_->setObjectName(QStringLiteral("ownAddresses"));
    ownAddresses_->setToolTip(Text(res::IDS_OWN_ADDRESSES_TIP));
    ownAddresses_->setPlaceholderText(QStringLiteral("mailto:you@example.com"));
    ownAddresses_->setText(caldav::LocalAddresses(credentials_.AccountProfile()).join(u' '));
    auto* ownForm = new QFormLayout;
    ownForm->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    ownForm->addRow(Text(res::IDS_OWN_ADDRESSES), ownAddresses_);
    auto* accountButtons = new QHBoxLayout;
    subscribe_->setEnabled(false); // until Run gives the way to show its dialog
    accountButtons->addStretch();
    accountButtons->addWidget(add_);
    accountButtons->addWidget(remove_);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(form);
    layout->addLayout(accountButtons);
    layout->addLayout(ownForm);
    layout->addWidget(subscriptions_);
    layout->addWidget(close);
    ChainTabOrder({list_, server_, user_, password_, test_, calendars_, add_, remove_,
                   ownAddresses_, subscriptions_->List()});
    connect(subscriptions_, &SubscriptionsPanel::StoreChanged, this, [this] { changed_ = true; });
    connect(subscriptions_, &SubscriptionsPanel::StoreFailed, this,
            &CCalendarAccountsDlg::ReportStoreFailure);
    connect(this, &QDialog::finished, this, [this] {
        caldav::KeepLocalAddresses(credentials_.AccountProfile(), ownAddresses_->text());
    });

    connect(list_, &QListWidget::currentRowChanged, this, &CCalendarAccountsDlg::ShowSelected);
    connect(server_, &QLineEdit::textEdited, this, &CCalendarAccountsDlg::TypedAddressChanged);
    connect(user_, &QLineEdit::textEdited, this, &CCalendarAccountsDlg::TypedAddressChanged);
    connect(test_, &QPushButton::clicked, this, &CCalendarAccountsDlg::Test);
    connect(add_, &QPushButton::clicked, this, &CCalendarAccountsDlg::Add);
    connect(remove_, &QPushButton::clicked, this, &CCalendarAccountsDlg::Remove);
    connect(subscribe_, &QPushButton::clicked, this, &CCalendarAccountsDlg::Subscribe);
    Reload();
    resize(560, 640);
}

void CCalendarAccountsDlg::ShowFailures(std::map<int32_t, std::wstring> failed)
{
    failed_ = std::move(failed);
    const int row = list_->currentRow();
    Reload();
    list_->setCurrentRow(row);
}

CCalendarAccountsDlg::~CCalendarAccountsDlg() = default;

bool CCalendarAccountsDlg::Run(DialogRunner& dialogs, std::string storePath,
                               SyncCredentials& credentials, MessageService& messages,
                               Discoverer discover, QWidget* parent,
                               std::map<int32_t, std::wstring> failed,
                               std::map<int32_t, SubscriptionRead> reads)
{
    CCalendarAccountsDlg dialog(std::move(storePath), credentials, messages, std::move(discover),
                                parent);
    dialog.ShowFailures(std::move(failed));
    dialog.subscriptions_->ShowReads(std::move(reads));
    dialog.subscriptions_->SetDialogs(&dialogs);
    dialog.dialogs_ = &dialogs;
    dialog.subscribe_->setEnabled(true);
    dialogs.Run(dialog);
    return dialog.Changed();
}

QPushButton* CCalendarAccountsDlg::Button(const char* name, int textId)
{
    QPushButton* button = NewPushButton(0, Text(textId), this);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

void CCalendarAccountsDlg::Reload()
{
    accounts_.clear();
    if (WithSyncLedger(storePath_, [this](pim::SyncLedger& ledger) {
            return ledger.Accounts(accounts_);
        }) < 0) {
        ReportStoreFailure();
    }
    storeCalendars_.clear();
    if (pim::StoreDatabase db; db.Open(storePath_) >= 0) {
        pim::CalendarList(db).All(storeCalendars_);
    }
    list_->clear();
    for (const pim::SyncAccount& account : accounts_) {
        const auto failed = failed_.find(account.id);
        if (failed == failed_.end()) {
            list_->addItem(AccountLine(account, storeCalendars_));
            continue;
        }
        auto* line = new QListWidgetItem(
            style()->standardIcon(QStyle::SP_MessageBoxWarning),
            AccountLine(account, storeCalendars_) +
                Text(res::IDS_ACCOUNT_LAST_FAILED).arg(ToQString(failed->second)),
            list_);
        line->setToolTip(ToQString(failed->second));
    }
    remove_->setEnabled(!accounts_.empty());
    NameAddButton();
}

const pim::SyncAccount* CCalendarAccountsDlg::TypedKeptAccount() const
{
    const pim::SyncAccount typed = TypedAccount();
    for (const pim::SyncAccount& kept : accounts_) {
        if (kept.server == typed.server && kept.user == typed.user) {
            return &kept;
        }
    }
    return nullptr;
}

void CCalendarAccountsDlg::NameAddButton()
{
    add_->setText(
        Text(TypedKeptAccount() != nullptr ? res::IDS_ACCOUNT_UPDATE : res::IDS_ACCOUNT_ADD));
}

// A chosen account fills the fields, so Test and Add can change its calendars or password.
void CCalendarAccountsDlg::ShowSelected()
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(accounts_.size())) {
        return;
    }
    const pim::SyncAccount& account = accounts_[static_cast<size_t>(row)];
    server_->setText(ToQString(account.server));
    user_->setText(ToQString(account.user));
    password_->clear();
    foundAddresses_.clear();
    FillCalendars({});
    status_->clear();
    NameAddButton();
}

// Calendars found for one address say nothing about another.
void CCalendarAccountsDlg::TypedAddressChanged()
{
    foundAddresses_.clear();
    discovered_.clear();
    calendars_->clear();
    status_->clear();
    NameAddButton();
}

pim::SyncAccount CCalendarAccountsDlg::TypedAccount() const
{
    pim::SyncAccount account;
    account.server = ToWString(CheckedServerAddress(ToWString(server_->text())).toString());
    account.user = ToWString(user_->text().trimmed());
    return account;
}

void CCalendarAccountsDlg::Test()
{
    if (CheckedServerAddress(ToWString(server_->text())).isEmpty()) {
        Refuse(res::IDS_ACCOUNT_NO_SERVER, server_);
        return;
    }
    const pim::SyncAccount account = TypedAccount();
    caldav::Connection connection =
        caldav::ConnectionTo(account, password_->text(), credentials_.TrustedFingerprints());
    connection.httpsAssumed = caldav::HttpsAssumed(server_->text());
    auto found = std::make_shared<caldav::Discovery>();
    test_->setEnabled(false);
    status_->setText(Text(res::IDS_SYNC_TALKING));
    // An account kept earlier is tested with its known password when none is typed.
    testing_->Start(
        [found, connection, account, credentials = &credentials_, discover = discover_] {
            caldav::Connection asked = connection;
            if (asked.password.isEmpty()) {
                asked.password = credentials->Password(account).value_or(QString());
            }
            *found = discover(asked);
        },
        [this, found] {
            test_->setEnabled(true);
            ShowDiscovery(*found);
            emit TestFinished();
        });
}

void CCalendarAccountsDlg::ShowDiscovery(const caldav::Discovery& found)
{
    if (credentials_.AskToTrust(found.error, messages_)) {
        Test();
        return;
    }
    if (found.error) {
        status_->setText(ToQString(found.error.message));
        return;
    }
    FillCalendars(found.calendars);
    foundAddresses_ = found.addresses;
    const QString host = CheckedServerAddress(ToWString(server_->text())).host();
    status_->setText(
        found.calendars.size() == 1
            ? Text(res::IDS_ACCOUNT_FOUND_ONE).arg(host)
            : Text(res::IDS_ACCOUNT_FOUND).arg(static_cast<int>(found.calendars.size())).arg(host));
    if (const QUrl typed = CheckedServerAddress(ToWString(server_->text()));
        typed.scheme() == QLatin1String("http")) {
        status_->setText(status_->text() + u' ' +
                         Text(res::IDS_SYNC_PLAIN_HTTP).arg(typed.toString()));
    }
}

// The kept account's calendars first, ticked for good; then the others the last Test found,
// ticked unless the user says otherwise.
void CCalendarAccountsDlg::FillCalendars(const std::vector<caldav::RemoteCalendar>& calendars)
{
    discovered_ = calendars;
    calendars_->clear();
    const pim::SyncAccount* kept = TypedKeptAccount();
    std::vector<std::wstring> keptUrls;
    for (const pim::Calendar& c : storeCalendars_) {
        if ((kept != nullptr) && c.account == kept->id) {
            keptUrls.push_back(c.url);
            AddCalendarLine(ToQString(c.name), c.colour, ToQString(c.url), c.events, c.tasks,
                            c.readOnly, true);
        }
    }
    for (const caldav::RemoteCalendar& remote : calendars) {
        const pim::Calendar c = caldav::StoreCalendarOf(remote);
        if (std::find(keptUrls.begin(), keptUrls.end(), c.url) == keptUrls.end()) {
            AddCalendarLine(remote.name.isEmpty() ? remote.url.path() : remote.name, c.colour,
                            remote.url.toString(), c.events, c.tasks, c.readOnly, false);
        }
    }
}

void CCalendarAccountsDlg::AddCalendarLine(const QString& name, uint32_t colour, const QString& url,
                                           bool events, bool tasks, bool readOnly, bool kept)
{
    // A calendar without a colour of the server's gets one of the store's when it is kept.
    auto* line = new QListWidgetItem(colour != 0 ? CalendarIcon(colour) : CalendarIcon(0xFFFFFF),
                                     CalendarLineText(name, events, tasks, readOnly), calendars_);
    line->setData(kUrlRole, url);
    line->setCheckState(Qt::Checked);
    line->setFlags(kept ? Qt::ItemIsSelectable
                        : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
}

std::vector<std::wstring> CCalendarAccountsDlg::TickedUrls() const
{
    std::vector<std::wstring> urls;
    for (int i = 0; i < calendars_->count(); ++i) {
        const QListWidgetItem* line = calendars_->item(i);
        if (line->checkState() == Qt::Checked) {
            urls.push_back(ToWString(line->data(kUrlRole).toString()));
        }
    }
    return urls;
}

std::vector<const caldav::RemoteCalendar*> CCalendarAccountsDlg::NewlyTicked() const
{
    const std::vector<std::wstring> ticked = TickedUrls();
    std::vector<const caldav::RemoteCalendar*> chosen;
    for (const caldav::RemoteCalendar& remote : discovered_) {
        if (std::find(ticked.begin(), ticked.end(), remote.url.toString().toStdWString()) !=
            ticked.end()) {
            chosen.push_back(&remote);
        }
    }
    return chosen;
}

void CCalendarAccountsDlg::Add()
{
    const AccountFields fields{ToWString(server_->text()), TickedUrls()};
    if (const std::optional<AccountRefusal> refusal = CheckAccount(fields)) {
        Refuse(refusal->messageId, refusal->field == AccountField::Server
                                       ? static_cast<QWidget*>(server_)
                                       : static_cast<QWidget*>(calendars_));
        return;
    }
    const std::vector<const caldav::RemoteCalendar*> chosen = NewlyTicked();
    pim::SyncAccount account = TypedAccount();
    // A new account names the first ticked calendar of each kind as its own.
    for (const caldav::RemoteCalendar* c : chosen) {
        const auto name = [c](std::wstring& url, std::wstring& shown) {
            if (!url.empty()) {
                return;
            }
            url = c->url.toString().toStdWString();
            shown = ToWString(c->name.isEmpty() ? c->url.path() : c->name);
        };
        if (c->events) {
            name(account.eventCalendar, account.eventCalendarName);
        }
        if (c->tasks) {
            name(account.taskCalendar, account.taskCalendarName);
        }
    }
    bool added = false;
    pim::StoreDatabase db;
    if (db.Open(storePath_) < 0 || caldav::KeepAccount(db, account, chosen, added) < 0) {
        ReportStoreFailure();
        return;
    }
    db.Close();
    if (!password_->text().isEmpty()) {
        credentials_.KeepPassword(account, password_->text());
    }
    if (!foundAddresses_.isEmpty()) {
        caldav::KeepAccountAddresses(credentials_.AccountProfile(), account, foundAddresses_);
    }
    changed_ = true;
    Reload();
    for (size_t i = 0; i < accounts_.size(); ++i) {
        if (accounts_[i].id == account.id) {
            list_->setCurrentRow(static_cast<int>(i));
        }
    }
}

void CCalendarAccountsDlg::Remove()
{
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(accounts_.size())) {
        return;
    }
    const pim::SyncAccount account = accounts_[static_cast<size_t>(row)];
    if (!ConfirmOkText(messages_,
                       ToWString(Filled(res::IDS_REMOVE_ACCOUNT, account.user, account.server)))) {
        return;
    }
    if (WithSyncLedger(storePath_, [&account](pim::SyncLedger& ledger) {
            return ledger.RemoveAccount(account.id);
        }) < 0) {
        ReportStoreFailure();
        return;
    }
    credentials_.ForgetPassword(account);
    caldav::KeepAccountAddresses(credentials_.AccountProfile(), account, {});
    changed_ = true;
    Reload();
}

void CCalendarAccountsDlg::Subscribe()
{
    if (CSubscribeDlg::Run(*dialogs_, storePath_, credentials_, messages_, this)) {
        changed_ = true;
        subscriptions_->Reload();
    }
}

void CCalendarAccountsDlg::Refuse(int messageId, QWidget* field)
{
    ShowWarning(messages_, messageId);
    field->setFocus();
}

void CCalendarAccountsDlg::ReportStoreFailure()
{
    messages_.MessageBox(
        res::LoadString(res::IDS_CANNOT_WRITE, QString::fromStdString(storePath_).toStdWString()),
        res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
}
