// The recurrence editor driven through its controls: loading, a refusal with its focus, and the
// start check.
#include <QLineEdit>

#include "editors/recur_detail_dlg.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/editors/editor_fixture.h"

namespace {

using RecurDetailDlgTest = DialogTest;

TEST_F(RecurDetailDlgTest, RecurrenceEditorOffersToMoveAStartThatIsNoOccurrence)
{
    // Weekly from Monday 7 December with only Tuesday chosen.
    pim::RecurrenceFields pattern = pim::RecurrencePattern::WeeklyFrom(At(7, 10), 60);
    CRecurDetailDlg::Options options;
    CRecurDetailDlg dialog(pattern, options, settings_, messages_);
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
    CRecurDetailDlg::Options allDay;
    allDay.allDay = true;
    CRecurDetailDlg dialog(pattern, allDay, settings_, messages_);
    EXPECT_FALSE(Control<QWidget>(dialog, kRecurStartTime)->isEnabled());

    // An all-day appointment needs a day of span; the focus goes to "day after".
    Click(dialog, 1);
    EXPECT_EQ(LastMessage(), L"there is no day span");
    EXPECT_TRUE(FocusIsOn(dialog, kRecurDaysAfter));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // The end date radio starts the end at the start.
    Click(dialog, kRecurEndOn);
    EXPECT_TRUE(Control<QWidget>(dialog, kRecurEndDate)->isEnabled());
    EXPECT_EQ(Control<QDateEdit>(dialog, kRecurEndDate)->date(), QDate(2026, 12, 7));
}

} // namespace
