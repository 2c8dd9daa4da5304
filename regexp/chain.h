// Patterns whose automaton is a chain: one character or class after the
// other, with no choice between paths of different lengths and no repetition
// (a fixed string, "a.c[xy]"), found in the parse tree so that their
// automaton is built directly.  See chain.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "regexp/parser.h"

struct TChain {
  using TRange = std::pair<TCharCode, TCharCode>;
  // The disjoint ranges that lead from each step to the next, ascending,
  // step after step: step k's are Ranges[StepEnds[k - 1], StepEnds[k]) (one
  // list for all, so that a long chain costs no allocation per step).
  std::vector<TRange> Ranges;
  std::vector<std::uint32_t> StepEnds;
  bool BeginAnchored = false;  // the first step is the line-head code
  bool EndAnchored = false;    // the last step is the line-tail code

  std::size_t StepCount() const { return StepEnds.size(); }
  std::size_t StepBegin(std::size_t k) const { return k == 0 ? 0 : StepEnds[k - 1]; }
  // Ends the step whose ranges were appended last.
  void EndStep() { StepEnds.push_back(static_cast<std::uint32_t>(Ranges.size())); }
};

// The chain the parse tree spells, with "^" opening it and "$" closing it
// turned into the given codes as the automaton construction turns them;
// nothing when the tree is no chain.
std::optional<TChain> FindChain(const TParseNode* top, TCharCode lineHeadCode, TCharCode lineTailCode);
