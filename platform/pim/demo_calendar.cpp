// The demo calendar: a fixed set of weekly routines and occasions around the chosen day, then
// seeded random fill. The random numbers come straight from mt19937, whose sequence is fixed,
// so a seed gives the same calendar with every standard library.
#include "platform/pim/demo_calendar.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include "platform/pim/application.h"
#include "platform/pim/recurrence_pattern.h"

namespace pim {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr int kPlannerDays = 30;     // the believable part: this many days either side
constexpr int kPlannerSingles = 120; // single appointments placed there before spreading out
constexpr int kSpreadDays = 1500;
// A calendar beyond this many appointments covers more years at this one's density, as a
// decade of history does, instead of crowding the same years.
constexpr int kDenseAppointmentCount = 10000;
constexpr int kSunday = 1, kMonday = 2, kTuesday = 4, kThursday = 16, kWeekdays = 62;

class DemoRandom {
public:
    explicit DemoRandom(uint32_t seed) : engine_(seed) {}
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(engine_() % static_cast<uint32_t>(n)); }
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool OneIn(int n) { return Below(n) == 0; }
    template <size_t N> const wchar_t* Pick(const wchar_t* const (&list)[N])
    {
        return list[Below(static_cast<int>(N))];
    }

private:
    std::mt19937 engine_;
};

const wchar_t* const kWorkSubjects[] = {
    L"Team meeting",    L"Project review", L"Customer call", L"Budget planning",
    L"Design workshop", L"1:1 with Sarah", L"Interview",     L"Sprint planning",
    L"Release check",   L"Supplier visit", L"Training",      L"Quarterly figures"};
const wchar_t* const kWorkPlaces[] = {L"Room 2.14",     L"Board room",     L"Video call",
                                      L"Client office", L"Meeting room B", L""};
const wchar_t* const kPrivateSubjects[] = {L"Dentist",
                                           L"Dinner with friends",
                                           L"Cinema",
                                           L"Parents' evening",
                                           L"Car service",
                                           L"Haircut",
                                           L"Concert",
                                           L"Piano lesson",
                                           L"Football with Tom",
                                           L"Vet"};
const wchar_t* const kPrivatePlaces[] = {
    L"City centre", L"12 Main Street", L"Odeon", L"Miller's garage", L"Home", L"Town hall", L""};
const wchar_t* const kTaskSubjects[] = {
    L"Submit expense report", L"Renew passport",   L"Buy birthday present", L"Prepare slides",
    L"Book flights",          L"Call the plumber", L"Read the contract",    L"Pay invoices",
    L"Update the website",    L"Clean the garage", L"Write minutes",        L"Order printer ink"};
const wchar_t* const kNotes[] = {L"", L"", L"Bring the laptop.", L"Agenda sent by mail.",
                                 L"Remember the documents\r\nand the parking ticket."};

struct Routine {
    const wchar_t* subject;
    const wchar_t* location;
    const wchar_t* categories;
    int32_t type;
    int32_t mask; // DayOfWeekMask, Sunday = 1
    int32_t dayOfMonth;
    int32_t instance;
    int32_t monthOfYear;
    int startMinute; // minutes after midnight; -1 for an all-day occasion
    int duration;    // minutes
};

// The week planner's regulars, one of each pattern type.
const Routine kRoutines[] = {
    {L"Walk the dog", L"Park", L"Personal", 0, 0, 0, 0, 0, 7 * 60, 30},
    {L"Lunch", L"Cafeteria", L"Personal", 1, kWeekdays, 0, 0, 0, 12 * 60 + 30, 45},
    {L"Weekly team meeting", L"Board room", L"Business", 1, kMonday, 0, 0, 0, 10 * 60, 60},
    {L"Gym", L"Fitness First", L"Sport", 1, kTuesday | kThursday, 0, 0, 0, 18 * 60 + 30, 90},
    {L"Monthly report", L"", L"Business", 2, 0, 1, 0, 0, 9 * 60, 30},
    {L"Board meeting", L"Head office", L"Business", 3, kTuesday, 0, 2, 0, 14 * 60, 120},
    {L"Anna's birthday", L"", L"Birthday", 5, 0, 0, 0, 0, -1, 1440},
    {L"Mother's Day brunch", L"Riverside Cafe", L"Family", 6, kSunday, 0, 2, 5, 11 * 60, 120},
};

