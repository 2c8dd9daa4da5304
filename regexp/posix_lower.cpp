#include "regexp/posix_lower.h"

#include <algorithm>
#include <vector>

#include "regexp/messages.h"
#include "sjis/exceptions.h"

namespace {

class TLowering {
 public:
  TLowering(const TPosixPattern& pattern, TParseTree& tree) : P(pattern), T(tree) {}

  // atStart: the automaton reaches this node from its start state; atEnd:
  // it leaves it for its final state.
  TParseNode* Lower(int index, bool atStart, bool atEnd) {
    if (++FMade > kMaxPosixExpansion || FDepth >= kMaxLowerDepth)
      throw ERegExpParser(std::string(sjis_text::kMsgTooBig), 0);
    const TDeeper deeper(FDepth);
    const TPosixNode& n = P.Nodes[static_cast<std::size_t>(index)];
    switch (n.Op) {
      case TPosixOp::Set: {
        if (n.Set.Empty()) throw ERegExpParser(std::string(sjis_text::kMsgBadCharClass), 0);
        TParseNode* r = nullptr;
        for (const TCodeRange& range : n.Set.Ranges()) {
          TParseNode* leaf = T.MakeLeaf(range.Low, range.High);
          r = r == nullptr ? leaf : T.MakeNode(opUnion, r, leaf);
        }
        return r;
      }
      case TPosixOp::Empty:
        return T.MakeNode(opEmpty);
      case TPosixOp::Concat:
        return LowerConcat(index, atStart, atEnd);
      case TPosixOp::Union:
        return T.MakeNode(opUnion, Lower(n.Left, atStart, atEnd), Lower(n.Right, atStart, atEnd));
      case TPosixOp::Star:
        return T.MakeNode(opStar, Lower(n.Left, false, false));
      case TPosixOp::Assert:
        if (n.Assertion == TAssertion::LineStart && atStart) return T.MakeLineHead('^');
        if (n.Assertion == TAssertion::LineEnd && atEnd) return T.MakeLineTail('$');
        Unexpressed = true;
        return T.MakeNode(opEmpty);
    }
    return nullptr;
  }

  bool Unexpressed = false;

 private:
  // Nesting bound of the lowering's own recursion: a concatenation is walked
  // along its left spine without recursing (x{n} is n copies in a row), so
  // only groups, alternations and optional tails nest this deep.
  static constexpr int kMaxLowerDepth = 4000;

  struct TDeeper {
    explicit TDeeper(int& depth) : Depth(++depth) {}
    ~TDeeper() { --Depth; }
    int& Depth;
  };

  // A run of concatenations, left to right: the first operand keeps the
  // run's start, the last its end; the tree is rebuilt left-deep.
  TParseNode* LowerConcat(int index, bool atStart, bool atEnd) {
    std::vector<int> operands;
    for (; P.Nodes[static_cast<std::size_t>(index)].Op == TPosixOp::Concat;
         index = P.Nodes[static_cast<std::size_t>(index)].Left) {
      operands.push_back(P.Nodes[static_cast<std::size_t>(index)].Right);
      if (++FMade > kMaxPosixExpansion) throw ERegExpParser(std::string(sjis_text::kMsgTooBig), 0);
    }
    operands.push_back(index);
    std::reverse(operands.begin(), operands.end());
    TParseNode* run = Lower(operands.front(), atStart, false);
    for (std::size_t k = 1; k < operands.size(); ++k)
      run = T.MakeNode(opConcat, run, Lower(operands[k], false, atEnd && k + 1 == operands.size()));
    return run;
  }

  const TPosixPattern& P;
  TParseTree& T;
  int FMade = 0;
  int FDepth = 0;
};

}  // namespace

bool NeedsAssertionCheck(const TPosixPattern& pattern) {
  if (!pattern.HasAssertions) return false;
  TParseTree scratch;
  return LowerPosix(pattern, scratch);
}

bool LowerPosix(const TPosixPattern& pattern, TParseTree& tree) {
  TLowering lowering(pattern, tree);
  tree.TopNode = lowering.Lower(pattern.Top, true, true);
  tree.NormalizeLeaves();
  return lowering.Unexpressed;
}
