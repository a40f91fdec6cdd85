// The view driven as a user does: picture buttons by their tiles, every key of each focus area,
// the hardware buttons through their assignments, the desktop keys and the wheel.
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <random>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "model/tamberlo_doc.h"
#include "res/command_ids.h"
#include "res/pictures.h"
#include "settings/app_settings.h"
#include "settings/app_settings_document.h"
#include "tests/support/temp_paths.h"
#include "view/app_settings_view_store.h"
#include "view/document_schedule.h"
#include "view_harness.h"

namespace {

// A landscape client: small enough to be quick, tall enough for a dozen rows.
struct InputHarness : ViewHarness {
    explicit InputHarness(ViewSettings settings = {}) : ViewHarness(settings)
    {
        view.resize(800, 480);
        Render(800, 480);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&view, Qt::Key(key), modifiers);
    }
    void Wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent event(at, view.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    }
    int ShownDay() const { return DaysBetween(MakeSystemTime(2026, 12, 7), schedule.shownStart); }
    int Rows() const { return view.Layout().dayRowCount; }
};

} // namespace

TEST(ViewInput, PictureButtonsAnswerTheLeftButtonByTile)
{
    InputHarness h;
    const int tile = h.view.Layout().tileSize;
    QTest::mouseClick(&h.view, Qt::RightButton, {}, QPoint(3 * tile + 5, 5));
    EXPECT_EQ(h.ShownDay(), 0) << "a right click moves nothing";
    QTest::mouseClick(&h.view, Qt::LeftButton, {}, QPoint(3 * tile + 5, 5));
    EXPECT_EQ(h.ShownDay(), 7);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kButtonBar);
    EXPECT_EQ(h.view.FocusedButton(), 3);
    // Right of strip 2 lies the filler: the focus stays on a real button.
    QTest::mouseClick(&h.view, Qt::LeftButton, {}, QPoint(20 * tile + 5, 5));
    EXPECT_EQ(h.view.FocusedButton(), 3);
    QTest::mouseClick(&h.view, Qt::LeftButton, {}, QPoint(10 * tile + 5, 5));
    EXPECT_TRUE(h.Checked(cmd::ID_VIEW_CALENDAR));
    EXPECT_EQ(h.store.values.CalendarType, 0);
}

TEST(ViewInput, ButtonBarKeys)
{
    InputHarness h;
    h.Key(Qt::Key_1); // the default tool-bar button
    ASSERT_EQ(h.view.KeyFocusArea(), keys::kButtonBar);
    EXPECT_EQ(h.view.FocusedButton(), 1);
    for (int i = 0; i < 3; ++i)
        h.Key(Qt::Key_Left);
    EXPECT_EQ(h.view.FocusedButton(), 18);
    h.Key(Qt::Key_Up);
    EXPECT_EQ(h.view.FocusedButton(), 8);
    h.Key(Qt::Key_Return); // zoom in
    EXPECT_EQ(h.store.values.OneHourPixel, 48);
    h.Key(Qt::Key_Down);
    h.Key(Qt::Key_Right);
    h.Key(Qt::Key_Right);
    h.Key(Qt::Key_Right);
    EXPECT_EQ(h.view.FocusedButton(), 1) << "18, then 19 and round to 0 and 1";
}

TEST(ViewInput, BodyKeysInTheGantt)
{
    InputHarness h;
    const int rows = h.Rows();
    ASSERT_EQ(h.view.SelectedRow(), 2);
    while (h.view.SelectedRow() < rows - 1)
        h.Key(Qt::Key_Down);
    EXPECT_EQ(h.ShownDay(), 0);
    h.Key(Qt::Key_Down); // the period moves under the last row
    EXPECT_EQ(h.ShownDay(), 1);
    EXPECT_EQ(h.view.SelectedRow(), rows - 1);
    EXPECT_EQ(DaysBetween(h.schedule.shownStart, h.view.SelectedDate()), rows - 1);
    EXPECT_EQ(h.schedule.reloads, 0);
    h.schedule.held = false;
    h.Key(Qt::Key_Down);
    EXPECT_EQ(h.schedule.reloads, 1) << "a period not held reloads";

    h.Key(Qt::Key_Return);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kDetail);
    h.Key(Qt::Key_Return);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kButtonBar);
    h.Key(Qt::Key_Right);
    ASSERT_EQ(h.view.FocusedButton(), 2);
    for (int i = 0; i < 12; ++i)
        h.Key(Qt::Key_Right);
    h.Key(Qt::Key_Return); // blank button 14 hands the focus to the body
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kBody);
}

