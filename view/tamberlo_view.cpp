// The schedule view widget: lays itself out at every paint, paints in the fixed order (rows,
// button bar, row contents, header, frames, detail list, focus indicator) and runs the display
// commands and picture buttons that move the period, the hour window and the areas.
#include "view/tamberlo_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/calendar_painter.h"
#include "view/empty_schedule.h"
#include "view/gantt_painter.h"
#include "view/memory_settings_store.h"
#include "view/paint_primitives.h"
#include "view/schedule_source.h"

namespace {

constexpr int kFirstYear = 1900;
constexpr int kEndYear = 3000;
constexpr int kGridMonthDays = 28;
constexpr int kZoomStep = 12;
constexpr int kHourScrollPixels = 96;

SYSTEMTIME Today()
{
    return TruncateSystemTime(GetLocalTime(), 3);
}

bool IsFirstSupportedDay(const SYSTEMTIME& date)
{
    return date.wYear == kFirstYear && date.wMonth == 1 && date.wDay == 1;
}

QRect Intersection(const PixelRect& rect, const QRect& dirty)
{
    return ToQRect(rect).intersected(dirty);
}

} // namespace

CTamberloView::CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent)
    : QWidget(parent), schedule_(schedule), settingsStore_(settings), settings_(settings.Read()),
      resources_(std::make_unique<ViewResources>(settings_.draw)),
      calendarType_(settings_.CalendarType), ganttAreaVisible_(settings_.CalendarAreaVisible),
      taskAreaVisible_(settings_.TaskAreaVisible), detailVisible_(settings_.InfoAreaVisible),
      detailAtBottom_(settings_.InfoAreaFixBottom), hourPixels_(settings_.OneHourPixel),
      selectedDate_(Today())
{
    setObjectName("TamberloView");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    AddCommands();
}

CTamberloView::CTamberloView(QWidget* parent)
    : CTamberloView(std::make_unique<EmptySchedule>(), std::make_unique<MemorySettingsStore>(),
                    parent)
{
}

CTamberloView::CTamberloView(std::unique_ptr<ScheduleSource> schedule,
                             std::unique_ptr<ViewSettingsStore> settings, QWidget* parent)
    : CTamberloView(*schedule, *settings, parent)
{
    ownedSchedule_ = std::move(schedule);
    ownedSettings_ = std::move(settings);
}

CTamberloView::~CTamberloView() = default;

void CTamberloView::AddViewCommand(int id, int button, CommandTable::UpdateHandler updater)
{
    commands_.Add(
        id, [this, button] { ButtonAction(button); }, std::move(updater));
}

void CTamberloView::AddCommands()
{
    AddViewCommand(cmd::ID_TODAY, res::kButtonSelectToday);
    AddViewCommand(cmd::ID_WEEK_BEFORE, res::kButtonWeekBefore);
    AddViewCommand(cmd::ID_WEEK_AFTER, res::kButtonWeekAfter);
    AddViewCommand(cmd::ID_MONTH_BEFORE, res::kButtonMonthBefore);
    AddViewCommand(cmd::ID_MONTH_AFTER, res::kButtonMonthAfter);
    AddViewCommand(cmd::ID_ZOOM_IN, res::kButtonZoomIn);
    AddViewCommand(cmd::ID_ZOOM_OUT, res::kButtonZoomOut);
    const auto check = [](std::function<bool()> state) {
        return [state](CommandUpdate& u) { u.checked = state(); };
    };
    AddViewCommand(cmd::ID_VIEW_CALENDAR, res::kButtonCalendar,
                   check([this] { return calendarType_ == 0; }));
    AddViewCommand(cmd::ID_VIEW_BOTH, res::kButtonBoth,
                   check([this] { return taskAreaVisible_ && ganttAreaVisible_; }));
    AddViewCommand(cmd::ID_VIEW_APPOINT_ONLY, res::kButtonAppointmentsOnly,
                   check([this] { return ganttAreaVisible_ && !taskAreaVisible_; }));
    AddViewCommand(cmd::ID_VIEW_TASK_ONLY, res::kButtonTasksOnly,
                   check([this] { return taskAreaVisible_ && !ganttAreaVisible_; }));
    AddViewCommand(cmd::ID_VIEW_DETAIL, res::kButtonDetailView,
                   check([this] { return detailVisible_; }));
    AddViewCommand(cmd::ID_DETAIL_AT_BOTTOM, res::kButtonDetailAtBottom,
                   check([this] { return detailAtBottom_; }));
}

