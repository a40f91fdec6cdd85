// Conversions go through time_t and the C library's local time, so the TZ variable and the
// system's zone database decide the local time exactly as for every other program.
#include "ical/ical_time.h"

#include <cmath>
#include <ctime>

#include "ical/ical_text.h"
#include "model/date_time.h"
#include "platform/pim/zone_time.h"

namespace ical {
namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2999;

bool IsRealValue(const icaltimetype& v)
{
    if (icaltime_is_null_time(v) != 0 || v.year < kFirstYear || v.year > kLastYear || v.month < 1 ||
        v.month > 12 || v.day < 1 || v.day > DaysInMonth(v.year, v.month)) {
        return false;
    }
    return v.is_date != 0 || (v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 &&
                              v.second >= 0 && v.second <= 60);
}

DATE FieldsDate(const icaltimetype& v)
{
    const int second = std::min(v.second, 59); // a leap second reads as the second before
    return v.is_date != 0 ? SystemTimeToVariantTime(MakeSystemTime(v.year, v.month, v.day))
                          : SystemTimeToVariantTime(
                                MakeSystemTime(v.year, v.month, v.day, v.hour, v.minute, second));
}

std::optional<DATE> InRange(DATE date)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(date);
    if (st.wYear < kFirstYear || st.wYear > kLastYear) {
        return std::nullopt;
    }
    return date;
}

} // namespace

int64_t DayOf(DATE date)
{
    return DayNumber(date);
}

int32_t SecondsOf(DATE date)
{
    return SecondsOfDay(date);
}

DATE LocalDateOfUtc(time_t utc)
{
    return pim::EpochToLocal(utc);
}

std::optional<DATE> LocalDate(const icaltimetype& value, icaltimezone* zone)
{
    if (!IsRealValue(value)) {
        return std::nullopt;
    }
    if (value.is_date != 0) {
        return FieldsDate(value);
    }
    if (icaltime_is_utc(value) != 0) {
        return InRange(LocalDateOfUtc(icaltime_as_timet(value)));
    }
    if (zone != nullptr) {
        icaltimetype wall = value;
        wall.zone = nullptr;
        return InRange(LocalDateOfUtc(icaltime_as_timet_with_zone(wall, zone)));
    }
    return FieldsDate(value);
}

std::optional<DATE> WallDate(const icaltimetype& value)
{
    return IsRealValue(value) ? std::optional<DATE>(FieldsDate(value)) : std::nullopt;
}

std::optional<DATE> LocalDateInZone(const icaltimetype& value, const std::string& iana)
{
    if (!IsRealValue(value)) {
        return std::nullopt;
    }
    if (value.is_date != 0 || icaltime_is_utc(value) != 0) {
        return LocalDate(value, nullptr);
    }
    const std::optional<DATE> local = pim::ZoneToLocal(Wide(iana.c_str()), FieldsDate(value));
    return local ? InRange(*local) : std::nullopt;
}

icaltimetype WallValue(DATE local, bool wholeDay)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(local);
    icaltimetype v = icaltime_null_time();
    v.year = st.wYear;
    v.month = st.wMonth;
    v.day = st.wDay;
    v.is_date = wholeDay ? 1 : 0;
    if (!wholeDay) {
        v.hour = st.wHour;
        v.minute = st.wMinute;
        v.second = st.wSecond;
    }
    return v;
}

icaltimetype UtcValue(DATE local)
{
    return icaltime_from_timet_with_zone(static_cast<time_t>(pim::LocalToEpoch(local)), 0,
                                         icaltimezone_get_utc_timezone());
}

} // namespace ical
