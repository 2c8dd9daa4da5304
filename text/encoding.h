// Conversion between Shift-JIS byte strings and Unicode text.
//
// This is the one place where the engine's Shift-JIS (code page 932) strings
// meet Unicode: the windows show UTF-16 text, file names on disk are usually
// UTF-8, and everything the engine reads and matches is Shift-JIS.  The tables
// behind the conversions are generated at build time from the build
// machine's iconv converter for code page 932 and compiled in (see
// sjis_tables.h), so nothing is loaded or built at run time.
//
// Characters are cut exactly as the engine cuts them: a lead byte (0x81-0x9F,
// 0xE0-0xFC) and whatever byte follows it form one character, and a lead byte
// that is the last byte is a character of its own.  A character that has no
// Unicode form decodes to one U+FFFD, so that the positions of the characters
// after it do not move.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sjis/exceptions.h"
#include "sjis/sjis.h"

namespace encoding {

// A text that cannot be converted to Shift-JIS (or is not valid UTF-8).  The
// message is Shift-JIS, like every message the user sees.
class EEncodingError : public Exception {
 public:
  using Exception::Exception;
};

// Decoded Shift-JIS text together with the map from byte index to UTF-16
// index.  Offsets has one entry per byte plus one: Offsets[i] is the index in
// Text of the character that contains byte i (both bytes of a pair give the
// same index), and the last entry is Text.size().  A byte range [b0, b1) on
// character boundaries is the UTF-16 range [Offsets[b0], Offsets[b1]).
struct TDecoded {
  std::u16string Text;
  std::vector<int> Offsets;
};
TDecoded DecodeSjis(std::string_view sjis);

std::u16string SjisToUtf16(std::string_view sjis);
// The same into a buffer: writes at most one UTF-16 unit per input byte to
// out and returns the number written, without building the offsets.
std::size_t SjisToUtf16(std::string_view sjis, char16_t* out);
std::string SjisToUtf8(std::string_view sjis);

// Shift-JIS straight to UTF-8 through a table, without a UTF-16 step: writes
// at most kMaxUtf8PerSjisByte bytes per input byte to out and returns the
// number written.  Characters are cut and replaced as DecodeSjis does, so
// pieces cut on character boundaries convert to the pieces of the whole.
inline constexpr std::size_t kMaxUtf8PerSjisByte = 3;
std::size_t SjisToUtf8(std::string_view sjis, char* out);
void AppendSjisAsUtf8(std::string& out, std::string_view sjis);

// Encoded UTF-16 text together with the map from UTF-16 index to byte index.
// Offsets has one entry per UTF-16 unit plus one: Offsets[k] is the byte index
// at which the character of unit k starts, and the last entry is Bytes.size().
// A character without a Shift-JIS form becomes "?"; a surrogate pair becomes
// one "?" and both of its units map to it.
struct TEncoded {
  std::string Bytes;
  std::vector<int> Offsets;
};
TEncoded EncodeSjisLossy(std::u16string_view text);

// The Unicode of one character code (see sjis.h): U+FFFD when code page 932
// defines none.
char16_t CodeToUnicode(TCharCode code);

// Strict conversions to Shift-JIS: a character without a Shift-JIS form, an
// unpaired surrogate or invalid UTF-8 raises EEncodingError.
std::string Utf16ToSjis(std::u16string_view text);
std::string Utf8ToSjis(std::string_view utf8);

// For fixed texts written in the sources (UTF-8): their Shift-JIS bytes.  A
// text that cannot be converted is a programming error (std::logic_error).
std::string Sjis(std::string_view utf8);

// Plain UTF-8 <-> UTF-16 conversions.  Utf8ToUtf16 raises EEncodingError for
// invalid UTF-8; Utf16ToUtf8 writes U+FFFD for an unpaired surrogate.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view bytes);

// File names on disk are bytes: UTF-8 on most systems, raw Shift-JIS when
// they come from an archive made on a Japanese Windows machine.  A name that
// is valid UTF-8 is taken as UTF-8, any other as Shift-JIS.
std::u16string FileNameToUtf16(std::string_view onDiskName);
// The name as Shift-JIS bytes; characters without a Shift-JIS form become "?".
std::string FileNameToSjis(std::string_view onDiskName);

// Lower-case (upper-case) only the single-byte letters "A"-"Z" ("a"-"z").
// Double-byte characters are stepped over whole, so a second byte that has
// the code of a letter is never changed.  The engine's own folding.
inline std::string AsciiLower(std::string_view sjis) { return AsciiLowerSjis(sjis); }
inline std::string AsciiUpper(std::string_view sjis) { return AsciiUpperSjis(sjis); }

}  // namespace encoding
