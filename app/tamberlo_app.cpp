// Start-up and shutdown. The handheld's socket-layer start-up has no counterpart here: Qt's
// network needs none, so that step is left out rather than faked.
#include "app/tamberlo_app.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <utility>

#include "app/calendar_commands.h"
#include "app/find_commands.h"
#include "app/main_frame.h"
#include "app/program_commands.h"
#include "app/store_watch.h"
#include "app/sync_commands.h"
#include "app/undo_commands.h"
#include "dialogs/sync_access.h"
#include "editors/appointment_editing.h"
#include "editors/editor_services.h"
#include "editors/task_editing.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "model/undo_stack.h"
#include "platform/message_service.h"
#include "platform/pim/application.h"
#include "platform/profile.h"
#include "platform/program_instance.h"
#include "platform/reminder_instance.h"
#include "res/command_ids.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "settings/settings_persistence.h"
#include "sync/subscription.h"
#include "view/accessible_schedule.h"
#include "view/app_settings_view_store.h"
#include "view/document_schedule.h"
#include "view/tamberlo_view.h"

namespace {

// The window's place and size: the program's own value, in a section apart from the settings.
constexpr wchar_t kWindowSection[] = L"Window";
constexpr wchar_t kWindowGeometry[] = L"Geometry";
// Whether the Calendars list is open, and on which side.
constexpr wchar_t kWindowDocks[] = L"Docks";

using ConnectionEvent = PimSession::ConnectionEvent;

} // namespace

CTamberloApp::CTamberloApp(AppEnvironment environment)
    : environment_(std::move(environment)), settings_(std::make_unique<AppSettings>())
{
}

// The sync goes first: its round and the store watch's own-write call must not outlive it.
CTamberloApp::~CTamberloApp()
{
    syncCommands_.reset();
}

void CTamberloApp::AddCommands()
{
    for (int id : {cmd::ID_HOLIDAY_SET, cmd::ID_FUNC_KEY_SET, cmd::ID_APP_ABOUT,
                   cmd::ID_KEYS_AND_MOUSE, cmd::ID_PRINT, cmd::ID_EXPORT_PDF}) {
        commands_.Add(id, {});
    }
}

void CTamberloApp::SetCommandHandler(int id, CommandTable::Handler handler)
{
    commands_.SetHandler(id, std::move(handler));
    if (frame_) {
        frame_->UpdateCommands();
    }
}

AppEnvironment CTamberloApp::DefaultEnvironment()
{
    AppEnvironment environment{Profile::DefaultPath(), {}, nullptr};
    environment.joinSession = true;
    environment.secretStore = true;
    return environment;
}

