// A round: pull each calendar's changes and apply them item by item (round_pull.cpp, applying
// with round_apply.cpp), push what changed here (round_push.cpp), then pull once more so the
// round's own writes are recorded and the next quiet round is quiet. Every step is safe to cut:
// the sync position is saved only once its changes are applied, and a PUT whose answer never
// came is recognised by UID or by its content the next time.
#include "sync/sync_round.h"

#include <QUrl>
#include <algorithm>

#include "res/string_table.h"
#include "sync/conflict_copy.h"
#include "sync/round_context.h"
#include "sync/round_lock.h"
#include "sync/round_pull.h"
#include "sync/round_push.h"

namespace caldav {
namespace {

bool PullAll(RoundContext& round)
{
    for (const std::wstring& calendar : round.Calendars()) {
        if (!round.Going() || !PullCalendar(round, calendar)) {
            return false;
        }
    }
    return true;
}

void ReportSkipped(RoundContext& round)
{
    std::vector<pim::SkippedResource> skipped;
    if (!round.Stored(round.ledger.Skipped(skipped))) {
        return;
    }
    const std::vector<std::wstring> calendars = round.Calendars();
    for (const pim::SkippedResource& s : skipped) {
        if (std::find(calendars.begin(), calendars.end(), s.calendar) == calendars.end()) {
            continue;
        }
        ++round.report.skipped;
        round.report.notes.push_back(FilledText(res::IDS_SYNC_NOTE_SKIPPED, {s.href, s.reason}));
    }
}

void Run(RoundContext& round)
{
    if (!PullAll(round)) {
        return;
    }
    const int writes = round.client.WriteCount();
    if (!round.Going() || !PushChanges(round)) {
        return;
    }
    // Our own writes moved the sync positions: record them now, not in the next round.
    if (round.client.WriteCount() != writes && !PullAll(round)) {
        return;
    }
    ReportSkipped(round);
}

} // namespace

int RoundReport::ExitCode() const
{
    if (error) {
        return 2;
    }
    return conflicts > 0 || skipped > 0 || refused > 0 ? 1 : 0;
}

RoundReport RunRound(const std::string& storePath, const pim::OccurrenceRule& rule,
                     const pim::SyncAccount& account, const Connection& connection,
                     const RoundOptions& options)
{
    RoundReport report;
    // Two rounds on one store would each add what the server holds.
    const RoundLock lock(storePath, options.lockWaitMs);
    if (!lock.Held()) {
        report.busy = true;
        report.notes.push_back(res::LoadString(res::IDS_SYNC_ROUND_RUNNING,
                                               QString::fromStdString(storePath).toStdWString()));
        return report;
    }
    pim::StoreDatabase db;
    if (db.Open(storePath) < 0 || !db.Writable()) {
        report.error.failure = Failure::Store;
        report.error.message = db.LastError();
        return report;
    }
    db.SetOccurrenceRule(rule);
    // Every collection of the account is one the user chose: its host may have the password.
    Connection toCalendars = connection;
    std::vector<pim::Calendar> calendars;
    pim::CalendarList(db).All(calendars);
    for (const pim::Calendar& c : calendars) {
        if (c.account == account.id && !c.url.empty()) {
            toCalendars.confirmed.push_back(QUrl(QString::fromStdWString(c.url)));
        }
    }
    RoundContext round(db, account, toCalendars, options, report);
    Run(round);
    report.requests = round.client.RequestCount() + round.otherRequests;
    report.writes = round.client.WriteCount();
    return report;
}

} // namespace caldav
