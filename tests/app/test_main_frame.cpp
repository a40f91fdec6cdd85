// The shell: start-up on an empty profile, the menus and command bar, and both ways out
// writing the settings.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include <algorithm>

#include <QImage>
#include <QPainter>

#include "app/main_frame.h"
#include "app/tamberlo_app.h"
#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/pictures.h"
#include "res/command_ids.h"
#include "settings/app_settings.h"
#include "tests/support/temp_paths.h"
#include "view/tamberlo_view.h"

namespace {

class ShellTest : public ::testing::Test {
protected:
    TempPaths paths;
    ScriptedMessageService messages;
    CTamberloApp app{AppEnvironment{paths.ProfilePath(), paths.StorePath(), &messages}};

    QAction* FindCommand(int id)
    {
        return app.MainFrame()->findChild<QAction*>(QString("command%1").arg(id));
    }
    // Runs the update handlers of the menu that holds the action, as opening it does.
    void OpenMenuOf(QAction* action)
    {
        for (QMenu* menu : app.MainFrame()->findChildren<QMenu*>()) {
            if (menu->actions().contains(action)) {
                emit menu->aboutToShow();
            }
        }
    }
};

// An appointment of `minutes` from `start`, saved in the session's store; null on failure.
AppointItem SavedAppointment(PimSession& session, const std::wstring& subject,
                             const SYSTEMTIME& start, int minutes)
{
    if (session.Connect() < 0) {
        return nullptr;
    }
    AppointItem item = session.CreateAppointment();
    const DATE from = SystemTimeToVariantTime(start);
    item->SetSubject(subject);
    item->SetStart(from);
    item->SetEnd(from + minutes / 1440.0);
    return item->Save() >= 0 ? item : nullptr;
}

}  // namespace

TEST_F(ShellTest, StartsWithTheMenusAndTheSevenTooltips)
{
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.MainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    QStringList menus;
    for (QAction* top : frame->menuBar()->actions()) {
        menus << top->text();
    }
    EXPECT_EQ(menus, (QStringList{"Function", "Tool"}));

    const std::vector<std::wstring> expected{L"New",  L"File",  L"Help",   L"Cut",
                                             L"Copy", L"Paste", L"Version"};
    EXPECT_EQ(frame->toolTipTexts(), expected);
    ASSERT_EQ(frame->CommandBar()->actions().size(), 7);
    for (QAction* button : frame->CommandBar()->actions()) {
        EXPECT_NE(button->toolTip(), "Save");
    }
    EXPECT_FALSE(frame->CommandBar()->actions().at(0)->isVisible()) << "New is switched off";

    // Every command of the main menu exists with its id; Exit is always enabled.
    for (int id : {cmd::ID_ADD_APPOINT, cmd::ID_EDIT_APPOINT, cmd::ID_ADD_TASK,
                   cmd::ID_EDIT_TASK, cmd::ID_COMPLETE_TASK, cmd::ID_TODAY, cmd::ID_WEEK_BEFORE,
                   cmd::ID_WEEK_AFTER, cmd::ID_MONTH_BEFORE, cmd::ID_MONTH_AFTER,
                   cmd::ID_ZOOM_IN, cmd::ID_ZOOM_OUT, cmd::ID_VIEW_CALENDAR, cmd::ID_VIEW_BOTH,
                   cmd::ID_VIEW_APPOINT_ONLY, cmd::ID_VIEW_TASK_ONLY, cmd::ID_VIEW_DETAIL,
                   cmd::ID_DETAIL_AT_BOTTOM, cmd::ID_COPY, cmd::ID_CUT, cmd::ID_PASTE,
                   cmd::ID_JUMP_TO_DAY, cmd::ID_APP_EXIT, cmd::ID_ENVIRONMENT,
                   cmd::ID_CATEGORY_SET, cmd::ID_CHARACTER_SET, cmd::ID_HOLIDAY_SET,
                   cmd::ID_WEEK_COLOR_SET, cmd::ID_FUNC_KEY_SET, cmd::ID_APP_ABOUT}) {
        EXPECT_NE(FindCommand(id), nullptr) << id;
    }
    QAction* exitAction = FindCommand(cmd::ID_APP_EXIT);
    OpenMenuOf(exitAction);
    EXPECT_TRUE(exitAction->isEnabled());
    EXPECT_EQ(exitAction->text(), "Exit");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ShellTest, ExitAndCloseBothWriteTheProfile)
{
    ASSERT_TRUE(app.InitInstance());
    app.Settings().SetOneHourPixel(48);
    FindCommand(cmd::ID_APP_EXIT)->trigger();
    QFile written(QString::fromStdString(paths.ProfilePath()));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("OneHourPixel=48"));
    written.close();

    QFile::remove(QString::fromStdString(paths.ProfilePath()));
    app.Settings().SetOneHourPixel(60);
    app.MainFrame()->close();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("OneHourPixel=60"));
}

