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
inline const std::string kBadDoubleByte = S("不正な２バイト文字コードです。");
inline const std::string kRightBracket = S("右ブラケット\"]\"が必要です");
inline const std::string kBadRange = S("不正なキャラクタ範囲です");
inline const std::string kBadHex = S("不正な１６進数コード表記です。");
inline const std::string kBadOctal = S("不正な８進数コード表記です。");
inline const std::string kEscapeAtEnd = S("\"\\\"の次には文字が必要です。");
inline const std::string kExtraCharacters = S("正規表現に余分な文字があります");
inline const std::string kRightParen = S("右(閉じ)括弧が必要です");
inline const std::string kCharOrLeftParen = S("普通の文字、または左括弧\"(\"が必要です");
inline const std::string kBadCharClass = S("不正なキャラクタクラス指定です。");
inline const std::string kTooComplex = S("正規表現が複雑すぎます。");
inline const std::string kLineFeed = S("行は改行を含みません (改行を含む、ゼロバイトで終わる行は -z で探せます)");
}  // namespace expected
