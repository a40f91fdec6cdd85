// Recurrence rules between RRULE and the store's pattern. A rule maps only when the pattern
// gives exactly the same days under the program's own occurrence rule; anything else is
// refused with the reason, never approximated.
#pragma once

#include <libical/ical.h>

#include <optional>
#include <string>

#include "platform/pim/recurrence_fields.h"

namespace ical {

struct PatternFromRule {
    std::optional<pim::RecurrenceFields> pattern;
    std::string problem;      // why there is no pattern; "unsupported: ..." for a valid rule
    bool unsupported = false; // a valid rule the pattern cannot state (may be expanded)
    // DTSTART is not one of the rule's days: the pattern starts on the first rule day, and
    // DTSTART's own occurrence (which other programs show, and count) is left to the caller.
    bool startOffRule = false;
};

// `start` is the local first start, `minutes` the length of one occurrence. `rawRule` is the
// RRULE text as written (libical reads COUNT=0 as no count at all). An UNTIL date-time is
// given already in local time as `localUntil`.
// `startExcluded`: an EXDATE takes DTSTART out, so it need not be one of the rule's days.
PatternFromRule RuleToPattern(const icalrecurrencetype& rule, const std::string& rawRule,
                              DATE start, int32_t minutes, std::optional<DATE> localUntil,
                              bool startExcluded = false);

// The RRULE text (without UNTIL or COUNT) that makes other applications expand the pattern on
// the days the program does, or empty when the pattern has no day at all.
std::string PatternToRule(const pim::RecurrenceFields& pattern);

// The first day (day number) from the pattern start on which an occurrence starts, up to the
// pattern end; empty when there is none.
std::optional<int64_t> FirstOccurrenceDay(const pim::RecurrenceFields& pattern);

// Whether exactly `count` occurrences start from the first day to the pattern end.
bool CountFillsPattern(const pim::RecurrenceFields& pattern, int32_t count);

} // namespace ical
