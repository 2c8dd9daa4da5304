#include "regexp/treewalk.h"

std::vector<const TParseNode*> Operands(const TParseNode* n, TOp op, TCasePairs casePairs) {
  std::vector<const TParseNode*> out;
  ForEachOperand(
      n, op, [&](const TParseNode* m) { out.push_back(m); },
      [&](const TParseNode* m) { return casePairs == TCasePairs::Whole && IsCasePair(m); });
  return out;
}
