// What the desktop clipboard's plain text reads; where a paste lands is the editing tests'.
#include "view/view_clipboard.h"

#include <gtest/gtest.h>

#include "model/date_time.h"

TEST(ViewClipboard, PlainText)
{
    pim::StoredItem appointment;
    appointment.fields.Subject = L"Planning";
    appointment.fields.Location = L"Room 2";
    appointment.fields.Start = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 9, 9, 0));
    appointment.fields.End = SystemTimeToVariantTime(MakeSystemTime(2026, 12, 9, 10, 30));
    EXPECT_EQ(ClipPlainText(appointment), L"2026/12/09 09:00 - 10:30 Planning [Room 2]");
    pim::StoredItem task;
    task.kind = pim::kTaskKind;
    task.fields.Subject = L"Report";
    EXPECT_EQ(ClipPlainText(task), L"Report");
    task.fields.DueDate = SystemTimeToVariantTime(MakeSystemTime(2010, 12, 31));
    EXPECT_EQ(ClipPlainText(task), L"2010/12/31 Report");
}
