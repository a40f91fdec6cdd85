// The alarm editor over a real store: both modes load what the item holds, write back what the
// user changed, and refuse bad input without touching the item.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

#include "editors/alarm_detail_dlg.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "res/string_table.h"
#include "settings/app_settings.h"
#include "tests/support/dialog_controls.h"
#include "tests/support/temp_paths.h"

namespace {

class AlarmDetailDlgTest : public ::testing::Test {
protected:
    // Saves an item filled by `fill` and answers its object id.
    template <typename Item, typename Fill> int32_t Stored(Item item, Fill fill)
    {
        fill(*item);
        EXPECT_GE(item->Save(), 0);
        return item->GetOid();
    }
    AppointItem Appointment(int32_t oid)
    {
        session_.Disconnect();
        session_.Connect();
        return session_.FindAppointment(PimSession::OidField(oid));
    }
    TaskItem Task(int32_t oid)
    {
        session_.Disconnect();
        session_.Connect();
        return session_.FindTask(PimSession::OidField(oid));
    }

    TempPaths paths_;
    PimSession session_{paths_.StorePath(), OccurrenceOnDay};
    AppSettings settings_;
    ScriptedMessageService messages_;
};

} // namespace

TEST_F(AlarmDetailDlgTest, AppointmentReminderRoundTripsThroughTheStore)
{
    session_.Connect();
    const int32_t oid = Stored(session_.CreateAppointment(), [](pim::AppointmentItem& item) {
        item.SetStart(46000.5);
        item.SetEnd(46000.6);
        item.SetReminderMinutesBeforeStart(120);
        item.SetReminderOptions(kReminderLed | kReminderSound);
        item.SetReminderSoundFile(L"/sounds/bell.wav");
    });
    AppointItem item = Appointment(oid);
    {
        CAlarmDetailDlg dialog(item, settings_, messages_);
        EXPECT_EQ(Control<QComboBox>(dialog, 1032)->currentText(), "2");
        EXPECT_EQ(Control<QComboBox>(dialog, 1024)->currentText(), "Hour Before");
        const bool checked[] = {true, false, false, true, false};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(Control<QCheckBox>(dialog, 1034 + i)->isChecked(), checked[i]) << i;
        EXPECT_EQ(Control<QLineEdit>(dialog, 1040)->text(), "/sounds/bell.wav");
        EXPECT_EQ(dialog.findChild<QDateEdit*>(ControlName(1095)), nullptr);

        Control<QComboBox>(dialog, 1024)->setCurrentIndex(kDaysBefore);
        Control<QCheckBox>(dialog, 1036)->setChecked(true);
        Control<QCheckBox>(dialog, 1038)->setChecked(true);
        Control<QLineEdit>(dialog, 1040)->setText("chime.wav");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    ASSERT_GE(item->Save(), 0);
    item = Appointment(oid);
    EXPECT_EQ(item->GetReminderMinutesBeforeStart(), 2880);
    EXPECT_EQ(item->GetReminderOptions(), 1 + 4 + 8 + 16);
    EXPECT_EQ(item->GetReminderSoundFile(), L"chime.wav");
    EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(AlarmDetailDlgTest, TaskReminderRoundTripsAndABadTimeIsRefusedWithTheFocusOnIt)
{
    session_.Connect();
    const DATE reminder = SystemTimeToVariantTime(MakeSystemTime(2026, 5, 3, 8, 15));
    const int32_t oid = Stored(session_.CreateTask(), [&](pim::TaskItem& task) {
        task.SetReminderTime(reminder);
        task.SetReminderOptions(kReminderDialog);
    });
    TaskItem task = Task(oid);
    CAlarmDetailDlg dialog(task, settings_, messages_);
    EXPECT_EQ(Control<QDateEdit>(dialog, 1095)->date(), QDate(2026, 5, 3));
    EXPECT_EQ(Control<QComboBox>(dialog, 1128)->currentText(), "08:15");
    EXPECT_EQ(dialog.findChild<QComboBox*>(ControlName(1032)), nullptr);

    Control<QComboBox>(dialog, 1128)->setEditText("25:99");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text, res::LoadString(res::IDS_BAD_TIME_TEXT));
    EXPECT_EQ(messages_.shown()[0].caption, L"Warning");
    EXPECT_EQ(messages_.shown()[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(FocusIsOn(dialog, 1128));
    EXPECT_EQ(task->GetReminderTime(), reminder) << "a refused OK writes nothing";

    Control<QDateEdit>(dialog, 1095)->setDate(QDate(2028, 2, 29));
    Control<QComboBox>(dialog, 1128)->setEditText("18:45");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_GE(task->Save(), 0);
    EXPECT_EQ(Task(oid)->GetReminderTime(),
              SystemTimeToVariantTime(MakeSystemTime(2028, 2, 29, 18, 45)));
    EXPECT_EQ(Task(oid)->GetReminderOptions(), kReminderDialog);
}

TEST_F(AlarmDetailDlgTest, TaskWithoutReminderOpensOnItsDueDateOrNow)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 14, 5));
    const ScopedClock installed(clock);
    session_.Connect();
    const struct {
        DATE due;
        QDate date;
        const char* time;
    } cases[] = {
        {pim::kNoDate, QDate(2026, 12, 7), "14:05"},
        {SystemTimeToVariantTime(MakeSystemTime(2027, 1, 9)), QDate(2027, 1, 9), "00:00"},
    };
    for (const auto& c : cases) {
        TaskItem task = session_.CreateTask();
        task->SetDueDate(c.due);
        CAlarmDetailDlg dialog(task, settings_, messages_);
        EXPECT_EQ(Control<QDateEdit>(dialog, 1095)->date(), c.date);
        EXPECT_EQ(Control<QComboBox>(dialog, 1128)->currentText(), c.time);
    }
}
