// The parser and the shapes of the parse trees it builds, including the
// splitting of character ranges into disjoint pieces.
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

::testing::AssertionResult ParseFails(const std::string& pattern, const std::string& message, int position,
                                      bool dbMeta = false, bool ignoreCase = false) {
  try {
    Parsed(pattern, ignoreCase, dbMeta);
  } catch (const ERegExpParser& e) {
    if (e.Message() == message && e.Position == position) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Hex(pattern) << ": raised \"" << Hex(e.Message()) << "\" at " << e.Position
                                         << ", expected \"" << Hex(message) << "\" at " << position;
  }
  return ::testing::AssertionFailure() << Hex(pattern) << ": no error";
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

// ---------------------------------------------------------------------------
// Errors

TEST(ParserErrors, PostfixOperatorWithoutOperand) {
  EXPECT_TRUE(ParseFails("a**", expected::kCharOrLeftParen, 4));
  EXPECT_TRUE(ParseFails("a+?", expected::kCharOrLeftParen, 4));
  EXPECT_TRUE(ParseFails("a?+", expected::kCharOrLeftParen, 4));
  EXPECT_TRUE(ParseFails("*a", expected::kCharOrLeftParen, 2));
  EXPECT_TRUE(ParseFails("+", expected::kCharOrLeftParen, 2));
  EXPECT_TRUE(ParseFails("?", expected::kCharOrLeftParen, 2));
  EXPECT_TRUE(ParseFails("a|*", expected::kCharOrLeftParen, 4));
  EXPECT_TRUE(ParseFails("(*)", expected::kCharOrLeftParen, 3));
  EXPECT_TRUE(ParseFails("ab(c|+d)", expected::kCharOrLeftParen, 7));
  EXPECT_TRUE(ParseFails(S("＊"), expected::kCharOrLeftParen, 3, true));
  EXPECT_TRUE(ParseFails(S("a＊＊"), expected::kCharOrLeftParen, 6, true));
}

TEST(ParserErrors, ClosingBracketOutsideClass) {
  EXPECT_TRUE(ParseFails("]", expected::kCharOrLeftParen, 2));
  EXPECT_TRUE(ParseFails("ab]", expected::kCharOrLeftParen, 4));
  EXPECT_TRUE(ParseFails("[a]]", expected::kCharOrLeftParen, 5));
  EXPECT_TRUE(ParseFails(S("a］"), expected::kCharOrLeftParen, 4, true));
}

TEST(ParserErrors, UnmatchedRightParenthesis) {
  EXPECT_TRUE(ParseFails("a)b", expected::kExtraCharacters, 3));
  EXPECT_TRUE(ParseFails(")", expected::kExtraCharacters, 2));
  EXPECT_TRUE(ParseFails("(a))", expected::kExtraCharacters, 5));
  EXPECT_TRUE(ParseFails("a|b)", expected::kExtraCharacters, 5));
  EXPECT_TRUE(ParseFails(S("）"), expected::kExtraCharacters, 3, true));
}

TEST(ParserErrors, UnclosedGroup) {
  EXPECT_TRUE(ParseFails("(a", expected::kRightParen, 3));
  EXPECT_TRUE(ParseFails("(", expected::kRightParen, 2));
  EXPECT_TRUE(ParseFails("((a)", expected::kRightParen, 5));
  EXPECT_TRUE(ParseFails("(a|b", expected::kRightParen, 5));
  EXPECT_TRUE(ParseFails(S("（ａ"), expected::kRightParen, 5, true));
}

TEST(ParserErrors, ClassWithoutMembers) {
  EXPECT_TRUE(ParseFails("[]", expected::kBadCharClass, 3));
  EXPECT_TRUE(ParseFails("[^]", expected::kBadCharClass, 4));
  EXPECT_TRUE(ParseFails("[]a]", expected::kBadCharClass, 3));
  EXPECT_TRUE(ParseFails("a[]", expected::kBadCharClass, 4));
  EXPECT_TRUE(ParseFails(S("［］"), expected::kBadCharClass, 5, true));
}

TEST(ParserErrors, NegatedClassWithEmptyComplement) {
  EXPECT_TRUE(ParseFails("[^\\x01-\\xFCFC]", expected::kBadCharClass, 15));
  EXPECT_TRUE(ParseFails("[^\\x01-\\xFCFC]x", expected::kBadCharClass, 15));
  EXPECT_TRUE(ParseFails("[^\\x00-\\xFFFF]", expected::kBadCharClass, 15));
  EXPECT_TRUE(ParseFails("[^\\x01-\\x09\\x0B\\x0C\\x0E-\\xFCFC]", expected::kBadCharClass, 32));
  EXPECT_TRUE(ParseFails("[^\\x0E-\\xFCFC\\x01-\\x0C]", expected::kBadCharClass, 24));
  // One code short of everything still leaves a class.
  EXPECT_NO_THROW(Parsed("[^\\x01-\\xFCFB]"));
  EXPECT_NO_THROW(Parsed("[^\\x02-\\xFCFC]"));
}

TEST(ParserErrors, ReservedCodesAreRejectedAsCharacters) {
  EXPECT_TRUE(ParseFails("\\xFFFD", expected::kBadRange, 7));
  EXPECT_TRUE(ParseFails("\\xFFFE", expected::kBadRange, 7));
  EXPECT_TRUE(ParseFails("a\\xFFFFb", expected::kBadRange, 8));
  EXPECT_TRUE(ParseFails("\\177777", expected::kBadRange, 8));
  EXPECT_TRUE(ParseFails("\\xFFFD", expected::kBadRange, 7, false, true));
  EXPECT_TRUE(ParseFails("[\\xFFFE]", expected::kBadRange, 8));
  EXPECT_TRUE(ParseFails("[a\\xFFFF]", expected::kBadRange, 9));
  EXPECT_TRUE(ParseFails("[\\xFFFD-\\xFFFF]", expected::kBadRange, 15));
  EXPECT_TRUE(ParseFails("[^\\xFFFD]", expected::kBadRange, 9));
  EXPECT_NO_THROW(Parsed("\\xFFFC"));
}

TEST(ParserErrors, ScannerErrorsPassThrough) {
  EXPECT_TRUE(ParseFails("ab\\", expected::kEscapeAtEnd, 4));
  EXPECT_TRUE(ParseFails("[a", expected::kRightBracket, 3));
  EXPECT_TRUE(ParseFails("(a[z-a])", expected::kBadRange, 7));
  EXPECT_TRUE(ParseFails("ab\x82", expected::kBadDoubleByte, 3));
}

TEST(ParserErrors, ErrorsAreParserExceptionsDerivedFromTheGeneralType) {
  TRegExpParser parser("(", false);
  try {
    parser.Parse();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const ERegExpParser*>(&e), nullptr);
  }
}

