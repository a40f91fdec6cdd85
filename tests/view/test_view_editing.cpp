// Mouse sequences on the real view over a real store (what a release means: the drag tables).
// "Today" is Monday 7 December 2026, the first shown day (row 0).
#include <QMimeData>
#include <QStyleHints>
#include <gtest/gtest.h>

#include "document_harness.h"
#include "ical/item_meeting.h"
#include "platform/pim/recurrence_pattern.h"
#include "res/command_ids.h"
#include "res/pictures.h"

using Harness = DocumentHarness;

TEST(ViewEditing, ARecurringTaskIsNotDragged)
{
    Harness h;
    ItemValues task;
    task.fields.Subject = L"Report";
    task.pattern = pim::RecurrencePattern::WeeklyFrom(At(9), 0);
    task.fields.StartDate = task.fields.DueDate = At(9);
    const int32_t recurring = h.Add(task, pim::kTaskKind);
    h.Drag(h.Point(2), h.Point(4));
    ASSERT_EQ(h.messages.shown().size(), 1U);
    EXPECT_EQ(h.messages.shown()[0].text, L"Sorry, you can't cut recursion TASK");
    EXPECT_NEAR(h.Stored(recurring, pim::kTaskKind).DueDate, At(9), 1e-6);
}

TEST(ViewEditing, OccurrenceDraggedBecomesAnException)
{
    Harness h;
    const int32_t oid = h.Add(DailyValues(L"Standup", At(7, 9), At(7, 10), At(13)));
    h.Drag(h.Point(2, 9 * 60 + 20), h.Point(2, 9 * 60 + 20) + QPoint(36, 0));
    const ReadResult exception = h.edits.ReadException(oid, 1);
    ASSERT_EQ(exception.status, EditStatus::kDone);
    EXPECT_NEAR(exception.item.occurrenceDay, At(9), 1e-6);
    EXPECT_NEAR(exception.values.fields.Start, At(9, 10), 1e-6);
    EXPECT_NEAR(h.edits.ReadOccurrenceCovering(oid, At(10)).values.fields.Start, At(10, 9), 1e-6);
}

TEST(ViewEditing, CopyCutAndPasteAcrossDays)
{
    Harness h;
    h.view.Commands().Execute(cmd::ID_PASTE); // nothing copied yet: an empty record
    ASSERT_EQ(h.messages.shown().size(), 1U);
    const int32_t oid = h.AddAppointment(7, 9, L"Review");
    h.Run(h.Point(0, 9 * 60 + 30), cmd::ID_COPY);
    // The context menu over Wednesday at 14:20 pastes a copy from 14:00 to 15:00.
    h.menuChoice = cmd::ID_CONTEXT_PASTE;
    h.Click(h.Point(2, 14 * 60 + 20), Qt::RightButton);
    // The Edit menu's paste puts another on the selected day (Wednesday) at 09:00.
    h.view.Commands().Execute(cmd::ID_PASTE);
    EXPECT_EQ(h.AppointmentCount(), 3);
    ASSERT_EQ(h.doc.ApptCount(2), 2);
    EXPECT_EQ(h.doc.StartText(2, 0), L"09:00");
    EXPECT_EQ(h.doc.StartText(2, 1), L"14:00");
    EXPECT_EQ(h.doc.EndText(2, 1), L"15:00");
    // A cut item that another program deletes before the paste is not pasted.
    h.Run(h.Point(0, 9 * 60 + 30), cmd::ID_CUT);
    PimSession other(h.paths.StorePath(), OccurrenceOnDay);
    other.Connect();
    ASSERT_EQ(other.FindAppointment(PimSession::OidField(oid))->Delete(), 0);
    other.Disconnect();
    h.Run(h.Point(6), cmd::ID_PASTE);
    ASSERT_EQ(h.messages.shown().size(), 2U); // the empty record's and the vanished item's
    EXPECT_EQ(h.messages.shown()[0].text, L"Fail at get data.");
    EXPECT_EQ(h.messages.shown()[1].text, L"Fail at get data.");
    EXPECT_EQ(h.doc.ApptCount(6), 0);
    EXPECT_EQ(h.AppointmentCount(), 2);
}