TEST(Shell, AnUnwritableProfileIsNotFatal)
{
    ScriptedMessageService messages;
    TempPaths paths;
    CTamberloApp app(
        AppEnvironment{"/proc/tamberlo-no-such-dir/Tamberlo.ini", paths.StorePath(), &messages});
    ASSERT_TRUE(app.InitInstance());
    EXPECT_FALSE(app.SaveSettings());
    app.MainFrame()->close();
}

TEST(Shell, TheWindowShowsWhatTheStoreHolds)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30));
    const ScopedClock fixedNow(clock);
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    ASSERT_NE(SavedAppointment(session, L"Dentist", MakeSystemTime(2026, 12, 8, 9), 60), nullptr);
    session.Disconnect();
    ScriptedMessageService messages;
    CTamberloApp app(AppEnvironment{paths.ProfilePath(), paths.StorePath(), &messages});
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(messages.shown().empty());
    const int row = DaysBetween(app.Document()->GetShownStart(), MakeSystemTime(2026, 12, 8));
    ASSERT_EQ(app.Document()->ApptCount(row), 1);

    CTamberloView* view = app.MainFrame()->View();
    std::vector<std::wstring> drawn;
    view->Texts().SetRecorder([&drawn](const DrawnText& t) { drawn.push_back(t.text); });
    QImage image(1024, 640, QImage::Format_RGB32);
    QPainter painter(&image);
    view->Render(painter, image.size(), image.rect());
    // Bars show the first DispTextLen (by default 5) characters of the subject.
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), L"Denti"), drawn.end());
    app.MainFrame()->close();
}

TEST(Shell, AStoreThatCannotBeOpenedStillStartsTheWindow)
{
    TempPaths paths;
    ScriptedMessageService messages;
    CTamberloApp app(AppEnvironment{paths.ProfilePath(), paths.File(""), &messages});
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].caption, L"Warning");
    EXPECT_NE(app.MainFrame()->View(), nullptr);
    app.MainFrame()->close();
}

TEST(Shell, PagingFarAwayReloadsTheDocumentAndComesBack)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30));
    const ScopedClock fixedNow(clock);
    TempPaths paths;
    {
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        AppointItem item = SavedAppointment(session, L"Choir", MakeSystemTime(2026, 12, 7, 19), 120);
        ASSERT_NE(item, nullptr);
        std::shared_ptr<pim::RecurrencePattern> pattern;
        ASSERT_GE(item->GetRecurrencePattern(&pattern), 0);
        pattern->SetRecurrenceType(kRecursWeekly);
        pattern->SetDayOfWeekMask(0x02);
        pattern->SetPatternStartDate(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7)));
        pattern->SetStartTime(item->GetStart());
        pattern->SetDuration(120);
        ASSERT_GE(item->Save(), 0);
    }
    ScriptedMessageService messages;
    CTamberloApp app(AppEnvironment{paths.ProfilePath(), paths.StorePath(), &messages});
    ASSERT_TRUE(app.InitInstance());
    CTamberloView* view = app.MainFrame()->View();
    const CTamberloDoc& doc = *app.Document();
    const SYSTEMTIME first = doc.GetShownStart();
    // Every Monday on screen holds the rehearsal, however far the window had to move.
    const auto mondaysHoldIt = [&doc] {
        for (int row = 0; row < doc.GetShownDayCount(); ++row) {
            const SYSTEMTIME day = AddDays(doc.GetShownStart(), row);
            const bool inSeries = DaysBetween(MakeSystemTime(2026, 12, 7), day) >= 0;
            const int expected = inSeries && day.wDayOfWeek == 1 ? 1 : 0;
            if (doc.ApptCount(row) != expected ||
                (expected == 1 && doc.ApptSubject(row, 0) != L"Choir")) {
                return false;
            }
        }
        return true;
    };
    for (int step = 0; step < 30; ++step) {
        ASSERT_TRUE(view->ButtonAction(res::kButtonMonthAfter));
        ASSERT_TRUE(mondaysHoldIt()) << "month " << step + 1;
    }
    EXPECT_GT(DaysBetween(first, doc.GetShownStart()), 850);
    for (int step = 0; step < 30; ++step) {
        ASSERT_TRUE(view->ButtonAction(res::kButtonMonthBefore));
    }
    EXPECT_EQ(DaysBetween(first, doc.GetShownStart()), 0);
    EXPECT_TRUE(mondaysHoldIt());
    app.MainFrame()->close();
}