// ---------------------------------------------------------------------------
// Shapes

TEST(TreeShapes, EmptyPatterns) {
  EXPECT_EQ(TreeOf(""), "E");
  EXPECT_EQ(TreeOf("()"), "E");
  EXPECT_EQ(TreeOf("(())"), "E");
  EXPECT_EQ(TreeOf("a|"), "U([a-a],E)");
  EXPECT_EQ(TreeOf("|a"), "U(E,[a-a])");
  EXPECT_EQ(TreeOf("|"), "U(E,E)");
  EXPECT_EQ(TreeOf("()*"), "S(E)");
}

TEST(TreeShapes, AlternationAndConcatenationGroupToTheLeft) {
  EXPECT_EQ(TreeOf("ab|c"), "U(C([a-a],[b-b]),[c-c])");
  EXPECT_EQ(TreeOf("abc"), "C(C([a-a],[b-b]),[c-c])");
  EXPECT_EQ(TreeOf("a|b|c"), "U(U([a-a],[b-b]),[c-c])");
  EXPECT_EQ(TreeOf("a(bc)"), "C([a-a],C([b-b],[c-c]))");
  EXPECT_EQ(TreeOf("a|(b|c)"), "U([a-a],U([b-b],[c-c]))");
  EXPECT_EQ(TreeOf("a(b|)c"), "C(C([a-a],U([b-b],E)),[c-c])");
}

