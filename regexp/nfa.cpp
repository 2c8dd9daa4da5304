// States are numbered in order of creation; state 0 is the start and state 1
// the only accepting state.  Every transition carries a label, an inclusive
// range of character codes.  Two special labels exist: the empty move
// (Low = 0xFFFF) and the line codes that an anchoring "^" or "$" becomes.
// A "^" anchors only where the construction reaches it from the start state
// (it begins the pattern), a "$" only where it leads into the final state (it
// ends the pattern); anywhere else each matches its own character.
#include "regexp/nfa.h"

#include "regexp/messages.h"
#include "sjis/exceptions.h"

TNFA::TNFA(TRegExpParser* parser) : Parser(parser) {}

void TNFA::Build() {
  StartIndex = NewState();
  FinalIndex = NewState();
  GenerateStateList(Parser->ParseTree->TopNode, StartIndex, FinalIndex);
}

int TNFA::NewState() {
  if (StateCount() >= kMaxStates)
    throw ERegExpParser(std::string(sjis_text::kMsgTooComplex),
                        static_cast<std::uint16_t>(Parser->Scanner->Pattern.size() + 1));
  StateList.emplace_back();
  return StateCount() - 1;
}

void TNFA::AddTransition(int from, int to, TCharCode low, TCharCode high) {
  auto& list = StateList[static_cast<std::size_t>(from)];
  list.insert(list.begin(), TNFATransition{low, high, to});
}

void TNFA::GenerateStateList(const TParseNode* node, int from, int to) {
  switch (node->Op) {
    case opCharRange:
      AddTransition(from, to, node->Low, node->High);
      break;
    case opLineHead:
      if (from == StartIndex) {
        BeginAnchored = true;
        AddTransition(from, to, LineHeadCode, LineHeadCode);
      } else {
        AddTransition(from, to, node->Low, node->High);
      }
      break;
    case opLineTail:
      if (to == FinalIndex) {
        EndAnchored = true;
        AddTransition(from, to, LineTailCode, LineTailCode);
      } else {
        AddTransition(from, to, node->Low, node->High);
      }
      break;
    case opConcat:
      GenerateConcat(node, from, to);
      break;
    case opUnion:
      GenerateUnion(node, from, to);
      break;
    case opStar: {
      const int a = NewState();
      const int b = NewState();
      AddTransition(from, a, kEpsilonCode, kEpsilonCode);
      GenerateStateList(node->Left, a, b);
      AddTransition(b, a, kEpsilonCode, kEpsilonCode);
      AddTransition(a, to, kEpsilonCode, kEpsilonCode);
      break;
    }
    case opEmpty:
      AddTransition(from, to, kEpsilonCode, kEpsilonCode);
      break;
    default:
      throw Exception(std::string(sjis_text::kMsgCannotHappen));
  }
}

// Concatenations group to the left, so a long pattern is a long left spine.
// The spine is walked in a loop instead of by recursion; states and
// transitions come out exactly as the recursive construction makes them:
// each node's middle state first, then the leftmost operand, then the right
// operands from the innermost node outward.
void TNFA::GenerateConcat(const TParseNode* node, int from, int to) {
  std::vector<const TParseNode*> spine;
  std::vector<int> middle;
  for (const TParseNode* n = node; n->Op == opConcat; n = n->Left) {
    spine.push_back(n);
    middle.push_back(NewState());
  }
  GenerateStateList(spine.back()->Left, from, middle.back());
  for (std::size_t i = spine.size(); i-- > 0;) {
    const int target = i == 0 ? to : middle[i - 1];
    GenerateStateList(spine[i]->Right, middle[i], target);
  }
}

// Alternatives group to the left too: the leftmost alternative first, then
// the others in the order written.
void TNFA::GenerateUnion(const TParseNode* node, int from, int to) {
  std::vector<const TParseNode*> spine;
  for (const TParseNode* n = node; n->Op == opUnion; n = n->Left) spine.push_back(n);
  GenerateStateList(spine.back()->Left, from, to);
  for (std::size_t i = spine.size(); i-- > 0;) GenerateStateList(spine[i]->Right, from, to);
}
