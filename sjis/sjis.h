// Shift-JIS characters as 16-bit codes.
//
// A single byte b is the code b; a lead byte followed by any second byte is
// the code lead * 256 + trail; 0 means "no more characters".  Positions are
// 1-based byte indexes into a string and name the next byte to read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using TCharCode = std::uint16_t;

// The Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsDBCSLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The byte length of the character that starts at s[i]: 2 for a lead byte
// with a byte after it to pair with, else 1.
constexpr std::size_t CharLength(std::string_view s, std::size_t i) {
  return IsDBCSLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Whether s ends in a lead byte that has no byte after it to pair with: the
// last run of bytes that can be lead bytes is of odd length.
constexpr bool EndsInLoneLeadByte(std::string_view s) {
  std::size_t run = 0;
  while (run < s.size() && IsDBCSLeadByte(static_cast<unsigned char>(s[s.size() - 1 - run]))) ++run;
  return run % 2 == 1;
}

// Tells which places of a text start a character, reading the bytes before
// them: a byte that cannot be a lead byte always ends a character (alone, or
// as a second byte), so the bytes after it that can be lead bytes pair up
// from there, and an odd number of them leaves the last one a lead byte
// whose second byte stands at the place.  A long run of such bytes is walked
// forward instead, from a known character start that then moves up, so that
// places asked for in ascending order cost time linear in the text in all.
class TCharacterStarts {
 public:
  // known: a character start at or before every place that will be asked.
  explicit TCharacterStarts(const unsigned char* p, std::size_t known = 0) : P(p), Known(known) {}

  bool At(std::size_t at) {
    // Below Known only a second byte can be asked (Known moved up to the
    // first start after an earlier place).
    if (at < Known) return false;
    std::size_t k = 0;
    while (at - k > Known && IsDBCSLeadByte(P[at - 1 - k])) {
      if (++k == kLongRun) {
        const std::size_t from = Known;
        while (Known < at) Known += IsDBCSLeadByte(P[Known]) ? 2 : 1;
        BytesRead += kLongRun + (Known - from);
        return Known == at;
      }
    }
    BytesRead += k + 1;
    return k % 2 == 0;
  }

  // The bytes that the objects of this thread have read (roughly): a
  // measure of their work, which tests hold to the length of the text.
  static inline thread_local std::uint64_t BytesRead = 0;

 private:
  static constexpr std::size_t kLongRun = 64;
  const unsigned char* P;
  std::size_t Known;
};

// Reads the character at Position and advances Position past it.  Returns 0
// without moving when Position is past the end; a zero byte reads as 0 and is
// consumed.  A lead byte that is the last byte raises ERegExpParser with the
// double-byte message and the lead byte's position.
TCharCode NextChar(const std::string& s, int& position);

// Steps Position back over the character read last, deciding whether the byte
// two places back is a lead byte by classifying the string from its start.
void UngetChar(const std::string& s, int& position);

// True when the byte at 0-based index i of s is the lead byte of a
// double-byte character, classifying from the start of s.
bool IsLeadByteInContext(const std::string& s, std::size_t i);

// Whether text can hold the code, read back from the bytes AppendCode writes
// for it: not 0 (the end), not a lead byte on its own, and for a two-byte
// code a lead byte first.
constexpr bool IsTextCode(TCharCode code) {
  return code > 0xFF ? IsDBCSLeadByte(static_cast<unsigned char>(code >> 8))
                     : code != 0 && !IsDBCSLeadByte(static_cast<unsigned char>(code));
}

// Appends the code as one byte (codes up to 0xFF) or two bytes, high first.
void AppendCode(std::string& s, TCharCode code);

// Lowers (raises) the single-byte ASCII letters of a Shift-JIS string and
// steps over double-byte characters whole, so no trail byte is ever changed
// (a byte-wise conversion would turn one Japanese character into another).
std::string AsciiLowerSjis(std::string_view s);
std::string AsciiUpperSjis(std::string_view s);
