#include "regexp/posix_lower.h"

#include "regexp/messages.h"
#include "sjis/exceptions.h"

namespace {

class TLowering {
 public:
  TLowering(const TPosixPattern& pattern, TParseTree& tree) : P(pattern), T(tree) {}

  // atStart: the automaton reaches this node from its start state; atEnd:
  // it leaves it for its final state.
  TParseNode* Lower(int index, bool atStart, bool atEnd) {
    if (++FMade > kMaxPosixExpansion) throw ERegExpParser(std::string(sjis_text::kMsgTooBig), 0);
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
        return T.MakeNode(opConcat, Lower(n.Left, atStart, false), Lower(n.Right, false, atEnd));
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
  const TPosixPattern& P;
  TParseTree& T;
  int FMade = 0;
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
