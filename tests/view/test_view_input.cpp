// The widget routing keys and the wheel (what a key means: the key and navigation tables), a long
// run of keys over the real document and a store changed elsewhere.
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <random>

#include "document_harness.h"
#include "res/command_ids.h"
#include "view_harness.h"

namespace {
// A landscape client: small enough to be quick, tall enough for a dozen rows.
struct InputHarness : ViewHarness {
    explicit InputHarness(const ViewSettings& settings = {}) : ViewHarness(settings)
    {
        view.resize(800, 480);
        Render(800, 480);
    }
    void Keys(std::initializer_list<int> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (int key : keys) {
            QTest::keyClick(&view, Qt::Key(key), modifiers);
        }
    }
};
} // namespace

// A notch moves the period a row keeping the selected row, half notches add up; Ctrl zooms,
// Shift moves the hours, and over the detail list the wheel scrolls it.
TEST(ViewInput, TheWheelStepsByWholeNotches)
{
    InputHarness h;
    const ViewLayout& layout = h.view.Layout();
    const auto wheel = [&](QPoint at, int delta, Qt::KeyboardModifiers modifiers = {}) {
        QWheelEvent event(at, h.view.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&h.view, &event);
    };
    const auto shownDay = [&] {
        return DaysBetween(MakeSystemTime(2026, 12, 7), h.schedule.shownStart);
    };
    const QPoint body(layout.dateColumnWidth + 50, layout.rowsTop + 20);
    const int row = h.view.SelectedRow();
    wheel(body, -120);
    EXPECT_EQ(std::pair(shownDay(), h.view.SelectedRow()), std::pair(1, row));
    wheel(body, 60);
    EXPECT_EQ(shownDay(), 1) << "half a notch waits for the other half";
    wheel(body, 60);
    EXPECT_EQ(shownDay(), 0);
    wheel(body, 120, Qt::ControlModifier);
    EXPECT_EQ(h.store.values.OneHourPixel, 48);
    const int first = layout.firstHour;
    wheel(body, -120, Qt::ShiftModifier);
    h.Render(800, 480);
    EXPECT_GT(layout.firstHour, first);
    for (int i = 0; i < 30; ++i) {
        h.schedule.appts[2].push_back({.start = 600, .end = 700, .subject = L"Call"});
    }
    h.view.OnUpdate();
    const QPoint detail(layout.detailRect.left + 20, layout.detailRect.top + 20);
    wheel(detail, -240);
    EXPECT_EQ(h.view.DetailScroll(), 2);
    wheel(detail, 1200);
    EXPECT_EQ(h.view.DetailScroll(), 0);
}

TEST(ViewInput, DetailKeysSelectItemsWithTheirStoreIdentity)
{
    InputHarness h;
    h.schedule.tasks[2] = {{.subject = L"Report", .dueHere = true, .complete = true}};
    h.schedule.appts[2] = {
        {.start = 0, .end = 1440, .subject = L"Holiday", .allDay = true, .dayKind = 1},
        {.start = 540, .end = 600, .subject = L"Dentist", .state = 1}};
    for (int i = 0; i < 20; ++i) {
        h.schedule.appts[2].push_back({.start = 600 + i, .end = 700, .subject = L"Call"});
    }
    h.view.OnUpdate();
    h.Keys({Qt::Key_3, Qt::Key_Down});
    ItemSelection item = h.view.Selection();
    EXPECT_EQ(std::tuple(item.kind, item.oid, item.completed, item.date.wDay),
              std::tuple(ItemKind::Task, std::wstring(L"T2.0"), true, uint16_t{9}));
    h.Keys({Qt::Key_Down, Qt::Key_Down}); // past the holiday, no store item
    item = h.view.Selection();
    EXPECT_EQ(std::tuple(item.kind, item.oid, item.recurring, item.line),
              std::tuple(ItemKind::Appointment, std::wstring(L"A2.1"), true, 2));
    for (int i = 0; i < 30; ++i) {
        h.Keys({Qt::Key_Down});
    }
    EXPECT_EQ(h.view.Selection().line, 22) << "the last line stays selected";
    EXPECT_EQ(h.view.DetailScroll(), 22 - h.view.Layout().detailLineCount + 1);
    h.view.Commands().Execute(cmd::ID_WEEK_AFTER);
    EXPECT_FALSE(h.view.Selection().HasItem()) << "navigation clears the selection";
}

