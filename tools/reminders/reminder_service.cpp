// Firing, snoozing and re-planning. The store is read only at start, after it changed on disk
// and while it cannot be read (every minute); between those the plan in memory answers.
#include "tools/reminders/reminder_service.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "res/string_table.h"

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 1.0 / 1440.0;
// A reminder shown later than this after its time is marked as missed.
constexpr double kLateAfter = kMinute;
constexpr int kSettleMs = 300;

// "2026/12/07 10:00 - 11:00", the end's day added when it differs; all-day items show days only,
// their end being the midnight after the last day.
std::wstring TimeRange(const Reminder& r)
{
    if (r.kind == pim::kTaskKind) {
        return IsTaskDate(r.end) ? res::LoadString(res::IDS_REMINDER_DUE) + DayText(r.end)
                                 : std::wstring{};
    }
    if (r.allDay) {
        const DATE last = std::max(r.start, r.end - 1.0);
        return DayNumber(last) == DayNumber(r.start) ? DayText(r.start)
                                                     : DayText(r.start) + L" - " + DayText(last);
    }
    const std::wstring endDay =
        DayNumber(r.end) == DayNumber(r.start) ? std::wstring{} : DayText(r.end) + L" ";
    return DayText(r.start) + L" " + ClockText(r.start) + L" - " + endDay + ClockText(r.end);
}

// The dialog bit shows the reminder and the sound bit sounds it. A reminder that asks for
// neither (the editor's alarm switched on, no option ticked) is still shown: an alarm that is
// on must not pass in silence.
Notification NotificationOf(const Reminder& r, bool missed)
{
    const bool dialog = (r.options & kReminderDialog) != 0;
    const bool sound = (r.options & kReminderSound) != 0;
    Notification n;
    n.summary = (missed ? res::LoadString(res::IDS_REMINDER_MISSED) : std::wstring{}) + r.subject;
    n.body = TimeRange(r);
    if (!r.location.empty()) {
        n.body += (n.body.empty() ? L"" : L"\n") + r.location;
    }
    n.sound = sound;
    n.soundFile = r.soundFile;
    n.transient = sound && !dialog;
    n.persistent = (r.options & kReminderRepeat) != 0;
    n.actions = {{"snooze", res::LoadString(res::IDS_REMINDER_SNOOZE)},
                 {"open", res::LoadString(res::IDS_REMINDER_OPEN)}};
    return n;
}

std::string Utf8(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

} // namespace

ReminderService::ReminderService(ReminderServiceSetup setup, Notifier& notifier, const Clock& clock,
                                 std::ostream& err)
    : setup_(std::move(setup)), notifier_(notifier), clock_(clock), err_(err),
      state_(setup_.statePath)
{
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] {
        if (storeUsable_) {
            Check();
        } else {
            ReloadStore();
        }
    });
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &ReminderService::OnStoreTouched);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
    notifier_.SetActionHandler(
        [this](uint32_t id, const std::string& action) { OnAction(id, action); });
}

ReminderService::~ReminderService()
{
    notifier_.SetActionHandler(nullptr);
}

DATE ReminderService::Now() const
{
    return SystemTimeToVariantTime(clock_.Now());
}

void ReminderService::Start()
{
    if (!state_.Load()) {
        Report(L"The reminder state file is damaged and starts afresh: " +
               setup_.statePath.toStdWString());
    }
    ReloadStore();
}

void ReminderService::ReloadStore()
{
    signature_ = StoreSignature();
    const QString path = QString::fromStdString(setup_.storePath);
    if (!QFileInfo::exists(path)) {
        plan_ = ReminderPlan{};
        storeUsable_ = false;
        Report(L"No calendar store yet: " + path.toStdWString());
    } else {
        PimSession session(setup_.storePath, OccurrenceOnDay);
        ReminderPlan fresh;
        // A store that cannot be read keeps the plan read before, so a locked moment loses
        // nothing; it is tried again shortly.
        if (fresh.Load(session, Now()) < 0) {
            storeUsable_ = false;
            Report(session.ConnectError());
        } else {
            plan_ = std::move(fresh);
            storeUsable_ = true;
            lastReport_.clear();
        }
    }
    Watch();
    Check();
}

