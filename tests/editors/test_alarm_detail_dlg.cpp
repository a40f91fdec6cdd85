// The alarm editor over a real store: both modes load what the item holds, write back what the
// user changed, and refuse bad input without touching the item's values. (Where a new task's
// alarm starts: the task editing tests.)
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

#include "editors/alarm_detail_dlg.h"
#include "model/item_values.h"
#include "res/string_table.h"
#include "tests/editors/editor_fixture.h"

namespace {

class AlarmDetailDlgTest : public DialogTest {
protected:
    AlarmDetailDlgTest() { session_.Connect(); }

    // The store's copy of the item after a fresh connection.
    template <typename Find> auto Reread(Find find)
    {
        session_.Disconnect();
        session_.Connect();
        return (session_.*find)(PimSession::OidField(oid_));
    }

    TempPaths paths_;
    PimSession session_{paths_.StorePath(), OccurrenceOnDay};
    int32_t oid_ = 0;
};

} // namespace

TEST_F(AlarmDetailDlgTest, AppointmentReminderRoundTripsThroughTheStore)
{
    AppointItem item = session_.CreateAppointment();
    item->SetStart(At(8, 9));
    item->SetEnd(At(8, 10));
    item->SetReminderMinutesBeforeStart(120);
    item->SetReminderOptions(kReminderLed | kReminderSound);
    item->SetReminderSoundFile(L"/sounds/bell.wav");
    ASSERT_GE(item->Save(), 0);
    oid_ = item->GetOid();

    item = Reread(&PimSession::FindAppointment);
    ItemValues values = ReadValues(*item);
    CAlarmDetailDlg dialog(values.fields, false, settings_, messages_);
    EXPECT_EQ(Text(dialog, 1032), "2");
    EXPECT_EQ(Text(dialog, 1024), "Hour Before");
    for (int i = 0; i < 5; ++i) { // LED and sound
        EXPECT_EQ(Control<QCheckBox>(dialog, 1034 + i)->isChecked(), i == 0 || i == 3) << i;
    }
    EXPECT_EQ(Control<QLineEdit>(dialog, 1040)->text(), "/sounds/bell.wav");

    Control<QComboBox>(dialog, 1024)->setCurrentIndex(kDaysBefore);
    Click(dialog, 1036);
    Click(dialog, 1038);
    Control<QLineEdit>(dialog, 1040)->setText("chime.wav");
    Click(dialog, 1);
    WriteValues(values, *item);
    ASSERT_GE(item->Save(), 0);

    item = Reread(&PimSession::FindAppointment);
    EXPECT_EQ(item->GetReminderMinutesBeforeStart(), 2880);
    EXPECT_EQ(item->GetReminderOptions(), 1 + 4 + 8 + 16);
    EXPECT_EQ(item->GetReminderSoundFile(), L"chime.wav");
}

TEST_F(AlarmDetailDlgTest, TaskReminderRoundTripsAndABadTimeIsRefusedWithTheFocusOnIt)
{
    const DATE reminder = At(3, 8, 15);
    TaskItem task = session_.CreateTask();
    task->SetReminderTime(reminder);
    task->SetReminderOptions(kReminderDialog);
    ASSERT_GE(task->Save(), 0);
    oid_ = task->GetOid();

    task = Reread(&PimSession::FindTask);
    ItemValues values = ReadValues(*task);
    CAlarmDetailDlg dialog(values.fields, true, settings_, messages_);
    EXPECT_EQ(Control<QDateEdit>(dialog, 1095)->date(), QDate(2026, 12, 3));
    EXPECT_EQ(Text(dialog, 1128), "08:15");

    Type(dialog, 1128, "25:99");
    Click(dialog, 1);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(LastMessage(), res::LoadString(res::IDS_BAD_TIME_TEXT));
    EXPECT_EQ(messages_.shown()[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(FocusIsOn(dialog, 1128));
    EXPECT_EQ(values.fields.ReminderTime, reminder) << "a refused OK writes nothing";

    Control<QDateEdit>(dialog, 1095)->setDate(QDate(2028, 2, 29));
    Type(dialog, 1128, "18:45");
    Click(dialog, 1);
    WriteValues(values, *task);
    ASSERT_GE(task->Save(), 0);
    task = Reread(&PimSession::FindTask);
    EXPECT_EQ(task->GetReminderTime(),
              SystemTimeToVariantTime(MakeSystemTime(2028, 2, 29, 18, 45)));
    EXPECT_EQ(task->GetReminderOptions(), kReminderDialog);
}
