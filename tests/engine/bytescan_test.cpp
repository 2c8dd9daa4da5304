// The byte-level primitives against plain byte-at-a-time versions, over
// random data that puts the interesting bytes at every offset of a chunk.
#include "bytescan.h"

#include <gtest/gtest.h>

#include <random>

#include "parser.h"
#include "required.h"
#include "sjis_literals.h"

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t n, const std::string& alphabet) {
  std::string s(n, ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

bool FoldedEqual(char h, char n) {
  const bool letter = (n >= 'A' && n <= 'Z') || (n >= 'a' && n <= 'z');
  return letter ? (h | 0x20) == (n | 0x20) : h == n;
}

std::size_t NaiveFind(const std::string& h, const std::string& n, bool fold) {
  for (std::size_t i = 0; i + n.size() <= h.size(); ++i) {
    bool same = true;
    for (std::size_t j = 0; j < n.size() && same; ++j) same = fold ? FoldedEqual(h[i + j], n[j]) : h[i + j] == n[j];
    if (same) return i;
  }
  return h.size();
}

}  // namespace

TEST(ByteScan, CountAndFindAgreeWithByteAtATime) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const std::string h = RandomBytes(random, random() % 700, "abAB\n\r");
    EXPECT_EQ(CountByte(h.data(), h.size(), '\n'), static_cast<std::size_t>(std::count(h.begin(), h.end(), '\n')));
    const std::string n = RandomBytes(random, 1 + random() % 4, "abAB\n");
    for (bool fold : {false, true}) EXPECT_EQ(FindBytes(h, n, fold), NaiveFind(h, n, fold)) << h << " / " << n;
  }
  // More than 255 matches per lane.
  const std::string feeds(5000, '\n');
  EXPECT_EQ(CountByte(feeds.data(), feeds.size(), '\n'), 5000u);
}

TEST(ByteScan, CleanLineEndsAgreesWithByteAtATime) {
  std::mt19937 random(11);
  for (int round = 0; round < 500; ++round) {
    std::string text = RandomBytes(random, random() % 300, std::string("ab\n\r\r\0", 6));
    std::string expected;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == 0)
        expected += ' ';
      else if (text[i] != '\r')
        expected += text[i];
      else if (i + 1 < text.size() && text[i + 1] != '\n')
        expected += '\n';
    }
    const bool crAtEnd = !text.empty() && text.back() == '\r';
    bool endsInCR = false;
    const std::size_t len = CleanLineEnds(text.data(), text.size(), endsInCR);
    EXPECT_EQ(text.substr(0, len), expected);
    EXPECT_EQ(endsInCR, crAtEnd);
  }
}

TEST(RequiredBytes, LongestRunOfSingleCharactersAtTheTop) {
  const auto required = [](const std::string& pattern, bool ignoreCase = false) {
    TRegExpParser parser(pattern, false);
    parser.IgnoreCase = ignoreCase;
    parser.Parse();
    return FindRequiredBytes(parser.ParseTree->TopNode);
  };
  EXPECT_EQ(required("[a-z]+ing ").Bytes, "ing ");
  EXPECT_EQ(required("(^|[ (])run([ )]|$)").Bytes, "run");
  EXPECT_EQ(required("ab(cd)+x").Bytes, "abcd");
  EXPECT_EQ(required(S("■検索") + ".*x").Bytes, S("■検索"));
  EXPECT_TRUE(required("abc|abd").Bytes.empty());  // alternatives at the top
  EXPECT_TRUE(required("a.c").Bytes.empty());      // no run of two
  EXPECT_EQ(required("\\x82zz").Bytes, "zz");      // a lead byte on its own cannot be text
  const TRequiredBytes folded = required("xSearch", true);
  EXPECT_EQ(folded.Bytes, "XSEARCH");
  EXPECT_TRUE(folded.FoldsCase);
  EXPECT_FALSE(required("search").FoldsCase);
}