void ReminderService::Check()
{
    const DATE now = Now();
    // The plan holds the reminders of the next months only; it is read again before it ends.
    if (storeUsable_ && !plan_.Covers(now)) {
        ReloadStore(); // which checks again
        return;
    }
    const DATE from = std::max(state_.LastCheck(), now - kMissedWindowDays);
    for (const Reminder& r : plan_.Due(from, now + kSecond)) {
        if (!state_.HasFired(r.Key())) {
            Fire(r, r.fireAt < now - kLateAfter);
            state_.MarkFired(r);
        }
    }
    std::vector<FiredState::Snooze>& snoozed = state_.Snoozed();
    for (auto it = snoozed.begin(); it != snoozed.end();) {
        if (it->until < now + kSecond) {
            Fire(it->reminder, false);
            it = snoozed.erase(it);
        } else {
            ++it;
        }
    }
    state_.SetLastCheck(now);
    state_.ForgetBefore(now - 2 * kMissedWindowDays);
    if (!state_.Save()) {
        Report(L"Cannot write the reminder state file: " + setup_.statePath.toStdWString());
    }
    Arm(now);
}

void ReminderService::Fire(const Reminder& reminder, bool missed)
{
    const Notification n = NotificationOf(reminder, missed);
    const uint32_t id = notifier_.Notify(n);
    if (id != 0) {
        shown_[id] = reminder;
        return;
    }
    // No notification service: the terminal or the session log still hears of it.
    err_ << Utf8(n.summary) << ": "
         << QString::fromStdWString(n.body).replace('\n', QStringLiteral(", ")).toStdString()
         << std::endl;
}

void ReminderService::OnAction(uint32_t id, const std::string& action)
{
    const auto found = shown_.find(id);
    if (found == shown_.end()) {
        return;
    }
    const Reminder reminder = found->second;
    shown_.erase(found);
    if (action == "snooze") {
        const DATE now = Now();
        state_.Snoozed().push_back({reminder, now + kSnoozeMinutes * kMinute});
        state_.Save();
        Arm(now);
    } else if ((action == "open" || action == "default") && setup_.open) {
        setup_.open(reminder);
    }
}

void ReminderService::Arm(DATE now)
{
    DATE wake = now + kLongestSleepMs / kMsPerDay;
    if (!storeUsable_) {
        wake = std::min(wake, now + kRetryMs / kMsPerDay);
    }
    if (const std::optional<Reminder> next = plan_.Next(now + kSecond)) {
        wake = std::min(wake, next->fireAt);
    }
    for (const FiredState::Snooze& s : state_.Snoozed()) {
        wake = std::min(wake, s.until);
    }
    nextWake_ = wake;
    const double ms = std::ceil((wake - now) * kMsPerDay);
    wake_.start(static_cast<int>(std::clamp(ms, 0.0, double{kLongestSleepMs})));
}

// The file, its write-ahead log and the folder (which sees the log appear and the file being
// replaced). The files are watched afresh each time, as a replaced file is a new one.
void ReminderService::Watch()
{
    const QString path = QString::fromStdString(setup_.storePath);
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    for (const QString& file : {path, path + "-wal"}) {
        if (QFileInfo::exists(file)) {
            watcher_.addPath(file);
        }
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(folder) && !watcher_.directories().contains(folder)) {
        watcher_.addPath(folder);
    }
}

void ReminderService::OnStoreTouched()
{
    Watch();
    if (StoreSignature() != signature_) {
        ReloadStore();
    }
}

// What a change to the store changes. Reading the store creates and removes an empty log, so an
// empty log counts as none: the service's own reading never looks like a change.
QString ReminderService::StoreSignature() const
{
    const QString path = QString::fromStdString(setup_.storePath);
    const QFileInfo file(path);
    const QFileInfo log(path + "-wal");
    QString signature = file.exists() ? QStringLiteral("%1/%2/%3")
                                            .arg(file.size())
                                            .arg(file.lastModified().toMSecsSinceEpoch())
                                            .arg(file.metadataChangeTime().toMSecsSinceEpoch())
                                      : QStringLiteral("none");
    if (log.exists() && log.size() > 0) {
        signature +=
            QStringLiteral(" %1/%2").arg(log.size()).arg(log.lastModified().toMSecsSinceEpoch());
    }
    return signature;
}

void ReminderService::Report(const std::wstring& text)
{
    if (text != lastReport_) {
        err_ << Utf8(text) << std::endl;
        lastReport_ = text;
    }
}
