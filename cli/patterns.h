// From the user's patterns to one engine pattern, and matching within a line.
//
// All patterns become one pattern (an alternation), so a file is searched in
// one pass whatever their number.  -F escapes every metacharacter, -x
// anchors the alternation at both ends.  -w is not part of the pattern: as
// GNU grep does, a line matches when some match is preceded and followed by
// a non-word character (or the line's edge), trying at each start the
// longest match and then shorter ones.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "regexp/regexp.h"

// The engine pattern (Shift-JIS) for the patterns (already Shift-JIS).
// EveryLine is set when the pattern matches the empty string without any
// anchor, so that every line holds a match (GNU grep's empty pattern); None
// when there are no patterns at all (an empty -f file), so no line matches.
struct TLiteralSet;
struct TEnginePattern {
  std::string Pattern;
  bool EveryLine = false;
  bool None = false;
  // -F: the fixed strings, searched for as a set instead of Pattern
  // (literal_set.h).
  std::shared_ptr<const TLiteralSet> Literals;
};

// Raises ERegExpParser for a pattern that does not compile; Index is then
// the number of the failing pattern (0-based).
struct TPatternError {
  std::string Message;  // the engine's message (Shift-JIS)
  int Position;         // 1-based byte position within that pattern
  std::size_t Index;
};
TEnginePattern BuildEnginePattern(const std::vector<std::string>& sjisPatterns, const TOptions& options);

// Leftmost-longest matches of the engine pattern in one line (Shift-JIS,
// without its line end), with GNU grep's word test when asked.
class TLineMatcher {
 public:
  TLineMatcher(const std::string& pattern, bool ignoreCase, bool dbMeta, bool word);

  // The first match that starts at or after byte from (a character start);
  // false when there is none.
  bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const;
  bool Matches(std::string_view line) const {
    std::size_t pos, len;
    return Find(line, 0, pos, len);
  }

 private:
  bool LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const;

  TAWKStr FRegExp;
  bool FWord;
};

// Whether the Shift-JIS character code is a word character for -w: "_",
// or a letter or digit in the Unicode sense, double-byte letters included.
bool IsWordCode(TCharCode code);
