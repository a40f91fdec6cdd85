// Argument handling, the account commands and the rounds; the conversations and the round
// itself are the caldav library's.
#include "tools/sync/sync_tool.h"

#include <QString>
#include <QUrl>

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "ical/ical_text.h"
#include "model/recurrence.h"
#include "platform/pim/application.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "platform/profile.h"
#include "platform/secret_store.h"
#include "res/command_line.h"
#include "res/string_table.h"
#include "sync/account_calendars.h"
#include "sync/account_connection.h"
#include "sync/calendar_collection.h"
#include "sync/connection.h"
#include "sync/dav_client.h"
#include "sync/subscription.h"
#include "sync/sync_round.h"
#include "tools/sync/subscription_commands.h"
#include "tools/sync/sync_arguments.h"
#include "tools/sync/sync_usage.h"

namespace {

// The password command gets this long to answer.
constexpr int kPasswordWaitMs = 30000;

using ical::Utf8;

std::wstring Wide(const std::string& text)
{
    return ical::Wide(text.c_str());
}

// The account's password: the first line its command prints (the one given, else the one kept
// for the account), else the secret store's entry; with neither, false with the reason said,
// unless the account has no user (a server without authentication).
bool Password(const QString& command, const caldav::Connection& connection, QString& out,
              std::ostream& err)
{
    if (!command.isEmpty()) {
        const std::optional<QString> password =
            caldav::RunPasswordCommand(command, kPasswordWaitMs);
        if (!password) {
            err << "tamberlo-sync: the password command failed: " << command.toStdString() << '\n';
            return false;
        }
        out = *password;
        return true;
    }
    if (connection.user.isEmpty()) {
        return true;
    }
    const platform::SecretStore secrets;
    const platform::SecretStore::Answer answer = secrets.Read(
        platform::SecretStore::AccountKey(connection.server.toString(), connection.user));
    if (answer.outcome == platform::SecretStore::Outcome::Done) {
        out = answer.secret;
        return true;
    }
    const caldav::SyncError none =
        caldav::FailureIn(caldav::Failure::WrongPassword, res::IDS_SYNC_NO_PASSWORD_FOR_HOST,
                          {connection.user, caldav::HostOf(connection.server)});
    err << "tamberlo-sync: " << Utf8(none.message) << '\n';
    return false;
}

bool OpenStore(const SyncArguments& a, pim::StoreDatabase& db, std::ostream& err)
{
    // Open's failure and the reason a store opened read-only are both in LastError.
    if (db.Open(a.store) < 0 || !db.Writable()) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return false;
    }
    return true;
}

int Failure(const caldav::SyncError& error, std::ostream& err)
{
    err << "tamberlo-sync: " << Utf8(error.message) << '\n';
    return kSyncFailed;
}

std::string Components(const caldav::RemoteCalendar& c)
{
    if (c.events && c.tasks) {
        return "events, tasks";
    }
    return c.events ? "events" : c.tasks ? "tasks" : "-";
}

// The certificates trusted so far, with the one --trust names added for good, for the host and
// port of `server`.
bool Trusted(const SyncArguments& a, const QUrl& server, QStringList& out, std::ostream& err)
{
    Profile profile(a.profile);
    caldav::SyncError named;
    named.fingerprint = QByteArray::fromStdString(a.trust);
    named.certificateAt = server.host().toLower() + u':' + QString::number(server.port(443));
    if (!a.trust.empty() && !caldav::TrustFingerprint(profile, named)) {
        err << "tamberlo-sync: the fingerprint could not be kept in " << a.profile << '\n';
        return false;
    }
    out = caldav::TrustedFingerprints(profile);
    return true;
}

