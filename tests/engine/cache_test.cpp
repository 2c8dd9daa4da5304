// The component's cache of compiled automata: reuse, order, eviction, the
// flags as part of the key, and the state after a failed compile, including
// the refusal of patterns whose automata would explode (each adversarial
// pattern either compiles or is refused as too complex, quickly).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "adversarial_patterns.h"
#include "exceptions.h"
#include "regexp.h"
#include "sjis_literals.h"

namespace {

// Counts what reaches the compile.
class TRecordingRE : public TAWKStr {
 public:
  void Compile(const std::string& pattern) override {
    ++compiles;
    TAWKStr::Compile(pattern);
  }
  int compiles = 0;
};

using TTexts = std::vector<std::string>;

TTexts Texts(const TRegularExpression& re) {
  TTexts out;
  for (const auto& entry : re.PatternCache) out.push_back(entry.Pattern);
  return out;
}

std::pair<int, int> MatchPair(const TRegularExpression& re, const std::string& s) {
  int pos = -1;
  int len = -1;
  re.Match(s, pos, len);
  return {pos, len};
}

std::string Numbered(int i) { return "p" + std::to_string(i); }

// After a failed compile entry 0, the empty pattern, is current and the
// failed text is not cached.
void ExpectEmptyPatternCurrent(const TRegularExpression& re) {
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
}

}  // namespace

TEST(PatternCache, ReuseOrderAndEviction) {
  TRecordingRE re;
  EXPECT_EQ(re.CacheSize, 30);
  EXPECT_EQ(Texts(re), TTexts{""});
  re.SetPattern("a");
  re.SetPattern("b");
  re.SetPattern("c");
  re.SetPattern("a");
  EXPECT_EQ(Texts(re), (TTexts{"", "c", "b", "a"})) << "the newest at 1, a reused entry stays put";
  EXPECT_EQ(re.CacheIndex, 3);
  EXPECT_EQ(MatchPair(re, "xa"), std::make_pair(2, 1));
  re.SetPattern("");
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.compiles, 3);
  // A full cache evicts the oldest but never entry 0, also the current one.
  for (int i = 0; i < 26; ++i) re.SetPattern(Numbered(i));
  re.SetPattern("a");
  ASSERT_EQ(re.CacheIndex, 29);
  re.SetPattern("new");
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_EQ(MatchPair(re, "a new"), std::make_pair(3, 3));
  ASSERT_EQ(re.PatternCache.size(), 30u);
  EXPECT_EQ(re.PatternCache[0].Pattern, "");
  EXPECT_EQ(re.PatternCache[29].Pattern, "b");
  const int before = re.compiles;
  re.SetPattern("a");
  EXPECT_EQ(re.compiles, before + 1) << "an evicted pattern is compiled again";
}

TEST(PatternCache, TheFlagsArePartOfTheKey) {
  TRecordingRE re;
  re.SetPattern("abc");
  re.SetIgnoreCase(false);
  re.SetAcceptDBMeta(false);
  EXPECT_EQ(re.compiles, 1) << "setting a flag to its value compiles nothing";
  re.SetIgnoreCase(true);
  re.SetIgnoreCase(false);
  EXPECT_EQ(Texts(re), (TTexts{"", "abc", "abc", "abc"}));
  EXPECT_TRUE(re.PatternCache[2].DFA->IgnoreCase);
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_EQ(MatchPair(re, "ABC"), std::make_pair(0, 0));
  // Only the first case-insensitively equal entry is examined.
  re.SetIgnoreCase(true);
  EXPECT_EQ(re.compiles, 4);
  EXPECT_EQ(MatchPair(re, "ABC"), std::make_pair(1, 3));
  TRecordingRE cased;
  for (const std::string t : {"abc", "ABC", "abc"}) cased.SetPattern(t);
  EXPECT_EQ(Texts(cased), (TTexts{"", "abc", "ABC", "abc"}));
  EXPECT_EQ(MatchPair(cased, "ABCabc"), std::make_pair(4, 3));
  for (const std::string& t : {S("ａ"), S("Ａ"), std::string("a"), std::string("A")}) {
    cased.SetPattern(t);
    EXPECT_EQ(cased.GetPattern(), t);
  }
  EXPECT_EQ(MatchPair(cased, "xa" + S("ａ") + "A" + S("Ａ")).first, 5);
  re.SetPattern(S("a＊"));
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(3, 3));
  re.SetAcceptDBMeta(true);
  EXPECT_TRUE(re.AcceptDBMeta());
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(1, 3));
  re.SetAcceptDBMeta(false);
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(3, 3));
}

