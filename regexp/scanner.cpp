#include "regexp/scanner.h"

#include "regexp/messages.h"
#include "sjis/exceptions.h"

namespace {

[[noreturn]] void Fail(std::string_view message, int position) {
  throw ERegExpParser(std::string(message), static_cast<std::uint16_t>(position));
}

// NextChar returns 0 both for a zero byte and past the end; only the latter
// ends the pattern (a zero byte stays an ordinary character).
bool AtEnd(const std::string& pattern, int position, TCharCode c) {
  return c == 0 && position > static_cast<int>(pattern.size());
}

// Puts back the character just read unless the pattern had ended.
void PutBack(const std::string& pattern, int& position, TCharCode c) {
  if (!AtEnd(pattern, position, c)) UngetChar(pattern, position);
}

// Reads up to four hexadecimal digits after "x".
TCharCode ReadHexCode(const std::string& pattern, int& position) {
  unsigned value = 0;
  for (int count = 0; count < 4; ++count) {
    const TCharCode c = NextChar(pattern, position);
    const int digit = HexDigitValue(c);
    if (digit < 0) {
      if (count == 0) Fail(sjis_text::kMsgBadHex, position);
      PutBack(pattern, position, c);
      return static_cast<TCharCode>(value);
    }
    value = value * 16 + static_cast<unsigned>(digit);
  }
  // A fifth character is read and put back, unless the pattern ended.
  PutBack(pattern, position, NextChar(pattern, position));
  return static_cast<TCharCode>(value);
}

// Reads up to six octal digits; the value must stay within 16 bits.
TCharCode ReadOctCode(const std::string& pattern, int& position) {
  unsigned value = 0;
  for (int count = 0; count < 6; ++count) {
    const TCharCode c = NextChar(pattern, position);
    const int digit = OctDigitValue(c);
    if (digit < 0) {
      PutBack(pattern, position, c);
      return static_cast<TCharCode>(value);
    }
    value = value * 8 + static_cast<unsigned>(digit);
    if (value > 0xFFFF) Fail(sjis_text::kMsgBadOctal, position);
  }
  PutBack(pattern, position, NextChar(pattern, position));
  return static_cast<TCharCode>(value);
}

}  // namespace

int HexDigitValue(TCharCode code) {
  using namespace fullwidth;
  if (code >= '0' && code <= '9') return code - '0';
  if (code >= 'A' && code <= 'F') return code - 'A' + 10;
  if (code >= 'a' && code <= 'f') return code - 'a' + 10;
  if (code >= kDigit0 && code <= kDigit9) return code - kDigit0;
  if (code >= kUpperA && code <= kUpperF) return code - kUpperA + 10;
  if (code >= kLowerA && code <= kLowerF) return code - kLowerA + 10;
  return -1;
}

int OctDigitValue(TCharCode code) {
  using namespace fullwidth;
  if (code >= '0' && code <= '7') return code - '0';
  if (code >= kDigit0 && code <= kDigit7) return code - kDigit0;
  return -1;
}

TCharCode ReadEscape(const std::string& pattern, int& position, bool acceptDBMeta) {
  using namespace fullwidth;
  const TCharCode e = NextChar(pattern, position);
  if (AtEnd(pattern, position, e)) Fail(sjis_text::kMsgEscapeAtEnd, position);
  auto letter = [&](char ascii, TCharCode wide) {
    return e == static_cast<TCharCode>(ascii) || (acceptDBMeta && e == wide);
  };
  if (letter('b', kLetterB)) return 8;
  if (letter('r', kLetterR)) return 13;
  if (letter('n', kLetterN)) return 10;
  if (letter('t', kLetterT)) return 9;
  if (letter('x', kLetterX)) return ReadHexCode(pattern, position);
  if (OctDigitValue(e) >= 0) {
    UngetChar(pattern, position);
    return ReadOctCode(pattern, position);
  }
  return e;
}

TScanner::TScanner(std::string pattern, bool acceptDBMeta) : Pattern(std::move(pattern)), AcceptDBMeta(acceptDBMeta) {}

bool TScanner::IsEscape(TCharCode c) const { return c == '\\' || (AcceptDBMeta && c == fullwidth::kYen); }
bool TScanner::IsRBracket(TCharCode c) const { return c == ']' || (AcceptDBMeta && c == fullwidth::kRBracket); }
bool TScanner::IsDash(TCharCode c) const { return c == '-' || (AcceptDBMeta && c == fullwidth::kMinus); }

void TScanner::MissingBracket() const { Fail(sjis_text::kMsgRightBracket, Position); }

TToken TScanner::GetToken() {
  using namespace fullwidth;
  Code = NextChar(Pattern, Position);
  CodeTo = 0;
  if (AtEnd(Pattern, Position, Code)) return Token = tokEnd;
  auto is = [&](char ascii, TCharCode wide) {
    return Code == static_cast<TCharCode>(ascii) || (AcceptDBMeta && Code == wide);
  };
  if (is('$', kDollar)) return Token = tokLTail;
  if (is('(', kLPar)) return Token = tokLPar;
  if (is(')', kRPar)) return Token = tokRPar;
  if (is('*', kStar)) return Token = tokStar;
  if (is('+', kPlus)) return Token = tokPlus;
  if (is('.', kPeriod)) return Token = tokDot;
  if (is('?', kQuestion)) return Token = tokQMark;
  if (is('|', kBar)) return Token = tokUnion;
  if (is(']', kRBracket)) return Token = tokRBra;
  if (is('^', kCaret)) return Token = tokLHead;
  if (is('[', kLBracket)) {
    const TCharCode c = NextChar(Pattern, Position);
    if (AtEnd(Pattern, Position, c)) MissingBracket();
    if (c == '^' || (AcceptDBMeta && c == kCaret)) return Token = tokNegLBra;
    UngetChar(Pattern, Position);
    return Token = tokLBra;
  }
  if (IsEscape(Code)) {
    Code = ReadEscape(Pattern, Position, AcceptDBMeta);
    return Token = tokChar;
  }
  return Token = tokChar;
}

TToken TScanner::GetClassToken() {
  const auto atEnd = [&](TCharCode c) { return AtEnd(Pattern, Position, c); };
  TCharCode a = NextChar(Pattern, Position);
  if (atEnd(a)) MissingBracket();
  CodeTo = 0;
  if (IsRBracket(a)) {
    Code = a;
    return Token = tokRBra;
  }
  if (IsEscape(a)) a = ReadEscape(Pattern, Position, AcceptDBMeta);
  Code = a;
  const TCharCode c = NextChar(Pattern, Position);
  if (atEnd(c)) MissingBracket();
  if (IsDash(c)) {
    TCharCode d = NextChar(Pattern, Position);
    if (atEnd(d)) MissingBracket();
    if (IsRBracket(d)) {
      UngetChar(Pattern, Position);
      UngetChar(Pattern, Position);
      return Token = tokChar;
    }
    if (IsEscape(d)) d = ReadEscape(Pattern, Position, AcceptDBMeta);
    CodeTo = d;
    if (d < a) Fail(sjis_text::kMsgBadRange, Position);
    return Token = tokRange;
  }
  UngetChar(Pattern, Position);
  return Token = tokChar;
}
