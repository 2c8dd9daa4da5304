// The nondeterministic automaton built from the parse tree, the subset
// construction, the sorted transition lists and the detection of fixed
// strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
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

// "from -label-> to" for every NFA transition in list order.
std::vector<std::string> NfaEdges(const std::vector<std::vector<TNFATransition>>& states) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < states.size(); ++i)
    for (const TNFATransition& t : states[i])
      out.push_back(std::to_string(i) + " -" + (t.Low == kEps ? std::string("e") : Label(t.Low, t.High)) + "-> " +
                    std::to_string(t.Target));
  return out;
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

// ---------------------------------------------------------------------------
// A construction of the NFA from the parse tree written out recursively, one
// step per node, as the reference for the engine's construction.

struct RefNfa {
  std::vector<std::vector<TNFATransition>> states;
  bool beginAnchored = false;
  bool endAnchored = false;
  TCharCode headCode = kHead;
  TCharCode tailCode = kTail;

  int NewState() {
    states.emplace_back();
    return static_cast<int>(states.size()) - 1;
  }
  void Add(int from, int to, TCharCode low, TCharCode high) {
    auto& list = states[static_cast<std::size_t>(from)];
    list.insert(list.begin(), TNFATransition{low, high, to});
  }
  void Gen(const TParseNode* n, int from, int to) {
    switch (n->Op) {
      case opCharRange:
        Add(from, to, n->Low, n->High);
        break;
      case opLineHead:
        if (from == 0) {
          beginAnchored = true;
          Add(from, to, headCode, headCode);
        } else {
          Add(from, to, n->Low, n->High);
        }
        break;
      case opLineTail:
        if (to == 1) {
          endAnchored = true;
          Add(from, to, tailCode, tailCode);
        } else {
          Add(from, to, n->Low, n->High);
        }
        break;
      case opConcat: {
        const int m = NewState();
        Gen(n->Left, from, m);
        Gen(n->Right, m, to);
        break;
      }
      case opUnion:
        Gen(n->Left, from, to);
        Gen(n->Right, from, to);
        break;
      case opStar: {
        const int a = NewState();
        const int b = NewState();
        Add(from, a, kEps, kEps);
        Gen(n->Left, a, b);
        Add(b, a, kEps, kEps);
        Add(a, to, kEps, kEps);
        break;
      }
      case opEmpty:
        Add(from, to, kEps, kEps);
        break;
    }
  }
};

// ---------------------------------------------------------------------------
// The subset construction written out from its description: linear search
// for existing states, moves grouped by identical label and put at the head
// of their list, transitions put at the head of the state's list, a stable
// sort by Low at the end.  Used only where no two labels leaving a state
// overlap.

struct RefDfa {
  struct State {
    std::vector<bool> set;
    bool marked = false;
    bool accepting = false;
    std::vector<std::pair<std::pair<TCharCode, TCharCode>, int>> trans;  // list order
  };
  std::vector<State> states;
  bool overlapping = false;
  bool isLiteral = false;
  std::string literal;

  explicit RefDfa(const std::vector<std::vector<TNFATransition>>& nfa) : n(nfa) {
    std::vector<bool> first(n.size(), false);
    first[0] = true;
    Close(first);
    FindOrAdd(first);
    for (;;) {
      std::size_t d = 0;
      while (d < states.size() && states[d].marked) ++d;
      if (d == states.size()) break;
      states[d].marked = true;
      // Moves, each new one at the head of the list.
      std::vector<std::pair<std::pair<TCharCode, TCharCode>, std::vector<bool>>> moves;
      for (std::size_t i = 0; i < n.size(); ++i) {
        if (!states[d].set[i]) continue;
        for (const TNFATransition& t : n[i]) {
          if (t.Low == kEps) continue;
          auto found = std::find_if(moves.begin(), moves.end(),
                                    [&](const auto& m) { return m.first.first == t.Low && m.first.second == t.High; });
          if (found != moves.end()) {
            found->second[static_cast<std::size_t>(t.Target)] = true;
          } else {
            std::vector<bool> targets(n.size(), false);
            targets[static_cast<std::size_t>(t.Target)] = true;
            moves.insert(moves.begin(), {{t.Low, t.High}, targets});
          }
        }
      }
      for (std::size_t a = 0; a < moves.size(); ++a)
        for (std::size_t b = a + 1; b < moves.size(); ++b)
          if (!(moves[a].first.second < moves[b].first.first || moves[b].first.second < moves[a].first.first))
            overlapping = true;
      for (auto& m : moves) {
        Close(m.second);
        const int target = FindOrAdd(m.second);
        auto& list = states[d].trans;
        list.insert(list.begin(), {m.first, target});
      }
    }
    for (State& s : states)
      std::stable_sort(s.trans.begin(), s.trans.end(),
                       [](const auto& x, const auto& y) { return x.first.first < y.first.first; });
    DetectLiteral();
  }

