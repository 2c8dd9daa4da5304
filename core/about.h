// The text of the About box: the program's name and version and the
// engine's, each line centred as a fixed-pitch font shows it.
#pragma once

#include <string>
#include <vector>

namespace about {

std::u16string AboutText();

// The lines joined by line feeds, each but an empty one led by the spaces
// that centre it on the widest; widths are counted in the columns of a
// fixed-pitch font, where a double-byte character takes two.
std::u16string CentredLines(const std::vector<std::u16string>& lines);

}  // namespace about
