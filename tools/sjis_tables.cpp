// sjis_tables: writes the Shift-JIS (code page 932) <-> Unicode tables as a
// C++ source file, from the build machine's iconv, so that the programs
// carry them and need no conversion module at run time.
//
//   sjis_tables OUTPUT.cpp
//
// The tables (declared in text/sjis_tables.h):
// - kSingleToUnicode[256]: the Unicode of a byte that is not a lead byte;
// - kDoubleToUnicode[kLeadCount * 256]: the Unicode of a lead byte and the
//   byte after it, one row of 256 per lead byte in ascending order;
// - kSingleToUtf8, kDoubleToUtf8: the same characters as UTF-8, packed
//   (bytes in bits 0-23, first byte lowest; the length in bits 24-31);
// - kUnicodeToSjis[65536]: the Shift-JIS code of a UTF-16 unit (a single
//   byte b as b, a pair as lead * 256 + second), 0xFFFF when there is none.
// A code that code page 932 does not define decodes to U+FFFD.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr unsigned kReplacement = 0xFFFD;
constexpr unsigned kNoSjis = 0xFFFF;

bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class TIconv {
 public:
  TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  }
  ~TIconv() { iconv_close(FHandle); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  // The conversion of exactly these bytes, each time from the initial state;
  // false unless every byte was consumed.
  bool Convert(const std::string& input, std::string& output) {
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    std::string in = input;
    char out[16];
    char* inPtr = in.data();
    char* outPtr = out;
    std::size_t inLeft = in.size();
    std::size_t outLeft = sizeof out;
    const std::size_t r = iconv(FHandle, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    output.assign(out, static_cast<std::size_t>(outPtr - out));
    return true;
  }

 private:
  iconv_t FHandle;
};

// The one UTF-16 unit of a conversion to UTF-16LE, or U+FFFD when the bytes
// have none or need more than one unit.
unsigned Unicode(TIconv& decoder, const std::string& sjis) {
  std::string out;
  if (!decoder.Convert(sjis, out) || out.size() != 2) return kReplacement;
  return static_cast<unsigned char>(out[1]) << 8 | static_cast<unsigned char>(out[0]);
}

std::uint32_t PackedUtf8(unsigned u) {
  if (u < 0x80) return 1u << 24 | u;
  if (u < 0x800) return 2u << 24 | (0x80 | (u & 0x3F)) << 8 | (0xC0 | u >> 6);
  return 3u << 24 | (0x80 | (u & 0x3F)) << 16 | (0x80 | (u >> 6 & 0x3F)) << 8 | (0xE0 | u >> 12);
}

void WriteTable(std::ostream& out, const char* type, const char* name, const std::vector<std::uint32_t>& values,
                int digits) {
  out << "extern const " << type << " " << name << "[" << values.size() << "];\n";
  out << "const " << type << " " << name << "[" << values.size() << "] = {";
  for (std::size_t i = 0; i < values.size(); ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X,", digits, static_cast<unsigned>(values[i]));
    out << (i % 16 == 0 ? "\n" : "") << buf;
  }
  out << "\n};\n\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: sjis_tables OUTPUT.cpp\n";
    return 2;
  }
  try {
    TIconv decoder("UTF-16LE", "CP932");
    TIconv encoder("CP932", "UTF-16LE");

    std::vector<std::uint32_t> single(256), singleUtf8(256), doubles, doublesUtf8;
    for (unsigned b = 0; b < 256; ++b) {
      single[b] = IsLead(b) ? kReplacement : Unicode(decoder, std::string(1, static_cast<char>(b)));
      singleUtf8[b] = PackedUtf8(single[b]);
    }
    // The UTF-8 writer copies ASCII bytes without looking them up.
    for (unsigned b = 0; b < 0x80; ++b)
      if (single[b] != b) throw std::runtime_error("code page 932 does not map ASCII to itself");
    for (unsigned lead = 0; lead < 256; ++lead) {
      if (!IsLead(lead)) continue;
      for (unsigned second = 0; second < 256; ++second) {
        const unsigned u = Unicode(decoder, {static_cast<char>(lead), static_cast<char>(second)});
        doubles.push_back(u);
        doublesUtf8.push_back(PackedUtf8(u));
      }
    }

    std::vector<std::uint32_t> encode(0x10000, kNoSjis);
    for (unsigned u = 0; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;  // surrogates
      std::string out;
      if (!encoder.Convert({static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)}, out)) continue;
      if (out.size() == 1)
        encode[u] = static_cast<unsigned char>(out[0]);
      else if (out.size() == 2 && IsLead(static_cast<unsigned char>(out[0])))
        encode[u] = static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]);
    }

    std::ostringstream text;
    text << "// Generated by sjis_tables from the build machine's iconv (CP932); do not edit.\n"
         << "#include \"text/sjis_tables.h\"\n\nnamespace encoding::tables {\n\n";
    WriteTable(text, "char16_t", "kSingleToUnicode", single, 4);
    WriteTable(text, "char16_t", "kDoubleToUnicode", doubles, 4);
    WriteTable(text, "std::uint32_t", "kSingleToUtf8", singleUtf8, 8);
    WriteTable(text, "std::uint32_t", "kDoubleToUtf8", doublesUtf8, 8);
    WriteTable(text, "std::uint16_t", "kUnicodeToSjis", encode, 4);
    text << "}  // namespace encoding::tables\n";
    std::ofstream o(argv[1], std::ios::binary);
    o << text.str();
    return o ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "sjis_tables: " << e.what() << "\n";
    return 1;
  }
}
