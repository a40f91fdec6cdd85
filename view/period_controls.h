// The picture buttons that move the shown period, the hour window and the display switches, and
// the jump to a date. Each step changes the view's state and says whether anything changed; the
// widget lays out and repaints after it.
#pragma once

#include <functional>
#include <optional>

#include "platform/systemtime.h"
#include "view/display_switches.h"
#include "view/navigation.h"
#include "view/view_layout.h"
#include "view/view_settings.h"
#include "view/view_state.h"

class ScheduleSource;

class PeriodControls {
public:
    // What the steps read and change, all owned by the view; `reload` reads the document again
    // for the shown period.
    struct Target {
        ScheduleSource& schedule;
        ViewState& state;
        DisplaySwitches& switches;
        HourWindow& hours;
        const ViewLayout& layout;
        const ViewSettings& settings;
        std::function<void()> reload;
    };
    explicit PeriodControls(Target target) : t_(std::move(target)) {}

    // Runs picture button `index` (or keys::kButtonCalendarOrGantt); false when nothing changed.
    bool RunButton(int index);
    // Shows the period the start-of-period rule gives for `date`, with `date` selected.
    bool ShowDate(const SYSTEMTIME& date);
    // Between the grid and the Gantt chart.
    bool ToggleCalendar();

private:
    bool SelectToday();
    bool ShowToday();
    bool ApplyPeriodMove(const std::optional<nav::PeriodMove>& move);
    bool StepWeeks(int weeks);
    bool StepMonths(int months);
    bool ShiftHours(int hours);
    bool Zoom(std::optional<int> hourPixels);
    bool SetAreas(bool tasks, bool gantt);
    void SelectDay(const SYSTEMTIME& day);
    void MoveShownStart(const SYSTEMTIME& first);

    Target t_;
};
