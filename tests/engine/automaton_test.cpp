// The nondeterministic automaton built from the parse tree, the subset
// construction and its sorted, disjoint transition lists, the detection of
// fixed strings and of the anchors that anchor.  Whether the automata match
// the right text is the matching tests' business (match_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "chain.h"
#include "dfa.h"
#include "exceptions.h"
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

// Runs the compile steps in their order and keeps every stage for a look.
Built Build(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false, TCharCode headCode = kHead,
            TCharCode tailCode = kTail) {
  Built b;
  b.parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  b.parser->IgnoreCase = ignoreCase;
  b.parser->Parse();
  b.nfa = std::make_unique<TNFA>(b.parser.get());
  b.nfa->LineHeadCode = headCode;
  b.nfa->LineTailCode = tailCode;
  b.nfa->Build();
  b.dfa = std::make_unique<TDFA>(b.nfa.get(), dbMeta, ignoreCase);
  b.dfa->Build();
  return b;
}

std::string Label(TCharCode low, TCharCode high) {
  char buf[24];
  if (low == high)
    std::snprintf(buf, sizeof buf, "%X", low);
  else
    std::snprintf(buf, sizeof buf, "%X-%X", low, high);
  return buf;
}

std::vector<int> Members(const TNFAStateSet& set, int capacity) {
  std::vector<int> out;
  for (int i = 0; i < capacity; ++i)
    if (set.Contains(i)) out.push_back(i);
  return out;
}

int IndexOf(const TDFA& dfa, const TDFAState* s) {
  for (std::size_t i = 0; i < dfa.States.size(); ++i)
    if (dfa.States[i].get() == s) return static_cast<int>(i);
  return -1;
}

// "label->target" for each transition of a DFA state, in list order.
std::vector<std::string> DfaEdges(const TDFA& dfa, const TDFAState& s) {
  std::vector<std::string> out;
  for (const TDFATransition& t : s.Transitions)
    out.push_back(Label(t.Low, t.High) + "->" + std::to_string(IndexOf(dfa, t.Target)));
  return out;
}

// Random well-formed patterns over a few characters, classes and anchors.
std::string RandomPattern(std::mt19937& rng, int depth) {
  static const std::vector<std::string> atoms = {"a",     "b",    "c", S("あ"), ".",  "[a-c]", "[^b]", "\\n",
                                                 "[b-z]", "\\x0", "^", "$",     "()", S("い"), "A",    "[\\x01-\\x7F]"};
  const int choice = depth <= 0 ? 0 : static_cast<int>(rng() % 7);
  switch (choice) {
    case 0:
      return atoms[rng() % atoms.size()];
    case 1:
    case 2:
      return RandomPattern(rng, depth - 1) + RandomPattern(rng, depth - 1);
    case 3:
      return "(" + RandomPattern(rng, depth - 1) + "|" + RandomPattern(rng, depth - 1) + ")";
    case 4:
      return "(" + RandomPattern(rng, depth - 1) + ")*";
    case 5:
      return "(" + RandomPattern(rng, depth - 1) + ")+";
    default:
      return "(" + RandomPattern(rng, depth - 1) + ")?";
  }
}

std::vector<std::string> RandomPatterns(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(RandomPattern(rng, 1 + static_cast<int>(rng() % 4)));
  return out;
}

std::vector<bool> ClosureOf(const TNFA& nfa, std::vector<bool> set) {
  std::vector<int> todo;
  for (std::size_t i = 0; i < set.size(); ++i)
    if (set[i]) todo.push_back(static_cast<int>(i));
  while (!todo.empty()) {
    const int i = todo.back();
    todo.pop_back();
    for (const TNFATransition& t : nfa.StateList[static_cast<std::size_t>(i)])
      if (t.Low == kEps && !set[static_cast<std::size_t>(t.Target)]) {
        set[static_cast<std::size_t>(t.Target)] = true;
        todo.push_back(t.Target);
      }
  }
  return set;
}

bool HasLabel(const TDFA& dfa, TCharCode code) {
  for (const auto& s : dfa.States)
    for (const TDFATransition& t : s->Transitions)
      if (t.Low <= code && code <= t.High) return true;
  return false;
}

}  // namespace

TEST(Nfa, UnknownNodeKindIsAnInternalError) {
  TRegExpParser parser("", false);
  TNFA nfa(&parser);
  nfa.NewState();
  nfa.NewState();
  TParseNode odd;
  odd.Op = static_cast<TOp>(7);
  try {
    nfa.GenerateStateList(&odd, 0, 1);
    FAIL() << "no error";
  } catch (const ERegExpParser&) {
    FAIL() << "raised as a pattern error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "This cannot happen in TNFA.GenerateStateList");
  }
}

