// Readable Japanese test texts: UTF-8 literals converted to the Shift-JIS
// bytes that the engine works on, and the engine's expected messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The Shift-JIS (code page 932) bytes of a UTF-8 text.  Throws when the text
// has no such form, which fails the running test.
std::string S(std::string_view utf8);

// The 16-bit code of the one character that a UTF-8 text holds: lead * 256 +
// trail for a double-byte character, the byte for a single-byte one.
std::uint16_t Code(std::string_view utf8);

// Printable form of Shift-JIS bytes for failure messages ("a\x82\xA0").
std::string Hex(std::string_view bytes);

// The messages that the engine raises, as the Shift-JIS bytes it carries.
namespace expected {
extern const std::string kBadDoubleByte;
extern const std::string kRightBracket;
extern const std::string kBadRange;
extern const std::string kBadHex;
extern const std::string kBadOctal;
extern const std::string kEscapeAtEnd;
extern const std::string kExtraCharacters;
extern const std::string kRightParen;
extern const std::string kCharOrLeftParen;
extern const std::string kBadCharClass;
extern const std::string kTooComplex;
}  // namespace expected
