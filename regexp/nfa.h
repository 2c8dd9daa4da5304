// The nondeterministic automaton: one construction step per parse-tree node,
// transitions labelled with ranges of character codes.  See nfa.cpp.
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