void CTamberloView::SettingsChanged()
{
    settings_ = settingsStore_.Read();
    resources_ = std::make_unique<ViewResources>(settings_.draw);
    update();
}

LayoutInput CTamberloView::MakeLayoutInput() const
{
    LayoutInput in;
    in.OneHourPixel = hourPixels_;
    in.DefaultStartHour = settings_.DefaultStartHour;
    in.TaskAreaWidth = settings_.TaskAreaWidth;
    in.InfoAreaHeight = settings_.InfoAreaHeight;
    in.InfoAreaWidth = settings_.InfoAreaWidth;
    in.MainFontSize = settings_.draw.MainFontSize;
    in.DetailFontSize = settings_.draw.DetailFontSize;
    in.DispWeekCount = settings_.DispWeekCount;
    in.CalendarType = calendarType_;
    in.TaskAreaVisible = taskAreaVisible_;
    in.CalendarAreaVisible = ganttAreaVisible_;
    in.InfoAreaVisible = detailVisible_;
    in.InfoAreaFixBottom = detailAtBottom_;
    in.dateColumnWidth = dateColumnWidth_;
    in.firstHour = firstHour_;
    in.currentHour = GetLocalTime().wHour;
    in.previousPortrait = previousPortrait_;
    in.recomputeFirstHour = recomputeFirstHour_;
    return in;
}

void CTamberloView::ComputeLayout(QSize client)
{
    layout_ = ViewLayout::Compute(client.width(), client.height(), MakeLayoutInput());
    firstHour_ = layout_.firstHour;
    previousPortrait_ = layout_.portrait;
    recomputeFirstHour_ = false;
    schedule_.SetShownDayCount(layout_.dayRowCount);
}

void CTamberloView::MeasureDateColumn()
{
    const QFontMetrics metrics(resources_->MainFont());
    dateColumnWidth_ = metrics.horizontalAdvance(QString::asprintf("%.2d/%.2d ", 12, 31) +
                                                 QString::fromStdWString(WeekdayName(3, true))) +
                       3;
}

void CTamberloView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    Render(painter, size(), event->rect());
}

