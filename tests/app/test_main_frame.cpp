// The shell: bad profiles and stores, menus and command bar, both ways out, the command line,
// Import and Export, a reminder's "Open", and another program writing the store.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>
#include <set>
#include <sys/stat.h>

#include "app/menu_mnemonics.h"
#include "app/program_command_line.h"
#include "app/qt_message_service.h"
#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/profile.h"
#include "res/command_ids.h"
#include "settings/app_settings.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/ical_builder.h"
#include "tests/support/wait.h"
#include "view/key_input.h"
#include "view/tamberlo_view.h"

namespace {
// Writes a calendar of `events` hour-long events (and one task) into the temp folder.
std::string WriteCalendar(const TempPaths& paths, const char* name, int events, bool task)
{
    const std::string hour = "DTSTART:20270105T090000\r\nDTEND:20270105T100000\r\nDESCRIPTION:";
    std::string body =
        task ? "BEGIN:VTODO\r\nUID:t1\r\nDUE;VALUE=DATE:20261210\r\nSUMMARY:Report\r\n"
               "END:VTODO\r\n"
             : "";
    for (int i = 0; i < events; ++i) {
        body += Event("Item " + std::to_string(i), hour + std::string(160, 'x') + "\r\n");
    }
    return paths.Write(name, QByteArray::fromStdString(Calendar(body)));
}

// The real tool writing the store beside the window: one event of UID u1 on 8 December.
int ImportElsewhere(const TempPaths& paths, const char* summary)
{
    const std::string event =
        "BEGIN:VEVENT\r\nUID:u1\r\nDTSTART:20261208T090000\r\nSUMMARY:" + std::string(summary) +
        "\r\nEND:VEVENT\r\n";
    const std::string file =
        paths.Write("elsewhere.ics", QByteArray::fromStdString(Calendar(event)));
    return QProcess::execute(QStringLiteral(TAMBERLO_BUILD_DIR "/tools/ical/tamberlo-ical"),
                             {"import", "--store", QString::fromStdString(paths.StorePath()),
                              QString::fromStdString(file)});
}

// The subject of the first appointment of 8 December as the window's document holds it.
std::wstring ShownSubject(const CTamberloDoc& doc)
{
    const int row = DaysBetween(doc.GetShownStart(), MakeSystemTime(2026, 12, 8));
    return doc.ApptCount(row) > 0 ? doc.ApptSubject(row, 0) : std::wstring();
}
} // namespace

// The window comes up without a word; the bar's tooltips name the keys, menu items show theirs,
// and enable states follow the handlers, the application's own commands last in the chain.
TEST_F(ShellTest, MenusShowTextsKeysAndFollowTheHandlers)
{
    CMainFrame* frame = Start().MainFrame();
    ASSERT_TRUE(frame && frame->isVisible());
    EXPECT_TRUE(messages.shown().empty());
    QStringList shownTips;
    for (QAction* button : frame->CommandBar()->actions()) {
        if (button->isVisible()) {
            shownTips << button->toolTip();
        }
    }
    EXPECT_EQ(shownTips, (QStringList{"Help (F1)", "Cut (Ctrl+X)", "Copy (Ctrl+C)",
                                      "Paste (Ctrl+V)", "Version"}))
        << "New is switched off";
    EXPECT_EQ(QKeySequence::listToString(Opened(cmd::ID_ZOOM_IN)->shortcuts()), "Ctrl++; Ctrl+=");
    EXPECT_FALSE(Opened(cmd::ID_ADD_APPOINT)->isEnabled()) << "the editor is not attached yet";
    EXPECT_FALSE(Opened(cmd::ID_APP_ABOUT)->isEnabled());
    // The calendar toggle's check mark and the command bar's buttons follow the view at once.
    FindCommand(cmd::ID_VIEW_CALENDAR)->trigger();
    EXPECT_TRUE(Opened(cmd::ID_VIEW_CALENDAR)->isChecked());
    EXPECT_EQ(app->Settings().GetCalendarType(), 0);
    // Attaching the application's dialog makes "Version" work without another change.
    int versions = 0;
    app->SetCommandHandler(cmd::ID_APP_ABOUT, [&versions] { ++versions; });
    EXPECT_TRUE(Opened(cmd::ID_APP_ABOUT)->isEnabled());
    EXPECT_TRUE(BarButton(cmd::ID_APP_ABOUT)->isEnabled());
    FindCommand(cmd::ID_APP_ABOUT)->trigger();
    EXPECT_EQ(versions, 1);
}

TEST_F(ShellTest, ExitAndCloseBothWriteTheProfile)
{
    Start();
    for (const int hourPixels : {48, 60}) {
        QFile written(QString::fromStdString(paths.ProfilePath()));
        written.remove();
        app->Settings().SetOneHourPixel(hourPixels);
        hourPixels == 48 ? FindCommand(cmd::ID_APP_EXIT)->trigger()
                         : void(app->MainFrame()->close());
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << hourPixels;
        EXPECT_TRUE(written.readAll().contains("OneHourPixel=" + QByteArray::number(hourPixels)));
    }
}

