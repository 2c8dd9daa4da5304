// The byte-level primitives against plain byte-at-a-time versions, over
// random data that puts the interesting bytes at every offset of a chunk.
// The public functions run the 32-byte code where the processor has it and
// the 16-byte code for the rest; the 16-byte code is also tested alone, since
// it does all the work on processors without AVX2.
#include "bytescan.h"

#include <gtest/gtest.h>

#include <random>

#include "bytescan_impl.h"
#include "multisearch.h"
#include "parser.h"
#include "required.h"
#include "required_set.h"
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

// The first place at or after from where one of the needles stands; with
// fold, the letters that are single characters of a needle match either case.
std::size_t NaiveFindAny(const std::string& h, const std::vector<std::string>& needles, bool fold, std::size_t from) {
  for (std::size_t i = from; i < h.size(); ++i) {
    for (const std::string& n : needles) {
      bool same = i + n.size() <= h.size();
      for (std::size_t j = 0; j < n.size() && same;) {
        const bool pair = IsDBCSLeadByte(static_cast<unsigned char>(n[j])) && j + 1 < n.size();
        same = pair ? h.compare(i + j, 2, n, j, 2) == 0 : fold ? FoldedEqual(h[i + j], n[j]) : h[i + j] == n[j];
        j += pair ? 2 : 1;
      }
      if (same) return i;
    }
  }
  return h.size();
}

}  // namespace

// Sets of a few strings (the vectorised search) and of many (the sampled
// one), with and without case, from every place.
TEST(ByteScan, SetSearchAgreesWithByteAtATime) {
  std::mt19937 random(13);
  for (int round = 0; round < 400; ++round) {
    const std::string h = RandomBytes(random, random() % 700, "abAB\n\x82\xa0 c");
    std::vector<std::string> needles(1 + random() % 30);
    for (std::string& n : needles)
      n = RandomBytes(random, 1 + random() % 5,
                      "abAB\x82\xa0"
                      "c");
    const std::size_t from = h.empty() ? 0 : random() % h.size();
    for (bool fold : {false, true}) {
      const TMultiSearch search(needles, fold);
      EXPECT_EQ(search.Find(h, from), NaiveFindAny(h, needles, fold, from))
          << Hex(h) << " from " << from << " needles " << needles.size() << " fold " << fold;
    }
  }
}

TEST(ByteScan, CountAndFindAgreeWithByteAtATime) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const std::string h = RandomBytes(random, random() % 700, "abAB\n\r");
    const auto feeds = static_cast<std::size_t>(std::count(h.begin(), h.end(), '\n'));
    EXPECT_EQ(CountByte(h.data(), h.size(), '\n'), feeds);
    EXPECT_EQ(bytescan::CountByte16(h.data(), h.size(), '\n'), feeds);
    const std::string n = RandomBytes(random, 1 + random() % 4, "abAB\n");
    for (bool fold : {false, true}) {
      EXPECT_EQ(FindBytes(h, n, fold), NaiveFind(h, n, fold)) << h << " / " << n;
      EXPECT_EQ(bytescan::FindBytes16(h, n, fold), NaiveFind(h, n, fold)) << h << " / " << n;
    }
  }
  // More than 255 matches per lane.
  const std::string feeds(20000, '\n');
  EXPECT_EQ(CountByte(feeds.data(), feeds.size(), '\n'), 20000u);
  EXPECT_EQ(bytescan::CountByte16(feeds.data(), feeds.size(), '\n'), 20000u);
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

