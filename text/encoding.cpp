#include "text/encoding.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "sjis/sjis.h"
#include "text/messages.h"
#include "text/sjis_tables.h"

namespace encoding {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
using tables::kNoSjis;

char16_t Single(unsigned char b) { return tables::kSingleToUnicode[b]; }
char16_t Double(unsigned char lead, unsigned char second) {
  return tables::kDoubleToUnicode[tables::LeadRow(lead) * 256 + second];
}
std::uint16_t Encode(char16_t u) { return tables::kUnicodeToSjis[u]; }

// Writes a packed table entry (see sjis_tables.h) and returns its length.
inline std::size_t PutPacked(char* out, std::uint32_t packed) {
  out[0] = static_cast<char>(packed);
  out[1] = static_cast<char>(packed >> 8);
  out[2] = static_cast<char>(packed >> 16);
  return packed >> 24;
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i and advances i; returns false for a
// malformed, overlong or surrogate sequence or a code point above U+10FFFF.
bool NextUtf8(std::string_view s, std::size_t& i, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int length;
  char32_t min;
  if (b0 < 0x80) {
    c = b0;
    ++i;
    return true;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, c = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, c = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    return false;
  }
  if (s.size() - i < static_cast<std::size_t>(length)) return false;
  for (int k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    c = c << 6 | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += length;
  return true;
}

[[noreturn]] void ThrowUnencodable(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  throw EEncodingError(std::string(sjis_text::kTextCharacter) + " " + code + " " +
                       std::string(sjis_text::kTextNoShiftJisForm));
}

}  // namespace

TDecoded DecodeSjis(std::string_view sjis) {
  TDecoded d;
  d.Text.reserve(sjis.size());
  d.Offsets.resize(sjis.size() + 1);
  std::size_t i = 0;
  while (i < sjis.size()) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    const int index = static_cast<int>(d.Text.size());
    char16_t u;
    if (IsDBCSLeadByte(b)) {
      if (i + 1 < sjis.size()) {
        u = Double(b, static_cast<unsigned char>(sjis[i + 1]));
        d.Offsets[i++] = index;
      } else {
        u = kReplacement;
      }
    } else {
      u = Single(b);
    }
    d.Offsets[i++] = index;
    d.Text += u;
  }
  d.Offsets[sjis.size()] = static_cast<int>(d.Text.size());
  return d;
}

char16_t CodeToUnicode(TCharCode code) {
  if (code <= 0xFF) return Single(static_cast<unsigned char>(code));
  const auto lead = static_cast<unsigned char>(code >> 8);
  return IsDBCSLeadByte(lead) ? Double(lead, static_cast<unsigned char>(code)) : kReplacement;
}

std::u16string SjisToUtf16(std::string_view sjis) { return DecodeSjis(sjis).Text; }

std::size_t SjisToUtf16(std::string_view sjis, char16_t* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(sjis.data());
  const std::size_t n = sjis.size();
  char16_t* const start = out;
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b = in[i];
    if (!IsDBCSLeadByte(b)) {
      *out++ = Single(b);
      ++i;
    } else if (i + 1 < n) {
      *out++ = Double(b, in[i + 1]);
      i += 2;
    } else {
      *out++ = kReplacement;  // a lead byte that ends the text
      ++i;
    }
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t SjisToUtf8(std::string_view sjis, char* out) {
  const auto* in = reinterpret_cast<const unsigned char*>(sjis.data());
  const std::size_t n = sjis.size();
  char* const start = out;
  std::size_t i = 0;
  while (i < n) {
    // Runs of ASCII are copied eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, in + i, 8);
      if ((word & 0x8080808080808080ull) != 0) break;
      std::memcpy(out, &word, 8);
      out += 8;
      i += 8;
    }
    if (i == n) break;
    const unsigned char b = in[i];
    if (b < 0x80) {
      *out++ = static_cast<char>(b);
      ++i;
    } else if (!IsDBCSLeadByte(b)) {
      out += PutPacked(out, tables::kSingleToUtf8[b]);
      ++i;
    } else if (i + 1 < n) {
      out += PutPacked(out, tables::kDoubleToUtf8[tables::LeadRow(b) * 256 + in[i + 1]]);
      i += 2;
    } else {
      out += PutPacked(out, tables::kSingleToUtf8[b]);  // a lead byte that ends the text
      ++i;
    }
  }
  return static_cast<std::size_t>(out - start);
}

void AppendSjisAsUtf8(std::string& out, std::string_view sjis) {
  const std::size_t old = out.size();
  out.resize(old + sjis.size() * kMaxUtf8PerSjisByte);
  out.resize(old + SjisToUtf8(sjis, out.data() + old));
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  AppendSjisAsUtf8(out, sjis);
  return out;
}

TEncoded EncodeSjisLossy(std::u16string_view text) {
  TEncoded e;
  e.Bytes.reserve(text.size() * 2);
  e.Offsets.resize(text.size() + 1);
  for (std::size_t k = 0; k < text.size(); ++k) {
    e.Offsets[k] = static_cast<int>(e.Bytes.size());
    const char16_t u = text[k];
    if (IsHighSurrogate(u) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      e.Offsets[++k] = static_cast<int>(e.Bytes.size());
      e.Bytes += '?';
      continue;
    }
    const std::uint16_t code = Encode(u);
    if (code == kNoSjis) {
      e.Bytes += '?';
    } else {
      AppendCode(e.Bytes, code);
    }
  }
  e.Offsets[text.size()] = static_cast<int>(e.Bytes.size());
  return e;
}

std::string Utf16ToSjis(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t u = text[k];
    if (IsHighSurrogate(u) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      ThrowUnencodable(0x10000 + ((u - 0xD800) << 10) + (text[k + 1] - 0xDC00));
    }
    const std::uint16_t code = Encode(u);
    if (code == kNoSjis) ThrowUnencodable(u);
    AppendCode(out, code);
  }
  return out;
}

std::string Utf8ToSjis(std::string_view utf8) { return Utf16ToSjis(Utf8ToUtf16(utf8)); }

std::string Sjis(std::string_view utf8) {
  try {
    return Utf8ToSjis(utf8);
  } catch (const EEncodingError&) {
    throw std::logic_error("fixed text has no Shift-JIS form: " + std::string(utf8));
  }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    if (!NextUtf8(utf8, i, c)) throw EEncodingError(std::string(sjis_text::kTextBadUtf8));
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t u = text[k];
    if (IsHighSurrogate(u) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[++k] - 0xDC00));
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  char32_t c;
  while (i < bytes.size()) {
    if (!NextUtf8(bytes, i, c)) return false;
  }
  return true;
}

std::u16string FileNameToUtf16(std::string_view onDiskName) {
  return IsValidUtf8(onDiskName) ? Utf8ToUtf16(onDiskName) : SjisToUtf16(onDiskName);
}

std::string FileNameToSjis(std::string_view onDiskName) {
  return IsValidUtf8(onDiskName) ? EncodeSjisLossy(Utf8ToUtf16(onDiskName)).Bytes : std::string(onDiskName);
}

}  // namespace encoding
