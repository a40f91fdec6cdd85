// Tooltips, the Keys and Mouse page, the focus areas Tab moves between, the tasks' check boxes.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "res/command_ids.h"
#include "res/pictures.h"
#include "view/gantt_geometry.h"
#include "view/item_tooltip.h"
#include "view/keys_and_mouse.h"
#include "view_harness.h"

namespace {
QPoint Centre(const PixelRect& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
} // namespace

TEST(ItemToolTip, ButtonsBarsTasksAndConflicts)
{
    ViewHarness h;
    h.schedule.appts[1] = {{540, 660, L"Design review with the whole team", L"Room 4", L"Work"},
                           {600, 630, L"Call", L"", L"", false, 0, 2}};
    h.schedule.tasks[2] = {{L"Report", false, false, true, false, true, false, L"December 9"}};
    h.view.resize(1280, 800);
    h.Render(1280, 800);
    const ViewLayout& l = h.view.Layout();
    const GanttGeometry g(l);
    EXPECT_EQ(h.view.ToolTipText(Centre(l.ButtonRect(res::kButtonWeekBefore))),
              L"A Week Before (PgUp)");
    EXPECT_EQ(h.view.ToolTipText(Centre(g.Bar(1, 540, 570, false).frame)),
              L"Design review with the whole team\n09:00 - 11:00\nPlace: Room 4\nCategories: Work");
    EXPECT_EQ(h.view.ToolTipText(Centre(g.Bar(1, 615, 630, false).frame)),
              L"Call\n10:00 - 10:30\nconflicts with Design review with the whole team");
    EXPECT_EQ(h.view.ToolTipText(Centre(g.TaskFrame(2))), L"Report\nDue: December 9");
}

// The digit keys are listed as assigned now; README's tables are this page as Markdown.
TEST(KeysAndMouse, TablesComeFromTheCommandAndKeyTables)
{
    keys::HardwareKeys assigned;
    assigned.KeyToDetail = 0; // not assigned: left out
    assigned.KeyToTOday = '9';
    const std::vector<HelpSection> sections = KeysAndMouse(assigned);
    ASSERT_EQ(sections.size(), 6U);
    EXPECT_EQ(sections[0].rows.size(), 16U) << "20 buttons, 4 of them blank";
    std::wstring digits; // the fourth section
    for (const HelpRow& row : sections[3].rows) {
        digits += row.keys + L" " + row.does + L"|";
    }
    EXPECT_EQ(digits, L"1 the button bar|2 the schedule|9 today|4 calendar or Gantt|");
    EXPECT_EQ(KeysAndMouseMarkdown({{L"Keys", {{L"A|B", L"does"}}}}),
              "### Keys\n\n| key | does |\n|---|---|\n| A\\|B | does |\n\n");
}

TEST(FocusAreas, TabRingAndFrames)
{
    // Hidden areas are left out of the ring; the widget below walks the whole ring.
    EXPECT_EQ(keys::NextFocusArea(keys::kButtonBar, false, true), keys::kDetail);
    EXPECT_EQ(keys::NextFocusArea(keys::kBody, true, false), keys::kButtonBar);
    EXPECT_EQ(keys::NextFocusArea(keys::kNoFocus, false, true), keys::kBody);
    ViewHarness h;
    h.view.resize(1000, 600);
    h.view.show();
    QApplication::setActiveWindow(&h.view);
    h.view.setFocus();
    ASSERT_TRUE(h.view.FocusFrameShown());
    const QColor highlight = h.view.palette().color(QPalette::Highlight);
    for (int area : {keys::kDetail, keys::kButtonBar, keys::kBody}) {
        QTest::keyClick(&h.view, Qt::Key_Tab);
        EXPECT_EQ(h.view.KeyFocusArea(), area);
        const QImage image = h.Render(1000, 600);
        const PixelRect frame = *keys::FocusAreaRect(h.view.Layout(), area);
        EXPECT_EQ(image.pixelColor(frame.left, (frame.top + frame.bottom) / 2), highlight) << area;
    }
}

// The strip's check box completes its task (the detail list's: the press tables), a tooltip too.
TEST(TaskCheckBox, AClickInTheStripCompletesTheTaskUnderIt)
{
    ViewHarness h;
    h.schedule.tasks[2] = {{L"Rep", false, false, true}, {L"Plan", false, true}};
    int completed = 0;
    h.view.SetCommandHandler(cmd::ID_COMPLETE_TASK, [&completed] { ++completed; });
    std::map<std::wstring, QPoint> drawn;
    h.view.Texts().SetRecorder([&drawn](const DrawnText& t) { drawn[t.text] = t.at; });
    h.view.resize(1280, 800);
    h.Render(1280, 800);
    ASSERT_TRUE(drawn.contains(L"^Rep ") && drawn.contains(L">>Plan "));
    const int font = h.view.Layout().mainFontSize;
    const auto text = [&](const wchar_t* label) { return drawn[label] + QPoint(4, font / 2); };
    const auto icon = [&](const wchar_t* label) {
        return drawn[label] + QPoint(-font / 2 - 1, font / 2);
    };
    EXPECT_EQ(h.view.ToolTipText(icon(L">>Plan ")), L"Plan");
    const auto click = [&](QPoint at) { QTest::mouseClick(&h.view, Qt::LeftButton, {}, at); };
    click(text(L">>Plan ")); // the text only selects
    EXPECT_EQ(std::tuple(h.view.Selection().kind, h.view.Selection().index, completed),
              std::tuple(ItemKind::Task, 1, 0));
    click(icon(L"^Rep "));
    EXPECT_EQ(std::tuple(h.view.Selection().index, completed), std::tuple(0, 1));
}

// Organizer, attendees with answer and role (unknown ones as written), then the links.
TEST(ItemToolTip, MeetingsListOrganizerAttendeesAndLinks)
{
    FakeDayEntries entries;
    entries.appts[0] = {
        {.start = 600,
         .end = 660,
         .subject = L"Planning",
         .meeting = "BEGIN:VEVENT\r\n"
                    "ORGANIZER;CN=\"Ann Lee\":mailto:ann@example.com\r\n"
                    "ATTENDEE;PARTSTAT=ACCEPTED;ROLE=CHAIR;CN=Bob:mailto:bob@example.com\r\n"
                    "ATTENDEE;ROLE=OPT-PARTICIPANT;CN=\"Dora, D.\":mailto:dora@example.com\r\n"
                    "ATTENDEE;PARTSTAT=DECLINED;ROLE=NON-PARTICIPANT:mailto:room@example.com\r\n"
                    "ATTENDEE;PARTSTAT=TENTATIVE;ROLE=X-GUEST:mailto:eve@example.com\r\n"
                    "URL:https://example.com/m/1\r\n"
                    "CONFERENCE;VALUE=URI;FEATURE=AUDIO:tel:+1-555-0100\r\n"
                    "BEGIN:VALARM\r\nACTION:EMAIL\r\nATTENDEE:mailto:me@example.com\r\n"
                    "END:VALARM\r\nEND:VEVENT\r\n"}};
    EXPECT_EQ(AppointmentToolTip(entries, DrawSettings{}, 0, 0),
              L"Planning\n10:00 - 11:00\n"
              L"Organizer: Ann Lee <ann@example.com>\n"
              L"Bob <bob@example.com>: accepted, chair\n"
              L"Dora, D. <dora@example.com>: needs action, optional\n"
              L"room@example.com: declined, for information\n"
              L"eve@example.com: tentative, x-guest\n"
              L"Link: https://example.com/m/1\n"
              L"Link: tel:+1-555-0100");
}
