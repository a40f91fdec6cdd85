// The bar asks the store on each keystroke at the clock's "now", so the next upcoming match is
// the one selected first.
#include "app/find_commands.h"

#include "app/main_frame.h"
#include "model/calendar_find.h"
#include "model/pim_session.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "view/find_bar.h"
#include "view/tamberlo_view.h"

FindCommands::FindCommands(PimSession& session, CMainFrame& frame, CTamberloView& view)
    : view_(view),
      bar_(new FindBar(
          [&session](const std::wstring& text, bool hiddenToo) {
              return FindInCalendar(session, text, GetLocalTime(), {hiddenToo, {}});
          },
          [this](const FoundItem& found) { Show(found); }, &frame))
{
    bar_->hide();
    frame.AddBarAboveView(bar_);
}

void FindCommands::AddTo(CommandTable& table)
{
    table.Add(cmd::ID_FIND, [this] { bar_->Open(); });
    table.Add(cmd::ID_FIND_NEXT, [this] { bar_->Step(1); });
    table.Add(cmd::ID_FIND_PREVIOUS, [this] { bar_->Step(-1); });
}

// An undated task is listed on today's row.
void FindCommands::Show(const FoundItem& found)
{
    const bool dated = found.when != pim::kNoDate;
    view_.JumpTo(dated ? VariantTimeToSystemTime(found.when) : GetLocalTime());
    const std::wstring oid = PimSession::OidField(found.item.oid);
    const ItemKind kind = found.item.kind == pim::kTaskKind ? ItemKind::Task : ItemKind::Appointment;
    view_.SelectItem(kind, oid);
}
