// The Gantt rows. Appointments are not spread over lanes: every bar takes the row's full bar
// height, later bars cover earlier ones, and an overlap shows as the red band and the conflict
// icon, measured against the furthest end reached by earlier busy items of the day.
#include "view/gantt_painter.h"

#include <QPainter>
#include <cstdlib>
#include <optional>

#include "res/pictures.h"
#include "view/calendar_mark.h"
#include "view/day_paint_rules.h"
#include "view/meeting_mark.h"
#include "view/paint_primitives.h"

namespace {

wchar_t const* const kYearFormat = L"Year %.4d";
constexpr int kGhostDarkPercent = 30;
constexpr int kGhostAlpha = 160;

std::wstring Format(const wchar_t* format, int a, int b = 0, const std::wstring& c = {})
{
    wchar_t buffer[64];
    swprintf(buffer, 64, format, a, b, c.c_str());
    return buffer;
}

} // namespace

QColor GhostShade(const QColor& source, const QColor& under)
{
    const auto darker = [](int channel) { return channel * kGhostDarkPercent / 100; };
    const QColor dark(darker(source.red()), darker(source.green()), darker(source.blue()));
    const int row = qGray(under.rgb());
    return std::abs(qGray(source.rgb()) - row) >= std::abs(qGray(dark.rgb()) - row) ? source : dark;
}

void GanttPainter::PaintRowBackgroundAndLabel(int day) const
{
    QPainter& p = c_.painter;
    const PixelRect row = c_.geometry.DayRect(day);
    p.fillRect(ToQRect(row), DayBackground(c_, day));
    p.setPen(c_.resources.BlackPen());
    p.setFont(c_.resources.MainFont());
    if (HolidayHeadsDay(c_.entries, day)) {
        const PixelPoint at = c_.geometry.HolidayNamePos(day);
        c_.text.Draw(p, at.x, at.y, IsolatedText(c_.entries.ApptSubject(day, 0)), ToQRect(row));
        p.setPen(c_.resources.BlackPen());
    }
    const int top = row.top;
    HorizontalLine(p, 0, c_.layout.chartRight, top);
    const SYSTEMTIME date = DayDate(c_, day);
    if (date.wDay == 1 && day != 0) {
        HorizontalLine(p, 0, c_.layout.chartRight, top + 1);
        HorizontalLine(p, 0, c_.layout.chartRight, top - 1);
    }
    const PixelPoint label = c_.geometry.RowLabelPos(day);
    c_.text.Draw(p, label.x, label.y, DayLabel(date), ToQRect(row));
    if (c_.layout.dayRowCount != 1) {
        p.setPen(c_.resources.BlackPen());
        HorizontalLine(p, 0, c_.layout.chartRight, row.bottom);
    }
}

void GanttPainter::PaintAppointments(int day) const
{
    if (!c_.layout.ganttAreaVisible) {
        return;
    }
    BarState state;
    c_.painter.setFont(c_.resources.MainFont());
    const int count = c_.entries.ApptCount(day);
    for (int pos = 0; pos < count; ++pos) {
        PaintAppointment(day, pos, state);
    }
    PaintHiddenIcons(day, state);
}

void GanttPainter::PaintAppointment(int day, int pos, BarState& state) const
{
    const DayEntries& e = c_.entries;
    if (!ShowsBar(c_.settings, e, day, pos)) {
        return;
    }
    const int kind = e.EntryState(day, pos);
    const bool allDay = e.IsAllDay(day, pos);
    const std::optional<uint32_t> calendar = e.ApptCalendarColour(day, pos);
    const BarGeometry bar = c_.geometry.Bar(day, e.StartMinutes(day, pos), e.EndMinutes(day, pos),
                                            allDay, calendar.has_value());
    if (!bar.visible) {
        state.hiddenBefore = state.hiddenBefore || bar.end.clippedBefore;
        state.hiddenAfter = state.hiddenAfter || bar.start.clippedAfter;
    } else {
        QPainter& p = c_.painter;
        const QRect row = ToQRect(c_.geometry.DayRect(day));
        DrawRectangle(p, bar.frame, c_.resources.BarPen(), c_.resources.BarBrush());
        if (bar.allDayInterior) {
            p.fillRect(ToQRect(*bar.allDayInterior), DayBackground(c_, day));
        }
        p.setPen(c_.resources.TextColor());
        const std::wstring text = BarText(c_.settings, e, day, pos, bar.start.clippedBefore);
        int icon = AppointmentIcon(kind, allDay);
        if (!bar.start.clippedBefore && state.conflicts.Conflicts(e, day, pos, bar.start.x)) {
            p.fillRect(ToQRect(c_.geometry.ConflictBand(day, bar, state.conflicts.Reached())),
                       c_.resources.ConflictBrush());
            icon = res::kIconConflict;
        }
        // Over the conflict band: the calendar stays readable on a clashing bar too.
        if (calendar) {
            DrawCalendarBand(p, bar.calendarBand, *calendar);
            // A calendar colour near the bar's own still reads as a band of its own.
            p.setPen(c_.resources.BarPen());
            const PixelRect& band = bar.calendarBand;
            VerticalLine(p, band.right, band.top, band.bottom);
            p.setPen(c_.resources.TextColor());
        }
        if (!bar.start.clippedBefore) {
            DrawItemIcon(p, c_.resources, icon, bar.icon, c_.layout.mainFontSize);
        }
        DrawSubject(p, c_.text, c_.settings, bar.text.x, bar.text.y, text, row, bar.frame.right);
        if (!e.ApptMeeting(day, pos).empty()) {
            DrawMeetingMark(p, bar.frame);
        }
        if (bar.end.clippedAfter) {
            c_.text.DrawRightAligned(p, bar.rightMarkEnd, bar.text.y, c_.settings.AppHideCharR,
                                     row);
        }
    }
    state.conflicts.Pass(e, day, pos, bar.end.x);
}

