// From the user's patterns to one engine pattern, and matching within a line.
//
// All patterns become one pattern (an alternation), so a file is searched in
// one pass whatever their number; a pattern given twice (a blank line of a
// -f file above all) counts once.  -F escapes every metacharacter; -x
// anchors the alternation at both ends, unless a pattern has anchors of its
// own, when the line matcher tests whole lines instead.  -w is not part of
// the pattern: as GNU grep does, a line matches when some match is preceded
// and followed by a non-word character (or the line's edge), trying at each
// start the longest match and then shorter ones, each pattern on its own.
// Patterns are read by kovagrep's rules (TPatternRules): -i folds between
// brackets too, and no class holds the line feed (with -z, the period and
// negated classes do).  With -G and -E they are GNU grep's basic or
// extended regular expressions, joined as GNU grep joins them (one a line);
// their assertions (\b \< \> ...) are decided by the assertion matcher on
// the lines the engine reports.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "regexp/assertion_matcher.h"
#include "regexp/regexp.h"
#include "sjis/byteset.h"

struct TLiteralSet;

// What the line matcher must test beyond the pattern.
enum class TLineTest { None, Word, WholeLine, Assertions };

// The engine pattern (Shift-JIS) for the patterns (already Shift-JIS), and
// how to compile it.  EveryLine is set when the pattern matches the empty
// string without any anchor, so that every line is a candidate (GNU grep's
// empty pattern); None when there are no patterns at all (an empty -f file),
// so no line matches.
struct TEnginePattern {
  std::string Pattern;
  bool EveryLine = false;
  bool None = false;
  bool IgnoreCase = false;
  bool DBMeta = false;
  TPatternRules Rules;
  // With a test, the lines the engine reports are candidates that
  // TLineMatcher::Matches must confirm.
  TLineTest Test = TLineTest::None;
  // For -w with several patterns: those that may match the empty string,
  // on their own (an empty match counts for a pattern whose longest match
  // it is).
  std::vector<std::string> EmptyMatching;
  // -F: the fixed strings, searched for as a set instead of Pattern
  // (literal_set.h).
  std::shared_ptr<const TLiteralSet> Literals;
  // -G, -E: matches must honour assertions the automaton leaves out; and
  // GNU grep's warnings, pattern by pattern.
  bool Assertions = false;
  std::vector<TPosixWarning> Warnings;

  // Sets the flags and rules of re, and the pattern.
  void Apply(TRegularExpression& re) const;
};

// A pattern that does not compile: the engine's message (Shift-JIS), the
// 1-based byte position within the pattern, and the pattern's index
// (0-based) in the list as given (by options.PatternNumbers when they are
// there), or kAllPatterns when only all of them together fail (too complex).
struct TPatternError {
  std::string Message;
  int Position;
  std::size_t Index;
  static constexpr std::size_t kAllPatterns = static_cast<std::size_t>(-1);
};
TEnginePattern BuildEnginePattern(const std::vector<std::string>& sjisPatterns, const TOptions& options);

// Leftmost-longest matches of the engine pattern in one line (Shift-JIS,
// without its line end), with GNU grep's word and line tests when asked.
class TLineMatcher {
 public:
  explicit TLineMatcher(const TEnginePattern& pattern);

  // The first match that starts at or after byte from (a character start);
  // false when there is none.
  bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const;
  bool Matches(std::string_view line) const {
    std::size_t pos, len;
    return Find(line, 0, pos, len);
  }
  // Whether lines the engine reports must pass Matches too.
  bool Narrows() const { return FTest != TLineTest::None; }

 private:
  bool WordAt(std::string_view line, std::size_t start, TCharCode before, std::size_t& len) const;
  bool FindFiltered(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const;
  bool LongestMatch(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const;

  TAWKStr FRegExp;
  TByteSet FStartBytes;      // the bytes a match can begin with
  bool FEdgeStarts = false;  // a match can start at the line's start whatever stands there
  std::vector<std::unique_ptr<TAWKStr>> FEmptyMatching;
  TLineTest FTest;
  std::unique_ptr<TAssertionMatcher> FAssertions;
};

// Whether the Shift-JIS character code is a word character for -w: "_",
// or a letter or digit in the Unicode sense, double-byte letters included.
bool IsWordCode(TCharCode code);

// The code of the Shift-JIS character at line[i] (a lead byte at the line's
// end stands alone).
TCharCode CodeAt(std::string_view line, std::size_t i);

// Whether the len bytes at start stand as a word for -w: no word character
// before them (before is the code of the character ahead of start) and none
// right after them.
bool StandsAsWord(std::string_view line, std::size_t start, std::size_t len, TCharCode before);