class DemoWriter {
public:
    DemoWriter(Application& app, const SYSTEMTIME& around, uint32_t seed)
        : app_(app), today_(std::floor(SystemTimeToVariantTime(around))), random_(seed)
    {
    }

    int32_t Fill(int appointmentCount, int taskCount);

private:
    int32_t Keep(int32_t status)
    {
        if (status < 0 && status_ >= 0) {
            status_ = status;
        }
        return status;
    }
    std::shared_ptr<AppointmentItem> NewAppointment(const std::wstring& subject,
                                                    const std::wstring& location,
                                                    const std::wstring& categories);
    void AddRoutine(const Routine& routine, DATE firstDay, bool regular, bool withException);
    void AddException(AppointmentItem& master, DATE from);
    void AddOccasions(int count);
    void AddSingle(int index);
    void AddTask(int index);

    Application& app_;
    DATE today_;
    DemoRandom random_;
    int exceptionKind_ = 0;
    int appointmentSpreadDays_ = kSpreadDays;
    int32_t status_ = 0;
};

std::shared_ptr<AppointmentItem> DemoWriter::NewAppointment(const std::wstring& subject,
                                                            const std::wstring& location,
                                                            const std::wstring& categories)
{
    std::shared_ptr<AppointmentItem> item;
    if (Keep(app_.CreateItem(kAppointmentKind, &item)) < 0) {
        return nullptr;
    }
    item->SetSubject(subject);
    item->SetLocation(location);
    item->SetCategories(categories);
    item->SetBody(random_.Pick(kNotes));
    item->SetBusyStatus(categories == L"Business" ? 2 : random_.Below(3));
    item->SetSensitivity(categories == L"Personal" && random_.OneIn(3) ? 2 : 0);
    item->SetReminderSet(random_.OneIn(2));
    item->SetReminderMinutesBeforeStart(random_.OneIn(2) ? 15 : 60);
    return item;
}

// A regular runs for good now and then ending; a later copy is a short burst (a course, a
// project) at another hour, so copies never stack up on the regular's own bars.
void DemoWriter::AddRoutine(const Routine& routine, DATE firstDay, bool regular, bool withException)
{
    const auto item = NewAppointment(routine.subject, routine.location, routine.categories);
    std::shared_ptr<RecurrencePattern> pattern;
    if (!item) {
        return;
    }
    const bool allDay = routine.startMinute < 0;
    const int startMinute = regular ? routine.startMinute : 60 * random_.Between(8, 17);
    const DATE start = firstDay + (allDay ? 0 : startMinute) * kMinute;
    item->SetStart(start);
    item->SetEnd(start + routine.duration * kMinute);
    item->SetAllDayEvent(allDay);
    if (Keep(item->GetRecurrencePattern(&pattern)) < 0) {
        return;
    }
    const SYSTEMTIME first = VariantTimeToSystemTime(firstDay);
    pattern->SetRecurrenceType(routine.type);
    pattern->SetPatternStartDate(firstDay);
    pattern->SetStartTime(start - firstDay);
    pattern->SetDuration(routine.duration);
    pattern->SetInterval(1);
    pattern->SetDayOfWeekMask(routine.mask);
    pattern->SetInstance(routine.instance);
    pattern->SetDayOfMonth(routine.type == 5 ? first.wDay : routine.dayOfMonth);
    pattern->SetMonthOfYear(routine.type == 5 ? first.wMonth : routine.monthOfYear);
    // Now and then a regular that ends, by date or by count.
    const int ending = regular ? random_.Below(6) : 1;
    pattern->SetNoEndDate(ending > 1);
    pattern->SetOccurrences(ending == 0 ? random_.Between(5, 40) : 0);
    const int lastDay = regular ? random_.Between(60, 400) : random_.Between(14, 90);
    pattern->SetPatternEndDate(ending == 1 ? firstDay + lastDay : 0.0);
    if (Keep(item->Save()) >= 0 && withException) {
        AddException(*item, std::max(firstDay, today_ - random_.Below(kPlannerDays)));
    }
}

