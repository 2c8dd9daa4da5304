// The component's cache of compiled automata: reuse, order, eviction, the
// flags as part of the key, and the state after a failed compile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exceptions.h"
#include "regexp.h"
#include "sjis_literals.h"

namespace {

// Records what reaches the virtual operations.
class TRecordingRE : public TAWKStr {
 public:
  void Compile(const std::string& pattern) override {
    compiled.push_back(pattern);
    TAWKStr::Compile(pattern);
  }
  void SetPattern(const std::string& pattern) override {
    setPatterns.push_back(pattern);
    TAWKStr::SetPattern(pattern);
  }
  std::vector<std::string> compiled;
  std::vector<std::string> setPatterns;
};

std::vector<std::string> Texts(const TRegularExpression& re) {
  std::vector<std::string> out;
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

}  // namespace

TEST(PatternCache, CreationCompilesTheEmptyPatternAsEntryZero) {
  TAWKStr re;
  EXPECT_EQ(re.CacheSize, 30);
  ASSERT_EQ(re.PatternCache.size(), 1u);
  EXPECT_EQ(re.PatternCache[0].Pattern, "");
  ASSERT_NE(re.PatternCache[0].DFA, nullptr);
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_FALSE(re.IgnoreCase());
  EXPECT_FALSE(re.AcceptDBMeta());
  EXPECT_EQ(re.CurrentDFA(), re.PatternCache[0].DFA.get());
}

TEST(PatternCache, SamePatternTwiceCompilesOnce) {
  TRecordingRE re;
  re.SetPattern("abc");
  ASSERT_EQ(re.PatternCache.size(), 2u);
  const TDFA* first = re.CurrentDFA();
  re.SetPattern("abc");
  EXPECT_EQ(re.compiled, (std::vector<std::string>{"abc"}));
  EXPECT_EQ(re.PatternCache.size(), 2u);
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_EQ(re.CurrentDFA(), first);
  EXPECT_EQ(re.GetPattern(), "abc");
}

TEST(PatternCache, NewestEntryGoesToIndexOneAndReusedEntriesStayPut) {
  TRecordingRE re;
  re.SetPattern("a");
  re.SetPattern("b");
  re.SetPattern("c");
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "c", "b", "a"}));
  re.SetPattern("a");
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "c", "b", "a"}));
  EXPECT_EQ(re.CacheIndex, 3);
  EXPECT_EQ(re.GetPattern(), "a");
  EXPECT_EQ(MatchPair(re, "xa"), std::make_pair(2, 1));
  re.SetPattern("");
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.compiled.size(), 3u) << "the empty pattern of entry 0 is reused";
}

TEST(PatternCache, FullCacheEvictsTheOldestButNeverEntryZero) {
  TRecordingRE re;
  for (int i = 0; i < 29; ++i) re.SetPattern(Numbered(i));
  ASSERT_EQ(re.PatternCache.size(), 30u);
  EXPECT_EQ(re.PatternCache[29].Pattern, Numbered(0));
  re.SetPattern("new");
  ASSERT_EQ(re.PatternCache.size(), 30u);
  EXPECT_EQ(re.PatternCache[0].Pattern, "");
  EXPECT_EQ(re.PatternCache[1].Pattern, "new");
  EXPECT_EQ(re.PatternCache[29].Pattern, Numbered(1));
  EXPECT_EQ(re.CacheIndex, 1);
  // The evicted pattern is compiled again when set.
  re.SetPattern(Numbered(0));
  EXPECT_EQ(re.compiled.back(), Numbered(0));
  EXPECT_EQ(re.compiled.size(), 31u);
  EXPECT_EQ(re.PatternCache[29].Pattern, Numbered(2));
  // Many more: the cache keeps entry 0 and the 29 newest, newest first.
  for (int i = 100; i < 200; ++i) re.SetPattern(Numbered(i));
  ASSERT_EQ(re.PatternCache.size(), 30u);
  EXPECT_EQ(re.PatternCache[0].Pattern, "");
  for (int k = 1; k < 30; ++k) EXPECT_EQ(re.PatternCache[static_cast<std::size_t>(k)].Pattern, Numbered(200 - k));
  EXPECT_EQ(MatchPair(re, "xp199"), std::make_pair(2, 4));
}