void GanttPainter::PaintHiddenIcons(int day, const BarState& state) const
{
    const int size = c_.layout.mainFontSize;
    if (state.hiddenBefore) {
        DrawItemIcon(c_.painter, c_.resources, res::kIconHiddenBefore,
                     c_.geometry.HiddenBeforeIcon(day), size);
    }
    if (state.hiddenAfter) {
        DrawItemIcon(c_.painter, c_.resources, res::kIconHiddenAfter,
                     c_.geometry.HiddenAfterIcon(day), size);
    }
}

void GanttPainter::PaintNowMarker(int day) const
{
    if (!c_.layout.ganttAreaVisible) {
        return;
    }
    const auto marker = c_.geometry.NowMarker(day, c_.now.wHour, c_.now.wMinute);
    if (!marker) {
        return;
    }
    const int tile = GanttGeometry::kNowMarkerTile;
    const QRect source(marker->sourceLeft, 0, marker->sourceRight - marker->sourceLeft, tile);
    c_.painter.drawPixmap(ToQRect(marker->target), c_.resources.NowMarker(), source);
}

void GanttPainter::PaintHeader() const
{
    QPainter& p = c_.painter;
    const ViewLayout& l = c_.layout;
    PaintHeaderTitle(c_, Format(kYearFormat, c_.firstShownDay.wYear));

    p.setFont(c_.resources.MainFont());
    p.setPen(c_.resources.BlackPen());
    VerticalLine(p, l.dateColumnWidth, l.rowsTop, l.chartBottom);
    if (!l.ganttAreaVisible) {
        return;
    }
    const int labelTop = c_.geometry.HourLabelTop();
    const QRect labelStrip(0, labelTop, l.chartRight, l.rowsTop - labelTop);
    // Narrow hours would run the labels together ("000102...") and the last one would be cut
    // at the chart edge: a label is drawn whole, after a gap behind the previous one, or not.
    constexpr int kLabelGap = 2;
    int labelsEnd = 0;
    for (const HourMark& mark : c_.geometry.HourMarks()) {
        p.setPen(mark.solid ? c_.resources.BlackPen() : c_.resources.DashedPen());
        VerticalLine(p, mark.x, l.rowsTop - 5, l.chartBottom);
        if (!mark.labelled) {
            continue;
        }
        p.setPen(c_.resources.TextColor());
        const std::wstring hour = Format(L"%.2d", mark.hour);
        const int width = c_.text.Width(p, hour, l.chartRight);
        const int left = mark.x - width / 2;
        if (left < labelsEnd || left + width > l.chartRight) {
            continue;
        }
        c_.text.Draw(p, left, labelTop, hour, labelStrip);
        labelsEnd = left + width + kLabelGap;
    }
}

void GanttPainter::PaintGhost(const std::vector<PixelRect>& strips, const QColor& source) const
{
    const int rowHeight = std::max(1, c_.layout.dayRowHeight);
    for (const PixelRect& strip : strips) {
        const int row = (strip.top - c_.layout.rowsTop) / rowHeight;
        const QColor shade = GhostShade(source, DayBackground(c_, row).color());
        QColor fill = shade;
        fill.setAlpha(kGhostAlpha);
        DrawRectangle(c_.painter, strip, QPen(shade, 1), fill);
    }
}

void GanttPainter::PaintFrames() const
{
    if (const auto today = ShownDay(c_, c_.now)) {
        FrameRectangle(c_.painter, c_.geometry.TodayFrame(*today), c_.resources.TodayPen());
    }
    if (const auto selected = ShownDay(c_, c_.selectedDate)) {
        FrameRectangle(c_.painter, c_.geometry.SelectionFrame(*selected),
                       c_.resources.SelectionPen());
    }
}
