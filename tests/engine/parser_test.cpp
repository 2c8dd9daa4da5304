// The parser: its errors and positions, the shapes of the parse trees it
// builds, and the splitting of character ranges into disjoint pieces.
#include "parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "exceptions.h"
#include "sjis_literals.h"

namespace {

std::string CodeText(TCharCode c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
    return std::string(1, static_cast<char>(c));
  char buf[8];
  std::snprintf(buf, sizeof buf, "x%02X", c);
  return buf;
}

// A compact picture of a (sub)tree: [lo-hi] for a leaf, ^xx / $xx for the
// anchors, C(l,r), U(l,r), S(x) and E for the operator nodes.
std::string Shape(const TParseNode* n) {
  if (n == nullptr) return "null";
  switch (n->Op) {
    case opCharRange:
      return "[" + CodeText(n->Low) + "-" + CodeText(n->High) + "]";
    case opLineHead:
      return "^" + CodeText(n->Low);
    case opLineTail:
      return "$" + CodeText(n->Low);
    case opConcat:
      return "C(" + Shape(n->Left) + "," + Shape(n->Right) + ")";
    case opUnion:
      return "U(" + Shape(n->Left) + "," + Shape(n->Right) + ")";
    case opStar:
      return "S(" + Shape(n->Left) + ")";
    case opEmpty:
      return "E";
  }
  return "?";
}

std::string Leaves(const TParseTree& tree) {
  std::string out;
  for (const TParseNode* leaf : tree.LeafList) out += Shape(leaf);
  return out;
}

std::unique_ptr<TRegExpParser> Parsed(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false) {
  auto parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  parser->IgnoreCase = ignoreCase;
  parser->Parse();
  return parser;
}

std::string TreeOf(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false) {
  return Shape(Parsed(pattern, ignoreCase, dbMeta)->ParseTree->TopNode);
}

// The set of codes that a tree of leaves and unions stands for (a class).
std::vector<bool> CodesOf(const TParseNode* n) {
  std::vector<bool> codes(0x10000, false);
  std::vector<const TParseNode*> todo{n};
  while (!todo.empty()) {
    const TParseNode* x = todo.back();
    todo.pop_back();
    if (x->Op == opCharRange) {
      for (unsigned c = x->Low; c <= x->High; ++c) codes[c] = true;
    } else if (x->Op == opUnion) {
      todo.push_back(x->Left);
      todo.push_back(x->Right);
    } else {
      ADD_FAILURE() << "not a class: " << Shape(x);
    }
  }
  return codes;
}

void CollectReachable(const TParseNode* n, std::set<const TParseNode*>& seen) {
  if (n == nullptr || !seen.insert(n).second) return;
  if (n->Op == opConcat || n->Op == opUnion || n->Op == opStar) {
    CollectReachable(n->Left, seen);
    if (n->Op != opStar) CollectReachable(n->Right, seen);
  }
}

}  // namespace

TEST(Parser, ErrorsAndTheirPositions) {
  struct TCase {
    std::string Pattern;
    std::string Message;
    int Position;
    bool DbMeta = false;
    bool IgnoreCase = false;
  };
  const std::vector<TCase> cases = {
      // A postfix operator without operand, a closing bracket outside a class.
      {"a**", expected::kCharOrLeftParen, 4},
      {"a+?", expected::kCharOrLeftParen, 4},
      {"a?+", expected::kCharOrLeftParen, 4},
      {"*a", expected::kCharOrLeftParen, 2},
      {"a|*", expected::kCharOrLeftParen, 4},
      {"(*)", expected::kCharOrLeftParen, 3},
      {"ab(c|+d)", expected::kCharOrLeftParen, 7},
      {S("＊"), expected::kCharOrLeftParen, 3, true},
      {S("a＊＊"), expected::kCharOrLeftParen, 6, true},
      {"]", expected::kCharOrLeftParen, 2},
      {"[a]]", expected::kCharOrLeftParen, 5},
      {S("a］"), expected::kCharOrLeftParen, 4, true},
      // Unmatched parentheses.
      {"a)b", expected::kExtraCharacters, 3},
      {"(a))", expected::kExtraCharacters, 5},
      {S("）"), expected::kExtraCharacters, 3, true},
      {"(a", expected::kRightParen, 3},
      {"((a)", expected::kRightParen, 5},
      {"(a|b", expected::kRightParen, 5},
      {S("（ａ"), expected::kRightParen, 5, true},
      // Classes without members, also by complement.
      {"[]", expected::kBadCharClass, 3},
      {"[^]", expected::kBadCharClass, 4},
      {"a[]", expected::kBadCharClass, 4},
      {S("［］"), expected::kBadCharClass, 5, true},
      {"[^\\x01-\\xFCFC]", expected::kBadCharClass, 15},
      {"[^\\x00-\\xFFFF]", expected::kBadCharClass, 15},
      {"[^\\x01-\\x09\\x0B\\x0C\\x0E-\\xFCFC]", expected::kBadCharClass, 32},
      {"[^\\x0E-\\xFCFC\\x01-\\x0C]", expected::kBadCharClass, 24},
      // The codes reserved for the line anchors are no characters.
      {"\\xFFFD", expected::kBadRange, 7},
      {"a\\xFFFFb", expected::kBadRange, 8},
      {"\\177777", expected::kBadRange, 8},
      {"\\xFFFE", expected::kBadRange, 7, false, true},
      {"[a\\xFFFF]", expected::kBadRange, 9},
      {"[\\xFFFD-\\xFFFF]", expected::kBadRange, 15},
      {"[^\\xFFFD]", expected::kBadRange, 9},
      // The scanner's errors pass through.
      {"ab\\", expected::kEscapeAtEnd, 4},
      {"[a", expected::kRightBracket, 3},
      {"(a[z-a])", expected::kBadRange, 7},
      {"ab\x82", expected::kBadDoubleByte, 3},
  };
  for (const TCase& c : cases) {
    try {
      Parsed(c.Pattern, c.IgnoreCase, c.DbMeta);
      ADD_FAILURE() << Hex(c.Pattern) << ": no error";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(Hex(e.Message()), Hex(c.Message)) << Hex(c.Pattern);
      EXPECT_EQ(e.Position, c.Position) << Hex(c.Pattern);
    }
  }
  // One code short of everything still leaves a class.
  for (const char* pattern : {"[^\\x01-\\xFCFB]", "[^\\x02-\\xFCFC]", "\\xFFFC"}) EXPECT_NO_THROW(Parsed(pattern));
}

