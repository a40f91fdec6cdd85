// The recurrence editor through its controls: loading, refusals with their focus, the start check.
#include <QLineEdit>

#include "editors/recur_detail_dlg.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/editors/editor_fixture.h"

using RecurDetailDlgTest = DialogTest;

TEST_F(RecurDetailDlgTest, RecurrenceEditorOffersToMoveAStartThatIsNoOccurrence)
{
    // Weekly from Monday 7 December with only Tuesday chosen.
    pim::RecurrenceFields pattern = pim::RecurrencePattern::WeeklyFrom(At(7, 10), 60);
    CRecurDetailDlg dialog(pattern, {}, settings_, messages_);
    EXPECT_EQ(Control<QLineEdit>(dialog, kRecurDaysAfter)->text(), QStringLiteral("0"));
    EXPECT_EQ(Text(dialog, kRecurStartTime), QStringLiteral("10:00"));
    Click(dialog, 1065); // Monday off
    Click(dialog, 1066); // Tuesday on
    messages_.QueueAnswer(IDCANCEL);
    Click(dialog, 1);
    EXPECT_EQ(LastMessage(),
              L"Unmatch recure start date to pattern.\nDo you want auto change?\nWill change="
              L"2026/12/08");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(pattern.DayOfWeekMask, 2) << "nothing written while the dialog stays open";
    messages_.QueueAnswer(IDOK);
    Click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(pattern.DayOfWeekMask, 4);
    EXPECT_EQ(pattern.PatternStartDate, At(8));
    EXPECT_EQ(dialog.SpanMinutes(), 60);
}

TEST_F(RecurDetailDlgTest, RecurrenceEditorLayoutAndRefusals)
{
    pim::RecurrenceFields pattern = pim::RecurrencePattern::WeeklyFrom(At(7), 0);
    CRecurDetailDlg dialog(pattern, {.allDay = true}, settings_, messages_);
    EXPECT_FALSE(Control<QWidget>(dialog, kRecurStartTime)->isEnabled());
    // An all-day appointment needs a day of span; the focus goes to "day after".
    Click(dialog, 1);
    EXPECT_EQ(LastMessage(), L"there is no day span");
    EXPECT_TRUE(FocusIsOn(dialog, kRecurDaysAfter));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    // The end date radio starts the end at the start; clicked again it keeps the typed end.
    Click(dialog, kRecurEndOn);
    EXPECT_TRUE(Control<QWidget>(dialog, kRecurEndDate)->isEnabled());
    auto* end = Control<QDateEdit>(dialog, kRecurEndDate);
    EXPECT_EQ(end->date(), QDate(2026, 12, 7));
    end->setDate(QDate(2027, 1, 31));
    Click(dialog, kRecurEndOn);
    EXPECT_EQ(end->date(), QDate(2027, 1, 31));
    // A task's span that "day after" cannot hold shows whole and is refused on that field.
    const CRecurDetailDlg::Options task{
        .allDay = true, .appointment = false, .spanMinutes = 355000 * 1440};
    CRecurDetailDlg taskDialog(pattern, task, settings_, messages_);
    EXPECT_EQ(Control<QLineEdit>(taskDialog, kRecurDaysAfter)->text(), QStringLiteral("355000"));
    Click(taskDialog, 1);
    ASSERT_EQ(taskDialog.result(), QDialog::Rejected);
    EXPECT_EQ(LastMessage(), L"Please set the days as a number from 0 to 999.");
    EXPECT_TRUE(FocusIsOn(taskDialog, kRecurDaysAfter));
}

// A pressed weekday button is filled with the highlight colour, an unpressed one is not.
TEST_F(RecurDetailDlgTest, PressedWeekdaysArePlainlyVisible)
{
    pim::RecurrenceFields pattern = pim::RecurrencePattern::WeeklyFrom(At(7, 10), 60);
    CRecurDetailDlg dialog(pattern, {}, settings_, messages_);
    dialog.show();
    const QColor highlight = dialog.palette().color(QPalette::Highlight);
    auto fill = [&](int id) {
        const QImage image = Control<QWidget>(dialog, id)->grab().toImage();
        return image.pixelColor(3, image.height() / 2);
    };
    EXPECT_EQ(fill(1065), highlight); // Monday, the start's weekday
    EXPECT_NE(fill(1066), highlight);
}
