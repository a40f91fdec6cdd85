// The tooltip texts. The conflict line follows the painters' rule (the category filter, the
// holiday entry and moved or deleted occurrences left out) measured in minutes, as the grid does.
#include "view/item_tooltip.h"

#include <QString>
#include <QStringList>

#include "ical/item_meeting.h"
#include "res/string_table.h"
#include "view/conflict_tracker.h"
#include "view/keys_and_mouse.h"
#include "view/paint_primitives.h"

namespace {

std::wstring Filled(int id, const std::wstring& value)
{
    return QString::fromStdWString(res::LoadString(id))
        .arg(QString::fromStdWString(value))
        .toStdWString();
}

void AddLine(std::wstring& text, const std::wstring& line)
{
    if (!line.empty()) {
        text += L"\n" + line;
    }
}

bool Drawn(const DayEntries& e, const DrawSettings& settings, int day, int pos)
{
    return PassesCategoryFilter(settings, e.ApptCategories(day, pos)) &&
           !(pos == 0 && e.DayKind(day, pos) != 0) && !IsMovedOrDeleted(e.EntryState(day, pos));
}

// The subjects of the earlier drawn items that reach past the start of `pos`, when the conflict
// mark is drawn on it.
std::wstring ConflictLine(const DayEntries& e, const DrawSettings& settings, int day, int pos)
{
    ConflictTracker all;
    QStringList earlier;
    const int start = e.StartMinutes(day, pos);
    for (int other = 0; other < pos; ++other) {
        if (!Drawn(e, settings, day, other)) {
            continue;
        }
        ConflictTracker one;
        one.Pass(e, day, other, e.EndMinutes(day, other));
        if (one.Conflicts(e, day, pos, start)) {
            earlier << QString::fromStdWString(e.ApptSubject(day, other));
        }
        all.Pass(e, day, other, e.EndMinutes(day, other));
    }
    if (!all.Conflicts(e, day, pos, start) || earlier.isEmpty()) {
        return {};
    }
    return Filled(res::IDS_CONFLICTS_WITH, earlier.join(QStringLiteral(", ")).toStdWString());
}

} // namespace

std::wstring AppointmentToolTip(const DayEntries& e, const DrawSettings& settings, int day, int pos)
{
    std::wstring text = e.ApptSubject(day, pos);
    if (!e.IsAllDay(day, pos)) {
        AddLine(text, e.StartText(day, pos) + L" - " + e.EndText(day, pos));
    }
    if (!e.ApptLocation(day, pos).empty()) {
        AddLine(text, Filled(res::IDS_TIP_PLACE, e.ApptLocation(day, pos)));
    }
    if (!e.ApptCategories(day, pos).empty()) {
        AddLine(text, Filled(res::IDS_TIP_CATEGORIES, e.ApptCategories(day, pos)));
    }
    if (Drawn(e, settings, day, pos)) {
        AddLine(text, ConflictLine(e, settings, day, pos));
    }
    const ical::Meeting meeting = ical::MeetingOf(e.ApptMeeting(day, pos));
    for (const std::wstring& line : ical::MeetingLines(meeting)) {
        AddLine(text, line);
    }
    for (const std::wstring& link : ical::MeetingLinks(meeting)) {
        AddLine(text, Filled(res::IDS_MEETING_LINK, link));
    }
    return text;
}

std::wstring TaskToolTip(const DayEntries& e, int day, int pos)
{
    std::wstring text = e.TaskSubject(day, pos);
    if (e.TaskHasDue(day, pos)) {
        AddLine(text, res::LoadString(res::IDS_REMINDER_DUE) + e.TaskDueText(day, pos));
    }
    if (!e.TaskCategories(day, pos).empty()) {
        AddLine(text, Filled(res::IDS_TIP_CATEGORIES, e.TaskCategories(day, pos)));
    }
    return text;
}

std::wstring ToolTipAt(const PointerInput& input, const DayEntries& entries,
                       const DrawSettings& settings, int x, int y, int detailScroll,
                       int detailTotal)
{
    const PressHit hit = input.HitAt(x, y, detailScroll, detailTotal);
    if (hit.area == PressHit::Area::kButtonBar) {
        return hit.button >= 0 ? ButtonToolTip(hit.button) : std::wstring();
    }
    if (hit.kind == ItemKind::Appointment) {
        return AppointmentToolTip(entries, settings, hit.day, hit.index);
    }
    if (hit.kind == ItemKind::Task) {
        return TaskToolTip(entries, hit.day, hit.index);
    }
    return {};
}
