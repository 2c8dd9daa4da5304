#include "core/encoding.h"

#include <gtest/gtest.h>

#include <stdexcept>

using encoding::DecodeSjis;
using encoding::EncodeSjisLossy;
using encoding::Sjis;

namespace {

// Bytes of a few characters whose codes matter for these tests.
const std::string kKatakanaA = "\x83\x41";        // ア: second byte is "A"
const std::string kKatakanaDi = "\x83\x61";       // ヂ: second byte is "a"
const std::string kUndecodablePair = "\x85\x40";  // a lead byte in a gap of the code page

}  // namespace

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
