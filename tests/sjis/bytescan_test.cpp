// The byte-level primitives and the set search against plain byte-at-a-time
// versions, over random data that puts the interesting bytes at every offset
// of a chunk.
// The public functions run the 32-byte code where the processor has it and
// the 16-byte code for the rest; the 16-byte code is also tested alone, since
// it does all the work on processors without AVX2.
#include "sjis/bytescan.h"

#include <gtest/gtest.h>

#include <random>

#include "regexp/parser.h"
#include "regexp/required.h"
#include "regexp/required_set.h"
#include "sjis/bytescan_impl.h"
#include "sjis/multisearch.h"
#include "support/sjis_literals.h"

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t n, std::string_view alphabet) {
  std::string s(n, ' ');
  for (char& c : s) c = alphabet[random() % alphabet.size()];
  return s;
}

// With fold, a letter of the needle matches either case; with asRead, a
// space of the needle matches a zero byte too, and a line feed any byte from
// 0x08 to 0x0F (a CR among them).
bool LooseEqual(char h, char n, bool fold, bool asRead) {
  const bool letter = (n >= 'A' && n <= 'Z') || (n >= 'a' && n <= 'z');
  if (fold && letter) return (h | 0x20) == (n | 0x20);
  return h == n || (asRead && ((n == ' ' && h == 0) || (n == '\n' && (h | 0x07) == 0x0F)));
}

// The first place at or after from where one of the needles stands; with
// fold, the letters that are single characters of a needle match either case.
std::size_t NaiveFindAny(const std::string& h, const std::vector<std::string>& needles, bool fold, std::size_t from,
                         bool asRead = false) {
  for (std::size_t i = from; i < h.size(); ++i) {
    for (const std::string& n : needles) {
      bool same = i + n.size() <= h.size();
      for (std::size_t j = 0; j < n.size() && same;) {
        const bool pair = IsDBCSLeadByte(static_cast<unsigned char>(n[j])) && j + 1 < n.size();
        same = pair ? h.compare(i + j, 2, n, j, 2) == 0 : LooseEqual(h[i + j], n[j], fold, asRead);
        j += pair ? 2 : 1;
      }
      if (same) return i;
    }
  }
  return h.size();
}

}  // namespace

