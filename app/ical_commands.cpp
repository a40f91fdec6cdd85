// The iCalendar commands over the store session, with their summaries and warnings.
#include "app/ical_commands.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QWidget>
#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "dialogs/settings_controls.h"
#include "dialogs/settings_file_chooser.h"
#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "ical/ical_text.h"
#include "model/tamberlo_doc.h"
#include "model/undo_stack.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "view/tamberlo_view.h"

namespace {

constexpr size_t kNotesShown = 20;
// Files from this size on (roughly a tenth of a second of work) show a progress dialog at once;
// smaller ones are done before a dialog could be read.
constexpr qint64 kProgressFromBytes = qint64{256} * 1024;
constexpr int kProgressSteps = 1000;

std::wstring Wide(const std::string& text)
{
    return QString::fromStdString(text).toStdWString();
}

// A modal progress dialog for a large file; the import asks it after every component whether
// to go on.
class ImportProgress {
public:
    ImportProgress(QWidget* parent, const std::string& path)
    {
        const QFileInfo file(QString::fromStdString(path));
        size_ = file.size();
        if (size_ < kProgressFromBytes) {
            return;
        }
        dialog_.emplace(Text(res::IDS_IMPORTING).arg(file.fileName()), QString(), 0, kProgressSteps,
                        parent);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoReset(false);
        dialog_->setValue(0);
    }

    bool CarryOn(uint64_t bytesRead)
    {
        if (!dialog_) {
            return true;
        }
        const double done = static_cast<double>(bytesRead) / static_cast<double>(size_);
        // The dialog runs the events (the Cancel button) only when its value changes.
        dialog_->setValue(std::clamp(static_cast<int>(done * kProgressSteps), 1, kProgressSteps));
        return !dialog_->wasCanceled();
    }

private:
    qint64 size_ = 0;
    std::optional<QProgressDialog> dialog_;
};

} // namespace

IcalCommands::IcalCommands(PimSession& session, CTamberloDoc& document, CTamberloView& view,
                           MessageService& messages)
    : session_(session), document_(document), view_(view), messages_(messages)
{
}

void IcalCommands::ImportChosen(SettingsFileChooser& files)
{
    const std::string path = files.Choose(&view_);
    if (!path.empty()) {
        Import(path);
    }
}

void IcalCommands::ExportChosen(SettingsFileChooser& files)
{
    const std::string path = files.Choose(&view_);
    if (!path.empty()) {
        Export(path);
    }
}

void IcalCommands::Import(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    ical::ImportOptions options;
    options.today = GetLocalTime();
    ImportProgress progress(&view_, path);
    options.carryOn = [&progress](uint64_t bytesRead) { return progress.CarryOn(bytesRead); };
    const std::vector<pim::StoredItem> before =
        undo_ != nullptr ? StoredItems(session_) : std::vector<pim::StoredItem>();
    const ical::ImportReport report = ical::ImportCalendar(in, session_, options);
    const bool failed = !report.cancelled && (report.status < 0 || !report.sawCalendar);
    if (undo_ != nullptr && !report.cancelled && !failed) {
        const std::wstring file = QFileInfo(QString::fromStdString(path)).fileName().toStdWString();
        undo_->Push({UndoAction::kImport, file}, ChangesBetween(before, StoredItems(session_)));
    }
    document_.Reload();
    view_.ItemsChanged();
    if (report.status >= 0 && !report.sawCalendar) {
        messages_.MessageBox(
            Text(res::IDS_NO_CALENDAR).arg(QString::fromStdString(path)).toStdWString(),
            res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::wstring text = report.cancelled ? res::LoadString(res::IDS_IMPORT_CANCELLED)
                                         : Wide(ical::SummaryLine(report));
    for (size_t i = 0; !report.cancelled && i < report.notes.size() && i < kNotesShown; ++i) {
        text += L"\n" + Wide(report.notes[i]);
    }
    // A store that refused the import is a failure, not news.
    messages_.MessageBox(text, res::LoadString(failed ? res::IDS_WARNING : res::IDS_IMPORT),
                         MB_OK | (failed ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

void IcalCommands::Export(const std::string& path)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ical::ExportOptions options;
    options.now = GetLocalTime();
    const ical::ExportReport report =
        out ? ical::ExportCalendar(session_, options, out) : ical::ExportReport{};
    out.close();
    if (!out || report.status < 0) {
        messages_.MessageBox(
            Text(res::IDS_CANNOT_WRITE).arg(QString::fromStdString(path)).toStdWString(),
            res::LoadString(res::IDS_WARNING), MB_OK | MB_ICONEXCLAMATION);
    }
}

void IcalCommands::OfferImport(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> notes;
    int appointments = 0;
    int tasks = 0;
    for (const pim::StoredItem& item : ical::ReadCalendarItems(text.str(), notes)) {
        ++(item.kind == pim::kTaskKind ? tasks : appointments);
    }
    const std::wstring question =
        Text(res::IDS_IMPORT_QUESTION)
            .arg(QString::fromStdString(ical::Counted(appointments, "appointment")),
                 QString::fromStdString(ical::Counted(tasks, "task")))
            .toStdWString();
    if (messages_.MessageBox(question, res::LoadString(res::IDS_CONFIRM),
                             MB_OKCANCEL | MB_ICONINFORMATION) == IDOK) {
        Import(path);
    }
}
