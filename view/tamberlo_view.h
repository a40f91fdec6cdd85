// The schedule view: the one window that shows the loaded days. It is the first in the command
// chain, so its table is asked before the document's, the frame's and the application's.
#pragma once

#include <QRegion>
#include <QWidget>
#include <memory>
#include <optional>

#include "platform/command_table.h"
#include "platform/systemtime.h"
#include "view/detail_line_map.h"
#include "view/display_switches.h"
#include "view/item_selection.h"
#include "view/key_input.h"
#include "view/layout_step.h"
#include "view/navigation.h"
#include "view/paint_context.h"
#include "view/period_controls.h"
#include "view/schedule_print.h"
#include "view/selection_controls.h"
#include "view/task_detail_painter.h"
#include "view/text_sink.h"
#include "view/view_commands.h"
#include "view/view_editing.h"
#include "view/view_editing_host.h"
#include "view/view_keys.h"
#include "view/view_layout.h"
#include "view/view_renderer.h"
#include "view/view_resources.h"
#include "view/view_settings.h"
#include "view/view_state.h"

class ScheduleSource;

class CTamberloView : public QWidget, private ViewKeysHost {
    Q_OBJECT
public:
    CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent = nullptr);
    // Until a document is attached: no items, default settings.
    explicit CTamberloView(QWidget* parent = nullptr);
    ~CTamberloView() override;

    const CommandTable& Commands() const override { return commands_; }
    // Attaches the handler of a command whose row the view already decides (editors, dialogs).
    void SetCommandHandler(int id, CommandTable::Handler handler);

    // Lays the view out for a client of `client` size: the widget's own on resize, another for
    // a picture drawn off screen. It may read the period's items again, so it never runs in a
    // paint.
    void LayOut(QSize client);
    // Paints the view as last laid out; only what meets `dirty` is drawn.
    void Render(QPainter& painter, const QRegion& dirty);
    // Runs the picture button `index` (0..19, or -1 for calendar-or-Gantt); false when it
    // changed nothing.
    bool ButtonAction(int index) override;
    // Re-reads the settings after a settings dialog: fonts, brushes and the layout follow.
    void SettingsChanged();
    // The document changed: everything is repainted and the detail lines are read again.
    void OnUpdate() override
    {
        detailLines_.Forget();
        update();
    }

    // Shows the period that the start-of-period rule gives for `date`, with `date` selected.
    void JumpTo(const SYSTEMTIME& date);
    // An item was added, changed or deleted: the selection (an entry position) is stale.
    void ItemsChanged();
    // Another program changed the store: the document is read again for the same period, and
    // the selected item stays selected where it still is on the selected day. False (nothing
    // done) during a drag, which would lose its entries; ask again after it.
    bool StoreChanged();

    // The shown period as it is to be printed: its days, the view's switches and sizes.
    PrintJob ShownPeriodPrintJob() const;

    // Selects detail line `line` of the selected day (ignored when there is no such line).
    void SelectDetailLine(int line) override { selection_.SelectDetailLine(line); }
    // Selects the entry of `kind` with object id `oid` on the selected day, its detail line
    // scrolled into view; false, with nothing selected, when the day lists no such entry.
    bool SelectItem(ItemKind kind, const std::wstring& oid)
    {
        return selection_.SelectItem(kind, oid);
    }
    // Selects `date`: its row, the period moved just enough when it lies outside the shown rows.
    void SelectDate(const SYSTEMTIME& date) override { selection_.SelectDate(date); }
    // After a change moved an item: selects its new day and on it the entry of `kind` with `oid`
    // and exception number `exceptionNo` (-1: any); the key focus stays where it is.
    void FollowItem(const SYSTEMTIME& date, ItemKind kind, const std::wstring& oid,
                    int exceptionNo) override;
    // The hour of the selected day a new appointment starts at: none until the keys or a click
    // on empty time choose one; it stays as days change.
    std::optional<int> SelectedHour() const { return state_.selectedHour; }
    // Selects `hour` (0..23), the hour window moved to show it; or the hour under x.
    void SelectHour(int hour) override
    {
        selection_.SelectHour(hour);
        AfterAction();
    }
    void SelectHourAt(int x) override
    {
        if (selection_.SelectHourAt(x)) {
            AfterAction();
        }
    }

    const ViewLayout& Layout() const override { return layout_; }
    const ScheduleSource& Schedule() const { return schedule_; }
    const SYSTEMTIME& SelectedDate() const { return state_.selectedDate; }
    // The selected day relative to the first shown day; may lie outside the shown rows.
    int SelectedRow() const override { return selection_.SelectedRow(); }
    const ItemSelection& Selection() const { return state_.selection; }
    int KeyFocusArea() const { return state_.keyFocusArea; }
    int FocusedButton() const { return state_.focusedButton; }
    int DetailScroll() const { return state_.detailScroll; }
    TextSink& Texts() { return sink_; }
    const DetailLines& LastDetailLines() const { return detailLines_.Last(); }
    // The tooltip for a point of the view (a picture button, an item); empty where none.
    std::wstring ToolTipText(QPoint at);
    // Whether the focused area's frame is drawn: the view has the keyboard focus.
    bool FocusFrameShown() const { return hasFocus(); }

    // Drags, the context menu and the clipboard; they save through the services set here.
    ViewEditing& Editing() { return *editing_; }

