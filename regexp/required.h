// Bytes that every match of a pattern holds, found in its parse tree.
//
// The operands of the concatenations at the top of the tree (groups and "+"
// included, since x+ is x followed by x*) all take part in every match, one
// after the other.  A run of those operands that are single characters
// spells a string that every match contains; the longest such run is the
// required string.  An ASCII letter of a case-folded pattern (upper or lower
// case) counts as a character whose letter case does not matter.  Scans use
// the string to pass over text that cannot match.
#pragma once

#include <string>

#include "parser.h"

struct TRequiredBytes {
  std::string Bytes;       // empty when no string is required
  bool FoldsCase = false;  // the case of ASCII letters in Bytes does not matter
};

TRequiredBytes FindRequiredBytes(const TParseNode* top);
