// The schedule view widget: lays itself out on resize and after actions, hands its paint to the
// renderer, the period's buttons to its period controls, keys and the wheel to its key controls
// and the pointer to its editing part; it keeps the selection, the focus areas and the detail
// list's line map, and repaints what the controls changed.
#include "view/tamberlo_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "model/date_time.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "view/dark_palette.h"
#include "view/empty_schedule.h"
#include "view/gantt_geometry.h"
#include "view/item_tooltip.h"
#include "view/keyboard_editing.h"
#include "view/memory_settings_store.h"
#include "view/paint_reach.h"
#include "view/schedule_source.h"
#include "view/selected_hour.h"

namespace {

constexpr int kMinutesPerHour = 60;

} // namespace

CTamberloView::CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent)
    : QWidget(parent), schedule_(schedule), settingsStore_(settings), settings_(settings.Read()),
      resources_(std::make_unique<ViewResources>(settings_.draw, IsDarkPalette(palette()))),
      switches_(settings_), period_({schedule_, state_, switches_, hours_, layout_, settings_,
                                     [this] { ReloadSchedule(); }})
{
    state_.selectedDate = nav::Today();
    setObjectName("TamberloView");
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
        detailLines_.Drawn(CurrentDetailKey(), std::move(*detail), state_.selection.line >= 0);
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

bool CTamberloView::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = (key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            return MoveFocusArea(key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier);
        }
    }
    // The Menu key opened the menu at its press already; the desktop may follow it with this.
    if (event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        return true;
    }
    // A desktop turning dark or light redraws with the matching colours.
    if (event->type() == QEvent::PaletteChange) {
        SettingsChanged();
    }
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::wstring text = ToolTipText(help->pos());
        if (text.empty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdWString(text), this);
        }
        return true;
    }
    return QWidget::event(event);
}

std::wstring CTamberloView::ToolTipText(QPoint at)
{
    Relayout();
    return ToolTipAt(editing_->Input(), schedule_, settings_.draw, at.x(), at.y(),
                     state_.detailScroll, CurrentDetailLines().total);
}

bool CTamberloView::MoveFocusArea(bool forward)
{
    editing_->CancelDrag();
    state_.keyFocusArea =
        keys::NextFocusArea(state_.keyFocusArea, forward, switches_.InfoAreaVisible);
    update();
    AfterAction();
    return true;
}

void CTamberloView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CTamberloView::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CTamberloView::keyPressEvent(QKeyEvent* event)
{
    if (!keys_.KeyPress(event->key(), event->modifiers())) {
        QWidget::keyPressEvent(event);
    }
}

void CTamberloView::wheelEvent(QWheelEvent* event)
{
    keys_.Wheel(event->angleDelta(), event->position().toPoint(), event->modifiers());
}

bool CTamberloView::KeyboardEdit(int qtKey, Qt::KeyboardModifiers modifiers)
{
    return KeyboardEditing(*this, *editing_).KeyPress(qtKey, modifiers);
}

bool CTamberloView::CancelDrag()
{
    return editing_->CancelDrag();
}

void CTamberloView::MoveHourWindow(int firstHour)
{
    if (firstHour == hours_.firstHour) {
        return;
    }
    hours_.firstHour = firstHour;
    update();
}

void CTamberloView::UpdateRow(int row)
{
    if (row < 0 || row >= layout_.dayRowCount) {
        return;
    }
    update(reach::FramedRow(layout_, row));
}

void CTamberloView::UpdateFramesAndDetail()
{
    update(reach::Header(layout_));
    UpdateDetail();
}

// The frame's reach only when no line is or was framed: the wider one would take every row of the
// chart's right edge column to repaint.
void CTamberloView::UpdateDetail()
{
    update(reach::Detail(layout_, detailLines_.LineFramed() || state_.selection.line >= 0));
}

void CTamberloView::ScrollDetail(int lines)
{
    const DetailLines& shown = CurrentDetailLines();
    const int last = std::max(0, shown.total - layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll + lines, 0, last);
    if (scroll == state_.detailScroll) {
        return;
    }
    state_.detailScroll = scroll;
    UpdateDetail();
}

DetailLineMap::Key CTamberloView::CurrentDetailKey() const
{
    return {schedule_.GetShownStart(), SelectedRow(), state_.detailScroll};
}

void CTamberloView::ReloadSchedule()
{
    schedule_.Reload();
    detailLines_.Forget();
}

