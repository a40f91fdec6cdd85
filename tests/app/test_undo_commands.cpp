// Undo and Find in the real window over a real store: a key's move is undone through the menu
// that names it, Ctrl+N starts at the selected hour, and Find selects the item it lists.
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>

#include "editors/appoint_rules.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/dialog_controls.h"
#include "tests/support/store_items.h"
#include "view/find_bar.h"
#include "view/tamberlo_view.h"

namespace {
class WindowTest : public ShellTest {
protected:
    void SetUp() override { runner = &dialogs; }
    int32_t AddAppointment(const std::wstring& subject, const SYSTEMTIME& start)
    {
        PimSession session(paths.StorePath(), OccurrenceOnDay);
        session.Connect();
        const DATE at = SystemTimeToVariantTime(start);
        return SavedAppointment(session, subject, at, at + 1.0 / 24)->GetOid();
    }
};

// The match is the sixth of seven lines on its day, below the lines the detail area shows: the
// view, the detail area and the Delete question all take that item, not the line's neighbour.
TEST_F(WindowTest, FindSelectsTheListedItemAndDeleteNamesIt)
{
    const wchar_t* subjects[] = {L"Stand-up", L"Dentist",       L"Lunch", L"Call the bank",
                                 L"Gym",      L"School pickup", L"Dinner"};
    std::vector<int32_t> oids;
    oids.reserve(7);
    for (int hour = 0; hour < 7; ++hour) {
        oids.push_back(AddAppointment(subjects[hour], MakeSystemTime(2027, 1, 18, 8 + hour)));
    }
    const int32_t school = oids[5];
    // Today, a Monday too, shown first with fewer lines on the same row.
    AddAppointment(L"Coffee", MakeSystemTime(2026, 12, 7, 8));
    Start();
    app->MainFrame()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(app->MainFrame()));
    QCoreApplication::processEvents();
    CTamberloView& view = *app->MainFrame()->View();
    Opened(cmd::ID_FIND)->trigger();
    auto* bar = app->MainFrame()->findChild<FindBar*>();
    QTest::keyClicks(bar->Field(), "school");
    QTest::keyClick(bar->Field(), Qt::Key_Return); // before the answer: the jump follows it
    ASSERT_TRUE(QTest::qWaitFor([&view] { return view.SelectedDate().wDay == 18; }));
    ASSERT_EQ(view.Selection().oid, PimSession::OidField(school));
    EXPECT_EQ(view.Selection().line, 5);
    EXPECT_GE(view.Selection().line, view.DetailScroll());
    EXPECT_LT(view.Selection().line, view.DetailScroll() + view.Layout().detailLineCount);
    QTest::keyClick(bar->Field(), Qt::Key_Escape);
    messages.QueueAnswer(IDOK);
    Opened(cmd::ID_DELETE_ITEM)->trigger();
    EXPECT_EQ(messages.shown().back().text, L"Delete Appointment \"School pickup\". OK?");
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    session.Connect();
    EXPECT_EQ(session.AppointmentCount(), 7);
    EXPECT_FALSE(session.FindAppointment(PimSession::OidField(school)));
}

// Without the mouse: select, move, undo; Ctrl+N starts at the selected hour (from 10:30).
TEST_F(WindowTest, KeysMoveUndoAndAddAtTheSelectedHour)
{
    AddAppointment(L"Dentist", MakeSystemTime(2026, 12, 9, 10));
    Start();
    CTamberloView& view = *app->MainFrame()->View();
    view.JumpTo(MakeSystemTime(2026, 12, 9));
    QTest::keyClick(&view, Qt::Key_3);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(app->Document()->StartText(view.SelectedRow(), 0), L"10:30");
    EXPECT_EQ(Opened(cmd::ID_UNDO)->text().remove('&'), "Undo Move \"Dentist\"");
    Opened(cmd::ID_UNDO)->trigger();
    EXPECT_EQ(app->Document()->StartText(view.SelectedRow(), 0), L"10:00");
    QTest::keyClick(&view, Qt::Key_2);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QString shown;
    dialogs.Queue([&shown](QDialog& d) {
        shown = Control<QDateEdit>(d, kAppointStartDate)->date().toString(Qt::ISODate) + " " +
                Control<QComboBox>(d, kAppointStartTime)->currentText() + " " +
                Control<QComboBox>(d, kAppointEndTime)->currentText();
        return DialogRejected;
    });
    QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(shown, "2026-12-09 11:00 12:00");
}
} // namespace
