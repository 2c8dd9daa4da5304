// The parser: its errors and their positions, the codes a class, a period or
// a folded letter stands for, and the splitting of character ranges into
// disjoint leaves.  What the trees match is the matching tests' business.
#include "parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "sjis_literals.h"

namespace {

std::unique_ptr<TRegExpParser> Parsed(const std::string& pattern, bool ignoreCase = false, bool dbMeta = false) {
  auto parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  parser->IgnoreCase = ignoreCase;
  parser->Parse();
  return parser;
}

// The codes that a tree of leaves and unions stands for (a class); with
// leaves, each leaf reached must be one of them.
std::vector<bool> CodesOf(const TParseNode* n, const std::vector<TParseNode*>* leaves = nullptr) {
  std::vector<bool> codes(0x10000, false);
  std::vector<const TParseNode*> todo{n};
  while (!todo.empty()) {
    const TParseNode* x = todo.back();
    todo.pop_back();
    if (x->Op == opCharRange) {
      for (unsigned c = x->Low; c <= x->High; ++c) codes[c] = true;
      if (leaves) {
        EXPECT_NE(std::find(leaves->begin(), leaves->end(), x), leaves->end()) << "stale leaf";
      }
    } else if (x->Op == opUnion) {
      todo.insert(todo.end(), {x->Left, x->Right});
    } else {
      ADD_FAILURE() << "not a class: op " << x->Op;
    }
  }
  return codes;
}

// Codes as "lo-hi lo-hi" in hex.
std::string Ranges(const std::vector<bool>& codes) {
  std::string out;
  for (unsigned c = 0; c < codes.size(); ++c) {
    if (!codes[c]) continue;
    unsigned hi = c;
    while (hi + 1 < codes.size() && codes[hi + 1]) ++hi;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s%X-%X", out.empty() ? "" : " ", c, hi);
    out += buf;
    c = hi;
  }
  return out;
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
      {"a**", expected::kCharOrLeftParen, 4},
      {"*a", expected::kCharOrLeftParen, 2},
      {"(*)", expected::kCharOrLeftParen, 3},
      {S("a＊＊"), expected::kCharOrLeftParen, 6, true},
      {"[a]]", expected::kCharOrLeftParen, 5},
      {S("a］"), expected::kCharOrLeftParen, 4, true},
      {"a)b", expected::kExtraCharacters, 3},
      {S("）"), expected::kExtraCharacters, 3, true},
      {"(a|b", expected::kRightParen, 5},
      {S("（ａ"), expected::kRightParen, 5, true},
      // Classes without members, also by complement.
      {"a[]", expected::kBadCharClass, 4},
      {"[^]", expected::kBadCharClass, 4},
      {S("［］"), expected::kBadCharClass, 5, true},
      {"[^\\x00-\\xFFFF]", expected::kBadCharClass, 15},
      {"[^\\x01-\\x09\\x0B\\x0C\\x0E-\\xFCFC]", expected::kBadCharClass, 32},
      // The codes reserved for the line anchors are no characters.
      {"\\xFFFD", expected::kBadRange, 7},
      {"a\\xFFFFb", expected::kBadRange, 8},
      {"[^\\xFFFD]", expected::kBadRange, 9},
      // The scanner's errors pass through.
      {"(a[z-a])", expected::kBadRange, 7},
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

TEST(Parser, CodesOfClassesPeriodsAndFoldedLetters) {
  struct TCase {
    std::string Pattern;
    std::string Codes;
    bool IgnoreCase = false;
    bool DbMeta = false;
  };
  const std::vector<TCase> cases = {
      {".", "1-9 B-C E-FCFC"},
      {S("．"), "1-9 B-C E-FCFC", false, true},
      {S("[^あ]"), "1-9 B-C E-829F 82A1-FCFC"},
      {"[^\\x05-\\x10]", "1-4 11-FCFC"},
      {"[\\xFFF0-\\xFFFF]", "FFF0-FFFC"},
      {"[a-z]", "61-7A", true},
      {"[^a]", "1-9 B-C E-60 62-FCFC", true},
      {S("ａ"), "8281-8281", true},
      {"1", "31-31", true},
      {"a|z|\\101", "41-41 5A-5A 61-61 7A-7A", true},
      {"\\@|\\[|\\`|\\{", "40-40 5B-5B 60-60 7B-7B", true},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Ranges(CodesOf(Parsed(c.Pattern, c.IgnoreCase, c.DbMeta)->ParseTree->TopNode)), c.Codes)
        << Hex(c.Pattern) << (c.IgnoreCase ? " (case)" : "");
}

TEST(Parser, LeavesArePairwiseDisjointForRandomPatterns) {
  // Random unions of periods, classes and negated classes: after parsing no
  // two leaves overlap, every leaf that the tree reaches is a current leaf,
  // and each alternative still stands for exactly the codes that were written.
  std::mt19937 rng(2024);
  const std::vector<TCharCode> points = {0x00, 0x01, 0x09, 0x0A, 0x0B, 0x0D,   0x0E,   0x41,   0x5A,   0x61,   0x62,
                                         0x7A, 0x7F, 0x80, 0xA0, 0xDF, 0x8140, 0x82A0, 0x82F1, 0x889F, 0xFCFC, 0xFFFC};
  const auto inPeriod = [](unsigned c) { return c >= 1 && c <= 0xFCFC && c != 0x0A && c != 0x0D; };
  for (int round = 0; round < 250; ++round) {
    std::string pattern;
    std::vector<std::vector<bool>> wanted;
    for (int a = 0, alternatives = 1 + static_cast<int>(rng() % 6); a < alternatives; ++a) {
      const int kind = static_cast<int>(rng() % 4);  // 0: period, 1: negated class, else a class
      std::string text = kind == 0 ? "." : kind == 1 ? "[^" : "[";
      std::vector<bool> members(0x10000, false);
      for (int i = 0, items = kind == 0 ? 0 : 1 + static_cast<int>(rng() % 4); i < items; ++i) {
        TCharCode lo = points[rng() % points.size()];
        TCharCode hi = rng() % 3 == 0 ? lo : points[rng() % points.size()];
        if (lo > hi) std::swap(lo, hi);
        char buf[24];
        std::snprintf(buf, sizeof buf, lo == hi ? "\\x%04X" : "\\x%04X-\\x%04X", lo, hi);
        text += buf;
        for (unsigned c = lo; c <= hi; ++c) members[c] = true;
      }
      std::vector<bool> codes(0x10000, false);
      for (unsigned c = 0; c < 0x10000; ++c) codes[c] = kind <= 1 ? inPeriod(c) && !members[c] : members[c];
      if (std::find(codes.begin(), codes.end(), true) == codes.end()) {  // an empty complement is an error
        text = "a";
        codes['a'] = true;
      }
      pattern += (a > 0 ? "|" : "") + text + (text.size() > 1 ? "]" : "");
      wanted.push_back(std::move(codes));
    }
    SCOPED_TRACE(pattern);
    std::unique_ptr<TRegExpParser> p;
    ASSERT_NO_THROW(p = Parsed(pattern));
    const auto& leaves = p->ParseTree->LeafList;
    for (std::size_t i = 0; i < leaves.size(); ++i)
      for (std::size_t j = i + 1; j < leaves.size(); ++j)
        EXPECT_TRUE(leaves[i]->High < leaves[j]->Low || leaves[j]->High < leaves[i]->Low) << i << " overlaps " << j;
    // Each alternative, from the right: Union(Union(x1, x2), x3) ...
    const TParseNode* rest = p->ParseTree->TopNode;
    for (std::size_t a = wanted.size(); a-- > 0; rest = rest->Left)
      EXPECT_TRUE(CodesOf(a == 0 ? rest : rest->Right, &leaves) == wanted[a]) << "alternative " << a;
  }
}
