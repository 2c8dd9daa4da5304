// The parser: its errors and their positions, and the codes a class, a
// period or a folded letter stands for.  What the trees match is the
// matching tests' business.
#include "parser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
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

// The codes that a tree of leaves and unions stands for (a class).
std::vector<bool> CodesOf(const TParseNode* n) {
  std::vector<bool> codes(0x10000, false);
  std::vector<const TParseNode*> todo{n};
  while (!todo.empty()) {
    const TParseNode* x = todo.back();
    todo.pop_back();
    if (x->Op == opCharRange) {
      for (unsigned c = x->Low; c <= x->High; ++c) codes[c] = true;
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
      {"[\\xFFFC-\\xFFFF]", "FFFC-FFFC"},
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
