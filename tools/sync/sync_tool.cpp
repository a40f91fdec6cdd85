// Argument handling, the account commands and the rounds; the conversations and the round
// itself are the caldav library's.
#include "tools/sync/sync_tool.h"

#include <QProcess>
#include <QString>
#include <QUrl>

#include <optional>

#include "ical/ical_text.h"
#include "model/recurrence.h"
#include "platform/pim/application.h"
#include "platform/pim/store_database.h"
#include "platform/pim/sync_ledger.h"
#include "platform/profile.h"
#include "platform/secret_store.h"
#include "sync/account_connection.h"
#include "res/command_line.h"
#include "sync/calendar_collection.h"
#include "sync/connection.h"
#include "sync/dav_client.h"
#include "sync/sync_round.h"

namespace {

constexpr const char* kUsage =
    "usage: tamberlo-sync [--store FILE] [--profile FILE] [--password-command CMD]\n"
    "       tamberlo-sync discover URL --user NAME [--password-command CMD] [--trust SHA256]\n"
    "       tamberlo-sync add URL --user NAME [--events URL] [--tasks URL] [--store FILE]\n"
    "                     [--password-command CMD] [--trust SHA256]\n"
    "       tamberlo-sync list [--store FILE]\n"
    "       tamberlo-sync remove ID [--store FILE]\n"
    "Without a command: one sync round for every account, printing what was sent and received.\n"
    "Exit 0 done, 1 done with a conflict or a resource left on the server, 2 failed.\n"
    "  --password-command CMD  the password is the first line CMD prints (else the desktop's\n"
    "                          secret store)\n"
    "  --profile FILE  where the certificates trusted for sync are kept (the program's profile)\n"
    "  --trust SHA256  trust the server's certificate with this fingerprint from now on\n"
    "  -h, --help  this text\n"
    "  --version   the program's version\n"
    "See tamberlo-sync(1), and tamberlo(1) for the program.\n";
// The password command gets this long to answer.
constexpr int kPasswordWaitMs = 30000;

struct Arguments {
    std::string command;  // empty: the rounds
    std::string store = pim::Application::DefaultStorePath();
    std::string profile = Profile::DefaultPath();
    std::string trust;
    std::string passwordCommand;
    std::string url;
    std::string user;
    std::string events;
    std::string tasks;
    int32_t id = 0;
};

using ical::Utf8;

std::wstring Wide(const std::string& text)
{
    return ical::Wide(text.c_str());
}

std::optional<int32_t> ParseId(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int32_t id = std::stoi(text);
    return id > 0 ? std::optional<int32_t>(id) : std::nullopt;
}

// The message of the first bad argument, or empty.
std::string Parse(const std::vector<std::string>& args, Arguments& a)
{
    size_t i = 0;
    if (!args.empty() && args[0].rfind("-", 0) != 0) {
        a.command = args[0];
        i = 1;
        if (a.command != "discover" && a.command != "add" && a.command != "list" &&
            a.command != "remove")
            return "unknown command: " + a.command;
    }
    std::vector<std::string> positional;
    for (; i < args.size(); ++i) {
        const std::string& name = args[i];
        const bool account = a.command == "discover" || a.command == "add";
        if (name == "--store" || name == "--profile" || name == "--password-command" ||
            (account && (name == "--user" || name == "--trust")) ||
            (a.command == "add" && (name == "--events" || name == "--tasks"))) {
            if (i + 1 >= args.size())
                return "missing value after " + name;
            const std::string& value = args[++i];
            (name == "--store"              ? a.store
             : name == "--profile"          ? a.profile
             : name == "--password-command" ? a.passwordCommand
             : name == "--user"             ? a.user
             : name == "--trust"            ? a.trust
             : name == "--events"           ? a.events
                                            : a.tasks) = value;
        } else if (name.rfind("-", 0) != 0) {
            positional.push_back(name);
        } else {
            return "unknown argument: " + name;
        }
    }
    const size_t wanted = a.command.empty() || a.command == "list" ? 0 : 1;
    if (positional.size() != wanted)
        return positional.size() < wanted ? "missing " + std::string(a.command == "remove"
                                                                          ? "account id"
                                                                          : "server address")
                                          : "unexpected argument: " + positional.back();
    if (a.command == "remove") {
        const std::optional<int32_t> id = ParseId(positional[0]);
        if (!id)
            return "bad account id: " + positional[0];
        a.id = *id;
    } else if (wanted == 1) {
        a.url = positional[0];
        if (a.user.empty())
            return a.command + " needs --user";
    }
    return {};
}

// The account's password: the first line the command prints, else the secret store's entry,
// else none (a server without authentication).
bool Password(const Arguments& a, const QUrl& server, const QString& user, QString& out,
              std::ostream& err)
{
    if (!a.passwordCommand.empty()) {
        QProcess process;
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QString::fromStdString(a.passwordCommand)});
        const bool finished = process.waitForFinished(kPasswordWaitMs);
        if (!finished) {
            process.kill();
            process.waitForFinished(1000);
        }
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            err << "tamberlo-sync: the password command failed: " << a.passwordCommand << '\n';
            return false;
        }
        out = QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0);
        out.remove(u'\r');
        return true;
    }
    const platform::SecretStore secrets;
    const platform::SecretStore::Answer answer =
        secrets.Read(platform::SecretStore::AccountKey(server.toString(), user));
    if (answer.outcome == platform::SecretStore::Outcome::Done)
        out = answer.secret;
    return true;
}

