// Importing and exporting iCalendar files: the Tool menu's two commands and the .ics files named
// on the command line. An import lands in the store, then the document and the view catch up.
#pragma once

#include <string>

class CTamberloDoc;
class CTamberloView;
class MessageService;
class PimSession;
class SettingsFileChooser;
class UndoStack;

class IcalCommands {
public:
    IcalCommands(PimSession& session, CTamberloDoc& document, CTamberloView& view,
                 MessageService& messages);

    // The Tool menu: a file from `files`, then Import or Export on it; a cancelled choice does
    // nothing.
    void ImportChosen(SettingsFileChooser& files);
    void ExportChosen(SettingsFileChooser& files);
    // Imports the file and shows the summary with the first notes.
    void Import(const std::string& path);
    // Writes the whole store; a file that cannot be written is reported.
    void Export(const std::string& path);
    // A file from the command line: asks how many items it would add, imports after OK.
    void OfferImport(const std::string& path);
    // Each import becomes one undo step there: undo removes what it added and puts back what
    // it replaced.
    void KeepStepsIn(UndoStack* undo) { undo_ = undo; }

private:
    PimSession& session_;
    CTamberloDoc& document_;
    CTamberloView& view_;
    MessageService& messages_;
    UndoStack* undo_ = nullptr;
};
