// The schedule view widget: lays itself out on resize and after actions, hands its paint to the
// renderer, the period's buttons to its period controls and the pointer to its editing part. Keys,
// the wheel and the detail list are in tamberlo_view_input.cpp.
#include "view/tamberlo_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
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
      switches_(settings_), period_({schedule_, state_, switches_, hours_, layout_, settings_,
                                     [this] { ReloadSchedule(); }})
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
        period_.ToggleCalendar();
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
    in.firstHour = hours_.firstHour;
    in.currentHour = GetLocalTime().wHour;
    in.previousPortrait = previousPortrait_;
    in.recomputeFirstHour = hours_.recompute;
    return in;
}

void CTamberloView::ComputeLayout(QSize client)
{
    layout_ = ViewLayout::Compute(client.width(), client.height(), MakeLayoutInput());
    hours_.firstHour = layout_.firstHour;
    previousPortrait_ = layout_.portrait;
    hours_.recompute = false;
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
    const bool changed = period_.RunButton(index);
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

void CTamberloView::LayOut(QSize client)
{
    MeasureDateColumn();
    ComputeLayout(client);
}

void CTamberloView::Relayout()
{
    LayOut(size());
}