// Changes, moves or deletes the first occurrence from `from` on, in turn.
void DemoWriter::AddException(AppointmentItem& master, DATE from)
{
    std::shared_ptr<RecurrencePattern> pattern;
    std::shared_ptr<AppointmentItem> occurrence;
    if (master.GetRecurrencePattern(&pattern) < 0) {
        return;
    }
    for (int day = 0; day < 400; ++day) {
        if (pattern->GetOccurrence(from + day, &occurrence) < 0) {
            continue;
        }
        switch (exceptionKind_++ % 3) {
        case 0:
            occurrence->SetSubject(master.GetSubject() + L" (video call)");
            occurrence->SetLocation(L"Video call");
            Keep(occurrence->Save());
            break;
        case 1:
            occurrence->SetStart(occurrence->GetStart() + 60 * kMinute);
            occurrence->SetEnd(occurrence->GetEnd() + 60 * kMinute);
            Keep(occurrence->Save());
            break;
        default:
            Keep(occurrence->Delete());
            break;
        }
        return;
    }
}

// The one-off all-day and multi-day entries of the planner, at most three.
void DemoWriter::AddOccasions(int count)
{
    struct Occasion {
        const wchar_t* subject;
        const wchar_t* location;
        const wchar_t* categories;
        int firstDay; // relative to today
        int startMinute;
        int minutes;
        bool allDay;
    };
    const Occasion occasions[] = {
        {L"Holiday in Lisbon", L"Lisbon", L"Holiday", 17, 0, 6 * 1440, true},
        {L"Public holiday", L"", L"Holiday", -9, 0, 1440, true},
        {L"Trade fair", L"Exhibition centre", L"Business", 6, 9 * 60, 1440 + 8 * 60, false},
    };
    for (const Occasion& o : occasions) {
        if (count-- <= 0) {
            return;
        }
        const auto item = NewAppointment(o.subject, o.location, o.categories);
        if (!item) {
            return;
        }
        const DATE start = today_ + o.firstDay + o.startMinute * kMinute;
        item->SetStart(start);
        item->SetEnd(start + o.minutes * kMinute);
        item->SetAllDayEvent(o.allDay);
        item->SetBusyStatus(o.allDay ? 3 : 2);
        Keep(item->Save());
    }
}

// Work on weekdays within office hours, private things in the evening or at the weekend.
void DemoWriter::AddSingle(int index)
{
    const int range = index < kPlannerSingles ? kPlannerDays : appointmentSpreadDays_;
    const DATE day = today_ + random_.Between(-range, range);
    const int weekday = VariantTimeToSystemTime(day).wDayOfWeek;
    const bool work = weekday >= 1 && weekday <= 5 && !random_.OneIn(4);
    const auto item =
        work ? NewAppointment(random_.Pick(kWorkSubjects), random_.Pick(kWorkPlaces), L"Business")
             : NewAppointment(random_.Pick(kPrivateSubjects), random_.Pick(kPrivatePlaces),
                              L"Personal");
    if (!item) {
        return;
    }
    const int hour =
        work ? random_.Between(9, 16) : random_.Between((weekday % 6) != 0 ? 18 : 10, 20);
    const DATE start = day + (hour * 60 + 30 * random_.Below(2)) * kMinute;
    item->SetStart(start);
    item->SetEnd(start + 30 * random_.Between(1, 4) * kMinute);
    Keep(item->Save());
}