TEST(ViewEditing, DesktopClipboardRoundTrip)
{
    Harness h;
    h.AddAppointment(7, 9, L"Review");
    h.Run(h.Point(0, 9 * 60 + 30), cmd::ID_COPY);
    const QByteArray calendar = QApplication::clipboard()->mimeData()->data("text/calendar");
    // The same text from another program lands on the selected day as a copy.
    auto* foreign = new QMimeData;
    foreign->setData("text/calendar", calendar);
    QApplication::clipboard()->setMimeData(foreign);
    h.Run(h.Point(3), cmd::ID_PASTE);
    ASSERT_EQ(h.doc.ApptCount(3), 1);
    EXPECT_EQ(h.doc.ApptSubject(3, 0), L"Review");
    EXPECT_EQ(h.doc.StartText(3, 0), L"09:00");
    auto* broken = new QMimeData;
    broken->setData("text/calendar", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:garbage\n");
    QApplication::clipboard()->setMimeData(broken);
    h.view.Commands().Execute(cmd::ID_PASTE);
    EXPECT_EQ(h.AppointmentCount(), 2);
    ASSERT_EQ(h.messages.shown().size(), 1U);
    EXPECT_EQ(h.messages.shown()[0].caption, L"Warning");
}

TEST(ViewEditing, EscapeEndsADragAndCursorsFollowWhatIsUnder)
{
    Harness h;
    const int32_t oid = h.AddAppointment(8, 10);
    QTest::mousePress(&h.view, Qt::LeftButton, {}, h.Point(1, 630));
    QTest::mouseMove(&h.view, h.Point(1, 630) + QPoint(90, 0));
    EXPECT_TRUE(h.view.Editing().Dragging());
    QTest::keyClick(&h.view, Qt::Key_Escape); // nothing is written on release
    QTest::mouseRelease(&h.view, Qt::LeftButton, {}, h.Point(1, 630) + QPoint(90, 0));
    EXPECT_NEAR(h.Stored(oid).Start, At(8, 10), 1e-6);
    for (const auto& [minutes, shape] :
         {std::pair{630, Qt::SizeAllCursor}, std::pair{601, Qt::SizeHorCursor},
          std::pair{900, Qt::CrossCursor}}) {
        QTest::mouseMove(&h.view, h.Point(1, minutes));
        // On a real X server the move comes back from the server: wait for it.
        EXPECT_TRUE(QTest::qWaitFor([&, shape = shape] {
            return h.view.cursor().shape() == shape;
        })) << minutes;
    }
}

TEST(ViewEditing, AllDayItemsMoveByWholeDays)
{
    Harness h;
    ItemValues birthday = AppointmentValues(L"Birthday", At(9), At(10));
    birthday.fields.AllDayEvent = true;
    const int32_t oid = h.Add(birthday);
    // Its day's empty hours sweep a new appointment (on whole hours); only its label takes it.
    h.Drag(h.Point(2, 13 * 60), h.Point(2, 14 * 60));
    ASSERT_TRUE(h.swept);
    EXPECT_NEAR(h.swept->first, At(9, 13), 1e-6);
    EXPECT_NEAR(h.swept->second, At(9, 14, 30), 1e-6);
    h.Drag(h.Label(2), h.Label(3) + QPoint(36, 0));
    EXPECT_NEAR(h.Stored(oid).Start, At(10), 1e-6);
    EXPECT_NEAR(h.Stored(oid).End, At(11), 1e-6);
}

// A held mouse button drags, a held touch opens the menu; a double click edits only on an item.
TEST(ViewEditing, HoldsAndDoubleClicksByWhatThePointerHits)
{
    Harness h;
    const int32_t oid = h.AddAppointment(8, 10);
    int menus = 0;
    h.view.Editing().SetMenuRunner([&menus](const QPoint&) {
        ++menus;
        return cmd::ID_CONTEXT_CUT;
    });
    QStyleHints* hints = QGuiApplication::styleHints();
    const int hold = hints->mousePressAndHoldInterval();
    hints->setMousePressAndHoldInterval(20);
    const QPoint bar = h.Point(1, 630);
    QTest::mousePress(&h.view, Qt::LeftButton, {}, bar);
    QTest::qWait(80);
    QTest::mouseMove(&h.view, bar + QPoint(36, 0));
    QTest::mouseRelease(&h.view, Qt::LeftButton, {}, bar + QPoint(36, 0));
    EXPECT_EQ(menus, 0);
    EXPECT_NEAR(h.Stored(oid).Start, At(8, 11), 1e-6);
    // A touch held still on the bar opens it.
    const QPoint moved = h.Point(1, 690);
    QMouseEvent touch(QEvent::MouseButtonPress, moved, moved, h.view.mapToGlobal(moved),
                      Qt::LeftButton, Qt::LeftButton, {}, Qt::MouseEventSynthesizedBySystem);
    QApplication::sendEvent(&h.view, &touch);
    QTest::qWait(80);
    hints->setMousePressAndHoldInterval(hold);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(h.view.Editing().Record().operation, ClipRecord::kCut);
    int edits = 0;
    h.view.SetCommandHandler(cmd::ID_EDIT_APPOINT, [&edits] { ++edits; });
    const ViewLayout& l = h.view.Layout();
    const PixelRect zoomIn = l.ButtonRect(res::kButtonZoomIn);
    h.Click(moved);
    QTest::mouseDClick(&h.view, Qt::LeftButton, {}, {zoomIn.left + 2, zoomIn.top + 2});
    EXPECT_EQ(edits, 0) << "a picture button never edits";
    const QPoint detailLine(l.detailRect.left + 30, l.detailRect.top + l.detailLineHeight / 2);
    QTest::mouseDClick(&h.view, Qt::LeftButton, {}, detailLine);
    EXPECT_EQ(edits, 1);
}

// A pen's hold is timed by its events' timestamps; a modifier pressed mid-drag leaves it going.
TEST(ViewEditing, PenHoldsAreTimedByTheirEventsAndModifiersLeaveADrag)
{
    Harness h;
    const auto pen = [&h](QEvent::Type type, QPoint at, quint64 timestamp) {
        QMouseEvent event(type, at, at, h.view.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {},
                          Qt::MouseEventSynthesizedBySystem);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(&h.view, &event);
    };
    const QPoint from = h.Point(4, 13 * 60 + 10);
    const QPoint to = h.Point(4, 14 * 60 + 40);
    for (const quint64 held : {100, 920}) {
        h.swept.reset();
        pen(QEvent::MouseButtonPress, from, 5'000'950);
        pen(QEvent::MouseMove, to, 5'000'960);
        pen(QEvent::MouseButtonRelease, to, 5'000'950 + held);
        EXPECT_EQ(h.swept.has_value(), held == 920) << held << " ms";
    }
    const int32_t oid = h.AddAppointment(9, 10);
    QTest::mousePress(&h.view, Qt::LeftButton, {}, h.Point(2, 630));
    QTest::mouseMove(&h.view, h.Point(2, 660));
    QTest::keyPress(&h.view, Qt::Key_Shift);
    QTest::mouseMove(&h.view, h.Point(2, 690));
    QTest::keyRelease(&h.view, Qt::Key_Shift);
    QTest::mouseRelease(&h.view, Qt::LeftButton, {}, h.Point(2, 690));
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 11), 1e-6) << "moved by the hour dragged";
}

