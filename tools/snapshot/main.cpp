// Renders the main window at a given size over a given store, at a fixed "now", into a PNG, so
// the look of the schedule can be reviewed without a display; or the "Keys and Mouse" page, or
// that page's table as Markdown for the README.
//   snapshot (--store FILE | --demo | --demo-calendars) --size WxH --now YYYY-MM-DDTHH:MM
//            -o OUT.png [--profile FILE]
//            [--calendar] [--calendars-list] [--keys-page] [--dark]
//   snapshot (--store FILE | --demo) --size WxH --now YYYY-MM-DDTHH:MM --pdf OUT.pdf [...]
//   snapshot (--store FILE | --demo) --size WxH --now YYYY-MM-DDTHH:MM --show [...]
//   snapshot --keys-table
#include <QApplication>
#include <QDateTime>
#include <QPalette>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "app/main_frame.h"
#include "app/tamberlo_app.h"
#include "dialogs/keys_and_mouse_dlg.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/pim/demo_calendar.h"
#include "platform/pim/store_calendars.h"
#include "platform/pim/store_database.h"
#include "res/command_line.h"
#include "res/pictures.h"
#include "settings/app_settings.h"
#include "view/calendars_dock.h"
#include "view/keys_and_mouse.h"
#include "view/schedule_print.h"
#include "view/tamberlo_view.h"

namespace {

struct Options {
    std::string store;
    bool demo = false;
    bool demoCalendars = false; // the demo's items in three calendars, by their categories
    int width = 0;
    int height = 0;
    SYSTEMTIME now;
    std::string output;
    std::string pdf; // the shown period printed, as Function > "Export as PDF..." writes it
    std::string profile;
    bool calendar = false;      // show the calendar grid of whole weeks
    bool calendarsList = false; // show the Calendars list beside the schedule
    bool keysPage = false;      // show the "Keys and Mouse" page instead of the window
    bool dark = false;          // under a dark desktop palette
    bool show = false;          // the window on the display, until it is closed, at the fixed "now"
};

const char* const kUsage =
    "usage: snapshot (--store FILE | --demo | --demo-calendars) --size WxH --now "
    "YYYY-MM-DDTHH:MM -o OUT.png\n"
    "       [--profile FILE] [--calendar] [--calendars-list] [--keys-page] [--dark]\n"
    "       (--demo-calendars: the demo's items in Personal, Work and Family)\n"
    "       snapshot ... --pdf OUT.pdf   (the shown period printed, instead of -o)\n"
    "       snapshot ... --show   (the window on the display, instead of -o)\n"
    "       snapshot --keys-table   (the Keys and Mouse table as Markdown)\n";

std::optional<SYSTEMTIME> ParseNow(const QString& text)
{
    const QDateTime at = QDateTime::fromString(text, QStringLiteral("yyyy-MM-ddTHH:mm"));
    if (!at.isValid() || at.date().year() < 1900 || at.date().year() > 2999) {
        return std::nullopt;
    }
    return MakeSystemTime(at.date().year(), at.date().month(), at.date().day(), at.time().hour(),
                          at.time().minute());
}

bool ParseSize(const QString& text, int& width, int& height)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool okWidth = false;
    bool okHeight = false;
    if (parts.size() == 2) {
        width = parts[0].toInt(&okWidth);
        height = parts[1].toInt(&okHeight);
    }
    // Anything larger would not fit one image in memory.
    return okWidth && okHeight && width >= 1 && height >= 1 && width <= 8192 && height <= 8192;
}

std::optional<Options> ParseArguments(const QStringList& args)
{
    Options options;
    bool haveNow = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--demo" || arg == "--demo-calendars") {
            options.demo = true;
            options.demoCalendars = options.demoCalendars || arg == "--demo-calendars";
        } else if (arg == "--store" && hasValue) {
            options.store = args[++i].toStdString();
        } else if (arg == "--size" && hasValue) {
            if (!ParseSize(args[++i], options.width, options.height)) {
                return std::nullopt;
            }
        } else if (arg == "--now" && hasValue) {
            const auto now = ParseNow(args[++i]);
            if (!now) {
                return std::nullopt;
            }
            options.now = *now;
            haveNow = true;
        } else if (arg == "-o" && hasValue) {
            options.output = args[++i].toStdString();
        } else if (arg == "--pdf" && hasValue) {
            options.pdf = args[++i].toStdString();
        } else if (arg == "--calendar") {
            options.calendar = true;
        } else if (arg == "--calendars-list") {
            options.calendarsList = true;
        } else if (arg == "--keys-page") {
            options.keysPage = true;
        } else if (arg == "--show") {
            options.show = true;
        } else if (arg == "--dark") {
            options.dark = true;
        } else if (arg == "--profile" && hasValue) {
            options.profile = args[++i].toStdString();
        } else {
            return std::nullopt;
        }
    }
    const bool oneSource = options.demo != !options.store.empty();
    if (!oneSource || !haveNow || options.width == 0 ||
        int(!options.output.empty()) + int(!options.pdf.empty()) + int(options.show) != 1) {
        return std::nullopt;
    }
    return options;
}