// The typed address as a connection, or false with the reason said: no address of a host, or
// one with a user name or password in it (those would travel past the secret store).
bool TypedConnection(const SyncArguments& a, caldav::Connection& connection, std::ostream& err)
{
    const QString typed = QString::fromStdString(a.url);
    const QUrl parsed = caldav::ServerAddress(typed);
    if (!parsed.userInfo().isEmpty()) {
        err << "tamberlo-sync: the address holds a user name or password; give --user and "
               "--password-command instead\n";
        return false;
    }
    const QUrl server = caldav::CheckedServerAddress(typed);
    if (server.isEmpty()) {
        err << "tamberlo-sync: not a server address: " << a.url << '\n';
        return false;
    }
    QStringList trusted;
    if (!Trusted(a, server, trusted, err)) {
        return false;
    }
    pim::SyncAccount account;
    account.server = Wide(a.url);
    account.user = Wide(a.user);
    connection = caldav::ConnectionTo(account, {}, trusted);
    if (server.scheme() == QLatin1String("http")) {
        err << "tamberlo-sync: "
            << Utf8(res::LoadString(res::IDS_SYNC_PLAIN_HTTP, server.toString().toStdWString()))
            << '\n';
    }
    return true;
}

bool Discovered(const SyncArguments& a, caldav::Connection& connection, caldav::Discovery& found,
                std::ostream& err)
{
    if (!TypedConnection(a, connection, err) || !Password(QString::fromStdString(a.passwordCommand),
                                                          connection, connection.password, err)) {
        return false;
    }
    caldav::DavClient client(connection);
    found = caldav::Discover(client);
    if (found.error) {
        Failure(found.error, err);
        return false;
    }
    return true;
}

int Discover(const SyncArguments& a, std::ostream& out, std::ostream& err)
{
    caldav::Connection connection;
    caldav::Discovery found;
    if (!Discovered(a, connection, found, err)) {
        return kSyncFailed;
    }
    for (const caldav::RemoteCalendar& c : found.calendars) {
        out << c.url.toString().toStdString() << '\t' << c.name.toStdString() << '\t'
            << Components(c) << '\n';
    }
    if (found.calendars.empty()) {
        out << Utf8(caldav::FailureIn(caldav::Failure::None, res::IDS_SYNC_NO_CALENDARS_AT,
                                      {connection.user, caldav::HostOf(connection.server)})
                        .message)
            << '\n';
    }
    return kSyncOk;
}

bool Named(const caldav::RemoteCalendar& c, const std::string& asked)
{
    return c.url.toString().toStdString() == asked || c.url.path().toStdString() == asked;
}

// The calendar asked for (by URL or its path), else the first supporting the kind.
const caldav::RemoteCalendar* Choose(const caldav::Discovery& found, const std::string& asked,
                                     bool tasks)
{
    for (const caldav::RemoteCalendar& c : found.calendars) {
        if (asked.empty() ? (tasks ? c.tasks : c.events) : Named(c, asked)) {
            return &c;
        }
    }
    return nullptr;
}

// The calendars add syncs: those --calendar, --events and --tasks name, else all there are;
// false when one of them is not there.
bool Chosen(const SyncArguments& a, const caldav::Discovery& found,
            std::vector<const caldav::RemoteCalendar*>& out)
{
    std::vector<std::string> asked = a.calendars;
    for (const std::string& kind : {a.events, a.tasks}) {
        if (!kind.empty()) {
            asked.push_back(kind);
        }
    }
    for (const caldav::RemoteCalendar& c : found.calendars) {
        if (asked.empty() || std::any_of(asked.begin(), asked.end(),
                                         [&](const std::string& x) { return Named(c, x); })) {
            out.push_back(&c);
        }
    }
    return std::all_of(asked.begin(), asked.end(),
                       [&](const std::string& x) {
                           return std::any_of(
                               out.begin(), out.end(),
                               [&](const caldav::RemoteCalendar* c) { return Named(*c, x); });
                       }) &&
           !out.empty();
}

