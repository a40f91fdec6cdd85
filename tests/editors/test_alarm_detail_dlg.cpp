// The alarm editor in both modes loads and writes the reminder fields, refusing bad input.
#include <QCheckBox>
#include <QLineEdit>

#include "editors/alarm_detail_dlg.h"
#include "model/pim_records.h"
#include "tests/editors/editor_fixture.h"

using AlarmDetailDlgTest = DialogTest;

TEST_F(AlarmDetailDlgTest, BothModesLoadAndWriteAndABadTimeIsRefusedWithTheFocusOnIt)
{
    pim::ItemFields fields;
    fields.Start = At(8, 9);
    fields.End = At(8, 10);
    fields.ReminderMinutesBeforeStart = 120;
    fields.ReminderOptions = kReminderLed | kReminderSound;
    fields.ReminderSoundFile = L"/sounds/bell.wav";
    CAlarmDetailDlg dialog(fields, false, settings_, messages_);
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
    EXPECT_EQ(std::tie(fields.ReminderMinutesBeforeStart, fields.ReminderOptions,
                       fields.ReminderSoundFile),
              std::tuple(2880, 1 + 4 + 8 + 16, std::wstring(L"chime.wav")));
    const DATE reminder = At(3, 8, 15);
    pim::ItemFields task;
    task.ReminderTime = reminder;
    task.ReminderOptions = kReminderDialog;
    CAlarmDetailDlg taskDialog(task, true, settings_, messages_);
    EXPECT_EQ(Control<QDateEdit>(taskDialog, 1095)->date(), QDate(2026, 12, 3));
    EXPECT_EQ(Text(taskDialog, 1128), "08:15");
    Type(taskDialog, 1128, "25:99");
    Click(taskDialog, 1);
    EXPECT_NE(taskDialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages_.shown()[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(FocusIsOn(taskDialog, 1128));
    EXPECT_EQ(task.ReminderTime, reminder) << "a refused OK writes nothing";
    Control<QDateEdit>(taskDialog, 1095)->setDate(QDate(2028, 2, 29));
    Type(taskDialog, 1128, "18:45");
    Click(taskDialog, 1);
    EXPECT_EQ(task.ReminderTime, SystemTimeToVariantTime(MakeSystemTime(2028, 2, 29, 18, 45)));
    EXPECT_EQ(task.ReminderOptions, kReminderDialog);
}
