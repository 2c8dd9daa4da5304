// The parser: its errors and their positions.  What the trees match (the
// codes of classes, periods and folded letters) is the matching tests'
// business.
#include "regexp/parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sjis/exceptions.h"
#include "support/sjis_literals.h"

namespace {

std::unique_ptr<TRegExpParser> Parsed(const std::string& pattern, bool dbMeta = false,
                                      TLineFeedRule lineFeed = lfClassic) {
  auto parser = std::make_unique<TRegExpParser>(pattern, dbMeta);
  parser->Rules.LineFeed = lineFeed;
  parser->Parse();
  return parser;
}

}  // namespace

TEST(Parser, ErrorsAndTheirPositions) {
  struct TCase {
    std::string Pattern;
    std::string Message;
    int Position;
    bool DbMeta = false;
    TLineFeedRule LineFeed = lfClassic;
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
      // The scanner's errors pass through: escapes, brackets, ranges (codes
      // compare unsigned), a lone lead byte; positions are kept modulo 65536.
      {"(a[z-a])", expected::kBadRange, 7},
      {"\\x", expected::kBadHex, 3},
      {"\\x" + S("あ"), expected::kBadHex, 5},
      {"[\\x]", expected::kBadHex, 5},
      {"\\200000", expected::kBadOctal, 8},
      {S("\\２０００００"), expected::kBadOctal, 14},
      {"\\", expected::kEscapeAtEnd, 2},
      {S("a￥"), expected::kEscapeAtEnd, 4, true},
      {"[", expected::kRightBracket, 2},
      {S("［ａ"), expected::kRightBracket, 5, true},
      {"ab\x82", expected::kBadDoubleByte, 3},
      {"\\\x82", expected::kBadDoubleByte, 2},
      {"x[b-a]", expected::kBadRange, 6},
      {"[a-\\]]", expected::kBadRange, 6},
      {S("[あ-a]"), expected::kBadRange, 6},
      {std::string(70000, 'a') + "\\", expected::kEscapeAtEnd, 70002 - 65536},
      // Under lfNever a pattern that names the line feed is refused (the
      // window's rules take each of them).
      {"a\\nb", expected::kLineFeed, 4, false, lfNever},
      {"\\x0A", expected::kLineFeed, 5, false, lfNever},
      {"x\\012", expected::kLineFeed, 6, false, lfNever},
      {"[a\\n]", expected::kLineFeed, 5, false, lfNever},
      {"[^\\n]", expected::kLineFeed, 5, false, lfNever},
      {"[\\x01-\\n]", expected::kLineFeed, 9, false, lfNever},
  };
  for (const TCase& c : cases) {
    try {
      Parsed(c.Pattern, c.DbMeta, c.LineFeed);
      ADD_FAILURE() << Hex(c.Pattern.substr(0, 40)) << ": no error";
    } catch (const ERegExpParser& e) {
      EXPECT_EQ(Hex(e.Message()), Hex(c.Message)) << Hex(c.Pattern.substr(0, 40));
      EXPECT_EQ(e.Position, c.Position) << Hex(c.Pattern.substr(0, 40));
    }
    if (c.LineFeed == lfNever) {
      EXPECT_NO_THROW(Parsed(c.Pattern, c.DbMeta)) << c.Pattern;
    }
  }
  // One code short of everything still leaves a class.
  for (const char* pattern : {"[^\\x01-\\xFCFB]", "[^\\x02-\\xFCFC]", "\\xFFFC"}) EXPECT_NO_THROW(Parsed(pattern));
}