int Add(const SyncArguments& a, std::ostream& out, std::ostream& err)
{
    caldav::Connection connection;
    caldav::Discovery found;
    if (!Discovered(a, connection, found, err)) {
        return kSyncFailed;
    }
    std::vector<const caldav::RemoteCalendar*> chosen;
    const caldav::RemoteCalendar* events = Choose(found, a.events, false);
    const caldav::RemoteCalendar* tasks = Choose(found, a.tasks, true);
    if (!Chosen(a, found, chosen)) {
        err << "tamberlo-sync: no such calendar at "
            << caldav::HostOf(connection.server).toStdString() << " (see tamberlo-sync discover)\n";
        return kSyncFailed;
    }
    pim::SyncAccount account;
    account.server = connection.server.toString().toStdWString();
    account.user = Wide(a.user);
    for (const auto& [kind, url, name] :
         {std::tie(events, account.eventCalendar, account.eventCalendarName),
          std::tie(tasks, account.taskCalendar, account.taskCalendarName)}) {
        if (kind != nullptr && std::find(chosen.begin(), chosen.end(), kind) != chosen.end()) {
            url = kind->url.toString().toStdWString();
            name = kind->name.toStdWString();
        }
    }
    pim::StoreDatabase db;
    if (!OpenStore(a, db, err)) {
        return kSyncFailed;
    }
    bool added = false;
    if (caldav::KeepAccount(db, account, chosen, added) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastWriteError()) << '\n';
        return kSyncFailed;
    }
    Profile profile(a.profile);
    if (!a.passwordCommand.empty() &&
        !caldav::KeepPasswordCommand(profile, account, QString::fromStdString(a.passwordCommand))) {
        err << "tamberlo-sync: the password command could not be kept in " << a.profile << '\n';
    }
    out << (added ? "added account " : "added to account ") << account.id << '\n';
    return kSyncOk;
}

bool Accounts(const SyncArguments& a, pim::StoreDatabase& db, std::vector<pim::SyncAccount>& out,
              std::ostream& err)
{
    if (!OpenStore(a, db, err)) {
        return false;
    }
    if (pim::SyncLedger(db).Accounts(out) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return false;
    }
    return true;
}

std::string CalendarLine(const pim::Calendar& c, const std::map<int32_t, int32_t>& counts)
{
    const auto count = counts.find(c.id);
    const int32_t items = count == counts.end() ? 0 : count->second;
    std::string kinds = c.events && c.tasks ? "events, tasks" : c.events ? "events" : "tasks";
    if (c.readOnly) {
        kinds += ", read-only";
    }
    return "\t" + Utf8(c.name) + (c.url.empty() ? "" : " <" + Utf8(c.url) + ">") + "\t" + kinds +
           "\t" + std::to_string(items) + (items == 1 ? " item" : " items") +
           (c.shown ? "" : "\thidden") + "\n";
}

// Each account with its calendars, then the local calendars, each with its item count.
int List(const SyncArguments& a, std::ostream& out, std::ostream& err)
{
    pim::StoreDatabase db;
    std::vector<pim::SyncAccount> accounts;
    if (!Accounts(a, db, accounts, err)) {
        return kSyncFailed;
    }
    pim::CalendarList list(db);
    std::vector<pim::Calendar> calendars;
    std::map<int32_t, int32_t> counts;
    if (list.All(calendars) < 0 || list.ItemCounts(counts) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return kSyncFailed;
    }
    for (const pim::SyncAccount& account : accounts) {
        out << account.id << '\t' << Utf8(account.user) << '\t' << Utf8(account.server) << '\n';
        for (const pim::Calendar& c : calendars) {
            if (c.kind == pim::CalendarKind::Collection && c.account == account.id) {
                out << CalendarLine(c, counts);
            }
        }
    }
    out << "local\n";
    for (const pim::Calendar& c : calendars) {
        if (c.kind == pim::CalendarKind::Local) {
            out << CalendarLine(c, counts);
        }
    }
    bool subscriptions = false;
    for (const pim::Calendar& c : calendars) {
        if (c.kind == pim::CalendarKind::Subscription) {
            out << (std::exchange(subscriptions, true) ? "" : "subscriptions\n")
                << CalendarLine(c, counts);
        }
    }
    return kSyncOk;
}

int Remove(const SyncArguments& a, std::ostream& out, std::ostream& err)
{
    pim::StoreDatabase db;
    std::vector<pim::SyncAccount> accounts;
    if (!Accounts(a, db, accounts, err)) {
        return kSyncFailed;
    }
    const auto known = std::find_if(accounts.begin(), accounts.end(),
                                    [&](const pim::SyncAccount& x) { return x.id == a.id; });
    if (known == accounts.end()) {
        err << "tamberlo-sync: no account " << a.id << '\n';
        return kSyncFailed;
    }
    if (pim::SyncLedger(db).RemoveAccount(a.id) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastWriteError()) << '\n';
        return kSyncFailed;
    }
    Profile profile(a.profile);
    if (!caldav::PasswordCommand(profile, *known).isEmpty()) {
        caldav::KeepPasswordCommand(profile, *known, {});
    }
    out << "removed account " << a.id << '\n';
    return kSyncOk;
}

