// The view's relayout step: the date column is measured in the main font, the layout computed, and
// the document told how many days show.
#include "view/layout_step.h"

#include <QFontMetrics>

#include "model/date_time.h"
#include "platform/clock.h"
#include "view/schedule_source.h"

LayoutInput LayoutStep::Input() const
{
    LayoutInput in;
    static_cast<DisplaySwitches&>(in) = t_.switches;
    const ViewSettings& s = t_.settings;
    in.DefaultStartHour = s.DefaultStartHour;
    in.TaskAreaWidth = s.TaskAreaWidth;
    in.InfoAreaHeight = s.InfoAreaHeight;
    in.InfoAreaWidth = s.InfoAreaWidth;
    in.MainFontSize = s.draw.MainFontSize;
    in.DetailFontSize = s.draw.DetailFontSize;
    in.DispWeekCount = s.DispWeekCount;
    in.dateColumnWidth = dateColumnWidth_;
    in.firstHour = t_.hours.firstHour;
    in.currentHour = GetLocalTime().wHour;
    in.previousPortrait = previousPortrait_;
    in.recomputeFirstHour = t_.hours.recompute;
    return in;
}

void LayoutStep::Run(QSize client, const QFont& mainFont)
{
    const QFontMetrics metrics(mainFont);
    dateColumnWidth_ = metrics.horizontalAdvance(QString::asprintf("%.2d/%.2d ", 12, 31) +
                                                 QString::fromStdWString(WeekdayName(3, true))) +
                       3;
    t_.layout = ViewLayout::Compute(client.width(), client.height(), Input());
    t_.hours.firstHour = t_.layout.firstHour;
    previousPortrait_ = t_.layout.portrait;
    t_.hours.recompute = false;
    // More rows (the grid, a taller window) can reach past the loaded window: load around them.
    const int previousRows = shownRows_;
    shownRows_ = t_.layout.dayRowCount;
    t_.schedule.SetShownDayCount(shownRows_);
    if (shownRows_ > previousRows && !t_.schedule.SetShownStart(t_.schedule.GetShownStart())) {
        t_.reload();
    }
}