void CTamberloView::Render(QPainter& painter, QSize client, const QRect& dirty)
{
    painter.save();
    MeasureDateColumn();
    ComputeLayout(client);
    const QRect area = dirty.intersected(QRect(QPoint(0, 0), client));
    painter.setClipRect(area, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter.fillRect(area, Qt::white);

    const GanttGeometry geometry(layout_);
    const SYSTEMTIME first = schedule_.GetShownStart();
    const PaintContext context{painter,     layout_, geometry, schedule_,     settings_.draw,
                               *resources_, sink_,   first,    selectedDate_, GetLocalTime()};
    const GanttPainter gantt(context);
    const CalendarPainter grid(context);
    const TaskDetailPainter tasks(context);
    const bool rows = layout_.ganttRows;
    // Rows outside the dirty area are skipped, so a huge client costs only what is shown.
    const auto rowShown = [&](int day) {
        return !Intersection(geometry.DayRect(day), dirty.adjusted(-1, -1, 1, 1)).isEmpty();
    };
    for (int day = 0; day < layout_.dayRowCount; ++day)
        if (rowShown(day))
            rows ? gantt.PaintRowBackgroundAndLabel(day) : grid.PaintCellBackground(day);
    painter.setPen(resources_->BlackPen());
    HorizontalLine(painter, 0, layout_.chartRight, layout_.chartBottom);
    PaintButtonBar(painter);
    const int todayRow = DaysBetween(first, Today());
    for (int day = 0; day < layout_.dayRowCount; ++day) {
        if (!rowShown(day))
            continue;
        if (!rows) {
            grid.PaintCellContents(day);
            continue;
        }
        tasks.PaintTaskStrip(day);
        gantt.PaintAppointments(day);
        if (day == todayRow)
            gantt.PaintNowMarker(day);
    }
    rows ? gantt.PaintHeader() : grid.PaintHeader();
    rows ? gantt.PaintFrames() : grid.PaintFrames();
    if (layout_.detailVisible)
        detailLines_ =
            tasks.PaintDetail(DaysBetween(first, selectedDate_), detailScroll_, selectedLine_);
    painter.restore();
}

void CTamberloView::PaintButtonBar(QPainter& painter) const
{
    const bool large = layout_.largeTiles;
    const PixelPoint strips[] = {layout_.strip1Pos, layout_.strip2Pos};
    for (int strip = 0; strip < 2; ++strip)
        painter.drawPixmap(strips[strip].x, strips[strip].y, resources_->ButtonStrip(strip, large));
    const QRect blank = res::ButtonTileRect(res::kButtonBlank19, large);
    for (const PixelRect& filler : layout_.ButtonBarFillers())
        for (int x = filler.left; x < filler.right; x += layout_.tileSize)
            painter.drawPixmap(
                QRect(x, filler.top, std::min(layout_.tileSize, filler.right - x), filler.Height()),
                resources_->ButtonStrip(1, large),
                blank.adjusted(0, 0, std::min(0, filler.right - x - blank.width()), 0));
    painter.setPen(resources_->BlackPen());
    HorizontalLine(painter, 0, layout_.clientWidth, layout_.buttonBarHeight);

    const QRect focusTile = res::TileRect(res::Picture::FocusIndicator, large, keyFocusArea_);
    painter.drawPixmap(ToQRect(layout_.FocusIndicatorRect()), resources_->FocusIndicator(large),
                       focusTile);
    if (keyFocusArea_ == res::kFocusButtonBar)
        FrameRectangle(painter, layout_.FocusFrameRect(focusedButton_), resources_->FocusPen());
}

void CTamberloView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int index = layout_.ButtonAt(at.x(), at.y());
    if (index < 0)
        return;
    focusedButton_ = index;
    keyFocusArea_ = res::kFocusButtonBar;
    ButtonAction(index);
    update();
}

bool CTamberloView::ButtonAction(int index)
{
    const bool changed = RunButton(index);
    WriteBackSwitches();
    if (changed)
        update();
    return changed;
}

bool CTamberloView::RunButton(int index)
{
    const int hourStep = kHourScrollPixels / usable::OneHourPixel(hourPixels_);
    const auto toggle = [](bool& flag) {
        flag = !flag;
        return true;
    };
    switch (index) {
    case res::kButtonSelectToday:
        return SelectToday();
    case res::kButtonToday:
        return ShowToday();
    case res::kButtonWeekBefore:
        return StepWeeks(-1);
    case res::kButtonWeekAfter:
        return StepWeeks(1);
    case res::kButtonMonthBefore:
        return StepMonths(-1);
    case res::kButtonMonthAfter:
        return StepMonths(1);
    case res::kButtonEarlierHours:
        return ShiftHours(-hourStep);
    case res::kButtonLaterHours:
        return ShiftHours(hourStep);
    case res::kButtonZoomIn:
        return Zoom(kZoomStep);
    case res::kButtonZoomOut:
        return Zoom(-kZoomStep);
    case res::kButtonCalendar:
        return ToggleCalendar();
    case res::kButtonBoth:
        return SetAreas(true, true);
    case res::kButtonAppointmentsOnly:
        return SetAreas(false, true);
    case res::kButtonTasksOnly:
        return SetAreas(true, false);
    case res::kButtonDetailView:
        return toggle(detailVisible_);
    case res::kButtonDetailAtBottom:
        return toggle(detailAtBottom_);
    default:
        return false;
    }
}

// The layout brings the first hour back into range.
bool CTamberloView::ShiftHours(int hours)
{
    firstHour_ = std::max(0, firstHour_ + hours);
    return true;
}

