// The names are built from the same entries and the same conflict rule the detail list draws
// with, so what is read and what is shown never disagree.
#include "view/accessible_item_text.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include "model/date_time.h"
#include "res/string_table.h"
#include "view/conflict_tracker.h"
#include "view/day_paint_rules.h"
#include "view/paint_primitives.h"

namespace {

constexpr int kLastDayKind = 4;

QString Text(int id)
{
    return QString::fromStdWString(res::LoadString(id));
}

std::wstring JoinedWords(const std::vector<int>& ids)
{
    QStringList words;
    for (int id : ids) {
        words << Text(id);
    }
    return words.join(QStringLiteral(", ")).toStdWString();
}

// A clock text of the day tables ("0930") or one already shown ("09:30"), as read out.
QString Clock(const std::wstring& text)
{
    QString clock = QString::fromStdWString(text);
    if (clock.size() == 4 && !clock.contains(QLatin1Char(':'))) {
        return clock.left(2) + QLatin1Char(':') + clock.mid(2);
    }
    return clock;
}

bool HeadedByHoliday(const DayEntries& entries, int day)
{
    return entries.ApptCount(day) > 0 && HolidayHeadsDay(entries, day);
}

} // namespace

std::wstring AccessibleDayName(const DayEntries& entries, int day)
{
    const SYSTEMTIME date = AddDays(entries.GetShownStart(), day);
    QString name =
        QLocale(QLocale::English)
            .toString(QDate(date.wYear, date.wMonth, date.wDay), QStringLiteral("dddd d MMMM"));
    if (!HeadedByHoliday(entries, day)) {
        return name.toStdWString();
    }
    const int kind = entries.DayKind(day, 0);
    if (kind >= 1 && kind <= kLastDayKind) {
        name += QStringLiteral(", ") + Text(res::IDS_A11Y_KIND_FIRST + kind - 1);
    }
    const QString holiday = QString::fromStdWString(IsolatedText(entries.ApptSubject(day, 0)));
    if (!holiday.isEmpty()) {
        name += QStringLiteral(", ") + holiday;
    }
    return name.toStdWString();
}

std::wstring AppointmentAccessibleName(const std::wstring& subject, const std::wstring& start,
                                       const std::wstring& end, const std::wstring& place,
                                       bool allDay)
{
    const QString what = QString::fromStdWString(IsolatedText(subject));
    QString name = allDay ? Text(res::IDS_A11Y_ALL_DAY).arg(what)
                          : Text(res::IDS_A11Y_APPOINTMENT).arg(what, Clock(start), Clock(end));
    const QString where = QString::fromStdWString(IsolatedText(place));
    if (!where.isEmpty()) {
        name += QStringLiteral(", ") + where;
    }
    return name.toStdWString();
}

std::wstring TaskAccessibleName(const std::wstring& subject, const std::wstring& due)
{
    const QString what = QString::fromStdWString(IsolatedText(subject));
    const QString when = QString::fromStdWString(due).trimmed();
    return (when.isEmpty() ? Text(res::IDS_A11Y_TASK).arg(what)
                           : Text(res::IDS_A11Y_TASK_DUE).arg(what, when))
        .toStdWString();
}

std::vector<AccessibleItem> AccessibleItems(const DayEntries& e, int day,
                                            const ItemSelection& selection, int selectedRow,
                                            bool withHoliday)
{
    std::vector<AccessibleItem> items;
    const auto selected = [&](ItemKind kind, int pos) {
        return day == selectedRow && selection.HasItem() && selection.kind == kind &&
               selection.index == pos;
    };
    for (int pos = 0; pos < e.TaskCount(day); ++pos) {
        AccessibleItem item{
            ItemKind::Task, pos,
            TaskAccessibleName(e.TaskSubject(day, pos),
                               e.TaskHasDue(day, pos) ? e.TaskDueText(day, pos) : std::wstring())};
        item.selected = selected(ItemKind::Task, pos);
        item.recurring = e.TaskRecurring(day, pos);
        item.completed = e.TaskComplete(day, pos);
        items.push_back(item);
    }
    ConflictTracker conflicts;
    for (int pos = 0; pos < e.ApptCount(day); ++pos) {
        const bool allDay = e.IsAllDay(day, pos);
        const int dayKind = e.DayKind(day, pos);
        const bool conflicting =
            conflicts.Conflicts(e, day, pos, e.StartMinutes(day, pos)) && (!allDay || dayKind == 0);
        conflicts.Pass(e, day, pos, e.EndMinutes(day, pos));
        if (pos == 0 && !withHoliday && HeadedByHoliday(e, day)) {
            continue;
        }
        AccessibleItem item{ItemKind::Appointment, pos,
                            AppointmentAccessibleName(e.ApptSubject(day, pos),
                                                      e.StartText(day, pos), e.EndText(day, pos),
                                                      e.ApptLocation(day, pos), allDay)};
        item.selected = selected(ItemKind::Appointment, pos);
        item.conflicting = conflicting;
        item.recurring = e.EntryState(day, pos) != kPlainEntry;
        items.push_back(item);
    }
    return items;
}

std::wstring AccessibleStateWords(const AccessibleItem& item)
{
    std::vector<int> words;
    const std::pair<bool, int> states[] = {{item.selected, res::IDS_A11Y_SELECTED},
                                           {item.conflicting, res::IDS_A11Y_CONFLICTING},
                                           {item.recurring, res::IDS_A11Y_RECURRING},
                                           {item.completed, res::IDS_A11Y_COMPLETED}};
    for (const auto& [on, id] : states) {
        if (on) {
            words.push_back(id);
        }
    }
    return JoinedWords(words);
}
