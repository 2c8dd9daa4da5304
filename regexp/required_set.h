// Sets of byte strings of which every match holds one, found in the parse
// tree: for "cat|dog|bird" the set {cat, dog, bird}, for "(辞書|検索)語"
// {辞書語, 検索語}, for "[ab]x" {ax, bx}.
//
// Each node of the tree gets either its exact language, when that is a small
// set of strings (single characters, small classes, alternations and
// concatenations of such), or a set of which every string of its language
// holds one, or nothing (a repetition, a large class).  A concatenation
// multiplies the exact sets of neighbouring operands while the product stays
// small; otherwise it keeps the cheapest of its operands' sets.  An
// alternation unites its alternatives' sets, and knows nothing when one of
// them knows nothing.  Sets are compared by a cost model: the time to search
// for them (one string is cheapest, a few strings cost a little more each,
// many strings a hashed search) plus the time to check every place where
// one is found, from a rough frequency of each byte in dictionary text (long
// strings of rare bytes are found seldom).
//
// Strings never hold a line feed or a CR (text read with CR LF kept would
// not hold them as the pattern does), nor a code that text cannot hold.  A
// "^" or "$" that anchors adds no byte.  An ASCII letter that matches both
// of its cases is stored in upper case and the set is searched without
// regard to the case of letters.
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
