// What the pointer and clipboard handling works on: the view it serves, as laid out and drawn
// now. The view implements it; besides it the handling sees only the view's widget (repaints,
// the cursor, the menu's place).
#pragma once

#include "platform/command_table.h"
#include "platform/systemtime.h"
#include "view/gantt_geometry.h"
#include "view/paint_context.h"
#include "view/task_detail_painter.h"
#include "view/view_layout.h"
#include "view/view_resources.h"
#include "view/view_settings.h"
#include "view/view_state.h"

class QPainter;
class ScheduleSource;

class ViewEditingHost {
public:
    virtual const ViewLayout& Layout() const = 0;
    virtual const ViewSettings& Settings() const = 0;
    virtual const ViewResources& Resources() const = 0;
    virtual const CommandTable& Commands() const = 0;
    virtual ScheduleSource& EditedSchedule() = 0;
    virtual ViewState& State() = 0;
    virtual int SelectedRow() const = 0;
    // The selected day's detail lines as drawn now.
    virtual const DetailLines& CurrentDetailLines() = 0;
    virtual PaintContext MakePaintContext(QPainter& painter,
                                          const GanttGeometry& geometry) const = 0;

    // Layout for the widget's own size, before input is mapped to rows and buttons.
    virtual void Relayout() = 0;
    // What follows any key or button: commands' states, the focus frames, a repaint.
    virtual void AfterAction() = 0;
    virtual void UpdateDetail() = 0;
    virtual void UpdateFramesAndDetail() = 0;
    virtual void ClearItemSelection() = 0;
    virtual void OnUpdate() = 0;
    virtual bool ButtonAction(int index) = 0;
    virtual void SelectDetailLine(int line) = 0;
    virtual void SelectDate(const SYSTEMTIME& date) = 0;
    virtual void SelectHourAt(int x) = 0;

protected:
    ~ViewEditingHost() = default;
};
