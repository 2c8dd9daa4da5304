// Pattern compilation under hostile patterns.  Input: a flags byte, then up
// to eight patterns separated by line feeds, each set (AcceptDBMeta and
// IgnoreCase from two bits of the flags byte) on a matcher and a grep that
// live for the whole run, so their caches see long sequences of patterns and
// flag changes.  A pattern or flag is set or raises ERegExpParser; after each
// step the state must be consistent, and a pattern taken from the cache must
// match as the same pattern compiled afresh.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "grep/grep.h"
#include "regexp/regexp.h"
#include "sjis/exceptions.h"

namespace {

const std::vector<std::string> kSubjects = {"", "a", "abc", "\n", "ab\ncd\n", "ABC", "\x82\xa0\x82\xa2", " x\r\n"};

// Pos and Len of a match, or -1 when it raised (only on a lone lead byte).
std::pair<int, int> MatchOf(const TRegularExpression& re, const std::string& subject) {
  int pos = 0;
  int len = 0;
  try {
    re.Match(subject, pos, len);
  } catch (const ERegExpParser&) {
    if (!fuzz::EndsInLoneLead(subject))
      fuzz::Fail("Match raised on a subject that ends on a character", fuzz::Hex(subject));
    return {-1, -1};
  }
  return {pos, len};
}

// Sets the flags and the pattern; false when ERegExpParser was raised, which
// leaves the empty pattern current and no entry without automaton.
bool Set(TRegularExpression& re, const std::string& pattern, bool dbMeta, bool ignoreCase) {
  try {
    re.SetAcceptDBMeta(dbMeta);
    re.SetIgnoreCase(ignoreCase);
    re.SetPattern(pattern);
  } catch (const ERegExpParser&) {
    if (!re.GetPattern().empty() || re.CacheIndex != 0 || MatchOf(re, "abc") != std::pair{1, 0})
      fuzz::Fail("a failed pattern left another than the empty one current", fuzz::Hex(pattern));
    for (const auto& entry : re.PatternCache)
      if (entry.DFA == nullptr) fuzz::Fail("a failed pattern left an entry without automaton", fuzz::Hex(pattern));
    return false;
  } catch (const std::exception& e) {
    fuzz::Unexpected("SetPattern / flag setters", e);
  }
  const TDFA* dfa = re.CurrentDFA();
  if (re.GetPattern() != pattern) fuzz::Fail("the set pattern is not current", fuzz::Hex(pattern));
  if (re.PatternCache.empty() || static_cast<int>(re.PatternCache.size()) > re.CacheSize ||
      !re.PatternCache[0].Pattern.empty())
    fuzz::Fail("the cache outgrew its size or lost the empty pattern at 0", fuzz::Hex(pattern));
  if (dfa == nullptr || dfa->Start == nullptr) fuzz::Fail("no automaton for the current pattern", fuzz::Hex(pattern));
  if (dfa->AcceptDBMeta != re.AcceptDBMeta()) fuzz::Fail("automaton under the other AcceptDBMeta", fuzz::Hex(pattern));
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TAWKStr matcher;
  static TGrep grep;
  const fuzz::TFlagged input = fuzz::TakeFlags(data, size);
  const std::vector<std::string> patterns = fuzz::SplitLines(input.Rest, 8);
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    const std::string& pattern = patterns[k];
    const unsigned bits = input.Flags >> ((2 * k) % 8);
    const bool dbMeta = (bits & 1) != 0;
    const bool ignoreCase = (bits & 2) != 0;
    if (Set(matcher, pattern, dbMeta, ignoreCase) && matcher.CurrentDFA()->IgnoreCase != ignoreCase)
      fuzz::Fail("automaton compiled under the other IgnoreCase", fuzz::Hex(pattern));
    if (k + 1 == patterns.size() && !matcher.GetPattern().empty()) {
      // The last pattern's automaton, most likely from the cache, against
      // one compiled afresh, on a few subjects and on the patterns.
      TAWKStr fresh;
      if (!Set(fresh, pattern, dbMeta, ignoreCase))
        fuzz::Fail("a cached pattern does not compile afresh", fuzz::Hex(pattern));
      std::vector<std::string> subjects = kSubjects;
      subjects.insert(subjects.end(), patterns.begin(), patterns.end());
      for (const std::string& subject : subjects)
        if (MatchOf(matcher, subject) != MatchOf(fresh, subject))
          fuzz::Fail("cached and fresh automata match differently",
                     fuzz::Hex(pattern) + "\nsubject " + fuzz::Hex(subject));
    }
    // The grep compiles a fixed string with case, any other pattern without
    // case when IgnoreCase is on.
    if (Set(grep, pattern, dbMeta, ignoreCase) &&
        (grep.IgnoreCase() != ignoreCase ||
         grep.CurrentDFA()->IgnoreCase != (ignoreCase && !grep.CurrentDFA()->IsLiteral)))
      fuzz::Fail("the grep's automaton has the wrong case setting", fuzz::Hex(pattern));
  }
  return 0;
}
