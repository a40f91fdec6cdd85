// What a pause of the pointer over the view tells: a picture button's name and key, or the whole
// subject, the times, place and categories of the item under the pointer, where the conflict
// mark is drawn what the item conflicts with, and for a meeting who is
// invited and its links. Pure text, so tests need no tooltip.
#pragma once

#include <string>

#include "view/pointer_input.h"

// Lines of the tooltip for a point of the view; empty where nothing is to be told.
std::wstring ToolTipAt(const PointerInput& input, const DayEntries& entries,
                       const DrawSettings& settings, int x, int y, int detailScroll,
                       int detailTotal);
// The tooltip of appointment `pos` of day row `day`, and of task `pos`.
std::wstring AppointmentToolTip(const DayEntries& entries, const DrawSettings& settings, int day,
                                int pos);
std::wstring TaskToolTip(const DayEntries& entries, int day, int pos);
