// The operands of the concatenations at the top of the tree (groups and "+"
// included, since x+ is x followed by x*) all take part in every match, one
// after the other.  A run of those operands that are single characters
// spells a string that every match contains; the longest such run is the
// required string.  An ASCII letter of a case-folded pattern (upper or lower
// case) counts as a character whose letter case does not matter.
//
// A "^" that opens the pattern stands for the line feed it matches (the
// leading character of a line is a line feed, or a lead byte paired with
// one), so a run that starts there begins with a line feed.  The run that
// starts at the first operand is also a string that every match begins with:
// it stays within the line a match starts in, even when the match runs on
// into later lines.
#include "regexp/required.h"

#include <vector>

#include "regexp/treewalk.h"

namespace {

bool SingleCode(const TParseNode* n) { return n->Op == opCharRange && n->Low == n->High && IsTextCode(n->Low); }

// The runs of single characters among the top operands, in order; the first
// one starts at the first operand (it may be empty).
std::vector<TRequiredBytes> Runs(const TParseNode* top) {
  std::vector<TRequiredBytes> runs(1);
  if (top == nullptr) return runs;
  bool first = true;
  ForEachOperand(top, opConcat, [&](const TParseNode* n) {
    TRequiredBytes& run = runs.back();
    if (first && n->Op == opLineHead) {
      run.Bytes += '\n';
    } else if (SingleCode(n)) {
      AppendCode(run.Bytes, n->Low);
    } else if (IsCasePair(n)) {
      AppendCode(run.Bytes, n->Left->Low);
      run.FoldsCase = true;
    } else {
      runs.emplace_back();
    }
    first = false;
  });
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