TEST(TreeShapes, PostfixOperators) {
  EXPECT_EQ(TreeOf("a*"), "S([a-a])");
  EXPECT_EQ(TreeOf("a?"), "U([a-a],E)");
  EXPECT_EQ(TreeOf("ab*"), "C([a-a],S([b-b]))");
  EXPECT_EQ(TreeOf("(ab)*c"), "C(S(C([a-a],[b-b])),[c-c])");
  EXPECT_EQ(TreeOf("(a*)*"), "S(S([a-a]))");
}

TEST(TreeShapes, PlusSharesItsOperand) {
  auto p = Parsed("a+");
  const TParseNode* top = p->ParseTree->TopNode;
  EXPECT_EQ(Shape(top), "C([a-a],S([a-a]))");
  EXPECT_EQ(top->Left, top->Right->Left) << "one leaf referenced twice";
  EXPECT_EQ(p->ParseTree->LeafList.size(), 1u);

  auto q = Parsed("(ab)+");
  const TParseNode* qtop = q->ParseTree->TopNode;
  EXPECT_EQ(Shape(qtop), "C(C([a-a],[b-b]),S(C([a-a],[b-b])))");
  EXPECT_EQ(qtop->Left, qtop->Right->Left) << "the whole concatenation is shared";
  EXPECT_EQ(qtop->Left->Op, opConcat);
}

TEST(TreeShapes, PlusMakesTheStarFirstAndQuestionMarkTheEmptyFirst) {
  auto p = Parsed("a+");
  const auto& nodes = p->ParseTree->NodeList;
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_EQ(nodes[0]->Op, opStar);
  EXPECT_EQ(nodes[1]->Op, opConcat);
  auto q = Parsed("a?");
  ASSERT_EQ(q->ParseTree->NodeList.size(), 2u);
  EXPECT_EQ(q->ParseTree->NodeList[0]->Op, opEmpty);
  EXPECT_EQ(q->ParseTree->NodeList[1]->Op, opUnion);
}

TEST(TreeShapes, EqualRangesShareOneLeaf) {
  auto p = Parsed("aa");
  const TParseNode* top = p->ParseTree->TopNode;
  EXPECT_EQ(Shape(top), "C([a-a],[a-a])");
  EXPECT_EQ(top->Left, top->Right);
  ASSERT_EQ(p->ParseTree->LeafList.size(), 1u);
  EXPECT_EQ(p->ParseTree->LeafList[0]->Low, 0x61);
  EXPECT_EQ(p->ParseTree->LeafList[0]->High, 0x61);
  auto q = Parsed("[a-c]x[a-c]");
  EXPECT_EQ(q->ParseTree->TopNode->Left->Left, q->ParseTree->TopNode->Right);
}

TEST(TreeShapes, GroupsAddNoNode) {
  auto p = Parsed("((a))");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "[a-a]");
  EXPECT_TRUE(p->ParseTree->NodeList.empty());
}

TEST(TreeShapes, Anchors) {
  EXPECT_EQ(TreeOf("^a$"), "C(C(^x5E,[a-a]),$x24)");
  EXPECT_EQ(TreeOf("a^b"), "C(C([a-a],^x5E),[b-b])");
  EXPECT_EQ(TreeOf(S("＾a＄"), false, true), "C(C(^x814F,[a-a]),$x8190)");
  EXPECT_EQ(TreeOf(S("＾a＄"), false, false), "C(C([x814F-x814F],[a-a]),[x8190-x8190])");
}

