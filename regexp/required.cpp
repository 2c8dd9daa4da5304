#include "required.h"

#include <vector>

namespace {

bool SingleCode(const TParseNode* n) { return n->Op == opCharRange && n->Low == n->High && IsTextCode(n->Low); }

// x or X, as case folding or a class of the two makes it.
bool EitherCase(const TParseNode* n) {
  if (n->Op != opUnion || !SingleCode(n->Left) || !SingleCode(n->Right)) return false;
  const TCharCode a = n->Left->Low;
  const TCharCode b = n->Right->Low;
  const bool letter = (a >= 'A' && a <= 'Z') || (a >= 'a' && a <= 'z');
  return letter && (a ^ b) == 0x20;
}

// The operands of the concatenations at the top, in order.
void Flatten(const TParseNode* n, std::vector<const TParseNode*>& out) {
  std::vector<const TParseNode*> pending{n};
  while (!pending.empty()) {
    const TParseNode* m = pending.back();
    pending.pop_back();
    if (m->Op == opConcat) {
      pending.push_back(m->Right);
      pending.push_back(m->Left);
    } else {
      out.push_back(m);
    }
  }
}

}  // namespace

TRequiredBytes FindRequiredBytes(const TParseNode* top) {
  TRequiredBytes best;
  if (top == nullptr) return best;
  std::vector<const TParseNode*> operands;
  Flatten(top, operands);
  TRequiredBytes run;
  auto finish = [&] {
    if (run.Bytes.size() > best.Bytes.size()) best = run;
    run = TRequiredBytes();
  };
  for (const TParseNode* n : operands) {
    if (SingleCode(n)) {
      AppendCode(run.Bytes, n->Low);
    } else if (EitherCase(n)) {
      AppendCode(run.Bytes, n->Left->Low);
      run.FoldsCase = true;
    } else {
      finish();
    }
  }
  finish();
  if (best.Bytes.size() < 2) best = TRequiredBytes();
  return best;
}
