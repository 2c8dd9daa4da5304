// Bytes that every match of a pattern holds, found in its parse tree.
//
// The operands of the concatenations at the top of the tree (groups and "+"
// included, since x+ is x followed by x*) all take part in every match, one
// after the other.  A run of those operands that are single characters
// spells a string that every match contains; the longest such run is the
// required string.  An ASCII letter of a case-folded pattern (upper or lower
// case) counts as a character whose letter case does not matter.  Scans use
// the string to pass over text that cannot match.
//
// A "^" that opens the pattern stands for the line feed it matches (the
// leading character of a line is a line feed, or a lead byte paired with
// one), so a run that starts there begins with a line feed.  The run that
// starts at the first operand is also a string that every match begins with:
// it stays within the line a match starts in, even when the match runs on
// into later lines.
#pragma once

#include <string>

#include "regexp/parser.h"

struct TRequiredBytes {
  std::string Bytes;       // empty when no string is required
  bool FoldsCase = false;  // the case of ASCII letters in Bytes does not matter
};

// The longest string that every match holds.
TRequiredBytes FindRequiredBytes(const TParseNode* top);
// The string that every match begins with (empty when shorter than two bytes).
TRequiredBytes FindRequiredPrefix(const TParseNode* top);
