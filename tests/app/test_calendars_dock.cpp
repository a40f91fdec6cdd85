// The Calendars list in the real window over a real store: F9 shows it with the keyboard in it,
// Space hides a calendar's items from the chart and the detail list and shows them again, the
// choice is in the store, and Find reaches hidden calendars only when its box is ticked.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "model/tamberlo_doc.h"
#include "platform/profile.h"
#include "res/command_ids.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/calendar_items.h"
#include "tests/support/dates.h"
#include "view/calendars_dock.h"
#include "view/find_bar.h"
#include "view/tamberlo_view.h"

namespace {

class CalendarsDockTest : public ShellTest {
protected:
    // What the window draws of today: the chart's entries and the detail list's lines.
    int ChartEntries() { return app->Document()->ApptCount(View().SelectedRow()); }
    int DetailLines()
    {
        View().grab();
        return View().LastDetailLines().total;
    }
    CTamberloView& View() { return *app->MainFrame()->View(); }
};

TEST_F(CalendarsDockTest, SpaceHidesACalendarsItemsThroughTheStore)
{
    const std::string store = paths.StorePath();
    const int32_t work = AddedCalendar(store, L"Work", 0x0050A050);
    SavedIn(store, 0, L"Dentist", At(2026, 12, 7, 9));
    SavedIn(store, work, L"Standup", At(2026, 12, 7, 11));
    SavedIn(store, work, L"Slides", At(2026, 12, 7), pim::kTaskKind);
    Start();
    app->MainFrame()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    auto* dock = app->MainFrame()->findChild<CalendarsDock*>();
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(FindCommand(cmd::ID_CALENDARS_LIST)->shortcut(), QKeySequence("F9"));
    EXPECT_EQ(ChartEntries(), 2);
    EXPECT_EQ(DetailLines(), 3);

    Opened(cmd::ID_CALENDARS_LIST)->trigger();
    QListWidget* list = dock->List();
    ASSERT_TRUE(dock->isVisible());
    EXPECT_TRUE(list->hasFocus());
    EXPECT_TRUE(Opened(cmd::ID_CALENDARS_LIST)->isChecked());
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Personal");
    EXPECT_EQ(list->item(1)->text(), "Work");
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(StoredShown(store, work));
    EXPECT_EQ(ChartEntries(), 1);
    EXPECT_EQ(app->Document()->ApptSubject(View().SelectedRow(), 0), L"Dentist");
    EXPECT_EQ(DetailLines(), 1);

    Opened(cmd::ID_FIND)->trigger();
    auto* bar = app->MainFrame()->findChild<FindBar*>();
    // The bar answers once its search on the worker did.
    const auto answered = [bar] { return QTest::qWaitFor([bar] { return !bar->Searching(); }); };
    QTest::keyClicks(bar->Field(), "s");
    ASSERT_TRUE(answered());
    EXPECT_EQ(bar->Matches()->model()->rowCount(), 1) << "Dentist alone";
    bar->HiddenToo()->setChecked(true);
    ASSERT_TRUE(answered());
    EXPECT_EQ(bar->Matches()->model()->rowCount(), 3);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(StoredShown(store, work));
    EXPECT_EQ(ChartEntries(), 2);
    EXPECT_EQ(DetailLines(), 3);
    EXPECT_EQ(list->currentRow(), 1);

    Opened(cmd::ID_CALENDARS_LIST)->trigger(); // from the list: the list goes
    EXPECT_FALSE(dock->isVisible());
}

// The list's being open, and its side, come back at the next start from the profile; a damaged
// value starts with it closed, on the right.
TEST_F(CalendarsDockTest, OpenAndSideAreRememberedBetweenStarts)
{
    const auto dock = [this] { return app->MainFrame()->findChild<CalendarsDock*>(); };
    const auto restart = [this] {
        app->MainFrame()->close();
        Start();
        app->MainFrame()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    };
    Start();
    Opened(cmd::ID_CALENDARS_LIST)->trigger();
    app->MainFrame()->addDockWidget(Qt::LeftDockWidgetArea, dock());
    restart();
    EXPECT_TRUE(dock()->isVisible());
    EXPECT_EQ(app->MainFrame()->dockWidgetArea(dock()), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(Opened(cmd::ID_CALENDARS_LIST)->isChecked());

    dock()->List()->setFocus();
    Opened(cmd::ID_CALENDARS_LIST)->trigger();
    restart();
    EXPECT_FALSE(dock()->isVisible());
    app->MainFrame()->close();

    {
        Profile damaged(paths.ProfilePath());
        damaged.WriteString(L"Window", L"Docks", L"bm90IGEgc3RhdGU=");
        ASSERT_TRUE(damaged.Flush());
    }
    Start();
    EXPECT_TRUE(dock()->isHidden());
    EXPECT_EQ(app->MainFrame()->dockWidgetArea(dock()), Qt::RightDockWidgetArea);
}

} // namespace
