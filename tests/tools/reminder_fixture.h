// A temporary store with a few reminders and a reminder service over it at a fixed clock, shared
// by the service tests with the recording notifier and those on a private bus.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/support/temp_paths.h"
#include "tools/reminders/reminder_service.h"

inline DATE At(int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(2026, month, day, hour, minute));
}

// Runs the event loop until `done` holds or the time is up; the result says which.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

class ReminderFixture {
public:
    static constexpr double kMinute = 1.0 / 1440.0;

    ReminderFixture() : clock_(MakeSystemTime(2026, 12, 7, 8, 0)) {}

    AppointItem Appointment(PimSession& session, const std::wstring& subject, DATE start,
                            int minutes, int lead, int options = 4)
    {
        AppointItem item = session.CreateAppointment();
        item->SetSubject(subject);
        item->SetStart(start);
        item->SetEnd(start + minutes * kMinute);
        item->SetReminderSet(true);
        item->SetReminderMinutesBeforeStart(lead);
        item->SetReminderOptions(options);
        EXPECT_GE(item->Save(), 0);
        return item;
    }

    // Dentist at 10:00 (15 minutes ahead), a daily stand-up from 7 December at 09:00 (10 minutes
    // ahead) whose 8th moved to 13:00 and whose 9th was deleted, a task reminder at 16:00.
    void FillCalendar(const std::string& path)
    {
        PimSession session(path, OccurrenceOnDay);
        ASSERT_GE(session.Connect(), 0);
        Appointment(session, L"Dentist", At(12, 7, 10), 60, 15);
        AppointItem standup = Appointment(session, L"Stand-up", At(12, 7, 9), 30, 10);
        std::shared_ptr<pim::RecurrencePattern> daily;
        ASSERT_GE(standup->GetRecurrencePattern(&daily), 0);
        daily->SetRecurrenceType(kRecursDaily);
        daily->SetPatternStartDate(At(12, 7));
        daily->SetStartTime(9 * 60 * kMinute);
        daily->SetDuration(30);
        daily->SetDayOfWeekMask(0);  // every day, not just the start's weekday
        ASSERT_GE(standup->Save(), 0);
        std::shared_ptr<pim::AppointmentItem> occurrence;
        ASSERT_GE(daily->GetOccurrence(At(12, 8), &occurrence), 0);
        occurrence->SetSubject(L"Stand-up moved");
        occurrence->SetStart(At(12, 8, 13));
        occurrence->SetEnd(At(12, 8, 13, 30));
        ASSERT_GE(occurrence->Save(), 0);
        ASSERT_GE(daily->GetOccurrence(At(12, 9), &occurrence), 0);
        ASSERT_GE(occurrence->Delete(), 0);
        TaskItem task = session.CreateTask();
        task->SetSubject(L"Report");
        task->SetDueDate(At(12, 9));
        task->SetReminderSet(true);
        task->SetReminderTime(At(12, 7, 16));
        task->SetReminderOptions(4);
        ASSERT_GE(task->Save(), 0);
    }

    std::unique_ptr<ReminderService> StartService(Notifier& notifier)
    {
        auto service = std::make_unique<ReminderService>(
            ReminderServiceSetup{paths_.StorePath(),
                                 QString::fromStdString(paths_.File("state/reminders.json")),
                                 [this](const Reminder& r) { opened_.push_back(r.oid); }},
            notifier, clock_, err_);
        service->Start();
        return service;
    }

    void SetNow(DATE now) { clock_.Set(VariantTimeToSystemTime(now)); }

    TempPaths paths_;
    FixedClock clock_;
    std::ostringstream err_;
    std::vector<int32_t> opened_;
};
