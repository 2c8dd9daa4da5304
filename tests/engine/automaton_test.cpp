// The automata built from the parse tree: the subset construction checked
// state by state against the nondeterministic automaton, the chain-built
// automaton against the general one, the fixed strings and the anchors that
// anchor.  Whether the automata match the right text is the matching tests'
// business (match_test.cpp).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "chain.h"
#include "dfa.h"
#include "nfa.h"
#include "parser.h"
#include "sjis_literals.h"

namespace {

constexpr TCharCode kEps = 0xFFFF;
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

int IndexOf(const TDFA& dfa, const TDFAState* s) {
  for (std::size_t i = 0; i < dfa.States.size(); ++i)
    if (dfa.States[i].get() == s) return static_cast<int>(i);
  return -1;
}

// "low-high->target" for each transition of a state, in list order.
std::vector<std::string> DfaEdges(const TDFA& dfa, const TDFAState& s) {
  std::vector<std::string> out;
  for (const TDFATransition& t : s.Transitions) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%X-%X->%d", t.Low, t.High, IndexOf(dfa, t.Target));
    out.push_back(buf);
  }
  return out;
}

// Random well-formed patterns over a few characters, classes and anchors.
std::string RandomPattern(std::mt19937& rng, int depth) {
  static const std::vector<std::string> atoms = {"a",     "b",    "c", S("あ"), ".",  "[a-c]", "[^b]", "\\n",
                                                 "[b-z]", "\\x0", "^", "$",     "()", S("い"), "A",    "[\\x01-\\x7F]"};
  const int choice = depth <= 0 ? 0 : static_cast<int>(rng() % 7);
  if (choice == 0) return atoms[rng() % atoms.size()];
  const std::string a = RandomPattern(rng, depth - 1);
  if (choice <= 2) return a + RandomPattern(rng, depth - 1);
  if (choice == 3) return "(" + a + "|" + RandomPattern(rng, depth - 1) + ")";
  return "(" + a + ")" + "*+?"[choice - 4];
}

std::vector<std::string> Patterns(std::vector<std::string> fixed, int count, unsigned seed) {
  std::mt19937 rng(seed);
  for (int i = 0; i < count; ++i) fixed.push_back(RandomPattern(rng, 1 + static_cast<int>(rng() % 4)));
  return fixed;
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

TEST(Dfa, EveryStatesTransitionsAreDisjointAndFollowEveryPath) {
  // For every deterministic state and every code at a label boundary, the
  // transition that holds the code leads to the closure of all the
  // nondeterministic targets on that code, and no other transition holds it.
  const auto patterns = Patterns({"x^a|x.b", "a^|a[\\x01-\\x7F]", "^a|[\\x01-\\x7F]b", "a$b|a[\\x20-\\x30]c",
                                  "(\\n|^a)(b|\\nc)", "x^|x\\^y|x[\\x50-\\x60]z"},
                                 400, 17);
  for (const std::string& pattern : patterns) {
    for (const bool lineCodes : {false, true}) {
      SCOPED_TRACE(Hex(pattern) + (lineCodes ? " (line codes LF)" : ""));
      Built b = Build(pattern, false, false, lineCodes);
      const TNFA& nfa = *b.nfa;
      const auto capacity = static_cast<std::size_t>(nfa.StateCount());
      std::set<unsigned> codes = {0, 1, 0xFFFC, 0xFFFD, 0xFFFE};
      for (const auto& list : nfa.StateList)
        for (const TNFATransition& t : list)
          for (const unsigned c : {t.Low - 1u, unsigned{t.Low}, t.Low + 1u, t.High - 1u, unsigned{t.High}, t.High + 1u})
            if (t.Low != kEps && c <= 0xFFFE) codes.insert(c);
      for (const auto& state : b.dfa->States) {
        const auto& trans = state->Transitions;
        for (std::size_t k = 1; k < trans.size(); ++k) EXPECT_LT(trans[k - 1].High, trans[k].Low) << "unsorted";
        for (const unsigned c : codes) {
          std::vector<bool> want(capacity, false);
          std::vector<std::size_t> todo;
          for (std::size_t i = 0; i < capacity; ++i)
            for (const TNFATransition& t : nfa.StateList[i])
              if (state->StateSet.Contains(static_cast<int>(i)) && t.Low != kEps && t.Low <= c && c <= t.High &&
                  !want[static_cast<std::size_t>(t.Target)])
                todo.push_back(static_cast<std::size_t>(t.Target)), want[todo.back()] = true;
          const bool any = !todo.empty();
          while (!todo.empty()) {  // the closure over empty moves
            const std::size_t i = todo.back();
            todo.pop_back();
            for (const TNFATransition& t : nfa.StateList[i])
              if (t.Low == kEps && !want[static_cast<std::size_t>(t.Target)])
                todo.push_back(static_cast<std::size_t>(t.Target)), want[todo.back()] = true;
          }
          const TDFATransition* hit = nullptr;
          int hits = 0;
          for (const TDFATransition& t : trans)
            if (t.Low <= c && c <= t.High) hit = &t, ++hits;
          ASSERT_EQ(hits, any ? 1 : 0) << "code " << std::hex << c;
          if (!any) continue;
          std::vector<bool> got(capacity, false);
          for (std::size_t i = 0; i < capacity; ++i) got[i] = hit->Target->StateSet.Contains(static_cast<int>(i));
          EXPECT_TRUE(got == want) << "code " << std::hex << c;
        }
      }
    }
  }
}

TEST(Literals, ChainsBuildTheSameAutomatonDirectly) {
  const auto patterns = Patterns({"abc", "a.c", "[a-z]x", "^abc$", "x^y$z", "a[^b]c", "^", "$", "(ab)c", "a()b", "a|b",
                                  "ab*", "\\x0a", "[ab][ac]", "^$", "..", S("検索") + "[" + S("あ-ん") + "]"},
                                 300, 29);
  int chains = 0;
  for (const std::string& pattern : patterns) {
    for (const bool ignoreCase : {false, true}) {
      for (const bool lineCodes : {false, true}) {
        SCOPED_TRACE(Hex(pattern));
        Built b = Build(pattern, ignoreCase, false, lineCodes);
        const std::optional<TChain> chain =
            FindChain(b.parser->ParseTree->TopNode, b.nfa->LineHeadCode, b.nfa->LineTailCode);
        if (!chain) continue;
        ++chains;
        TDFA direct(nullptr, false, ignoreCase);
        direct.BuildChain(*chain);
        ASSERT_EQ(direct.States.size(), b.dfa->States.size());
        EXPECT_EQ(IndexOf(direct, direct.Start), IndexOf(*b.dfa, b.dfa->Start));
        for (std::size_t i = 0; i < direct.States.size(); ++i) {
          EXPECT_EQ(DfaEdges(direct, *direct.States[i]), DfaEdges(*b.dfa, *b.dfa->States[i])) << i;
          EXPECT_EQ(direct.States[i]->Accepting, b.dfa->States[i]->Accepting) << i;
        }
        EXPECT_EQ(direct.BeginAnchored, b.dfa->BeginAnchored);
        EXPECT_EQ(direct.EndAnchored, b.dfa->EndAnchored);
        EXPECT_EQ(direct.IsLiteral, b.dfa->IsLiteral);
        EXPECT_EQ(direct.Literal, b.dfa->Literal);
        EXPECT_EQ(direct.LiteralIsText, b.dfa->LiteralIsText);
      }
    }
  }
  EXPECT_GE(chains, 40);
}
