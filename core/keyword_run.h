// The keyword run of a hit line: where the keyword pattern's match lies.  A
// pattern that can match the empty string (`猫*`, "@") would otherwise mark
// an empty run at the line's start; the run is its first non-empty match.
#pragma once

#include <string>

#include "regexp/regexp.h"

namespace keyword_run {

// Matches matcher's current pattern against line: returns the 1-based byte
// position (0 for no match) and sets len, as TRegularExpression::Match does,
// but an empty match is replaced by the leftmost non-empty one (the longest
// at its start) when the line has one.
int Find(const TRegularExpression& matcher, const std::string& line, int& len);

}  // namespace keyword_run
