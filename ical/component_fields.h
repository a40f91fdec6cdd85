// The text and choice fields of a component: UID, subject, memo, categories, class, place,
// busy status and a task's priority and completion, each read from the component alone.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "ical/component_reader.h"
#include "platform/pim/item_fields.h"

namespace ical {

// UID, Subject, Body, Categories and Sensitivity of `fields`. `text` is the component's own
// text (a UID-less component's id comes from it), `unfolded` the same unfolded.
void ReadCommonFields(icalcomponent* c, const std::string& text, std::string_view unfolded,
                      pim::ItemFields& fields, ReadNotes& said);

// LOCATION with the blanks it was written with.
std::wstring ReadLocation(icalcomponent* c, std::string_view unfolded, ReadNotes& said);

int32_t BusyOf(icalcomponent* c);
int32_t ImportanceOf(icalcomponent* c);
// Whether STATUS says the task is done.
bool StatusCompleted(icalcomponent* c);

} // namespace ical