void DemoWriter::AddTask(int index)
{
    std::shared_ptr<TaskItem> task;
    if (Keep(app_.CreateItem(kTaskKind, &task)) < 0) {
        return;
    }
    task->SetSubject(random_.Pick(kTaskSubjects));
    task->SetCategories(random_.OneIn(2) ? L"Business" : L"Personal");
    task->SetBody(random_.Pick(kNotes));
    task->SetImportance(random_.Below(3));
    task->SetSensitivity(random_.OneIn(5) ? 2 : 0);
    const bool dated = index % 4 != 3;
    const int range = index < kPlannerSingles ? kPlannerDays : kSpreadDays;
    const DATE start = dated ? today_ + random_.Between(-range, range) : kNoDate;
    task->SetStartDate(start);
    task->SetDueDate(dated ? start + random_.Below(8) : kNoDate);
    task->SetReminderSet(dated && random_.OneIn(3));
    task->SetReminderTime(dated ? start + 9 * 60 * kMinute : kNoDate);
    std::shared_ptr<RecurrencePattern> pattern;
    if (dated && index % 10 == 5 && Keep(task->GetRecurrencePattern(&pattern)) >= 0) {
        pattern->SetRecurrenceType(index % 20 == 5 ? 1 : 2);
        pattern->SetDayOfMonth(VariantTimeToSystemTime(start).wDay);
    } else if (dated && start < today_ && random_.OneIn(2)) {
        task->SetComplete(true);
    }
    Keep(task->Save());
}

int32_t DemoWriter::Fill(int appointmentCount, int taskCount)
{
    appointmentSpreadDays_ = static_cast<int>(std::max<int64_t>(
        kSpreadDays, int64_t{kSpreadDays} * appointmentCount / kDenseAppointmentCount));
    const int routines = static_cast<int>(std::size(kRoutines));
    const int recurring = std::max(std::min(appointmentCount, routines), appointmentCount / 5);
    const int withException = std::max(std::min(recurring, 3), recurring / 4);
    const int occasions = std::min(appointmentCount - recurring, 3);
    for (int i = 0; i < recurring && status_ >= 0; ++i) {
        // The regulars start a few weeks back; their later copies start anywhere.
        const DATE firstDay = i < routines ? today_ - 28 - random_.Below(7)
                                           : today_ + random_.Between(-appointmentSpreadDays_,
                                                                      appointmentSpreadDays_);
        AddRoutine(kRoutines[i % routines], firstDay, i < routines,
                   i % (recurring / withException) == 0);
    }
    if (status_ >= 0) {
        AddOccasions(occasions);
    }
    for (int i = 0; i < appointmentCount - recurring - occasions && status_ >= 0; ++i) {
        AddSingle(i);
    }
    for (int i = 0; i < taskCount && status_ >= 0; ++i) {
        AddTask(i);
    }
    return status_;
}

} // namespace

int32_t FillDemoCalendar(Application& app, const SYSTEMTIME& around, int appointmentCount,
                         int taskCount, uint32_t seed)
{
    // One transaction: thousands of items would otherwise cost one disk sync each.
    DemoWriter writer(app, around, seed);
    return app.RunInOneTransaction(
        [&] { return writer.Fill(std::max(appointmentCount, 0), std::max(taskCount, 0)); });
}

int32_t WriteDemoStore(const std::string& path, OccurrenceRule rule, const SYSTEMTIME& around,
                       int appointmentCount, int taskCount, uint32_t seed)
{
    Application app;
    const int32_t opened = app.Logon(path, std::move(rule));
    if (opened < 0) {
        return opened;
    }
    const int32_t filled = FillDemoCalendar(app, around, appointmentCount, taskCount, seed);
    app.Logoff();
    return filled;
}

} // namespace pim
