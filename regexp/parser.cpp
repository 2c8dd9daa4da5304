// "+" and "?" are expanded on the way (x+ is x followed by x*, sharing x;
// x? is x or empty), ASCII letters are case-folded when asked, and a negated
// class becomes the complement of its members within the set of the period.
// Equal ranges share one leaf.  As its last step the parser splits all leaf
// ranges into pairwise disjoint pieces (NormalizeLeaves): a leaf that overlaps
// another is turned, in place, into a union of its pieces, so every node that
// referred to it now refers to the union.  The automaton construction can then
// label each transition with one range and group moves by identical label.
#include "regexp/parser.h"

#include <algorithm>

#include "regexp/messages.h"
#include "sjis/exceptions.h"

namespace {

std::uint32_t LeafKey(TCharCode low, TCharCode high) { return static_cast<std::uint32_t>(high) << 16 | low; }

bool IsAsciiLetter(TCharCode c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// How many pair tests NormalizeLeaves may make before the pattern counts as
// too complex to compile.  Ordinary patterns need a few thousand.
constexpr std::size_t kNormalizeBudget = 30'000'000;

}  // namespace

// ---------------------------------------------------------------------------
// TParseTree

TParseTree::~TParseTree() { Clear(); }

TParseNode* TParseTree::NewNode() {
  FOwned.push_back(std::make_unique<TParseNode>());
  return FOwned.back().get();
}

TParseNode* TParseTree::MakeNode(TOp op, TParseNode* left, TParseNode* right) {
  TParseNode* node = NewNode();
  node->Op = op;
  node->Left = left;
  node->Right = right;
  NodeList.push_back(node);
  return node;
}

TParseNode* TParseTree::MakeLeaf(TCharCode low, TCharCode high) {
  const auto key = LeafKey(low, high);
  if (auto found = FLeafIndex.find(key); found != FLeafIndex.end()) return found->second;
  TParseNode* leaf = NewNode();
  leaf->Op = opCharRange;
  leaf->Low = low;
  leaf->High = high;
  LeafList.push_back(leaf);
  FLeafIndex.emplace(key, leaf);
  return leaf;
}

TParseNode* TParseTree::MakeLineHead(TCharCode code) {
  TParseNode* node = MakeNode(opLineHead);
  node->Low = node->High = code;
  return node;
}

TParseNode* TParseTree::MakeLineTail(TCharCode code) {
  TParseNode* node = MakeNode(opLineTail);
  node->Low = node->High = code;
  return node;
}

TParseNode* TParseTree::MakeAnyChar() {
  TParseNode* vtFf = MakeLeaf(0x0B, 0x0C);
  TParseNode* controls = MakeLeaf(0x01, 0x09);
  TParseNode* low = MakeNode(opUnion, controls, vtFf);
  TParseNode* rest = MakeLeaf(0x0E, 0xFCFC);
  return MakeNode(opUnion, low, rest);
}

TParseNode* TParseTree::MakeCaseFoldChar(TCharCode code) {
  if (!IsAsciiLetter(code)) return MakeLeaf(code, code);
  const TCharCode lower = code | 0x20;
  const TCharCode upper = code & ~0x20;
  TParseNode* lowerLeaf = MakeLeaf(lower, lower);
  TParseNode* upperLeaf = MakeLeaf(upper, upper);
  return MakeNode(opUnion, upperLeaf, lowerLeaf);
}

bool IsCasePair(const TParseNode* n) {
  if (n->Op != opUnion || n->Left->Op != opCharRange || n->Right->Op != opCharRange) return false;
  const TCharCode a = n->Left->Low;
  const TCharCode b = n->Right->Low;
  return n->Left->High == a && n->Right->High == b && IsAsciiLetter(a) && (a ^ b) == 0x20;
}

void TParseTree::RemoveLeaf(std::size_t index) {
  FLeafIndex.erase(LeafKey(LeafList[index]->Low, LeafList[index]->High));
  LeafList.erase(LeafList.begin() + static_cast<std::ptrdiff_t>(index));
}

void TParseTree::ReplaceLeaf(TParseNode* leaf, TParseNode* a, TParseNode* b) {
  if (a == nullptr || b == nullptr) throw Exception(std::string(sjis_text::kMsgTreeFatal));
  const auto at = std::find(LeafList.begin(), LeafList.end(), leaf);
  if (at != LeafList.end()) RemoveLeaf(static_cast<std::size_t>(at - LeafList.begin()));
  leaf->Op = opUnion;
  leaf->Left = a;
  leaf->Right = b;
  NodeList.push_back(leaf);
}

bool TParseTree::SplitOverlap(TParseNode* a, TParseNode* b) {
  TParseNode* x = a->Low <= b->Low ? a : b;
  TParseNode* y = x == a ? b : a;
  if (y->Low > x->High) return false;
  if (x->Low == y->Low && x->High == y->High) return false;
  const TCharCode m = std::min(x->High, y->High);
  const TCharCode bigM = std::max(x->High, y->High);
  const bool hasBelow = x->Low < y->Low;
  const bool hasAbove = m < bigM;
  TParseNode* below = hasBelow ? MakeLeaf(x->Low, y->Low - 1) : nullptr;
  TParseNode* common = MakeLeaf(y->Low, m);
  TParseNode* above = hasAbove ? MakeLeaf(m + 1, bigM) : nullptr;
  if (!hasBelow) {
    TParseNode* longer = x->High > y->High ? x : y;
    ReplaceLeaf(longer, common, above);
  } else if (!hasAbove) {
    ReplaceLeaf(x, below, common);
  } else if (y->High < x->High) {
    ReplaceLeaf(x, MakeNode(opUnion, below, common), above);
  } else {
    ReplaceLeaf(x, below, common);
    ReplaceLeaf(y, common, above);
  }
  return true;
}

void TParseTree::NormalizeLeaves() {
  std::size_t budget = kNormalizeBudget;
  std::size_t i = 0;
  while (i < LeafList.size()) {
    bool split = false;
    for (std::size_t j = i + 1; j < LeafList.size(); ++j) {
      if (budget-- == 0) throw ERegExpParser(std::string(sjis_text::kMsgTooComplex), 0);
      if (SplitOverlap(LeafList[j], LeafList[i])) {
        split = true;
        break;
      }
    }
    if (!split) ++i;
  }
}

void TParseTree::SubtractRange(TCharCode low, TCharCode high) {
  std::size_t i = 0;
  while (i < LeafList.size()) {
    TParseNode* piece = LeafList[i];
    if (piece->High < low || piece->Low > high) {
      ++i;
      continue;
    }
    const TCharCode pLow = piece->Low;
    const TCharCode pHigh = piece->High;
    RemoveLeaf(i);
    if (pLow < low) MakeLeaf(pLow, low - 1);
    if (high < pHigh) MakeLeaf(high + 1, pHigh);
  }
}

void TParseTree::Clear() {
  TopNode = nullptr;
  NodeList.clear();
  LeafList.clear();
  FLeafIndex.clear();
  FOwned.clear();
}

// ---------------------------------------------------------------------------
// TRegExpParser

TRegExpParser::TRegExpParser(const std::string& pattern, bool acceptDBMeta)
    : ParseTree(std::make_unique<TParseTree>()), Scanner(std::make_unique<TScanner>(pattern, acceptDBMeta)) {}

TRegExpParser::~TRegExpParser() {
  Scanner.reset();
  ParseTree.reset();
}

void TRegExpParser::Consume() { Scanner->GetToken(); }

void TRegExpParser::Fail(std::string_view message) const {
  throw ERegExpParser(std::string(message), static_cast<std::uint16_t>(Scanner->Position));
}

void TRegExpParser::Parse() {
  try {
    Consume();
    ParseTree->TopNode = ParseExpression();
    if (Scanner->Token != tokEnd) Fail(sjis_text::kMsgExtraCharacters);
    ParseTree->NormalizeLeaves();
  } catch (const ERegExpParser& e) {
    if (e.Message() != sjis_text::kMsgTooComplex) throw;
    // Complexity is a property of the whole pattern: report its end.
    throw ERegExpParser(e.Message(), static_cast<std::uint16_t>(Scanner->Pattern.size() + 1));
  }
}

TParseNode* TRegExpParser::ParseExpression() {
  TParseNode* e = ParseTerm();
  while (Scanner->Token == tokUnion) {
    Consume();
    TParseNode* t = ParseTerm();
    e = ParseTree->MakeNode(opUnion, e, t);
  }
  return e;
}

TParseNode* TRegExpParser::ParseTerm() {
  const auto endsTerm = [this] {
    const TToken t = Scanner->Token;
    return t == tokUnion || t == tokRPar || t == tokEnd;
  };
  if (endsTerm()) return ParseTree->MakeNode(opEmpty);
  TParseNode* t = ParseFactor();
  while (!endsTerm()) {
    TParseNode* f = ParseFactor();
    t = ParseTree->MakeNode(opConcat, t, f);
  }
  return t;
}

TParseNode* TRegExpParser::ParseFactor() {
  TParseNode* p = ParsePrimary();
  switch (Scanner->Token) {
    case tokStar:
      Consume();
      return ParseTree->MakeNode(opStar, p);
    case tokPlus: {
      Consume();
      TParseNode* star = ParseTree->MakeNode(opStar, p);
      return ParseTree->MakeNode(opConcat, p, star);
    }
    case tokQMark: {
      Consume();
      TParseNode* empty = ParseTree->MakeNode(opEmpty);
      return ParseTree->MakeNode(opUnion, p, empty);
    }
    default:
      return p;
  }
}

TParseNode* TRegExpParser::MakeCharLeaf(TParseTree& tree, TCharCode low, TCharCode high) {
  if (low > kHighestPatternCode) Fail(sjis_text::kMsgBadRange);
  return tree.MakeLeaf(low, std::min(high, kHighestPatternCode));
}

TParseNode* TRegExpParser::ParsePrimary() {
  TParseNode* result = nullptr;
  switch (Scanner->Token) {
    case tokChar: {
      const TCharCode code = Scanner->Code;
      if (code > kHighestPatternCode) Fail(sjis_text::kMsgBadRange);
      result = IgnoreCase ? ParseTree->MakeCaseFoldChar(code) : ParseTree->MakeLeaf(code, code);
      break;
    }
    case tokLPar:
      if (++FDepth > kMaxNesting) throw ERegExpParser(std::string(sjis_text::kMsgTooComplex), 0);
      Consume();
      result = ParseExpression();
      if (Scanner->Token != tokRPar) Fail(sjis_text::kMsgRightParen);
      --FDepth;
      break;
    case tokLBra:
      result = ParseCharClass(*ParseTree);
      break;
    case tokNegLBra:
      result = ParseNegCharClass();
      break;
    case tokDot:
      result = ParseTree->MakeAnyChar();
      break;
    case tokLHead:
      result = ParseTree->MakeLineHead(Scanner->Code);
      break;
    case tokLTail:
      result = ParseTree->MakeLineTail(Scanner->Code);
      break;
    default:
      Fail(sjis_text::kMsgCharOrLeftParen);
  }
  Consume();
  return result;
}

TParseNode* TRegExpParser::ParseCharClass(TParseTree& tree) {
  const auto item = [&]() {
    const TCharCode high = Scanner->Token == tokRange ? Scanner->CodeTo : Scanner->Code;
    return MakeCharLeaf(tree, Scanner->Code, high);
  };
  if (Scanner->GetClassToken() == tokRBra) Fail(sjis_text::kMsgBadCharClass);
  TParseNode* r = item();
  while (Scanner->GetClassToken() != tokRBra) r = tree.MakeNode(opUnion, r, item());
  return r;
}

TParseNode* TRegExpParser::ParseNegCharClass() {
  TParseTree members;
  members.TopNode = ParseCharClass(members);
  members.NormalizeLeaves();
  TParseTree complement;
  complement.MakeAnyChar();
  for (const TParseNode* leaf : members.LeafList) complement.SubtractRange(leaf->Low, leaf->High);
  // A class whose members cover every character matches nothing; it is
  // rejected like a class without members.
  if (complement.LeafList.empty()) Fail(sjis_text::kMsgBadCharClass);
  TParseNode* result = nullptr;
  for (const TParseNode* piece : complement.LeafList) {
    TParseNode* leaf = ParseTree->MakeLeaf(piece->Low, piece->High);
    result = result == nullptr ? leaf : ParseTree->MakeNode(opUnion, result, leaf);
  }
  return result;
}
