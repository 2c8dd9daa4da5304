// Shift-JIS characters as 16-bit codes.
//
// A single byte b is the code b; a lead byte followed by any second byte is
// the code lead * 256 + trail; 0 means "no more characters".  Positions are
// 1-based byte indexes into a string and name the next byte to read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using TCharCode = std::uint16_t;

// The Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsDBCSLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

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
