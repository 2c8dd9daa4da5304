// Sets of byte strings of which every match holds one, found in the parse
// tree (for "cat|dog|bird" the set {cat, dog, bird}, for "[ab]x" {ax, bx}),
// and the cost model that tells whether searching for a set pays.
#pragma once

#include <string>
#include <vector>

#include "regexp/parser.h"

struct TRequiredSet {
  std::vector<std::string> Strings;  // empty when nothing useful is known
  bool FoldsCase = false;            // letters that are single characters match either case
  // The pattern matches exactly these strings (with FoldsCase, in any case of
  // their letters): a line matches when one stands at a character start.
  bool Exact = false;
  double Cost = 0;  // the cost model's estimate per byte of text
};

// The cheapest set every match holds one of.
TRequiredSet FindRequiredSet(const TParseNode* top);

// The cost model's estimate per byte of text for searching the strings and
// checking each place found; what a scan without any costs is kNoStringCost.
double RequiredCost(const std::vector<std::string>& strings, bool foldsCase);
constexpr double kNoStringCost = 25.0;
