// The view's relayout: the layout computed for a client size from the switches, the settings and
// what the last layout left (the first hour, the orientation), and the period's items read again
// when more rows now show. It runs on resize and after actions, never inside a paint.
#pragma once

#include <QFont>
#include <QSize>
#include <functional>
#include <optional>

#include "view/display_switches.h"
#include "view/view_layout.h"
#include "view/view_settings.h"
#include "view/view_state.h"

class ScheduleSource;

class LayoutStep {
public:
    // What the step reads and writes, owned by the view; `reload` reads the document again for
    // the shown period.
    struct Target {
        ScheduleSource& schedule;
        const DisplaySwitches& switches;
        const ViewSettings& settings;
        HourWindow& hours;
        ViewLayout& layout;
        std::function<void()> reload;
    };
    explicit LayoutStep(Target target) : t_(std::move(target)) {}

    // Lays out for `client`, the date column measured in `mainFont`.
    void Run(QSize client, const QFont& mainFont);
    // What the next layout is computed from (a printed period is laid out from it too).
    LayoutInput Input() const;

private:
    Target t_;
    int dateColumnWidth_ = 0;
    std::optional<bool> previousPortrait_;
    int shownRows_ = 0; // the day count the document was last told
};
