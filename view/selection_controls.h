// What the user selects in the view: a day (the period moved just enough to show it), an hour of
// it, a detail line or an item, and how far the detail list is scrolled. Each step changes the
// view's state and repaints only what it touched, through the repaints it is given.
#pragma once

#include <QRect>
#include <functional>
#include <string>

#include "platform/systemtime.h"
#include "view/detail_line_map.h"
#include "view/view_layout.h"
#include "view/view_settings.h"
#include "view/view_state.h"

class ScheduleSource;

class SelectionControls {
public:
    // What the steps read and change, all owned by the view. `drawLines` draws the detail lines
    // of a row and scroll off screen; `changed` tells that the commands' states may follow.
    struct Target {
        ScheduleSource& schedule;
        ViewState& state;
        HourWindow& hours;
        const ViewLayout& layout;
        const ViewSettings& settings;
        DetailLineMap& lines;
        std::function<DetailLines(int row, int scroll)> drawLines;
        std::function<void(const QRect&)> repaint;
        std::function<void()> repaintAll;
        std::function<void()> reload;
        std::function<void()> changed;
    };
    explicit SelectionControls(Target target) : t_(std::move(target)) {}

    // The selected day relative to the first shown day; may lie outside the shown rows.
    int SelectedRow() const;
    // The selected day's detail lines for the shown period, row and scroll.
    const DetailLines& CurrentDetailLines();
    DetailLineMap::Key CurrentDetailKey() const;

    void SelectDate(const SYSTEMTIME& date);
    // Ignored when the selected day has no line `line`.
    void SelectDetailLine(int line);
    // The entry of `kind` with `oid` on the selected day, its line scrolled into view; false,
    // with nothing selected, when the day lists no such entry.
    bool SelectItem(ItemKind kind, const std::wstring& oid);
    // Selects the entry without moving the key focus; exception number -1: any.
    bool SelectEntry(ItemKind kind, const std::wstring& oid, int exceptionNo);
    // After the document was read again: `kept` selected again where the selected day still
    // lists it, else nothing.
    void Reselect(const ItemSelection& kept);
    // `hour` (0..23), the hour window moved to show it; or the hour under x.
    void SelectHour(int hour);
    bool SelectHourAt(int x); // false where x is no hour
    void MoveHourWindow(int firstHour);
    void ScrollDetail(int lines);

    void RepaintRow(int row) const;
    void RepaintFramesAndDetail() const;
    void RepaintDetail() const;

private:
    // Scrolls the detail list just enough to show `line`; true when the scroll changed.
    bool ScrollDetailToLine(int line);

    Target t_;
};