// The grid's key moves are in the navigation table; here only that the widget routes them.
TEST(ViewInput, BodyKeysInTheGrid)
{
    InputHarness h;
    h.view.Commands().Execute(cmd::ID_VIEW_CALENDAR); // back to Sunday 6 December
    h.Render(800, 480);
    ASSERT_EQ(h.Rows(), 35);
    ASSERT_EQ(h.view.SelectedRow(), 3);
    h.Key(Qt::Key_Down);
    EXPECT_EQ(h.view.SelectedRow(), 10);
    h.Key(Qt::Key_Right);
    EXPECT_EQ(h.view.SelectedRow(), 11);
    EXPECT_EQ(h.schedule.reloads, 0);
    // Month steps are four weeks in the grid.
    h.view.Commands().Execute(cmd::ID_MONTH_AFTER);
    EXPECT_EQ(h.ShownDay(), 27);
}

TEST(ViewInput, HardwareButtonsFollowTheirAssignments)
{
    ViewSettings settings;
    settings.hardwareKeys.KeyToTool = '9';
    settings.hardwareKeys.KeyToMain = 0; // "----"
    InputHarness h(settings);
    h.Key(Qt::Key_1);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kBody) << "1 is no longer assigned";
    h.Key(Qt::Key_9);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kButtonBar);
    h.Key(Qt::Key_3);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kDetail);
    h.view.ButtonAction(res::kButtonDetailView); // hide the detail area
    h.Key(Qt::Key_9);
    h.Key(Qt::Key_3);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kButtonBar) << "the detail key does nothing now";
    h.Key(Qt::Key_4); // calendar or Gantt
    EXPECT_EQ(h.store.values.CalendarType, 0);
    h.Key(Qt::Key_4);
    EXPECT_EQ(h.store.values.CalendarType, 1);
    h.view.Commands().Execute(cmd::ID_WEEK_AFTER);
    h.Key(Qt::Key_5); // today is off the rows now: the period comes back to it
    EXPECT_EQ(h.view.SelectedDate().wDay, 9);
    EXPECT_EQ(h.schedule.reloads, 1);
}

TEST(ViewInput, DetailKeysSelectItemsWithTheirStoreIdentity)
{
    InputHarness h;
    h.schedule.tasks[2] = {{.subject = L"Report", .dueHere = true, .complete = true}};
    h.schedule.appts[2] = {
        {.start = 0, .end = 1440, .subject = L"Holiday", .allDay = true, .dayKind = 1},
        {.start = 540, .end = 600, .subject = L"Dentist", .state = 1}};
    for (int i = 0; i < 20; ++i)
        h.schedule.appts[2].push_back({.start = 600 + i, .end = 700, .subject = L"Call"});
    h.view.OnUpdate();
    h.Key(Qt::Key_3);
    h.Key(Qt::Key_Up); // no line above nothing
    EXPECT_FALSE(h.view.Selection().HasItem());
    h.Key(Qt::Key_Down);
    ItemSelection item = h.view.Selection();
    EXPECT_EQ(item.kind, ItemKind::Task);
    EXPECT_EQ(item.oid, L"T2.0");
    EXPECT_TRUE(item.completed);
    EXPECT_EQ(item.date.wDay, 9);
    h.Key(Qt::Key_Down);
    EXPECT_EQ(h.view.Selection().storeIndex, -1) << "a holiday is not a store item";
    h.Key(Qt::Key_Down);
    item = h.view.Selection();
    EXPECT_EQ(item.kind, ItemKind::Appointment);
    EXPECT_EQ(item.oid, L"A2.1");
    EXPECT_TRUE(item.recurring);
    EXPECT_EQ(item.line, 2);
    for (int i = 0; i < 30; ++i)
        h.Key(Qt::Key_Down);
    EXPECT_EQ(h.view.Selection().line, 22) << "the last line stays selected";
    const int visible = h.view.Layout().detailLineCount;
    EXPECT_EQ(h.view.DetailScroll(), 22 - visible + 1);
    h.Key(Qt::Key_Return);
    EXPECT_EQ(h.view.KeyFocusArea(), keys::kButtonBar);
    // Navigation clears the selection.
    h.view.Commands().Execute(cmd::ID_WEEK_AFTER);
    EXPECT_FALSE(h.view.Selection().HasItem());
    EXPECT_EQ(h.view.DetailScroll(), 0);
}

