// The schedule view widget: lays itself out at every paint, paints in the fixed order (rows,
// button bar, row contents, header, frames, detail list, focus indicator) and runs the display
// commands and picture buttons that move the period, the hour window and the areas.
#include "view/tamberlo_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

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

constexpr int kWheelNotch = 120;

SYSTEMTIME Today()
{
    return TruncateSystemTime(GetLocalTime(), 3);
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
      detailAtBottom_(settings_.InfoAreaFixBottom), fitHoursToWidth_(settings_.FitHoursToWidth),
      hourPixels_(settings_.OneHourPixel), selectedDate_(Today())
{
    setObjectName("TamberloView");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    AddViewCommands(commands_,
                    {[this](int button) { ButtonAction(button); },
                     [this] { ToggleFitHoursToWidth(); }, [this] { return CommandState(); }});
    editing_ = new ViewEditing(*this);
    AddEditCommands();
    setMouseTracking(true);
    // A grid stored in the profile starts on its start weekday, as switching to it does.
    if (calendarType_ == 0) {
        calendarType_ = 1;
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
    state.calendarGrid = calendarType_ == 0;
    state.taskAreaVisible = taskAreaVisible_;
    state.ganttAreaVisible = ganttAreaVisible_;
    state.detailVisible = detailVisible_;
    state.detailAtBottom = detailAtBottom_;
    state.fitHoursToWidth = fitHoursToWidth_;
    state.selection = selection_;
    state.clipboardHoldsItem = editing_ && editing_->ClipboardHoldsItem();
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
    for (const auto& [id, handler] : handlers)
        commands_.SetHandler(id, handler);
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
    in.FitHoursToWidth = fitHoursToWidth_;
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
    // More rows (the grid, a taller window) can reach past the loaded window: load around them.
    const int previousRows = shownRows_;
    shownRows_ = layout_.dayRowCount;
    schedule_.SetShownDayCount(shownRows_);
    if (shownRows_ > previousRows && !schedule_.SetShownStart(schedule_.GetShownStart()))
        schedule_.Reload();
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
    // A step inside the window dirties a few strips far apart: paint them one by one rather
    // than the box around them, which is the whole view.
    for (const QRect& dirty : event->region())
        Render(painter, size(), dirty);
    editing_->PaintOverlay(painter);
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
    if (layout_.detailVisible &&
        !Intersection(layout_.detailRect, dirty.adjusted(-1, -1, 1, 1)).isEmpty()) {
        detailLines_ = tasks.PaintDetail(SelectedRow(), detailScroll_, selection_.line);
        detailLinesFor_ = {SelectedRow(), detailScroll_};
    }
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
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        editing_->Press(event);
}

void CTamberloView::mouseMoveEvent(QMouseEvent* event)
{
    editing_->Move(event);
}

void CTamberloView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        editing_->Release(event);
}

void CTamberloView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        editing_->DoubleClick(event);
}