const DetailLines& CTamberloView::CurrentDetailLines()
{
    const DetailLineMap::Key wanted = CurrentDetailKey();
    return detailLines_.For(wanted, [&] {
        Relayout();
        return DrawDetailLines(Picture(TextSink()), wanted.row, wanted.scroll);
    });
}

bool CTamberloView::ScrollDetailToLine(int line)
{
    const int visible = std::max(1, layout_.detailLineCount);
    const int scroll = std::clamp(state_.detailScroll, line - visible + 1, line);
    if (scroll == state_.detailScroll) {
        return false;
    }
    state_.detailScroll = scroll;
    return true;
}

// The line map depends on the scroll (lines a category hides count only outside the shown
// window), so the selection is read from the map of the scroll it is shown at.
void CTamberloView::SelectDetailLine(int line)
{
    const DetailLines& lines = CurrentDetailLines();
    if (line < 0 || line >= lines.taskLines + lines.appointmentLines) {
        return;
    }
    state_.keyFocusArea = keys::kDetail;
    ScrollDetailToLine(line);
    state_.selection =
        SelectionOfLine(CurrentDetailLines(), line, SelectedRow(), schedule_, state_.selectedDate);
    UpdateDetail();
    emit CommandStateChanged();
}

bool CTamberloView::SelectItem(ItemKind kind, const std::wstring& oid)
{
    ClearItemSelection();
    if (SelectEntry(kind, oid, -1)) {
        state_.keyFocusArea = keys::kDetail;
    }
    update();
    emit CommandStateChanged();
    return state_.selection.HasItem();
}

void CTamberloView::SelectDate(const SYSTEMTIME& date)
{
    const SYSTEMTIME first = schedule_.GetShownStart();
    const int oldRow = SelectedRow();
    const int oldMonth = state_.selectedDate.wMonth;
    const int row = DaysBetween(first, date);
    ClearItemSelection();
    if (row == oldRow) {
        return;
    }
    state_.selectedDate = TruncateSystemTime(date, 3);
    state_.detailScroll = 0;
    const int shift = nav::PeriodShiftShowing(row, layout_.dayRowCount, !layout_.ganttRows);
    if (shift != 0) {
        if (!schedule_.SetShownStart(AddDays(first, shift))) {
            ReloadSchedule();
        }
        update();
        return;
    }
    UpdateRow(oldRow);
    UpdateRow(row);
    UpdateFramesAndDetail();
    // The alternate-month shading follows the selected month.
    if (settings_.draw.BrightReduceRate != 100 && oldMonth != state_.selectedDate.wMonth) {
        update();
    }
}

void CTamberloView::FollowItem(const SYSTEMTIME& date, ItemKind kind, const std::wstring& oid,
                               int exceptionNo)
{
    SelectDate(date);
    SelectEntry(kind, oid, exceptionNo);
    update();
    AfterAction();
}

// After a scroll the item's line is looked up again in the new map; it settles at once
// unless hidden lines sit before it in the window.
bool CTamberloView::SelectEntry(ItemKind kind, const std::wstring& oid, int exceptionNo)
{
    constexpr int kLookups = 4;
    for (int lookup = 0; lookup < kLookups; ++lookup) {
        const int line =
            LineOfItem(CurrentDetailLines(), kind, oid, SelectedRow(), schedule_, exceptionNo);
        if (line < 0) {
            return false;
        }
        if (ScrollDetailToLine(line)) {
            continue;
        }
        state_.selection = SelectionOfLine(detailLines_.Last(), line, SelectedRow(), schedule_,
                                           state_.selectedDate);
        return state_.selection.HasItem();
    }
    return false;
}

void CTamberloView::SelectHour(int hour)
{
    hour = std::clamp(hour, 0, kLastHourOfDay);
    const int first = FirstHourShowing(hour, hours_.firstHour, layout_.hourCount);
    state_.selectedHour = hour;
    if (layout_.ganttRows && first != hours_.firstHour) {
        MoveHourWindow(first);
    } else {
        UpdateRow(SelectedRow());
    }
    AfterAction();
}

void CTamberloView::SelectHourAt(int x)
{
    const int minute = GanttGeometry(layout_).MinuteAt(x);
    if (minute >= 0) {
        SelectHour(minute / kMinutesPerHour);
    }
}

void CTamberloView::JumpTo(const SYSTEMTIME& date)
{
    period_.ShowDate(date);
    Relayout();
    AfterAction();
    update();
}
