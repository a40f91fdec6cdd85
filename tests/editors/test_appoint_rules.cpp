// The appointment editor's OK checks and its start, end and end-display rules, without widgets.
#include "editors/appoint_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "res/string_table.h"

using namespace res;
#include "tests/support/dates.h"

namespace {

AppointForm Valid()
{
    return {.title = L"Meeting",
            .place = L"Office",
            .category = L"Work",
            .memo = L"Agenda\r\n\tfirst",
            .startDate = MakeSystemTime(2026, 5, 3),
            .startTime = L"09:30",
            .endDate = MakeSystemTime(2026, 5, 3),
            .endTime = L"10:45",
            .status = 2,
            .sensitivity = 1};
}

TEST(AppointRulesTest, RefusedFormsNameTheirControlAndAcceptedOnesBecomeTheValues)
{
    using Change = void (*)(AppointForm&);
    const struct {
        Change change;
        int control, messageId;
    } cases[] = {
        {[](AppointForm& f) { f.startDate.wYear = 1899; }, kAppointStartDate, IDS_START_AFTER_1900},
        {[](AppointForm& f) { f.endDate.wYear = 3000; }, kAppointEndDate, IDS_END_BEFORE_3000},
        {[](AppointForm& f) { f.endDate.wDay = 2; }, kAppointEndDate, IDS_START_BEFORE_END},
        {[](AppointForm& f) { f.recurring = true; }, kAppointRecurDetail, IDS_RECURRENCE_NOT_SET},
        {[](AppointForm& f) { f.endTime = L"25:99"; }, kAppointEndTime, IDS_BAD_TIME_TEXT},
        {[](AppointForm& f) { f.place = L"A\x1f-"; }, kAppointPlace, IDS_CONTROL_CHARACTERS},
        {[](AppointForm& f) { f.startDate.wYear = f.endDate.wYear = 3000; }, kAppointStartDate,
         IDS_START_BEFORE_3000},
        {[](AppointForm& f) { f.startTime = L"24:00"; }, kAppointStartTime,
         IDS_BAD_START_TIME_TEXT},
    };
    for (const auto& c : cases) {
        AppointForm form = Valid();
        c.change(form);
        ItemValues values;
        values.fields.Subject = L"Stored";
        EXPECT_EQ(CheckAppointForm(form, false, values), (Refusal{c.control, c.messageId}));
        EXPECT_EQ(values.fields.Subject, L"Stored") << &c - cases << ": refused values stay";
    }
    ItemValues values;
    values.pattern = pim::RecurrenceFields{};
    ASSERT_EQ(CheckAppointForm(Valid(), false, values).has_value(), false);
    const pim::ItemFields& f = values.fields;
    EXPECT_EQ(std::tie(f.Subject, f.Location, f.Categories, f.Body),
              std::tie(L"Meeting", L"Office", L"Work", L"Agenda\r\n\tfirst"));
    EXPECT_EQ(std::tie(f.Start, f.End, f.BusyStatus, f.Sensitivity),
              std::tuple(At(2026, 5, 3, 9, 30), At(2026, 5, 3, 10, 45), 2, 1));
    EXPECT_FALSE(values.pattern.has_value()) << "OneTime drops the pattern";
    // Times left as shown keep their seconds; a changed one is the minute typed.
    const DATE seconds = 30.0 / 86400.0;
    values.fields.Start = At(2026, 5, 3, 9, 30) + seconds;
    values.fields.End = At(2026, 5, 3, 10, 44) + seconds;
    ASSERT_EQ(CheckAppointForm(Valid(), false, values).has_value(), false);
    EXPECT_EQ(std::llround(values.fields.Start * 86400),
              std::llround((At(2026, 5, 3, 9, 30) + seconds) * 86400));
    EXPECT_EQ(values.fields.End, At(2026, 5, 3, 10, 45));
    // One-time all-day 3-5 May is stored to 6 May 00:00, shown 5 May "24:00"; recurring keeps it.
    AppointForm allDay = Valid();
    allDay.allDay = true;
    allDay.endDate.wDay = 5;
    allDay.startTime = allDay.endTime = L"garbage is ignored";
    ASSERT_EQ(CheckAppointForm(allDay, false, values).has_value(), false);
    EXPECT_EQ(values.fields.Start, At(2026, 5, 3));
    EXPECT_EQ(values.fields.End, At(2026, 5, 6));
    EXPECT_TRUE(values.fields.AllDayEvent);
    const EndDisplay shown = ShowEnd(values.fields.End, true);
    EXPECT_EQ(shown.date.wDay, 5);
    EXPECT_EQ(shown.time, L"24:00");
    allDay.recurring = true;
    values.pattern = pim::RecurrenceFields{};
    ASSERT_EQ(CheckAppointForm(allDay, true, values).has_value(), false);
    EXPECT_EQ(values.fields.End, At(2026, 5, 5));
    EXPECT_TRUE(values.pattern.has_value());
}

} // namespace