TEST(ViewInput, DesktopKeysAndWheel)
{
    InputHarness h;
    h.Key(Qt::Key_PageDown);
    EXPECT_EQ(h.ShownDay(), 7);
    h.Key(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(h.store.values.OneHourPixel, 48);

    // Fit the day: 24 hours in whatever width the chart has, back to the zoom with Ctrl+0.
    h.Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(h.store.values.FitHoursToWidth);
    h.view.resize(1920, 1080);
    h.Render(1920, 1080);
    EXPECT_EQ(h.view.Layout().hourCount, 24);
    h.view.resize(400, 300);
    h.Render(400, 300);
    EXPECT_EQ(h.view.Layout().hourPixels, 12) << "never below the zoom-out limit";
    h.Key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_FALSE(h.store.values.FitHoursToWidth);

    InputHarness w;
    const ViewLayout& wl = w.view.Layout();
    const QPoint body(wl.dateColumnWidth + 50, wl.rowsTop + 20);
    const int row = w.view.SelectedRow();
    w.Wheel(body, -120);
    EXPECT_EQ(w.ShownDay(), 1);
    EXPECT_EQ(w.view.SelectedRow(), row) << "the wheel keeps the selected row";
    w.Wheel(body, 60);
    EXPECT_EQ(w.ShownDay(), 1) << "half a notch waits for the other half";
    w.Wheel(body, 60);
    EXPECT_EQ(w.ShownDay(), 0);
    w.Wheel(body, 120, Qt::ControlModifier);
    EXPECT_EQ(w.store.values.OneHourPixel, 48);
    const int first = w.view.Layout().firstHour;
    w.Wheel(body, -120, Qt::ShiftModifier);
    w.Render(800, 480);
    EXPECT_GT(w.view.Layout().firstHour, first);

    for (int i = 0; i < 30; ++i)
        w.schedule.appts[2].push_back({.start = 600, .end = 700, .subject = L"Call"});
    w.view.OnUpdate();
    const PixelRect detail = w.view.Layout().detailRect;
    w.Wheel(QPoint(detail.left + 20, detail.top + 20), -240);
    EXPECT_EQ(w.view.DetailScroll(), 2);
    w.Wheel(QPoint(detail.left + 20, detail.top + 20), 1200);
    EXPECT_EQ(w.view.DetailScroll(), 0);
}

TEST(ViewInput, GridProfilesWithOddWeekCountsStartAndPaint)
{
    for (int weeks : {0, 1, 1000}) {
        ViewSettings settings;
        settings.CalendarType = 0;
        settings.DispWeekCount = weeks;
        InputHarness h(settings);
        EXPECT_EQ(h.Rows() % 7, 0) << weeks;
        EXPECT_LE(h.Rows(), ViewLayout::kMaxDayRows);
        for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left})
            h.Key(key);
        EXPECT_EQ(DaysBetween(h.schedule.shownStart, h.view.SelectedDate()), h.view.SelectedRow());
        h.Render(800, 480);
    }
}

// Over the real document: a long run of keys keeps the first shown day, the selected day and the
// rows in step, reloads only when the period leaves the 120-day window, and every reload puts
// the first shown day back at slot 33.
TEST(ViewInput, LongKeyRunsKeepTheDocumentWindowConsistent)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 9, 10, 30));
    const ScopedClock fixedNow(clock);
    TempPaths paths;
    PimSession session(paths.StorePath(), OccurrenceOnDay);
    AppSettings block;
    AppSettingsDocument documentSettings(block);
    CTamberloDoc doc(session, documentSettings);
    DocumentSchedule schedule(doc);
    AppSettingsViewStore store(block);
    CTamberloView view(schedule, store);
    view.resize(800, 480);
    QImage image(800, 480, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        view.Render(painter, image.size(), image.rect());
    }
    const int keysToPress[] = {Qt::Key_Down,  Qt::Key_Down, Qt::Key_Down,     Qt::Key_Up,
                               Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown, Qt::Key_4};
    std::mt19937 random(15);
    int reloads = 0;
    int crossings = 0;
    for (int press = 0; press < 10000; ++press) {
        const SYSTEMTIME loadStart = doc.LoadStart();
        const int offset = doc.ShownOffset();
        const SYSTEMTIME first = doc.GetShownStart();
        // Mostly forward, so the run crosses the window's end many times.
        const int key = keysToPress[random() % std::size(keysToPress)];
        QTest::keyClick(&view, Qt::Key(key));
        const int rows = view.Layout().dayRowCount;
        const int moved = DaysBetween(first, doc.GetShownStart());
        ASSERT_EQ(DaysBetween(doc.GetShownStart(), view.SelectedDate()), view.SelectedRow());
        ASSERT_EQ(doc.GetShownDayCount(), rows);
        const bool reloaded = DaysBetween(loadStart, doc.LoadStart()) != 0;
        const bool held = offset + moved >= 0 && offset + moved + rows < CTamberloDoc::kSlotCount;
        ASSERT_EQ(reloaded, !held) << "press " << press;
        if (reloaded) {
            ASSERT_EQ(doc.ShownOffset(), CTamberloDoc::kDaysBefore);
            ++reloads;
        } else {
            ASSERT_EQ(doc.ShownOffset(), offset + moved);
        }
        crossings += moved != 0 && key == Qt::Key_Down ? 1 : 0;
    }
    EXPECT_GT(reloads, 10);
    EXPECT_GT(crossings, 100);
}