TEST(PatternCache, EvictingTheCurrentEntryIsSafe) {
  TAWKStr re;
  re.SetPattern("old");
  for (int i = 0; i < 28; ++i) re.SetPattern(Numbered(i));
  re.SetPattern("old");
  ASSERT_EQ(re.CacheIndex, 29);
  re.SetPattern("fresh");
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_EQ(MatchPair(re, "a fresh"), std::make_pair(3, 5));
  EXPECT_EQ(re.PatternCache.back().Pattern, Numbered(0));
}

TEST(PatternCache, IgnoreCaseOnAndOffMakesThreeEntries) {
  TRecordingRE re;
  re.SetPattern("abc");
  re.SetIgnoreCase(true);
  re.SetIgnoreCase(false);
  EXPECT_EQ(re.compiled, (std::vector<std::string>{"abc", "abc", "abc"}));
  ASSERT_EQ(Texts(re), (std::vector<std::string>{"", "abc", "abc", "abc"}));
  EXPECT_FALSE(re.PatternCache[1].DFA->IgnoreCase);
  EXPECT_TRUE(re.PatternCache[2].DFA->IgnoreCase);
  EXPECT_FALSE(re.PatternCache[3].DFA->IgnoreCase);
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_EQ(MatchPair(re, "ABC"), std::make_pair(0, 0));
  // Switching on again finds the first "abc", which does not fit: a fourth.
  re.SetIgnoreCase(true);
  EXPECT_EQ(re.compiled.size(), 4u);
  EXPECT_EQ(MatchPair(re, "ABC"), std::make_pair(1, 3));
}

TEST(PatternCache, OnlyTheFirstCaseInsensitivelyEqualEntryIsExamined) {
  TRecordingRE re;
  re.SetPattern("abc");
  re.SetPattern("ABC");
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "ABC", "abc"}));
  re.SetPattern("abc");
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "abc", "ABC", "abc"}));
  EXPECT_EQ(re.compiled.size(), 3u);
  EXPECT_EQ(MatchPair(re, "ABCabc"), std::make_pair(4, 3));
  re.SetPattern("ABC");
  EXPECT_EQ(re.compiled.size(), 4u);
  EXPECT_EQ(MatchPair(re, "ABCabc"), std::make_pair(1, 3));
}

TEST(PatternCache, LookupNeverChangesAMatchResult) {
  // Whatever the comparison thinks of other letters, each text matches as
  // written.
  TAWKStr re;
  const std::vector<std::string> texts = {S("ａ"), S("Ａ"), "a", "A", S("ａ"), "A", S("Ａ"), "a"};
  for (const std::string& t : texts) {
    re.SetPattern(t);
    EXPECT_EQ(re.GetPattern(), t);
    EXPECT_EQ(MatchPair(re, "xa" + S("ａ") + "A" + S("Ａ")).first, t == "a"       ? 2
                                                                   : t == S("ａ") ? 3
                                                                   : t == "A"     ? 5
                                                                                  : 6)
        << Hex(t);
  }
}

TEST(PatternCache, AcceptDBMetaIsPartOfTheKey) {
  TRecordingRE re;
  re.SetPattern(S("a＊"));
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(3, 3));
  re.SetAcceptDBMeta(true);
  EXPECT_EQ(re.compiled.size(), 2u);
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(1, 3));
  EXPECT_TRUE(re.CurrentDFA()->AcceptDBMeta);
  re.SetAcceptDBMeta(false);
  EXPECT_EQ(re.compiled.size(), 3u);
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(3, 3));
}

