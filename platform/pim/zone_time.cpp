// Zone rules come from QTimeZone (the system's tzdata), local time from the C library, so a
// converted time agrees with what every other program on the machine shows.
#include "platform/pim/zone_time.h"

#include <QDateTime>
#include <QTimeZone>

#include <ctime>
#include <map>

namespace pim {
namespace {

// Reading a zone's rules costs a file read; a thread keeps the zones it met.
const QTimeZone* ZoneNamed(const std::wstring& name)
{
    thread_local std::map<std::wstring, QTimeZone> zones;
    auto at = zones.find(name);
    if (at == zones.end()) {
        const QByteArray id = QString::fromStdWString(name).toUtf8();
        at = zones.emplace(name, QTimeZone::isTimeZoneIdAvailable(id) ? QTimeZone(id) : QTimeZone())
                 .first;
    }
    return at->second.isValid() ? &at->second : nullptr;
}

bool InYears(const SYSTEMTIME& st)
{
    return st.wYear >= 1 && st.wYear <= 9999;
}

} // namespace

bool IsKnownZone(const std::wstring& zone)
{
    return !zone.empty() && ZoneNamed(zone) != nullptr;
}

int64_t LocalToEpoch(DATE local)
{
    const SYSTEMTIME st = VariantTimeToSystemTime(local);
    std::tm fields{};
    fields.tm_year = st.wYear - 1900;
    fields.tm_mon = st.wMonth - 1;
    fields.tm_mday = st.wDay;
    fields.tm_hour = st.wHour;
    fields.tm_min = st.wMinute;
    fields.tm_sec = st.wSecond;
    fields.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&fields));
}

DATE EpochToLocal(int64_t seconds)
{
    const auto t = static_cast<time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    return SystemTimeToVariantTime(MakeSystemTime(local.tm_year + 1900, local.tm_mon + 1,
                                                  local.tm_mday, local.tm_hour, local.tm_min,
                                                  local.tm_sec));
}

std::optional<DATE> ZoneToLocal(const std::wstring& zone, DATE wall)
{
    const QTimeZone* tz = ZoneNamed(zone);
    const SYSTEMTIME st = VariantTimeToSystemTime(wall);
    if (tz == nullptr || !InYears(st)) {
        return std::nullopt;
    }
    const QDateTime at(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute, st.wSecond),
                       *tz);
    return EpochToLocal(at.toSecsSinceEpoch());
}

std::optional<DATE> LocalToZone(const std::wstring& zone, DATE local)
{
    if (!InYears(VariantTimeToSystemTime(local))) {
        return std::nullopt;
    }
    return EpochToZone(zone, LocalToEpoch(local));
}

std::optional<DATE> EpochToZone(const std::wstring& zone, int64_t seconds)
{
    const QTimeZone* tz = ZoneNamed(zone);
    if (tz == nullptr) {
        return std::nullopt;
    }
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, *tz);
    const QDate d = at.date();
    const QTime t = at.time();
    return SystemTimeToVariantTime(
        MakeSystemTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()));
}

std::optional<DATE> ZonedStartOnDay(const std::wstring& zone, int32_t secondOfDay, int64_t day,
                                    const std::function<bool(int64_t zoneDay)>& startsOn)
{
    for (int64_t c = day - kZoneDayReach; c <= day + kZoneDayReach; ++c) {
        if (!startsOn(c)) {
            continue;
        }
        const std::optional<DATE> start = ZoneToLocal(zone, JoinDate(c, secondOfDay));
        if (start && SplitDate(*start).day == day) {
            return start;
        }
    }
    return std::nullopt;
}

} // namespace pim
