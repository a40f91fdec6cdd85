// Argument handling and the three commands; the mapping itself is the ical library's.
#include "tools/ical/ical_tool.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <fstream>
#include <optional>

#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "ical/occurrence_list.h"
#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/pim/application.h"
#include "res/command_line.h"

namespace {

constexpr const char* kUsage =
    "usage: tamberlo-ical import [--store FILE] [--calendar NAME] [--expand-unsupported] "
    "FILE.ics...\n"
    "       tamberlo-ical export [--store FILE] [--calendar NAME]... [-o FILE.ics]\n"
    "       tamberlo-ical occurrences [--store FILE] --from YYYY-MM-DD --days N\n"
    "FILE \"-\" reads standard input or writes standard output.\n"
    "  --calendar NAME  import: the calendar new items go to (default: the first local one,\n"
    "                   whose items never leave this computer); export: only this calendar's\n"
    "                   items (repeatable)\n"
    "  -h, --help  this text\n"
    "  --version   the program's version\n"
    "See tamberlo-ical(1), and tamberlo(1) for the program.\n";
constexpr int kMaxDays = 36500;

struct Arguments {
    std::string command;
    std::string store = pim::Application::DefaultStorePath();
    std::string output = "-";
    bool expand = false;
    std::optional<SYSTEMTIME> from;
    int days = 0;
    std::vector<std::string> files;
    std::vector<std::string> calendars;
};

std::optional<SYSTEMTIME> ParseDay(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const std::string key = text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
    const DATE day = KeyToDate(QString::fromStdString(key).toStdWString(), kDayKey);
    const SYSTEMTIME st = VariantTimeToSystemTime(day);
    if (day == 0.0 || st.wYear < 1900 || st.wYear > 2999) {
        return std::nullopt;
    }
    return st;
}

std::optional<int> ParseDays(const std::string& text)
{
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int days = std::stoi(text);
    return days >= 1 && days <= kMaxDays ? std::optional<int>(days) : std::nullopt;
}

// The message of the first bad argument, or empty.
std::string Parse(const std::vector<std::string>& args, Arguments& a)
{
    if (args.empty()) {
        return "no command";
    }
    a.command = args[0];
    if (a.command != "import" && a.command != "export" && a.command != "occurrences") {
        return "unknown command: " + a.command;
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& name = args[i];
        const bool hasValue = i + 1 < args.size();
        if (name == "--expand-unsupported" && a.command == "import") {
            a.expand = true;
        } else if (name == "--store" || (name == "-o" && a.command == "export") ||
                   (name == "--calendar" && a.command != "occurrences") ||
                   ((name == "--from" || name == "--days") && a.command == "occurrences")) {
            if (!hasValue) {
                return "missing value after " + name;
            }
            const std::string& value = args[++i];
            if (name == "--store") {
                a.store = value;
            } else if (name == "--calendar") {
                a.calendars.push_back(value);
            } else if (name == "-o") {
                a.output = value;
            } else if (name == "--from" && !(a.from = ParseDay(value))) {
                return "bad date (want YYYY-MM-DD, years 1900 to 2999): " + value;
            } else if (name == "--days") {
                const std::optional<int> days = ParseDays(value);
                if (!days) {
                    return "bad day count: " + value;
                }
                a.days = *days;
            }
        } else if (a.command == "import" && (name == "-" || name.rfind('-', 0) != 0)) {
            a.files.push_back(name);
        } else {
            return "unknown argument: " + name;
        }
    }
    if (a.command == "import" && a.files.empty()) {
        return "no file to import";
    }
    if (a.command == "import" && a.calendars.size() > 1) {
        return "import goes to one --calendar";
    }
    if (a.command == "occurrences" && (!a.from || a.days == 0)) {
        return "occurrences needs --from and --days";
    }
    return {};
}

// The ids of the calendars named (without regard to case), or false with the name not found.
bool CalendarIds(PimSession& session, const std::vector<std::string>& names,
                 std::vector<int32_t>& ids, std::ostream& err)
{
    pim::CalendarList list = session.Calendars();
    for (const std::string& name : names) {
        pim::Calendar found;
        if (list.Named(QString::fromStdString(name).toStdWString(), found) < 0) {
            err << "tamberlo-ical: no calendar named " << name << '\n';
            return false;
        }
        ids.push_back(found.id);
    }
    return true;
}

int Import(const Arguments& a, std::istream& in, std::ostream& out, std::ostream& err)
{
    PimSession session(a.store, OccurrenceOnDay);
    if (session.Connect() < 0) {
        err << "tamberlo-ical: " << QString::fromStdWString(session.ConnectError()).toStdString()
            << '\n';
        return kIcalStoreFailed;
    }
    std::vector<int32_t> calendar;
    if (!CalendarIds(session, a.calendars, calendar, err)) {
        return kIcalBadArguments;
    }
    ical::ImportOptions options;
    options.calendar = calendar.empty() ? 0 : calendar.front();
    options.expandUnsupported = a.expand;
    options.today = GetLocalTime();
    ical::ImportReport total;
    int code = kIcalOk;
    bool imported = false; // a file that is no calendar says so in its one line, nothing more
    for (const std::string& file : a.files) {
        std::ifstream stream;
        if (file != "-") {
            stream.open(file, std::ios::binary);
            if (!stream) {
                err << "tamberlo-ical: cannot read " << file << '\n';
                code = kIcalFileUnreadable;
                continue;
            }
        }
        const ical::ImportReport report =
            ical::ImportCalendar(file == "-" ? in : stream, session, options);
        for (const std::string& note : report.notes) {
            err << file << ": " << note << '\n';
        }
        if (report.status >= 0 && !report.sawCalendar) {
            err << "tamberlo-ical: " << file << ": no iCalendar data found\n";
            code = kIcalFileUnreadable;
            continue;
        }
        imported = true;
        if (report.status < 0) {
            // The store's own sentence (in use, no space, read-only) when it gave one.
            const std::wstring cause = session.LastWriteError();
            err << "tamberlo-ical: " << file << ": "
                << (cause.empty() ? std::string("could not be written to the store.")
                                  : QString::fromStdWString(cause).toStdString())
                << " Nothing of it was imported.\n";
            code = kIcalStoreFailed;
        }
        total.appointments += report.appointments;
        total.tasks += report.tasks;
        total.skipped += report.skipped;
    }
    if (imported) {
        out << ical::SummaryLine(total) << '\n';
    }
    return code;
}

bool HasStore(const Arguments& a, std::ostream& err)
{
    if (QFileInfo(QString::fromStdString(a.store)).isFile()) {
        return true;
    }
    err << "tamberlo-ical: no calendar store at " << a.store << '\n';
    return false;
}

int Export(const Arguments& a, std::ostream& out, std::ostream& err)
{
    if (!HasStore(a, err)) {
        return kIcalStoreFailed;
    }
    std::ofstream file;
    if (a.output != "-") {
        file.open(a.output, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << "tamberlo-ical: cannot write " << a.output << '\n';
            return kIcalFileUnreadable;
        }
    }
    PimSession session(a.store, OccurrenceOnDay);
    ical::ExportOptions options;
    options.now = GetLocalTime();
    if (!a.calendars.empty() &&
        (session.Connect() < 0 || !CalendarIds(session, a.calendars, options.calendars, err))) {
        if (!session.IsConnected()) {
            err << "tamberlo-ical: "
                << QString::fromStdWString(session.ConnectError()).toStdString() << '\n';
            return kIcalStoreFailed;
        }
        return kIcalBadArguments;
    }
    std::ostream& target = a.output == "-" ? out : file;
    const ical::ExportReport report = ical::ExportCalendar(session, options, target);
    for (const std::string& note : report.notes) {
        err << note << '\n';
    }
    if (report.status < 0) {
        err << "tamberlo-ical: " << QString::fromStdWString(session.ConnectError()).toStdString()
            << '\n';
        return kIcalStoreFailed;
    }
    target.flush();
    if (!target) {
        err << "tamberlo-ical: cannot write " << a.output << '\n';
        return kIcalFileUnreadable;
    }
    return kIcalOk;
}

int Occurrences(const Arguments& a, std::ostream& out, std::ostream& err)
{
    if (!HasStore(a, err)) {
        return kIcalStoreFailed;
    }
    PimSession session(a.store, OccurrenceOnDay);
    std::vector<std::string> lines;
    if (ical::ListOccurrences(session, *a.from, a.days, lines) < 0) {
        err << "tamberlo-ical: " << QString::fromStdWString(session.ConnectError()).toStdString()
            << '\n';
        return kIcalStoreFailed;
    }
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return kIcalOk;
}

} // namespace

int RunIcal(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err)
{
    if (res::AnswerStandardOption(args, "tamberlo-ical", kUsage, out)) {
        return kIcalOk;
    }
    Arguments a;
    if (const std::string problem = Parse(args, a); !problem.empty()) {
        err << "tamberlo-ical: " << problem << '\n' << kUsage;
        return kIcalBadArguments;
    }
    if (a.command == "import") {
        return Import(a, in, out, err);
    }
    return a.command == "export" ? Export(a, out, err) : Occurrences(a, out, err);
}
