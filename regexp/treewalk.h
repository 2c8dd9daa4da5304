// The walk that the passes reading the parse tree share (chain.h,
// required.h, required_set.h): the operands of a run of one operator, left
// to right.
#pragma once

#include <vector>

#include "regexp/parser.h"

// Calls visit(operand) for each node below n joined by op, left to right (n
// itself when it is no node of op); a node of op for which whole(node) holds
// is an operand itself, not opened.  Both operators group to the left, so a
// long pattern is a long spine: the walk keeps its own stack, not the call
// stack's.
template <class Visit, class Whole>
void ForEachOperand(const TParseNode* n, TOp op, Visit&& visit, Whole&& whole) {
  std::vector<const TParseNode*> pending{n};
  while (!pending.empty()) {
    const TParseNode* m = pending.back();
    pending.pop_back();
    if (m->Op == op && !whole(m)) {
      pending.push_back(m->Right);
      pending.push_back(m->Left);
    } else {
      visit(m);
    }
  }
}

template <class Visit>
void ForEachOperand(const TParseNode* n, TOp op, Visit&& visit) {
  ForEachOperand(n, op, visit, [](const TParseNode*) { return false; });
}

// Whether a union of a letter's two cases (IsCasePair) is opened like any
// other union, or is an operand itself.
enum class TCasePairs { Opened, Whole };

// The operands as a list.
std::vector<const TParseNode*> Operands(const TParseNode* n, TOp op, TCasePairs casePairs = TCasePairs::Opened);