 private:
  const std::vector<std::vector<TNFATransition>>& n;

  void AddClosure(std::vector<bool>& set, int i) {
    set[static_cast<std::size_t>(i)] = true;
    for (const TNFATransition& t : n[static_cast<std::size_t>(i)])
      if (t.Low == kEps && !set[static_cast<std::size_t>(t.Target)]) AddClosure(set, t.Target);
  }
  void Close(std::vector<bool>& set) {
    for (std::size_t i = 0; i < n.size(); ++i)
      if (set[i]) AddClosure(set, static_cast<int>(i));
  }
  int FindOrAdd(const std::vector<bool>& set) {
    for (std::size_t i = 0; i < states.size(); ++i)
      if (states[i].set == set) return static_cast<int>(i);
    State s;
    s.set = set;
    s.accepting = set[1];
    states.push_back(s);
    return static_cast<int>(states.size()) - 1;
  }
  void DetectLiteral() {
    std::size_t s = 0;
    for (std::size_t visited = 0; visited <= states.size(); ++visited) {
      const State& st = states[s];
      if (st.trans.empty()) {
        isLiteral = st.accepting;
        if (!isLiteral) literal.clear();
        return;
      }
      const auto& t = st.trans.front();
      if (st.trans.size() > 1 || t.first.first != t.first.second || st.accepting) break;
      if (t.first.first > 0xFF) literal.push_back(static_cast<char>(t.first.first >> 8));
      literal.push_back(static_cast<char>(t.first.first & 0xFF));
      s = static_cast<std::size_t>(t.second);
    }
    literal.clear();
    isLiteral = false;
  }
};

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

}  // namespace

// ---------------------------------------------------------------------------
// The nondeterministic automaton

TEST(Nfa, ShapeOfABStar) {
  Built b = Build("ab*");
  EXPECT_EQ(b.nfa->StartIndex, 0);
  EXPECT_EQ(b.nfa->FinalIndex, 1);
  ASSERT_EQ(b.nfa->StateCount(), 5);
  EXPECT_EQ(NfaEdges(b.nfa->StateList),
            (std::vector<std::string>{"0 -61-> 2", "2 -e-> 3", "3 -e-> 1", "3 -62-> 4", "4 -e-> 3"}));
  EXPECT_FALSE(b.nfa->BeginAnchored);
  EXPECT_FALSE(b.nfa->EndAnchored);
}

TEST(Nfa, NewStatesAreNumberedInOrderOfCreation) {
  TRegExpParser parser("", false);
  TNFA nfa(&parser);
  EXPECT_EQ(nfa.LineHeadCode, kHead);
  EXPECT_EQ(nfa.LineTailCode, kTail);
  EXPECT_EQ(nfa.NewState(), 0);
  EXPECT_EQ(nfa.NewState(), 1);
  EXPECT_EQ(nfa.NewState(), 2);
  nfa.AddTransition(0, 1, 'a', 'a');
  nfa.AddTransition(0, 2, 'b', 'c');
  EXPECT_EQ(NfaEdges(nfa.StateList), (std::vector<std::string>{"0 -62-63-> 2", "0 -61-> 1"}))
      << "the newest transition heads the list";
}

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

