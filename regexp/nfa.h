// The nondeterministic automaton: one construction step per parse-tree node.
//
// States are numbered in order of creation; state 0 is the start and state 1
// the only accepting state.  Every transition carries a label, an inclusive
// range of character codes.  Two special labels exist: the empty move
// (Low = 0xFFFF) and the line codes that an anchoring "^" or "$" becomes.
// A "^" anchors only where the construction reaches it from the start state
// (it begins the pattern), a "$" only where it leads into the final state (it
// ends the pattern); anywhere else each matches its own character.
#pragma once

#include <cstdint>
#include <vector>

#include "regexp/parser.h"

constexpr TCharCode kEpsilonCode = 0xFFFF;
constexpr TCharCode kDefaultLineHeadCode = 0xFFFD;
constexpr TCharCode kDefaultLineTailCode = 0xFFFE;

struct TNFATransition {
  TCharCode Low;
  TCharCode High;
  std::int32_t Target;
};

class TNFA {
 public:
  explicit TNFA(TRegExpParser* parser);

  void Build();
  int NewState();
  // Puts the transition in front of the state's list, so a state's list runs
  // from the most recently added transition to the first.
  void AddTransition(int from, int to, TCharCode low, TCharCode high);
  void GenerateStateList(const TParseNode* node, int from, int to);

  int StateCount() const { return static_cast<int>(StateList.size()); }

  std::vector<std::vector<TNFATransition>> StateList;  // in list order
  std::int32_t StartIndex = 0;
  std::int32_t FinalIndex = 0;
  TRegExpParser* Parser;
  bool BeginAnchored = false;
  bool EndAnchored = false;
  TCharCode LineHeadCode = kDefaultLineHeadCode;
  TCharCode LineTailCode = kDefaultLineTailCode;

  // More states than this make the pattern too complex to compile; nested
  // "+" doubles its operand at every level, so the count can explode.
  static constexpr int kMaxStates = 20'000;

 private:
  void GenerateConcat(const TParseNode* node, int from, int to);
  void GenerateUnion(const TParseNode* node, int from, int to);
};