// Random bytes with every interesting byte at every offset of a chunk;
// mostly short, long enough in some rounds for the lanes to be added up more
// than once.  Sets of a few strings (the vectorised search) and of many (the
// sampled one), with and without case, from every place.
TEST(ByteScan, PrimitivesAgreeWithByteAtATime) {
  std::mt19937 random(13);
  for (int round = 0; round < 500; ++round) {
    const std::size_t size = round % 10 == 0 ? 5000 + random() % 5000 : random() % 700;
    const std::string h = RandomBytes(random, size, std::string("abAB\n\x82\xa0 c\r\0\t", 12));
    const auto feeds = static_cast<std::size_t>(std::count(h.begin(), h.end(), '\n'));
    EXPECT_EQ(CountByte(h.data(), h.size(), '\n'), feeds);
    EXPECT_EQ(bytescan::CountByte16(h.data(), h.size(), '\n'), feeds);
    const std::string n = RandomBytes(random, 1 + random() % 4, "abAB\n ");
    std::vector<std::string> needles(1 + random() % 30);
    for (std::string& needle : needles) needle = RandomBytes(random, 1 + random() % 5, "cabAB\x82\xa0 ");
    const std::size_t from = h.empty() ? 0 : random() % h.size();
    const std::string plain = RandomBytes(random, random() % 700, "abAB\n\x82\xa0 c");  // without \r and \0
    for (bool fold : {false, true}) {
      for (bool asRead : {false, true}) {
        const std::size_t expected = NaiveFindAny(h, {n}, fold, 0, asRead);
        EXPECT_EQ(FindBytes(h, n, fold, asRead), expected) << Hex(h) << " / " << n << " as read " << asRead;
        EXPECT_EQ(bytescan::FindBytes16(h, n, fold, asRead), expected) << Hex(h) << " / " << n << " as read " << asRead;
        EXPECT_EQ(TMultiSearch(needles, fold, asRead).Find(h, from), NaiveFindAny(h, needles, fold, from, asRead))
            << Hex(h) << " from " << from << " needles " << needles.size() << " fold " << fold << " as read " << asRead;
      }
      EXPECT_EQ(TMultiSearch(needles, fold).Find(plain, 0), NaiveFindAny(plain, needles, fold, 0)) << Hex(plain);
    }

    // Cleaning: a zero byte as a space, CR LF and a lone CR as a line feed,
    // a CR at the end held back.
    std::string expected, cleaned = h;
    for (std::size_t i = 0; i < cleaned.size(); ++i) {
      if (cleaned[i] != '\r')
        expected += cleaned[i] == 0 ? ' ' : cleaned[i];
      else if (i + 1 < cleaned.size() && cleaned[i + 1] != '\n')
        expected += '\n';
    }
    bool endsInCR = false;
    EXPECT_EQ(cleaned.substr(0, CleanLineEnds(cleaned.data(), cleaned.size(), endsInCR)), expected);
    EXPECT_EQ(endsInCR, !h.empty() && h.back() == '\r');

    // Mostly clean text, so that the line feeds counted on the way are
    // checked often.
    std::string text = RandomBytes(random, size, "ab\n\n\n");
    for (std::size_t i = 0; i + 1 < text.size(); i += 2 + random() % 40) text.replace(i, 2, "\r\n");
    if (round % 3 == 0 && !text.empty()) text[random() % text.size()] = round % 2 != 0 ? '\0' : '\r';
    bool dirty = false;
    for (std::size_t i = 0; i < text.size(); ++i)
      dirty = dirty || text[i] == 0 || (text[i] == '\r' && i + 1 < text.size() && text[i + 1] != '\n');
    std::size_t counted[2] = {0, 0};
    ASSERT_EQ(HasZeroOrLoneCR(text.data(), text.size(), counted[0]), dirty) << round;
    ASSERT_EQ(bytescan::HasZeroOrLoneCR16(text.data(), text.size(), counted[1]), dirty) << round;
    const auto clean = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_TRUE(dirty || (counted[0] == clean && counted[1] == clean)) << round;
  }
  // More than 255 line feeds per lane.
  const std::string feeds(20000, '\n');
  std::size_t counted[2] = {0, 0};
  EXPECT_FALSE(HasZeroOrLoneCR(feeds.data(), feeds.size(), counted[0]));
  EXPECT_FALSE(bytescan::HasZeroOrLoneCR16(feeds.data(), feeds.size(), counted[1]));
  EXPECT_EQ(counted[0] + counted[1] + CountByte(feeds.data(), feeds.size(), '\n') +
                bytescan::CountByte16(feeds.data(), feeds.size(), '\n'),
            80000u);
}

namespace {

// A pattern's parse tree, kept alive with its parser.
struct TParsed {
  TParsed(const std::string& pattern, bool ignoreCase) : Parser(pattern, false) {
    Parser.IgnoreCase = ignoreCase;
    Parser.Parse();
  }
  const TParseNode* Top() const { return Parser.ParseTree->TopNode; }
  TRegExpParser Parser;
};

}  // namespace

// The longest run of single characters at the top; a leading "^" stands for
// the line feed that it matches.  The prefix: the run that begins every
// match, when two bytes or more.
TEST(RequiredBytes, LongestRunAndPrefix) {
  const struct {
    std::string Pattern;
    bool IgnoreCase;
    std::string Bytes;
  } rows[] = {
      {"[a-z]+ing ", false, "ing "},
      {"(^|[ (])run([ )]|$)", false, "run"},
      {"ab(cd)+x", false, "abcd"},
      {S("■検索") + ".*x", false, S("■検索")},
      {"abc|abd", false, ""},    // alternatives at the top
      {"a.c", false, ""},        // no run of two
      {"\\x82zz", false, "zz"},  // a lead byte on its own cannot be text
      {"xSearch", true, "XSEARCH"},
      {"^" + S("検") + "[^ ]* \\[", false, "\n" + S("検")},
      {"x^ab", false, "ab"},
  };
  for (const auto& row : rows) {
    const TRequiredBytes required = FindRequiredBytes(TParsed(row.Pattern, row.IgnoreCase).Top());
    EXPECT_EQ(required.Bytes, row.Bytes) << row.Pattern;
    EXPECT_EQ(required.FoldsCase, row.IgnoreCase) << row.Pattern;
  }
  const std::pair<std::string, std::string> prefixes[] = {{"^" + S("検") + "[^ ]* \\[", "\n" + S("検")},
                                                          {"cat[^!]*dog", "cat"},
                                                          {"[a-z]+ing ", ""},
                                                          {"^a", "\na"},
                                                          {"a.c", ""}};
  for (const auto& [pattern, prefix] : prefixes)
    EXPECT_EQ(FindRequiredPrefix(TParsed(pattern, false).Top()).Bytes, prefix) << pattern;
}