TEST(ByteScan, ZeroOrLoneCRDetectionCountsLineFeedsOnTheWay) {
  std::mt19937 random(13);
  for (int round = 0; round < 500; ++round) {
    // Mostly clean text, so that the count is checked often; long enough in
    // some rounds for the lanes to be added up more than once.
    const std::size_t size = round % 10 == 0 ? 5000 + random() % 5000 : random() % 300;
    std::string text = RandomBytes(random, size, "ab\n\n\n");
    for (std::size_t i = 0; i + 1 < text.size(); i += 2 + random() % 40) text.replace(i, 2, "\r\n");
    if (round % 3 == 0 && !text.empty()) text[random() % text.size()] = round % 2 != 0 ? '\0' : '\r';
    bool expected = false;
    for (std::size_t i = 0; i < text.size(); ++i)
      expected = expected || text[i] == 0 || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] != '\n');
    const auto expectedFeeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    std::size_t feeds = 0;
    ASSERT_EQ(HasZeroOrLoneCR(text.data(), text.size(), feeds), expected) << round;
    if (!expected) {
      EXPECT_EQ(feeds, expectedFeeds) << round;
    }
    ASSERT_EQ(bytescan::HasZeroOrLoneCR16(text.data(), text.size(), feeds), expected) << round;
    if (!expected) {
      EXPECT_EQ(feeds, expectedFeeds) << round;
    }
  }
  const std::string feeds(20000, '\n');
  std::size_t count = 0;
  EXPECT_FALSE(HasZeroOrLoneCR(feeds.data(), feeds.size(), count));
  EXPECT_EQ(count, 20000u);
  EXPECT_FALSE(bytescan::HasZeroOrLoneCR16(feeds.data(), feeds.size(), count));
  EXPECT_EQ(count, 20000u);
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
  // A leading "^" stands for the line feed that it matches.
  EXPECT_EQ(required("^" + S("検") + "[^ ]* \\[").Bytes, "\n" + S("検"));
  EXPECT_EQ(required("x^ab").Bytes, "ab");
}

TEST(RequiredBytes, PrefixIsTheRunThatBeginsEveryMatch) {
  const auto prefix = [](const std::string& pattern) {
    TRegExpParser parser(pattern, false);
    parser.Parse();
    return FindRequiredPrefix(parser.ParseTree->TopNode).Bytes;
  };
  EXPECT_EQ(prefix("^" + S("検") + "[^ ]* \\["), "\n" + S("検"));
  EXPECT_EQ(prefix("cat[^!]*dog"), "cat");
  EXPECT_EQ(prefix("[a-z]+ing "), "");  // "ing " is required, but not at the start
  EXPECT_EQ(prefix("^a"), "\na");
  EXPECT_EQ(prefix("a.c"), "");  // shorter than two bytes
}

// Sets of strings of which every match holds one; exact when the pattern
// matches exactly those strings.
TEST(RequiredBytes, SetsOfAlternatives) {
  struct TRow {
    std::string Pattern;
    bool IgnoreCase;
    std::vector<std::string> Strings;
    bool Exact;
    bool FoldsCase;
  };
  const std::vector<TRow> rows = {
      {"cat|dog|bird", false, {"bird", "cat", "dog"}, true, false},
      {"(" + S("辞書|検索") + ")" + S("語"), false, {S("検索語"), S("辞書語")}, true, false},
      {"[ab]xyz", false, {"axyz", "bxyz"}, true, false},
      {"cat|dog", true, {"CAT", "DOG"}, true, true},
      {"[Cc]at", false, {"Cat"}, false, true},  // a folded and a plain letter: no longer exact
      {"^(cat|dog)", false, {"cat", "dog"}, false, false},
      {"(cat|dog)s*", false, {"cat", "dog"}, false, false},
      {"(cat|dog)[a-z]+(bird|fish)", false, {"bird", "fish"}, false, false},
      {"cat|dog\\n", false, {"cat", "dog"}, false, false},  // no line end in a string
      {"cat|x*", false, {}, false, false},
      {"[a-z]+", false, {}, false, false},
  };
  for (const TRow& row : rows) {
    TRegExpParser parser(row.Pattern, false);
    parser.IgnoreCase = row.IgnoreCase;
    parser.Parse();
    TRequiredSet set = FindRequiredSet(parser.ParseTree->TopNode);
    std::sort(set.Strings.begin(), set.Strings.end());
    EXPECT_EQ(set.Strings, row.Strings) << row.Pattern;
    EXPECT_EQ(set.Exact, row.Exact) << row.Pattern;
    if (!row.Strings.empty()) {
      EXPECT_EQ(set.FoldsCase, row.FoldsCase) << row.Pattern;
    }
  }
}