signals:
    // The selection, the display switches or the period changed: enable states may follow.
    void CommandStateChanged();

protected:
    // Tab and Shift+Tab move between the focus areas; tooltips come from what is under the pointer.
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The editing host: what the pointer and clipboard handling reaches.
    const ViewSettings& Settings() const override { return settings_; }
    const ViewResources& Resources() const override { return *resources_; }
    ScheduleSource& EditedSchedule() override { return schedule_; }
    ViewState& State() override { return state_; }
    PaintContext MakePaintContext(QPainter& painter, const GanttGeometry& geometry) const override
    {
        return ::MakePaintContext(painter, geometry, Picture(sink_));
    }
    // What a paint reads, its texts told to `text`.
    ViewPicture Picture(const TextSink& text) const;

    CTamberloView(std::unique_ptr<ScheduleSource> schedule,
                  std::unique_ptr<ViewSettingsStore> settings, QWidget* parent);

    ViewCommandState CommandState() const;
    void AddEditCommands();
    // Layout for the widget's own size, before input is mapped to rows and buttons.
    void Relayout() override;
    void AfterAction() override;

    void ToggleFitHoursToWidth();
    void WriteBackSwitches();
    void ClearItemSelection() override;

    // The key controls' host.
    const DisplaySwitches& Switches() const override { return switches_; }
    const HourWindow& Hours() const override { return hours_; }
    void MoveHourWindow(int firstHour) override { selection_.MoveHourWindow(firstHour); }
    void ScrollDetail(int lines) override { selection_.ScrollDetail(lines); }
    void Repaint(const QRect& area) override { update(area); }
    void RepaintAll() override { update(); }
    void ScrollPixels(int dy, const QRect& area) override { scroll(0, dy, area); }
    bool KeyboardEdit(int qtKey, Qt::KeyboardModifiers modifiers) override;
    bool CancelDrag() override;
    void TellCommandStateChanged() override { emit CommandStateChanged(); }
    QSignalBlocker HoldSignals() override { return QSignalBlocker(this); }
    // The document read again for the shown period; the line map goes with the old entries.
    void ReloadSchedule() override;
    const DetailLines& CurrentDetailLines() override { return selection_.CurrentDetailLines(); }
    void UpdateRow(int row) override { selection_.RepaintRow(row); }
    void UpdateFramesAndDetail() override { selection_.RepaintFramesAndDetail(); }
    void UpdateDetail() override { selection_.RepaintDetail(); }

    bool OnCheckBox(QPoint at);
    bool MoveFocusArea(bool forward);

    std::unique_ptr<ScheduleSource> ownedSchedule_;
    std::unique_ptr<ViewSettingsStore> ownedSettings_;
    ScheduleSource& schedule_;
    ViewSettingsStore& settingsStore_;
    ViewSettings settings_;
    std::unique_ptr<ViewResources> resources_;
    TextSink sink_;
    CommandTable commands_;
    ViewLayout layout_;
    DetailLineMap detailLines_;

    DisplaySwitches switches_;
    HourWindow hours_;
    ViewState state_;
    LayoutStep layoutStep_;
    PeriodControls period_;
    SelectionControls selection_;
    ViewKeys keys_{*this};
    ViewEditing* editing_ = nullptr; // a child of the view
};
