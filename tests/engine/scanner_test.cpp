// Reading Shift-JIS characters, the escapes and the pattern scanner.
#include "scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "exceptions.h"
#include "sjis.h"
#include "sjis_literals.h"

namespace {

struct Tok {
  TToken token;
  TCharCode code;
  TCharCode codeTo;
  bool operator==(const Tok& other) const {
    // CodeTo only means something for a range.
    return token == other.token && code == other.code && (token != tokRange || codeTo == other.codeTo);
  }
};

void PrintTo(const Tok& t, std::ostream* os) {
  *os << "{tok " << static_cast<int>(t.token) << ", 0x" << std::hex << t.code;
  if (t.token == tokRange) *os << "-0x" << t.codeTo;
  *os << std::dec << "}";
}

Tok Ch(TCharCode c) { return {tokChar, c, 0}; }
Tok Rg(TCharCode from, TCharCode to) { return {tokRange, from, to}; }
Tok T(TToken token, TCharCode c) { return {token, c, 0}; }
const Tok kEnd{tokEnd, 0, 0};

// Scans a whole pattern the way the parser drives the scanner: GetToken
// outside brackets, GetClassToken from an opening bracket to the closing one.
std::vector<Tok> Scan(const std::string& pattern, bool dbMeta = false) {
  TScanner scanner(pattern, dbMeta);
  std::vector<Tok> out;
  bool inClass = false;
  for (std::size_t guard = 0; guard <= pattern.size() + 2; ++guard) {
    const TToken t = inClass ? scanner.GetClassToken() : scanner.GetToken();
    EXPECT_EQ(t, scanner.Token);
    out.push_back({scanner.Token, scanner.Code, scanner.CodeTo});
    if (t == tokEnd) return out;
    if (t == tokLBra || t == tokNegLBra)
      inClass = true;
    else if (inClass && t == tokRBra)
      inClass = false;
  }
  ADD_FAILURE() << "scanner does not reach the end of " << Hex(pattern.substr(0, 80));
  return out;
}

// The error that scanning the pattern raises.
::testing::AssertionResult ScanFails(const std::string& pattern, const std::string& message, int position,
                                     bool dbMeta = false) {
  try {
    Scan(pattern, dbMeta);
  } catch (const ERegExpParser& e) {
    if (e.Message() == message && e.Position == position) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Hex(pattern.substr(0, 80)) << ": raised \"" << Hex(e.Message()) << "\" at "
                                         << e.Position << ", expected \"" << Hex(message) << "\" at " << position;
  }
  return ::testing::AssertionFailure() << Hex(pattern.substr(0, 80)) << ": no error";
}

// Reads every character of s with NextChar and returns the positions after
// each one (the character boundaries after position 1).
std::vector<int> ForwardBoundaries(const std::string& s) {
  std::vector<int> out;
  int p = 1;
  while (p <= static_cast<int>(s.size())) {
    NextChar(s, p);
    out.push_back(p);
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading characters

TEST(CharReader, LeadByteRangesOfShiftJis) {
  EXPECT_FALSE(IsDBCSLeadByte(0x7F));
  EXPECT_FALSE(IsDBCSLeadByte(0x80));
  EXPECT_TRUE(IsDBCSLeadByte(0x81));
  EXPECT_TRUE(IsDBCSLeadByte(0x9F));
  EXPECT_FALSE(IsDBCSLeadByte(0xA0));
  EXPECT_FALSE(IsDBCSLeadByte(0xDF));
  EXPECT_TRUE(IsDBCSLeadByte(0xE0));
  EXPECT_TRUE(IsDBCSLeadByte(0xFC));
  EXPECT_FALSE(IsDBCSLeadByte(0xFD));
  EXPECT_FALSE(IsDBCSLeadByte(0x00));
}

TEST(CharReader, NextCharReadsSingleAndDoubleByteCharacters) {
  const std::string s = S("aあｱ＊");  // ASCII, hiragana, half-width katakana, full-width star
  int p = 1;
  EXPECT_EQ(NextChar(s, p), 'a');
  EXPECT_EQ(p, 2);
  EXPECT_EQ(NextChar(s, p), Code("あ"));
  EXPECT_EQ(p, 4);
  EXPECT_EQ(NextChar(s, p), Code("ｱ"));
  EXPECT_EQ(p, 5);
  EXPECT_EQ(NextChar(s, p), 0x8196);  // the full-width star's code
  EXPECT_EQ(p, 7);
  EXPECT_EQ(NextChar(s, p), 0);
  EXPECT_EQ(p, 7) << "the end does not move the position";
  EXPECT_EQ(NextChar(s, p), 0);
  EXPECT_EQ(p, 7);
}

TEST(CharReader, HalfWidthKatakanaIsOneByteCharacter) {
  EXPECT_EQ(S("ｱ").size(), 1u);
  const std::string s = S("ｱｲ");
  int p = 1;
  EXPECT_EQ(NextChar(s, p), Code("ｱ"));
  EXPECT_EQ(NextChar(s, p), Code("ｲ"));
  EXPECT_EQ(p, 3);
}

TEST(CharReader, TrailByteMayBeAnyByte) {
  // A lead byte takes the following byte whatever it is: an ASCII letter,
  // a line feed or a zero byte.
  int p = 1;
  EXPECT_EQ(NextChar(S("Ｂ"), p), 0x8261);  // trail byte is "a"
  const std::string lf("\x81\n", 2);
  p = 1;
  EXPECT_EQ(NextChar(lf, p), 0x810A);
  EXPECT_EQ(p, 3);
  const std::string zero("\x81\0", 2);
  p = 1;
  EXPECT_EQ(NextChar(zero, p), 0x8100);
  EXPECT_EQ(p, 3);
}

TEST(CharReader, ZeroByteReadsAsZeroAndIsConsumed) {
  const std::string s("a\0b", 3);
  int p = 2;
  EXPECT_EQ(NextChar(s, p), 0);
  EXPECT_EQ(p, 3);
  EXPECT_EQ(NextChar(s, p), 'b');
}

TEST(CharReader, LoneLeadByteAtEndRaisesWithItsPosition) {
  const std::string s = "ab\x82";
  int p = 3;
  try {
    NextChar(s, p);
    FAIL() << "no error";
  } catch (const ERegExpParser& e) {
    EXPECT_EQ(e.Message(), expected::kBadDoubleByte);
    EXPECT_EQ(e.Position, 3);
  }
  // Everything before it reads normally.
  p = 1;
  EXPECT_EQ(NextChar(s, p), 'a');
  EXPECT_EQ(NextChar(s, p), 'b');
}

TEST(CharReader, UngetCharStepsBackOverDoubleByteCharacter) {
  const std::string s = S("aあb");
  int p = 4;  // after あ
  UngetChar(s, p);
  EXPECT_EQ(p, 2);
  p = 5;  // after b, which follows a double-byte character
  UngetChar(s, p);
  EXPECT_EQ(p, 4);
}

TEST(CharReader, UngetCharNeverGoesBelowOne) {
  const std::string s = "ab";
  int p = 1;
  UngetChar(s, p);
  EXPECT_EQ(p, 1);
  p = 2;
  UngetChar(s, p);
  EXPECT_EQ(p, 1);
  const std::string empty;
  p = 1;
  UngetChar(empty, p);
  EXPECT_EQ(p, 1);
}

TEST(CharReader, UngetCharClassifiesTrailBytesInContext) {
  // "＝" is 0x81 0x81: its trail byte is also a lead-byte value.  After "＝a"
  // the byte two places back is that trail byte, so the step is one byte.
  const std::string s = S("＝a");
  ASSERT_EQ(s.size(), 3u);
  int p = 4;
  UngetChar(s, p);
  EXPECT_EQ(p, 3);
  p = 3;  // after ＝
  UngetChar(s, p);
  EXPECT_EQ(p, 1);
  // Two such characters in a row: each step goes back over one character.
  const std::string two = S("＝＝");
  p = 5;
  UngetChar(two, p);
  EXPECT_EQ(p, 3);
  UngetChar(two, p);
  EXPECT_EQ(p, 1);
}

TEST(CharReader, LeadByteInContextCountsFromTheStart) {
  const std::string s = S("＝＝a");  // 81 81 81 81 61
  EXPECT_TRUE(IsLeadByteInContext(s, 0));
  EXPECT_FALSE(IsLeadByteInContext(s, 1));
  EXPECT_TRUE(IsLeadByteInContext(s, 2));
  EXPECT_FALSE(IsLeadByteInContext(s, 3));
  EXPECT_FALSE(IsLeadByteInContext(s, 4));
}

TEST(CharReader, UngetCharRetracesEveryCharacterBoundary) {
  // Random strings of single bytes, half-width katakana and double-byte
  // characters (some with trail bytes in the lead-byte range): stepping back
  // from each boundary lands on the previous boundary.
  const std::vector<std::string> pieces = {"a", S("ｱ"), S("あ"), S("＝"), S("Ｂ"), S("表"), "\\", "\xA0"};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string s;
    const int n = static_cast<int>(rng() % 8);
    for (int i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
    const std::vector<int> forward = ForwardBoundaries(s);
    for (std::size_t k = 0; k < forward.size(); ++k) {
      int p = forward[k];
      UngetChar(s, p);
      EXPECT_EQ(p, k == 0 ? 1 : forward[k - 1]) << Hex(s) << " from " << forward[k];
    }
  }
}

// ---------------------------------------------------------------------------
// Digits and escapes

TEST(Escapes, HexDigitValues) {
  EXPECT_EQ(HexDigitValue('0'), 0);
  EXPECT_EQ(HexDigitValue('9'), 9);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexDigitValue(Code("０")), 0);
  EXPECT_EQ(HexDigitValue(Code("９")), 9);
  EXPECT_EQ(HexDigitValue(Code("Ａ")), 10);
  EXPECT_EQ(HexDigitValue(Code("Ｆ")), 15);
  EXPECT_EQ(HexDigitValue(Code("ａ")), 10);
  EXPECT_EQ(HexDigitValue(Code("ｆ")), 15);
  for (const int c : std::initializer_list<int>{'/', ':', '@', 'G', '`', 'g', 0})
    EXPECT_EQ(HexDigitValue(static_cast<TCharCode>(c)), -1) << c;
  for (const char* wide : {"Ｇ", "ｇ", "＠", "／"}) EXPECT_EQ(HexDigitValue(Code(wide)), -1) << wide;
  EXPECT_EQ(HexDigitValue(static_cast<TCharCode>(Code("０") - 1)), -1);
  EXPECT_EQ(HexDigitValue(static_cast<TCharCode>(Code("ａ") - 1)), -1);
}

TEST(Escapes, OctDigitValues) {
  EXPECT_EQ(OctDigitValue('0'), 0);
  EXPECT_EQ(OctDigitValue('7'), 7);
  EXPECT_EQ(OctDigitValue(Code("０")), 0);
  EXPECT_EQ(OctDigitValue(Code("７")), 7);
  for (const int c : std::initializer_list<int>{'8', '9', '/', 'a', 0})
    EXPECT_EQ(OctDigitValue(static_cast<TCharCode>(c)), -1) << c;
  EXPECT_EQ(OctDigitValue(Code("８")), -1);
  EXPECT_EQ(OctDigitValue(Code("９")), -1);
}

TEST(Escapes, ReadEscapeStartsAfterTheEscapeCharacterAndAdvances) {
  const std::string p = "\\x41z";
  int pos = 2;
  EXPECT_EQ(ReadEscape(p, pos, false), 'A');
  EXPECT_EQ(pos, 5) << "the character after the digits is put back";
  const std::string q = "\\nz";
  pos = 2;
  EXPECT_EQ(ReadEscape(q, pos, false), '\n');
  EXPECT_EQ(pos, 3);
}

TEST(Escapes, EscapeLettersGiveControlCodes) {
  EXPECT_EQ(Scan("\\b"), (std::vector<Tok>{Ch(8), kEnd}));
  EXPECT_EQ(Scan("\\r"), (std::vector<Tok>{Ch(13), kEnd}));
  EXPECT_EQ(Scan("\\n"), (std::vector<Tok>{Ch(10), kEnd}));
  EXPECT_EQ(Scan("\\t"), (std::vector<Tok>{Ch(9), kEnd}));
}

TEST(Escapes, FullWidthEscapeLettersCountOnlyWithAcceptDBMeta) {
  EXPECT_EQ(Scan(S("\\ｂ\\ｒ\\ｎ\\ｔ"), true), (std::vector<Tok>{Ch(8), Ch(13), Ch(10), Ch(9), kEnd}));
  EXPECT_EQ(Scan(S("\\ｎ"), false), (std::vector<Tok>{Ch(0x828E), kEnd}));
  EXPECT_EQ(Scan(S("\\ｂ\\ｒ\\ｔ"), false), (std::vector<Tok>{Ch(Code("ｂ")), Ch(Code("ｒ")), Ch(Code("ｔ")), kEnd}));
  EXPECT_EQ(Scan(S("\\ｘ４１"), true), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan(S("\\ｘ４１"), false), (std::vector<Tok>{Ch(Code("ｘ")), Ch(Code("４")), Ch(Code("１")), kEnd}));
}

TEST(Escapes, FullWidthYenIsTheEscapeCharacterOnlyWithAcceptDBMeta) {
  EXPECT_EQ(Scan(S("￥n"), true), (std::vector<Tok>{Ch('\n'), kEnd}));
  EXPECT_EQ(Scan(S("￥＊"), true), (std::vector<Tok>{Ch(0x8196), kEnd}));
  EXPECT_EQ(Scan(S("￥n"), false), (std::vector<Tok>{Ch(0x818F), Ch('n'), kEnd}));
  EXPECT_TRUE(ScanFails(S("a￥"), expected::kEscapeAtEnd, 4, true));
}

TEST(Escapes, HexadecimalCodes) {
  EXPECT_EQ(Scan("\\x41"), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan("\\x82A0"), (std::vector<Tok>{Ch(Code("あ")), kEnd}));
  EXPECT_EQ(Scan("\\x82a0"), (std::vector<Tok>{Ch(Code("あ")), kEnd}));
  EXPECT_EQ(Scan("\\x41424"), (std::vector<Tok>{Ch(0x4142), Ch('4'), kEnd}));
  EXPECT_EQ(Scan("\\x4"), (std::vector<Tok>{Ch(4), kEnd}));
  EXPECT_EQ(Scan("\\x4g"), (std::vector<Tok>{Ch(4), Ch('g'), kEnd}));
  EXPECT_EQ(Scan("\\x0"), (std::vector<Tok>{Ch(0), kEnd})) << "an escaped zero is not the end";
  EXPECT_EQ(Scan("\\x0a"), (std::vector<Tok>{Ch(10), kEnd}));
  EXPECT_EQ(Scan(S("\\xＡ")), (std::vector<Tok>{Ch(10), kEnd}));
  EXPECT_EQ(Scan(S("\\xａ"), true), (std::vector<Tok>{Ch(10), kEnd}));
  EXPECT_EQ(Scan(S("\\x０４１")), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan("\\xFFFFF"), (std::vector<Tok>{Ch(0xFFFF), Ch('F'), kEnd}));
  // The character after the digits is put back whole, even a double-byte one.
  EXPECT_EQ(Scan(S("\\x41あ")), (std::vector<Tok>{Ch('A'), Ch(Code("あ")), kEnd}));
  EXPECT_EQ(Scan(S("\\x4142あ")), (std::vector<Tok>{Ch(0x4142), Ch(Code("あ")), kEnd}));
}

TEST(Escapes, HexadecimalErrors) {
  EXPECT_TRUE(ScanFails("\\x", expected::kBadHex, 3));
  EXPECT_TRUE(ScanFails("\\xg", expected::kBadHex, 4));
  EXPECT_TRUE(ScanFails("ab\\xg1", expected::kBadHex, 6));
  EXPECT_TRUE(ScanFails(S("\\xあ"), expected::kBadHex, 5));
  EXPECT_TRUE(ScanFails("[\\x]", expected::kBadHex, 5));
}

TEST(Escapes, OctalCodes) {
  EXPECT_EQ(Scan("\\101"), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan("\\0"), (std::vector<Tok>{Ch(0), kEnd}));
  EXPECT_EQ(Scan("\\08"), (std::vector<Tok>{Ch(0), Ch('8'), kEnd}));
  EXPECT_EQ(Scan("\\177777"), (std::vector<Tok>{Ch(0xFFFF), kEnd}));
  EXPECT_EQ(Scan("\\1000000"), (std::vector<Tok>{Ch(0x8000), Ch('0'), kEnd})) << "six digits at most";
  EXPECT_EQ(Scan("\\1011"), (std::vector<Tok>{Ch(01011), kEnd}));
  EXPECT_EQ(Scan(S("\\０")), (std::vector<Tok>{Ch(0), kEnd}));
  EXPECT_EQ(Scan(S("\\０"), true), (std::vector<Tok>{Ch(0), kEnd}));
  EXPECT_EQ(Scan(S("\\１０１")), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan(S("\\1０1")), (std::vector<Tok>{Ch('A'), kEnd}));
  EXPECT_EQ(Scan(S("\\101あ")), (std::vector<Tok>{Ch('A'), Ch(Code("あ")), kEnd}));
}

TEST(Escapes, OctalOverflowIsReportedAfterTheDigitThatOverflowed) {
  EXPECT_TRUE(ScanFails("\\200000", expected::kBadOctal, 8));
  EXPECT_TRUE(ScanFails("\\777777", expected::kBadOctal, 8));
  EXPECT_TRUE(ScanFails("x\\2000007", expected::kBadOctal, 9));
  EXPECT_TRUE(ScanFails(S("\\２０００００"), expected::kBadOctal, 14));
}

TEST(Escapes, OtherCharactersStandForThemselves) {
  EXPECT_EQ(Scan("\\."), (std::vector<Tok>{Ch('.'), kEnd}));
  EXPECT_EQ(Scan("\\\\"), (std::vector<Tok>{Ch('\\'), kEnd}));
  EXPECT_EQ(Scan("\\q"), (std::vector<Tok>{Ch('q'), kEnd}));
  EXPECT_EQ(Scan("\\9"), (std::vector<Tok>{Ch('9'), kEnd}));
  EXPECT_EQ(Scan("\\8"), (std::vector<Tok>{Ch('8'), kEnd}));
  EXPECT_EQ(Scan(S("\\あ")), (std::vector<Tok>{Ch(Code("あ")), kEnd}));
  EXPECT_EQ(Scan("\\*\\+\\?\\(\\)\\[\\]\\|\\^\\$"),
            (std::vector<Tok>{Ch('*'), Ch('+'), Ch('?'), Ch('('), Ch(')'), Ch('['), Ch(']'), Ch('|'), Ch('^'), Ch('$'),
                              kEnd}));
  EXPECT_EQ(Scan(S("\\＊"), true), (std::vector<Tok>{Ch(0x8196), kEnd}));
}

TEST(Escapes, EscapeAtTheEndOfThePattern) {
  EXPECT_TRUE(ScanFails("\\", expected::kEscapeAtEnd, 2));
  EXPECT_TRUE(ScanFails("ab\\", expected::kEscapeAtEnd, 4));
  EXPECT_TRUE(ScanFails("[\\", expected::kEscapeAtEnd, 3));
  EXPECT_TRUE(ScanFails("[a-\\", expected::kEscapeAtEnd, 5));
}

// ---------------------------------------------------------------------------
// Tokens outside brackets

TEST(ScannerTokens, EmptyPatternIsTheEndAtOnce) {
  TScanner scanner("", false);
  EXPECT_EQ(scanner.Position, 1);
  EXPECT_EQ(scanner.GetToken(), tokEnd);
  EXPECT_EQ(scanner.Position, 1);
  EXPECT_EQ(scanner.GetToken(), tokEnd);
  EXPECT_EQ(scanner.Position, 1);
}

TEST(ScannerTokens, AsciiMetacharacters) {
  EXPECT_EQ(Scan("$()*+.?|]^"), (std::vector<Tok>{T(tokLTail, '$'), T(tokLPar, '('), T(tokRPar, ')'), T(tokStar, '*'),
                                                  T(tokPlus, '+'), T(tokDot, '.'), T(tokQMark, '?'), T(tokUnion, '|'),
                                                  T(tokRBra, ']'), T(tokLHead, '^'), kEnd}));
}

TEST(ScannerTokens, FullWidthMetacharactersWithAcceptDBMeta) {
  const std::string p = S("＄（）＊＋．？｜］＾");
  EXPECT_EQ(Scan(p, true),
            (std::vector<Tok>{T(tokLTail, 0x8190), T(tokLPar, 0x8169), T(tokRPar, 0x816A), T(tokStar, 0x8196),
                              T(tokPlus, 0x817B), T(tokDot, 0x8144), T(tokQMark, 0x8148), T(tokUnion, 0x8162),
                              T(tokRBra, 0x816E), T(tokLHead, 0x814F), kEnd}));
  std::vector<Tok> plain;
  for (const TCharCode c : {0x8190, 0x8169, 0x816A, 0x8196, 0x817B, 0x8144, 0x8148, 0x8162, 0x816E, 0x814F})
    plain.push_back(Ch(c));
  plain.push_back(kEnd);
  EXPECT_EQ(Scan(p, false), plain);
}

TEST(ScannerTokens, StarAfterLetterDependsOnAcceptDBMeta) {
  EXPECT_EQ(Scan(S("a＊"), false), (std::vector<Tok>{Ch('a'), Ch(0x8196), kEnd}));
  EXPECT_EQ(Scan(S("a＊"), true), (std::vector<Tok>{Ch('a'), T(tokStar, 0x8196), kEnd}));
}

TEST(ScannerTokens, OpeningBracketAndNegation) {
  EXPECT_EQ(Scan("[a]"), (std::vector<Tok>{T(tokLBra, '['), Ch('a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[^a]"), (std::vector<Tok>{T(tokNegLBra, '['), Ch('a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("［＾ａ］"), true),
            (std::vector<Tok>{T(tokNegLBra, 0x816D), Ch(Code("ａ")), T(tokRBra, 0x816E), kEnd}));
  EXPECT_EQ(Scan(S("[＾a]"), true), (std::vector<Tok>{T(tokNegLBra, '['), Ch('a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[＾a]"), false), (std::vector<Tok>{T(tokLBra, '['), Ch(0x814F), Ch('a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("［a］"), false), (std::vector<Tok>{Ch(0x816D), Ch('a'), Ch(0x816E), kEnd}));
  // The character peeked at after the bracket is put back whole.
  EXPECT_EQ(Scan(S("[あ]")), (std::vector<Tok>{T(tokLBra, '['), Ch(Code("あ")), T(tokRBra, ']'), kEnd}));
}

TEST(ScannerTokens, ZeroByteInsideThePatternIsAnOrdinaryCharacter) {
  EXPECT_EQ(Scan(std::string("a\0b", 3)), (std::vector<Tok>{Ch('a'), Ch(0), Ch('b'), kEnd}));
  EXPECT_EQ(Scan(std::string("[\0]", 3)), (std::vector<Tok>{T(tokLBra, '['), Ch(0), T(tokRBra, ']'), kEnd}));
  // A zero byte earlier in the pattern must not change where the following
  // characters begin when the scanner steps back over one of them.
  EXPECT_EQ(Scan(std::string("\0[", 2) + S("あ]")),
            (std::vector<Tok>{Ch(0), T(tokLBra, '['), Ch(Code("あ")), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(std::string("\0[", 2) + S("あ-い]")),
            (std::vector<Tok>{Ch(0), T(tokLBra, '['), Rg(Code("あ"), Code("い")), T(tokRBra, ']'), kEnd}));
}

TEST(ScannerTokens, MissingClosingBracket) {
  EXPECT_TRUE(ScanFails("[", expected::kRightBracket, 2));
  EXPECT_TRUE(ScanFails("[^", expected::kRightBracket, 3));
  EXPECT_TRUE(ScanFails("[a", expected::kRightBracket, 3));
  EXPECT_TRUE(ScanFails("[ab", expected::kRightBracket, 4));
  EXPECT_TRUE(ScanFails("[a-", expected::kRightBracket, 4));
  EXPECT_TRUE(ScanFails("[a-b", expected::kRightBracket, 5));
  EXPECT_TRUE(ScanFails(S("[あ"), expected::kRightBracket, 4));
  EXPECT_TRUE(ScanFails(S("［ａ"), expected::kRightBracket, 5, true));
}

TEST(ScannerTokens, LoneLeadByteAtEndOfPattern) {
  EXPECT_TRUE(ScanFails("\x82", expected::kBadDoubleByte, 1));
  EXPECT_TRUE(ScanFails("ab\x82", expected::kBadDoubleByte, 3));
  EXPECT_TRUE(ScanFails("[\x82", expected::kBadDoubleByte, 2));
  EXPECT_TRUE(ScanFails("[a-\x82", expected::kBadDoubleByte, 4));
  EXPECT_TRUE(ScanFails("\\\x82", expected::kBadDoubleByte, 2));
  EXPECT_TRUE(ScanFails("\\x41\x82", expected::kBadDoubleByte, 5));
}

TEST(ScannerTokens, ErrorPositionIsKeptModulo65536) {
  const std::string pattern = std::string(70000, 'a') + "\\";
  EXPECT_TRUE(ScanFails(pattern, expected::kEscapeAtEnd, 70002 - 65536));
}

// ---------------------------------------------------------------------------
// Tokens between brackets

TEST(ClassTokens, RangesAndDashes) {
  EXPECT_EQ(Scan("[a-z]"), (std::vector<Tok>{T(tokLBra, '['), Rg('a', 'z'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[a-]"), (std::vector<Tok>{T(tokLBra, '['), Ch('a'), Ch('-'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[-a]"), (std::vector<Tok>{T(tokLBra, '['), Ch('-'), Ch('a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[--a]"), (std::vector<Tok>{T(tokLBra, '['), Rg('-', 'a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[a-a]"), (std::vector<Tok>{T(tokLBra, '['), Rg('a', 'a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[\\]]"), (std::vector<Tok>{T(tokLBra, '['), Ch(']'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[\\-]"), (std::vector<Tok>{T(tokLBra, '['), Ch('-'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[a\\-z]"), (std::vector<Tok>{T(tokLBra, '['), Ch('a'), Ch('-'), Ch('z'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[\\]-a]"), (std::vector<Tok>{T(tokLBra, '['), Rg(']', 'a'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[\\x41-\\x5A]"), (std::vector<Tok>{T(tokLBra, '['), Rg('A', 'Z'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[a-\\x7a]"), (std::vector<Tok>{T(tokLBra, '['), Rg('a', 'z'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[\\n-\\r]"), (std::vector<Tok>{T(tokLBra, '['), Rg(10, 13), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[あ-ん]")), (std::vector<Tok>{T(tokLBra, '['), Rg(Code("あ"), Code("ん")), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[a-c-e]"),
            (std::vector<Tok>{T(tokLBra, '['), Rg('a', 'c'), Ch('-'), Ch('e'), T(tokRBra, ']'), kEnd}));
}

TEST(ClassTokens, MetacharactersAreOrdinaryBetweenBrackets) {
  EXPECT_EQ(Scan("[()*+?.^$[|]"),
            (std::vector<Tok>{T(tokLBra, '['), Ch('('), Ch(')'), Ch('*'), Ch('+'), Ch('?'), Ch('.'), Ch('^'), Ch('$'),
                              Ch('['), Ch('|'), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[＊（．]"), true),
            (std::vector<Tok>{T(tokLBra, '['), Ch(0x8196), Ch(0x8169), Ch(0x8144), T(tokRBra, ']'), kEnd}));
}

TEST(ClassTokens, EmptyClassesScanAsBracketPairs) {
  EXPECT_EQ(Scan("[]"), (std::vector<Tok>{T(tokLBra, '['), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan("[^]"), (std::vector<Tok>{T(tokNegLBra, '['), T(tokRBra, ']'), kEnd}));
}

TEST(ClassTokens, ReversedRangeIsReportedAfterTheRange) {
  EXPECT_TRUE(ScanFails("[z-a]", expected::kBadRange, 5));
  EXPECT_TRUE(ScanFails("x[b-a]", expected::kBadRange, 6));
  EXPECT_TRUE(ScanFails(S("[い-あ]"), expected::kBadRange, 7));
  EXPECT_TRUE(ScanFails("[a-\\]]", expected::kBadRange, 6));
  // Codes compare unsigned: a double-byte code is above every single byte.
  EXPECT_TRUE(ScanFails(S("[あ-a]"), expected::kBadRange, 6));
  EXPECT_EQ(Scan(S("[a-あ]")), (std::vector<Tok>{T(tokLBra, '['), Rg('a', Code("あ")), T(tokRBra, ']'), kEnd}));
}

TEST(ClassTokens, FullWidthRangeDashAndBracket) {
  EXPECT_EQ(Scan(S("[ａ－ｚ]"), true), (std::vector<Tok>{T(tokLBra, '['), Rg(0x8281, 0x829A), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[ａ－ｚ]"), false),
            (std::vector<Tok>{T(tokLBra, '['), Ch(0x8281), Ch(0x817C), Ch(0x829A), T(tokRBra, ']'), kEnd}));
  // A dash before the closing bracket is no range: both double-byte
  // characters are put back and scanned again.
  EXPECT_EQ(Scan(S("[ａ－］"), true),
            (std::vector<Tok>{T(tokLBra, '['), Ch(0x8281), Ch(0x817C), T(tokRBra, 0x816E), kEnd}));
  EXPECT_EQ(Scan(S("[ａ－]"), true),
            (std::vector<Tok>{T(tokLBra, '['), Ch(0x8281), Ch(0x817C), T(tokRBra, ']'), kEnd}));
  // Without AcceptDBMeta the full-width bracket is a member.
  EXPECT_EQ(Scan(S("[a］]"), false), (std::vector<Tok>{T(tokLBra, '['), Ch('a'), Ch(0x816E), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[ａ-ｚ]"), false), (std::vector<Tok>{T(tokLBra, '['), Rg(0x8281, 0x829A), T(tokRBra, ']'), kEnd}));
}

TEST(ClassTokens, EscapesBetweenBrackets) {
  EXPECT_EQ(Scan("[\\n\\t]"), (std::vector<Tok>{T(tokLBra, '['), Ch(10), Ch(9), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[￥］]"), true), (std::vector<Tok>{T(tokLBra, '['), Ch(0x816E), T(tokRBra, ']'), kEnd}));
  EXPECT_EQ(Scan(S("[a-￥ｚ]"), true), (std::vector<Tok>{T(tokLBra, '['), Rg('a', 0x829A), T(tokRBra, ']'), kEnd}));
}
