// The component's cache of compiled automata: reuse, order, eviction, the
// flags as part of the key, the state after a failed compile, and hostile
// patterns, each of which compiles or is refused as too complex.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regexp/regexp.h"
#include "sjis/exceptions.h"
#include "support/sjis_literals.h"

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

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string Numbered(int i) { return "p" + std::to_string(i); }

// After a failed compile entry 0, the empty pattern, is current.
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
  for (const char* t : {"a", "b", "c", "a"}) re.SetPattern(t);
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
  EXPECT_EQ(re.PatternCache[0].Pattern + "," + re.PatternCache[29].Pattern, ",b");
  const int before = re.compiles;
  re.SetPattern("a");
  EXPECT_EQ(re.compiles, before + 1) << "an evicted pattern is compiled again";
}

TEST(PatternCache, TheFlagsArePartOfTheKey) {
  TRecordingRE re;
  re.SetPattern("abc");
  re.SetAcceptDBMeta(false);
  EXPECT_EQ(re.compiles, 1) << "setting a flag to its value compiles nothing";
  for (const bool flag : {true, false}) re.SetIgnoreCase(flag);
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
  for (const std::string& t : {S("ａ"), S("Ａ")}) cased.SetPattern(t);
  EXPECT_EQ(MatchPair(cased, "xa" + S("ａ") + "A" + S("Ａ")).first, 6) << "full-width letters never fold";
  re.SetPattern(S("a＊"));
  EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(3, 3));
  for (const bool meta : {true, false}) {
    re.SetAcceptDBMeta(meta);
    EXPECT_EQ(MatchPair(re, S("aaa＊")), std::make_pair(meta ? 1 : 3, 3));
  }
  // So are the rules: folding between brackets compiles "[b]" anew.
  re.SetIgnoreCase(true);
  re.SetPattern("[b]");
  const int compiles = re.compiles;
  for (const bool fold : {true, false, false}) {
    re.SetRules({fold, lfClassic});
    EXPECT_EQ(MatchPair(re, "aB").first, fold ? 2 : 0);
  }
  EXPECT_EQ(re.compiles, compiles + 2);
}

TEST(PatternCache, AFailedCompileLeavesTheEmptyPatternCurrentAndCachesNothing) {
  // A parser error, a scanner error, an automaton too large (the state it
  // leaves is checked for every hostile pattern below).
  for (const std::string& pattern : {std::string("(a"), std::string("\\xg"), "[ab]*a" + Repeat("[ab]", 30)}) {
    TRecordingRE re;
    re.SetPattern("ok");
    EXPECT_THROW(re.SetPattern(pattern), ERegExpParser) << Hex(pattern);
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
  const std::string explosive = S("（a｜b）＊a") + Repeat(S("（a｜b）"), 20);
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

// Hostile patterns on either side of the bound (the benchmark times a whole
// family of them): each compiles, or is refused with the error's place at the
// pattern's end and the empty pattern current.
TEST(CompileBound, HostilePatternsCompileOrAreRefused) {
  const std::string& complex = expected::kTooComplex;
  std::string kanji;  // 127 distinct double-byte characters from 0x889F
  for (int k = 0; k < 127; ++k) kanji += {static_cast<char>(0x88 + k / 94), static_cast<char>(0x9F + k % 94)};
  const auto nested = [](int k, const std::string& core, const std::string& op) {
    return Repeat("(", k) + core + Repeat(")" + op, k);
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[ab]*a" + Repeat("[ab]", 8), ""},
      {"[ab]*a" + Repeat("[ab]", 62), complex},
      {".*a" + Repeat(".", 252), complex},
      {nested(10, "a", "+"), ""},
      {nested(63, "a", "+"), complex},
      {nested(80, "x*", "*"), ""},
      {kanji, ""},
      {Repeat("a", 10000), ""},
      {Repeat("abcdefghij", 10000), ""},
      {Repeat(S("検"), 30000), ""},
      {Repeat("ab|", 3333) + "a", ""},
      {Repeat("[a-z]", 2000), ""},
      {Repeat(".", 10000), ""},
      {nested(200, "a", ""), ""},
      {nested(201, "a", ""), complex},
      {Repeat("(", 10000), complex},
      {nested(3333, "a", "*"), complex},
      {"a" + Repeat("*", 9999), expected::kCharOrLeftParen},
      {S("検") + "\xFC", expected::kBadDoubleByte},
  };
  for (const auto& [text, error] : cases) {
    SCOPED_TRACE(Hex(text.substr(0, 40)));
    TAWKStr re;
    re.SetPattern("abc");
    const TTexts before = Texts(re);
    std::string raised;
    try {
      re.SetPattern(text);
    } catch (const ERegExpParser& e) {
      raised = e.Message();
      EXPECT_TRUE(raised != complex || e.Position == static_cast<int>(text.size()) + 1) << e.Position;
      EXPECT_EQ(Texts(re), before);
      ExpectEmptyPatternCurrent(re);
      re.SetPattern("b+");
      EXPECT_EQ(MatchPair(re, "abbc"), std::make_pair(2, 2));
    }
    EXPECT_EQ(raised, error);
    if (!raised.empty()) continue;
    EXPECT_EQ(re.CacheIndex, 1);
    EXPECT_EQ(re.GetPattern(), text);
    // A pattern finds a subject that spells it out (or letters).
    const bool spelled = text.find_first_of("[|.()*+?") == std::string::npos;
    if (text.size() <= 255)
      EXPECT_NO_THROW(MatchPair(re, text + "\nab"));
    else
      EXPECT_EQ(MatchPair(re, "\n" + (spelled ? text : Repeat("a", 10000))).first, 2);
  }
}