TEST(TreeShapes, PeriodIsThreeRanges) {
  auto p = Parsed(".");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U(U([x01-x09],[x0B-x0C]),[x0E-xFCFC])");
  EXPECT_EQ(Leaves(*p->ParseTree), "[x0B-x0C][x01-x09][x0E-xFCFC]");
  EXPECT_EQ(TreeOf(S("．"), false, true), Shape(p->ParseTree->TopNode));
}

TEST(TreeShapes, ClassesAreLeftGroupedUnionsOfTheirItems) {
  EXPECT_EQ(TreeOf("[abc]"), "U(U([a-a],[b-b]),[c-c])");
  EXPECT_EQ(TreeOf("[a-cx]"), "U([a-c],[x-x])");
  EXPECT_EQ(TreeOf("[\\]a]"), "U([x5D-x5D],[a-a])");
  EXPECT_EQ(TreeOf("[a]"), "[a-a]");
}

TEST(TreeShapes, CaseFoldingOfOrdinaryLetters) {
  auto p = Parsed("a", true);
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U([A-A],[a-a])");
  EXPECT_EQ(Leaves(*p->ParseTree), "[a-a][A-A]") << "the lower-case leaf is made first";
  EXPECT_EQ(TreeOf("A", true), "U([A-A],[a-a])");
  EXPECT_EQ(TreeOf("\\x41", true), "U([A-A],[a-a])");
  EXPECT_EQ(TreeOf("\\101", true), "U([A-A],[a-a])");
  EXPECT_EQ(TreeOf("z", true), "U([Z-Z],[z-z])");
  EXPECT_EQ(TreeOf("[a-z]", true), "[a-z]");
  EXPECT_EQ(TreeOf("[^a]", true), TreeOf("[^a]", false)) << "no folding inside brackets";
  EXPECT_EQ(TreeOf(S("ａ"), true), "[x8281-x8281]");
  EXPECT_EQ(TreeOf("1", true), "[1-1]");
  for (const char c : {'@', '[', '`', '{'}) {
    const std::string p1 = std::string("\\") + c;
    EXPECT_EQ(TreeOf(p1, true), TreeOf(p1, false)) << c << " is next to the letters but no letter";
  }
  auto q = Parsed("aA", true);
  EXPECT_EQ(Shape(q->ParseTree->TopNode), "C(U([A-A],[a-a]),U([A-A],[a-a]))");
  EXPECT_EQ(q->ParseTree->LeafList.size(), 2u);
}

// ---------------------------------------------------------------------------
// Splitting ranges into disjoint pieces

TEST(LeafNormalization, RangeInsideAnother) {
  auto p = Parsed("[a-z]|[m-p]");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U(U(U([a-l],[m-p]),[q-z]),[m-p])");
  EXPECT_EQ(Leaves(*p->ParseTree), "[m-p][a-l][q-z]");
  const TParseNode* former = p->ParseTree->TopNode->Left;
  EXPECT_EQ(former->Left->Right, p->ParseTree->TopNode->Right) << "the inner range is the common piece itself";
  // The leaf keeps its identity: it is now a union recorded among the nodes.
  const auto& nodes = p->ParseTree->NodeList;
  EXPECT_EQ(std::count(nodes.begin(), nodes.end(), former), 1);
}

TEST(LeafNormalization, PartialOverlapSharesTheCommonPiece) {
  auto p = Parsed("[a-m]|[h-z]");
  const TParseNode* top = p->ParseTree->TopNode;
  EXPECT_EQ(Shape(top), "U(U([a-g],[h-m]),U([h-m],[n-z]))");
  EXPECT_EQ(top->Left->Right, top->Right->Left);
  EXPECT_EQ(Leaves(*p->ParseTree), "[a-g][h-m][n-z]");
}

