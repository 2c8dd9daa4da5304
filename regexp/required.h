// Bytes that every match of a pattern holds, found in its parse tree: the
// longest such string, and the one every match begins with (a leading "^"
// as the line feed it matches).  Scans use them to pass over text that
// cannot match.
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