TEST_F(ShellTest, AnUnwritableProfileOrUnopenableStoreIsNotFatal)
{
    // Exit and the window's close both save; the lost settings are told once, naming the file.
    Start("/proc/tamberlo-no-such-dir/Tamberlo.ini");
    EXPECT_FALSE(app->SaveSettings());
    FindCommand(cmd::ID_APP_EXIT)->trigger();
    app->MainFrame()->close();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text,
              L"The settings could not be saved to /proc/tamberlo-no-such-dir/Tamberlo.ini.");
    EXPECT_EQ(messages.shown()[0].caption, L"Warning");
    Start({}, paths.File(""));
    ASSERT_EQ(messages.shown().size(), 2U);
    EXPECT_NE(app->MainFrame()->View(), nullptr);
    app->MainFrame()->close();
    // A FIFO in place of the profile would block the start: it is named, and never written.
    const std::string fifo = paths.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Start(fifo);
    ASSERT_EQ(messages.shown().size(), 3U);
    EXPECT_EQ(messages.shown()[2].text, L"The profile " +
                                            QString::fromStdString(fifo).toStdWString() +
                                            L" is not a regular file of a sane size; Tamberlo "
                                            L"starts with the default settings and leaves it as "
                                            L"it is.");
    EXPECT_FALSE(app->SaveSettings());
    EXPECT_EQ(QFileInfo(QString::fromStdString(fifo)).size(), 0);
}

TEST(QtMessageService, BoxesAreWideEnoughForTheirCaption)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Wrong Day"), QStringLiteral("Wrong Day"),
                    QMessageBox::Ok);
    FitCaption(box);
    box.show();
    QFont title = box.font();
    title.setBold(true);
    EXPECT_GE(box.width(), QFontMetrics(title).horizontalAdvance(box.windowTitle()) + 160);
}

// After a settings dialog, OK or Cancel, the view reads the settings again: a new key works.
TEST_F(ShellTest, SettingsDialogsTakeEffectInTheViewAtOnce)
{
    runner = &dialogs;
    Start();
    CTamberloView* view = app->MainFrame()->View();
    // "2" focuses the body; "7" then focuses the button bar once it is the tool key.
    const auto press = [&](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
        QApplication::sendEvent(view, &event);
        return view->KeyFocusArea();
    };
    for (const auto& [command, answer] : {std::pair{cmd::ID_FUNC_KEY_SET, DialogAccepted},
                                          std::pair{cmd::ID_ENVIRONMENT, DialogRejected}}) {
        app->Settings().SetKeyToTool(0x37);
        dialogs.Queue([answer = answer](QDialog&) { return answer; });
        FindCommand(command)->trigger();
        EXPECT_EQ(press(Qt::Key_2), keys::kBody);
        EXPECT_EQ(press(Qt::Key_7), keys::kButtonBar) << command;
        app->Settings().SetKeyToTool(0x31);
        view->SettingsChanged();
    }
}

// Each calendar file of the command line is counted, confirmed and imported; others ignored.
TEST_F(ShellTest, CommandLineCalendarsAreImportedOnlyAfterOk)
{
    for (const char* name : {"declined.ics", "accepted.ICS", "notes.txt"}) {
        arguments.push_back(WriteCalendar(paths, name, 2, true));
    }
    arguments.insert(arguments.begin() + 1, "--verbose");
    messages.QueueAnswer(IDCANCEL);
    messages.QueueAnswer(IDOK);
    runner = &dialogs;
    Start();
    const auto& shown = messages.shown();
    ASSERT_EQ(shown.size(), 3U);
    EXPECT_EQ(shown[1].text, L"Import 2 appointments and 1 task into your calendar?");
    EXPECT_EQ(shown[1].flags & 0xF, unsigned{MB_OKCANCEL});
    EXPECT_EQ(shown[2].text, L"imported 2 appointments, 1 task, 0 skipped");
    EXPECT_EQ(shown[2].flags, unsigned{MB_OK | MB_ICONINFORMATION});
}

