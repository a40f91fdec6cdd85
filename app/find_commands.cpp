// Each search opens the store read-only for itself and reads it at the clock's "now" as the
// window had it when the text was typed, so the next upcoming match is the one selected first.
#include "app/find_commands.h"

#include "app/main_frame.h"
#include "dialogs/worker_job.h"
#include "model/calendar_find.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "res/command_ids.h"
#include "view/tamberlo_view.h"

FindCommands::FindCommands(std::string storePath, CMainFrame& frame, CTamberloView& view)
    : storePath_(std::move(storePath)), view_(view), worker_(std::make_unique<WorkerJob>()),
      bar_(new FindBar(
          [this](const std::wstring& text, bool hiddenToo, FindBar::Answer answer) {
              Search({text, hiddenToo, std::move(answer)});
          },
          [this](const FoundItem& found) { Show(found); }, &frame))
{
    bar_->hide();
    frame.AddBarAboveView(bar_);
}

FindCommands::~FindCommands() = default;

void FindCommands::AddTo(CommandTable& table)
{
    table.Add(cmd::ID_FIND, [this] { bar_->Open(); });
    table.Add(cmd::ID_FIND_NEXT, [this] { bar_->Step(1); });
    table.Add(cmd::ID_FIND_PREVIOUS, [this] { bar_->Step(-1); });
}

void FindCommands::Search(Request request)
{
    next_ = std::move(request);
    StartNext();
}

void FindCommands::StartNext()
{
    if (!next_ || worker_->Busy()) {
        return;
    }
    const Request asked = std::move(*next_);
    next_.reset();
    auto found = std::make_shared<FoundItems>();
    worker_->Start(
        [found, path = storePath_, text = asked.text, hiddenToo = asked.hiddenToo,
         now = GetLocalTime()] {
            PimSession session(path, OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
            *found = FindInCalendar(session, text, now, {hiddenToo, {}});
        },
        [this, found, answer = asked.answer] {
            answer(std::move(*found));
            StartNext();
        });
}

// An undated task is listed on today's row.
void FindCommands::Show(const FoundItem& found)
{
    const bool dated = found.when != pim::kNoDate;
    view_.JumpTo(dated ? VariantTimeToSystemTime(found.when) : GetLocalTime());
    const std::wstring oid = PimSession::OidField(found.item.oid);
    const ItemKind kind =
        found.item.kind == pim::kTaskKind ? ItemKind::Task : ItemKind::Appointment;
    view_.SelectItem(kind, oid);
}