// Sets of strings of which every match holds one; exact when the pattern
// matches exactly those strings.
TEST(RequiredBytes, SetsOfAlternatives) {
  const struct {
    std::string Pattern;
    bool IgnoreCase;
    std::vector<std::string> Strings;
    bool Exact;
    bool FoldsCase;
  } rows[] = {
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
  for (const auto& row : rows) {
    TRequiredSet set = FindRequiredSet(TParsed(row.Pattern, row.IgnoreCase).Top());
    std::sort(set.Strings.begin(), set.Strings.end());
    EXPECT_EQ(set.Strings, row.Strings) << row.Pattern;
    EXPECT_EQ(set.Exact, row.Exact) << row.Pattern;
    EXPECT_TRUE(row.Strings.empty() || set.FoldsCase == row.FoldsCase) << row.Pattern;
  }
}

// The set search fitted to a text (samples of many strings chosen by it,
// buckets of more than eight of a few strings formed by it) and as built
// (samples from the first bytes, buckets in order), against the
// byte-at-a-time search: strings of several lengths over a small alphabet,
// so that samples move within the longer strings, in text made of them, so
// that occurrences overlap.  The shortest strings run to more than the
// longest sampled run, so that every spacing of samples is tried, and the
// text is long enough for the wide pass.
TEST(MultiSearch, TunedAndUntunedFindWhatByteAtATimeFinds) {
  std::mt19937 random(29);
  for (int round = 0; round < 300; ++round) {
    const std::string_view alphabet = round % 2 == 0 ? "abcab\x82\xa0 " : "abAB";
    std::vector<std::string> needles(round % 4 == 1 ? 9 + random() % (TMultiSearch::kFewStrings - 8)
                                                    : TMultiSearch::kFewStrings + 1 + random() % 40);
    const std::size_t shortest = 1 + random() % (round % 4 == 0 ? 20 : 6);
    for (std::string& n : needles) n = RandomBytes(random, shortest + random() % 12, alphabet);
    const std::string text = RandomBytes(random, random() % 3000, alphabet);
    // The strings themselves, between a few random bytes.
    std::string h;
    while (h.size() < (round % 4 == 0 ? 2000 : 400))
      h += RandomBytes(random, random() % 4, alphabet) + needles[random() % needles.size()];
    // Searched in a copy of its own size, so that a read past its end is an
    // error under the address sanitizer.
    const std::vector<char> exact(h.begin(), h.end());
    const std::string_view hv(exact.data(), exact.size());
    for (bool fold : {false, true}) {
      const TMultiSearch first(needles, fold);
      TMultiSearch tuned(needles, fold);
      tuned.Tune(round % 3 == 0 ? h : text);
      for (std::size_t from = 0; from < h.size(); from += 1 + random() % 40) {
        const std::size_t expected = NaiveFindAny(h, needles, fold, from);
        std::size_t which = needles.size();
        ASSERT_EQ(tuned.Find(hv, from, &which), expected) << h << " from " << from << " fold " << fold;
        ASSERT_EQ(first.Find(hv, from), expected) << h << " from " << from << " fold " << fold;
        // The string named stands there.
        if (expected < h.size()) {
          ASSERT_TRUE(tuned.StandsAt(h, expected, which)) << h << " from " << from;
        }
      }
    }
  }
}
