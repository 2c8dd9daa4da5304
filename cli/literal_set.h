// The fixed strings of -F as one set: searched for by the grep without an
// automaton (TGrep::SetStrings), in time and memory proportional to the
// list, however long it is; and their matches within a line for -w, -o and
// colours.  See literal_set.cpp.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cli/matcher.h"
#include "cli/options.h"
#include "cli/patterns.h"
#include "sjis/multisearch.h"

// The strings (Shift-JIS), each once, in the order first given.
struct TLiteralSet {
  std::vector<std::string> Strings;
};

// The engine pattern of -F: the set of the patterns (TEnginePattern::Literals).
// Raises TPatternError, naming the first such pattern, for a pattern that
// ends in a lead byte without its second byte (the engine's message).
TEnginePattern FixedStringsPattern(const std::vector<std::string>& sjisPatterns, const TOptions& options);

class TLiteralFinder : public TMatchFinder {
 public:
  // ignoreCase: ASCII letters in either case; word: GNU grep's -w; wholeLine:
  // only a string that is the whole line matches (-x).
  TLiteralFinder(const TLiteralSet& set, bool ignoreCase, bool word, bool wholeLine);
  bool Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const override;
  bool Narrows() const override { return FWord && !FWholeLine; }

 private:
  // The longest string that stands at start and ends at or before limit.
  bool LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const;

  bool FIgnoreCase;
  bool FWord;
  bool FWholeLine;
  bool FEmpty = false;                       // the set holds the empty string
  std::vector<std::size_t> FLengths;         // of the other strings, longest first
  std::unordered_set<std::string> FStrings;  // in upper case with FIgnoreCase
  std::unique_ptr<TMultiSearch> FSearch;     // the other strings
};