// The menus as the user sees them: shown texts, keys, enable states that follow the selection
// and the handlers, and the application's own commands reached last in the chain.
TEST_F(ShellTest, MenusShowTextsKeysAndFollowTheSelection)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30));
    const ScopedClock fixedNow(clock);
    ASSERT_TRUE(app.InitInstance());
    CTamberloView* view = app.MainFrame()->View();
    struct Shown {
        int id;
        const char* text;
        bool enabled;
        const char* keys;
    };
    const Shown shown[] = {
        {cmd::ID_ADD_APPOINT, "Add App", false, "Ctrl+N"}, // the editor is not attached yet
        {cmd::ID_EDIT_APPOINT, "Edit App", false, ""},
        {cmd::ID_ADD_TASK, "Add Task", false, "Ctrl+Shift+N"},
        {cmd::ID_EDIT_TASK, "Edit Task", false, ""},
        {cmd::ID_COMPLETE_TASK, "Complete Task", false, ""},
        {cmd::ID_WEEK_AFTER, "A Week After", true, "PgDown"},
        {cmd::ID_ZOOM_IN, "Zoom In", true, "Ctrl++; Ctrl+="},
        {cmd::ID_FIT_HOURS_TO_WIDTH, "Fit the day to the width", true, "Ctrl+0"},
        {cmd::ID_JUMP_TO_DAY, "Jump to", false, "Ctrl+G"},
        {cmd::ID_APP_EXIT, "Exit", true, "Ctrl+Q"},
        {cmd::ID_ENVIRONMENT, "Environment", false, ""},
        {cmd::ID_HOLIDAY_SET, "Holiday", false, ""},
        {cmd::ID_FUNC_KEY_SET, "Func Key", false, ""},
        {cmd::ID_APP_ABOUT, "Version", false, ""},
    };
    for (const Shown& item : shown) {
        QAction* action = FindCommand(item.id);
        ASSERT_NE(action, nullptr) << item.id;
        OpenMenuOf(action);
        EXPECT_EQ(action->text(), item.text) << item.id;
        EXPECT_EQ(action->isEnabled(), item.enabled) << item.id;
        EXPECT_EQ(QKeySequence::listToString(action->shortcuts()), item.keys) << item.id;
    }

    // The calendar toggle's check mark and the command bar's buttons follow the view at once.
    QAction* calendar = FindCommand(cmd::ID_VIEW_CALENDAR);
    calendar->trigger();
    OpenMenuOf(calendar);
    EXPECT_TRUE(calendar->isChecked());
    EXPECT_EQ(app.Settings().GetCalendarType(), 0);
    const auto barButton = [&](int id) {
        for (QAction* button : app.MainFrame()->CommandBar()->actions())
            if (button->data().toInt() == id)
                return button;
        return static_cast<QAction*>(nullptr);
    };
    int copies = 0;
    view->SetCommandHandler(cmd::ID_COPY, [&copies] { ++copies; });
    EXPECT_FALSE(barButton(cmd::ID_COPY)->isEnabled()) << "nothing is selected";

    // Attaching the application's dialog makes "Version" work without another change.
    int versions = 0;
    app.SetCommandHandler(cmd::ID_APP_ABOUT, [&versions] { ++versions; });
    QAction* about = FindCommand(cmd::ID_APP_ABOUT);
    OpenMenuOf(about);
    EXPECT_TRUE(about->isEnabled());
    EXPECT_TRUE(barButton(cmd::ID_APP_ABOUT)->isEnabled());
    about->trigger();
    EXPECT_EQ(versions, 1);
    app.MainFrame()->close();
}
