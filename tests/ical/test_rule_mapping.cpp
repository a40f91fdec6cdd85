// RRULE to pattern and back: rules it states exactly, rules it refuses with the reason.
#include <gtest/gtest.h>

#include "ical/rule_mapping.h"
#include "model/date_time.h"
#include "model/recurrence.h"

namespace {

DATE At(int y, int m, int d, int h = 9)
{
    return SystemTimeToVariantTime(MakeSystemTime(y, m, d, h));
}

pim::RecurrenceFields Pattern(int type, int interval, int mask, int day, int instance, int month)
{
    pim::RecurrenceFields p;
    p.RecurrenceType = type;
    p.Interval = interval;
    p.DayOfWeekMask = mask;
    p.DayOfMonth = day;
    p.Instance = instance;
    p.MonthOfYear = month;
    return p;
}

// The pattern for an RRULE text, for an hour from `start`.
ical::PatternFromRule Map(const char* rule, DATE start, std::optional<DATE> until = std::nullopt)
{
    return ical::RuleToPattern(icalrecurrencetype_from_string(rule), rule, start, 60, until);
}

} // namespace

TEST(RuleMapping, RulesThePatternStatesExactlyOrRefusesWithTheReason)
{
    struct Case {
        const char* rule;
        DATE start;
        int type, interval, mask, day, instance, month;
    };
    const Case cases[] = {
        {"FREQ=DAILY", At(2026, 1, 5), kRecursDaily, 1, 0, 0, 0, 0},
        {"FREQ=DAILY;BYDAY=MO,FR", At(2026, 1, 5), kRecursDaily, 1, 2 | 32, 0, 0, 0},
        {"FREQ=WEEKLY;INTERVAL=2;WKST=SU;BYDAY=SU,SA", At(2026, 1, 4), kRecursWeekly, 2, 65, 0, 0,
         0},
        {"FREQ=MONTHLY;INTERVAL=4;BYMONTHDAY=-1", At(2026, 1, 31), kRecursMonthly, 4, 0, 31, 0, 0},
        {"FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1", At(2026, 1, 30), kRecursMonthly, 1, 0, 30,
         0, 0},
        {"FREQ=MONTHLY;BYDAY=2TU,2TH", At(2026, 1, 8), kRecursMonthNth, 1, 4 | 16, 0, 2, 0},
        {"FREQ=MONTHLY;BYDAY=-1FR", At(2026, 1, 30), kRecursMonthNth, 1, 32, 0, 5, 0},
        {"FREQ=YEARLY", At(2026, 3, 14), kRecursYearly, 1, 0, 14, 0, 3},
        {"FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1", At(2028, 2, 29), kRecursYearly, 1, 0,
         29, 0, 2},
        {"FREQ=YEARLY;BYMONTH=11;BYDAY=-1TH", At(2026, 11, 26), kRecursYearNth, 1, 16, 0, 5, 11},
    };
    for (const Case& c : cases) {
        const ical::PatternFromRule mapped = Map(c.rule, c.start);
        ASSERT_TRUE(mapped.pattern) << c.rule << ": " << mapped.problem;
        const pim::RecurrenceFields& p = *mapped.pattern;
        EXPECT_EQ(std::tie(p.RecurrenceType, p.Interval, p.DayOfWeekMask, p.DayOfMonth, p.Instance,
                           p.MonthOfYear),
                  std::tie(c.type, c.interval, c.mask, c.day, c.instance, c.month))
            << c.rule;
        EXPECT_TRUE(p.NoEndDate);
        EXPECT_EQ(p.Duration, 60);
    }
    struct Refused {
        const char* rule;
        DATE start;
        bool unsupported; // valid, but not a pattern; else invalid
        DATE until = 0;
    };
    const Refused refused[] = {
        {"FREQ=HOURLY", At(2026, 1, 5), true},
        {"FREQ=DAILY;BYHOUR=9,17", At(2026, 1, 5), true},
        {"FREQ=YEARLY;BYWEEKNO=20", At(2026, 5, 11), true},
        {"FREQ=YEARLY;INTERVAL=2", At(2026, 1, 5), true},
        {"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", At(2026, 1, 30), true},
        {"FREQ=MONTHLY;BYDAY=MO", At(2026, 1, 5), true},
        {"FREQ=MONTHLY", At(2026, 1, 31), true}, // skips short months, the program does not
        {"FREQ=YEARLY", At(2028, 2, 29), true},
        {"FREQ=YEARLY;BYMONTH=4;BYMONTHDAY=31", At(2026, 4, 30), true},
        {"FREQ=DAILY;INTERVAL=2;BYDAY=MO", At(2026, 1, 5), true},
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,SA", At(2026, 1, 4), true}, // weeks from Monday
        {"FREQ=WEEKLY;BYDAY=MO;COUNT=1", At(2026, 1, 6), true},       // only DTSTART, a Tuesday
        {"FREQ=DAILY;COUNT=0", At(2026, 1, 5), false},
        {"FREQ=DAILY;UNTIL=20251231", At(2026, 1, 5), false, At(2025, 12, 31, 0)},
    };
    for (const Refused& c : refused) {
        const ical::PatternFromRule mapped =
            Map(c.rule, c.start, c.until != 0 ? std::optional(c.until) : std::nullopt);
        EXPECT_FALSE(mapped.pattern) << c.rule;
        EXPECT_FALSE(mapped.problem.empty()) << c.rule;
        EXPECT_EQ(mapped.unsupported, c.unsupported) << c.rule << ": " << mapped.problem;
    }
}

