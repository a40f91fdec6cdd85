// The preview draws the pages again whenever the user changes the printer or the paper, so the
// hours always fit the paper chosen.
#include "app/print_commands.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

#include "dialogs/settings_file_chooser.h"
#include "platform/dialog_runner.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "view/schedule_print.h"
#include "view/tamberlo_view.h"

PrintCommands::PrintCommands(CTamberloView& view, DialogRunner& dialogs, MessageService& messages)
    : view_(view), dialogs_(dialogs), messages_(messages)
{
}

void PrintCommands::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(DefaultPrintPage());
    printer.setResolution(kPrintDotsPerInch);
    QPrintPreviewDialog preview(&printer, &view_);
    const PrintJob job = view_.ShownPeriodPrintJob();
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&job](QPrinter* target) { PrintSchedule(*target, job); });
    dialogs_.Run(preview);
}

void PrintCommands::ExportPdf(SettingsFileChooser& files)
{
    std::string path = files.Choose(&view_);
    if (path.empty()) {
        return;
    }
    if (!QString::fromStdString(path).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        path += ".pdf";
    }
    if (!WriteSchedulePdf(view_.ShownPeriodPrintJob(), path)) {
        messages_.MessageBox(QString::fromStdWString(res::LoadString(res::IDS_CANNOT_WRITE))
                                 .arg(QString::fromStdString(path))
                                 .toStdWString(),
                             res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }
}