// A long run of keys keeps the first shown day, the selected day and the rows in step, reloads
// only when the period leaves the 120-day window, and every reload puts the first day at slot 33.
TEST(ViewInput, LongKeyRunsKeepTheDocumentWindowConsistent)
{
    DocumentHarness h;
    const CTamberloDoc& doc = h.doc;
    // Mostly forward, so the run crosses the window's end many times.
    const int keysToPress[] = {Qt::Key_Down,  Qt::Key_Down, Qt::Key_Down,     Qt::Key_Up,
                               Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_4};
    std::mt19937 random(15);
    int reloads = 0;
    for (int press = 0; press < 1000; ++press) {
        const SYSTEMTIME loadStart = doc.LoadStart();
        const int offset = doc.ShownOffset();
        const SYSTEMTIME first = doc.GetShownStart();
        QTest::keyClick(&h.view, Qt::Key(keysToPress[random() % std::size(keysToPress)]));
        const int rows = h.view.Layout().dayRowCount;
        const int moved = DaysBetween(first, doc.GetShownStart());
        ASSERT_EQ(DaysBetween(doc.GetShownStart(), h.view.SelectedDate()), h.view.SelectedRow());
        ASSERT_EQ(doc.GetShownDayCount(), rows);
        const bool reloaded = DaysBetween(loadStart, doc.LoadStart()) != 0;
        const bool held = offset + moved >= 0 && offset + moved + rows < CTamberloDoc::kSlotCount;
        ASSERT_EQ(reloaded, !held) << "press " << press;
        ASSERT_EQ(doc.ShownOffset(), reloaded ? CTamberloDoc::kDaysBefore : offset + moved);
        if (reloaded) {
            ++reloads;
        }
    }
    EXPECT_GT(reloads, 10);
}

// Ctrl+C, F2 and Delete run only what the enabled menu item would: nothing on a holiday line.
TEST(ViewInput, DesktopKeysFollowTheCommandEnableStates)
{
    InputHarness h;
    h.schedule.appts[2] = {
        {.start = 0, .end = 1440, .subject = L"Holiday", .allDay = true, .dayKind = 1},
        {.start = 540, .end = 600, .subject = L"Dentist"}};
    h.view.OnUpdate();
    int edits = 0;
    int deletes = 0;
    h.view.SetCommandHandler(cmd::ID_EDIT_APPOINT, [&edits] { ++edits; });
    h.view.SetCommandHandler(cmd::ID_DELETE_ITEM, [&deletes] { ++deletes; });
    for (const int line : {0, 1}) {
        h.view.SelectDetailLine(line);
        h.Keys({Qt::Key_F2, Qt::Key_Delete});
        h.Keys({Qt::Key_C}, Qt::ControlModifier);
        EXPECT_EQ(std::tuple(edits, deletes, h.view.Editing().Record().HoldsItem()),
                  std::tuple(line, line, line == 1));
    }
}

// Read again for the same period, keeping the selected item while it is there; never mid-drag.
TEST(ViewInput, AStoreChangedElsewhereIsFollowedKeepingPeriodAndSelection)
{
    DocumentHarness h;
    const int32_t kept = h.AddAppointment(8, 10, L"Kept");
    h.Click(h.Point(1, 10 * 60 + 30));
    ASSERT_EQ(TextToInt(h.view.Selection().oid), kept);
    const SYSTEMTIME first = h.doc.GetShownStart();
    PimSession elsewhere(h.paths.StorePath(), OccurrenceOnDay);
    CTamberloDoc otherDoc(elsewhere, h.docSettings);
    ScheduleEdits other(otherDoc, elsewhere);
    AddThrough(other, AppointmentValues(L"Early", At(8, 8), At(8, 9)));
    ASSERT_TRUE(h.view.StoreChanged());
    EXPECT_EQ(DaysBetween(first, h.doc.GetShownStart()), 0);
    EXPECT_EQ(h.doc.ApptSubject(1, 0), L"Early");
    EXPECT_EQ(TextToInt(h.view.Selection().oid), kept);
    EXPECT_EQ(h.view.Selection().index, 1);
    ASSERT_EQ(other.Apply({ChangeKind::kDelete, {pim::kAppointmentKind, kept}}).status,
              EditStatus::kDone);
    QTest::mousePress(&h.view, Qt::LeftButton, {}, h.Point(1, 10 * 60 + 30));
    ASSERT_TRUE(h.view.Editing().Dragging());
    EXPECT_FALSE(h.view.StoreChanged());
    EXPECT_EQ(h.doc.ApptCount(1), 2);
    h.view.Editing().CancelDrag();
    ASSERT_TRUE(h.view.StoreChanged());
    EXPECT_EQ(h.doc.ApptCount(1), 1);
    EXPECT_FALSE(h.view.Selection().HasItem());
}
