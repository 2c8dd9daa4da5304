// The terminal's character set, from the locale (nl_langinfo(CODESET)):
// patterns arrive in it, and lines and messages leave in it.
#pragma once

#include <string>
#include <string_view>

enum class TCharset { Utf8, Sjis, Other };

// The character set of the locale set by setlocale(LC_ALL, "").
TCharset LocaleCharset();

// A pattern as the engine's Shift-JIS: as it is in a Shift-JIS locale; in any
// other, converted from UTF-8 when it is valid UTF-8, else taken as Shift-JIS
// bytes.  Raises encoding::EEncodingError for a character without a
// Shift-JIS form.
std::string PatternToSjis(const std::string& pattern, TCharset charset);

// An engine message (Shift-JIS) in the terminal's character set.
std::string MessageForTerminal(std::string_view sjis, TCharset charset);