TEST(Nfa, MatchesTheRecursiveConstructionForRandomPatterns) {
  std::vector<std::string> patterns = {"",          "abc",        "a|b|c",       "(ab|cd)*e", "a+",    "(ab)+c",
                                       "((a|b)+)+", "^a|b$",      "x^y$z",       "(^a)*$",    "^+",    "$+",
                                       "a?$",       "(a|^b|c$)d", "[a-m]|[h-z]", ".a",        "[^a]b+"};
  for (const std::string& p : RandomPatterns(400, 11)) patterns.push_back(p);
  for (const std::string& pattern : patterns) {
    for (const TCharCode line : {kHead, TCharCode{10}}) {
      SCOPED_TRACE(Hex(pattern));
      Built b = Build(pattern, false, false, line, line == kHead ? kTail : line);
      RefNfa ref;
      ref.headCode = line;
      ref.tailCode = line == kHead ? kTail : line;
      ref.NewState();
      ref.NewState();
      ref.Gen(b.parser->ParseTree->TopNode, 0, 1);
      ASSERT_EQ(NfaEdges(b.nfa->StateList), NfaEdges(ref.states));
      EXPECT_EQ(b.nfa->StateCount(), static_cast<int>(ref.states.size()));
      EXPECT_EQ(b.nfa->BeginAnchored, ref.beginAnchored);
      EXPECT_EQ(b.nfa->EndAnchored, ref.endAnchored);
    }
  }
}

TEST(Nfa, OnlyTheFinalStateAcceptsAndEveryStateLeadsThere) {
  for (const std::string& pattern : RandomPatterns(200, 5)) {
    SCOPED_TRACE(Hex(pattern));
    Built b = Build(pattern);
    const auto& states = b.nfa->StateList;
    EXPECT_TRUE(states[1].empty()) << "nothing leaves the final state";
    // Backward reachability from the final state.
    std::vector<bool> reaches(states.size(), false);
    reaches[1] = true;
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t i = 0; i < states.size(); ++i)
        for (const TNFATransition& t : states[i])
          if (!reaches[i] && reaches[static_cast<std::size_t>(t.Target)]) reaches[i] = changed = true;
    }
    EXPECT_EQ(std::count(reaches.begin(), reaches.end(), false), 0);
  }
}

// ---------------------------------------------------------------------------
// State sets

TEST(StateSets, ByteCountIsCapacityDivEightPlusOne) {
  EXPECT_EQ(TNFAStateSet(7).ByteCount, 1);
  EXPECT_EQ(TNFAStateSet(8).ByteCount, 2);
  EXPECT_EQ(TNFAStateSet(15).ByteCount, 2);
  EXPECT_EQ(TNFAStateSet(16).ByteCount, 3);
  EXPECT_EQ(TNFAStateSet(1).ByteCount, 1);
  Built seven = Build("abcdef");
  ASSERT_EQ(seven.nfa->StateCount(), 7);
  EXPECT_EQ(seven.dfa->Start->StateSet.ByteCount, 1);
  Built eight = Build("abcdefg");
  ASSERT_EQ(eight.nfa->StateCount(), 8);
  for (const auto& s : eight.dfa->States) EXPECT_EQ(s->StateSet.ByteCount, 2);
}

TEST(StateSets, MembershipAndEqualityAcrossWordBoundaries) {
  TNFAStateSet a(200);
  TNFAStateSet b(200);
  for (const int i : {0, 7, 8, 63, 64, 127, 128, 199}) {
    EXPECT_FALSE(a.Contains(i));
    a.Include(i);
    EXPECT_TRUE(a.Contains(i));
  }
  EXPECT_FALSE(a.Contains(1));
  EXPECT_FALSE(a.Contains(62));
  EXPECT_FALSE(a.Contains(65));
  EXPECT_FALSE(a.Equals(b));
  for (const int i : {199, 128, 127, 64, 63, 8, 7}) b.Include(i);
  EXPECT_FALSE(a.Equals(b));
  b.Include(0);
  EXPECT_TRUE(a.Equals(b));
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(a.Hash(), b.Hash());
}

// ---------------------------------------------------------------------------
// The deterministic automaton