// The accounts the round is for: all, or the one --account names. A --password-command given
// to a round is one account's password, so it never goes to several.
bool RoundAccounts(const SyncArguments& a, std::vector<pim::SyncAccount>& accounts,
                   std::ostream& err)
{
    {
        pim::StoreDatabase db;
        if (!Accounts(a, db, accounts, err)) {
            return false;
        }
    }
    if (a.account != 0) {
        std::erase_if(accounts, [&](const pim::SyncAccount& x) { return x.id != a.account; });
        if (accounts.empty()) {
            err << "tamberlo-sync: no account " << a.account << '\n';
            return false;
        }
    }
    if (!a.passwordCommand.empty() && accounts.size() > 1) {
        err << "tamberlo-sync: --password-command gives one account's password: name the "
               "account with --account ID\n";
        return false;
    }
    return true;
}

int Rounds(const SyncArguments& a, const SYSTEMTIME& now, std::ostream& out, std::ostream& err)
{
    std::vector<pim::SyncAccount> accounts;
    if (!RoundAccounts(a, accounts, err)) {
        return kSyncFailed;
    }
    const Profile profile(a.profile);
    const QStringList trusted = caldav::TrustedFingerprints(profile);
    int code = kSyncOk;
    bool busy = false;
    for (const pim::SyncAccount& account : accounts) {
        caldav::Connection connection = caldav::ConnectionTo(account, {}, trusted);
        const QString command = a.passwordCommand.empty()
                                    ? caldav::PasswordCommand(profile, account)
                                    : QString::fromStdString(a.passwordCommand);
        if (!Password(command, connection, connection.password, err)) {
            code = kSyncFailed;
            continue;
        }
        const caldav::RoundReport report =
            caldav::RunRound(a.store, OccurrenceOnDay, account, connection, {now, {}});
        // A round that found another one running did nothing: its counts would only mislead.
        if (report.busy) {
            busy = true;
            for (const std::wstring& note : report.notes) {
                out << Utf8(note) << '\n';
            }
            continue;
        }
        out << Utf8(account.user) << " at " << caldav::HostOf(connection.server).toStdString()
            << ": sent " << report.sent << ", deleted there " << report.deletedThere
            << ", received " << report.received << ", deleted here " << report.deletedHere
            << ", conflicts " << report.conflicts << ", left on the server " << report.skipped
            << ", refused " << report.refused << '\n';
        for (const std::wstring& note : report.notes) {
            out << "  " << Utf8(note) << '\n';
        }
        if (report.error) {
            Failure(report.error, err);
        }
        code = std::max(code, report.ExitCode());
    }
    // A round of one account is that account's alone; the round already running on the store
    // reads the subscriptions itself.
    if (a.account == 0 && !busy) {
        code = std::max(code, RefreshCommand(a.store, trusted, {now, {}}, out, err));
    }
    return code;
}

} // namespace

int RunSync(const std::vector<std::string>& args, const SYSTEMTIME& now, std::ostream& out,
            std::ostream& err)
{
    if (res::AnswerStandardOption(args, "tamberlo-sync", kSyncUsage, out)) {
        return kSyncOk;
    }
    SyncArguments a;
    if (const std::string problem = ParseSyncArguments(args, a); !problem.empty()) {
        err << "tamberlo-sync: " << problem << " (see --help)\n";
        return kSyncFailed;
    }
    if (a.command == "discover") {
        return Discover(a, out, err);
    }
    if (a.command == "add") {
        return Add(a, out, err);
    }
    if (a.command == "list") {
        return List(a, out, err);
    }
    if (a.command == "remove") {
        return Remove(a, out, err);
    }
    if (a.command == "subscribe") {
        QStringList trusted;
        const QUrl address = caldav::SubscriptionAddress(QString::fromStdString(a.url));
        return Trusted(a, address, trusted, err)
                   ? SubscribeCommand(a.store, a.url, a.name, trusted, out, err)
                   : kSyncFailed;
    }
    if (a.command == "unsubscribe") {
        return UnsubscribeCommand(a.store, a.url, out, err);
    }
    return Rounds(a, now, out, err);
}