// A yearly rule on any month's last day, as other programs write it, reads as written here.
TEST(RuleMapping, MonthEndsEndsAndPatternsAsOtherProgramsWriteAndExpandThem)
{
    for (int month = 1; month <= 12; ++month) {
        const int last = DaysInMonth(2026, month);
        const std::string byDay =
            "FREQ=YEARLY;BYMONTH=" + std::to_string(month) + ";BYMONTHDAY=" + std::to_string(last);
        for (const std::string& rule : {std::string("FREQ=YEARLY"), byDay}) {
            SCOPED_TRACE(rule + " from month " + std::to_string(month));
            const ical::PatternFromRule read = Map(rule.c_str(), At(2026, month, last));
            ASSERT_TRUE(read.pattern) << read.problem;
            const std::string written = ical::PatternToRule(*read.pattern);
            const ical::PatternFromRule again = Map(written.c_str(), At(2026, month, last));
            ASSERT_TRUE(again.pattern) << written << ": " << again.problem;
            EXPECT_EQ(again.pattern->DayOfMonth, read.pattern->DayOfMonth) << written;
            for (int year = 2026; year < 2038; ++year) {
                const int64_t day = DayNumber(MakeSystemTime(year, month, last));
                EXPECT_EQ(OccurrenceOnDayNumber(*read.pattern, day, 0), kOneDayStarts) << year;
                EXPECT_NE(OccurrenceOnDayNumber(*read.pattern, day - 1, 0), kOneDayStarts);
            }
        }
    }
    const auto byCount = Map("FREQ=WEEKLY;COUNT=5;BYDAY=MO", At(2026, 1, 5));
    ASSERT_TRUE(byCount.pattern);
    EXPECT_FALSE(byCount.pattern->NoEndDate);
    EXPECT_EQ(byCount.pattern->Occurrences, 5);
    // The end day of a count comes at once; past the supported years it is their last day.
    EXPECT_EQ(byCount.pattern->PatternEndDate, At(2026, 2, 2, 0));
    EXPECT_EQ(Map("FREQ=DAILY;COUNT=999999", At(2026, 1, 5)).pattern->PatternEndDate,
              At(2999, 12, 31, 0));
    EXPECT_EQ(Map("FREQ=MONTHLY;BYDAY=-1FR;COUNT=13", At(2026, 1, 30)).pattern->PatternEndDate,
              At(2027, 1, 29, 0));
    // An UNTIL earlier in the day than the start time ends the series the day before.
    const char* until = "FREQ=DAILY;UNTIL=20260110T080000";
    const auto early = Map(until, At(2026, 1, 5), At(2026, 1, 10, 8));
    ASSERT_TRUE(early.pattern);
    EXPECT_EQ(early.pattern->PatternEndDate, At(2026, 1, 9, 0));
    EXPECT_EQ(Map(until, At(2026, 1, 5), At(2026, 1, 10, 9)).pattern->PatternEndDate,
              At(2026, 1, 10, 0));
    struct Case {
        pim::RecurrenceFields pattern;
        const char* rule;
    };
    const Case cases[] = {
        {Pattern(kRecursDaily, 1, 0, 0, 0, 0), "FREQ=DAILY"},
        {Pattern(kRecursDaily, 3, 2, 0, 0, 0), "FREQ=DAILY;INTERVAL=3"}, // the mask plays no part
        {Pattern(kRecursDaily, 1, 62, 0, 0, 0), "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"},
        {Pattern(kRecursWeekly, 2, 65, 0, 0, 0), "FREQ=WEEKLY;INTERVAL=2;WKST=SU;BYDAY=SU,SA"},
        {Pattern(kRecursWeekly, 1, 0, 0, 0, 0), ""},
        {Pattern(kRecursMonthly, 2, 0, 29, 0, 0),
         "FREQ=MONTHLY;INTERVAL=2;BYMONTHDAY=28,29;BYSETPOS=-1"},
        {Pattern(kRecursMonthly, 1, 0, 31, 0, 0), "FREQ=MONTHLY;BYMONTHDAY=-1"},
        {Pattern(kRecursMonthNth, 1, 4 | 16, 0, 5, 0), "FREQ=MONTHLY;BYDAY=-1TU,-1TH"},
        {Pattern(kRecursMonthNth, 1, 2, 0, 6, 0), ""},
        {Pattern(kRecursYearly, 3, 0, 29, 0, 2),
         "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1"},
        {Pattern(kRecursYearly, 1, 0, 30, 0, 2), "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"},
        {Pattern(kRecursYearly, 1, 0, 14, 0, 13), ""},
        {Pattern(kRecursYearNth, 1, 1, 0, 2, 5), "FREQ=YEARLY;BYMONTH=5;BYDAY=2SU"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ical::PatternToRule(c.pattern), c.rule);
    }
}
