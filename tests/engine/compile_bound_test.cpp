// Patterns that would make the automata explode: each either compiles or is
// refused as too complex (reported at the end of the pattern), and the
// component is left exactly as after any failed compile, ready for use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adversarial_patterns.h"
#include "exceptions.h"
#include "regexp.h"
#include "sjis_literals.h"

namespace {

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

enum class Outcome { kCompiled, kRefused, kWrong };

// Sets the pattern on a component that already holds one other entry and
// checks the state the component is left in.
Outcome Try(const adversarial::Pattern& p) {
  SCOPED_TRACE(p.name);
  EXPECT_LE(p.text.size(), 255u) << "not a pattern a user could type";
  TAWKStr re;
  re.SetIgnoreCase(p.ignoreCase);
  re.SetAcceptDBMeta(p.dbMeta);
  re.SetPattern("abc");
  const std::vector<std::string> before = Texts(re);
  try {
    re.SetPattern(p.text);
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kTooComplex);
    EXPECT_EQ(e.Position, static_cast<int>(p.text.size()) + 1);
    EXPECT_EQ(Texts(re), before) << "the refused text is not cached";
    EXPECT_EQ(re.CacheIndex, 0);
    EXPECT_EQ(re.GetPattern(), "");
    EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
    re.SetPattern("abc");
    EXPECT_EQ(re.CacheIndex, 1) << "the earlier entry is still there";
    EXPECT_EQ(MatchPair(re, "xabc"), std::make_pair(2, 3));
    re.SetPattern("b+");
    EXPECT_EQ(MatchPair(re, "abbc"), std::make_pair(2, 2));
    return e.Message() == expected::kTooComplex ? Outcome::kRefused : Outcome::kWrong;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "unexpected exception: " << e.what();
    return Outcome::kWrong;
  }
  EXPECT_EQ(re.GetPattern(), p.text);
  EXPECT_EQ(re.CacheIndex, 1);
  EXPECT_NE(re.CurrentDFA(), nullptr);
  // The automaton is usable: a scan over a text of the pattern's own
  // characters ends without fault.
  int pos = 0;
  int len = 0;
  EXPECT_NO_THROW(re.Match(p.text + "\nab", pos, len));
  return Outcome::kCompiled;
}

}  // namespace

TEST(CompileBound, EveryAdversarialPatternCompilesOrIsRefused) {
  int compiled = 0;
  int refused = 0;
  for (const adversarial::Pattern& p : adversarial::Family()) {
    switch (Try(p)) {
      case Outcome::kCompiled:
        ++compiled;
        break;
      case Outcome::kRefused:
        ++refused;
        break;
      case Outcome::kWrong:
        break;
    }
  }
  // Both ways out are taken by many patterns of the family.
  EXPECT_GE(compiled, 20);
  EXPECT_GE(refused, 20);
}

TEST(CompileBound, ExplosiveAutomataAreRefused) {
  // 2^63 deterministic states; a "+" nest that doubles 63 times.
  const auto family = adversarial::Family();
  int seen = 0;
  for (const adversarial::Pattern& p : family) {
    if (p.name == "[ab]*a[ab]x62" || p.name == "a+ nested 63" || p.name == ".*a.x252") {
      ++seen;
      EXPECT_EQ(Try(p), Outcome::kRefused) << p.name;
    }
  }
  EXPECT_EQ(seen, 3);
}

TEST(CompileBound, ModestPatternsStillCompile) {
  EXPECT_EQ(Try({"[ab]*a[ab]x8", "[ab]*a" + adversarial::Repeat("[ab]", 8)}), Outcome::kCompiled);
  EXPECT_EQ(Try({"127 kanji",
                 [] {
                   std::string s;
                   for (int k = 0; k < 127; ++k) s += adversarial::Kanji(k);
                   return s;
                 }()}),
            Outcome::kCompiled);
  EXPECT_EQ(Try({"a+ nested 10", adversarial::Repeat("(", 10) + "a" + adversarial::Repeat(")+", 10)}),
            Outcome::kCompiled);
  EXPECT_EQ(Try({"(x*)* nested 80", adversarial::Repeat("(", 80) + "x*" + adversarial::Repeat(")*", 80)}),
            Outcome::kCompiled);
}

TEST(CompileBound, GroupNestingUpTo200) {
  TAWKStr re;
  const std::string deep200 = adversarial::Repeat("(", 200) + "a" + adversarial::Repeat(")", 200);
  EXPECT_NO_THROW(re.SetPattern(deep200));
  EXPECT_EQ(MatchPair(re, "xa"), std::make_pair(2, 1));
  const std::string deep201 = adversarial::Repeat("(", 201) + "a" + adversarial::Repeat(")", 201);
  try {
    re.SetPattern(deep201);
    FAIL() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kTooComplex);
    EXPECT_EQ(e.Position, static_cast<int>(deep201.size()) + 1);
  }
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", deep200}));
}

TEST(CompileBound, RefusalOnAFullCacheLeavesTheEvictedEntryOut) {
  TAWKStr re;
  for (int i = 0; i < 29; ++i) re.SetPattern("p" + std::to_string(i));
  ASSERT_EQ(re.PatternCache.size(), 30u);
  const std::string explosive = "[ab]*a" + adversarial::Repeat("[ab]", 30);
  EXPECT_THROW(re.SetPattern(explosive), ERegExpParser);
  ASSERT_EQ(re.PatternCache.size(), 29u);
  EXPECT_EQ(re.PatternCache.back().Pattern, "p1");
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(MatchPair(re, "abc"), std::make_pair(1, 0));
  re.SetPattern("p28");
  EXPECT_EQ(re.CacheIndex, 1);
}

TEST(CompileBound, FlagChangeThatMakesAPatternTooComplex) {
  // With full-width metacharacters the pattern becomes an exponential one.
  TAWKStr re;
  const std::string text = S("（a｜b）＊a") + adversarial::Repeat(S("（a｜b）"), 20);
  re.SetPattern(text);
  try {
    re.SetAcceptDBMeta(true);
    FAIL() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kTooComplex);
    EXPECT_EQ(e.Position, static_cast<int>(text.size()) + 1);
  }
  EXPECT_EQ(re.CacheIndex, 0);
  EXPECT_EQ(Texts(re), (std::vector<std::string>{"", text}));
}