TEST(PatternCache, FlagSettersGoThroughSetPatternOnlyOnAChange) {
  TRecordingRE re;
  re.SetPattern("x");
  re.setPatterns.clear();
  re.SetIgnoreCase(false);
  re.SetAcceptDBMeta(false);
  EXPECT_TRUE(re.setPatterns.empty());
  re.SetIgnoreCase(true);
  EXPECT_EQ(re.setPatterns, (std::vector<std::string>{"x"}));
  EXPECT_TRUE(re.IgnoreCase());
  re.SetAcceptDBMeta(true);
  EXPECT_EQ(re.setPatterns, (std::vector<std::string>{"x", "x"}));
  EXPECT_TRUE(re.AcceptDBMeta());
  re.SetIgnoreCase(true);
  EXPECT_EQ(re.setPatterns.size(), 2u);
  EXPECT_EQ(MatchPair(re, "X"), std::make_pair(1, 1));
}

TEST(PatternCache, FailedCompileLeavesEntryZeroCurrent) {
  TRecordingRE re;
  re.SetPattern("abc");
  try {
    re.SetPattern("a**");
    FAIL() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kCharOrLeftParen);
    EXPECT_EQ(e.Position, 4);
  }
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "abc"}));
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
  // The same text fails again: it was not cached.
  EXPECT_THROW(re.SetPattern("a**"), ERegExpParser);
  EXPECT_EQ(re.compiled.size(), 3u);
  // The good entry is still there.
  re.SetPattern("abc");
  EXPECT_EQ(re.compiled.size(), 3u);
  EXPECT_EQ(MatchPair(re, "xabc"), std::make_pair(2, 3));
}

TEST(PatternCache, FailedCompileOnAFullCacheLeavesTheEvictedEntryOut) {
  TAWKStr re;
  for (int i = 0; i < 29; ++i) re.SetPattern(Numbered(i));
  ASSERT_EQ(re.PatternCache.size(), 30u);
  EXPECT_THROW(re.SetPattern("(p"), ERegExpParser);
  ASSERT_EQ(re.PatternCache.size(), 29u);
  EXPECT_EQ(re.PatternCache[0].Pattern, "");
  EXPECT_EQ(re.PatternCache[1].Pattern, Numbered(28));
  EXPECT_EQ(re.PatternCache.back().Pattern, Numbered(1));
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
  for (const auto& entry : re.PatternCache) EXPECT_NE(entry.DFA, nullptr);
}

TEST(PatternCache, FlagChangeThatBreaksTheCurrentPattern) {
  TAWKStr re;
  re.SetPattern(S("＊"));
  EXPECT_EQ(MatchPair(re, S("x＊")), std::make_pair(2, 2));
  try {
    re.SetAcceptDBMeta(true);
    FAIL() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kCharOrLeftParen);
    EXPECT_EQ(e.Position, 3);
  }
  EXPECT_TRUE(re.AcceptDBMeta()) << "the flag is stored before the pattern is compiled again";
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(re.GetPattern(), "");
  EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
  // Under the new flag a fresh pattern compiles with it.
  re.SetPattern(S("a＊"));
  EXPECT_EQ(MatchPair(re, "aaa"), std::make_pair(1, 3));
}

TEST(PatternCache, ErrorsOfEveryKindLeaveTheCacheConsistent) {
  TAWKStr re;
  const std::vector<std::string> bad = {
      "(", ")", "[", "[]", "a**", "\\", "\\xg", "[z-a]", "\\200000", "ab\x82", "[^\\x01-\\xFCFC]", "\\xFFFF"};
  for (const std::string& pattern : bad) {
    re.SetPattern("ok");
    EXPECT_THROW(re.SetPattern(pattern), ERegExpParser) << Hex(pattern);
    EXPECT_EQ(re.CacheIndex, 0);
    EXPECT_EQ(MatchPair(re, "zz"), std::make_pair(1, 0));
    EXPECT_EQ(Texts(re), (std::vector<std::string>{"", "ok"}));
  }
}
