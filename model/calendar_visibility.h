// Showing or hiding a calendar in the window: the choice is the store's (each program and the
// agenda read it there), so it is saved first and the document read again from the store.
#pragma once

#include <cstdint>

class CTamberloDoc;

// Saves `shown` for the document's calendar `calendar`, then reloads the document; negative
// (the document reloaded all the same) when the store could not be written, was not the one the
// document was loaded from, or holds no such calendar.
int32_t SetCalendarShown(CTamberloDoc& document, int32_t calendar, bool shown);
