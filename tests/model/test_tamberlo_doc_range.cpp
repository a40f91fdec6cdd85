// The window's ranged load gives the day tables of loading every appointment, over random stores.
#include "model/tamberlo_doc.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "model/date_time.h"
#include "model/pim_session.h"
#include "model/recurrence.h"
#include "platform/clock.h"
#include "platform/pim/recurrence_pattern.h"
#include "tests/model/stub_document_settings.h"
#include "tests/support/temp_paths.h"

namespace {

constexpr double kMinute = 1.0 / 1440.0;

class RandomCalendar {
public:
    explicit RandomCalendar(uint32_t seed) : random_(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    // A day from 1950 to 2040, where the windows look.
    DATE Day() { return Between(18264, 51136); }

    // Timed, multi-day, all-day and long items, a third series of every type with exceptions.
    void AddAppointment(PimSession& session)
    {
        const AppointItem item = session.CreateAppointment();
        const bool allDay = Between(1, 4) == 1;
        const int scale = Between(1, 400);
        const int minutes = allDay ? 1440 * Between(1, 3) : Between(0, 400 * 1440) / scale;
        const DATE start = Day() + (allDay ? 0 : Between(0, 95) * 15 * kMinute);
        item->SetSubject(L"A" + std::to_wstring(Between(0, 999)));
        item->SetStart(start);
        item->SetEnd(start + minutes * kMinute);
        item->SetAllDayEvent(allDay);
        std::shared_ptr<pim::RecurrencePattern> pattern;
        if (Between(1, 3) == 1) {
            ASSERT_GE(item->GetRecurrencePattern(&pattern), 0);
            const DATE first = Between(1, 4) == 1 ? Between(0, 20000) : std::floor(start);
            pattern->SetRecurrenceType(std::vector{0, 1, 2, 3, 5, 6}[Between(0, 5)]);
            pattern->SetPatternStartDate(first);
            pattern->SetStartTime(start - std::floor(start));
            pattern->SetDuration(std::min(minutes, 3 * 1440));
            pattern->SetInterval(Between(1, 3));
            pattern->SetDayOfWeekMask(Between(1, 127));
            pattern->SetDayOfMonth(Between(1, 31));
            pattern->SetInstance(Between(1, 5));
            pattern->SetMonthOfYear(Between(1, 12));
            const int ending = Between(0, 2);
            pattern->SetNoEndDate(ending == 0);
            pattern->SetOccurrences(ending == 1 ? Between(1, 60) : 0);
            pattern->SetPatternEndDate(ending == 2 ? first + Between(0, 20000) : 0.0);
        }
        ASSERT_GE(item->Save(), 0);
        for (int tries = 0; pattern != nullptr && tries < 20; ++tries) {
            AppointItem occurrence;
            const DATE day = pattern->Fields().PatternStartDate + Between(0, 60);
            if (pattern->GetOccurrence(day, &occurrence) >= 0) {
                const DATE shift = Between(0, 1) == 0 ? Day() - day : Between(-3, 3);
                occurrence->SetStart(occurrence->GetStart() + shift);
                occurrence->SetEnd(occurrence->GetEnd() + shift + Between(0, 2));
                ASSERT_GE(Between(0, 2) == 0 ? occurrence->Delete() : occurrence->Save(), 0);
            }
        }
    }

private:
    std::mt19937 random_;
};

// Every field of every entry but the store position, which counts within what was read.
std::wstring Tables(const CTamberloDoc& doc)
{
    std::wostringstream out;
    for (int row = -doc.ShownOffset(); row < CTamberloDoc::kSlotCount - doc.ShownOffset(); ++row) {
        out << L"day " << row << L'\n';
        for (int p = 0; p < doc.ApptCount(row); ++p) {
            out << doc.ApptOid(row, p) << L' ' << doc.ApptSerial(row, p) << L' '
                << doc.ApptExceptionNo(row, p) << L' ' << doc.ApptSubject(row, p) << L' '
                << doc.ApptStartField(row, p) << L'-' << doc.ApptEndField(row, p) << L' '
                << doc.IsAllDay(row, p) << doc.EntryState(row, p) << doc.DayKind(row, p) << L'\n';
        }
    }
    return out.str();
}

} // namespace

TEST(DocRangeLoad, DayTablesEqualThoseOfReadingEveryItem)
{
    const FixedClock clock(MakeSystemTime(2026, 12, 7, 9, 0));
    const ScopedClock fixedNow(clock);
    StubSettings settings;
    TempPaths paths;
    RandomCalendar random(7);
    PimSession stored(paths.StorePath(), OccurrenceOnDay);
    ASSERT_GE(stored.Connect(), 0);
    EXPECT_GE(stored.RunInOneTransaction([&] {
        for (int i = 0; i < 120; ++i) {
            random.AddAppointment(stored);
        }
        return ::testing::Test::HasFailure() ? -1 : 0;
    }),
              0);
    stored.Disconnect();
    PimSession everything(paths.StorePath(), OccurrenceOnDay);
    ASSERT_GE(everything.Connect(), 0);
    // The reference is emptied by reloading it from a store that cannot be opened.
    PimSession nothing(paths.File("missing.sqlite3"), OccurrenceOnDay,
                       pim::StoreDatabase::Access::ReadOnly);
    CTamberloDoc ranged(stored, settings);
    CTamberloDoc reference(nothing, settings);
    int windowsWithEntries = 0;
    for (int window = 0; window < 400; ++window) {
        const SYSTEMTIME shown = VariantTimeToSystemTime(random.Day());
        for (CTamberloDoc* doc : {&ranged, &reference}) {
            doc->SetShownStart(shown);
            doc->Reload();
        }
        for (int32_t n = 1; n <= everything.AppointmentCount(); ++n) {
            reference.AddAppointment(*everything.FetchAppointment(n), n);
        }
        const std::wstring expected = Tables(reference);
        ASSERT_EQ(Tables(ranged), expected) << "window from " << DayNumber(ranged.LoadStart());
        ASSERT_EQ(ranged.GetSerialCounter(), reference.GetSerialCounter());
        windowsWithEntries += expected.find(L"\n ") != std::wstring::npos ? 1 : 0;
    }
    EXPECT_GT(windowsWithEntries, 360) << "the windows must see items";
}