TEST(Dfa, ShapeOfABStar) {
  Built b = Build("ab*");
  const TDFA& dfa = *b.dfa;
  ASSERT_EQ(dfa.States.size(), 3u);
  EXPECT_EQ(Members(dfa.States[1]->StateSet, 5), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Members(dfa.States[2]->StateSet, 5), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(dfa.States[0]->Accepting, 0);
  EXPECT_NE(dfa.States[2]->Accepting, 0);
  EXPECT_EQ(DfaEdges(dfa, *dfa.States[2]), (std::vector<std::string>{"62->2"}));
  Built sorted = Build(S("あ|z|b|\\x0|[c-d]"));
  std::vector<std::string> labels;
  for (const TDFATransition& t : sorted.dfa->Start->Transitions) labels.push_back(Label(t.Low, t.High));
  EXPECT_EQ(labels, (std::vector<std::string>{"0", "62", "63-64", "7A", "82A0"})) << "sorted by the low code";
}

TEST(StateSets, MembershipAndEqualityAcrossWordBoundaries) {
  EXPECT_EQ(TNFAStateSet(7).ByteCount, 1);
  EXPECT_EQ(TNFAStateSet(8).ByteCount, 2);
  TNFAStateSet a(200);
  TNFAStateSet b(200);
  for (const int i : {0, 7, 8, 63, 64, 127, 128, 199}) a.Include(i);
  for (const int i : {1, 62, 65, 198}) EXPECT_FALSE(a.Contains(i)) << i;
  for (const int i : {199, 128, 127, 64, 63, 8, 7}) b.Include(i);
  EXPECT_FALSE(a.Equals(b));
  b.Include(0);
  EXPECT_TRUE(a.Equals(b));
  EXPECT_EQ(a.Hash(), b.Hash());
}

TEST(Literals, FixedStringsAndWhetherTextCanHoldThem) {
  struct TCase {
    std::string Pattern;
    bool IgnoreCase;
    bool LineFeedCodes;                  // the grep's line codes instead of the component's
    std::optional<std::string> Literal;  // none: no fixed string
    bool IsText = true;
  };
  const std::vector<TCase> cases = {
      {"abc", false, false, "abc"},
      {"ab|ab", false, false, "ab"},
      {"(ab)(c)()d", false, false, "abcd"},
      {"[a][b-b]", false, false, "ab"},
      {"", false, false, ""},
      {S("あい"), false, false, S("あい")},
      {"\\x82A0", false, false, S("あ")},
      {S("ｱｲ"), false, false, S("ｱｲ")},
      {"123", true, false, "123"},
      {S("＾a"), false, false, S("＾a")},
      {"a\\0b", false, false, std::string("a\0b", 3), false},  // the reader turns a zero byte into a space
      // The component's line codes, a lone lead byte and a code without its
      // lead byte are no text that a line can hold.
      {"^abc", false, false,
       "\xFF\xFD"
       "abc",
       false},
      {"abc$", false, false, "abc\xFF\xFE", false},
      {"a\\x82", false, false, "a\x82", false},
      {"\\x4142", false, false, "AB", false},
      {"^abc$", false, true, "\nabc\n"},
      {"^abc", false, true, "\nabc"},
      {"abc", true, false, std::nullopt},
      {"a|b", false, false, std::nullopt},
  };
  for (const char* pattern : {"a+", "a?", "a*", "[ab]", "ab*", "a|ab", ".", "[^a]"})
    EXPECT_FALSE(Build(pattern).dfa->IsLiteral) << pattern;
  for (const TCase& c : cases) {
    const TCharCode head = c.LineFeedCodes ? 10 : kHead;
    Built b = Build(c.Pattern, c.IgnoreCase, false, head, c.LineFeedCodes ? 10 : kTail);
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
      {"^abc", true, false},
      {"(^a|^b)c", true, false},
      {"^?x", true, false},
      {"((^a)b)c", true, false},
      {"^a|b", true, false},
      {"(^)*x|^y", true, false},
      {"^+", true, false},
      {"x^", false, false},
      {"(^a)*", false, false},
      {"()^a", false, false},
      {"(x|^)*", false, false},
      {"a$", false, true},
      {"(a$|b$)", false, true},
      {"a$?", false, true},
      {"a($)", false, true},
      {"$", false, true},
      {"a$b", false, false},
      {"(a$)*", false, false},
      {"$+", false, false},
      {"a$()", false, false},
      {S("＾a"), true, false, true},
      {S("a＾"), false, false, true},
      {S("a＄b"), false, false, true},
      {S("a＄"), false, true, true},
      {S("＾a"), false, false},
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
  Built flags = Build("^a$", true, true);
  EXPECT_TRUE(flags.dfa->IgnoreCase);
  EXPECT_TRUE(flags.dfa->AcceptDBMeta);
}

TEST(Dfa, EveryStatesTransitionsAreDisjointAndFollowEveryPath) {
  // For every DFA state and every code at a label boundary, the transition
  // that holds the code leads to the closure of all NFA targets on that
  // code, and no other transition of the state holds it.
  std::vector<std::string> patterns = {"x^a|x.b",           "a^|a[\\x01-\\x7F]",
                                       "^a|[\\x01-\\x7F]b", "a$b|a[\\x20-\\x30]c",
                                       "(\\n|^a)(b|\\nc)",  "x^|x\\^y|x[\\x50-\\x60]z"};
  for (const std::string& p : RandomPatterns(400, 17)) patterns.push_back(p);
  for (const std::string& pattern : patterns) {
    for (const TCharCode line : {kHead, TCharCode{10}}) {
      SCOPED_TRACE(Hex(pattern) + (line == 10 ? " (line codes LF)" : ""));
      Built b = Build(pattern, false, false, line, line == kHead ? kTail : line);
      const TNFA& nfa = *b.nfa;
      std::set<unsigned> codes = {0, 1, 0xFFFC, 0xFFFD, 0xFFFE};
      for (const auto& list : nfa.StateList)
        for (const TNFATransition& t : list) {
          if (t.Low == kEps) continue;
          for (const unsigned c : {t.Low - 1u, unsigned{t.Low}, t.Low + 1u, t.High - 1u, unsigned{t.High}, t.High + 1u})
            if (c <= 0xFFFE) codes.insert(c);
        }
      const int capacity = nfa.StateCount();
      for (const auto& state : b.dfa->States) {
        const auto& trans = state->Transitions;
        for (std::size_t k = 1; k < trans.size(); ++k) {
          EXPECT_LT(trans[k - 1].High, trans[k].Low) << "unsorted or overlapping";
        }
        for (const unsigned c : codes) {
          std::vector<bool> targets(static_cast<std::size_t>(capacity), false);
          bool any = false;
          for (int i = 0; i < capacity; ++i) {
            if (!state->StateSet.Contains(i)) continue;
            for (const TNFATransition& t : nfa.StateList[static_cast<std::size_t>(i)])
              if (t.Low != kEps && t.Low <= c && c <= t.High) targets[static_cast<std::size_t>(t.Target)] = any = true;
          }
          const TDFATransition* hit = nullptr;
          int hits = 0;
          for (const TDFATransition& t : trans)
            if (t.Low <= c && c <= t.High) {
              hit = &t;
              ++hits;
            }
          if (!any) {
            EXPECT_EQ(hits, 0) << "code " << std::hex << c;
            continue;
          }
          ASSERT_EQ(hits, 1) << "code " << std::hex << c;
          std::vector<int> want;
          const std::vector<bool> closed = ClosureOf(nfa, targets);
          for (int i = 0; i < capacity; ++i)
            if (closed[static_cast<std::size_t>(i)]) want.push_back(i);
          EXPECT_EQ(Members(hit->Target->StateSet, capacity), want) << "code " << std::hex << c;
        }
      }
    }
  }
}

TEST(Literals, ChainsBuildTheSameAutomatonDirectly) {
  std::vector<std::string> patterns = {"abc",   "a.c",  "[a-z]x", "^abc$", "x^y$z", "a[^b]c",   "^",  "$",
                                       "(ab)c", "a()b", "a|b",    "ab*",   "\\x0a", "[ab][ac]", "^$", ".."};
  patterns.push_back(S("検索") + "[" + S("あ-ん") + "]");
  for (const std::string& p : RandomPatterns(300, 29)) patterns.push_back(p);
  int chains = 0;
  for (const std::string& pattern : patterns) {
    for (const bool ignoreCase : {false, true}) {
      for (const TCharCode line : {kHead, TCharCode{10}}) {
        SCOPED_TRACE(Hex(pattern));
        const TCharCode tail = line == kHead ? kTail : line;
        Built b = Build(pattern, ignoreCase, false, line, tail);
        const std::optional<TChain> chain = FindChain(b.parser->ParseTree->TopNode, line, tail);
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