TEST(PatternCache, AFailedCompileLeavesTheEmptyPatternCurrentAndCachesNothing) {
  const TTexts bad = {"(",
                      ")",
                      "[",
                      "[]",
                      "a**",
                      "\\",
                      "\\xg",
                      "[z-a]",
                      "ab\x82",
                      "\\xFFFF",
                      "[^\\x01-\\xFCFC]",
                      "[ab]*a" + adversarial::Repeat("[ab]", 30)};
  for (const std::string& pattern : bad) {
    TRecordingRE re;
    re.SetPattern("ok");
    EXPECT_THROW(re.SetPattern(pattern), ERegExpParser) << Hex(pattern);
    ExpectEmptyPatternCurrent(re);
    EXPECT_EQ(Texts(re), (TTexts{"", "ok"}));
    EXPECT_THROW(re.SetPattern(pattern), ERegExpParser) << "compiled again: not cached";
    re.SetPattern("ok");
    EXPECT_EQ(re.compiles, 3) << "the good entry is still there";
  }
  // On a full cache the entry evicted for the failed text stays out.
  TAWKStr full;
  for (int i = 0; i < 29; ++i) full.SetPattern(Numbered(i));
  EXPECT_THROW(full.SetPattern("(p"), ERegExpParser);
  ASSERT_EQ(full.PatternCache.size(), 29u);
  EXPECT_EQ(full.PatternCache[1].Pattern, Numbered(28));
  EXPECT_EQ(full.PatternCache.back().Pattern, Numbered(1));
  ExpectEmptyPatternCurrent(full);
  for (const auto& entry : full.PatternCache) EXPECT_NE(entry.DFA, nullptr);
}

TEST(PatternCache, AFlagChangeThatBreaksTheCurrentPattern) {
  // Full-width metacharacters make one pattern invalid and another explode.
  const std::string explosive = S("（a｜b）＊a") + adversarial::Repeat(S("（a｜b）"), 20);
  const std::vector<std::pair<std::string, std::string>> cases = {{S("＊"), expected::kCharOrLeftParen},
                                                                  {explosive, expected::kTooComplex}};
  for (const auto& [text, message] : cases) {
    TAWKStr re;
    re.SetPattern(text);
    try {
      re.SetAcceptDBMeta(true);
      ADD_FAILURE() << "no error";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), message);
      EXPECT_EQ(e.Position, static_cast<int>(text.size()) + 1);
    }
    EXPECT_TRUE(re.AcceptDBMeta()) << "the flag is stored before the pattern is compiled again";
    ExpectEmptyPatternCurrent(re);
    re.SetPattern(S("a＊"));
    EXPECT_EQ(MatchPair(re, "aaa"), std::make_pair(1, 3));
  }
}

TEST(CompileBound, EveryAdversarialPatternCompilesOrIsRefused) {
  const std::set<std::string> explosive = {"[ab]*a[ab]x62", "a+ nested 63", ".*a.x252"};
  const std::set<std::string> modest = {"[ab]*a[ab]x8", "127 kanji", "a+ nested 10", "(x*)* nested 80"};
  int compiled = 0;
  int refused = 0;
  int named = 0;
  for (const adversarial::Pattern& p : adversarial::Family()) {
    SCOPED_TRACE(p.name);
    EXPECT_LE(p.text.size(), 255u) << "not a pattern a user could type";
    TAWKStr re;
    re.SetIgnoreCase(p.ignoreCase);
    re.SetAcceptDBMeta(p.dbMeta);
    re.SetPattern("abc");
    const TTexts before = Texts(re);
    try {
      re.SetPattern(p.text);
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(e.Message(), expected::kTooComplex);
      EXPECT_EQ(e.Position, static_cast<int>(p.text.size()) + 1);
      EXPECT_EQ(Texts(re), before);
      ExpectEmptyPatternCurrent(re);
      re.SetPattern("b+");
      EXPECT_EQ(MatchPair(re, "abbc"), std::make_pair(2, 2));
      ++refused;
      named += explosive.count(p.name);
      EXPECT_EQ(modest.count(p.name), 0u) << "a modest pattern refused";
      continue;
    }
    ++compiled;
    named += modest.count(p.name);
    EXPECT_EQ(re.CacheIndex, 1);
    EXPECT_EQ(explosive.count(p.name), 0u) << "an explosive automaton compiled";
    int pos = 0;
    int len = 0;
    EXPECT_NO_THROW(re.Match(p.text + "\nab", pos, len));
  }
  // Both ways out are taken by many patterns of the family.
  EXPECT_GE(compiled, 20);
  EXPECT_GE(refused, 20);
  EXPECT_EQ(named, 7);
}

TEST(CompileBound, GroupNestingUpTo200) {
  TAWKStr re;
  const std::string deep200 = adversarial::Repeat("(", 200) + "a" + adversarial::Repeat(")", 200);
  re.SetPattern(deep200);
  EXPECT_EQ(MatchPair(re, "xa"), std::make_pair(2, 1));
  const std::string deep201 = "(" + deep200 + ")";
  try {
    re.SetPattern(deep201);
    ADD_FAILURE() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kTooComplex);
    EXPECT_EQ(e.Position, static_cast<int>(deep201.size()) + 1);
  }
  ExpectEmptyPatternCurrent(re);
}