TEST(Parser, TreeShapes) {
  struct TCase {
    std::string Pattern;
    std::string Shape;
    bool IgnoreCase = false;
    bool DbMeta = false;
  };
  const std::vector<TCase> cases = {
      {"", "E"},
      {"(())", "E"},
      {"a|", "U([a-a],E)"},
      {"|a", "U(E,[a-a])"},
      {"()*", "S(E)"},
      {"((a))", "[a-a]"},
      // Alternation and concatenation group to the left; postfix operators.
      {"ab|c", "U(C([a-a],[b-b]),[c-c])"},
      {"abc", "C(C([a-a],[b-b]),[c-c])"},
      {"a|b|c", "U(U([a-a],[b-b]),[c-c])"},
      {"a(bc)", "C([a-a],C([b-b],[c-c]))"},
      {"a(b|)c", "C(C([a-a],U([b-b],E)),[c-c])"},
      {"a?", "U([a-a],E)"},
      {"(ab)*c", "C(S(C([a-a],[b-b])),[c-c])"},
      {"(a*)*", "S(S([a-a]))"},
      {"(ab)+", "C(C([a-a],[b-b]),S(C([a-a],[b-b])))"},
      // Anchors at the ends only; full-width ones only when they count.
      {"^a$", "C(C(^x5E,[a-a]),$x24)"},
      {"a^b", "C(C([a-a],^x5E),[b-b])"},
      {S("＾a＄"), "C(C(^x814F,[a-a]),$x8190)", false, true},
      {S("＾a＄"), "C(C([x814F-x814F],[a-a]),[x8190-x8190])"},
      // The period, classes and their complements.
      {".", "U(U([x01-x09],[x0B-x0C]),[x0E-xFCFC])"},
      {S("．"), "U(U([x01-x09],[x0B-x0C]),[x0E-xFCFC])", false, true},
      {"[abc]", "U(U([a-a],[b-b]),[c-c])"},
      {"[a-cx]", "U([a-c],[x-x])"},
      {"[\\]a]", "U([x5D-x5D],[a-a])"},
      {"[^a]", "U(U(U([x0B-x0C],[x01-x09]),[x0E-x60]),[b-xFCFC])"},
      {"[^\\x0B\\x0C]", "U([x01-x09],[x0E-xFCFC])"},
      {"[^\\n]", "U(U([x0B-x0C],[x01-x09]),[x0E-xFCFC])"},
      {"[^a-cb-d]", "U(U(U([x0B-x0C],[x01-x09]),[x0E-x60]),[e-xFCFC])"},
      {S("[^あ]"), "U(U(U([x0B-x0C],[x01-x09]),[x0E-x829F]),[x82A1-xFCFC])"},
      {"[^\\x05-\\x10]", "U([x01-x04],[x11-xFCFC])"},
      // Ordinary letters fold, nothing else does (not between brackets).
      {"a", "U([A-A],[a-a])", true},
      {"\\x41", "U([A-A],[a-a])", true},
      {"\\101", "U([A-A],[a-a])", true},
      {"z", "U([Z-Z],[z-z])", true},
      {"[a-z]", "[a-z]", true},
      {"[^a]", "U(U(U([x0B-x0C],[x01-x09]),[x0E-x60]),[b-xFCFC])", true},
      {S("ａ"), "[x8281-x8281]", true},
      {"1", "[1-1]", true},
      {"\\@\\[\\`\\{", "C(C(C([x40-x40],[x5B-x5B]),[x60-x60]),[x7B-x7B])", true},
      {"aA", "C(U([A-A],[a-a]),U([A-A],[a-a]))", true},
      // Overlapping ranges split into disjoint pieces.
      {"[a-z]|[m-p]", "U(U(U([a-l],[m-p]),[q-z]),[m-p])"},
      {"[a-m]|[h-z]", "U(U([a-g],[h-m]),U([h-m],[n-z]))"},
      {"[\\x0-\\x5]|[\\x0-\\x3]", "U(U([x00-x03],[x04-x05]),[x00-x03])"},
      {"[a-z]|[m-z]", "U(U([a-l],[m-z]),[m-z])"},
      {"[a-c]|[a-z]", "U([a-c],U([a-c],[d-z]))"},
      {"[\\xFFF0-\\xFFFF]", "[xFFF0-xFFFC]"},
      {".a", "C(U(U([x01-x09],[x0B-x0C]),U(U([x0E-x60],[a-a]),[b-xFCFC])),[a-a])"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TreeOf(c.Pattern, c.IgnoreCase, c.DbMeta), c.Shape) << Hex(c.Pattern) << (c.IgnoreCase ? " (case)" : "");
}

TEST(Parser, LeavesAndNodesAreShared) {
  // "+" references its operand twice; equal ranges are one leaf; a split
  // leaf keeps its identity as a union recorded among the nodes.
  auto plus = Parsed("(ab)+");
  const TParseNode* top = plus->ParseTree->TopNode;
  EXPECT_EQ(top->Left, top->Right->Left);
  EXPECT_EQ(plus->ParseTree->LeafList.size(), 2u);
  auto same = Parsed("[a-c]x[a-c]");
  EXPECT_EQ(same->ParseTree->TopNode->Left->Left, same->ParseTree->TopNode->Right);
  auto inner = Parsed("[a-z]|[m-p]");
  EXPECT_EQ(inner->ParseTree->TopNode->Left->Left->Right, inner->ParseTree->TopNode->Right);
  EXPECT_EQ(Leaves(*inner->ParseTree), "[m-p][a-l][q-z]");
  const auto& nodes = inner->ParseTree->NodeList;
  EXPECT_EQ(std::count(nodes.begin(), nodes.end(), inner->ParseTree->TopNode->Left), 1);
  auto complement = Parsed("[^a]|[\\x0B-\\x0C]");
  EXPECT_EQ(complement->ParseTree->TopNode->Left->Left->Left->Left, complement->ParseTree->TopNode->Right);
  auto folded = Parsed("aA", true);
  EXPECT_EQ(folded->ParseTree->LeafList.size(), 2u);
  EXPECT_EQ(Leaves(*Parsed("[\\xFF00-\\xFFFF]|[\\xFFF0-\\xFFFF]")->ParseTree), "[xFFF0-xFFFC][xFF00-xFFEF]");
}

TEST(Parser, LeavesArePairwiseDisjointForRandomPatterns) {
  // Random unions of classes, ranges, single characters, periods and negated
  // classes: after parsing no two leaves overlap or repeat, every leaf that
  // the tree reaches is a current leaf, and each alternative still stands for
  // exactly the codes that were written.
  std::mt19937 rng(2024);
  const std::vector<TCharCode> points = {0x00, 0x01, 0x09, 0x0A, 0x0B, 0x0D,   0x0E,   0x41,   0x5A,   0x61,   0x62,
                                         0x7A, 0x7F, 0x80, 0xA0, 0xDF, 0x8140, 0x82A0, 0x82F1, 0x889F, 0xFCFC, 0xFFFC};
  auto hex = [](TCharCode c) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "\\x%04X", c);
    return std::string(buf);
  };
  for (int round = 0; round < 250; ++round) {
    std::string pattern;
    std::vector<std::vector<bool>> wanted;
    const int alternatives = 1 + static_cast<int>(rng() % 6);
    for (int a = 0; a < alternatives; ++a) {
      if (a > 0) pattern += "|";
      std::vector<bool> codes(0x10000, false);
      const int kind = static_cast<int>(rng() % 4);
      if (kind == 0) {
        pattern += ".";
        for (unsigned c = 1; c <= 0xFCFC; ++c) codes[c] = c != 0x0A && c != 0x0D;
      } else {
        const bool negated = kind == 1;
        std::vector<bool> members(0x10000, false);
        pattern += negated ? "[^" : "[";
        const int items = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < items; ++i) {
          TCharCode lo = points[rng() % points.size()];
          TCharCode hi = points[rng() % points.size()];
          if (lo > hi) std::swap(lo, hi);
          if (rng() % 3 == 0) hi = lo;
          pattern += lo == hi ? hex(lo) : hex(lo) + "-" + hex(hi);
          for (unsigned c = lo; c <= hi; ++c) members[c] = true;
        }
        pattern += "]";
        for (unsigned c = 0; c < 0x10000; ++c)
          codes[c] = negated ? (c >= 1 && c <= 0xFCFC && c != 0x0A && c != 0x0D && !members[c]) : members[c];
        if (negated && std::find(codes.begin(), codes.end(), true) == codes.end()) {
          // An empty complement is an error; write a plain class instead.
          pattern.erase(pattern.rfind('['));
          pattern += "a";
          codes.assign(0x10000, false);
          codes['a'] = true;
        }
      }
      wanted.push_back(std::move(codes));
    }
    SCOPED_TRACE(pattern);
    std::unique_ptr<TRegExpParser> p;
    ASSERT_NO_THROW(p = Parsed(pattern));
    const auto& leaves = p->ParseTree->LeafList;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
      ASSERT_EQ(leaves[i]->Op, opCharRange);
      ASSERT_LE(leaves[i]->Low, leaves[i]->High);
      for (std::size_t j = i + 1; j < leaves.size(); ++j)
        EXPECT_TRUE(leaves[i]->High < leaves[j]->Low || leaves[j]->High < leaves[i]->Low)
            << Shape(leaves[i]) << " overlaps " << Shape(leaves[j]);
    }
    std::set<const TParseNode*> reachable;
    CollectReachable(p->ParseTree->TopNode, reachable);
    for (const TParseNode* n : reachable) {
      if (n->Op == opCharRange) {
        EXPECT_NE(std::find(leaves.begin(), leaves.end(), n), leaves.end()) << "stale leaf " << Shape(n);
      }
    }
    // Each alternative, from the right: Union(Union(x1, x2), x3) ...
    const TParseNode* rest = p->ParseTree->TopNode;
    for (int a = alternatives - 1; a >= 0; --a) {
      const TParseNode* alt = a == 0 ? rest : rest->Right;
      EXPECT_TRUE(CodesOf(alt) == wanted[static_cast<std::size_t>(a)]) << "alternative " << a;
      if (a > 0) rest = rest->Left;
    }
  }
}