bool OpenStore(const Arguments& a, pim::StoreDatabase& db, std::ostream& err)
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
    if (c.events && c.tasks)
        return "events, tasks";
    return c.events ? "events" : c.tasks ? "tasks" : "-";
}

// The certificates trusted so far, with the one --trust names added for good.
bool Trusted(const Arguments& a, QStringList& out, std::ostream& err)
{
    Profile profile(a.profile);
    if (!a.trust.empty() && !caldav::TrustFingerprint(profile, QByteArray::fromStdString(a.trust))) {
        err << "tamberlo-sync: the fingerprint could not be kept in " << a.profile << '\n';
        return false;
    }
    out = caldav::TrustedFingerprints(profile);
    return true;
}

bool Discovered(const Arguments& a, caldav::Connection& connection, caldav::Discovery& found,
                std::ostream& err)
{
    pim::SyncAccount typed;
    typed.server = Wide(a.url);
    typed.user = Wide(a.user);
    QStringList trusted;
    if (!Trusted(a, trusted, err))
        return false;
    connection = caldav::ConnectionTo(typed, {}, trusted);
    if (!connection.server.isValid() || connection.server.host().isEmpty()) {
        err << "tamberlo-sync: not a server address: " << a.url << '\n';
        return false;
    }
    if (!Password(a, connection.server, connection.user, connection.password, err))
        return false;
    caldav::DavClient client(connection);
    found = caldav::Discover(client);
    if (found.error) {
        Failure(found.error, err);
        return false;
    }
    return true;
}

int Discover(const Arguments& a, std::ostream& out, std::ostream& err)
{
    caldav::Connection connection;
    caldav::Discovery found;
    if (!Discovered(a, connection, found, err))
        return kSyncFailed;
    for (const caldav::RemoteCalendar& c : found.calendars) {
        out << c.url.toString().toStdString() << '\t' << c.name.toStdString() << '\t'
            << Components(c) << '\n';
    }
    return kSyncOk;
}

// The calendar asked for (by URL or its path), else the first supporting the kind.
const caldav::RemoteCalendar* Choose(const caldav::Discovery& found, const std::string& asked,
                                     bool tasks)
{
    for (const caldav::RemoteCalendar& c : found.calendars) {
        if (asked.empty() ? (tasks ? c.tasks : c.events)
                          : c.url.toString().toStdString() == asked ||
                                c.url.path().toStdString() == asked)
            return &c;
    }
    return nullptr;
}

int Add(const Arguments& a, std::ostream& out, std::ostream& err)
{
    caldav::Connection connection;
    caldav::Discovery found;
    if (!Discovered(a, connection, found, err))
        return kSyncFailed;
    const caldav::RemoteCalendar* events = Choose(found, a.events, false);
    const caldav::RemoteCalendar* tasks = Choose(found, a.tasks, true);
    if ((!a.events.empty() && !events) || (!a.tasks.empty() && !tasks) || (!events && !tasks)) {
        err << "tamberlo-sync: no such calendar at " << connection.server.host().toStdString()
            << " (see tamberlo-sync discover)\n";
        return kSyncFailed;
    }
    pim::SyncAccount account;
    account.server = connection.server.toString().toStdWString();
    account.user = Wide(a.user);
    if (events) {
        account.eventCalendar = events->url.toString().toStdWString();
        account.eventCalendarName = events->name.toStdWString();
    }
    if (tasks) {
        account.taskCalendar = tasks->url.toString().toStdWString();
        account.taskCalendarName = tasks->name.toStdWString();
    }
    pim::StoreDatabase db;
    if (!OpenStore(a, db, err))
        return kSyncFailed;
    pim::SyncLedger ledger(db);
    if (ledger.SaveAccount(account) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastWriteError()) << '\n';
        return kSyncFailed;
    }
    out << "added account " << account.id << '\n';
    return kSyncOk;
}

