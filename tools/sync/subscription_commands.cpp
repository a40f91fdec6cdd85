// The tool's words for the subscriptions of the caldav library; the program says the same
// things in its dialog and status bar.
#include "tools/sync/subscription_commands.h"

#include <QString>
#include <QUrl>

#include "ical/ical_text.h"
#include "res/string_table.h"
#include "sync/connection.h"
#include "sync/subscription.h"

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 2;

using ical::Utf8;

void PrintNotes(const caldav::SubscriptionReport& report, std::ostream& out)
{
    for (const std::wstring& note : report.notes)
        out << "  " << Utf8(note) << '\n';
}

caldav::Connection Limits(const QStringList& trusted)
{
    caldav::Connection limits;
    limits.trustedFingerprints = trusted;
    return limits;
}

}  // namespace

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
    if (address.scheme() == QLatin1String("http"))
        err << "tamberlo-sync: "
            << Utf8(res::LoadString(res::IDS_SUBSCRIPTION_PLAIN_HTTP,
                                    address.toString().toStdWString()))
            << '\n';
    const caldav::SubscriptionReport report = caldav::Subscribe(
        storePath, address, QString::fromStdString(name).toStdWString(), Limits(trusted));
    if (report.error) {
        err << "tamberlo-sync: " << Utf8(report.error.message) << '\n';
        return kFailed;
    }
    out << "subscribed to " << Utf8(report.calendar.name) << " (calendar "
        << report.calendar.id << "): " << ical::Counted(report.change.written, "item") << '\n';
    PrintNotes(report, out);
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
        if (report.unchanged)
            out << "unchanged\n";
        else
            out << "received " << report.change.written << ", deleted here "
                << report.change.deleted << '\n';
        PrintNotes(report, out);
    }
    return code;
}