TEST(Parser, TreeOperations) {
  TParseTree tree;
  TParseNode* whole = tree.MakeLeaf(1, 5);
  EXPECT_EQ(tree.MakeLeaf(1, 5), whole);
  TParseNode* low = tree.MakeLeaf(1, 2);
  TParseNode* high = tree.MakeLeaf(3, 5);
  for (auto [a, b] :
       {std::pair{low, static_cast<TParseNode*>(nullptr)}, std::pair{static_cast<TParseNode*>(nullptr), high}}) {
    try {
      tree.ReplaceLeaf(whole, a, b);
      ADD_FAILURE() << "no error";
    } catch (const ERegExpParser&) {
      ADD_FAILURE() << "raised as a pattern error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), S("TParseTree : 致命的エラー"));
    }
  }
  tree.ReplaceLeaf(whole, low, high);
  EXPECT_EQ(Shape(whole), "U([x01-x02],[x03-x05])");
  EXPECT_EQ(Leaves(tree), "[x01-x02][x03-x05]");
  EXPECT_NE(tree.MakeLeaf(1, 5), whole) << "a new leaf for the range of the former one";
  TParseTree period;
  period.MakeAnyChar();
  period.SubtractRange(0x0B, 0x0B);
  EXPECT_EQ(Leaves(period), "[x01-x09][x0E-xFCFC][x0C-x0C]") << "remnants are appended at the end";
  period.Clear();
  EXPECT_EQ(period.TopNode, nullptr);
  EXPECT_TRUE(period.LeafList.empty());
}

namespace {

// A tree whose period is only the letter x and whose folding maps every
// character to the letter y.
class TNarrowTree : public TParseTree {
 public:
  TParseNode* MakeAnyChar() override { return MakeLeaf('x', 'x'); }
  TParseNode* MakeCaseFoldChar(TCharCode) override { return MakeLeaf('y', 'y'); }
};

}  // namespace

TEST(Parser, PeriodAndFoldingGoThroughTheTreesVirtualOperations) {
  TRegExpParser parser(".a", false);
  parser.ParseTree = std::make_unique<TNarrowTree>();
  parser.IgnoreCase = true;
  parser.Parse();
  EXPECT_EQ(Shape(parser.ParseTree->TopNode), "C([x-x],[y-y])");
}
