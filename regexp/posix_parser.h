// GNU grep's pattern languages, basic (-G) and extended (-E), read into a
// small tree of their own: sets of codes, concatenation, alternation, the
// star (intervals and "+" and "?" are expanded into these) and zero-width
// assertions (^ $ \b \B \< \> \` \').  posix_lower.h turns it into the
// engine's parse tree; assertion_matcher.h runs it over a line.  A Shift-JIS
// double-byte character is one character everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "regexp/codeset.h"
#include "regexp/parser.h"

enum class TAssertion : std::uint8_t { LineStart, LineEnd, WordEdge, NotWordEdge, WordStart, WordEnd };

enum class TPosixOp : std::uint8_t { Set, Empty, Concat, Union, Star, Assert };

struct TPosixNode {
  TPosixOp Op = TPosixOp::Empty;
  int Left = -1;  // Concat, Union, Star
  int Right = -1;
  TCodeSet Set;
  TAssertion Assertion = TAssertion::LineStart;
};

// A warning of GNU grep's: the engine's message (Shift-JIS) and, for a
// stray backslash, the character after it.
struct TPosixWarning {
  std::string Message;
  std::string Subject;
};

// Nodes refer to each other by index; an interval refers to its operand
// once per copy, so the tree is a graph without cycles.
struct TPosixPattern {
  std::vector<TPosixNode> Nodes;
  int Top = -1;
  std::vector<TPosixWarning> Warnings;
  bool HasAssertions = false;  // some \b \B \< \> \` \', or ^ $ (which may anchor)
};

// Reads the pattern (Shift-JIS) in the basic or extended language.  With
// ignoreCase every set holds both cases of its letters (a negated set's
// members are folded before the complement).  lineFeed as in TPatternRules:
// under lfNever no set holds the line feed.  Raises ERegExpParser.
TPosixPattern ParsePosix(const std::string& pattern, TPatternSyntax syntax, bool ignoreCase, TLineFeedRule lineFeed);

// The largest count of an interval, as GNU grep's.
constexpr int kMaxRepeat = 32767;
