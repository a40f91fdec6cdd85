// Function > "Print..." and "Export as PDF...": the shown period on paper, through a preview and
// the printer dialog, or as a PDF file the user names.
#pragma once

class CTamberloView;
class DialogRunner;
class MessageService;
class SettingsFileChooser;

class PrintCommands {
public:
    PrintCommands(CTamberloView& view, DialogRunner& dialogs, MessageService& messages);

    // The preview, whose print button asks for the printer.
    void Print();
    // A file from `files`, then the pages written to it; a cancelled choice does nothing.
    void ExportPdf(SettingsFileChooser& files);

private:
    CTamberloView& view_;
    DialogRunner& dialogs_;
    MessageService& messages_;
};
