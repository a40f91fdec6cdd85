// A local time by its fields as the store's DATE, the one date helper every test folder uses
// instead of a copy of its own.
#pragma once

#include "platform/systemtime.h"

inline DATE At(int year, int month, int day, int hour = 0, int minute = 0)
{
    return SystemTimeToVariantTime(MakeSystemTime(year, month, day, hour, minute));
}
