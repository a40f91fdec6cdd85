// The content lines of iCalendar text, for the places that read a component's text line by
// line: what a kept component holds and the revision lines renewed in it.
#pragma once

#include <string>
#include <vector>

namespace pim {

// The text's lines without their line ends (CR LF or LF), folded lines joined (a line that
// begins with a blank continues the one before), empty lines left out.
std::vector<std::string> UnfoldedLines(const std::string& text);

} // namespace pim
