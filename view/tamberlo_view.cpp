// The schedule view widget: lays itself out on resize and after actions, hands its paint to the
// renderer, runs the picture buttons and display commands, and hands the pointer to its editing
// part. Keys, the wheel and
// the detail list are in tamberlo_view_input.cpp.
#include "view/tamberlo_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/accessible_schedule.h"
#include "view/dark_palette.h"
#include "view/empty_schedule.h"
#include "view/memory_settings_store.h"
#include "view/schedule_source.h"

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

void CTamberloView::Render(QPainter& painter, const QRegion& dirty)
{
    if (std::optional<DetailLines> detail = RenderView(painter, dirty, Picture(sink_))) {
        detailLines_ = std::move(*detail);
        detailLinesFor_ = CurrentDetailKey();
        detailLineFramed_ = state_.selection.line >= 0;
    }
}

ViewPicture CTamberloView::Picture(const TextSink& text) const
{
    return {layout_,          schedule_,      settings_.draw,
            *resources_,      text,           state_,
            SelectedRow(),    GetLocalTime(), palette().color(QPalette::Highlight),
            FocusFrameShown()};
}

PrintJob CTamberloView::ShownPeriodPrintJob() const
{
    return {schedule_, settings_.draw, MakeLayoutInput(), layout_.dayRowCount, GetLocalTime()};
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
