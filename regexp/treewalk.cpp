#include "regexp/treewalk.h"

std::vector<const TParseNode*> Operands(const TParseNode* n, TOp op, bool casePairsWhole) {
  std::vector<const TParseNode*> out;
  ForEachOperand(
      n, op, [&](const TParseNode* m) { out.push_back(m); },
      [&](const TParseNode* m) { return casePairsWhole && IsCasePair(m); });
  return out;
}
