// The pattern scanner: cuts a Shift-JIS pattern into tokens for the parser.
//
// A double-byte character is one character.  Outside brackets the ASCII
// metacharacters are special, and with AcceptDBMeta their full-width forms
// are special too.  Between brackets only the closing bracket, the escape
// character and the range dash are special.  Every escape yields an ordinary
// character.
#pragma once

#include <cstdint>
#include <string>

#include "sjis/sjis.h"

enum TToken : std::uint8_t {
  tokChar = 0,  // an ordinary character in Code (also every escape)
  tokRange,     // between brackets: Code to CodeTo, both included
  tokUnion,
  tokLPar,
  tokRPar,
  tokStar,
  tokPlus,
  tokQMark,
  tokLBra,
  tokNegLBra,  // an opening bracket followed by a caret
  tokRBra,
  tokDot,
  tokLHead,
  tokLTail,
  tokEnd
};

// Full-width forms of the metacharacters and escape letters (Shift-JIS codes).
namespace fullwidth {
constexpr TCharCode kDollar = 0x8190;    // ＄
constexpr TCharCode kLPar = 0x8169;      // （
constexpr TCharCode kRPar = 0x816A;      // ）
constexpr TCharCode kStar = 0x8196;      // ＊
constexpr TCharCode kPlus = 0x817B;      // ＋
constexpr TCharCode kPeriod = 0x8144;    // ．
constexpr TCharCode kQuestion = 0x8148;  // ？
constexpr TCharCode kBar = 0x8162;       // ｜
constexpr TCharCode kRBracket = 0x816E;  // ］
constexpr TCharCode kLBracket = 0x816D;  // ［
constexpr TCharCode kYen = 0x818F;       // ￥ (the full-width escape character)
constexpr TCharCode kCaret = 0x814F;     // ＾
constexpr TCharCode kMinus = 0x817C;     // －
constexpr TCharCode kLetterB = 0x8282;   // ｂ
constexpr TCharCode kLetterR = 0x8292;   // ｒ
constexpr TCharCode kLetterN = 0x828E;   // ｎ
constexpr TCharCode kLetterT = 0x8294;   // ｔ
constexpr TCharCode kLetterX = 0x8298;   // ｘ
constexpr TCharCode kDigit0 = 0x824F;    // ０
constexpr TCharCode kDigit7 = 0x8256;    // ７
constexpr TCharCode kDigit9 = 0x8258;    // ９
constexpr TCharCode kUpperA = 0x8260;    // Ａ
constexpr TCharCode kUpperF = 0x8265;    // Ｆ
constexpr TCharCode kLowerA = 0x8281;    // ａ
constexpr TCharCode kLowerF = 0x8286;    // ｆ
}  // namespace fullwidth

// The digit's value, or -1 when the code is not such a digit.  Full-width
// digits (and full-width A-F, a-f for hexadecimal) count as digits.
int HexDigitValue(TCharCode code);
int OctDigitValue(TCharCode code);

// Reads an escape; Position stands just after the escape character.  Returns
// the code that the escape denotes.
TCharCode ReadEscape(const std::string& pattern, int& position, bool acceptDBMeta);

class TScanner {
 public:
  TScanner(std::string pattern, bool acceptDBMeta);

  // The next token outside brackets / between brackets.  Both store the token
  // in Token, Code and CodeTo and return it.
  TToken GetToken();
  TToken GetClassToken();

  std::string Pattern;
  int Position = 1;
  TToken Token = tokEnd;
  TCharCode Code = 0;
  TCharCode CodeTo = 0;
  bool AcceptDBMeta;

 private:
  bool IsEscape(TCharCode c) const;
  bool IsRBracket(TCharCode c) const;
  bool IsDash(TCharCode c) const;
  [[noreturn]] void MissingBracket() const;
};