TEST(LeafNormalization, SameLowOrSameHigh) {
  auto p = Parsed("[\\x0-\\x5]|[\\x0-\\x3]");
  EXPECT_EQ(Leaves(*p->ParseTree), "[x00-x03][x04-x05]");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U(U([x00-x03],[x04-x05]),[x00-x03])");
  auto q = Parsed("[a-z]|[m-z]");
  EXPECT_EQ(Shape(q->ParseTree->TopNode), "U(U([a-l],[m-z]),[m-z])");
  EXPECT_EQ(Leaves(*q->ParseTree), "[m-z][a-l]");
  auto r = Parsed("[a-c]|[a-z]");
  EXPECT_EQ(Shape(r->ParseTree->TopNode), "U([a-c],U([a-c],[d-z]))");
  EXPECT_EQ(Leaves(*r->ParseTree), "[a-c][d-z]");
}

TEST(LeafNormalization, RangesReachingTheReservedCodesAreCutBack) {
  auto p = Parsed("[\\xFF00-\\xFFFF]|[\\xFFF0-\\xFFFF]");
  EXPECT_EQ(Leaves(*p->ParseTree), "[xFFF0-xFFFC][xFF00-xFFEF]");
  EXPECT_EQ(TreeOf("[\\xFFF0-\\xFFFF]"), "[xFFF0-xFFFC]");
}

TEST(LeafNormalization, SingleCharactersInsideThePeriod) {
  auto p = Parsed(".a");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "C(U(U([x01-x09],[x0B-x0C]),U(U([x0E-x60],[a-a]),[b-xFCFC])),[a-a])");
  EXPECT_EQ(Leaves(*p->ParseTree), "[x0B-x0C][x01-x09][a-a][x0E-x60][b-xFCFC]");
}

