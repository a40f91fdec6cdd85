// Holiday rules and day kinds: the stored text of a yearly rule, the evaluation of the rules
// over the loaded window of days (substitute holidays included) and the category test that marks
// rest days and memorial days. The evaluation returns what to enter; the document enters it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/day_kind.h"
#include "platform/systemtime.h"
#include "settings/app_settings.h"

using HolidayRule = AppSettings::HolidayRuleFields;

// Rule types: a fixed month and day, or the nth weekday of a month.
constexpr int kHolidayMonthDay = 5;
constexpr int kHolidayMonthWeek = 6;

// Reads "name,type,month,day-or-week,mask" into rule. A missing field leaves its value as it was.
// Returns how many of the five fields the text holds.
int ParseHolidayRule(const std::wstring& text, HolidayRule& rule);

// "name,type,month,day-or-week,mask" with one type digit and two-digit numbers.
std::wstring FormatHolidayRule(const HolidayRule& rule);

// Parses rule i of the HolidayInfo list into the settings' scratch rule and returns its field
// count; an i outside the list leaves the scratch rule as it is and returns 0.
int HolidayRuleAt(AppSettings& settings, int i);

// The rule's date in a year, day of week filled in; empty when the rule names no real day there
// (month outside 1..12, a day the month lacks, a week outside 1..5, a mask not of one weekday).
std::optional<SYSTEMTIME> HolidayDate(const HolidayRule& rule, int year);

// kRestdayKind, kMemorialKind or kOrdinaryKind for an appointment with these comma-separated
// categories; a timed appointment is always ordinary, and a blank category name never matches.
int CategoryHolidayKind(const AppSettings& settings, const std::wstring& categories, bool allDay);

// The holiday entries of every rule over a window of days starting at loadStart, in the order
// the document applies them. firstKinds holds the kind of each loaded day's first entry (0 for a
// day without entries) and gives the window's length. Rules without all five fields, or naming
// no real day, add nothing; no entry ever lies outside the window.
std::vector<HolidayEntry> EvaluateHolidayRules(AppSettings& settings, const SYSTEMTIME& loadStart,
                                               std::vector<int> firstKinds);
