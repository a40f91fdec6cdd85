#include "sync/round_context.h"

#include <QUrl>
#include <algorithm>

#include "res/string_table.h"

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
}

std::vector<std::wstring> RoundContext::Calendars() const
{
    std::vector<std::wstring> out;
    for (const std::wstring& url : {account.eventCalendar, account.taskCalendar}) {
        if (!url.empty() && std::find(out.begin(), out.end(), url) == out.end())
            out.push_back(url);
    }
    return out;
}

bool RoundContext::Going() const
{
    return !report.error && (!options.carryOn || options.carryOn());
}

bool RoundContext::Stored(int32_t status)
{
    if (status >= 0 || status == pim::SyncLedger::kChangedMeanwhile)
        return true;
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
    if (error && !report.error)
        report.error = error;
    return bool(error);
}

bool RoundContext::Load(const pim::SyncLink& link, pim::StoredItem& out)
{
    std::vector<pim::StoredItem> items;
    if (!Stored(db.Load(link.kind, link.oid, items)) || items.empty())
        return false;
    out = std::move(items.front());
    return true;
}

} // namespace caldav
