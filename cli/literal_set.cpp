// A line holds a string where the set search (multisearch.h) finds one at a
// character start; the strings that stand there are then looked up by
// length, longest first, so that a line costs little more than the search
// however many strings there are.  With -w, GNU grep's test: at each start
// the longest string, then shorter ones, until one stands between non-word
// characters (or the line's edges).
#include "cli/literal_set.h"

#include <algorithm>

#include "sjis/exceptions.h"
#include "sjis/sjis.h"

namespace {

// Strings that no line can hold: a line end, or a zero byte (the grep reads
// it as a space).
bool NeverInLine(const std::string& s) { return s.find_first_of(std::string_view("\n\r\0", 3)) != std::string::npos; }

}  // namespace

TEnginePattern FixedStringsPattern(const std::vector<std::string>& sjisPatterns, const TOptions& options) {
  TEnginePattern result;
  result.IgnoreCase = options.IgnoreCase;
  // -x is the set's own test; -w is the finder's (TLiteralFinder).
  if (options.Word && !options.WholeLine) result.Test = TLineTest::Word;
  const bool numbered = options.PatternNumbers.size() == sjisPatterns.size();
  auto set = std::make_shared<TLiteralSet>();
  std::unordered_set<std::string_view> seen;
  for (std::size_t k = 0; k < sjisPatterns.size(); ++k) {
    const std::string& s = sjisPatterns[k];
    if (!seen.insert(s).second) continue;
    if (EndsInLoneLeadByte(s)) {
      // The engine's own words for it, at the lead byte.
      try {
        for (int position = 1; position <= static_cast<int>(s.size());) NextChar(s, position);
      } catch (const ERegExpParser& e) {
        throw TPatternError{e.Message(), e.Position, numbered ? options.PatternNumbers[k] - 1 : k};
      }
    }
    set->Strings.push_back(s);
    result.EveryLine = result.EveryLine || (s.empty() && !options.WholeLine);
  }
  result.None = set->Strings.empty();
  result.Literals = std::move(set);
  return result;
}

TLiteralFinder::TLiteralFinder(const TLiteralSet& set, bool ignoreCase, bool word, bool wholeLine)
    : FIgnoreCase(ignoreCase), FWord(word), FWholeLine(wholeLine) {
  std::vector<std::string> others;
  for (const std::string& s : set.Strings) {
    if (s.empty()) {
      FEmpty = true;
    } else if (!NeverInLine(s) && !EndsInLoneLeadByte(s)) {
      FStrings.insert(ignoreCase ? AsciiUpperSjis(s) : s);
      FLengths.push_back(s.size());
      others.push_back(s);
    }
  }
  std::sort(FLengths.begin(), FLengths.end(), std::greater<>());
  FLengths.erase(std::unique(FLengths.begin(), FLengths.end()), FLengths.end());
  if (!others.empty()) FSearch = std::make_unique<TMultiSearch>(others, ignoreCase);
}

bool TLiteralFinder::LongestAt(std::string_view line, std::size_t start, std::size_t limit, std::size_t& len) const {
  if (FWholeLine && (start != 0 || limit != line.size())) return false;
  for (const std::size_t length : FLengths) {
    if (length > limit - start || (FWholeLine && length != line.size())) continue;
    const std::string_view text = line.substr(start, length);
    if (FStrings.contains(FIgnoreCase ? AsciiUpperSjis(text) : std::string(text))) {
      len = length;
      return true;
    }
  }
  len = 0;
  return FEmpty && (!FWholeLine || line.empty());
}

bool TLiteralFinder::Find(std::string_view line, std::size_t from, std::size_t& pos, std::size_t& len) const {
  // The character before each start, for the word test: walked from the
  // line's start, since Shift-JIS cannot be read backwards.
  TCharCode before = 0;
  std::size_t start = 0;
  while (start < from) {
    before = CodeAt(line, start);
    start += CharLength(line, start);
  }
  // Where the search finds the next string (it may stand inside a character).
  const auto next = [&](std::size_t at) { return FSearch ? FSearch->Find(line, at) : line.size() + 1; };
  std::size_t candidate = next(start);
  for (;;) {
    if (candidate < start) candidate = next(start);
    std::size_t l;
    if ((FEmpty || candidate == start) && LongestAt(line, start, line.size(), l)) {
      if (!FWord) {
        pos = start;
        len = l;
        return true;
      }
      for (;;) {
        if (StandsAsWord(line, start, l, before)) {
          pos = start;
          len = l;
          return true;
        }
        // A shorter string at the same start (the empty one when the set
        // holds it).
        std::size_t shorter;
        if (l == 0 || !LongestAt(line, start, start + l - 1, shorter)) break;
        l = shorter;
      }
    }
    if (start >= line.size() || (!FEmpty && candidate >= line.size())) return false;
    before = CodeAt(line, start);
    start += CharLength(line, start);
  }
}