bool Accounts(const Arguments& a, pim::StoreDatabase& db, std::vector<pim::SyncAccount>& out,
              std::ostream& err)
{
    if (!OpenStore(a, db, err))
        return false;
    if (pim::SyncLedger(db).Accounts(out) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return false;
    }
    return true;
}

int List(const Arguments& a, std::ostream& out, std::ostream& err)
{
    pim::StoreDatabase db;
    std::vector<pim::SyncAccount> accounts;
    if (!Accounts(a, db, accounts, err))
        return kSyncFailed;
    const auto calendar = [](const std::wstring& name, const std::wstring& url) {
        return url.empty() ? std::string("-") : Utf8(name) + " <" + Utf8(url) + ">";
    };
    for (const pim::SyncAccount& account : accounts) {
        out << account.id << '\t' << Utf8(account.user) << '\t' << Utf8(account.server)
            << "\tevents: " << calendar(account.eventCalendarName, account.eventCalendar)
            << "\ttasks: " << calendar(account.taskCalendarName, account.taskCalendar) << '\n';
    }
    return kSyncOk;
}

int Remove(const Arguments& a, std::ostream& out, std::ostream& err)
{
    pim::StoreDatabase db;
    std::vector<pim::SyncAccount> accounts;
    if (!Accounts(a, db, accounts, err))
        return kSyncFailed;
    if (std::none_of(accounts.begin(), accounts.end(),
                     [&](const pim::SyncAccount& x) { return x.id == a.id; })) {
        err << "tamberlo-sync: no account " << a.id << '\n';
        return kSyncFailed;
    }
    if (pim::SyncLedger(db).RemoveAccount(a.id) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastWriteError()) << '\n';
        return kSyncFailed;
    }
    out << "removed account " << a.id << '\n';
    return kSyncOk;
}

int Rounds(const Arguments& a, const SYSTEMTIME& now, std::ostream& out, std::ostream& err)
{
    std::vector<pim::SyncAccount> accounts;
    {
        pim::StoreDatabase db;
        if (!Accounts(a, db, accounts, err))
            return kSyncFailed;
    }
    QStringList trusted;
    if (!Trusted(a, trusted, err))
        return kSyncFailed;
    int code = kSyncOk;
    for (const pim::SyncAccount& account : accounts) {
        caldav::Connection connection = caldav::ConnectionTo(account, {}, trusted);
        if (!Password(a, connection.server, connection.user, connection.password, err)) {
            code = kSyncFailed;
            continue;
        }
        const caldav::RoundReport report =
            caldav::RunRound(a.store, OccurrenceOnDay, account, connection, {now, {}});
        out << Utf8(account.user) << " at " << connection.server.host().toStdString() << ": sent "
            << report.sent << ", deleted there " << report.deletedThere << ", received "
            << report.received << ", deleted here " << report.deletedHere << ", conflicts "
            << report.conflicts << ", left on the server " << report.skipped << '\n';
        for (const std::wstring& note : report.notes)
            out << "  " << Utf8(note) << '\n';
        if (report.error)
            Failure(report.error, err);
        code = std::max(code, report.ExitCode());
    }
    return code;
}

}  // namespace

int RunSync(const std::vector<std::string>& args, const SYSTEMTIME& now, std::ostream& out,
            std::ostream& err)
{
    if (res::AnswerStandardOption(args, "tamberlo-sync", kUsage, out))
        return kSyncOk;
    Arguments a;
    if (const std::string problem = Parse(args, a); !problem.empty()) {
        err << "tamberlo-sync: " << problem << " (see --help)\n";
        return kSyncFailed;
    }
    if (a.command == "discover")
        return Discover(a, out, err);
    if (a.command == "add")
        return Add(a, out, err);
    if (a.command == "list")
        return List(a, out, err);
    if (a.command == "remove")
        return Remove(a, out, err);
    return Rounds(a, now, out, err);
}
