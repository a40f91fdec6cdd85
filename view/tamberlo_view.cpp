// The schedule view widget: lays itself out at every paint, paints in the fixed order (rows,
// button bar, row contents, header, frames, detail list, focus indicator), runs the picture
// buttons and display commands, and hands the pointer to its editing part. Keys, the wheel and
// the detail list are in tamberlo_view_input.cpp.
#include "view/tamberlo_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/accessible_schedule.h"
#include "view/calendar_painter.h"
#include "view/dark_palette.h"
#include "view/empty_schedule.h"
#include "view/gantt_painter.h"
#include "view/memory_settings_store.h"
#include "view/paint_primitives.h"
#include "view/schedule_source.h"
#include "view/selected_hour.h"

namespace {

SYSTEMTIME Today()
{
    return TruncateSystemTime(GetLocalTime(), 3);
}

} // namespace

CTamberloView::CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent)
    : QWidget(parent), schedule_(schedule), settingsStore_(settings), settings_(settings.Read()),
      resources_(std::make_unique<ViewResources>(settings_.draw, IsDarkPalette(palette()))),
      switches_(settings_)
{
    state_.selectedDate = Today();
    setObjectName("TamberloView");
    InstallScheduleAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    AddViewCommands(commands_,
                    {[this](int button) { ButtonAction(button); },
                     [this] { ToggleFitHoursToWidth(); }, [this] { return CommandState(); }});
    editing_ = new ViewEditing(*this, *this);
    AddEditCommands();
    setMouseTracking(true);
    // A grid stored in the profile starts on its start weekday, as switching to it does.
    if (switches_.CalendarType == 0) {
        switches_.CalendarType = 1;
        ToggleCalendar();
    }
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

void CTamberloView::SetCommandHandler(int id, CommandTable::Handler handler)
{
    commands_.SetHandler(id, std::move(handler));
    emit CommandStateChanged();
}

ViewCommandState CTamberloView::CommandState() const
{
    ViewCommandState state;
    state.switches = switches_;
    state.selection = state_.selection;
    state.clipboardHoldsItem = (editing_ != nullptr) && editing_->ClipboardHoldsItem();
    return state;
}

void CTamberloView::AddEditCommands()
{
    const std::pair<int, std::function<void()>> handlers[] = {
        {cmd::ID_COPY, [this] { editing_->Copy(); }},
        {cmd::ID_CUT, [this] { editing_->Cut(); }},
        {cmd::ID_PASTE, [this] { editing_->Paste(false); }},
        {cmd::ID_CONTEXT_EDIT, [this] { editing_->EditSelected(); }},
        {cmd::ID_CONTEXT_COPY, [this] { editing_->Copy(); }},
        {cmd::ID_CONTEXT_CUT, [this] { editing_->Cut(); }},
        {cmd::ID_CONTEXT_PASTE, [this] { editing_->Paste(true); }},
    };
    for (const auto& [id, handler] : handlers) {
        commands_.SetHandler(id, handler);
    }
}

void CTamberloView::SettingsChanged()
{
    settings_ = settingsStore_.Read();
    resources_ = std::make_unique<ViewResources>(settings_.draw, IsDarkPalette(palette()));
    update();
}

LayoutInput CTamberloView::MakeLayoutInput() const
{
    LayoutInput in;
    static_cast<DisplaySwitches&>(in) = switches_;
    in.DefaultStartHour = settings_.DefaultStartHour;
    in.TaskAreaWidth = settings_.TaskAreaWidth;
    in.InfoAreaHeight = settings_.InfoAreaHeight;
    in.InfoAreaWidth = settings_.InfoAreaWidth;
    in.MainFontSize = settings_.draw.MainFontSize;
    in.DetailFontSize = settings_.draw.DetailFontSize;
    in.DispWeekCount = settings_.DispWeekCount;
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
    // More rows (the grid, a taller window) can reach past the loaded window: load around them.
    const int previousRows = shownRows_;
    shownRows_ = layout_.dayRowCount;
    schedule_.SetShownDayCount(shownRows_);
    if (shownRows_ > previousRows && !schedule_.SetShownStart(schedule_.GetShownStart())) {
        ReloadSchedule();
    }
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
    Render(painter, event->region());
    editing_->PaintOverlay(painter);
}

void CTamberloView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

// A step inside the window dirties a few strips far apart (rows, header, detail). Each part is
// painted once, clipped to where the region meets its reach (what it can draw): mostly one
// rectangle, which the raster engine clips far faster than the whole region. Parts the region
// misses are skipped, so a huge client costs only what is shown.
void CTamberloView::Render(QPainter& painter, const QRegion& dirty)
{
    const QSize client(layout_.clientWidth, layout_.clientHeight);
    QRegion area = dirty.intersected(QRect(QPoint(0, 0), client));
    if (painter.hasClipping()) {
        area &= painter.clipRegion();
    }
    if (area.isEmpty()) {
        return;
    }
    painter.save();
    const auto clipTo = [&](const QRect& reach) {
        const QRegion part = area.intersected(reach);
        painter.setClipRegion(part);
        return !part.isEmpty();
    };
    const GanttGeometry geometry(layout_);
    // A row's lines reach one pixel past its rectangle.
    const auto rowReach = [&](int day) {
        return ToQRect(geometry.DayRect(day)).adjusted(-1, -1, 1, 1);
    };
    painter.setClipRegion(area);
    painter.fillRect(area.boundingRect(), resources_->WhiteBrush());

    const SYSTEMTIME first = schedule_.GetShownStart();
    const PaintContext context = MakePaintContext(painter, geometry, sink_);
    const GanttPainter gantt(context);
    const CalendarPainter grid(context);
    const TaskDetailPainter tasks(context);
    const bool rows = layout_.ganttRows;
    for (int day = 0; day < layout_.dayRowCount; ++day) {
        if (clipTo(rowReach(day))) {
            rows ? gantt.PaintRowBackgroundAndLabel(day) : grid.PaintCellBackground(day);
        }
    }
    if (clipTo(QRect(0, layout_.chartBottom, layout_.chartRight, 1))) {
        painter.setPen(resources_->BlackPen());
        HorizontalLine(painter, 0, layout_.chartRight, layout_.chartBottom);
    }
    if (clipTo(QRect(0, 0, layout_.clientWidth, layout_.buttonBarHeight + 1))) {
        PaintButtonBar(painter);
    }
    const int todayRow = DaysBetween(first, Today());
    for (int day = 0; day < layout_.dayRowCount; ++day) {
        if (!clipTo(rowReach(day))) {
            continue;
        }
        if (!rows) {
            grid.PaintCellContents(day);
            continue;
        }
        if (day == SelectedRow() && state_.selectedHour) {
            PaintSelectedHour(painter, layout_, day, *state_.selectedHour,
                              palette().color(QPalette::Highlight));
        }
        tasks.PaintTaskStrip(day);
        gantt.PaintAppointments(day);
        if (day == todayRow) {
            gantt.PaintNowMarker(day);
        }
    }
    // The header's hour lines run down through every row, the last one on the chart's edge.
    // It is always laid out, so its texts are known even when none of it shows.
    clipTo(QRect(0, layout_.buttonBarHeight, layout_.chartRight + 1,
                 layout_.chartBottom - layout_.buttonBarHeight));
    rows ? gantt.PaintHeader() : grid.PaintHeader();
    painter.setClipRegion(area);
    rows ? gantt.PaintFrames() : grid.PaintFrames();
    // A framed detail line's wide pen reaches one pixel past the area.
    if (layout_.detailVisible && clipTo(ToQRect(layout_.detailRect).adjusted(-1, -1, 1, 1))) {
        detailLines_ = tasks.PaintDetail(SelectedRow(), state_.detailScroll, state_.selection.line);
        detailLinesFor_ = CurrentDetailKey();
        detailLineFramed_ = state_.selection.line >= 0;
    }
    painter.setClipRegion(area);
    PaintFocusFrame(painter);
    painter.restore();
}

PrintJob CTamberloView::ShownPeriodPrintJob() const
{
    return {schedule_, settings_.draw, MakeLayoutInput(), layout_.dayRowCount, GetLocalTime()};
}

PaintContext CTamberloView::MakePaintContext(QPainter& painter, const GanttGeometry& geometry,
                                             const TextSink& text) const
{
    return {painter,
            layout_,
            geometry,
            schedule_,
            settings_.draw,
            *resources_,
            text,
            schedule_.GetShownStart(),
            state_.selectedDate,
            GetLocalTime()};
}

void CTamberloView::PaintFocusFrame(QPainter& painter) const
{
    if (!FocusFrameShown()) {
        return;
    }
    if (const std::optional<PixelRect> frame = keys::FocusAreaRect(layout_, state_.keyFocusArea)) {
        FrameRectangle(painter, *frame, QPen(palette().color(QPalette::Highlight), 2));
    }
}

void CTamberloView::PaintButtonBar(QPainter& painter) const
{
    const bool large = layout_.largeTiles;
    const PixelPoint strips[] = {layout_.strip1Pos, layout_.strip2Pos};
    for (int strip = 0; strip < 2; ++strip) {
        painter.drawPixmap(strips[strip].x, strips[strip].y, resources_->ButtonStrip(strip, large));
    }
    const QRect blank = res::ButtonTileRect(res::kButtonBlank19, large);
    for (const PixelRect& filler : layout_.ButtonBarFillers()) {
        for (int x = filler.left; x < filler.right; x += layout_.tileSize) {
            painter.drawPixmap(
                QRect(x, filler.top, std::min(layout_.tileSize, filler.right - x), filler.Height()),
                resources_->ButtonStrip(1, large),
                blank.adjusted(0, 0, std::min(0, filler.right - x - blank.width()), 0));
        }
    }
    painter.setPen(resources_->BlackPen());
    HorizontalLine(painter, 0, layout_.clientWidth, layout_.buttonBarHeight);

    const QRect focusTile = res::TileRect(res::Picture::FocusIndicator, large, state_.keyFocusArea);
    painter.drawPixmap(ToQRect(layout_.FocusIndicatorRect()), resources_->FocusIndicator(large),
                       focusTile);
    if (state_.keyFocusArea == res::kFocusButtonBar) {
        FrameRectangle(painter, layout_.FocusFrameRect(state_.focusedButton),
                       resources_->FocusPen());
    }
}

void CTamberloView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        editing_->Press(event);
    }
    // Completing ends the press: a slow release must not move the task as well.
    if (event->button() == Qt::LeftButton && OnCheckBox(event->position().toPoint())) {
        editing_->CancelDrag();
        commands_.Execute(cmd::ID_COMPLETE_TASK);
    }
}

