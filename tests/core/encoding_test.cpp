#include "core/encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <stdexcept>
#include <thread>

#include "sjis.h"

using encoding::DecodeSjis;
using encoding::EncodeSjisLossy;
using encoding::Sjis;

namespace {

// Bytes of a few characters whose codes matter for these tests.
const std::string kKatakanaA = "\x83\x41";        // ア: second byte is "A"
const std::string kKatakanaDi = "\x83\x61";       // ヂ: second byte is "a"
const std::string kUndecodablePair = "\x85\x40";  // a lead byte in a gap of the code page

// What iconv makes of bytes as a whole (a fresh conversion each time), or
// nothing when it refuses them.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& bytes) {
  const iconv_t handle = iconv_open(to, from);
  std::string in = bytes;
  char out[16];
  char* inPtr = in.data();
  char* outPtr = out;
  std::size_t inLeft = in.size();
  std::size_t outLeft = sizeof out;
  const std::size_t r = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(handle);
  if (r == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  return std::string(out, static_cast<std::size_t>(outPtr - out));
}

std::u16string FromUtf16le(const std::string& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i]));
  return text;
}

}  // namespace

// The tables are generated from iconv at build time; every code must come
// out as iconv converts it on its own, from whichever thread, and the direct
// UTF-8 path must give the UTF-8 of the decoded text.
TEST(ConversionTables, EveryCodeConvertsAsIconvDoesAloneFromAnyThread) {
  std::vector<std::string> pairs;
  for (int lead = 0xFF; lead >= 0x81; --lead) {
    if (!IsDBCSLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int second = 0; second < 256; ++second) pairs.push_back({static_cast<char>(lead), static_cast<char>(second)});
  }
  std::vector<std::u16string> decoded(pairs.size());
  // Two threads meet the rows at once, from both ends.
  std::thread other([&] {
    for (std::size_t i = 0; i < pairs.size(); ++i) decoded[i] = DecodeSjis(pairs[i]).Text;
  });
  for (std::size_t i = pairs.size(); i-- > pairs.size() / 2;) (void)DecodeSjis(pairs[i]);
  other.join();
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto expected = Iconv("UTF-16LE", "CP932", pairs[i]);
    const std::u16string unit = expected && expected->size() == 2 ? FromUtf16le(*expected) : u"\uFFFD";
    ASSERT_EQ(decoded[i], unit) << std::hex
                                << (static_cast<unsigned char>(pairs[i][0]) << 8 |
                                    static_cast<unsigned char>(pairs[i][1]));
    ASSERT_EQ(encoding::SjisToUtf8(pairs[i]), encoding::Utf16ToUtf8(unit)) << i;
  }
  for (int b = 0; b < 256; ++b) {
    if (IsDBCSLeadByte(static_cast<unsigned char>(b))) continue;
    const auto expected = Iconv("UTF-16LE", "CP932", std::string(1, static_cast<char>(b)));
    const std::u16string unit = expected && expected->size() == 2 ? FromUtf16le(*expected) : u"\uFFFD";
    EXPECT_EQ(DecodeSjis(std::string(1, static_cast<char>(b))).Text, unit) << b;
    // A run of the byte, long enough for the eight-byte copy of ASCII.
    std::u16string run(11, unit[0]);
    EXPECT_EQ(encoding::SjisToUtf8(std::string(11, static_cast<char>(b))), encoding::Utf16ToUtf8(run)) << b;
  }
  for (unsigned u = 0xFFFF; u > 0; --u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const std::u16string text(1, static_cast<char16_t>(u));
    const auto expected =
        Iconv("CP932", "UTF-16LE", std::string{static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)});
    const bool single = expected && expected->size() == 1;
    const bool pair = expected && expected->size() == 2 && IsDBCSLeadByte(static_cast<unsigned char>((*expected)[0]));
    ASSERT_EQ(EncodeSjisLossy(text).Bytes, single || pair ? *expected : "?") << std::hex << u;
  }
}