TEST(Dfa, ShapeOfABStar) {
  Built b = Build("ab*");
  const TDFA& dfa = *b.dfa;
  ASSERT_EQ(dfa.States.size(), 3u);
  EXPECT_EQ(dfa.Start, dfa.States[0].get());
  EXPECT_EQ(Members(dfa.States[0]->StateSet, 5), (std::vector<int>{0}));
  EXPECT_EQ(Members(dfa.States[1]->StateSet, 5), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Members(dfa.States[2]->StateSet, 5), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(dfa.States[0]->Accepting, 0);
  EXPECT_NE(dfa.States[1]->Accepting, 0);
  EXPECT_NE(dfa.States[2]->Accepting, 0);
  EXPECT_EQ(DfaEdges(dfa, *dfa.States[0]), (std::vector<std::string>{"61->1"}));
  EXPECT_EQ(DfaEdges(dfa, *dfa.States[1]), (std::vector<std::string>{"62->2"}));
  EXPECT_EQ(DfaEdges(dfa, *dfa.States[2]), (std::vector<std::string>{"62->2"}));
  for (const auto& s : dfa.States) EXPECT_EQ(s->Marked, 1);
  EXPECT_FALSE(dfa.IsLiteral) << "an accepting state with a transition";
  EXPECT_EQ(dfa.Literal, "");
}

TEST(Dfa, StatesAreMadeInTheOrderOfTheMoveList) {
  // From {0} the moves are on "a" (made last, so first in the list) and "c":
  // the state after "a" is made first.
  Built b = Build("ab|cd");
  const TDFA& dfa = *b.dfa;
  ASSERT_EQ(dfa.States.size(), 4u);
  EXPECT_EQ(Members(dfa.States[1]->StateSet, 4), (std::vector<int>{2}));
  EXPECT_EQ(Members(dfa.States[2]->StateSet, 4), (std::vector<int>{3}));
  EXPECT_EQ(Members(dfa.States[3]->StateSet, 4), (std::vector<int>{1}));
  EXPECT_EQ(DfaEdges(dfa, *dfa.States[0]), (std::vector<std::string>{"61->1", "63->2"}));
}

TEST(Dfa, TransitionsAreSortedByLowCode) {
  Built b = Build(S("あ|z|b|\\x0|[c-d]"));
  std::vector<std::string> edges = DfaEdges(*b.dfa, *b.dfa->Start);
  ASSERT_EQ(edges.size(), 5u);
  EXPECT_EQ(edges[0].substr(0, 3), "0->");
  EXPECT_EQ(edges[1].substr(0, 4), "62->");
  EXPECT_EQ(edges[2].substr(0, 7), "63-64->");
  EXPECT_EQ(edges[3].substr(0, 4), "7A->");
  EXPECT_EQ(edges[4].substr(0, 6), "82A0->");
}

TEST(Dfa, MatchesTheDescribedSubsetConstructionWhereNoLabelsOverlap) {
  std::vector<std::string> patterns = {"ab*",         "ab|cd", "(a|b)*abb", "(ab|ac)*", ".*a",
                                       "[^a]*a[a-c]", "^a|b",  "a$|b",      "(a+|b)+c"};
  for (const std::string& p : RandomPatterns(500, 3)) patterns.push_back(p);
  int compared = 0;
  for (const std::string& pattern : patterns) {
    for (const bool ignoreCase : {false, true}) {
      SCOPED_TRACE(Hex(pattern) + (ignoreCase ? " (ignoring case)" : ""));
      Built b = Build(pattern, ignoreCase);
      RefDfa ref(b.nfa->StateList);
      if (ref.overlapping) continue;
      ++compared;
      const TDFA& dfa = *b.dfa;
      ASSERT_EQ(dfa.States.size(), ref.states.size());
      const int capacity = b.nfa->StateCount();
      for (std::size_t i = 0; i < ref.states.size(); ++i) {
        std::vector<int> want;
        for (int k = 0; k < capacity; ++k)
          if (ref.states[i].set[static_cast<std::size_t>(k)]) want.push_back(k);
        ASSERT_EQ(Members(dfa.States[i]->StateSet, capacity), want) << "state " << i;
        EXPECT_EQ(dfa.States[i]->Accepting != 0, ref.states[i].accepting) << "state " << i;
        std::vector<std::string> wantEdges;
        for (const auto& t : ref.states[i].trans)
          wantEdges.push_back(Label(t.first.first, t.first.second) + "->" + std::to_string(t.second));
        EXPECT_EQ(DfaEdges(dfa, *dfa.States[i]), wantEdges) << "state " << i;
      }
    }
  }
  EXPECT_GT(compared, 500) << "too few patterns without overlapping labels";
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

TEST(Dfa, CaretThatMatchesItselfFollowsBothBranches) {
  Built b = Build("x^a|x.b");
  const TDFAState* afterX = nullptr;
  for (const TDFATransition& t : b.dfa->Start->Transitions)
    if (t.Low <= 'x' && 'x' <= t.High) afterX = t.Target;
  ASSERT_NE(afterX, nullptr);
  const TDFAState* afterCaret = nullptr;
  for (const TDFATransition& t : afterX->Transitions)
    if (t.Low <= '^' && '^' <= t.High) afterCaret = t.Target;
  ASSERT_NE(afterCaret, nullptr);
  std::set<TCharCode> next;
  for (const TDFATransition& t : afterCaret->Transitions)
    for (const TCharCode c : {TCharCode{'a'}, TCharCode{'b'}})
      if (t.Low <= c && c <= t.High) next.insert(c);
  EXPECT_EQ(next, (std::set<TCharCode>{'a', 'b'}));
}

// ---------------------------------------------------------------------------
// Fixed strings

TEST(Literals, ChainOfSingleCharacters) {
  Built b = Build("abc");
  EXPECT_EQ(b.dfa->States.size(), 4u);
  EXPECT_TRUE(b.dfa->IsLiteral);
  EXPECT_EQ(b.dfa->Literal, "abc");
  Built same = Build("ab|ab");
  EXPECT_TRUE(same.dfa->IsLiteral);
  EXPECT_EQ(same.dfa->Literal, "ab");
  Built groups = Build("(ab)(c)()d");
  EXPECT_TRUE(groups.dfa->IsLiteral);
  EXPECT_EQ(groups.dfa->Literal, "abcd");
  Built cls = Build("[a][b-b]");
  EXPECT_TRUE(cls.dfa->IsLiteral);
  EXPECT_EQ(cls.dfa->Literal, "ab");
}

TEST(Literals, NotFixedStrings) {
  for (const char* pattern : {"a|b", "a+", "a?", "a*", "[ab]", "ab*", "a|ab", ".", "[^a]"}) {
    Built b = Build(pattern);
    EXPECT_FALSE(b.dfa->IsLiteral) << pattern;
    EXPECT_EQ(b.dfa->Literal, "") << pattern;
  }
}

TEST(Literals, IgnoringCaseMakesTwoTransitions) {
  Built b = Build("abc", true);
  ASSERT_EQ(b.dfa->Start->Transitions.size(), 2u);
  EXPECT_EQ(b.dfa->Start->Transitions[0].Low, 'A');
  EXPECT_EQ(b.dfa->Start->Transitions[1].Low, 'a');
  EXPECT_FALSE(b.dfa->IsLiteral);
  EXPECT_EQ(b.dfa->Literal, "");
  Built digits = Build("123", true);
  EXPECT_TRUE(digits.dfa->IsLiteral) << "digits have no case";
  EXPECT_EQ(digits.dfa->Literal, "123");
}

TEST(Literals, DoubleByteCharactersLeadByteFirst) {
  Built b = Build(S("あい"));
  EXPECT_TRUE(b.dfa->IsLiteral);
  EXPECT_EQ(b.dfa->Literal, S("あい"));
  EXPECT_EQ(b.dfa->Literal.size(), 4u);
  Built hex = Build("\\x82A0");
  EXPECT_EQ(hex.dfa->Literal, S("あ"));
}

TEST(Literals, EmptyPattern) {
  Built empty = Build("");
  EXPECT_TRUE(empty.dfa->IsLiteral);
  EXPECT_EQ(empty.dfa->Literal, "");
  EXPECT_EQ(empty.dfa->States.size(), 1u);
}

TEST(Literals, LineFeedLineCodesAreBytesOfTheString) {
  Built grepHead = Build("^abc", false, false, 10, 10);
  EXPECT_TRUE(grepHead.dfa->IsLiteral);
  EXPECT_EQ(grepHead.dfa->Literal, "\nabc");
  Built grepTail = Build("abc$", false, false, 10, 10);
  EXPECT_EQ(grepTail.dfa->Literal, "abc\n");
  Built grepBoth = Build("^abc$", false, false, 10, 10);
  EXPECT_EQ(grepBoth.dfa->Literal, "\nabc\n");
}

// The component's own line codes and the code 0 are single-code transitions
// like any other, so these chains are fixed strings.
TEST(Literals, ComponentLineCodesArePartOfTheString) {
  Built head = Build("^abc");
  EXPECT_TRUE(head.dfa->IsLiteral);
  EXPECT_EQ(head.dfa->Literal,
            "\xFF\xFD"
            "abc");
  Built tail = Build("abc$");
  EXPECT_TRUE(tail.dfa->IsLiteral);
  EXPECT_EQ(tail.dfa->Literal, "abc\xFF\xFE");
}

TEST(Literals, ZeroCodeIsPartOfTheString) {
  Built zero = Build("a\\0b");
  EXPECT_TRUE(zero.dfa->IsLiteral);
  EXPECT_EQ(zero.dfa->Literal, std::string("a\0b", 3));
}

TEST(Literals, WhetherTextCanHoldTheString) {
  // Text read with NextChar never yields the line codes 0xFFFD/0xFFFE, a
  // lead byte on its own or a two-byte code without a lead byte first.
  for (const char* pattern : {"^abc", "abc$", "a\\x82", "\\x4142"}) {
    Built b = Build(pattern);
    EXPECT_TRUE(b.dfa->IsLiteral) << pattern;
    EXPECT_FALSE(b.dfa->LiteralIsText) << pattern;
  }
  for (const std::string& pattern : {std::string("abc"), S("あい"), S("ｱｲ"), std::string("\\x82A0")}) {
    Built b = Build(pattern);
    EXPECT_TRUE(b.dfa->IsLiteral) << Hex(pattern);
    EXPECT_TRUE(b.dfa->LiteralIsText) << Hex(pattern);
  }
  Built grep = Build("^abc$", false, false, 10, 10);
  EXPECT_TRUE(grep.dfa->LiteralIsText) << "line feeds are text";
  Built none = Build("a|b");
  EXPECT_FALSE(none.dfa->LiteralIsText) << "no fixed string at all";
}

TEST(Literals, RandomPatternsOfOrdinaryCharacters) {
  // Chains found by walking the automaton from its start: one transition of
  // one code per state, ending in the only accepting state.
  int literals = 0;
  for (const std::string& pattern : RandomPatterns(600, 23)) {
    if (pattern.find_first_of("^$") != std::string::npos || pattern.find("\\x0") != std::string::npos) continue;
    SCOPED_TRACE(Hex(pattern));
    Built b = Build(pattern);
    RefDfa ref(b.nfa->StateList);
    EXPECT_EQ(b.dfa->IsLiteral, ref.isLiteral);
    EXPECT_EQ(b.dfa->Literal, ref.literal);
    if (ref.isLiteral) ++literals;
  }
  for (const char* pattern : {"ab|ab", "(a|a)(b|b)", "a()b", "(ab|ab)(c|c)d", "((a))"}) {
    Built b = Build(pattern);
    RefDfa ref(b.nfa->StateList);
    EXPECT_TRUE(ref.isLiteral) << pattern;
    EXPECT_EQ(b.dfa->IsLiteral, ref.isLiteral) << pattern;
    EXPECT_EQ(b.dfa->Literal, ref.literal) << pattern;
    ++literals;
  }
  EXPECT_GE(literals, 10);
}

// A chain found in the parse tree is built directly, into the automaton the
// subset construction makes of it.
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

// ---------------------------------------------------------------------------
// Which anchors anchor

namespace {

bool HasLabel(const TDFA& dfa, TCharCode code) {
  for (const auto& s : dfa.States)
    for (const TDFATransition& t : s->Transitions)
      if (t.Low <= code && code <= t.High) return true;
  return false;
}

}  // namespace

TEST(Anchors, CaretAtTheStartAnchors) {
  for (const char* pattern : {"^abc", "(^a|^b)c", "^?x", "(^a)", "((^a)b)c", "^a|b", "(^)*x|^y"}) {
    Built b = Build(pattern);
    EXPECT_TRUE(b.dfa->BeginAnchored) << pattern;
    EXPECT_TRUE(b.nfa->BeginAnchored) << pattern;
  }
  Built both = Build("(^a|^b)c");
  ASSERT_EQ(both.dfa->Start->Transitions.size(), 1u);
  EXPECT_EQ(both.dfa->Start->Transitions[0].Low, kHead);
  EXPECT_FALSE(HasLabel(*both.dfa, '^'));
  Built opt = Build("^?x");
  EXPECT_EQ(DfaEdges(*opt.dfa, *opt.dfa->Start).size(), 2u);
  EXPECT_EQ(opt.dfa->Start->Transitions[0].Low, 'x');
  EXPECT_EQ(opt.dfa->Start->Transitions[1].Low, kHead);
}

TEST(Anchors, StartStateOfCaretAOrB) {
  Built b = Build("^a|b");
  EXPECT_TRUE(b.dfa->BeginAnchored);
  ASSERT_EQ(b.dfa->Start->Transitions.size(), 2u);
  EXPECT_EQ(b.dfa->Start->Transitions[0].Low, 'b');
  EXPECT_EQ(b.dfa->Start->Transitions[1].Low, kHead);
  EXPECT_EQ(b.dfa->Start->Transitions[1].High, kHead);
}

TEST(Anchors, CaretElsewhereMatchesItself) {
  for (const char* pattern : {"x^", "(^a)*", "a^b", "()^a", "^*", "(x|^)*"}) {
    Built b = Build(pattern);
    EXPECT_FALSE(b.dfa->BeginAnchored) << pattern;
    EXPECT_TRUE(HasLabel(*b.dfa, '^')) << pattern;
    EXPECT_FALSE(HasLabel(*b.dfa, kHead)) << pattern;
  }
  Built x = Build("x^");
  ASSERT_EQ(x.dfa->States.size(), 3u);
  EXPECT_EQ(DfaEdges(*x.dfa, *x.dfa->States[1]), (std::vector<std::string>{"5E->2"}));
}

TEST(Anchors, OnlyTheFirstCaretOfAPlusAnchors) {
  Built b = Build("^+");
  EXPECT_TRUE(b.dfa->BeginAnchored);
  EXPECT_TRUE(HasLabel(*b.dfa, kHead));
  EXPECT_TRUE(HasLabel(*b.dfa, '^'));
}

TEST(Anchors, DollarAtTheEndAnchors) {
  for (const char* pattern : {"a$", "(a$|b$)", "a$?", "a($)", "(a|b$)", "$"}) {
    Built b = Build(pattern);
    EXPECT_TRUE(b.dfa->EndAnchored) << pattern;
    EXPECT_TRUE(HasLabel(*b.dfa, kTail)) << pattern;
  }
  for (const char* pattern : {"a$b", "(a$)*", "$+", "a$()", "$*"}) {
    Built b = Build(pattern);
    EXPECT_FALSE(b.dfa->EndAnchored) << pattern;
    EXPECT_TRUE(HasLabel(*b.dfa, '$')) << pattern;
    EXPECT_FALSE(HasLabel(*b.dfa, kTail)) << pattern;
  }
}

TEST(Anchors, FullWidthAnchorsFollowTheSameRules) {
  Built head = Build(S("＾a"), false, true);
  EXPECT_TRUE(head.dfa->BeginAnchored);
  Built mid = Build(S("a＾"), false, true);
  EXPECT_FALSE(mid.dfa->BeginAnchored);
  EXPECT_TRUE(HasLabel(*mid.dfa, 0x814F));
  Built tail = Build(S("a＄b"), false, true);
  EXPECT_FALSE(tail.dfa->EndAnchored);
  EXPECT_TRUE(HasLabel(*tail.dfa, 0x8190));
  Built end = Build(S("a＄"), false, true);
  EXPECT_TRUE(end.dfa->EndAnchored);
  Built plain = Build(S("＾a"), false, false);
  EXPECT_FALSE(plain.dfa->BeginAnchored);
  EXPECT_TRUE(plain.dfa->IsLiteral);
  EXPECT_EQ(plain.dfa->Literal, S("＾a"));
}

TEST(Anchors, FlagsAreCopiedIntoTheDfa) {
  Built b = Build("^a$", true, true);
  EXPECT_TRUE(b.dfa->BeginAnchored);
  EXPECT_TRUE(b.dfa->EndAnchored);
  EXPECT_TRUE(b.dfa->IgnoreCase);
  EXPECT_TRUE(b.dfa->AcceptDBMeta);
  Built c = Build("a");
  EXPECT_FALSE(c.dfa->IgnoreCase);
  EXPECT_FALSE(c.dfa->AcceptDBMeta);
}