// Zooming in has no upper bound of its own (the layout caps what it uses); zooming out stops
// at the narrowest step.
bool CTamberloView::Zoom(int step)
{
    if (step > 0) {
        hourPixels_ = usable::OneHourPixel(hourPixels_) + step;
        firstHour_ = std::max(firstHour_, usable::StartHour(settings_.DefaultStartHour));
        return true;
    }
    if (hourPixels_ + step < 1)
        return false;
    hourPixels_ += step;
    return true;
}

void CTamberloView::WriteBackSwitches()
{
    settings_.OneHourPixel = hourPixels_;
    settings_.CalendarType = calendarType_;
    settings_.TaskAreaVisible = taskAreaVisible_;
    settings_.CalendarAreaVisible = ganttAreaVisible_;
    settings_.InfoAreaVisible = detailVisible_;
    settings_.InfoAreaFixBottom = detailAtBottom_;
    settingsStore_.WriteDisplaySwitches(settings_);
}

void CTamberloView::ClearItemSelection()
{
    selectedLine_ = -1;
}

// Today within the shown rows is only selected; otherwise the period moves to it.
bool CTamberloView::SelectToday()
{
    const int row = DaysBetween(schedule_.GetShownStart(), Today());
    if (row < 0 || row >= layout_.dayRowCount)
        return ShowToday();
    ClearItemSelection();
    selectedDate_ = Today();
    detailScroll_ = 0;
    return true;
}

bool CTamberloView::ShowToday()
{
    recomputeFirstHour_ = true;
    ClearItemSelection();
    selectedDate_ = Today();
    detailScroll_ = 0;
    schedule_.SetShownStart(PeriodStartFor(selectedDate_));
    schedule_.Reload();
    return true;
}

SYSTEMTIME CTamberloView::PeriodStartFor(const SYSTEMTIME& date) const
{
    SYSTEMTIME first = AddDays(date, -usable::CntFromToday(settings_.CntFromToday));
    const int startDow = usable::Weekday(settings_.StartDow);
    if (startDow < 7) {
        const int weekday = first.wDayOfWeek;
        first =
            AddDays(first, -(weekday >= startDow ? weekday - startDow : weekday - startDow + 7));
    }
    return first;
}

bool CTamberloView::MovePeriod(const SYSTEMTIME& firstDay, const SYSTEMTIME& selected)
{
    if (firstDay.wYear < kFirstYear || firstDay.wYear >= kEndYear)
        return false;
    ClearItemSelection();
    detailScroll_ = 0;
    selectedDate_ = selected;
    if (!schedule_.SetShownStart(firstDay))
        schedule_.Reload();
    return true;
}

bool CTamberloView::StepWeeks(int weeks)
{
    const SYSTEMTIME first = schedule_.GetShownStart();
    if (weeks < 0 && IsFirstSupportedDay(first))
        return false;
    return MovePeriod(AddDays(first, 7 * weeks), AddDays(selectedDate_, 7 * weeks));
}

bool CTamberloView::StepMonths(int months)
{
    const SYSTEMTIME first = schedule_.GetShownStart();
    if (months < 0 && IsFirstSupportedDay(first))
        return false;
    if (calendarType_ == 0)
        return MovePeriod(AddDays(first, kGridMonthDays * months),
                          AddDays(selectedDate_, kGridMonthDays * months));
    return MovePeriod(AddMonths(first, months), AddMonths(selectedDate_, months));
}

// Switching to the grid moves the first day back to the start weekday (Sunday for "No Care"),
// keeping the selected date.
bool CTamberloView::ToggleCalendar()
{
    if (calendarType_ == 0) {
        calendarType_ = 1;
        return true;
    }
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int startDow = usable::Weekday(settings_.StartDow) % 7;
    const int back = (first.wDayOfWeek - startDow + 7) % 7;
    if (back != 0 && !schedule_.SetShownStart(AddDays(first, -back)))
        schedule_.Reload();
    calendarType_ = 0;
    return true;
}

bool CTamberloView::SetAreas(bool tasks, bool gantt)
{
    const bool changed = tasks != taskAreaVisible_ || gantt != ganttAreaVisible_;
    taskAreaVisible_ = tasks;
    ganttAreaVisible_ = gantt;
    return changed;
}
