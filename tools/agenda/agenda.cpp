// The agenda loads the real document over the store, window by window, with the settings of a
// profile file, and prints what its day tables hold.
#include "tools/agenda/agenda.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "model/calendar_find.h"
#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "model/terminal_text.h"
#include "platform/clock.h"
#include "platform/pim/application.h"
#include "platform/profile.h"
#include "res/command_line.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "settings/settings_persistence.h"

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2999;
// Days printed per load: the longest shown period. Later days of a window may miss substitute
// holidays that only a load starting nearer to them computes, so a day prints the same lines
// whatever day the range starts on.
constexpr int kDaysPerWindow = CTamberloDoc::kMaxShownDayCount;
constexpr char kUsage[] = "usage: tamberlo-agenda [--store FILE] [--profile FILE] "
                          "[--calendar NAME]... (--from YYYY-MM-DD --days N | --find TEXT)";
// What --help adds below the usage line.
constexpr char kHelpText[] =
    "\nPrints the schedule of tamberlo(1), one tab-separated line per entry, or with --find\n"
    "the items that contain TEXT; see tamberlo-agenda(1) for the columns.\n"
    "  --calendar NAME  only this calendar's items, shown or hidden (may be repeated);\n"
    "                   without it, the calendars the window shows\n"
    "  -h, --help  this text\n"
    "  --version   the program's version\n";

struct AgendaArguments {
    std::string store = pim::Application::DefaultStorePath();
    std::string profile = Profile::DefaultPath();
    std::optional<SYSTEMTIME> from;
    int days = 0;
    std::optional<std::wstring> find;
    std::vector<std::wstring> calendars;
};

// Exactly YYYY-MM-DD: digits in every number place, so no sign or blank slips through.
std::optional<SYSTEMTIME> ParseDate(const std::string& text)
{
    constexpr std::string_view kShape = "dddd-dd-dd";
    const bool shaped =
        text.size() == kShape.size() &&
        std::equal(kShape.begin(), kShape.end(), text.begin(), [](char want, char c) {
            return want == 'd' ? c >= '0' && c <= '9' : c == want;
        });
    if (!shaped) {
        return std::nullopt;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return TruncateSystemTime(MakeSystemTime(year, month, day), 3);
}

std::optional<int> ParseCount(const std::string& text)
{
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

// The message of the first bad argument, or empty when all are good.
std::string Parse(const std::vector<std::string>& args, AgendaArguments& parsed)
{
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            return "missing value after " + name;
        }
        const std::string& value = args[i + 1];
        if (name == "--store") {
            parsed.store = value;
        } else if (name == "--profile") {
            parsed.profile = value;
        } else if (name == "--from") {
            parsed.from = ParseDate(value);
            if (!parsed.from) {
                return "bad date (want YYYY-MM-DD, years 1900 to 2999): " + value;
            }
        } else if (name == "--days") {
            const std::optional<int> days = ParseCount(value);
            if (!days || *days < 1) {
                return "bad day count: " + value;
            }
            parsed.days = *days;
        } else if (name == "--find") {
            parsed.find = QString::fromStdString(value).toStdWString();
        } else if (name == "--calendar") {
            parsed.calendars.push_back(QString::fromStdString(value).toStdWString());
        } else {
            return "unknown argument: " + name;
        }
    }
    if (parsed.find && !parsed.from && parsed.days == 0) {
        return {};
    }
    if (parsed.find || !parsed.from || parsed.days == 0) {
        return kUsage;
    }
    if (AddDays(*parsed.from, parsed.days - 1).wYear > kLastYear) {
        return "the range ends after the year 2999";
    }
    return {};
}

std::string Utf8(const std::wstring& text)
{
    return QString::fromStdWString(text).toStdString();
}

std::string DateText(const SYSTEMTIME& day)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.wYear, day.wMonth, day.wDay);
    return text;
}

std::string Flag(bool on)
{
    return on ? "1" : "0";
}

// The calendar's name ends every line, after the subject, so the columns before it keep their
// places for the scripts that read them; a holiday row's is empty.
void PrintDay(const CTamberloDoc& doc, int row, const std::string& date, std::ostream& out)
{
    for (int p = 0; p < doc.ApptCount(row); ++p) {
        out << date << "\tA\t" << Utf8(doc.ApptStartField(row, p)) << '\t'
            << Utf8(doc.ApptEndField(row, p)) << '\t' << Flag(doc.IsAllDay(row, p)) << '\t'
            << doc.EntryState(row, p) << '\t' << doc.DayKind(row, p) << '\t' << doc.Busy(row, p)
            << '\t' << TerminalText(doc.ApptSubject(row, p)) << '\t'
            << TerminalText(doc.CalendarName(doc.ApptCalendar(row, p))) << '\n';
    }
    for (int p = 0; p < doc.TaskCount(row); ++p) {
        out << date << "\tT\t" << Utf8(doc.TaskDueKey(row, p)) << '\t'
            << Flag(doc.TaskStartsHere(row, p)) << '\t' << Flag(doc.TaskMiddle(row, p)) << '\t'
            << Flag(doc.TaskDueHere(row, p)) << '\t' << Flag(doc.TaskComplete(row, p)) << '\t'
            << Flag(doc.TaskRecurring(row, p)) << '\t' << TerminalText(doc.TaskSubject(row, p))
            << '\t' << TerminalText(doc.CalendarName(doc.TaskCalendar(row, p))) << '\n';
    }
}