bool CTamberloView::ButtonAction(int index)
{
    const bool changed = RunButton(index);
    if (changed)
        Relayout();
    AfterAction();
    if (changed)
        update();
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
    const int hourPixels = fitHoursToWidth_ ? layout_.hourPixels : hourPixels_;
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

// A zoom sets the hour width explicitly, so the day no longer follows the window's width.
bool CTamberloView::Zoom(std::optional<int> hourPixels)
{
    if (!hourPixels)
        return false;
    if (*hourPixels > layout_.hourPixels)
        firstHour_ = std::max(firstHour_, usable::StartHour(settings_.DefaultStartHour));
    hourPixels_ = *hourPixels;
    fitHoursToWidth_ = false;
    return true;
}

void CTamberloView::ToggleFitHoursToWidth()
{
    fitHoursToWidth_ = !fitHoursToWidth_;
    AfterAction();
    update();
}

void CTamberloView::WriteBackSwitches()
{
    settings_.OneHourPixel = hourPixels_;
    settings_.CalendarType = calendarType_;
    settings_.TaskAreaVisible = taskAreaVisible_;
    settings_.CalendarAreaVisible = ganttAreaVisible_;
    settings_.InfoAreaVisible = detailVisible_;
    settings_.InfoAreaFixBottom = detailAtBottom_;
    settings_.FitHoursToWidth = fitHoursToWidth_;
    settingsStore_.WriteDisplaySwitches(settings_);
}

void CTamberloView::ClearItemSelection()
{
    selection_ = ItemSelection{};
}

int CTamberloView::SelectedRow() const
{
    return DaysBetween(schedule_.GetShownStart(), selectedDate_);
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
    return ShowDate(Today());
}

// In the grid the period also starts on the grid's first weekday, so the columns stay put.
bool CTamberloView::ShowDate(const SYSTEMTIME& date)
{
    ClearItemSelection();
    selectedDate_ = date;
    detailScroll_ = 0;
    SYSTEMTIME first = nav::PeriodStart(selectedDate_, settings_.CntFromToday, settings_.StartDow);
    if (calendarType_ == 0)
        first = AddDays(first, -nav::GridAlignmentDays(first.wDayOfWeek, settings_.StartDow));
    schedule_.SetShownStart(first);
    schedule_.Reload();
    return true;
}

void CTamberloView::JumpTo(const SYSTEMTIME& date)
{
    ShowDate(date);
    Relayout();
    AfterAction();
    update();
}

void CTamberloView::ItemsChanged()
{
    ClearItemSelection();
    OnUpdate();
    emit CommandStateChanged();
}

bool CTamberloView::ApplyPeriodMove(const std::optional<nav::PeriodMove>& move)
{
    if (!move)
        return false;
    ClearItemSelection();
    detailScroll_ = 0;
    selectedDate_ = move->selected;
    if (!schedule_.SetShownStart(move->first))
        schedule_.Reload();
    return true;
}

bool CTamberloView::StepWeeks(int weeks)
{
    return ApplyPeriodMove(nav::MoveWeeks(schedule_.GetShownStart(), selectedDate_, weeks));
}

bool CTamberloView::StepMonths(int months)
{
    return ApplyPeriodMove(
        nav::MoveMonths(schedule_.GetShownStart(), selectedDate_, months, calendarType_ == 0));
}

// Switching to the grid moves the first day back to the start weekday, keeping the selected
// date; switching back keeps the first day.
bool CTamberloView::ToggleCalendar()
{
    if (calendarType_ == 0) {
        calendarType_ = 1;
        return true;
    }
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int back = nav::GridAlignmentDays(first.wDayOfWeek, settings_.StartDow);
    if (back != 0 && nav::InSupportedYears(AddDays(first, -back)) &&
        !schedule_.SetShownStart(AddDays(first, -back)))
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

void CTamberloView::Relayout()
{
    MeasureDateColumn();
    ComputeLayout(size());
}

void CTamberloView::keyPressEvent(QKeyEvent* event)
{
    // Any key ends a drag; Escape only cancels it.
    if (editing_->CancelDrag() && event->key() == Qt::Key_Escape)
        return;
    Relayout();
    // The desktop keys run the commands they stand for when this view can run them.
    const int command = keys::AcceleratorCommand(
        event->key(), event->modifiers(), [this](int id) { return commands_.HasHandler(id); });
    if (command != 0 && commands_.Execute(command))
        return;
    const keys::DigitResult digit =
        keys::DigitKey(event->key(), settings_.hardwareKeys, detailVisible_);
    const keys::Action action =
        digit.matched ? digit.action : keys::AreaKey(keyFocusArea_, event->key());
    if (!digit.matched && action == keys::Action::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int previousMonth = selectedDate_.wMonth;
    RunKey(action);
    // The alternate-month shading follows the selected month.
    if (selectedDate_.wMonth != previousMonth && settings_.draw.BrightReduceRate != 100)
        update();
    update(ToQRect(PixelRect{0, 0, layout_.clientWidth, layout_.buttonBarHeight + 1}));
    AfterAction();
}

void CTamberloView::RunKey(keys::Action action)
{
    using keys::Action;
    if (const std::optional<int> area = keys::FocusOf(action)) {
        keyFocusArea_ = *area;
        return;
    }
    if (const std::optional<nav::BodyKey> key = keys::BodyKeyOf(action)) {
        MoveInBody(*key);
        return;
    }
    switch (action) {
    case Action::SelectToday:
        ButtonAction(res::kButtonSelectToday);
        break;
    case Action::CalendarOrGantt:
        ButtonAction(keys::kButtonCalendarOrGantt);
        break;
    case Action::ButtonEnter:
        ButtonEnter();
        break;
    case Action::BodyEnter:
        keyFocusArea_ = detailVisible_ ? keys::kDetail : keys::kButtonBar;
        break;
    case Action::DetailUp:
    case Action::DetailDown:
        SelectDetailLine(selection_.line + (action == Action::DetailUp ? -1 : 1));
        break;
    default:
        focusedButton_ = keys::MoveButtonFocus(focusedButton_, action);
        break;
    }
}

void CTamberloView::ButtonEnter()
{
    if (!keys::ButtonRunsOnEnter(focusedButton_)) {
        keyFocusArea_ = keys::kBody;
        return;
    }
    ButtonAction(focusedButton_);
    if (focusedButton_ != res::kButtonSelectToday)
        update();
}

// The selection moves over the rows, or the period moves under it. A period step that the
// document already holds scrolls the body's pixels by one row and paints only what is new.
void CTamberloView::MoveInBody(nav::BodyKey key, bool keepRow)
{
    const bool grid = calendarType_ == 0;
    if (!grid && (key == nav::BodyKey::Right || key == nav::BodyKey::Left)) {
        MoveHourWindow(key == nav::BodyKey::Right
                           ? nav::HourKeyRight(firstHour_, layout_.hourCount, layout_.hourPixels)
                           : nav::HourKeyLeft(firstHour_, layout_.hourPixels));
        return;
    }
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int rows = layout_.dayRowCount;
    const int oldRow = SelectedRow();
    const bool forward = key == nav::BodyKey::Down;
    // The wheel moves the period as the keys do on the edge row, and keeps the selected row.
    const int edgeRow = forward ? rows - 1 : 0;
    const std::optional<nav::BodyMove> move =
        nav::MoveInBody(key, grid, keepRow ? edgeRow : oldRow, rows, first);
    if (!move)
        return;
    const int newRow = keepRow ? std::clamp(oldRow, 0, rows - 1) : move->selectedRow;
    detailScroll_ = 0;
    ClearItemSelection();
    const SYSTEMTIME newFirst = AddDays(first, move->periodDays);
    selectedDate_ = AddDays(newFirst, newRow);
    if (move->periodDays == 0) {
        UpdateRow(oldRow);
        UpdateRow(newRow);
        UpdateFramesAndDetail();
    } else if (schedule_.SetShownStart(newFirst)) {
        ScrollBodyOnScreen(move->periodDays, oldRow);
    } else {
        schedule_.Reload();
        update();
    }
}

void CTamberloView::ScrollBodyOnScreen(int periodDays, int oldRow)
{
    const bool grid = calendarType_ == 0;
    const int rowHeight = grid ? layout_.weekRowHeight : layout_.dayRowHeight;
    const int bodyRows = grid ? layout_.weekCount : layout_.dayRowCount;
    const QRect body(0, layout_.rowsTop, layout_.chartRight, rowHeight * bodyRows);
    scroll(0, periodDays > 0 ? -rowHeight : rowHeight, body);
    // The old selection frame moved with the pixels; its row and the new one are redrawn.
    UpdateRow(oldRow - periodDays);
    UpdateRow(SelectedRow());
    UpdateFramesAndDetail();
}

void CTamberloView::MoveHourWindow(int firstHour)
{
    if (firstHour == firstHour_)
        return;
    firstHour_ = firstHour;
    update();
}

void CTamberloView::UpdateRow(int row)
{
    if (row < 0 || row >= layout_.dayRowCount)
        return;
    const int margin = 2 * layout_.lineScale;
    update(ToQRect(GanttGeometry(layout_).DayRect(row)).adjusted(-margin, -margin, margin, margin));
}

void CTamberloView::UpdateFramesAndDetail()
{
    const GanttGeometry geometry(layout_);
    update(ToQRect(geometry.HeaderRect()));
    UpdateDetail();
}

void CTamberloView::UpdateDetail()
{
    update(ToQRect(layout_.detailRect).adjusted(-1, -1, 1, 1));
}

void CTamberloView::ScrollDetail(int lines)
{
    const DetailLines& shown = CurrentDetailLines();
    const int last = std::max(0, shown.total - layout_.detailLineCount);
    const int scroll = std::clamp(detailScroll_ + lines, 0, last);
    if (scroll == detailScroll_)
        return;
    detailScroll_ = scroll;
    UpdateDetail();
}

// The line map of the last paint when it shows the same day and scroll; otherwise the detail
// pass runs again without drawing anything visible.
const DetailLines& CTamberloView::CurrentDetailLines()
{
    const std::pair<int, int> wanted{SelectedRow(), detailScroll_};
    if (detailLinesFor_ == wanted)
        return detailLines_;
    Relayout();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    const TextSink quiet;
    const GanttGeometry geometry(layout_);
    const PaintContext context{painter,        layout_,       geometry, schedule_,
                               settings_.draw, *resources_,   quiet,    schedule_.GetShownStart(),
                               selectedDate_,  GetLocalTime()};
    detailLines_ = TaskDetailPainter(context).PaintDetail(wanted.first, wanted.second, -1);
    detailLinesFor_ = wanted;
    return detailLines_;
}

void CTamberloView::SelectDetailLine(int line)
{
    const DetailLines& lines = CurrentDetailLines();
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines)
        return;
    keyFocusArea_ = keys::kDetail;
    const int visible = std::max(1, layout_.detailLineCount);
    if (line < detailScroll_)
        detailScroll_ = line;
    else if (line >= detailScroll_ + visible)
        detailScroll_ = line - visible + 1;

    selection_ = SelectionOfLine(lines, line, SelectedRow(), schedule_, selectedDate_);
    UpdateDetail();
    emit CommandStateChanged();
}

// A notch is one step; a touchpad's small deltas add up to one.
void CTamberloView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    wheelAccumulator_ += delta.y() != 0 ? delta.y() : delta.x();
    const int steps = wheelAccumulator_ / kWheelNotch;
    wheelAccumulator_ -= steps * kWheelNotch;
    if (steps == 0)
        return;
    Relayout();
    const QPoint at = event->position().toPoint();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool inBody =
        at.y() > layout_.rowsTop && at.y() < layout_.chartBottom && at.x() < layout_.chartRight;
    for (int step = 0; step < std::abs(steps); ++step) {
        const bool later = steps < 0;
        if (modifiers & Qt::ControlModifier)
            ButtonAction(later ? res::kButtonZoomOut : res::kButtonZoomIn);
        else if (layout_.detailVisible && layout_.detailRect.Contains(at.x(), at.y()))
            ScrollDetail(later ? 1 : -1);
        else if ((modifiers & Qt::ShiftModifier) && layout_.ganttRows)
            MoveHourWindow(
                later ? nav::HourKeyRight(firstHour_, layout_.hourCount, layout_.hourPixels)
                      : nav::HourKeyLeft(firstHour_, layout_.hourPixels));
        else if (inBody)
            MoveInBody(later ? nav::BodyKey::Down : nav::BodyKey::Up, true);
    }
    AfterAction();
}
