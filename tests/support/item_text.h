// Every stored value of an item or a pattern as one line of text, so a round trip through the
// store or a copy is checked in one comparison whose failure shows each field; and items with
// no property left at its default, so a value that gets lost shows.
#pragma once

#include <QString>

#include <sstream>
#include <string>

#include "platform/clock.h"
#include "platform/pim/appointment_item.h"
#include "platform/pim/task_item.h"

// Control and astral characters, a line break in the body, and values past the usual ranges.
inline void SetEveryField(pim::AppointmentItem& a)
{
    a.SetUID(L"a1b2@example.org");
    a.SetSubject(L"Review \x65E5\x672C \x1F600");
    a.SetLocation(L"Room 2");
    a.SetCategories(L"Work,Team");
    a.SetBody(L"line 1\r\nline 2\x1F");
    a.SetStart(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 7, 22)));
    a.SetEnd(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 8, 1, 30)));
    a.SetAllDayEvent(true);
    a.SetBusyStatus(3);
    a.SetSensitivity(2);
    a.SetReminderSet(true);
    a.SetReminderMinutesBeforeStart(1440);
    a.SetReminderOptions(31);
    a.SetReminderSoundFile(L"/usr/share/sounds/bell.wav");
}

// Completed at 10:30 on 7 December 2026.
inline void SetEveryField(pim::TaskItem& t)
{
    t.SetUID(L"c3d4@example.org");
    t.SetSubject(L"Expense report \x00E9");
    t.SetCategories(L"Work");
    t.SetBody(L"Q2\r\n");
    t.SetSensitivity(3);
    t.SetReminderSet(true);
    t.SetReminderOptions(8);
    t.SetReminderSoundFile(L"chime.wav");
    t.SetStartDate(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 1)));
    t.SetDueDate(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 31)));
    t.SetReminderTime(SystemTimeToVariantTime(MakeSystemTime(2026, 12, 30, 9)));
    t.SetImportance(2);
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 10, 30));
    const ScopedClock installed(clock);
    t.SetComplete(true);
}

inline std::string FieldsText(const pim::ItemFields& f)
{
    std::ostringstream out;
    out.precision(17);
    out << f.Oid << '|'
        << QString::fromStdWString(f.UID + L'|' + f.Subject + L'|' + f.Location + L'|' +
                                   f.Categories + L'|' + f.Body + L'|' + f.ReminderSoundFile)
               .toStdString()
        << '|' << f.Start << '|' << f.End << '|' << f.AllDayEvent << '|' << f.BusyStatus << '|'
        << f.Sensitivity << '|' << f.ReminderSet << '|' << f.ReminderMinutesBeforeStart << '|'
        << f.ReminderOptions << '|' << f.StartDate << '|' << f.DueDate << '|' << f.DateCompleted
        << '|' << f.ReminderTime << '|' << f.Importance << '|' << f.Complete;
    return out.str();
}

inline std::string PatternText(const pim::RecurrenceFields& p)
{
    std::ostringstream out;
    out.precision(17);
    out << p.RecurrenceType << '|' << p.PatternStartDate << '|' << p.StartTime << '|' << p.EndTime
        << '|' << p.PatternEndDate << '|' << p.NoEndDate << '|' << p.Occurrences << '|'
        << p.Interval << '|' << p.DayOfWeekMask << '|' << p.DayOfMonth << '|' << p.Instance << '|'
        << p.Duration << '|' << p.MonthOfYear;
    return out.str();
}
