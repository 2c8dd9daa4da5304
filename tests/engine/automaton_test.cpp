// What the automata built from a pattern tell the scans: the fixed string
// and whether a line can hold it, and the anchors that anchor.  Whether the
// automata match the right text is the matching tests' business
// (match_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dfa.h"
#include "nfa.h"
#include "parser.h"
#include "sjis_literals.h"

namespace {

constexpr TCharCode kHead = 0xFFFD;
constexpr TCharCode kTail = 0xFFFE;

struct Built {
  std::unique_ptr<TRegExpParser> parser;
  std::unique_ptr<TNFA> nfa;
  std::unique_ptr<TDFA> dfa;
};

// Runs the compile steps in their order and keeps every stage for a look;
// lineCodes: the grep's line feeds as anchor codes instead of the component's.
Built Build(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false, bool lineCodes = false) {
  Built b;
  b.parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  b.parser->IgnoreCase = ignoreCase;
  b.parser->Parse();
  b.nfa = std::make_unique<TNFA>(b.parser.get());
  b.nfa->LineHeadCode = lineCodes ? '\n' : kHead;
  b.nfa->LineTailCode = lineCodes ? '\n' : kTail;
  b.nfa->Build();
  b.dfa = std::make_unique<TDFA>(b.nfa.get(), dbMeta, ignoreCase);
  b.dfa->Build();
  return b;
}

bool HasLabel(const TDFA& dfa, TCharCode code) {
  for (const auto& s : dfa.States)
    for (const TDFATransition& t : s->Transitions)
      if (t.Low <= code && code <= t.High) return true;
  return false;
}

}  // namespace

TEST(Literals, FixedStringsAndWhetherTextCanHoldThem) {
  struct TCase {
    std::string Pattern;
    bool IgnoreCase;
    bool LineCodes;
    std::optional<std::string> Literal;  // none: no fixed string
    bool IsText = true;
  };
  const std::vector<TCase> cases = {
      {"ab|ab", false, false, "ab"},
      {"(ab)(c)()d", false, false, "abcd"},
      {"[a][b-b]", false, false, "ab"},
      {"", false, false, ""},
      {"\\x82A0", false, false, S("あ")},
      {S("ｱｲ"), false, false, S("ｱｲ")},
      {"123", true, false, "123"},
      {S("＾a"), false, false, S("＾a")},
      {"a\\0b", false, false, std::string("a\0b", 3), false},  // the reader turns a zero byte into a space
      // The component's line codes, a lone lead byte and a code without its
      // lead byte are no text that a line can hold.
      {"abc$", false, false, "abc\xFF\xFE", false},
      {"a\\x82", false, false, "a\x82", false},
      {"\\x4142", false, false, "AB", false},
      {"^abc$", false, true, "\nabc\n"},
      {"^abc", false, true, "\nabc"},
      {"abc", true, false, std::nullopt},
      {"a|b", false, false, std::nullopt},
      {"a?", false, false, std::nullopt},
      {"ab*", false, false, std::nullopt},
      {"[ab]", false, false, std::nullopt},
      {".", false, false, std::nullopt},
  };
  for (const TCase& c : cases) {
    Built b = Build(c.Pattern, c.IgnoreCase, false, c.LineCodes);
    EXPECT_EQ(b.dfa->IsLiteral, c.Literal.has_value()) << Hex(c.Pattern);
    EXPECT_EQ(Hex(b.dfa->Literal), Hex(c.Literal.value_or(""))) << Hex(c.Pattern);
    EXPECT_EQ(b.dfa->LiteralIsText, c.Literal && c.IsText) << Hex(c.Pattern);
  }
}

TEST(Anchors, OnlyACaretAtTheStartAndADollarAtTheEndAnchor) {
  struct TCase {
    std::string Pattern;
    bool Begin;
    bool End;
    bool DbMeta = false;
  };
  const std::vector<TCase> cases = {
      {"(^a|^b)c", true, false},     {"^?x", true, false},
      {"((^a)b)c", true, false},     {"^a|b", true, false},
      {"(^)*x|^y", true, false},     {"^+", true, false},
      {"x^", false, false},          {"(^a)*", false, false},
      {"()^a", false, false},        {"(x|^)*", false, false},
      {"(a$|b$)", false, true},      {"a$?", false, true},
      {"a($)", false, true},         {"$", false, true},
      {"a$b", false, false},         {"(a$)*", false, false},
      {"$+", false, false},          {"a$()", false, false},
      {S("＾a"), true, false, true}, {S("a＾"), false, false, true},
      {S("a＄"), false, true, true}, {S("＾a"), false, false},
  };
  for (const TCase& c : cases) {
    Built b = Build(c.Pattern, false, c.DbMeta);
    EXPECT_EQ(b.dfa->BeginAnchored, c.Begin) << Hex(c.Pattern);
    EXPECT_EQ(b.nfa->BeginAnchored, c.Begin) << Hex(c.Pattern);
    EXPECT_EQ(b.dfa->EndAnchored, c.End) << Hex(c.Pattern);
    EXPECT_EQ(HasLabel(*b.dfa, kHead), c.Begin) << Hex(c.Pattern);
    EXPECT_EQ(HasLabel(*b.dfa, kTail), c.End) << Hex(c.Pattern);
  }
  // The anchoring caret is the start's last transition; the others remain.
  Built both = Build("^?x");
  ASSERT_EQ(both.dfa->Start->Transitions.size(), 2u);
  EXPECT_EQ(both.dfa->Start->Transitions[1].Low, kHead);
  EXPECT_TRUE(HasLabel(*Build("^+").dfa, '^'));
}