TEST(LeafNormalization, LeavesArePairwiseDisjointForRandomPatterns) {
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

// ---------------------------------------------------------------------------
// Negated classes

TEST(NegatedClasses, ComplementOfOneCharacter) {
  auto p = Parsed("[^a]");
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U(U(U([x0B-x0C],[x01-x09]),[x0E-x60]),[b-xFCFC])");
}

TEST(NegatedClasses, ComplementOfTheVerticalTabAndFormFeed) {
  EXPECT_EQ(TreeOf("[^\\x0B\\x0C]"), "U([x01-x09],[x0E-xFCFC])");
}

TEST(NegatedClasses, NotLineFeedIsThePeriodsSet) {
  auto p = Parsed("[^\\n]");
  auto dot = Parsed(".");
  EXPECT_TRUE(CodesOf(p->ParseTree->TopNode) == CodesOf(dot->ParseTree->TopNode));
  EXPECT_EQ(Shape(p->ParseTree->TopNode), "U(U([x0B-x0C],[x01-x09]),[x0E-xFCFC])");
}

TEST(NegatedClasses, NeverLineEndsZeroOrCodesAboveTheLastDoubleByte) {
  const std::vector<bool> codes = CodesOf(Parsed("[^b]")->ParseTree->TopNode);
  EXPECT_FALSE(codes[0x00]);
  EXPECT_FALSE(codes[0x0A]);
  EXPECT_FALSE(codes[0x0D]);
  EXPECT_FALSE(codes['b']);
  EXPECT_FALSE(codes[0xFCFD]);
  EXPECT_TRUE(codes[0xFCFC]);
  EXPECT_TRUE(codes[0x01]);
  EXPECT_TRUE(codes[Code("あ")]);
}

TEST(NegatedClasses, MembersMayOverlapAndBeDoubleByte) {
  EXPECT_EQ(TreeOf("[^a-cb-d]"), "U(U(U([x0B-x0C],[x01-x09]),[x0E-x60]),[e-xFCFC])");
  EXPECT_EQ(TreeOf(S("[^あ]")), "U(U(U([x0B-x0C],[x01-x09]),[x0E-x829F]),[x82A1-xFCFC])");
  EXPECT_EQ(TreeOf("[^\\x05-\\x10]"), "U([x01-x04],[x11-xFCFC])");
}

TEST(NegatedClasses, ComplementLeavesAreSharedWithTheMainTree) {
  auto p = Parsed("[^a]|[\\x0B-\\x0C]");
  const TParseNode* top = p->ParseTree->TopNode;
  EXPECT_EQ(top->Left->Left->Left->Left, top->Right) << "the piece equal to an existing leaf is that leaf";
}

// ---------------------------------------------------------------------------
// The tree's own operations

TEST(ParseTreeOperations, MakeLeafFindsEqualLeavesOnly) {
  TParseTree tree;
  TParseNode* a = tree.MakeLeaf(1, 5);
  EXPECT_EQ(tree.MakeLeaf(1, 5), a);
  EXPECT_NE(tree.MakeLeaf(1, 4), a);
  EXPECT_EQ(tree.LeafList.size(), 2u);
  EXPECT_TRUE(tree.NodeList.empty()) << "leaves are not operator nodes";
}

TEST(ParseTreeOperations, ReplacedLeafIsNoLongerFound) {
  TParseTree tree;
  TParseNode* whole = tree.MakeLeaf(1, 5);
  TParseNode* low = tree.MakeLeaf(1, 2);
  TParseNode* high = tree.MakeLeaf(3, 5);
  tree.ReplaceLeaf(whole, low, high);
  EXPECT_EQ(whole->Op, opUnion);
  EXPECT_EQ(whole->Left, low);
  EXPECT_EQ(whole->Right, high);
  EXPECT_EQ(Leaves(tree), "[x01-x02][x03-x05]");
  ASSERT_FALSE(tree.NodeList.empty());
  EXPECT_EQ(tree.NodeList.back(), whole);
  TParseNode* again = tree.MakeLeaf(1, 5);
  EXPECT_NE(again, whole) << "a new leaf for the range of the former one";
  EXPECT_EQ(again->Op, opCharRange);
}

TEST(ParseTreeOperations, ReplaceLeafWithoutBothPartsIsAnInternalError) {
  TParseTree tree;
  TParseNode* leaf = tree.MakeLeaf(1, 5);
  TParseNode* part = tree.MakeLeaf(1, 2);
  for (int which = 0; which < 2; ++which) {
    try {
      if (which == 0)
        tree.ReplaceLeaf(leaf, nullptr, part);
      else
        tree.ReplaceLeaf(leaf, part, nullptr);
      ADD_FAILURE() << "no error";
    } catch (const ERegExpParser&) {
      ADD_FAILURE() << "raised as a pattern error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), S("TParseTree : 致命的エラー"));
    }
  }
}

TEST(ParseTreeOperations, SubtractRangeFromThePeriod) {
  TParseTree tree;
  tree.MakeAnyChar();
  tree.SubtractRange(0x05, 0x10);
  EXPECT_EQ(Leaves(tree), "[x01-x04][x11-xFCFC]");
  TParseTree other;
  other.MakeAnyChar();
  other.SubtractRange(0x0B, 0x0B);
  EXPECT_EQ(Leaves(other), "[x01-x09][x0E-xFCFC][x0C-x0C]") << "remnants are appended at the end";
}

TEST(ParseTreeOperations, ClearEmptiesEverything) {
  auto p = Parsed("a(b|c)*");
  p->ParseTree->Clear();
  EXPECT_EQ(p->ParseTree->TopNode, nullptr);
  EXPECT_TRUE(p->ParseTree->NodeList.empty());
  EXPECT_TRUE(p->ParseTree->LeafList.empty());
  EXPECT_EQ(Shape(p->ParseTree->MakeLeaf('a', 'a')), "[a-a]");
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

TEST(ParseTreeOperations, PeriodAndFoldingGoThroughTheTreesVirtualOperations) {
  TRegExpParser parser(".a", false);
  parser.ParseTree = std::make_unique<TNarrowTree>();
  parser.IgnoreCase = true;
  parser.Parse();
  EXPECT_EQ(Shape(parser.ParseTree->TopNode), "C([x-x],[y-y])");
}
