// The Calendars list in the real window: F9 shows it with the keyboard in it, and Space hides a
// calendar's items from the detail list and shows them again, the choice kept in the store.
#include <QListWidget>
#include <QTest>

#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/calendar_items.h"
#include "tests/support/dates.h"
#include "view/calendars_dock.h"
#include "view/tamberlo_view.h"

namespace {
class CalendarsDockTest : public ShellTest {
protected:
    // The detail list's lines of today as the window draws them.
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
    EXPECT_EQ(DetailLines(), 3);
    Opened(cmd::ID_CALENDARS_LIST)->trigger();
    QListWidget* list = dock->List();
    ASSERT_TRUE(dock->isVisible());
    EXPECT_TRUE(list->hasFocus());
    EXPECT_TRUE(Opened(cmd::ID_CALENDARS_LIST)->isChecked());
    ASSERT_EQ(list->count(), 2);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(StoredShown(store, work));
    EXPECT_EQ(DetailLines(), 1);
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_TRUE(StoredShown(store, work));
    EXPECT_EQ(DetailLines(), 3);
    Opened(cmd::ID_CALENDARS_LIST)->trigger(); // from the list: the list goes
    EXPECT_FALSE(dock->isVisible());
}
} // namespace