std::wstring NameOf(const std::vector<pim::Calendar>& calendars, int32_t id)
{
    const auto found = std::find_if(calendars.begin(), calendars.end(),
                                    [id](const pim::Calendar& c) { return c.id == id; });
    return found != calendars.end() ? found->name : std::wstring();
}

// Find's lines: "DATE TIME KIND SUBJECT CALENDAR", the date and time empty where the item has
// none.
void PrintFound(PimSession& session, const std::wstring& text, const CalendarChoice& choice,
                const std::vector<pim::Calendar>& calendars, std::ostream& out)
{
    for (const FoundItem& found : FindInCalendar(session, text, GetLocalTime(), choice).lines) {
        const bool dated = found.when != pim::kNoDate;
        out << (dated ? DateText(VariantTimeToSystemTime(found.when)) : std::string()) << '\t'
            << Utf8(FoundTimeText(found)) << '\t' << (found.item.kind == pim::kTaskKind ? 'T' : 'A')
            << '\t' << TerminalText(found.subject) << '\t'
            << TerminalText(NameOf(calendars, found.calendar)) << '\n';
    }
}

// The ids of the calendars named, each found as the store's list finds names; the first name
// no calendar has, when one is not found.
std::optional<std::wstring>
ChosenCalendars(PimSession& session, const std::vector<std::wstring>& names, CalendarChoice& choice)
{
    pim::CalendarList list = session.Calendars();
    for (const std::wstring& name : names) {
        pim::Calendar calendar;
        if (list.Named(name, calendar) < 0) {
            return name;
        }
        choice.only.push_back(calendar.id);
    }
    return std::nullopt;
}

} // namespace

int RunAgenda(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (res::AnswerStandardOption(args, "tamberlo-agenda", std::string(kUsage) + kHelpText, out)) {
        return 0;
    }
    AgendaArguments parsed;
    if (const std::string problem = Parse(args, parsed); !problem.empty()) {
        err << "tamberlo-agenda: " << problem << '\n';
        return 1;
    }
    // The agenda only reads: it never creates or writes a store. The asked days' items are read
    // at connect (none for a find, which reads its matches), so a store that cannot be read
    // fails here, before anything is printed.
    PimSession session(parsed.store, OccurrenceOnDay, pim::StoreDatabase::Access::ReadOnly);
    const auto firstDay = parsed.from ? static_cast<DATE>(DayNumber(*parsed.from)) : 0.0;
    const int32_t connected =
        parsed.find ? session.Connect(pim::ItemSelection::None)
                    : session.Connect(pim::DayRange{firstDay, firstDay + parsed.days});
    if (connected < 0) {
        err << "tamberlo-agenda: " << Utf8(session.ConnectError()) << '\n';
        return 2;
    }
    CalendarChoice choice;
    std::vector<pim::Calendar> calendars;
    const std::optional<std::wstring> unknown = ChosenCalendars(session, parsed.calendars, choice);
    if (session.Calendars().All(calendars) < 0) {
        calendars.clear(); // a store older than calendars: one unnamed calendar
    }
    session.Disconnect();
    if (unknown) {
        err << "tamberlo-agenda: the store has no calendar named \"" << TerminalText(*unknown)
            << "\"\n";
        return 1;
    }
    if (parsed.find) {
        PrintFound(session, *parsed.find, choice, calendars, out);
        return 0;
    }

    AppSettings settings;
    const Profile profile(parsed.profile);
    if (profile.Unusable()) {
        err << "tamberlo-agenda: "
            << Utf8(res::LoadString(res::IDS_PROFILE_NOT_READ,
                                    QString::fromStdString(parsed.profile).toStdWString()))
            << '\n';
    }
    LoadSettings(settings, profile);
    AppSettingsDocument documentSettings(settings);
    CTamberloDoc doc(session, documentSettings);
    doc.SetCalendarChoice(choice);
    doc.SetShownDayCount(kDaysPerWindow);
    for (int done = 0; done < parsed.days; done += kDaysPerWindow) {
        const SYSTEMTIME first = AddDays(*parsed.from, done);
        doc.SetShownStart(first);
        doc.Reload();
        const int days = std::min(kDaysPerWindow, parsed.days - done);
        for (int row = 0; row < days; ++row) {
            PrintDay(doc, row, DateText(AddDays(first, row)), out);
        }
    }
    return 0;
}
