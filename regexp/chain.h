// Patterns whose automaton is a chain: one character or class after the
// other, with no choice between paths of different lengths and no repetition
// (a fixed string, "a.c[xy]"), found in the parse tree so that their
// automaton is built directly.  See chain.cpp.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "regexp/parser.h"

struct TChain {
  // Per step, the disjoint ranges that lead to the next state, ascending.
  std::vector<std::vector<std::pair<TCharCode, TCharCode>>> Steps;
  bool BeginAnchored = false;  // the first step is the line-head code
  bool EndAnchored = false;    // the last step is the line-tail code
};

// The chain the parse tree spells, with "^" opening it and "$" closing it
// turned into the given codes as the automaton construction turns them;
// nothing when the tree is no chain.
std::optional<TChain> FindChain(const TParseNode* top, TCharCode lineHeadCode, TCharCode lineTailCode);
