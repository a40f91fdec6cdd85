// Paste targets and the desktop clipboard formats. The calendar text is the iCalendar bridge's,
// so what the view puts on the clipboard imports like an exported file.
#include "view/view_clipboard.h"

#include <QMimeData>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "model/date_time.h"
#include "model/pim_records.h"
#include "view/drag_edit.h"

namespace {

constexpr const char* kCalendarMime = "text/calendar";
constexpr const char* kOwnMarkerMime = "application/x-tamberlo-clip";
constexpr int kMinutesPerDay = 24 * 60;

SYSTEMTIME AtMinutes(const SYSTEMTIME& day, int minutes)
{
    SYSTEMTIME t = AddDays(TruncateSystemTime(day, 3), minutes / kMinutesPerDay);
    t.wHour = static_cast<uint16_t>(minutes % kMinutesPerDay / 60);
    t.wMinute = static_cast<uint16_t>(minutes % 60);
    return t;
}

} // namespace

SYSTEMTIME PasteSourceTime(const SYSTEMTIME& day, const std::wstring& startText, bool wholeDays)
{
    if (wholeDays || startText.size() < 5) {
        return AtMinutes(day, 0);
    }
    const int hour = TextToInt(startText.substr(0, 2));
    const int minute = TextToInt(startText.substr(3, 2));
    return AtMinutes(day, hour * 60 + minute / 30 * 30);
}

// A menu point left of the hour area names no time; the source time is kept then.
SYSTEMTIME PasteTargetTime(const SYSTEMTIME& source, bool wholeDays, const ViewLayout& layout,
                           const std::optional<PixelPoint>& menuPoint, const SYSTEMTIME& firstShown,
                           const SYSTEMTIME& selectedDate)
{
    const int sourceMinutes = source.wHour * 60 + source.wMinute;
    if (!menuPoint || !layout.ganttRows) {
        return AtMinutes(selectedDate, wholeDays ? 0 : sourceMinutes);
    }
    const DragEdit drag(layout);
    const SYSTEMTIME day = AddDays(firstShown, drag.RowAt(menuPoint->y));
    if (wholeDays) {
        return AtMinutes(day, 0);
    }
    if (!drag.InHourArea(menuPoint->x)) {
        return AtMinutes(day, sourceMinutes);
    }
    return AtMinutes(day, drag.SnappedMinute(menuPoint->x));
}

std::wstring ClipPlainText(const pim::StoredItem& item)
{
    const pim::ItemFields& f = item.fields;
    if (item.kind == pim::kTaskKind) {
        const DATE day = IsTaskDate(f.DueDate) ? f.DueDate : f.StartDate;
        return IsTaskDate(day) ? DayText(day) + L" " + f.Subject : f.Subject;
    }
    std::wstring text =
        DayText(f.Start) + L" " + ClockText(f.Start) + L" - " + ClockText(f.End) + L" " + f.Subject;
    if (!f.Location.empty()) {
        text += L" [" + f.Location + L"]";
    }
    return text;
}

void FillDesktopClip(QMimeData& data, const pim::StoredItem& item, const SYSTEMTIME& now)
{
    ical::ExportOptions options;
    options.now = now;
    data.setData(kCalendarMime, QByteArray::fromStdString(ical::ItemCalendarText(item, options)));
    data.setText(QString::fromStdWString(ClipPlainText(item)));
    data.setData(kOwnMarkerMime, QByteArray("1"));
}

bool IsOwnDesktopClip(const QMimeData& data)
{
    return data.hasFormat(kOwnMarkerMime);
}

bool HasForeignCalendar(const QMimeData& data)
{
    return data.hasFormat(kCalendarMime) && !IsOwnDesktopClip(data);
}

std::vector<pim::StoredItem> ForeignCalendarItems(const QMimeData& data)
{
    std::vector<std::string> notes;
    std::vector<pim::StoredItem> items =
        ical::ReadCalendarItems(data.data(kCalendarMime).toStdString(), notes);
    for (pim::StoredItem& item : items) {
        item.pattern.reset();
        item.exceptions.clear();
        item.fields.Oid = 0;
        item.fields.UID.clear();
    }
    return items;
}

ReadResult ReadSelectedItem(ScheduleEdits& edits, const ItemSelection& item)
{
    const int32_t oid = TextToInt(item.oid);
    if (item.kind == ItemKind::Task) {
        return edits.Read({pim::kTaskKind, oid});
    }
    if (item.exceptionNo > 0) {
        return edits.ReadException(oid, item.exceptionNo);
    }
    if (item.recurring) {
        return edits.ReadOccurrenceCovering(oid, SystemTimeToVariantTime(item.date));
    }
    return edits.Read({pim::kAppointmentKind, oid});
}
