// The escapes and the pattern scanner, as a table of patterns and the tokens
// they scan to (written as text, see Scan); the parser's table holds the
// scanner's errors.
#include "regexp/scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "sjis/exceptions.h"
#include "sjis/sjis.h"
#include "support/sjis_literals.h"

namespace {

// A code as text: its own bytes where it is a character text can hold and
// not a control or space, else '#' and its value in hex.
std::string Chr(TCharCode c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%x", c);
  std::string s;
  AppendCode(s, c);
  return !IsTextCode(c) || c <= 0x20 || c == 0x7F ? buf : s;
}

// The tokens of a pattern, scanned as the parser drives the scanner (class
// tokens between brackets), as text: a character as Chr, a range as "a-z",
// any other token in angle brackets ("<[^>" a negated opening bracket).
std::string Scan(const std::string& pattern, bool dbMeta = false) {
  TScanner scanner(pattern, dbMeta);
  std::string out;
  bool inClass = false;
  for (std::size_t guard = 0; guard <= pattern.size() + 2; ++guard) {
    const TToken t = inClass ? scanner.GetClassToken() : scanner.GetToken();
    EXPECT_EQ(t, scanner.Token);
    if (t == tokEnd) return out;
    if (!out.empty()) out += ' ';
    out += t == tokChar    ? Chr(scanner.Code)
           : t == tokRange ? Chr(scanner.Code) + "-" + Chr(scanner.CodeTo)
                           : "<" + Chr(scanner.Code) + (t == tokNegLBra ? "^>" : ">");
    inClass = t == tokLBra || t == tokNegLBra || (inClass && t != tokRBra);
  }
  ADD_FAILURE() << "scanner does not reach the end of " << Hex(pattern.substr(0, 80));
  return out;
}

// The Shift-JIS form of a UTF-8 pattern; bytes that are no UTF-8 (a lone
// lead byte) as they are.
std::string Sjis(const std::string& pattern) {
  try {
    return S(pattern);
  } catch (const std::invalid_argument&) {
    return pattern;
  }
}

}  // namespace

TEST(Scanner, PatternsScanToTokens) {
  struct TCase {
    std::string Pattern;  // UTF-8, converted
    bool DBMeta;
    std::string Tokens;  // UTF-8, converted
  };
  const std::vector<TCase> cases{
      // escape letters, hexadecimal (up to four digits), octal (up to six);
      // full-width letters, digits and the full-width yen only with
      // AcceptDBMeta; the character after the digits is put back whole
      {"\\b\\r\\n\\t\\x41\\x4g\\x0a\\xＡ\\x０４１", false, "#8 #d #a #9 A #4 g #a #a A"},
      {"\\ｂ\\ｒ\\ｎ\\ｔ\\ｘ４１￥n￥＊", true, "#8 #d #a #9 A #a ＊"},
      {"\\ｘ４１￥n", false, "ｘ ４ １ ￥ n"},
      {"\\x41424\\xFFFFF\\x41あ\\x4142あ", false, "#4142 4 #ffff F A あ #4142 あ"},
      {"\\08\\177777\\1000000\\1011\\１０１\\1０1", false, "#0 8 #ffff #8000 0 #209 A A"},
      // every digit at the edge of its run, and the codes beside the runs
      {"\\x0\\x9\\xA\\xF\\xa\\xf\\x０\\x９\\xＡ\\xＦ\\xａ\\xｆ\\x1/\\x1:\\x1@\\x1G\\x1`\\x1g\\x1Ｇ\\x1ｇ\\x1＠\\x1／",
       false, "#0 #9 #a #f #a #f #0 #9 #a #f #a #f #1 / #1 : #1 @ #1 G #1 ` #1 g #1 Ｇ #1 ｇ #1 ＠ #1 ／"},
      {"\\0\\7\\０\\７\\1８\\1/", false, "#0 #7 #0 #7 #1 ８ #1 /"},
      // other escaped characters stand for themselves
      {"\\.\\\\\\q\\9\\8\\あ", false, ". \\ q 9 8 あ"},
      {"\\*\\+\\?\\(\\)\\[\\]\\|\\^\\$", false, "* + ? ( ) [ ] | ^ $"},
      // metacharacters, full-width ones only with AcceptDBMeta
      {"$()*+.?|]^", false, "<$> <(> <)> <*> <+> <.> <?> <|> <]> <^>"},
      {"＄（）＊＋．？｜］＾", true, "<＄> <（> <）> <＊> <＋> <．> <？> <｜> <］> <＾>"},
      {"＄（）＊＋．？｜］＾", false, "＄ （ ） ＊ ＋ ． ？ ｜ ］ ＾"},
      // opening brackets and negation; the character peeked at is put back whole
      {"[^a]", false, "<[^> a <]>"},
      {"［＾ａ］", true, "<［^> ａ <］>"},
      {"[＾a]", true, "<[^> a <]>"},
      {"[＾a]", false, "<[> ＾ a <]>"},
      {"［a］", false, "［ a ］"},
      // a zero byte is an ordinary character and does not move later boundaries
      {std::string("a\0b[\0]", 6), false, "a #0 b <[> #0 <]>"},
      {std::string("\0[", 2) + "あ-い]", false, "#0 <[> あ-い <]>"},
      // between brackets: ranges and dashes, escapes, ordinary metacharacters
      {"[a-z][a-][-a][--a][a-a]", false, "<[> a-z <]> <[> a - <]> <[> - a <]> <[> --a <]> <[> a-a <]>"},
      {"[\\]][\\-][a\\-z][\\]-a]", false, "<[> ] <]> <[> - <]> <[> a - z <]> <[> ]-a <]>"},
      {"[\\x41-\\x5A][a-\\x7a][\\n-\\r]", false, "<[> A-Z <]> <[> a-z <]> <[> #a-#d <]>"},
      {"[あ-ん][a-c-e][a-あ]", false, "<[> あ-ん <]> <[> a-c - e <]> <[> a-あ <]>"},
      {"[()*+?.^$[|]", false, "<[> ( ) * + ? . ^ $ [ | <]>"},
      {"[＊（．]", true, "<[> ＊ （ ． <]>"},
      {"[][^]", false, "<[> <]> <[^> <]>"},
      {"[ａ－ｚ]", true, "<[> ａ-ｚ <]>"},
      {"[ａ－ｚ]", false, "<[> ａ － ｚ <]>"},
      {"[ａ－］", true, "<[> ａ － <］>"},
      {"[a］]", false, "<[> a ］ <]>"},
      {"[￥］][a-￥ｚ]", true, "<[> ］ <]> <[> a-ｚ <]>"},
  };
  for (const TCase& c : cases) EXPECT_EQ(Scan(Sjis(c.Pattern), c.DBMeta), S(c.Tokens)) << c.Pattern;
}
