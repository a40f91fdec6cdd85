// A subscription is one GET of one file. Its answer is read whole into the items of its calendar
// or refused whole: an error status, a page that is no calendar, a file past the size limit or
// a redirect elsewhere leave the calendar as it was.
#include "sync/subscription.h"

#include <algorithm>
#include <set>
#include <utility>

#include "ical/calendar_import.h"
#include "ical/ical_text.h"
#include "platform/pim/store_database.h"
#include "res/string_table.h"
#include "sync/dav_client.h"
#include "sync/round_lock.h"

namespace caldav {
namespace {

// A holiday or team calendar is far smaller; a file past this is no calendar to keep whole.
constexpr qint64 kMaxFileBytes = 32LL << 20;

struct FileRead {
    bool unchanged = false;
    ical::CalendarFile file;
    pim::SubscriptionState state;
    SyncError error;
};

QString Address(const pim::Calendar& c)
{
    return QString::fromStdWString(c.url);
}

Connection ConnectionFor(const QUrl& address, const Connection& limits)
{
    Connection connection = limits;
    connection.server = address;
    connection.httpsAssumed = false;
    connection.user.clear();
    connection.password.clear();
    connection.confirmed.clear();
    connection.maxBodyBytes = std::min(limits.maxBodyBytes, kMaxFileBytes);
    return connection;
}

// One item per UID and kind, the first the file holds; a later one is noted and left out.
void KeepFirstOfEachUid(ical::CalendarFile& file)
{
    std::set<std::pair<int32_t, std::wstring>> seen;
    std::vector<pim::StoredItem> kept;
    for (pim::StoredItem& item : file.items) {
        if (seen.insert({item.kind, item.fields.UID}).second) {
            kept.push_back(std::move(item));
        } else {
            file.notes.push_back("UID " + ical::Utf8(item.fields.UID) +
                                 ": skipped, a second component with the same UID");
        }
    }
    file.items = std::move(kept);
}

FileRead Read(const QUrl& address, const pim::SubscriptionState& last, const Connection& limits)
{
    FileRead read;
    DavClient client(ConnectionFor(address, limits));
    const DavResponse answer =
        client.GetIfChanged(address, QString::fromStdWString(last.etag).toLatin1(),
                            QString::fromStdWString(last.lastModified).toLatin1());
    // No password goes with a subscription, so a 401 is no wrong password of the user's.
    if (answer.status == 401) {
        read.error =
            FailureIn(Failure::WrongPassword, res::IDS_SUBSCRIPTION_PASSWORD, {HostOf(answer.url)});
        return read;
    }
    if (answer.error) {
        read.error = answer.error;
        return read;
    }
    if (answer.status == 304) {
        read.unchanged = true;
        return read;
    }
    read.file = ical::ReadCalendarFile(answer.body.toStdString());
    if (!read.file.sawCalendar) {
        read.error =
            FailureIn(Failure::Malformed, res::IDS_SUBSCRIPTION_NO_CALENDAR, {address.toString()});
        return read;
    }
    KeepFirstOfEachUid(read.file);
    read.state = {QString::fromLatin1(answer.anyEtag).toStdWString(),
                  QString::fromLatin1(answer.lastModified).toStdWString()};
    return read;
}

std::vector<std::wstring> Wide(const std::vector<std::string>& notes)
{
    std::vector<std::wstring> wide;
    wide.reserve(notes.size());

    for (const std::string& note : notes) {
        wide.push_back(ical::Wide(note.c_str()));
    }
    return wide;
}

// The user's name, else the file's own, else the address's last segment without ".ics".
std::wstring NameOf(const std::wstring& asked, const ical::CalendarFile& file, const QUrl& address)
{
    const QString typed = QString::fromStdWString(asked).trimmed();
    if (!typed.isEmpty()) {
        return typed.toStdWString();
    }
    if (!file.name.empty()) {
        return file.name;
    }
    QString segment = address.fileName();
    if (segment.endsWith(QLatin1String(".ics"), Qt::CaseInsensitive)) {
        segment.chop(4);
    }
    return (segment.isEmpty() ? address.host() : segment).toStdWString();
}

SyncError StoreFailure(pim::StoreDatabase& db)
{
    SyncError error;
    error.failure = Failure::Store;
    error.message = db.LastWriteError().empty() ? db.LastError() : db.LastWriteError();
    return error;
}

bool OpenWritable(pim::StoreDatabase& db, const std::string& storePath, SyncError& error)
{
    if (db.Open(storePath) < 0 || !db.Writable()) {
        error = StoreFailure(db);
        return false;
    }
    return true;
}

// The subscription of the same address, if the store has one.
bool Known(pim::SubscriptionLedger& ledger, const QUrl& address, pim::Calendar& out)
{
    std::vector<pim::Calendar> all;
    ledger.All(all);
    const auto same = std::find_if(all.begin(), all.end(), [&](const pim::Calendar& c) {
        return QUrl(Address(c)).adjusted(QUrl::NormalizePathSegments) ==
               address.adjusted(QUrl::NormalizePathSegments);
    });
    if (same == all.end()) {
        return false;
    }
    out = *same;
    return true;
}

void Refresh(pim::StoreDatabase& db, const Connection& limits, SubscriptionReport& report)
{
    pim::SubscriptionLedger ledger(db);
    pim::SubscriptionState last;
    if (ledger.State(report.calendar.id, last) < 0) {
        report.error = StoreFailure(db);
        return;
    }
    FileRead read = Read(QUrl(Address(report.calendar)), last, limits);
    report.error = read.error;
    report.unchanged = read.unchanged;
    if (read.error || read.unchanged) {
        return;
    }
    report.notes = Wide(read.file.notes);
    if (ledger.Replace(report.calendar.id, read.file.items, read.state, report.change) < 0) {
        report.error = StoreFailure(db);
    }
}

} // namespace

QUrl SubscriptionAddress(const QString& typed)
{
    QString address = typed.trimmed();
    for (const QLatin1String scheme : {QLatin1String("webcal://"), QLatin1String("webcals://")}) {
        if (address.startsWith(scheme, Qt::CaseInsensitive)) {
            address = QLatin1String("https://") + address.mid(scheme.size());
        }
    }
    return CheckedServerAddress(address);
}

bool IsSubscriptionArgument(const QString& argument)
{
    return argument.contains(QLatin1String("://")) && !SubscriptionAddress(argument).isEmpty();
}

SubscriptionReport Subscribe(const std::string& storePath, const QUrl& address,
                             const std::wstring& name, const Connection& limits)
{
    SubscriptionReport report;
    report.calendar.url = address.toString().toStdWString();
    pim::StoreDatabase db;
    if (!OpenWritable(db, storePath, report.error)) {
        return report;
    }
    pim::SubscriptionLedger ledger(db);
    if (pim::Calendar known; Known(ledger, address, known)) {
        report.error = FailureIn(Failure::Store, res::IDS_SUBSCRIPTION_KNOWN,
                                 {address.toString(), QString::fromStdWString(known.name)});
        return report;
    }
    FileRead read = Read(address, {}, limits);
    report.error = read.error;
    if (read.error) {
        return report;
    }
    report.notes = Wide(read.file.notes);
    report.calendar.name = NameOf(name, read.file, address);
    if (ledger.Subscribe(report.calendar, read.file.items, read.state, report.change) < 0) {
        report.error = StoreFailure(db);
    }
    return report;
}

std::vector<SubscriptionReport> RefreshSubscriptions(const std::string& storePath,
                                                     const Connection& limits,
                                                     const RoundOptions& options)
{
    std::vector<SubscriptionReport> reports(1);
    pim::StoreDatabase db;
    if (!OpenWritable(db, storePath, reports.front().error)) {
        return reports;
    }
    std::vector<pim::Calendar> subscriptions;
    if (pim::SubscriptionLedger(db).All(subscriptions) < 0) {
        reports.front().error = StoreFailure(db);
        return reports;
    }
    reports.clear();
    if (subscriptions.empty()) {
        return reports;
    }
    // A round and a refresh writing the store at once would each read it as the other left it.
    const RoundLock lock(storePath, options.lockWaitMs);
    if (!lock.Held()) {
        reports.emplace_back().busy = true;
        return reports;
    }
    for (const pim::Calendar& calendar : subscriptions) {
        if (options.carryOn && !options.carryOn()) {
            break;
        }
        SubscriptionReport& report = reports.emplace_back();
        report.calendar = calendar;
        Refresh(db, limits, report);
    }
    return reports;
}

SyncError SubscriptionFailure(const SubscriptionReport& report)
{
    if (!report.error || report.calendar.name.empty()) {
        return report.error;
    }
    SyncError named = report.error;
    named.message = FailureIn(report.error.failure, res::IDS_SUBSCRIPTION_FAILED,
                              {QString::fromStdWString(report.calendar.name),
                               QString::fromStdWString(report.error.message)})
                        .message;
    return named;
}

} // namespace caldav
