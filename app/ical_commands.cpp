// The iCalendar commands over the store session, with their summaries and warnings.
#include "app/ical_commands.h"

#include <QWidget>
#include <fstream>
#include <sstream>

#include "dialogs/settings_file_chooser.h"
#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "view/tamberlo_view.h"

namespace {

constexpr size_t kNotesShown = 20;

std::wstring Wide(const std::string& text) { return QString::fromStdString(text).toStdWString(); }

}  // namespace

IcalCommands::IcalCommands(PimSession& session, CTamberloDoc& document, CTamberloView& view,
                           MessageService& messages)
    : session_(session), document_(document), view_(view), messages_(messages)
{
}

void IcalCommands::ImportChosen(SettingsFileChooser& files)
{
    const std::string path = files.Choose(&view_);
    if (!path.empty())
        Import(path);
}

void IcalCommands::ExportChosen(SettingsFileChooser& files)
{
    const std::string path = files.Choose(&view_);
    if (!path.empty())
        Export(path);
}

void IcalCommands::Import(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    ical::ImportOptions options;
    options.today = GetLocalTime();
    const ical::ImportReport report = ical::ImportCalendar(in, session_, options);
    document_.Reload();
    view_.ItemsChanged();
    std::wstring text = Wide(ical::SummaryLine(report));
    for (size_t i = 0; i < report.notes.size() && i < kNotesShown; ++i)
        text += L"\n" + Wide(report.notes[i]);
    messages_.MessageBox(text, L"Import", MB_OK | MB_ICONINFORMATION);
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
        messages_.MessageBox(L"Cannot write " + Wide(path) + L".",
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
    for (const pim::StoredItem& item : ical::ReadCalendarItems(text.str(), notes))
        ++(item.kind == pim::kTaskKind ? tasks : appointments);
    const std::wstring question = L"Import " + std::to_wstring(appointments) +
                                  L" appointments and " + std::to_wstring(tasks) +
                                  L" tasks into your calendar?";
    if (messages_.MessageBox(question, res::LoadString(res::IDS_CONFIRM),
                             MB_OKCANCEL | MB_ICONINFORMATION) == IDOK)
        Import(path);
}
