// The schedule view: the one window that shows the loaded days. It is the first in the command
// chain, so its table is asked before the document's, the frame's and the application's.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "platform/command_table.h"
#include "platform/systemtime.h"
#include "view/task_detail_painter.h"
#include "view/text_sink.h"
#include "view/view_layout.h"
#include "view/view_resources.h"
#include "view/view_settings.h"

class ScheduleSource;

class CTamberloView : public QWidget {
    Q_OBJECT
public:
    CTamberloView(ScheduleSource& schedule, ViewSettingsStore& settings, QWidget* parent = nullptr);
    // Until a document is attached: no items, default settings.
    explicit CTamberloView(QWidget* parent = nullptr);
    ~CTamberloView() override;

    const CommandTable& Commands() const { return commands_; }

    // Paints the whole view for a client of `client` size; only what meets `dirty` is drawn.
    void Render(QPainter& painter, QSize client, const QRect& dirty);
    // Runs the picture button `index` (0..19); false when it changed nothing.
    bool ButtonAction(int index);
    // Re-reads the settings after a settings dialog: fonts, brushes and the layout follow.
    void SettingsChanged();
    // The document changed: everything is repainted.
    void OnUpdate() { update(); }

    const ViewLayout& Layout() const { return layout_; }
    const SYSTEMTIME& SelectedDate() const { return selectedDate_; }
    TextSink& Texts() { return sink_; }
    const DetailLines& LastDetailLines() const { return detailLines_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CTamberloView(std::unique_ptr<ScheduleSource> schedule,
                  std::unique_ptr<ViewSettingsStore> settings, QWidget* parent);

    void AddCommands();
    void AddViewCommand(int id, int button, CommandTable::UpdateHandler updater = {});
    void ComputeLayout(QSize client);
    void MeasureDateColumn();
    LayoutInput MakeLayoutInput() const;

    bool RunButton(int index);
    bool SelectToday();
    bool ShowToday();
    bool MovePeriod(const SYSTEMTIME& firstDay, const SYSTEMTIME& selected);
    bool StepWeeks(int weeks);
    bool StepMonths(int months);
    bool ShiftHours(int hours);
    bool Zoom(int step);
    bool ToggleCalendar();
    bool SetAreas(bool tasks, bool gantt);
    SYSTEMTIME PeriodStartFor(const SYSTEMTIME& date) const;
    void WriteBackSwitches();
    void ClearItemSelection();

    void PaintButtonBar(QPainter& painter) const;

    std::unique_ptr<ScheduleSource> ownedSchedule_;
    std::unique_ptr<ViewSettingsStore> ownedSettings_;
    ScheduleSource& schedule_;
    ViewSettingsStore& settingsStore_;
    ViewSettings settings_;
    std::unique_ptr<ViewResources> resources_;
    TextSink sink_;
    CommandTable commands_;
    ViewLayout layout_;
    DetailLines detailLines_;

    int calendarType_ = 1;
    bool ganttAreaVisible_ = true;
    bool taskAreaVisible_ = true;
    bool detailVisible_ = true;
    bool detailAtBottom_ = false;
    int hourPixels_ = 36;
    int firstHour_ = 0;
    int dateColumnWidth_ = 0;
    std::optional<bool> previousPortrait_;
    bool recomputeFirstHour_ = false;

    SYSTEMTIME selectedDate_;
    int keyFocusArea_ = 1;
    int focusedButton_ = 1;
    int detailScroll_ = 0;
    int selectedLine_ = -1;
};