TEST(DecodeSjis, DoubleByteTextBeforeKeywordMapsByteRangeToTextRange) {
  const std::string line = Sjis("日本語の") + "cat" + Sjis("は猫");
  const encoding::TDecoded d = DecodeSjis(line);
  EXPECT_EQ(d.Text, u"日本語のcatは猫");
  ASSERT_EQ(d.Offsets.size(), line.size() + 1);
  // Both bytes of a pair map to the one character.
  EXPECT_EQ(d.Offsets[0], 0);
  EXPECT_EQ(d.Offsets[1], 0);
  EXPECT_EQ(d.Offsets[7], 3);
  // The keyword "cat" is bytes [8, 11) and characters [4, 7).
  EXPECT_EQ(d.Offsets[8], 4);
  EXPECT_EQ(d.Offsets[11], 7);
  EXPECT_EQ(d.Text.substr(4, 3), u"cat");
  EXPECT_EQ(d.Offsets[line.size()], static_cast<int>(d.Text.size()));
}

TEST(DecodeSjis, HalfWidthKatakanaAreSingleBytes) {
  const encoding::TDecoded d = DecodeSjis(
      "\xA1\xB1\xDF"
      "a");
  EXPECT_EQ(d.Text, u"\uFF61\uFF71\uFF9Fa");
  EXPECT_EQ(d.Offsets, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(DecodeSjis, UndecodablePairIsOneReplacementAndLaterOffsetsStay) {
  const std::string line = kUndecodablePair + "x" + Sjis("猫");
  const encoding::TDecoded d = DecodeSjis(line);
  EXPECT_EQ(d.Text, u"\uFFFDx猫");
  EXPECT_EQ(d.Offsets, (std::vector<int>{0, 0, 1, 2, 2, 3}));
}

TEST(DecodeSjis, UndecodableSingleBytesAreOneReplacementEach) {
  const encoding::TDecoded d = DecodeSjis(
      "\x80"
      "a\xA0"
      "b\xFD");
  EXPECT_EQ(d.Text, u"\uFFFDa\uFFFDb\uFFFD");
  EXPECT_EQ(d.Offsets, (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(DecodeSjis, LeadByteTakesWhateverByteFollowsAsItsSecond) {
  // A lead byte before a line feed swallows it, as the engine reads it.
  const encoding::TDecoded d = DecodeSjis(
      "\x82\x0A"
      "z");
  EXPECT_EQ(d.Text, u"\uFFFDz");
  EXPECT_EQ(d.Offsets, (std::vector<int>{0, 0, 1, 2}));
}

TEST(DecodeSjis, TrailingLoneLeadByteIsOneReplacement) {
  const encoding::TDecoded d = DecodeSjis("ab\x93");
  EXPECT_EQ(d.Text, u"ab\uFFFD");
  EXPECT_EQ(d.Offsets, (std::vector<int>{0, 1, 2, 3}));
}

TEST(DecodeSjis, EmptyTextHasTheEndOffsetOnly) {
  const encoding::TDecoded d = DecodeSjis("");
  EXPECT_TRUE(d.Text.empty());
  EXPECT_EQ(d.Offsets, (std::vector<int>{0}));
}

TEST(DecodeSjis, Utf8OutputUsesTheSameReplacementRule) {
  EXPECT_EQ(encoding::SjisToUtf8(Sjis("猫") + kUndecodablePair + "\xB1"), "猫\uFFFD\uFF71");
  EXPECT_EQ(encoding::SjisToUtf16(Sjis("ＭＳ ゴシック")), u"ＭＳ ゴシック");
}

TEST(EncodeSjis, LossyOffsetsPointAtEachCharacterStart) {
  // "€" has no Shift-JIS form; U+1D11E is a surrogate pair.
  const encoding::TEncoded e = EncodeSjisLossy(u"a€猫\U0001D11Eb");
  EXPECT_EQ(e.Bytes, "a?" + Sjis("猫") + "?b");
  EXPECT_EQ(e.Offsets, (std::vector<int>{0, 1, 2, 4, 4, 5, 6}));
}

TEST(EncodeSjis, LossyEncodingInvertsDecodingOfRepresentableText) {
  const std::string text = Sjis("ｶﾀｶﾅと漢字、ＡＢＣ\\~ ") + kKatakanaA;
  const encoding::TDecoded d = DecodeSjis(text);
  const encoding::TEncoded e = EncodeSjisLossy(d.Text);
  EXPECT_EQ(e.Bytes, text);
  // Mapping there and back lands on the start of every character.
  for (std::size_t k = 0; k < d.Text.size(); ++k) {
    EXPECT_EQ(d.Offsets[static_cast<std::size_t>(e.Offsets[k])], static_cast<int>(k));
  }
}

TEST(EncodeSjis, StrictEncodingRefusesCharacterWithoutForm) {
  try {
    encoding::Utf16ToSjis(u"価格€");
    FAIL() << "no error";
  } catch (const encoding::EEncodingError& e) {
    EXPECT_NE(encoding::SjisToUtf8(e.Message()).find("U+20AC"), std::string::npos);
  }
  EXPECT_THROW(encoding::Utf16ToSjis(u"\U0001D11E"), encoding::EEncodingError);
  EXPECT_THROW(encoding::Utf16ToSjis(std::u16string(1, char16_t(0xD800))), encoding::EEncodingError);
  EXPECT_EQ(encoding::Utf16ToSjis(u"猫cat"), Sjis("猫") + "cat");
}

TEST(EncodeSjis, StrictUtf8InputRefusesMalformedSequences) {
  EXPECT_THROW(encoding::Utf8ToSjis("abc\xC3"), encoding::EEncodingError);       // cut short
  EXPECT_THROW(encoding::Utf8ToSjis("\xC0\xAF"), encoding::EEncodingError);      // overlong "/"
  EXPECT_THROW(encoding::Utf8ToSjis("\xED\xA0\x80"), encoding::EEncodingError);  // encoded surrogate
  EXPECT_THROW(encoding::Utf8ToSjis("\xE2\x82\xAC"), encoding::EEncodingError);  // valid, but "€"
  EXPECT_EQ(encoding::Utf8ToSjis("ｱ"), "\xB1");
}

TEST(EncodeSjis, FixedTextWithoutFormIsAProgrammingError) {
  EXPECT_THROW(Sjis("€"), std::logic_error);
  EXPECT_EQ(Sjis("ア"), kKatakanaA);
}

TEST(FileNameEncoding, Utf8AndShiftJisNamesGiveTheSameText) {
  const std::string sjisName = Sjis("KOVA略語.TXT");
  EXPECT_EQ(encoding::FileNameToUtf16("KOVA略語.TXT"), u"KOVA略語.TXT");
  EXPECT_EQ(encoding::FileNameToUtf16(sjisName), u"KOVA略語.TXT");
  EXPECT_EQ(encoding::FileNameToSjis("KOVA略語.TXT"), sjisName);
  EXPECT_EQ(encoding::FileNameToSjis(sjisName), sjisName);
  EXPECT_EQ(encoding::FileNameToSjis("dict€.txt"), "dict?.txt");
}

TEST(AsciiCase, LowerNeverTouchesTheSecondByteOfAPair) {
  EXPECT_EQ(encoding::AsciiLower(kKatakanaA), kKatakanaA);  // never ヂ
  EXPECT_EQ(encoding::AsciiLower("ABC" + kKatakanaA + "XyZ"), "abc" + kKatakanaA + "xyz");
  EXPECT_EQ(encoding::AsciiLower("Q\x83"), "q\x83");  // lone lead byte at the end
}

TEST(AsciiCase, UpperNeverTouchesTheSecondByteOfAPair) {
  EXPECT_EQ(encoding::AsciiUpper(kKatakanaDi), kKatakanaDi);  // never ア
  EXPECT_EQ(encoding::AsciiUpper("ab" + kKatakanaDi + "c"), "AB" + kKatakanaDi + "C");
  // Full-width letters are double-byte characters and stay.
  EXPECT_EQ(encoding::AsciiUpper(Sjis("ａb")), Sjis("ａB"));
}
