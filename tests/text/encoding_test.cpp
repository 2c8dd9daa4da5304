#include "text/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <thread>

#include "sjis/sjis.h"

using encoding::DecodeSjis;
using encoding::EncodeSjisLossy;
using encoding::Sjis;

namespace {

// What iconv makes of bytes as a whole (a fresh conversion each time), or
// nothing when it refuses them.
std::optional<std::string> Iconv(const char* to, const char* from, std::string in) {
  const iconv_t handle = iconv_open(to, from);
  char out[16], *inPtr = in.data(), *outPtr = out;
  std::size_t inLeft = in.size(), outLeft = sizeof out;
  const std::size_t r = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(handle);
  if (r == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(out, outPtr);
}

std::u16string FromUtf16le(const std::string& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i]));
  return text;
}

}  // namespace

// The tables are generated from iconv at build time; every code must come
// out as iconv converts it on its own (one replacement for a pair or byte
// without a character; a lead byte takes any second byte), from whichever
// thread, and the direct UTF-8 path must give the UTF-8 of the decoded text.
TEST(ConversionTables, EveryCodeConvertsAsIconvDoesAloneFromAnyThread) {
  std::vector<std::string> codes;  // every single byte and every pair
  for (int first = 0; first < 256; ++first) {
    const char lead = static_cast<char>(first);
    if (!IsDBCSLeadByte(static_cast<unsigned char>(first))) codes.push_back({lead});
    for (int second = 0; second < 256 && IsDBCSLeadByte(static_cast<unsigned char>(first)); ++second)
      codes.push_back({lead, static_cast<char>(second)});
  }
  std::vector<std::u16string> decoded(codes.size());
  // Two threads meet the rows at once, from both ends.
  std::thread other([&] {
    for (std::size_t i = 0; i < codes.size(); ++i) decoded[i] = DecodeSjis(codes[i]).Text;
  });
  for (std::size_t i = codes.size(); i-- > codes.size() / 2;) (void)DecodeSjis(codes[i]);
  other.join();
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const auto expected = Iconv("UTF-16LE", "CP932", codes[i]);
    const std::u16string unit = expected && expected->size() == 2 ? FromUtf16le(*expected) : u"\uFFFD";
    ASSERT_EQ(decoded[i], unit) << i;
    // A run of the code, long enough for the eight-byte copy of ASCII: its
    // text, and for every byte the character it belongs to.
    std::string run;
    std::u16string units;
    std::vector<int> offsets;
    for (int k = 0; k < 11; ++k) run += codes[i], units += unit;
    for (std::size_t k = 0; k <= run.size(); ++k) offsets.push_back(static_cast<int>(k / codes[i].size()));
    const encoding::TDecoded d = DecodeSjis(run);
    ASSERT_EQ(d.Text, units) << i;
    ASSERT_EQ(d.Offsets, offsets) << i;
    ASSERT_EQ(encoding::SjisToUtf16(run), units) << i;
    // Into a buffer, with the code's first byte once more at the end.
    std::u16string buffer(run.size() + 1, u'\0');
    buffer.resize(encoding::SjisToUtf16(run + codes[i].substr(0, 1), buffer.data()));
    ASSERT_EQ(buffer, units + (codes[i].size() == 2 ? u"\uFFFD" : unit)) << i;
    ASSERT_EQ(encoding::SjisToUtf8(run), encoding::Utf16ToUtf8(units)) << i;
    // A lead byte alone at the end is one character of its own.
    if (codes[i].size() == 2) {
      ASSERT_EQ(DecodeSjis("a" + codes[i].substr(0, 1)).Text, u"a\uFFFD") << i;
    }
  }
  for (unsigned u = 0xFFFF; u > 0; --u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const auto expected = Iconv("CP932", "UTF-16LE", {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)});
    const bool single = expected && expected->size() == 1;
    const bool pair = expected && expected->size() == 2 && IsDBCSLeadByte(static_cast<unsigned char>((*expected)[0]));
    ASSERT_EQ(EncodeSjisLossy(std::u16string(1, static_cast<char16_t>(u))).Bytes, single || pair ? *expected : "?")
        << std::hex << u;
  }
}

// Lossy encoding gives "?" for what has no Shift-JIS form ("€", the
// surrogate pair of U+1D11E) and the byte offset of every unit; strict
// encoding refuses it, and malformed UTF-8 (cut short, overlong "/", an
// encoded surrogate).
TEST(EncodeSjis, LossyAndStrict) {
  const encoding::TEncoded e = EncodeSjisLossy(u"a€猫\U0001D11Eb");
  EXPECT_EQ(e.Bytes, "a?" + Sjis("猫") + "?b");
  EXPECT_EQ(e.Offsets, (std::vector<int>{0, 1, 2, 4, 4, 5, 6}));
  try {
    encoding::Utf16ToSjis(u"価格€");
    FAIL() << "no error";
  } catch (const encoding::EEncodingError& e) {
    EXPECT_NE(encoding::SjisToUtf8(e.Message()).find("U+20AC"), std::string::npos);
  }
  for (const std::u16string& text : {std::u16string(u"\U0001D11E"), std::u16string(1, char16_t(0xD800))})
    EXPECT_THROW(encoding::Utf16ToSjis(text), encoding::EEncodingError);
  for (const char* utf8 : {"\x80", "abc\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xE2\x82\xAC"})
    EXPECT_THROW(encoding::Utf8ToSjis(utf8), encoding::EEncodingError) << utf8;
  EXPECT_EQ(encoding::Utf16ToSjis(u"猫cat"), Sjis("猫") + "cat");
  EXPECT_EQ(encoding::Utf8ToSjis("ｱ"), "\xB1");
  // Characters beyond U+FFFF, the last one included, as UTF-8 and as surrogate pairs.
  EXPECT_EQ(encoding::Utf8ToUtf16("\xF0\x9D\x84\x9E\xF4\x8F\xBF\xBF"), u"\U0001D11E\U0010FFFF");
  EXPECT_EQ(encoding::Utf16ToUtf8(u"\U0001D11E\U0010FFFF"), "\xF0\x9D\x84\x9E\xF4\x8F\xBF\xBF");
  EXPECT_THROW(Sjis("€"), std::logic_error);
}

// Case changes never touch the second byte of a pair (ア is 83 41, ヂ 83 61),
// nor full-width letters.
TEST(AsciiCase, NeverTouchesTheSecondByteOfAPair) {
  EXPECT_EQ(encoding::AsciiLower("ABC\x83\x41XyZ" + Sjis("Ａ") + "Q\x83"), "abc\x83\x41xyz" + Sjis("Ａ") + "q\x83");
  EXPECT_EQ(encoding::AsciiUpper("ab\203ac" + Sjis("ａ")), "AB\203aC" + Sjis("ａ"));
}
