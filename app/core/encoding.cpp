#include "core/encoding.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "sjis.h"

namespace encoding {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
// Marks a table entry without a conversion.  U+FFFF is a noncharacter that
// code page 932 never produces, and 0xFFFF is no Shift-JIS code (0xFF is not
// a lead byte).
constexpr char16_t kNoUnicode = 0xFFFF;
constexpr std::uint16_t kNoSjis = 0xFFFF;

class TIconv {
 public:
  TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~TIconv() { iconv_close(FHandle); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // Converts all of input; returns false unless every byte was consumed.
  bool Convert(const unsigned char* input, std::size_t length, std::string& output) {
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    char in[4];
    for (std::size_t i = 0; i < length; ++i) in[i] = static_cast<char>(input[i]);
    char out[16];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = length;
    std::size_t outLeft = sizeof out;
    const std::size_t r = iconv(FHandle, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    output.assign(out, static_cast<std::size_t>(outPtr - out));
    return true;
  }

 private:
  iconv_t FHandle;
};

// One UTF-16 unit from exactly two little-endian bytes, or kNoUnicode.
char16_t SingleUnit(const std::string& utf16le) {
  if (utf16le.size() != 2) return kNoUnicode;
  const auto lo = static_cast<unsigned char>(utf16le[0]);
  const auto hi = static_cast<unsigned char>(utf16le[1]);
  return static_cast<char16_t>(hi << 8 | lo);
}

// The conversion tables, filled a row of 256 codes at a time on first use:
// a row costs 256 conversions by iconv, and most runs meet few rows (a
// command-line search converts its pattern and its hits, nothing more).
// Rows are built under a lock, so that threads may share the tables.
class TTables {
 public:
  // Unicode of a byte that is not a lead byte.
  char16_t Single(unsigned char b) {
    return Row(
        FSingleReady, 0, [this](unsigned) { BuildSingle(); }, FSingle)[b];
  }
  // Unicode of a lead byte and its second byte.
  char16_t Double(unsigned char lead, unsigned char second) {
    return Row(
        FDoubleReady[lead], lead, [this](unsigned r) { BuildDouble(r); }, FDouble)[second];
  }
  // Shift-JIS code of a UTF-16 unit: a single byte b as b, a pair as
  // lead * 256 + second.
  std::uint16_t Encode(char16_t u) {
    return Row(
        FEncodeReady[u >> 8], u >> 8, [this](unsigned r) { BuildEncode(r); }, FEncode)[u & 0xFF];
  }

 private:
  template <typename T, typename Build>
  const T* Row(std::atomic<bool>& ready, unsigned row, Build build, const std::vector<T>& table) {
    if (!ready.load(std::memory_order_acquire)) {
      const std::lock_guard<std::mutex> lock(FLock);
      if (!ready.load(std::memory_order_relaxed)) {
        build(row);
        ready.store(true, std::memory_order_release);
      }
    }
    return &table[row * 256];
  }

  TIconv& Decoder() {
    if (!FDecoder) FDecoder = std::make_unique<TIconv>("UTF-16LE", "CP932");
    return *FDecoder;
  }
  TIconv& Encoder() {
    if (!FEncoder) FEncoder = std::make_unique<TIconv>("CP932", "UTF-16LE");
    return *FEncoder;
  }

  void BuildSingle() {
    std::string out;
    for (unsigned b = 0; b < 256; ++b) {
      const auto byte = static_cast<unsigned char>(b);
      if (!IsDBCSLeadByte(byte) && Decoder().Convert(&byte, 1, out)) FSingle[b] = SingleUnit(out);
    }
  }

  void BuildDouble(unsigned lead) {
    if (!IsDBCSLeadByte(static_cast<unsigned char>(lead))) return;
    std::string out;
    for (unsigned second = 0; second < 256; ++second) {
      const unsigned char pair[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(second)};
      if (Decoder().Convert(pair, 2, out)) FDouble[lead * 256 + second] = SingleUnit(out);
    }
  }

  void BuildEncode(unsigned high) {
    if (high >= 0xD8 && high <= 0xDF) return;  // surrogates
    std::string out;
    for (unsigned low = 0; low < 256; ++low) {
      const unsigned char unit[2] = {static_cast<unsigned char>(low), static_cast<unsigned char>(high)};
      if (!Encoder().Convert(unit, 2, out)) continue;
      const unsigned u = high << 8 | low;
      if (out.size() == 1) {
        FEncode[u] = static_cast<unsigned char>(out[0]);
      } else if (out.size() == 2 && IsDBCSLeadByte(static_cast<unsigned char>(out[0]))) {
        FEncode[u] =
            static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
      }
    }
  }

  std::mutex FLock;
  std::unique_ptr<TIconv> FDecoder;
  std::unique_ptr<TIconv> FEncoder;
  std::atomic<bool> FSingleReady{false};
  std::vector<char16_t> FSingle = std::vector<char16_t>(256, kNoUnicode);
  std::array<std::atomic<bool>, 256> FDoubleReady{};
  std::vector<char16_t> FDouble = std::vector<char16_t>(0x10000, kNoUnicode);
  std::array<std::atomic<bool>, 256> FEncodeReady{};
  std::vector<std::uint16_t> FEncode = std::vector<std::uint16_t>(0x10000, kNoSjis);
};

TTables& Tables() {
  static TTables tables;
  return tables;
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
  throw EEncodingError(Sjis(std::string("文字 ") + code + " はShift-JISで表せません"));
}

}  // namespace

TDecoded DecodeSjis(std::string_view sjis) {
  TTables& t = Tables();
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
        u = t.Double(b, static_cast<unsigned char>(sjis[i + 1]));
        d.Offsets[i++] = index;
      } else {
        u = kNoUnicode;
      }
    } else {
      u = t.Single(b);
    }
    d.Offsets[i++] = index;
    d.Text += u == kNoUnicode ? kReplacement : u;
  }
  d.Offsets[sjis.size()] = static_cast<int>(d.Text.size());
  return d;
}

std::u16string SjisToUtf16(std::string_view sjis) { return DecodeSjis(sjis).Text; }

std::string SjisToUtf8(std::string_view sjis) { return Utf16ToUtf8(SjisToUtf16(sjis)); }

TEncoded EncodeSjisLossy(std::u16string_view text) {
  TTables& t = Tables();
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
    const std::uint16_t code = t.Encode(u);
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
  TTables& t = Tables();
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t u = text[k];
    if (IsHighSurrogate(u) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      ThrowUnencodable(0x10000 + ((u - 0xD800) << 10) + (text[k + 1] - 0xDC00));
    }
    const std::uint16_t code = t.Encode(u);
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
    if (!NextUtf8(utf8, i, c)) throw EEncodingError(Sjis("不正なUTF-8の文字列です"));
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
