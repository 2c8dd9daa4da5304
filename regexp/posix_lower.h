// GNU grep's patterns (posix_parser.h) as the engine's parse tree, so that
// the automata, the pattern cache and the scans stay one.  An assertion the
// automaton cannot express becomes the empty string: the automaton then
// finds every line that can match and more, and the assertion matcher
// (assertion_matcher.h) decides.
#pragma once

#include "regexp/parser.h"
#include "regexp/posix_parser.h"

// Builds the tree of pattern into tree (its TopNode) and normalizes the
// leaves.  A "^" or "$" becomes the engine's anchor where the automaton
// anchors it (reached from the start, or reaching the end, through groups,
// alternatives and "?", never under a repetition); every other assertion
// becomes the empty string.  Returns whether some assertion did, so that
// matches must be confirmed.  Raises ERegExpParser when the expansion of
// intervals grows too big.
bool LowerPosix(const TPosixPattern& pattern, TParseTree& tree);

// Whether LowerPosix would leave some assertion to the assertion matcher.
bool NeedsAssertionCheck(const TPosixPattern& pattern);

// The most nodes the expansion of one pattern may make.
constexpr int kMaxPosixExpansion = 40'000;
