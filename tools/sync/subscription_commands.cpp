// The tool's words for the subscriptions of the caldav library; the program says the same
// things in its dialog and status bar.
#include "tools/sync/subscription_commands.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

#include "ical/ical_text.h"
#include "platform/pim/store_database.h"
#include "platform/pim/store_subscriptions.h"
#include "res/string_table.h"
#include "sync/connection.h"
#include "sync/subscription.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;

using ical::Utf8;

void PrintNotes(const caldav::SubscriptionReport& report, std::ostream& out)
{
    for (const std::wstring& note : report.notes) {
        out << "  " << Utf8(note) << '\n';
    }
}

caldav::Connection Limits(const QStringList& trusted)
{
    caldav::Connection limits;
    limits.trustedFingerprints = trusted;
    return limits;
}

// The subscriptions `typed` names: those of that exact name, else of that name in any case,
// else the one at that address.
std::vector<pim::Calendar> Named(const std::vector<pim::Calendar>& subscriptions,
                                 const std::string& typed)
{
    const QString wanted = QString::fromStdString(typed);
    const QUrl address = caldav::SubscriptionAddress(wanted);
    const std::function<bool(const QString&, const pim::Calendar&)> tests[] = {
        [](const QString& name, const pim::Calendar& c) { return name.toStdWString() == c.name; },
        [](const QString& name, const pim::Calendar& c) {
            return name.compare(QString::fromStdWString(c.name), Qt::CaseInsensitive) == 0;
        },
        [&address](const QString&, const pim::Calendar& c) {
            return !address.isEmpty() &&
                   caldav::SubscriptionAddress(QString::fromStdWString(c.url)) == address;
        },
    };
    for (const auto& test : tests) {
        std::vector<pim::Calendar> found;
        for (const pim::Calendar& c : subscriptions) {
            if (test(wanted, c)) {
                found.push_back(c);
            }
        }
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

} // namespace

int SubscribeCommand(const std::string& storePath, const std::string& typed,
                     const std::string& name, const QStringList& trusted, std::ostream& out,
                     std::ostream& err)
{
    const QUrl address = caldav::SubscriptionAddress(QString::fromStdString(typed));
    if (address.isEmpty()) {
        err << "tamberlo-sync: " << Utf8(res::LoadString(res::IDS_SUBSCRIPTION_BAD_ADDRESS))
            << '\n';
        return kFailed;
    }
    if (address.scheme() == QLatin1String("http")) {
        err << "tamberlo-sync: "
            << Utf8(res::LoadString(res::IDS_SUBSCRIPTION_PLAIN_HTTP,
                                    address.toString().toStdWString()))
            << '\n';
    }
    const caldav::SubscriptionReport report = caldav::Subscribe(
        storePath, address, QString::fromStdString(name).toStdWString(), Limits(trusted));
    if (report.error) {
        err << "tamberlo-sync: " << Utf8(report.error.message) << '\n';
        return kFailed;
    }
    out << "subscribed to " << Utf8(report.calendar.name) << " (calendar " << report.calendar.id
        << "): " << ical::Counted(report.change.written, "item") << '\n';
    PrintNotes(report, out);
    return kDone;
}

int UnsubscribeCommand(const std::string& storePath, const std::string& typed, std::ostream& out,
                       std::ostream& err)
{
    pim::StoreDatabase db;
    std::vector<pim::Calendar> subscriptions;
    if (db.Open(storePath) < 0 || !db.Writable() ||
        pim::SubscriptionLedger(db).All(subscriptions) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return kFailed;
    }
    const std::vector<pim::Calendar> found = Named(subscriptions, typed);
    if (found.size() != 1) {
        const int message =
            found.empty() ? res::IDS_NO_SUBSCRIPTION : res::IDS_SUBSCRIPTION_AMBIGUOUS;
        err << "tamberlo-sync: " << Utf8(res::LoadString(message, ical::Wide(typed.c_str())))
            << '\n';
        return kFailed;
    }
    int deleted = 0;
    if (pim::SubscriptionLedger(db).Unsubscribe(found.front().id, deleted) < 0) {
        err << "tamberlo-sync: " << Utf8(db.LastError()) << '\n';
        return kFailed;
    }
    out << "unsubscribed from " << Utf8(found.front().name) << ": "
        << ical::Counted(deleted, "item") << " deleted here\n";
    return kDone;
}

int RefreshCommand(const std::string& storePath, const QStringList& trusted,
                   const caldav::RoundOptions& options, std::ostream& out, std::ostream& err)
{
    int code = kDone;
    for (const caldav::SubscriptionReport& report :
         caldav::RefreshSubscriptions(storePath, Limits(trusted), options)) {
        if (report.busy) {
            out << Utf8(res::LoadString(res::IDS_SYNC_ROUND_RUNNING,
                                        QString::fromStdString(storePath).toStdWString()))
                << '\n';
            continue;
        }
        if (report.error) {
            err << "tamberlo-sync: " << Utf8(caldav::SubscriptionFailure(report).message) << '\n';
            code = kFailed;
            continue;
        }
        out << "subscription " << Utf8(report.calendar.name) << ": ";
        if (report.unchanged) {
            out << "unchanged\n";
        } else {
            out << "received " << report.change.written << ", deleted here "
                << report.change.deleted << '\n';
        }
        PrintNotes(report, out);
    }
    return code;
}
