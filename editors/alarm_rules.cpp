// Lead-time units and checks of the alarm editor.
#include "editors/alarm_rules.h"

#include "model/date_time.h"
#include "res/string_table.h"

namespace {

// The picker's date at the time text; "24:00" is the next midnight.
DATE TaskReminderTime(const AlarmForm& form)
{
    const int minutes = TimeTextMinutes(form.time, true).value_or(0);
    SYSTEMTIME at = TruncateSystemTime(minutes == 24 * 60 ? AddDays(form.date, 1) : form.date, 3);
    at.wHour = static_cast<uint16_t>(minutes % (24 * 60) / 60);
    at.wMinute = static_cast<uint16_t>(minutes % 60);
    return SystemTimeToVariantTime(at);
}

} // namespace

LeadTime SplitLeadMinutes(int32_t minutes)
{
    for (int unit = kWeeksBefore; unit > kMinutesBefore; --unit) {
        if (minutes % kLeadUnitMinutes[unit] == 0) {
            return {minutes / kLeadUnitMinutes[unit], unit};
        }
    }
    return {minutes, kMinutesBefore};
}

std::optional<int32_t> LeadMinutes(const std::wstring& numberText, int unit)
{
    if (unit < kMinutesBefore || unit > kWeeksBefore) {
        return std::nullopt;
    }
    const int64_t minutes = int64_t{TextToInt(numberText)} * kLeadUnitMinutes[unit];
    if (minutes < 0 || minutes > kMaxLeadMinutes) {
        return std::nullopt;
    }
    return static_cast<int32_t>(minutes);
}

Verdict CheckAlarmForm(const AlarmForm& form, pim::ItemFields& fields)
{
    std::optional<int32_t> lead;
    if (form.taskMode) {
        if (form.date.wYear < 1900) {
            return Refusal{1095, res::IDS_START_AFTER_1900};
        }
        if (form.date.wYear >= 3000) {
            return Refusal{1095, res::IDS_END_BEFORE_3000};
        }
        if (const Verdict time = CheckTimeText(form.time, true, 1128)) {
            return time;
        }
    } else if (!(lead = LeadMinutes(form.number, form.unit))) {
        return Refusal{1032, res::IDS_ALARM_LEAD_RANGE};
    }
    std::wstring soundFile = fields.ReminderSoundFile;
    if (const Verdict refused = TakeText(form.soundFile, soundFile, TextKind::kLine, 1040)) {
        return refused;
    }

    if (form.taskMode) {
        fields.ReminderTime = TaskReminderTime(form);
    } else {
        fields.ReminderMinutesBeforeStart = *lead;
    }
    fields.ReminderOptions = form.options;
    fields.ReminderSoundFile = soundFile;
    return std::nullopt;
}
