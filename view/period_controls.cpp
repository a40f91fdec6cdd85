#include "view/period_controls.h"

#include <algorithm>

#include "model/date_time.h"
#include "res/pictures.h"
#include "settings/usable_range.h"
#include "view/key_input.h"
#include "view/schedule_source.h"

bool PeriodControls::RunButton(int index)
{
    const auto toggle = [](bool& flag) {
        flag = !flag;
        return true;
    };
    DisplaySwitches& switches = t_.switches;
    const int hourPixels = switches.FitHoursToWidth ? t_.layout.hourPixels : switches.OneHourPixel;
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
        return toggle(switches.InfoAreaVisible);
    case res::kButtonDetailAtBottom:
        return toggle(switches.InfoAreaFixBottom);
    default:
        return false;
    }
}

// The layout brings the first hour back into range.
bool PeriodControls::ShiftHours(int hours)
{
    t_.hours.firstHour = std::max(0, t_.hours.firstHour + hours);
    return true;
}

// A zoom sets the hour width explicitly, so the day no longer follows the window's width.
bool PeriodControls::Zoom(std::optional<int> hourPixels)
{
    if (!hourPixels) {
        return false;
    }
    if (*hourPixels > t_.layout.hourPixels) {
        t_.hours.firstHour =
            std::max(t_.hours.firstHour, usable::StartHour(t_.settings.DefaultStartHour));
    }
    t_.switches.OneHourPixel = *hourPixels;
    t_.switches.FitHoursToWidth = false;
    return true;
}

// Today within the shown rows is only selected; otherwise the period moves to it.
bool PeriodControls::SelectToday()
{
    const SYSTEMTIME today = nav::Today();
    const int row = DaysBetween(t_.schedule.GetShownStart(), today);
    if (row < 0 || row >= t_.layout.dayRowCount) {
        return ShowToday();
    }
    SelectDay(today);
    return true;
}

bool PeriodControls::ShowToday()
{
    t_.hours.recompute = true;
    return ShowDate(nav::Today());
}

// In the grid the period also starts on the grid's first weekday, so the columns stay put.
bool PeriodControls::ShowDate(const SYSTEMTIME& date)
{
    SelectDay(date);
    const ViewSettings& settings = t_.settings;
    SYSTEMTIME first = nav::PeriodStart(date, settings.CntFromToday, settings.StartDow);
    if (t_.switches.CalendarType == 0) {
        first = AddDays(first, -nav::GridAlignmentDays(first.wDayOfWeek, settings.StartDow));
    }
    t_.schedule.SetShownStart(first);
    t_.reload();
    return true;
}

// A day chosen anew: no item on it selected yet, its detail list from the top.
void PeriodControls::SelectDay(const SYSTEMTIME& day)
{
    t_.state.selection = ItemSelection{};
    t_.state.selectedDate = day;
    t_.state.detailScroll = 0;
}

void PeriodControls::MoveShownStart(const SYSTEMTIME& first)
{
    if (!t_.schedule.SetShownStart(first)) {
        t_.reload();
    }
}

bool PeriodControls::ApplyPeriodMove(const std::optional<nav::PeriodMove>& move)
{
    if (!move) {
        return false;
    }
    SelectDay(move->selected);
    MoveShownStart(move->first);
    return true;
}

bool PeriodControls::StepWeeks(int weeks)
{
    return ApplyPeriodMove(
        nav::MoveWeeks(t_.schedule.GetShownStart(), t_.state.selectedDate, weeks));
}

bool PeriodControls::StepMonths(int months)
{
    return ApplyPeriodMove(nav::MoveMonths(t_.schedule.GetShownStart(), t_.state.selectedDate,
                                           months, t_.switches.CalendarType == 0));
}

// Switching to the grid moves the first day back to the start weekday, keeping the selected
// date; switching back keeps the first day.
bool PeriodControls::ToggleCalendar()
{
    if (t_.switches.CalendarType == 0) {
        t_.switches.CalendarType = 1;
        return true;
    }
    const SYSTEMTIME first = t_.schedule.GetShownStart();
    const int back = nav::GridAlignmentDays(first.wDayOfWeek, t_.settings.StartDow);
    if (back != 0 && nav::InSupportedYears(AddDays(first, -back))) {
        MoveShownStart(AddDays(first, -back));
    }
    t_.switches.CalendarType = 0;
    return true;
}

bool PeriodControls::SetAreas(bool tasks, bool gantt)
{
    DisplaySwitches& switches = t_.switches;
    const bool changed = tasks != switches.TaskAreaVisible || gantt != switches.CalendarAreaVisible;
    switches.TaskAreaVisible = tasks;
    switches.CalendarAreaVisible = gantt;
    return changed;
}
