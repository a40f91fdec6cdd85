// Lead-time units and checks of the alarm editor.
#include "editors/alarm_rules.h"

#include "model/date_time.h"
#include "res/string_table.h"

LeadTime SplitLeadMinutes(int32_t minutes)
{
    for (int unit = kWeeksBefore; unit > kMinutesBefore; --unit)
        if (minutes % kLeadUnitMinutes[unit] == 0)
            return {minutes / kLeadUnitMinutes[unit], unit};
    return {minutes, kMinutesBefore};
}

std::optional<int32_t> LeadMinutes(const std::wstring& numberText, int unit)
{
    if (unit < kMinutesBefore || unit > kWeeksBefore)
        return std::nullopt;
    const int64_t minutes = int64_t{TextToInt(numberText)} * kLeadUnitMinutes[unit];
    if (minutes < 0 || minutes > kMaxLeadMinutes)
        return std::nullopt;
    return static_cast<int32_t>(minutes);
}

Verdict CheckAlarmFields(const AlarmFields& fields)
{
    if (fields.taskMode && fields.date.wYear < 1900)
        return Refusal{1095, res::IDS_START_AFTER_1900};
    if (fields.taskMode && fields.date.wYear >= 3000)
        return Refusal{1095, res::IDS_END_BEFORE_3000};
    if (fields.taskMode && !TimeTextMinutes(fields.time, true))
        return Refusal{1128, res::IDS_BAD_TIME_TEXT};
    if (!fields.taskMode && !LeadMinutes(fields.number, fields.unit))
        return Refusal{1032, res::IDS_ALARM_LEAD_RANGE};
    return CheckLineText(fields.soundFile, 1040);
}

DATE TaskReminderTime(const AlarmFields& fields)
{
    const int minutes = TimeTextMinutes(fields.time, true).value_or(0);
    // "24:00" is the next midnight.
    SYSTEMTIME at =
        TruncateSystemTime(minutes == 24 * 60 ? AddDays(fields.date, 1) : fields.date, 3);
    at.wHour = static_cast<uint16_t>(minutes % (24 * 60) / 60);
    at.wMinute = static_cast<uint16_t>(minutes % 60);
    return SystemTimeToVariantTime(at);
}