TEST_F(ShellTest, MenuImportCancelsWholeAndExportReportsUnwritableFiles)
{
    runner = &dialogs;
    Start();
    // About 1 MB of events: large enough for the import to show its progress dialog.
    const std::string large = WriteCalendar(paths, "large.ics", 4000, false);
    ChooseFile(large); // cancelled at once: the store stays empty
    int progressShown = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            ++progressShown;
            EXPECT_EQ(progress->labelText(), "Importing large.ics...");
            progress->cancel();
        }
    });
    cancel.start(0);
    FindCommand(cmd::ID_IMPORT_ICALENDAR)->trigger();
    cancel.stop();
    EXPECT_EQ(progressShown, 1);
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    EXPECT_EQ(session.Connect() < 0 ? -1 : session.AppointmentCount(), 0);
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, L"The import was cancelled; the calendar is as it was.");
    const std::string unwritable = paths.File("missing-folder/out.ics");
    ChooseFile(unwritable);
    FindCommand(cmd::ID_EXPORT_ICALENDAR)->trigger();
    EXPECT_EQ(messages.shown().back().text,
              L"Cannot write " + QString::fromStdString(unwritable).toStdWString() + L".");
    const size_t before = messages.shown().size();
    ChooseFile(paths.File("out.ics"));
    FindCommand(cmd::ID_EXPORT_ICALENDAR)->trigger();
    EXPECT_EQ(messages.shown().size(), before) << "a good export says nothing";
    // A reminder's "Open": the day shown and selected, the window up.
    app->MainFrame()->showMinimized();
    app->MainFrame()->ShowDay(MakeSystemTime(2028, 2, 29));
    EXPECT_EQ(DateToKey(SystemTimeToVariantTime(app->MainFrame()->View()->SelectedDate()), kDayKey),
              L"20280229");
    EXPECT_FALSE(app->MainFrame()->isMinimized());
}

// Another program imports while the window is open, also while one of its connections is.
TEST_F(ShellTest, TheWindowFollowsAnotherProgram)
{
    Start();
    CTamberloDoc& doc = *app->Document();
    ASSERT_EQ(ImportElsewhere(paths, "DragMe"), 0);
    EXPECT_TRUE(WaitFor([&] { return ShownSubject(doc) == L"DragMe"; }));
    ASSERT_EQ(doc.Session().Connect(), 0);
    ASSERT_EQ(ImportElsewhere(paths, "Meanwhile"), 0);
    doc.Session().Disconnect();
    EXPECT_TRUE(WaitFor([&] { return ShownSubject(doc) == L"Meanwhile"; }));
}

// Every menu item has an underlined letter of its own within its menu; texts keep their words.
TEST_F(ShellTest, EveryMenuItemHasItsOwnMnemonic)
{
    Start();
    for (QMenu* menu : app->MainFrame()->findChildren<QMenu*>()) {
        emit menu->aboutToShow();
        std::set<int> letters;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            const QKeySequence letter = QKeySequence::mnemonic(action->text());
            EXPECT_FALSE(letter.isEmpty()) << action->text().toStdString();
            EXPECT_TRUE(letters.insert(letter[0].toCombined()).second)
                << action->text().toStdString() << " in " << menu->title().toStdString();
        }
    }
    EXPECT_EQ(PickMnemonics({L"Edit Appoint", L"Edit Task", L"", L"Edit", L"Exit"}),
              (std::vector<wchar_t>{L'e', L't', 0, L'd', L'x'}));
    EXPECT_EQ(WithMnemonic(L"Salt & Pepper", L'p'), L"Salt && &Pepper");
}

// The first start fits the screen; place and size come back, a damaged value falls back.
TEST_F(ShellTest, WindowGeometryFitsTheScreenAndIsRemembered)
{
    EXPECT_EQ(FittedWindowRect({1024, 720}, {0, 0, 1920, 1080}), QRect(448, 180, 1024, 720));
    EXPECT_EQ(FittedWindowRect({1024, 720}, {0, 32, 960, 508}), QRect(24, 56, 912, 460))
        << "a 1920x1080 screen at scale 2, with a panel";
    EXPECT_EQ(FittedWindowRect({1024, 720}, {0, 0, 10, 10}).size(), QSize(1, 1));
    Start();
    const QRect available = app->MainFrame()->screen()->availableGeometry();
    app->MainFrame()->setGeometry(40, 50, 700, 500);
    app->MainFrame()->close();
    Start();
    EXPECT_EQ(app->MainFrame()->geometry(), QRect(40, 50, 700, 500));
    app->MainFrame()->close();
    Profile damaged(paths.ProfilePath());
    damaged.WriteString(L"Window", L"Geometry", L"bm90IGdlb21ldHJ5");
    ASSERT_TRUE(damaged.Flush());
    Start();
    EXPECT_TRUE(available.contains(app->MainFrame()->geometry()));
    EXPECT_NE(app->MainFrame()->geometry(), QRect(40, 50, 700, 500));
}

// Beside the standard options (the command-line table) only a non-file-name option is unknown.
TEST(ProgramCommandLine, UnknownOptions)
{
    EXPECT_FALSE(StandardOptionExit({"a.ics"}));
    EXPECT_TRUE(UnknownOptionExit({"a.ics", "--bogus"}));
    EXPECT_FALSE(UnknownOptionExit({"a.ics", "-"})) << "'-' is a file name";
}
