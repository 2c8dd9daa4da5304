#include "regexp/required.h"

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

namespace {

// The runs of single characters among the top operands, in order; the first
// one starts at the first operand (it may be empty).
std::vector<TRequiredBytes> Runs(const TParseNode* top) {
  std::vector<TRequiredBytes> runs(1);
  if (top == nullptr) return runs;
  std::vector<const TParseNode*> operands;
  Flatten(top, operands);
  for (std::size_t i = 0; i < operands.size(); ++i) {
    const TParseNode* n = operands[i];
    TRequiredBytes& run = runs.back();
    if (i == 0 && n->Op == opLineHead) {
      run.Bytes += '\n';
    } else if (SingleCode(n)) {
      AppendCode(run.Bytes, n->Low);
    } else if (EitherCase(n)) {
      AppendCode(run.Bytes, n->Left->Low);
      run.FoldsCase = true;
    } else {
      runs.emplace_back();
    }
  }
  return runs;
}

}  // namespace

TRequiredBytes FindRequiredBytes(const TParseNode* top) {
  TRequiredBytes best;
  for (TRequiredBytes& run : Runs(top))
    if (run.Bytes.size() > best.Bytes.size()) best = std::move(run);
  if (best.Bytes.size() < 2) best = TRequiredBytes();
  return best;
}

TRequiredBytes FindRequiredPrefix(const TParseNode* top) {
  TRequiredBytes first = Runs(top).front();
  if (first.Bytes.size() < 2) first = TRequiredBytes();
  return first;
}
