// The component's cache of compiled automata: reuse, order, eviction, the
// flags as part of the key, the state after a failed compile, and hostile
// patterns, each of which compiles or is refused as too complex.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
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
}

TEST(PatternCache, AFailedCompileLeavesTheEmptyPatternCurrentAndCachesNothing) {
  // A parser error, a scanner error, an automaton too large (the state it
  // leaves is checked for every hostile pattern below).
  for (const std::string& pattern :
       {std::string("(a"), std::string("\\xg"), "[ab]*a" + adversarial::Repeat("[ab]", 30)}) {
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

TEST(CompileBound, EveryHostilePatternCompilesOrIsRefused) {
  using adversarial::Repeat;
  const std::string& complex = expected::kTooComplex;
  std::vector<adversarial::Pattern> cases = adversarial::Family();
  for (const adversarial::Pattern& p : cases) EXPECT_LE(p.text.size(), 255u) << p.name << ": no pattern a user types";
  // The outcome where it is known; the family's other patterns may go either way.
  std::map<std::string, std::string> outcome = {
      {"[ab]*a[ab]x62", complex}, {"a+ nested 63", complex}, {".*a.x252", complex},  {"[ab]*a[ab]x8", ""},
      {"127 kanji", ""},          {"a+ nested 10", ""},      {"(x*)* nested 80", ""}};
  for (const auto& [name, text, error] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"10,000 letters", Repeat("a", 10000), ""},
           {"100,000 bytes of a fixed string", Repeat("abcdefghij", 10000), ""},
           {"60,000 bytes of double-byte characters", Repeat(S("検"), 30000), ""},
           {"alternatives", Repeat("ab|", 3333) + "a", ""},
           {"classes", Repeat("[a-z]", 2000), ""},
           {"many periods", Repeat(".", 10000), ""},
           {"200 groups", Repeat("(", 200) + "a" + Repeat(")", 200), ""},
           {"201 groups", Repeat("(", 201) + "a" + Repeat(")", 201), complex},
           {"unclosed groups", Repeat("(", 10000), complex},
           {"nested stars", Repeat("(", 3333) + "a" + Repeat(")*", 3333), complex},
           {"stacked stars", "a" + Repeat("*", 9999), expected::kCharOrLeftParen},
           {"a lone lead byte after a character", S("検") + "\xFC", expected::kBadDoubleByte}}) {
    cases.push_back({name, text});
    outcome[name] = error;
  }
  std::size_t known = 0;
  int compiled = 0;
  for (const adversarial::Pattern& c : cases) {
    SCOPED_TRACE(c.name);
    TAWKStr re;
    re.SetIgnoreCase(c.ignoreCase);
    re.SetAcceptDBMeta(c.dbMeta);
    re.SetPattern("abc");
    const TTexts before = Texts(re);
    std::string error;
    try {
      re.SetPattern(c.text);
    } catch (const ERegExpParser& e) {
      error = e.Message();
      EXPECT_TRUE(error != complex || e.Position == static_cast<int>(c.text.size()) + 1) << e.Position;
      EXPECT_EQ(Texts(re), before);
      ExpectEmptyPatternCurrent(re);
      re.SetPattern("b+");
      EXPECT_EQ(MatchPair(re, "abbc"), std::make_pair(2, 2));
    }
    const auto want = outcome.find(c.name);
    known += want != outcome.end();
    EXPECT_EQ(error, want != outcome.end() ? want->second : error == complex ? complex : "");
    if (!error.empty()) continue;
    ++compiled;
    EXPECT_EQ(re.CacheIndex, 1);
    EXPECT_EQ(re.GetPattern(), c.text);
    // A long pattern finds a subject that it spells out (or letters).
    const bool spelled = c.text.find_first_of("[|.()*+?") == std::string::npos;
    if (c.text.size() <= 255)
      EXPECT_NO_THROW(MatchPair(re, c.text + "\nab"));
    else
      EXPECT_EQ(MatchPair(re, "\n" + (spelled ? c.text : Repeat("a", 10000))).first, 2);
  }
  // Both ways out are taken by many patterns of the family.
  EXPECT_EQ(known, outcome.size());
  EXPECT_GE(compiled, 27);
  EXPECT_GE(static_cast<int>(cases.size()) - compiled, 25);
}
