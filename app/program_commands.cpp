// Handlers of the editor and settings-dialog commands over the view's selection.
#include "app/program_commands.h"

#include "app/ical_commands.h"
#include "app/print_commands.h"
#include "app/tamberlo_app.h"
#include "dialogs/category_set_dlg.h"
#include "dialogs/keys_and_mouse_dlg.h"
#include "dialogs/settings_file_chooser.h"
#include "editors/appointment_editing.h"
#include "editors/task_editing.h"
#include "ical/meeting_reply.h"
#include "model/date_time.h"
#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "view/app_settings_view_store.h"
#include "view/keys_and_mouse.h"
#include "view/selected_hour.h"
#include "view/tamberlo_view.h"

namespace {

const QStringList kCalendarFilters{QStringLiteral("iCalendar (*.ics)")};
constexpr int64_t kSecondsPerHour = 3600;

} // namespace

ProgramCommands::ProgramCommands(EditorServices& services, PimSession& session,
                                 CTamberloDoc& document, CTamberloView& view)
    : document_(document), view_(view),
      services_(services), context_{services.settings, services.messages, services.dialogs, &view},
      files_(std::make_unique<QtSettingsFileChooser>(services.dialogs)),
      calendarToOpen_(
          std::make_unique<QtSettingsFileChooser>(services.dialogs, kCalendarFilters, false)),
      calendarToSave_(
          std::make_unique<QtSettingsFileChooser>(services.dialogs, kCalendarFilters, true)),
      calendars_(std::make_unique<IcalCommands>(session, document, view, services.messages)),
      pdfToSave_(std::make_unique<QtSettingsFileChooser>(
          services.dialogs,
          QStringList{QString::fromStdWString(res::LoadString(res::IDS_PDF_FILTER))}, true)),
      print_(std::make_unique<PrintCommands>(view, services.dialogs, services.messages))
{
}

ProgramCommands::~ProgramCommands() = default;

void ProgramCommands::Attach(CTamberloApp& app)
{
    AttachItemCommands();
    AttachSettingsCommands();
    app.SetCommandHandler(cmd::ID_HOLIDAY_SET, [this] {
        if (RunHolidaySettingDialog(context_)) {
            document_.Reload(); // the new rules colour the days at once
            view_.ItemsChanged();
        }
    });
    // The view keeps a copy of the settings it works with (the digit keys among them), so it
    // reads them again after every settings dialog.
    app.SetCommandHandler(cmd::ID_FUNC_KEY_SET, [this] {
        RunFuncKeyDialog(context_);
        view_.SettingsChanged();
    });
    app.SetCommandHandler(cmd::ID_APP_ABOUT, [this] { RunAboutDialog(context_); });
    app.SetCommandHandler(cmd::ID_KEYS_AND_MOUSE, [this] {
        const keys::HardwareKeys assigned =
            AppSettingsViewStore(services_.settings).Read().hardwareKeys;
        CKeysAndMouseDlg::Run(services_.dialogs, KeysAndMouse(assigned), context_.parent);
    });
    app.SetCommandHandler(cmd::ID_IMPORT_ICALENDAR,
                          [this] { calendars_->ImportChosen(*calendarToOpen_); });
    calendars_->KeepStepsIn(app.Undo());
    app.SetCommandHandler(cmd::ID_EXPORT_ICALENDAR,
                          [this] { calendars_->ExportChosen(*calendarToSave_); });
    app.SetCommandHandler(cmd::ID_PRINT, [this] { print_->Print(); });
    app.SetCommandHandler(cmd::ID_EXPORT_PDF, [this] { print_->ExportPdf(*pdfToSave_); });
}

void ProgramCommands::OfferImport(const std::string& path)
{
    calendars_->OfferImport(path);
}

void ProgramCommands::AttachItemCommands()
{
    // An hour the user selected is where the new hour goes; without one, the next full hour.
    view_.SetCommandHandler(cmd::ID_ADD_APPOINT, [this] {
        AppointmentEditing editing(services_);
        if (const std::optional<int> hour = view_.SelectedHour()) {
            const DATE start = HourStart(view_.SelectedDate(), *hour);
            Refresh(editing.AddBetween(start, AddSeconds(start, kSecondsPerHour)));
        } else {
            Refresh(editing.Add(view_.SelectedDate()));
        }
    });
    view_.SetCommandHandler(cmd::ID_ADD_TASK, [this] { Refresh(TaskEditing(services_).Add()); });
    view_.SetCommandHandler(cmd::ID_EDIT_APPOINT, [this] {
        Refresh(AppointmentEditing(services_).Edit(view_.SelectedRow(), view_.Selection().index));
    });
    view_.SetCommandHandler(cmd::ID_EDIT_TASK, [this] {
        Refresh(TaskEditing(services_).Edit(view_.SelectedRow(), view_.Selection().index));
    });
    view_.SetCommandHandler(cmd::ID_COMPLETE_TASK, [this] { CompleteSelected(); });
    view_.SetCommandHandler(cmd::ID_DELETE_ITEM, [this] { DeleteSelected(); });
    const std::pair<int, const char*> answers[] = {{cmd::ID_MEETING_ACCEPT, ical::kAccepted},
                                                   {cmd::ID_MEETING_TENTATIVE, ical::kTentative},
                                                   {cmd::ID_MEETING_DECLINE, ical::kDeclined}};
    for (const auto& [id, partstat] : answers) {
        view_.SetCommandHandler(id, [this, answer = std::string(partstat)] {
            Refresh(AppointmentEditing(services_).Answer(view_.SelectedRow(),
                                                         view_.Selection().index, answer));
        });
    }
}

void ProgramCommands::AttachSettingsCommands()
{
    view_.SetCommandHandler(cmd::ID_JUMP_TO_DAY, [this] {
        if (const auto date = RunDaySelDialog(context_, view_.SelectedDate())) {
            view_.JumpTo(*date);
        } else {
            view_.update();
        }
    });
    // A settings file read from the dialog counts even when the dialog is cancelled.
    view_.SetCommandHandler(cmd::ID_ENVIRONMENT, [this] {
        RunEnvironmentDialog(context_, *files_);
        view_.SettingsChanged();
    });
    // A cancelled "Week and Color Set" still redraws with the colours as they are.
    view_.SetCommandHandler(cmd::ID_WEEK_COLOR_SET, [this] {
        RunWeekColorDialog(context_);
        view_.SettingsChanged();
    });
    view_.SetCommandHandler(cmd::ID_CHARACTER_SET, [this] {
        RunCharSetDialog(context_);
        view_.SettingsChanged();
    });
    view_.SetCommandHandler(cmd::ID_CATEGORY_SET, [this] {
        CCategorySetDlg::Run(services_.settings, services_.dialogs, services_.messages, &view_);
        view_.SettingsChanged();
    });
}

void ProgramCommands::DeleteSelected()
{
    const ItemSelection& selected = view_.Selection();
    if (!selected.IsStoreItem()) {
        return;
    }
    const int row = view_.SelectedRow();
    Refresh(selected.kind == ItemKind::Task
                ? TaskEditing(services_).Delete(row, selected.index)
                : AppointmentEditing(services_).Delete(row, selected.index));
}

void ProgramCommands::CompleteSelected()
{
    Refresh(TaskEditing(services_).Complete(view_.SelectedRow(), view_.Selection().index));
}

void ProgramCommands::Refresh(Redraw redraw)
{
    if (redraw != Redraw::kNothing) {
        view_.ItemsChanged();
    }
}
