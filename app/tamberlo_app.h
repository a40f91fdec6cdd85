// The application object: start-up in the program's order (profile root, settings, document,
// frame and view), the application-level commands, and the settings saved on the way out.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QDBusConnection>

#include "app/sync_rounds.h"
#include "ical/item_meeting.h"
#include "platform/command_table.h"

class AppSettings;
class AppSettingsDocument;
class AppSettingsViewStore;
class CMainFrame;
class CTamberloDoc;
class CTamberloView;
class DialogRunner;
class MessageService;
class DocumentSchedule;
class PimSession;
class CalendarCommands;
class FindCommands;
class ScheduleEdits;
class StoreWatch;
class SyncCommands;
class UndoCommands;
class UndoStack;
struct EditorServices;
class Profile;
class ProgramCommands;
class ProgramInstance;

// Where the program keeps its data and whom it asks; tests pass temporary paths and a
// scripted message service and dialog runner.
struct AppEnvironment {
    std::string profilePath;
    std::string storePath; // empty: the user's own store
    MessageService* messages = nullptr;
    DialogRunner* dialogs = nullptr; // how modal dialogs are shown
    // Hand the command line to a running copy and end; else start the reminder program when
    // none runs, and answer its "Open" and later starts' command lines on the session bus.
    bool joinSession = false;
    std::vector<std::string> arguments{}; // the command line after the program's name
    std::string busAddress{};             // empty: the user's session bus
    // How sync reaches calendar servers; without a round, Sync Now and Calendar Accounts stay
    // disabled.
    SyncNetwork network{};
    bool secretStore = false; // passwords in the desktop's secret store, else for the run only
};

class CTamberloApp {
public:
    explicit CTamberloApp(AppEnvironment environment);
    ~CTamberloApp();
    CTamberloApp(const CTamberloApp&) = delete;
    CTamberloApp& operator=(const CTamberloApp&) = delete;

    // The environment of a normal run: the user's profile and store, Qt message boxes.
    static AppEnvironment DefaultEnvironment();

    // Runs the start-up; false ends the program at once.
    bool InitInstance();
    // Writes every setting to the profile; a profile that cannot be written is not fatal.
    bool SaveSettings();
    // The save at the end of the run (Exit, closing the window): when the profile cannot be
    // written, one Warning names its file, so no change is lost in silence.
    void SaveSettingsAtExit();

    CMainFrame* MainFrame() const { return frame_.get(); }
    AppSettings& Settings() const { return *settings_; }
    CTamberloDoc* Document() const { return doc_.get(); }
    // The application's own commands (Holiday Set, Func Key Set, Version Info, Keys and
    // Mouse): last in the chain. Their dialogs attach here; until then the commands stay
    // disabled.
    const CommandTable& Commands() const { return commands_; }
    void SetCommandHandler(int id, CommandTable::Handler handler);
    // The window's undo stack; null before start-up.
    UndoStack* Undo() const { return undo_.get(); }
    // Sync Now and the calendar accounts; null without a network.
    SyncCommands* Sync() const { return syncCommands_.get(); }

private:
    void AddCommands();
    // Drags and pastes of the view save through the change path; a sweep opens the editor.
    void AttachViewEditing(const std::string& storePath, CTamberloView& view);
    ical::OwnAddresses OwnAddressesNow(const std::string& storePath) const;
    // The .ics files of a command line, each imported once the user agrees, and its web
    // addresses, each subscribed to once the user agrees; the rest is ignored.
    void OfferCalendarImports(const std::vector<std::string>& arguments);
    // Another start's command line: its calendars are offered, and the window comes to the
    // front.
    void OpenFromAnotherStart(const std::vector<std::string>& arguments);
    QDBusConnection SessionBus() const;
    // Takes the program's name on the session bus; false when a running copy took this start's
    // command line instead, and this one is to end.
    bool ClaimOrHandOver();
    void StartReminders(const std::string& storePath);
    void AttachSync(const std::string& storePath, CTamberloView& view);

    AppEnvironment environment_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<Profile> profile_;
    // The schedule: the store session, the document over it and what the view reads of both.
    std::unique_ptr<PimSession> session_;
    std::unique_ptr<StoreWatch> storeWatch_; // before the first load, so no change is missed
    std::unique_ptr<AppSettingsDocument> documentSettings_;
    std::unique_ptr<CTamberloDoc> doc_;
    std::unique_ptr<DocumentSchedule> schedule_;
    std::unique_ptr<AppSettingsViewStore> viewSettings_;
    std::unique_ptr<ScheduleEdits> edits_;
    std::unique_ptr<UndoStack> undo_; // every change of the window's life, until it closes
    std::unique_ptr<UndoCommands> undoCommands_;
    std::unique_ptr<FindCommands> findCommands_;
    std::unique_ptr<CalendarCommands> calendarCommands_;
    std::unique_ptr<EditorServices> editorServices_;
    CommandTable commands_;
    CommandRouter router_;
    std::unique_ptr<CMainFrame> frame_;                // the view it owns reads everything above
    std::unique_ptr<ProgramCommands> programCommands_; // handlers over the frame's view
    std::unique_ptr<ProgramInstance> programInstance_; // this program on the session bus
    std::unique_ptr<SyncCommands> syncCommands_;       // its rounds reload the frame's view
    bool started_ = false; // the window is up: another start's requests go to it
    std::vector<std::string> openedDuringStart_; // files handed over before that
    bool unsavedReported_ = false; // Exit and the window's close both save; one warning is enough
};
