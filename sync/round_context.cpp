// A calendar gone from the server is dropped from the round and its items kept as a local
// calendar; store failures and server errors end the round with what the user should read.
#include "sync/round_context.h"

#include <QUrl>
#include <algorithm>

#include "res/string_table.h"
#include "sync/conflict_copy.h"

namespace caldav {

std::wstring HrefKey(const std::wstring& href)
{
    const QString spelled = QString::fromStdWString(href);
    const QString path =
        QUrl(spelled).adjusted(QUrl::NormalizePathSegments).path(QUrl::FullyDecoded);
    return (path.isEmpty() ? spelled : path).toStdWString();
}

RoundContext::RoundContext(pim::StoreDatabase& db, const pim::SyncAccount& account,
                           const Connection& connection, const RoundOptions& options,
                           RoundReport& report)
    : db(db), ledger(db), client(connection), account(account), options(options), report(report)
{
    std::vector<pim::Calendar> all;
    Stored(pim::CalendarList(db).All(all));
    for (pim::Calendar& c : all) {
        if (c.kind == pim::CalendarKind::Collection && c.account == account.id && !c.url.empty()) {
            calendars.push_back(std::move(c));
        }
    }
}

std::vector<std::wstring> RoundContext::Calendars() const
{
    std::vector<std::wstring> out;
    for (const pim::Calendar& c : calendars) {
        if (std::find(out.begin(), out.end(), c.url) == out.end()) {
            out.push_back(c.url);
        }
    }
    return out;
}

int32_t RoundContext::CalendarId(const std::wstring& url) const
{
    const auto found = std::find_if(calendars.begin(), calendars.end(),
                                    [&](const pim::Calendar& c) { return c.url == url; });
    return found == calendars.end() ? 0 : found->id;
}

bool RoundContext::Gone(const std::wstring& url)
{
    const auto found = std::find_if(calendars.begin(), calendars.end(),
                                    [&](const pim::Calendar& c) { return c.url == url; });
    if (found == calendars.end()) {
        return true;
    }
    if (!Stored(ledger.DropCalendar(account.id, url))) {
        return false;
    }
    const QString host = QUrl(QString::fromStdWString(url)).host();
    report.notes.push_back(
        FilledText(res::IDS_SYNC_CALENDAR_GONE, {found->name, host.toStdWString()}));
    report.storeChanged = true;
    calendars.erase(found);
    return true;
}

bool RoundContext::Going() const
{
    return !report.error && (!options.carryOn || options.carryOn());
}

bool RoundContext::Stored(int32_t status)
{
    if (status >= 0 || status == pim::SyncLedger::kChangedMeanwhile) {
        return true;
    }
    if (!report.error) {
        report.error.failure = Failure::Store;
        report.error.message = db.LastWriteError().empty()
                                   ? res::LoadString(res::IDS_SYNC_STORE_REFUSED)
                                   : db.LastWriteError();
    }
    return false;
}

bool RoundContext::Failed(const SyncError& error)
{
    if (error && !report.error) {
        report.error = error;
    }
    return bool(error);
}

bool RoundContext::Load(const pim::SyncLink& link, pim::StoredItem& out)
{
    std::vector<pim::StoredItem> items;
    if (!Stored(db.Load(link.kind, link.oid, items)) || items.empty()) {
        return false;
    }
    out = std::move(items.front());
    return true;
}

} // namespace caldav
