// The schedule view widget: it owns the view's state and hands each event to a unit: the layout
// to its layout step, its paint to the renderer, the period's buttons to its period controls,
// what is selected to its selection controls, keys and the wheel to its key controls and the
// pointer to its editing part. It keeps the focus areas and the commands' states.
#include "view/tamberlo_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "platform/clock.h"
#include "res/command_ids.h"
#include "view/dark_palette.h"
#include "view/empty_schedule.h"
#include "view/item_tooltip.h"
#include "view/keyboard_editing.h"
#include "view/memory_settings_store.h"
#include "view/schedule_source.h"

CTamberloView::CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent)
    : QWidget(parent), schedule_(schedule), settingsStore_(settings), settings_(settings.Read()),
      resources_(std::make_unique<ViewResources>(settings_.draw, IsDarkPalette(palette()))),
      switches_(settings_),
      layoutStep_({schedule_, switches_, settings_, hours_, layout_, [this] { ReloadSchedule(); }}),
      period_(
          {schedule_, state_, switches_, hours_, layout_, settings_, [this] { ReloadSchedule(); }}),
      selection_({schedule_, state_, hours_, layout_, settings_, detailLines_,
                  [this](int row, int scroll) {
                      Relayout();
                      return DrawDetailLines(Picture(TextSink()), row, scroll);
                  },
                  [this](const QRect& area) { update(area); }, [this] { update(); },
                  [this] { ReloadSchedule(); }, [this] { emit CommandStateChanged(); }})
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
        detailLines_.Drawn(selection_.CurrentDetailKey(), std::move(*detail),
                           state_.selection.line >= 0);
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
    return {schedule_, settings_.draw, layoutStep_.Input(), layout_.dayRowCount, GetLocalTime()};
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
    selection_.Reselect(kept);
    OnUpdate();
    emit CommandStateChanged();
    return true;
}

void CTamberloView::LayOut(QSize client)
{
    layoutStep_.Run(client, resources_->MainFont());
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

void CTamberloView::ReloadSchedule()
{
    schedule_.Reload();
    detailLines_.Forget();
}

void CTamberloView::FollowItem(const SYSTEMTIME& date, ItemKind kind, const std::wstring& oid,
                               int exceptionNo)
{
    SelectDate(date);
    selection_.SelectEntry(kind, oid, exceptionNo);
    update();
    AfterAction();
}

void CTamberloView::JumpTo(const SYSTEMTIME& date)
{
    period_.ShowDate(date);
    Relayout();
    AfterAction();
    update();
}
