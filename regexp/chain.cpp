// The subset construction of a chain makes one state per step, each
// leading to the next on that step's ranges; it would also spend work that
// grows with the square of the pattern's length on sets of NFA states, and
// refuse a long fixed string as too complex.  The chain is found in the parse
// tree instead and its automaton built directly, state for state and
// transition for transition the same, so a fixed string is limited only by
// its length.
#include "regexp/chain.h"

#include <algorithm>

#include "regexp/treewalk.h"

namespace {

// The ranges of one step: a leaf, or alternatives that are all leaves.
// Equal labels count once, as the construction groups moves by label; ranges
// that overlap would be cut into pieces there, so they end the chain here.
bool StepRanges(const TParseNode* n, std::vector<std::pair<TCharCode, TCharCode>>& ranges) {
  for (const TParseNode* leaf : Operands(n, opUnion)) {
    if (leaf->Op != opCharRange) return false;
    ranges.emplace_back(leaf->Low, leaf->High);
  }
  std::sort(ranges.begin(), ranges.end());
  ranges.erase(std::unique(ranges.begin(), ranges.end()), ranges.end());
  for (std::size_t i = 1; i < ranges.size(); ++i)
    if (ranges[i].first <= ranges[i - 1].second) return false;
  return true;
}

}  // namespace

std::optional<TChain> FindChain(const TParseNode* top, TCharCode lineHeadCode, TCharCode lineTailCode) {
  if (top == nullptr) return std::nullopt;
  const std::vector<const TParseNode*> operands = Operands(top, opConcat);
  TChain chain;
  chain.StepEnds.reserve(operands.size());
  std::vector<std::pair<TCharCode, TCharCode>> ranges;
  for (std::size_t k = 0; k < operands.size(); ++k) {
    const TParseNode* n = operands[k];
    ranges.clear();
    // An anchor opens or closes the pattern as its line code, elsewhere it
    // matches its own character.
    if (n->Op == opLineHead && k == 0) {
      chain.BeginAnchored = true;
      ranges.emplace_back(lineHeadCode, lineHeadCode);
    } else if (n->Op == opLineTail && k + 1 == operands.size()) {
      chain.EndAnchored = true;
      ranges.emplace_back(lineTailCode, lineTailCode);
    } else if (n->Op == opLineHead || n->Op == opLineTail) {
      ranges.emplace_back(n->Low, n->High);
    } else if (!StepRanges(n, ranges)) {
      return std::nullopt;
    }
    chain.Ranges.insert(chain.Ranges.end(), ranges.begin(), ranges.end());
    chain.EndStep();
  }
  return chain;
}