// The demo calendar around `now`: a full working month either side, a few dozen tasks.
bool WriteDemoStore(const std::string& path, const SYSTEMTIME& now)
{
    constexpr int kAppointments = 300;
    constexpr int kTasks = 40;
    constexpr uint32_t kSeed = 11;
    return pim::WriteDemoStore(path, OccurrenceOnDay, now, kAppointments, kTasks, kSeed) >= 0;
}

// The demo's business items go to a calendar "Work", its family, birthday and sport ones to
// "Family", the rest stay in "Personal": several calendars in their colours.
bool SpreadOverCalendars(const std::string& path)
{
    pim::StoreDatabase db;
    if (db.Open(path) < 0) {
        return false;
    }
    pim::CalendarList list(db);
    pim::Calendar work{.name = L"Work"};
    pim::Calendar family{.name = L"Family"};
    if (list.Save(work) < 0 || list.Save(family) < 0) {
        return false;
    }
    const auto calendarOf = [&](const std::wstring& categories) {
        if (categories.find(L"Business") != std::wstring::npos) {
            return work.id;
        }
        const bool home = categories.find(L"Family") != std::wstring::npos ||
                          categories.find(L"Birthday") != std::wstring::npos ||
                          categories.find(L"Sport") != std::wstring::npos;
        return home ? family.id : 0;
    };
    for (const int32_t kind : {pim::kAppointmentKind, pim::kTaskKind}) {
        std::vector<pim::StoredItem> items;
        if (db.Load(kind, 0, items) < 0) {
            return false;
        }
        for (pim::StoredItem& item : items) {
            item.calendar = calendarOf(item.fields.Categories);
            if (item.calendar != 0 && db.Save(item) < 0) {
                return false;
            }
        }
    }
    return true;
}

// A dark desktop as Qt's Fusion style draws one.
void UseDarkPalette()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette dark;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    for (const auto& [role, color] : {std::pair{QPalette::Window, window},
                                      {QPalette::Base, base},
                                      {QPalette::AlternateBase, window},
                                      {QPalette::Button, window},
                                      {QPalette::WindowText, text},
                                      {QPalette::Text, text},
                                      {QPalette::ButtonText, text},
                                      {QPalette::Highlight, QColor(60, 120, 220)},
                                      {QPalette::HighlightedText, text}}) {
        dark.setColor(role, color);
    }
    QApplication::setPalette(dark);
}

// What is shot: the main window, or the help page over it with the default digit keys.
QPixmap Shot(CMainFrame& frame, const Options& options)
{
    if (!options.keysPage) {
        return frame.grab();
    }
    CKeysAndMouseDlg page(KeysAndMouse(keys::HardwareKeys{}), &frame);
    page.resize(options.width, options.height);
    page.show();
    QApplication::processEvents();
    return page.grab();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (res::AnswerStandardOption(args, "snapshot", kUsage, std::cout)) {
        return 0;
    }
    if (std::find(args.begin(), args.end(), "--show") == args.end()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qt(argc, argv);
    if (args == std::vector<std::string>{"--keys-table"}) {
        std::cout << KeysAndMouseMarkdown(KeysAndMouse(keys::HardwareKeys{}));
        return 0;
    }
    const auto options = ParseArguments(QApplication::arguments());
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (options->dark) {
        UseDarkPalette();
    }
    FixedClock clock(options->now);
    ScopedClock fixedNow(clock);

    // The demo store and the default profile live in a temporary folder, so a snapshot never
    // touches the user's own files.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fputs("snapshot: cannot create a temporary folder\n", stderr);
        return 1;
    }
    AppEnvironment environment;
    environment.storePath = options->store;
    environment.profilePath = options->profile.empty()
                                  ? scratch.filePath("Tamberlo.ini").toStdString()
                                  : options->profile;
    if (options->demo) {
        environment.storePath = scratch.filePath("demo.sqlite3").toStdString();
        if (!WriteDemoStore(environment.storePath, options->now) ||
            (options->demoCalendars && !SpreadOverCalendars(environment.storePath))) {
            std::fputs("snapshot: cannot write the demo calendar\n", stderr);
            return 1;
        }
    }
    ScriptedMessageService messages;
    environment.messages = &messages;

    CTamberloApp app(environment);
    if (!app.InitInstance() || (app.MainFrame() == nullptr)) {
        return 1;
    }
    CMainFrame* frame = app.MainFrame();
    // As a press of the Calendar button would: the grid starts on the start weekday.
    if (options->calendar && app.Settings().GetCalendarType() != 0) {
        frame->View()->ButtonAction(res::kButtonCalendar);
    }
    frame->resize(options->width, options->height);
    if (options->calendarsList) {
        frame->findChild<CalendarsDock*>()->ShowOrHide();
    }
    if (options->show) {
        return QApplication::exec();
    }
    QApplication::processEvents();
    const QPixmap shot = Shot(*frame, *options);
    if (!options->pdf.empty()) {
        if (!WriteSchedulePdf(frame->View()->ShownPeriodPrintJob(), options->pdf)) {
            std::fprintf(stderr, "snapshot: cannot write %s\n", options->pdf.c_str());
            return 1;
        }
    } else if (!shot.save(QString::fromStdString(options->output), "PNG")) {
        std::fprintf(stderr, "snapshot: cannot write %s\n", options->output.c_str());
        return 1;
    }
    for (const auto& box : messages.shown()) {
        std::fprintf(stderr, "snapshot: message box: %ls\n", box.text.c_str());
    }
    return 0;
}
