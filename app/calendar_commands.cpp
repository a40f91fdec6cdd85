// The dock lists the document's calendars again after every change the view reports, so a
// sync, an import or another program's change shows in it as it shows in the schedule.
#include "app/calendar_commands.h"

#include <QObject>

#include "app/main_frame.h"
#include "model/calendar_visibility.h"
#include "model/tamberlo_doc.h"
#include "platform/message_service.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "view/calendars_dock.h"
#include "view/tamberlo_view.h"

CalendarCommands::CalendarCommands(CTamberloDoc& document, MessageService* messages,
                                   CMainFrame& frame, CTamberloView& view)
    : document_(document), messages_(messages), view_(view),
      dock_(new CalendarsDock([this](int32_t calendar, bool shown) { Toggle(calendar, shown); },
                              &frame))
{
    frame.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    dock_->ShowCalendars(document_.Calendars());
    QObject::connect(&view_, &CTamberloView::CommandStateChanged, dock_,
                     [this] { dock_->ShowCalendars(document_.Calendars()); });
}

void CalendarCommands::AddTo(CommandTable& table)
{
    table.Add(
        cmd::ID_CALENDARS_LIST, [this] { ShowOrHide(); },
        [this](CommandUpdate& update) { update.checked = dock_->isVisible(); });
}

void CalendarCommands::ShowOrHide()
{
    dock_->ShowOrHide();
    if (!dock_->isVisible()) {
        view_.setFocus();
    }
}

void CalendarCommands::Toggle(int32_t calendar, bool shown)
{
    const std::wstring name = document_.CalendarName(calendar);
    if (SetCalendarShown(document_, calendar, shown) < 0 && messages_ != nullptr) {
        messages_->MessageBox(res::LoadString(res::IDS_CALENDAR_NOT_SAVED, name),
                              res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }
    // The list follows the reloaded document, which says what the store holds now.
    view_.ItemsChanged();
}