// A strip entry's icon and a detail line's icon column hold an open task's check box once the
// press selected it.
bool CTamberloView::OnCheckBox(QPoint at)
{
    const PressHit hit =
        editing_->Input().HitAt(at.x(), at.y(), state_.detailScroll, CurrentDetailLines().total);
    return hit.checkBox && state_.selection.kind == ItemKind::Task &&
           state_.selection.IsStoreItem() && !state_.selection.completed;
}

void CTamberloView::mouseMoveEvent(QMouseEvent* event)
{
    editing_->Move(event);
}

void CTamberloView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        editing_->Release(event);
    }
}

void CTamberloView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        editing_->DoubleClick(event);
    }
}

bool CTamberloView::ButtonAction(int index)
{
    const bool changed = RunButton(index);
    if (changed) {
        Relayout();
    }
    AfterAction();
    if (changed) {
        update();
    }
    return changed;
}

void CTamberloView::AfterAction()
{
    WriteBackSwitches();
    emit CommandStateChanged();
}

bool CTamberloView::RunButton(int index)
{
    const auto toggle = [](bool& flag) {
        flag = !flag;
        return true;
    };
    const int hourPixels = switches_.FitHoursToWidth ? layout_.hourPixels : switches_.OneHourPixel;
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
        return ShiftHours(-nav::HourButtonStep(hourPixels));
    case res::kButtonLaterHours:
        return ShiftHours(nav::HourButtonStep(hourPixels));
    case res::kButtonZoomIn:
        return Zoom(nav::ZoomIn(hourPixels));
    case res::kButtonZoomOut:
        return Zoom(nav::ZoomOut(hourPixels));
    case res::kButtonCalendar:
    case keys::kButtonCalendarOrGantt: // from the grid to the Gantt, else as the Calendar button
        return ToggleCalendar();
    case res::kButtonBoth:
        return SetAreas(true, true);
    case res::kButtonAppointmentsOnly:
        return SetAreas(false, true);
    case res::kButtonTasksOnly:
        return SetAreas(true, false);
    case res::kButtonDetailView:
        return toggle(switches_.InfoAreaVisible);
    case res::kButtonDetailAtBottom:
        return toggle(switches_.InfoAreaFixBottom);
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

// A zoom sets the hour width explicitly, so the day no longer follows the window's width.
bool CTamberloView::Zoom(std::optional<int> hourPixels)
{
    if (!hourPixels) {
        return false;
    }
    if (*hourPixels > layout_.hourPixels) {
        firstHour_ = std::max(firstHour_, usable::StartHour(settings_.DefaultStartHour));
    }
    switches_.OneHourPixel = *hourPixels;
    switches_.FitHoursToWidth = false;
    return true;
}

void CTamberloView::ToggleFitHoursToWidth()
{
    switches_.FitHoursToWidth = !switches_.FitHoursToWidth;
    AfterAction();
    update();
}

void CTamberloView::WriteBackSwitches()
{
    static_cast<DisplaySwitches&>(settings_) = switches_;
    settingsStore_.WriteDisplaySwitches(switches_);
}

void CTamberloView::ClearItemSelection()
{
    state_.selection = ItemSelection{};
}

int CTamberloView::SelectedRow() const
{
    return DaysBetween(schedule_.GetShownStart(), state_.selectedDate);
}

// Today within the shown rows is only selected; otherwise the period moves to it.
bool CTamberloView::SelectToday()
{
    const int row = DaysBetween(schedule_.GetShownStart(), Today());
    if (row < 0 || row >= layout_.dayRowCount) {
        return ShowToday();
    }
    ClearItemSelection();
    state_.selectedDate = Today();
    state_.detailScroll = 0;
    return true;
}

bool CTamberloView::ShowToday()
{
    recomputeFirstHour_ = true;
    return ShowDate(Today());
}

void CTamberloView::ItemsChanged()
{
    ClearItemSelection();
    OnUpdate();
    emit CommandStateChanged();
}

bool CTamberloView::StoreChanged()
{
    if (editing_->Dragging()) {
        return false;
    }
    const ItemSelection kept = state_.selection;
    ReloadSchedule();
    ClearItemSelection();
    const DetailLines& lines = CurrentDetailLines();
    for (int line = 0; kept.HasItem() && line < lines.taskLines + lines.appointmentLines; ++line) {
        const ItemSelection found =
            SelectionOfLine(lines, line, SelectedRow(), schedule_, state_.selectedDate);
        if (found.kind == kept.kind && found.oid == kept.oid &&
            found.exceptionNo == kept.exceptionNo) {
            state_.selection = found;
            break;
        }
    }
    OnUpdate();
    emit CommandStateChanged();
    return true;
}

bool CTamberloView::ApplyPeriodMove(const std::optional<nav::PeriodMove>& move)
{
    if (!move) {
        return false;
    }
    ClearItemSelection();
    state_.detailScroll = 0;
    state_.selectedDate = move->selected;
    if (!schedule_.SetShownStart(move->first)) {
        ReloadSchedule();
    }
    return true;
}

bool CTamberloView::StepWeeks(int weeks)
{
    return ApplyPeriodMove(nav::MoveWeeks(schedule_.GetShownStart(), state_.selectedDate, weeks));
}

bool CTamberloView::StepMonths(int months)
{
    return ApplyPeriodMove(nav::MoveMonths(schedule_.GetShownStart(), state_.selectedDate, months,
                                           switches_.CalendarType == 0));
}

// Switching to the grid moves the first day back to the start weekday, keeping the selected
// date; switching back keeps the first day.
bool CTamberloView::ToggleCalendar()
{
    if (switches_.CalendarType == 0) {
        switches_.CalendarType = 1;
        return true;
    }
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int back = nav::GridAlignmentDays(first.wDayOfWeek, settings_.StartDow);
    if (back != 0 && nav::InSupportedYears(AddDays(first, -back)) &&
        !schedule_.SetShownStart(AddDays(first, -back))) {
        ReloadSchedule();
    }
    switches_.CalendarType = 0;
    return true;
}

bool CTamberloView::SetAreas(bool tasks, bool gantt)
{
    const bool changed =
        tasks != switches_.TaskAreaVisible || gantt != switches_.CalendarAreaVisible;
    switches_.TaskAreaVisible = tasks;
    switches_.CalendarAreaVisible = gantt;
    return changed;
}

void CTamberloView::LayOut(QSize client)
{
    MeasureDateColumn();
    ComputeLayout(client);
}

void CTamberloView::Relayout()
{
    LayOut(size());
}