bool CTamberloApp::InitInstance()
{
    QCoreApplication::setOrganizationName("Velloran");
    QCoreApplication::setApplicationName("Tamberlo");
    if (environment_.joinSession && !ClaimOrHandOver()) {
        return false;
    }
    profile_ = std::make_unique<Profile>(environment_.profilePath);
    LoadSettings(*settings_, *profile_);
    if (profile_->Unusable() && (environment_.messages != nullptr)) {
        environment_.messages->MessageBox(
            res::LoadString(res::IDS_PROFILE_NOT_READ,
                            QString::fromStdString(environment_.profilePath).toStdWString()),
            res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }

    const std::string storePath = environment_.storePath.empty()
                                      ? pim::Application::DefaultStorePath()
                                      : environment_.storePath;
    session_ = std::make_unique<PimSession>(storePath, OccurrenceOnDay);
    storeWatch_ = std::make_unique<StoreWatch>(storePath);
    session_->SetConnectionObserver([watch = storeWatch_.get()](ConnectionEvent event) {
        if (event == ConnectionEvent::Opening) {
            watch->OwnConnectionOpening();
        } else {
            watch->OwnConnectionClosed(event == ConnectionEvent::ClosedAfterOthersWrote);
        }
    });
    documentSettings_ = std::make_unique<AppSettingsDocument>(*settings_);
    doc_ = std::make_unique<CTamberloDoc>(*session_, *documentSettings_, environment_.messages);
    schedule_ = std::make_unique<DocumentSchedule>(*doc_);
    viewSettings_ = std::make_unique<AppSettingsViewStore>(*settings_);

    AddCommands();
    frame_ = std::make_unique<CMainFrame>([this] { SaveSettingsAtExit(); },
                                          [] { QCoreApplication::exit(0); });
    // Before the view exists, so a screen reader's first look already finds the schedule's parts.
    InstallScheduleAccessibility();
    auto* view = new CTamberloView(*schedule_, *viewSettings_, frame_.get());
    router_.Append(&view->Commands());
    router_.Append(&frame_->Commands());
    router_.Append(&commands_);
    frame_->SetView(view, &router_);
    AttachViewEditing(storePath, *view);
    findCommands_ = std::make_unique<FindCommands>(storePath, *frame_, *view);
    findCommands_->AddTo(commands_);
    calendarCommands_ =
        std::make_unique<CalendarCommands>(*doc_, environment_.messages, *frame_, *view);
    calendarCommands_->AddTo(commands_);
    frame_->UpdateCommands(); // the rows added since the view was set become enabled
    storeWatch_->SetOnChange([view] { return view->StoreChanged(); });
    AttachSync(storePath, *view);
    // The editors and dialogs need someone to ask and a way to show themselves.
    if (editorServices_) {
        programCommands_ =
            std::make_unique<ProgramCommands>(*editorServices_, *session_, *doc_, *view);
        programCommands_->Attach(*this);
    }
    frame_->PlaceWindow(
        QString::fromStdWString(profile_->GetString(kWindowSection, kWindowGeometry, {}))
            .toStdString());
    frame_->PlaceDocks(
        QString::fromStdWString(profile_->GetString(kWindowSection, kWindowDocks, {}))
            .toStdString());
    frame_->show();
    started_ = true;
    OfferCalendarImports(environment_.arguments);
    OfferCalendarImports(std::exchange(openedDuringStart_, {}));
    if (environment_.joinSession) {
        StartReminders(storePath);
    }
    return true;
}

// One window per user. The name is taken before anything is shown, in one step with the bus:
// taken after the window (as it once was), two starts close together both found it free and
// both stayed. A second start hands its files (by absolute path, as its folder is not the
// running copy's) to the one holding the name, and ends without a window.
bool CTamberloApp::ClaimOrHandOver()
{
    const QDBusConnection bus = SessionBus();
    programInstance_ = std::make_unique<ProgramInstance>(
        [this](const SYSTEMTIME& day) {
            if (started_) {
                frame_->ShowDay(day);
            }
        },
        [this](const QStringList& arguments) {
            std::vector<std::string> files;
            for (const QString& argument : arguments) {
                files.push_back(argument.toStdString());
            }
            if (started_) {
                OpenFromAnotherStart(files);
            } else {
                openedDuringStart_.insert(openedDuringStart_.end(), files.begin(), files.end());
            }
        });
    if (programInstance_->Claim(bus)) {
        return true;
    }
    programInstance_.reset();
    QStringList arguments;
    for (const std::string& argument : environment_.arguments) {
        const QString given = QString::fromStdString(argument);
        arguments.append(
            caldav::IsSubscriptionArgument(given) ? given : QFileInfo(given).absoluteFilePath());
    }
    // Without a bus, or a holder that does not answer, this copy runs on its own.
    return !ProgramInstance::HandOver(bus, arguments);
}

QDBusConnection CTamberloApp::SessionBus() const
{
    return environment_.busAddress.empty()
               ? QDBusConnection::sessionBus()
               : QDBusConnection::connectToBus(QString::fromStdString(environment_.busAddress),
                                               QStringLiteral("tamberlo-program"));
}

// Best effort: without a session bus the program still runs, without reminders.
void CTamberloApp::StartReminders(const std::string& storePath)
{
    ReminderInstance::StartIfNotRunning(
        SessionBus(),
        ReminderInstance::ProgramBeside(QStringLiteral("tamberlo-reminders"),
                                        QStringLiteral("../tools/reminders")),
        {QStringLiteral("--store"), QString::fromStdString(storePath)});
}

void CTamberloApp::AttachSync(const std::string& storePath, CTamberloView& view)
{
    if (!environment_.network.round || (environment_.messages == nullptr) ||
        (environment_.dialogs == nullptr)) {
        return;
    }
    syncCommands_ = std::make_unique<SyncCommands>(SyncCommands::Services{
        storePath, *profile_, *environment_.messages, *environment_.dialogs, *frame_,
        [&view] { return view.StoreChanged(); }, environment_.network, environment_.secretStore});
    syncCommands_->AddTo(commands_);
    storeWatch_->SetOnOwnWrite([this] {
        if (syncCommands_) {
            syncCommands_->LocalChange();
        }
    });
    frame_->UpdateCommands();
}

// The user's own addresses, read afresh each time a meeting asks: the accounts and the typed
// line may have changed since the last.
ical::OwnAddresses CTamberloApp::OwnAddressesNow(const std::string& storePath) const
{
    std::vector<pim::SyncAccount> accounts;
    WithSyncLedger(storePath,
                   [&accounts](pim::SyncLedger& ledger) { return ledger.Accounts(accounts); });
    return caldav::OwnAddresses(*profile_, accounts);
}

void CTamberloApp::AttachViewEditing(const std::string& storePath, CTamberloView& view)
{
    edits_ = std::make_unique<ScheduleEdits>(*doc_, *session_);
    undo_ = std::make_unique<UndoStack>(*edits_);
    ViewEditServices services{edits_.get(), environment_.messages, {}, {}, undo_.get()};
    if (environment_.messages != nullptr) {
        undoCommands_ =
            std::make_unique<UndoCommands>(*undo_, *edits_, *environment_.messages, view);
        undoCommands_->AddTo(commands_);
    }
    if ((environment_.messages != nullptr) && (environment_.dialogs != nullptr)) {
        editorServices_ = std::make_unique<EditorServices>(EditorServices{
            *settings_, *environment_.messages, *environment_.dialogs, *edits_, &view,
            [this, storePath] { return OwnAddressesNow(storePath); }, nullptr, undo_.get()});
        services.confirmMeetingMove = [this](const std::string& kept) {
            return ConfirmMeetingTimeChange(*environment_.messages, kept,
                                            OwnAddressesOf(*editorServices_));
        };
        services.addAppointment = [this](DATE first, DATE second) {
            return AppointmentEditing(*editorServices_).AddBetween(first, second);
        };
        services.addTask = [this](DATE first, DATE second) {
            return TaskEditing(*editorServices_).AddBetween(first, second);
        };
    }
    view.Editing().SetServices(std::move(services));
}

void CTamberloApp::OpenFromAnotherStart(const std::vector<std::string>& arguments)
{
    frame_->ComeToFront();
    OfferCalendarImports(arguments);
}

void CTamberloApp::OfferCalendarImports(const std::vector<std::string>& arguments)
{
    if (!programCommands_) {
        return;
    }
    for (const std::string& argument : arguments) {
        const QString given = QString::fromStdString(argument);
        if (caldav::IsSubscriptionArgument(given)) {
            if (syncCommands_) {
                syncCommands_->OfferSubscription(given);
            }
        } else if (given.endsWith(QStringLiteral(".ics"), Qt::CaseInsensitive)) {
            programCommands_->OfferImport(argument);
        }
    }
}

bool CTamberloApp::SaveSettings()
{
    if (frame_) {
        profile_->WriteString(kWindowSection, kWindowGeometry,
                              QString::fromStdString(frame_->SavedGeometry()).toStdWString());
        profile_->WriteString(kWindowSection, kWindowDocks,
                              QString::fromStdString(frame_->SavedDocks()).toStdWString());
    }
    return ::SaveSettings(*settings_, *profile_);
}

void CTamberloApp::SaveSettingsAtExit()
{
    if (SaveSettings() || unsavedReported_ || (environment_.messages == nullptr)) {
        return;
    }
    unsavedReported_ = true;
    const QString text = QString::fromStdWString(res::LoadString(res::IDS_SETTINGS_NOT_SAVED))
                             .arg(QString::fromStdString(environment_.profilePath));
    environment_.messages->MessageBox(text.toStdWString(), res::LoadString(res::IDS_WARNING),
                                      MB_OK | MB_ICONEXCLAMATION);
}
