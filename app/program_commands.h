// The commands that open the item editors and the settings dialogs: each handler reads what the
// view has selected, runs its editor or dialog, and tells the view what to refresh. Kept apart
// from the application object so start-up reads at a glance.
#pragma once

#include <memory>
#include <string>

#include "dialogs/settings_commands.h"
#include "editors/editor_services.h"
#include "model/schedule_edits.h"

class CTamberloApp;
class IcalCommands;
class PrintCommands;
class PimSession;
class CTamberloDoc;
class CTamberloView;
class QtSettingsFileChooser;

class ProgramCommands {
public:
    ProgramCommands(EditorServices& services, PimSession& session, CTamberloDoc& document,
                    CTamberloView& view);
    ~ProgramCommands();

    // Attaches every handler: the view's item and settings commands, and the application's
    // holiday, function-key and version commands.
    void Attach(CTamberloApp& app);
    // A .ics file named on the command line: imported once the user agrees.
    void OfferImport(const std::string& path);

private:
    void AttachItemCommands();
    void AttachSettingsCommands();
    void DeleteSelected();
    void CompleteSelected();
    void Refresh(Redraw redraw);

    CTamberloDoc& document_;
    CTamberloView& view_;
    EditorServices& services_;
    SettingsDialogContext context_;
    std::unique_ptr<QtSettingsFileChooser> files_;
    std::unique_ptr<QtSettingsFileChooser> calendarToOpen_;
    std::unique_ptr<QtSettingsFileChooser> calendarToSave_;
    std::unique_ptr<IcalCommands> calendars_;
    std::unique_ptr<QtSettingsFileChooser> pdfToSave_;
    std::unique_ptr<PrintCommands> print_;
};