// Someone else's meeting moves only after the question; a pasted copy is the user's own item,
// without organizer, attendees, UID and SEQUENCE (it starts a revision count of its own).
TEST(ViewEditing, MeetingsAskBeforeAMoveAndCopiesLeaveTheMeetingBehind)
{
    Harness h;
    h.view.Editing().SetServices(
        {&h.edits, &h.messages, {}, {}, nullptr, [&h](const std::string& kept) {
             return h.messages.MessageBox(ical::CopyOnlyNotice(kept, {}), L"Confirm",
                                          MB_OKCANCEL) == IDOK;
         }});
    ItemValues meeting = AppointmentValues(L"Budget", At(9, 10), At(9, 11));
    meeting.fields.Kept = "BEGIN:VEVENT\r\nUID:budget\r\nSEQUENCE:4\r\nSUMMARY:Budget\r\n"
                          "ORGANIZER;CN=Ann:mailto:ann@example.com\r\n"
                          "ATTENDEE;PARTSTAT=NEEDS-ACTION:mailto:me@example.com\r\n"
                          "X-CUSTOM:kept\r\nEND:VEVENT\r\n";
    const int32_t oid = h.Add(meeting);
    h.messages.QueueAnswer(IDCANCEL);
    h.Drag(h.Point(2, 615), h.Point(3, 615));
    ASSERT_EQ(h.messages.shown().size(), 1U);
    EXPECT_EQ(h.messages.shown()[0].text,
              L"This meeting is organized by Ann; your change applies to your copy only.");
    EXPECT_NEAR(h.Stored(oid).Start, At(9, 10), 1e-6);
    h.messages.QueueAnswer(IDOK);
    h.Drag(h.Point(2, 615), h.Point(3, 615));
    EXPECT_NEAR(h.Stored(oid).Start, At(10, 10), 1e-6);
    h.Run(h.Point(3, 615), cmd::ID_COPY);
    h.Run(h.Point(5), cmd::ID_PASTE);
    ASSERT_EQ(h.AppointmentCount(), 2);
    const std::string copy = h.Stored(oid + 1).Kept;
    for (const char* dropped : {"ORGANIZER", "ATTENDEE", "SEQUENCE:4", "UID:budget"}) {
        EXPECT_EQ(copy.find(dropped), std::string::npos) << copy;
    }
    EXPECT_NE(copy.find("X-CUSTOM:kept"), std::string::npos) << copy;
    EXPECT_EQ(h.messages.shown().size(), 2U) << "a copy asks nothing";
}
